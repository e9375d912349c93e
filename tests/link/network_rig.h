#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "jobs/job_files.h"
#include "link/link_rig.h"
#include "link/network_link.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_shell.h"
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
                           const std::string& state = "00", int delayMs = 5) {
    return {{delayMs, "\x02" + code + "/" + status + "/" + state + "/00\x03"}};
}
inline ScriptedReply Silence() {
    return {};
}

// A TCP client whose register answers each send with the next scripted reply (or, when the
// script is empty, with `otherwise`). Connects on the next loop pass unless unreachable.
class ScriptedTcpSocket : public platform::TcpSocket {
  public:
    explicit ScriptedTcpSocket(platform::FakeEventLoop& loop) : loop_(loop) {}

    std::deque<ScriptedReply> script;
    std::function<ScriptedReply(const std::string&)> otherwise = [](const std::string&) {
        return Silence();
    };
    std::vector<std::string> sends;
    bool reachable = true;
    int connects = 0;

    void connectToHost(const std::string& host, int port) override {
        host_ = host;
        port_ = port;
        ++connects;
        state_ = kConnecting;
        const int generation = ++generation_;
        loop_.postDelayed(0, [this, generation] {
            if (generation != generation_) return;
            state_ = reachable ? kConnected : kError;
            if (!reachable && onError) onError(10061, "Connection refused");
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
        ScriptedReply reply = otherwise(bytes);
        if (!script.empty()) {
            reply = script.front();
            script.pop_front();
        }
        for (const auto& segment : reply) deliverLater(segment);
        return true;
    }
    std::string readAvailable() override {
        std::string bytes;
        bytes.swap(received_);
        return bytes;
    }
    // Bytes that arrive without being asked for.
    void deliverLater(const Segment& segment) {
        const int generation = generation_;
        loop_.postDelayed(segment.delayMs, [this, generation, bytes = segment.bytes] {
            if (generation != generation_) return;
            received_ += bytes;
            if (onDataArrival) onDataArrival();
        });
    }
    void drop() {
        close();
        if (onError) onError(10053, "Connection aborted");
    }
    const std::string& host() const { return host_; }
    int port() const { return port_; }

  private:
    platform::FakeEventLoop& loop_;
    int state_ = kClosed;
    int generation_ = 0;
    std::string host_;
    int port_ = 0;
    std::string received_;
};

// Trace lines and log lines as the trace files would get them (without time stamps).
class RecordingSink : public TraceSink {
  public:
    std::vector<std::string> lines;
    std::vector<std::string> log;
    bool tracing() const override { return true; }
    void traceLine(const std::string& markerAndText) override { lines.push_back(markerAndText); }
    void LogROutine(const std::string& message) override { log.push_back(message); }
    void NewLogLines() override { log.clear(); }
};

// The network transport on a scripted or simulated socket, in virtual time, connected.
template <typename Socket>
struct NetworkRigOf {
    template <typename... SocketArgs>
    explicit NetworkRigOf(SocketArgs&... args) : socket(loop, args...) {
        session.DataFolder = folder.str();
        session.options.OptionRete = true;
        session.options.chbTrace = true;
        session.options.txtRemoteIP = " 127.0.0.1 ";
        session.options.txtRemotePort = "9101";
        network.OpenSocket();
        loop.advance(0);
    }
    // SendCommandMCP_TCP with the elapsed virtual time.
    int send(std::string command) {
        const auto start = loop.nowMs();
        const int result = network.SendCommandMCP_TCP(command);
        elapsedMs = loop.nowMs() - start;
        return result;
    }
    std::string errFile() const { return jobFiles.SlotFile("SR_ERR", session.CurrentSlot); }

    TempFolder folder;
    platform::FakeEventLoop loop;
    Session session;
    CountingFileSystem files;
    jobs::JobFiles jobFiles{session, files, loop};
    RecordingSink trace;
    platform::FakeShell shell;
    Socket socket;
    NetworkLink network{session, loop, socket, jobFiles, trace, shell};
    std::int64_t elapsedMs = 0;
};

}  // namespace zelmar::link::testing
