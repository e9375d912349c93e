#include "sim/core/command_responder.h"

#include "sim/core/frame.h"

namespace ecrsim {
namespace {

int CodeOr(const FaultRule& rule, int fallback) {
    return rule.code >= 0 ? rule.code : fallback;
}

Answer ScriptedAnswer(const RegisterModel& model, const FaultRule& rule, Transport transport) {
    const bool serial = transport == Transport::Serial;
    switch (rule.kind) {
        case FaultKind::Busy: {
            const bool ce = serial && model.config().model == "CE";
            return model.statusOnly(CodeOr(rule, ce ? fault_code::kBusyModelCe : fault_code::kBusy),
                                    0);
        }
        case FaultKind::PaperEnd:
            return serial ? model.statusOnly(CodeOr(rule, fault_code::kSerialPaperEnd),
                                             fault_code::kSerialPaperStatus)
                          : model.statusOnly(CodeOr(rule, fault_code::kTcpPaperEnd),
                                             fault_code::kTcpPaperStatus);
        case FaultKind::DeviceFault:
            return model.statusOnly(CodeOr(rule, fault_code::kDeviceFault), 0);
        case FaultKind::SendAgain:
            return model.statusOnly(CodeOr(rule, fault_code::kSendAgain),
                                    fault_code::kSendAgainStatus);
        default:  // Refuse
            return model.statusOnly(rule.code, 0);
    }
}

// A checksum that cannot match: the right one plus one, modulo 100.
std::string WrongChecksumFrame(const std::string& text) {
    std::string frame = Frame(text);
    const int right = (frame[frame.size() - 3] - '0') * 10 + (frame[frame.size() - 2] - '0');
    const int wrong = (right + 1) % 100;
    frame[frame.size() - 3] = static_cast<char>('0' + wrong / 10);
    frame[frame.size() - 2] = static_cast<char>('0' + wrong % 10);
    return frame;
}

Outputs SplitFrame(const std::string& frame, int parts, int delayMs) {
    Outputs outputs;
    const std::size_t size = (frame.size() + parts - 1) / parts;
    for (std::size_t start = 0; start < frame.size(); start += size)
        outputs.push_back(
            {delayMs + static_cast<int>(outputs.size()) * kSplitGapMs, frame.substr(start, size)});
    return outputs;
}

}  // namespace

Outputs EmitAnswer(FaultScript& faults, const std::string& answerText, int delayMs,
                   Transport transport) {
    constexpr const char* kShortText = "00/";  // fewer than eight characters with its checksum
    const auto rule =
        transport == Transport::Serial
            ? faults.take({FaultKind::BadChecksum, FaultKind::ShortFrame})
            : faults.take({FaultKind::BadChecksum, FaultKind::ShortFrame, FaultKind::Split});
    if (!rule) return {{delayMs, Frame(answerText)}};
    switch (rule->kind) {
        case FaultKind::BadChecksum:
            return {{delayMs, WrongChecksumFrame(answerText)}};
        case FaultKind::ShortFrame:
            return {{delayMs, Frame(kShortText)}};
        default:  // Split
            return SplitFrame(Frame(answerText), rule->parts, delayMs);
    }
}

Answer Respond(RegisterModel& model, FaultScript& faults, const std::string& commandLine,
               Transport transport) {
    const auto rule = faults.take({FaultKind::Busy, FaultKind::PaperEnd, FaultKind::DeviceFault,
                                   FaultKind::SendAgain, FaultKind::Refuse},
                                  commandLine);
    if (rule) return ScriptedAnswer(model, *rule, transport);
    return model.execute(commandLine);
}

}  // namespace ecrsim
