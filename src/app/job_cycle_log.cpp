#include "app/job_cycle_log.h"

#include "common/version_text.h"
#include "jobs/job_messages.h"

namespace zelmar::app {
namespace {

std::string Slot(int slot) {
    return "slot " + std::to_string(slot);
}

std::string PollText(const Session& session, const JobState& state) {
    if (!session.options.PollMode()) return "fast mode, the data folder watched";
    return "slow mode, a poll every " + std::to_string(state.PollInterval) + " ms";
}

std::string PortText(const Session& session, const JobState& state, int slot) {
    const auto& options = session.options;
    const std::string served = options.SlotServed[slot - 1] ? "served" : "not ticked";
    if (options.UseNetwork) return Slot(slot) + " over the network: " + served;
    const std::string where = Slot(slot) + " on " + session.PortDevice[slot - 1];
    return state.PortFound[slot - 1] ? where + ": port found, " + served : where + ": no port";
}

}  // namespace

void JobCycleLog::Started(const JobState& state) {
    const auto& options = session_.options;
    log_->write(LogLevel::kInfo, "zelmar1 " + VersionText() + ", program folder " +
                                     session_.ProgramFolder + ", data folder " +
                                     session_.DataFolder);
    const std::string line =
        options.UseNetwork ? "network to " + options.RegisterAddress + ":" + options.RegisterPort
                           : "serial lines";
    log_->write(LogLevel::kInfo, line + ", " + PollText(session_, state));
    bool anyPort = false;
    for (int slot = 1; slot <= 4; ++slot) {
        log_->write(LogLevel::kInfo, PortText(session_, state, slot));
        anyPort = anyPort || state.PortFound[slot - 1];
    }
    if (!anyPort) log_->write(LogLevel::kError, std::string("no port found: ") + jobs::kMsgNoPort);
}

void JobCycleLog::JobStarted() {
    jobStartMs_ = clock_.nowMs();
    log_->write(LogLevel::kDebug, "job " + Slot(session_.CurrentSlot) + " started");
}

void JobCycleLog::JobEnded(jobs::JobResult result) {
    const int slot = session_.CurrentSlot;
    const std::string took = " in " + std::to_string(clock_.nowMs() - jobStartMs_) + " ms";
    if (result == jobs::JobResult::kOk) {
        log_->write(LogLevel::kInfo, "job " + Slot(slot) + " done" + took);
    } else {
        log_->write(LogLevel::kWarning, "job " + Slot(slot) + " failed" + took + ": " +
                                            jobs::ErrorMessageForResult(result));
    }
    // A job that failed in the converter never reached the register.
    if (result != jobs::JobResult::kConversionError) {
        NoteAnswer(slot, result != jobs::JobResult::kNoAnswer);
    }
}

void JobCycleLog::RegisterReadEnded(int slot, link::ReadOutcome outcome) {
    const bool read = outcome == link::ReadOutcome::kOk;
    if (read) {
        const auto& reg = session_.registers[static_cast<std::size_t>(slot - 1)];
        log_->write(LogLevel::kInfo, Slot(slot) + " register data read: model " + reg.ModelCode +
                                         ", serial " + reg.SerialNumber);
    } else {
        log_->write(LogLevel::kWarning, Slot(slot) + " register data not read: " +
                                            jobs::kMsgDumpFailed + " (tried again next attempt)");
    }
    NoteAnswer(slot, read);
}

void JobCycleLog::UnloadStarted(const JobState& state) {
    const bool working = state.JobBusy || state.ReadBusy;
    log_->write(LogLevel::kInfo, working ? "unload: the running work ends through its time-out"
                                         : "unload: closing the served slots");
}

void JobCycleLog::NoteAnswer(int slot, bool answered) {
    bool& silent = registerSilent_[slot - 1];
    if (answered && silent) log_->write(LogLevel::kInfo, Slot(slot) + " register answers again");
    silent = !answered;
}

}  // namespace zelmar::app
