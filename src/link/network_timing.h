#pragma once

// Every time-out, budget and pause of the network transport, in one place. The register's
// protocol fixes the pauses and the reply wait; the ones marked "our bound" close the loops
// the protocol leaves open, so that no register behaviour can hold a job forever.

#include <cstddef>

namespace zelmar::link::network_timing {

inline constexpr int kReplyWaitMs = 61000;         // one reply after its command
inline constexpr int kTimeoutRetryPauseMs = 500;   // before sending again after no reply
inline constexpr int kRetryPauseMs = 100;          // busy, refusal, paper and other classes
inline constexpr int kSettlePauseMs = 30;          // after an accepted reply (below WaitMs' step)
inline constexpr int kNotConnectedPauseMs = 1000;  // after "CONNESSIONE RETE NON VALIDA"
inline constexpr int kReconnectPauseMs = 1000;     // connecting: the state is read once a second

// Our bound: sends of one command that get no reply before it fails (2 x 61 s: two minutes).
inline constexpr int kMaxSendsWithoutReply = 2;
// Our bound: how long one command may be answered busy (classes 1 and 5), from the first busy
// reply; the serial link gives up after about as long.
inline constexpr int kMaxBusyMs = 30000;
// Our bound: how long one command polls with "?/" for the operator to change the paper roll
// or close the cover, from the first such reply; the serial link waits as long.
inline constexpr int kMaxPollingMs = 5 * 60 * 1000;
// Our bound: how long connecting may take before the job goes on and fails.
inline constexpr int kMaxConnectWaitMs = 10000;
// Our bound: a reply is a few hundred bytes; bytes without an ETX beyond this are noise and
// are dropped (the reply wait then ends as a time-out).
inline constexpr std::size_t kMaxReplyBytes = 4096;

}  // namespace zelmar::link::network_timing
