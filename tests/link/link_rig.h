#pragma once

// What the link tests share: a data folder, virtual time, the job files, a recording trace,
// and a register on a scripted serial line.

#include <cstdint>
#include <deque>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "config/scratch_folder.h"
#include "jobs/job_files.h"
#include "link/frame.h"
#include "link/link.h"
#include "link/transmission.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_shell.h"
#include "platform/file_system.h"
#include "platform/serial_port.h"

namespace zelmar::link::testing {

inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// Counts the writes of each path, so "written once" can be told from "written again"; the
// first `failWrites` writes fail.
class CountingFileSystem : public platform::StdFileSystem {
  public:
    std::vector<std::string> writes;
    int failWrites = 0;
    bool writeLines(const std::string& path, const std::vector<std::string>& lines,
                    bool append) override {
        writes.push_back(path);
        if (failWrites > 0) {
            --failWrites;
            return false;
        }
        return StdFileSystem::writeLines(path, lines, append);
    }
};

// Trace lines and log lines as the trace files would get them (without time stamps).
class RecordingTrace : public TraceSink {
  public:
    bool on = true;
    std::vector<std::string> lines, log;
    bool tracing() const override { return on; }
    void traceLine(const std::string& markerAndText) override { lines.push_back(markerAndText); }
    void AddLogLine(const std::string& message) override { log.push_back(message); }
    void ClearLogLines() override { log.clear(); }
};

// What every rig has, on virtual time, with the ports of four slots.
struct RigBase {
    RigBase() { session.DataFolder = folder.path(); }
    template <typename Call>
    auto timed(Call call) {
        const auto start = loop.nowMs();
        const auto result = call();
        elapsedMs = loop.nowMs() - start;
        return result;
    }
    std::string errFile() const { return jobFiles.SlotFile("SR_ERR", session.CurrentSlot); }

    zelmar::testing::ScratchFolder folder{"link"};
    JobRequest job{1, folder.file("SR_DATI.001"), folder.file("SR_OUT.001")};
    platform::FakeEventLoop loop;
    Session session;
    CountingFileSystem files;
    jobs::JobFiles jobFiles{session, files, loop};
    RecordingTrace trace;
    platform::FakeShell shell;
    std::int64_t elapsedMs = 0;
};

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
    ReplyScript toNak{{}, ""};    // the register's answer again after our NAK
    std::string babble;           // comes with every read, for ever
    std::deque<int> frameDelays;  // ms before each answer frame, in turn; then 5
    bool failWrites = false;

    int naks = 0;
    std::vector<std::string> frames;    // command texts between STX and the checksum
    std::vector<std::string> framesOn;  // the device each frame went to
    std::vector<std::string> opened;    // the device of each open

    bool configure(const std::string& device, int) override {
        if (open_) return false;  // a real port is never reconfigured while open
        device_ = device;
        return true;
    }
    bool open() override {
        opened.push_back(device_);
        return open_ = true;
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    bool write(const std::string& bytes) override {
        if (!open_ || failWrites) return false;
        if (bytes == Bytes(kEnq)) {
            reply(toEnq.next());
        } else if (bytes == Bytes(kNak)) {
            ++naks;
            reply(toNak.next());
        } else if (!bytes.empty() && bytes.front() == kStx) {
            frames.push_back(bytes.substr(1, bytes.size() - 5));
            framesOn.push_back(device_);
            int delay = kReplyDelayMs;
            if (!frameDelays.empty()) delay = frameDelays.front(), frameDelays.pop_front();
            reply(toFrame.next(), delay);
        }
        return true;
    }
    std::string readAvailable() override { return std::exchange(inbox_, {}) + babble; }

  private:
    static constexpr int kReplyDelayMs = 5;
    void reply(const std::string& bytes, int delayMs = kReplyDelayMs) {
        if (!bytes.empty()) loop_.postDelayed(delayMs, [this, bytes] { inbox_ += bytes; });
    }

    platform::FakeEventLoop& loop_;
    bool open_ = false;
    std::string device_;
    std::string inbox_;
};

// A link on the scripted serial port with the port of slot 1 open.
struct LinkRig : RigBase {
    LinkRig() { link.OpenConnection(); }
    SendResult send(std::string command) {
        lastCommand = std::move(command);
        return timed([&] { return link.SendCommand(lastCommand); });
    }

    ScriptedSerialPort port{loop};
    Link link{session, loop, port, jobFiles, trace};
    std::string lastCommand;
};

}  // namespace zelmar::link::testing
