#pragma once

// A register at the command level: each command line gets a scripted result and answer text,
// and the answer lands in Session::link exactly as the real link's status parsing leaves it.
// Lets the driver and the register read be checked byte for byte without frames.

#include <algorithm>
#include <deque>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "link/command_sender.h"
#include "link/link_rig.h"
#include "link/status_fields.h"
#include "link/transmission.h"

namespace zelmar::link::scripted {

using testing::ReadAll;
using testing::RigBase;

// "00/00/00/a/b/" style answer text from its fields.
inline std::string Answer(std::initializer_list<std::string> fields) {
    std::string text;
    for (const auto& field : fields) text += field + "/";
    return text;
}

struct Reply {
    SendResult result = SendResult::kAccepted;
    std::string answer = "00/00/00/0/";  // ResponseText after the command
};

inline Reply Accepted(std::string answer) {
    return Reply{SendResult::kAccepted, std::move(answer)};
}
inline Reply Refused() {
    return Reply{SendResult::kRefused, Answer({"02", "00", "00", "0"})};
}

class ScriptedSender : public CommandSender {
  public:
    explicit ScriptedSender(Session& session) : session_(session) {}

    // Replies given in turn to one command line; the last one repeats.
    void script(const std::string& command, std::deque<Reply> replies) {
        script_[command] = std::move(replies);
    }

    SendResult SendCommand(std::string& command) override {
        sent.push_back(command);
        const Reply reply = Next(command);
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
        portOpen = portOpens;
        return portOpen;
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

    std::vector<std::string> sent;
    std::string raw;
    bool portOpen = false;
    bool portOpens = true;  // whether OpenPort succeeds
    int opens = 0, closes = 0;

  private:
    Reply Next(const std::string& command) {
        auto& replies = script_[command];
        if (replies.empty()) return Reply{};
        const Reply reply = replies.front();
        if (replies.size() > 1) replies.pop_front();
        return reply;
    }

    Session& session_;
    std::map<std::string, std::deque<Reply>> script_;
};

class RecordingTraceFiles : public TraceFileControl {
  public:
    void OpenTraceFiles() override {}
    void CloseTraceFiles(bool writeLogLines) override {
        ++closed;
        if (writeLogLines) ++logsWritten;
    }
    int closed = 0, logsWritten = 0;
};

}  // namespace zelmar::link::scripted
