#pragma once

#include <array>

namespace zelmar::app {

// The main form's job state. Slots are 1..4; the arrays are indexed by slot - 1.
struct JobState {
    bool JobBusy = false;                                     // a job is being transmitted
    bool ReadBusy = false;                                    // a register-data read is running
    std::array<bool, 4> ReadPending{true, true, true, true};  // register data not read yet
    // A read that succeeded without publishing SR_MATR (a short or unreadable serial): the
    // slot counts as read until the next start-up or a failed read.
    std::array<bool, 4> ReadWithoutMatr{false, false, false, false};
    // A job the last run was stopped in after its closing line: settled from the register
    // once the slot has been read.
    std::array<bool, 4> SettlePending{false, false, false, false};
    std::array<bool, 4> PortFound{false, false, false, false};
    bool Closing = false;      // the unload sequence has started
    int LinkClosePending = 0;  // non-zero: the next poll tick closes the link instead
    int TestReceiptSlot = 0;   // slot the pending test receipt was written to; 0 none

    int PollInterval = 1000;  // ms between polls
    bool BlinkLower = false;  // alternates the timer-state text in slow mode
};

}  // namespace zelmar::app
