#pragma once

#include <deque>
#include <string>
#include <vector>

#include "link/link_rig.h"
#include "link/network_link.h"
#include "platform/tcp_socket.h"

namespace zelmar::link::testing {

// One reply of the scripted register: segments with their delay after the send. No segment
// means silence.
struct Segment {
    int delayMs = 0;
    std::string bytes;
};
using ScriptedReply = std::vector<Segment>;

// A framed reply: STX, the three status fields, "/", checksum digits, ETX.
inline ScriptedReply Reply(const std::string& code, const std::string& status = "00",
                           int delayMs = 5) {
    return {{delayMs, "\x02" + code + "/" + status + "/00/00\x03"}};
}
inline ScriptedReply Silence() {
    return {};
}

// A TCP client whose register answers each send with the next scripted reply (silence once
// the script is used up). Connects on the next loop pass.
class ScriptedTcpSocket : public platform::TcpSocket {
  public:
    explicit ScriptedTcpSocket(platform::FakeEventLoop& loop) : loop_(loop) {}

    std::deque<ScriptedReply> script;
    std::vector<std::string> sends;

    void connectToHost(const std::string&, int) override {
        state_ = kConnecting;
        const int generation = ++generation_;
        loop_.postDelayed(0, [this, generation] {
            if (generation == generation_) state_ = kConnected;
        });
    }
    int state() const override { return state_; }
    void close() override {
        state_ = kClosed;
        ++generation_;
    }
    bool send(const std::string& bytes) override {
        if (state_ != kConnected) return false;
        sends.push_back(bytes);
        if (script.empty()) return true;  // silence
        const int generation = generation_;
        for (const auto& [delayMs, reply] : script.front()) {
            loop_.postDelayed(delayMs, [this, generation, reply] {
                if (generation != generation_) return;
                received_ += reply;
                if (onDataArrival) onDataArrival();
            });
        }
        script.pop_front();
        return true;
    }
    std::string readAvailable() override { return std::exchange(received_, {}); }

  private:
    platform::FakeEventLoop& loop_;
    int state_ = kClosed;
    int generation_ = 0;
    std::string received_;
};

// The network transport on a scripted or simulated socket, connected to the options' address.
template <typename Socket>
struct NetworkRigOf : RigBase {
    template <typename... SocketArgs>
    explicit NetworkRigOf(SocketArgs&... args) : socket(loop, args...) {
        session.options.OptionRete = true;
        session.options.chbTrace = true;
        session.options.txtRemoteIP = " 127.0.0.1 ";
        session.options.txtRemotePort = "9101";
        network.OpenSocket();
        loop.advance(0);
    }
    int send(std::string command) {
        return timed([&] { return network.SendCommandMCP_TCP(command); });
    }

    Socket socket;
    NetworkLink network{session, loop, socket, jobFiles, trace, shell};
};

}  // namespace zelmar::link::testing
