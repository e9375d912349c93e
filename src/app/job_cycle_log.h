#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/job_state.h"
#include "common/diagnostics_log.h"
#include "common/session.h"
#include "jobs/job_messages.h"
#include "link/register_reader.h"
#include "platform/event_loop.h"

namespace zelmar::app {

// The job cycle's lines in the diagnostics log: the settings and ports found at start-up, each
// job's slot, result and duration, each register-data read, a slot whose register answers
// again after it did not, and the unload.
class JobCycleLog {
  public:
    JobCycleLog(const Session& session, const platform::EventLoop& clock)
        : session_(session), clock_(clock) {}
    void setLog(DiagnosticsLog& log) { log_ = &log; }

    void Started(const JobState& state);
    void JobStarted();  // for Session::CurrentSlot
    void JobEnded(jobs::JobResult result);
    void RegisterReadEnded(int slot, link::ReadOutcome outcome);
    void UnloadStarted(const JobState& state);

  private:
    // Notes whether the register of `slot` answered, with a line when it does again.
    void NoteAnswer(int slot, bool answered);

    const Session& session_;
    const platform::EventLoop& clock_;
    DiagnosticsLog* log_ = &NoDiagnosticsLog();
    std::int64_t jobStartMs_ = 0;
    std::array<bool, 4> registerSilent_{};  // the last job or read of the slot got no answer
};

}  // namespace zelmar::app
