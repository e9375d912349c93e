#pragma once

// Every time-out, budget and pause of the serial link, in one place. The register's own
// protocol fixes most of them; the ones marked "our bound" close loops the protocol leaves
// open, so that no register behaviour can hold a job forever.

namespace zelmar::link::timing {

// Time-outs of a timed read, measured by Timer1.
inline constexpr int kFirstByteTimeoutMs = 3000;  // register answers an ENQ or starts a frame
inline constexpr int kFrameTimeoutMs = 10000;     // whole answer frame after its first byte
// Our bound: after an answer was given up, how long a frame that still arrives counts as that
// command's late answer and is dropped before the line is sent again or the next line goes.
// Registers seen answering late did so within half a second of the time-out.
inline constexpr int kLateAnswerWindowMs = 1000;
// Our bound: a timed read also ends this long after Timer1 should have ticked, in case the
// timer is late or lost.
inline constexpr int kTimerSlackMs = 500;

// Budgets of one SendCommand.
inline constexpr int kEnquiryTries = 3;        // ENQs before "no contact"
inline constexpr int kAttemptBudget = 50;      // attempts for one command line
inline constexpr int kBudgetAfterSilence = 3;  // silence after a frame cuts the rest to this
inline constexpr int kSilenceCutAbove = 10;    // ... when more than this remain
inline constexpr int kBudgetOnPaperOut = 10;   // a paper-end answer resets the budget to this
inline constexpr int kMaxBusyAnswers = 165;    // the 166th busy answer in one call gives -9
// Our bound: retries on device-status bit 0 whose result code costs no attempt (0x32).
inline constexpr int kMaxFreeRetries = kAttemptBudget;
// Our bound: how long one command waits for the operator to change the paper roll.
inline constexpr int kMaxPaperOutWaitMs = 5 * 60 * 1000;
// Our bound: reads that drain stale input before an attempt (a babbling line never empties).
inline constexpr int kMaxDrainReads = 64;

// Pauses (through WaitMs, so whole 100 ms steps).
inline constexpr int kNakPauseMs = 400;         // after the register NAKs a frame
inline constexpr int kSlowNakPauseMs = 1000;    // ... on a model slow after a NAK
inline constexpr int kDrainPauseMs = 500;       // after three ENQs that got bytes but no ACK
inline constexpr int kPaperOutPauseMs = 500;    // each paper-end answer
inline constexpr int kPaperBackPauseMs = 2000;  // paper back after a paper end
inline constexpr int kBusyPauseMs = 250;        // between busy answers (WaitMs makes it 200)
inline constexpr int kBusyGiveUpPauseMs = 100;  // before returning -9

}  // namespace zelmar::link::timing
