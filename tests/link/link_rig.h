#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/text_file.h"
#include "config/scratch_folder.h"
#include "jobs/job_files.h"
#include "link/frame.h"
#include "link/link.h"
#include "link/network_link.h"
#include "link/register_reader.h"
#include "link/status_fields.h"
#include "link/transmission.h"
#include "platform/fake/fake_event_loop.h"
#include "platform/fake/fake_shell.h"
#include "platform/file_system.h"
#include "support/sim_serial_port.h"
#include "support/sim_tcp_socket.h"

namespace zelmar::link::testing {

using Lines = std::vector<std::string>;

class CountingFileSystem : public platform::StdFileSystem {
  public:
    Lines writes;
    int failWrites = 0;
    bool writeLines(const std::string& path, const Lines& lines, bool append) override {
        writes.push_back(path);
        if (failWrites-- > 0) return false;
        return StdFileSystem::writeLines(path, lines, append);
    }
};

class RecordingTrace : public TraceSink {
  public:
    bool on = true;
    Lines lines, log;
    bool tracing() const override { return on; }
    void traceLine(const std::string& markerAndText) override { lines.push_back(markerAndText); }
    void AddLogLine(const std::string& message) override { log.push_back(message); }
    void ClearLogLines() override { log.clear(); }
};

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
    bool traced(const std::string& line) const {
        return std::count(trace.lines.begin(), trace.lines.end(), line) == 1;
    }

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

class ScriptedSerialPort : public platform::SerialPort {
  public:
    explicit ScriptedSerialPort(platform::FakeEventLoop& loop) : loop_(loop) {}

    ReplyScript toEnq{{}, Bytes(kAck)}, toFrame{{}, Answer("00/00/00/")}, toNak{{}, ""};
    std::string babble;
    std::deque<int> frameDelays;
    bool failWrites = false;
    int naks = 0;
    Lines frames, framesOn, opened;

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
        if (bytes == Bytes(kEnq)) reply(toEnq.next());
        if (bytes == Bytes(kNak)) {
            ++naks;
            reply(toNak.next());
        }
        if (bytes.empty() || bytes.front() != kStx) return true;
        frames.push_back(bytes.substr(1, bytes.size() - 5));
        framesOn.push_back(device_);
        int delay = 5;
        if (!frameDelays.empty()) delay = frameDelays.front(), frameDelays.pop_front();
        reply(toFrame.next(), delay);
        return true;
    }
    std::string readAvailable() override { return std::exchange(inbox_, {}) + babble; }

  private:
    void reply(const std::string& bytes, int delayMs = 5) {
        if (!bytes.empty()) loop_.postDelayed(delayMs, [this, bytes] { inbox_ += bytes; });
    }
    platform::FakeEventLoop& loop_;
    bool open_ = false;
    std::string device_, inbox_;
};

struct LinkRig : RigBase {
    LinkRig() { link.OpenConnection(); }
    SendResult send(std::string command) {
        return timed([&] { return link.SendCommand(command); });
    }
    ScriptedSerialPort port{loop};
    Link link{session, loop, port, jobFiles, trace};
};

struct Reply {
    SendResult result = SendResult::kAccepted;
    std::string answer = "00/00/00/0/";
};
inline Reply Accepted(std::string answer) {
    return Reply{SendResult::kAccepted, std::move(answer)};
}
inline Reply Refused() {
    return Reply{SendResult::kRefused, "02/00/00/0/"};
}

// A register at the command level, its answers parsed as the real link parses them.
class ScriptedSender : public CommandSender {
  public:
    explicit ScriptedSender(Session& session) : session_(session) {}
    void script(const std::string& command, std::deque<Reply> replies) {
        script_[command] = std::move(replies);
    }
    SendResult SendCommand(std::string& command) override {
        sent.push_back(command);
        auto& replies = script_[command];
        const Reply reply = replies.empty() ? Reply{} : replies.front();
        if (replies.size() > 1) replies.pop_front();
        session_.link.ResponseText = reply.answer;
        ParseStatus(reply.answer);
        return reply.result;
    }
    int ParseStatus(const std::string& text) override {
        return link::ParseStatus(text, session_.link, session_.texts);
    }
    bool PortOpen() const override { return portOpen; }
    bool OpenPort() override {
        ++opens;
        return portOpen = portOpens;
    }
    void ClosePort() override {
        ++closes;
        portOpen = false;
    }
    bool WriteRaw(const std::string& bytes) override {
        raw += bytes;
        return true;
    }
    void OpenConnection() override {}
    void CloseConnection() override {}
    long count(const std::string& command) const {
        return std::count(sent.begin(), sent.end(), command);
    }

    Lines sent;
    std::string raw;
    bool portOpen = false, portOpens = true;
    int opens = 0, closes = 0;

  private:
    Session& session_;
    std::map<std::string, std::deque<Reply>> script_;
};

class RecordingTraceFiles : public TraceFileControl {
  public:
    void OpenTraceFiles() override {}
    void CloseTraceFiles(bool writeLogLines) override { ++closed, logsWritten += writeLogLines; }
    int closed = 0, logsWritten = 0;
};

// The simulated RT register on the serial line or over TCP, with the line open.
struct SimRig : RigBase {
    explicit SimRig(bool overTcp = false, const Lines& rules = {}) {
        for (const auto& rule : rules) {
            std::string error;
            EXPECT_TRUE(rule.empty() || faults.add(rule, error)) << error;
        }
        serialEngine.setAnswerDelay(50);
        session.PortDevice[0] = "/dev/ttyS0";
        session.options.RegisterLineInput = true;
        session.options.UseNetwork = overTcp;
        session.options.RegisterAddress = " 127.0.0.1 ";
        session.options.RegisterPort = "9101";
        session.reg().IsRtRegister = true;
        link.setNetwork(&network);
        driver.setNetwork(&network);
        if (overTcp) {
            network.OpenSocket();
            loop.advance(0);
        } else {
            link.OpenConnection();
        }
    }
    SendResult send(std::string command) {
        return timed([&] { return link.SendCommand(command); });
    }
    jobs::JobResult transmit() {
        return timed([&] { return driver.TransmitJob(job); });
    }
    std::size_t journaled(const std::string& line) const {
        return std::count(model.journal().lines().begin(), model.journal().lines().end(), line);
    }
    Lines errLines(const std::string& ours) {
        jobFiles.WriteErrorFile(ours, 1);
        Lines lines;
        ReadTextLines(errFile(), lines);
        return lines;
    }

    ecrsim::RegisterModel model;
    ecrsim::FaultScript faults;
    ecrsim::SerialEngine serialEngine{model, faults};
    ecrsim::TcpEngine tcpEngine{model, faults};
    zelmar::testing::SimSerialPort port{loop, serialEngine};
    zelmar::testing::SimTcpSocket socket{loop, tcpEngine};
    NetworkLink network{session, loop, socket, jobFiles, trace, shell};
    Link link{session, loop, port, jobFiles, trace};
    TransmissionDriver driver{session, link, loop, files, jobFiles, trace, shell};
    RegisterReader reader{session, link, files, jobFiles};
};

}  // namespace zelmar::link::testing
