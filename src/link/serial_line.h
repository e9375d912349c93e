#pragma once

#include <functional>
#include <memory>
#include <string>

#include "common/link_state.h"
#include "common/trace_sink.h"
#include "platform/event_loop.h"
#include "platform/serial_port.h"

namespace zelmar::link {

// The byte level of the serial protocol: timed reads on Timer1, the reply to an ENQ and the
// answer frame with its checksum, acknowledged with ACK or NAK. Reads wait in the event loop.
// Silence after a frame, or a frame that stops before its ETX: one attempt, and at most a
// few left, since a register that went quiet rarely comes back within the command.
void SpendAttemptOnSilence(int& attempts);

class SerialLine {
  public:
    // What WaitAck heard after an ENQ.
    enum class AckReply { kAck, kNak, kOther };
    // What ReadResponse brought back.
    enum class ReadResult {
        kGoodFrame,
        kSilence,
        kNakReceived,
        kBudgetSpent,  // bad frames used up the attempts
        kPortFailed,   // the port refused a write
    };

    SerialLine(LinkState& state, platform::EventLoop& loop, platform::SerialPort& port,
               TraceSink& trace);

    void OnTimeoutTick();

    bool send(const std::string& bytes);  // false when the port refuses the write
    void drainInput();                    // discards what has arrived
    // ACK wins when both came; anything else, or nothing in 3 s, is kOther.
    AckReply WaitAck();
    // Waits for an answer frame and acknowledges it. A frame that is malformed or fails its
    // checksum is answered with NAK and costs one of `attempts`; one that stops before its
    // ETX costs one as silence does.
    ReadResult ReadResponse(int& attempts);
    // After an answer was given up: a frame that still arrives within the window is that
    // command's late answer. It is acknowledged and dropped, so it is never taken for the
    // answer to the line sent next. True when one was dropped.
    bool DiscardLateAnswer();

  private:
    void timedRead(int intervalMs, const std::function<bool()>& done);

    LinkState& state_;
    platform::EventLoop& loop_;
    platform::SerialPort& port_;
    TraceSink& trace_;
    std::unique_ptr<platform::Timer> timer1_;
};

}  // namespace zelmar::link
