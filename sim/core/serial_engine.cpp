#include "sim/core/serial_engine.h"

#include "sim/core/command_responder.h"
#include "sim/core/frame.h"

namespace ecrsim {
namespace {

// Far above the longest command line (a seven-line customer heading); a frame that grows
// past it is line noise and is refused rather than buffered without end.
constexpr std::size_t kMaxFrameBytes = 1024;

}  // namespace

Outputs SerialEngine::receive(std::string_view bytes) {
    Outputs out;
    for (const char byte : bytes) {
        if (dropped_) break;
        onByte(byte, out);
    }
    return out;
}

void SerialEngine::restoreLink() {
    dropped_ = false;
    inFrame_ = false;
    frame_.clear();
    lastAnswer_.clear();
}

void SerialEngine::onByte(char byte, Outputs& out) {
    if (byte == kStx) {  // a new frame also abandons a partial one
        inFrame_ = true;
        frame_.clear();
        lastAnswer_.clear();
    } else if (inFrame_ && byte == kEtx) {
        inFrame_ = false;
        onFrameEnd(out);
    } else if (byte == kCan) {
        inFrame_ = false;
        lastAnswer_.clear();
    } else if (inFrame_) {
        frame_ += byte;
        if (frame_.size() > kMaxFrameBytes) {
            inFrame_ = false;
            out.push_back({0, std::string(1, kNak)});
        }
    } else if (byte == kEnq) {
        lastAnswer_.clear();
        if (!faults_.take({FaultKind::NoAck})) out.push_back({0, std::string(1, kAck)});
    } else if (byte == kNak && !lastAnswer_.empty()) {
        sendAnswer(out);
    } else if (byte == kAck) {
        lastAnswer_.clear();
    }
}

void SerialEngine::onFrameEnd(Outputs& out) {
    const auto text = CheckFrameBody(frame_);
    if (!text) {
        out.push_back({0, std::string(1, kNak)});
        return;
    }
    const std::string command = text->substr(0, text->size() - 1);  // the appended "/"
    const auto fault = faults_.take(
        {FaultKind::Drop, FaultKind::Silent, FaultKind::Lost, FaultKind::Nak}, command);
    if (fault) {
        onCommandFault(fault->kind, command, out);
        return;
    }
    lastAnswer_ = Respond(model_, faults_, command, Transport::Serial).text();
    sendAnswer(out);
}

void SerialEngine::onCommandFault(FaultKind kind, const std::string& command, Outputs& out) {
    switch (kind) {
        case FaultKind::Drop:
            dropped_ = true;
            out.push_back({0, {}, true});
            return;
        case FaultKind::Lost:  // carried out; no answer is kept, so a NAK gets nothing either
            model_.execute(command);
            return;
        case FaultKind::Silent:
            return;
        default:  // Nak
            out.push_back({0, std::string(1, kNak)});
    }
}

void SerialEngine::sendAnswer(Outputs& out) {
    for (auto& output : EmitAnswer(faults_, lastAnswer_, delayMs_, Transport::Serial))
        out.push_back(std::move(output));
}

}  // namespace ecrsim
