#include "link/serial_line.h"

#include "link/frame.h"
#include "link/link_timing.h"

namespace zelmar::link {

SerialLine::SerialLine(LinkState& state, platform::EventLoop& loop, platform::SerialPort& port,
                       TraceSink& trace)
    : state_(state),
      loop_(loop),
      port_(port),
      trace_(trace),
      timer1_(loop.createTimer([this] { OnTimeoutTick(); })) {}

void SerialLine::OnTimeoutTick() {
    state_.TimeoutFlag = true;
}

bool SerialLine::send(const std::string& bytes) {
    return port_.write(bytes);
}

void SerialLine::drainInput() {
    for (int reads = 0; reads < timing::kMaxDrainReads; ++reads) {
        if (port_.readAvailable().empty()) return;
    }
}

// Appends to RxBuffer until `done` holds, Timer1 ticks or someone else raises TimeoutFlag.
void SerialLine::timedRead(int intervalMs, const std::function<bool()>& done) {
    state_.TimeoutFlag = false;
    timer1_->setInterval(intervalMs);
    timer1_->setEnabled(true);
    const auto deadline = loop_.nowMs() + intervalMs + timing::kTimerSlackMs;
    for (;;) {
        state_.RxBuffer += port_.readAvailable();
        const auto left = deadline - loop_.nowMs();
        if (done() || state_.TimeoutFlag || left <= 0) break;
        loop_.pumpWait(static_cast<int>(left));
    }
    timer1_->setEnabled(false);
}

SerialLine::AckReply SerialLine::WaitAck() {
    state_.RxBuffer.clear();
    timedRead(timing::kFirstByteTimeoutMs, [this] { return !state_.RxBuffer.empty(); });
    if (state_.RxBuffer.find(kAck) != std::string::npos) return AckReply::kAck;
    if (state_.RxBuffer.find(kNak) != std::string::npos) return AckReply::kNak;
    return AckReply::kOther;
}

void SpendAttemptOnSilence(int& attempts) {
    if (--attempts > timing::kSilenceCutAbove) attempts = timing::kBudgetAfterSilence;
}

bool SerialLine::DiscardLateAnswer() {
    auto& rx = state_.RxBuffer;
    rx.clear();
    timedRead(timing::kLateAnswerWindowMs, [&rx] {
        const auto stx = rx.find(kStx);
        return stx != std::string::npos && rx.find(kEtx, stx) != std::string::npos;
    });
    const auto stx = rx.find(kStx);
    if (stx == std::string::npos || rx.find(kEtx, stx) == std::string::npos) return false;
    send(std::string(1, kAck));
    if (trace_.tracing()) trace_.traceLine(" <-- late answer dropped: " + rx.substr(stx + 1));
    rx.clear();
    return true;
}

SerialLine::ReadResult SerialLine::ReadResponse(int& attempts) {
    auto& rx = state_.RxBuffer;
    state_.ResponseText.clear();
    for (;;) {
        rx.clear();
        timedRead(timing::kFirstByteTimeoutMs, [&rx] { return !rx.empty(); });
        if (rx.find(kStx) == std::string::npos && rx.find(kAck) == std::string::npos) {
            if (rx.empty()) return ReadResult::kSilence;
            if (trace_.tracing()) trace_.traceLine(" <-- Nack Received: " + state_.ResponseText);
            return ReadResult::kNakReceived;
        }
        timedRead(timing::kFrameTimeoutMs, [&rx] { return rx.find(kEtx) != std::string::npos; });
        const auto stx = rx.find(kStx);
        const auto etx = rx.find(kEtx);
        if (etx == std::string::npos) {
            SpendAttemptOnSilence(attempts);
            if (attempts <= 0) return ReadResult::kBudgetSpent;
            continue;
        }
        bool good = false;
        if (stx != std::string::npos && etx >= stx + 9) {
            state_.ResponseText = rx.substr(stx + 1, rx.size() - stx - 2);
            const auto& text = state_.ResponseText;
            good = CalcChecksum(text.substr(0, text.size() - 2)) == text.substr(text.size() - 2);
        }
        if (!send(std::string(1, good ? kAck : kNak))) return ReadResult::kPortFailed;
        if (good) return ReadResult::kGoodFrame;
        if (--attempts <= 0) return ReadResult::kBudgetSpent;
    }
}

}  // namespace zelmar::link
