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
class SerialLine {
  public:
    // Results of ReadResponse.
    static constexpr int kGoodFrame = 1;
    static constexpr int kSilence = 0;
    static constexpr int kNakReceived = -2;
    static constexpr int kBudgetSpent = -3;  // bad frames used up the attempts
    static constexpr int kPortFailed = -4;   // the port refused a write

    SerialLine(LinkState& state, platform::EventLoop& loop, platform::SerialPort& port,
               TraceSink& trace);

    void Timer1_Timer();

    bool send(const std::string& bytes);  // false when the port refuses the write
    void drainInput();                    // discards what has arrived
    // 1 ACK seen, -2 NAK seen (ACK wins when both came), -1 anything else or nothing in 3 s.
    int WaitAck();
    // Waits for an answer frame and acknowledges it. A frame that is malformed, lacks its ETX
    // or fails its checksum is answered with NAK and costs one of `attempts`.
    int ReadResponse(int& attempts);

  private:
    void timedRead(int intervalMs, const std::function<bool()>& done);
    bool spendAttempt(int& attempts);  // false when none are left

    LinkState& state_;
    platform::EventLoop& loop_;
    platform::SerialPort& port_;
    TraceSink& trace_;
    std::unique_ptr<platform::Timer> timer1_;
};

}  // namespace zelmar::link
