#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "link/frame.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/serial_port.h"

namespace zelmar::link::testing {

// Replies of one kind: the queued ones first, then the fallback for ever. "" is silence.
struct ReplyScript {
    std::deque<std::string> queued;
    std::string fallback;
    std::string next() {
        if (queued.empty()) return fallback;
        auto reply = std::move(queued.front());
        queued.pop_front();
        return reply;
    }
};

inline std::string Bytes(char c) {
    return std::string(1, c);
}
inline std::string Answer(const std::string& text) {
    return BuildAnswerFrame(text);
}

// A register on a scripted serial line. Its replies arrive on the fake loop a few virtual
// milliseconds after the write they answer.
class ScriptedSerialPort : public platform::SerialPort {
  public:
    explicit ScriptedSerialPort(platform::FakeEventLoop& loop) : loop_(loop) {}

    ReplyScript toEnq{{}, Bytes(kAck)};
    ReplyScript toFrame{{}, Answer("00/00/00/")};
    ReplyScript toNak{{}, ""};  // the register's answer again after our NAK
    std::string babble;         // comes with every read, for ever
    bool failWrites = false;
    int replyDelayMs = 5;

    int enqs = 0, acks = 0, naks = 0, opens = 0;
    std::vector<std::string> frames;  // command texts between STX and the checksum
    std::vector<std::string> configured;

    bool configure(const std::string& device, int) override {
        configured.push_back(device);
        return true;
    }
    bool open() override {
        if (!open_) ++opens;
        return open_ = true;
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    bool write(const std::string& bytes) override {
        if (!open_ || failWrites) return false;
        if (bytes == Bytes(kEnq)) {
            ++enqs;
            reply(toEnq.next());
        } else if (bytes == Bytes(kAck)) {
            ++acks;
        } else if (bytes == Bytes(kNak)) {
            ++naks;
            reply(toNak.next());
        } else if (!bytes.empty() && bytes.front() == kStx) {
            frames.push_back(bytes.substr(1, bytes.size() - 5));
            reply(toFrame.next());
        }
        return true;
    }
    std::string readAvailable() override { return std::exchange(inbox_, {}) + babble; }

  private:
    void reply(const std::string& bytes) {
        if (!bytes.empty()) loop_.postDelayed(replyDelayMs, [this, bytes] { inbox_ += bytes; });
    }

    platform::FakeEventLoop& loop_;
    bool open_ = false;
    std::string inbox_;
};

}  // namespace zelmar::link::testing
