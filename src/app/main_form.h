#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/form_view.h"
#include "app/job_cycle_log.h"
#include "app/job_state.h"
#include "app/register_services.h"
#include "app/settings_store.h"
#include "app/watch_for_changes.h"
#include "common/session.h"
#include "common/trace_sink.h"
#include "jobs/in_flight_marker.h"
#include "jobs/job_files.h"
#include "link/transmission.h"
#include "platform/dir_watcher.h"
#include "platform/event_loop.h"
#include "platform/file_system.h"

namespace zelmar::app {

// Everything the main form talks to. All references outlive the form.
struct FormParts {
    Session& session;
    platform::EventLoop& loop;
    platform::FileSystem& files;
    jobs::JobFiles& jobFiles;
    RegisterServices& registers;
    SettingsStore& settings;
    FormView& view;
    TraceSink& trace;                    // its collection of log lines
    link::TraceFileControl& traceFiles;  // the trace file of a job
    std::function<std::unique_ptr<platform::DirWatcher>()> makeDirWatcher;
};

// The main form's logic without a window: start-up, the poll timer, the job cycle, the
// register-data read bookkeeping, the directory watcher and the unload sequence. Everything
// runs on the one event loop; re-entry is kept out by the job state's flags.
class MainForm {
  public:
    explicit MainForm(FormParts parts);
    ~MainForm();
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // Called once the unload has finished: at once when idle, or when the running job or
    // register-data read has ended after an unload.
    void setQuitHandler(std::function<void()> quit) { quit_ = std::move(quit); }
    // The operator's log of the job cycle (not owned); none until set.
    void setDiagnosticsLog(DiagnosticsLog& log) { cycleLog_.setLog(log); }

    // Start-up, after the folders have been decided (Session::DataFolder, ProgramFolder).
    void StartUp();

    // The job cycle.
    void RunJobAttempt();   // one job attempt
    int SelectSlotToRun();  // the slot whose job may run now, or 0
    void StartRegisterRead(int slot);
    void FinishJob(jobs::JobResult result);
    // The test receipt's files were written to `slot`: the next job on that slot is it.
    void BindTestReceipt(int slot);

    // Timers.
    void OnPollTick();
    void ApplyPollInterval(const std::string& text, bool save);
    platform::Timer& PollTimer() { return *pollTimer_; }

    // The directory watcher.
    void StartDirWatch();
    void StopDirWatch();
    void OnFolderChange(int changeType);
    const WatchForChanges* DirWatch() const { return watch_.get(); }

    // Form_QueryUnload and Form_Unload: the end of the program.
    void Unload();

    // A job or a register-data read holds the link: operator commands, ticks and the unload
    // leave it alone until it ends.
    bool ExchangeRunning() const { return state_.JobBusy || state_.ReadBusy; }

    JobState& state() { return state_; }
    const JobState& state() const { return state_; }

  private:
    // Start-up steps.
    void ProbePorts();
    void CleanUpSlotFiles(int slot);
    bool RecoverInterruptedJob(int slot);
    void LoadPollInterval();
    // Job attempt steps.
    bool ServesSlot(int slot) const;
    bool SlotFileExists(const char* baseName, int slot);
    bool NeedsRegisterRead(int slot);
    bool IsTestReceiptJob(int slot) const;
    void RunJob(const link::JobRequest& job);
    void SettleInterruptedJob(int slot);
    void KeepLastCommandFile();
    void EndAttempt();
    // End of a register-data read.
    void EndRegisterRead(int slot, link::ReadOutcome outcome);
    // Unload steps.
    bool EndsThroughRunningWork();
    void CloseAndCleanServedSlots();
    void FinishUnload();
    void QuitWhenIdleAfterUnload();
    void RequestQuit();

    Session& session_;
    platform::EventLoop& loop_;
    platform::FileSystem& files_;
    jobs::JobFiles& jobFiles_;
    RegisterServices& registers_;
    SettingsStore& settings_;
    FormView& view_;
    TraceSink& trace_;
    link::TraceFileControl& traceFiles_;
    std::function<std::unique_ptr<platform::DirWatcher>()> makeDirWatcher_;
    std::function<void()> quit_;
    bool quitRequested_ = false;

    jobs::InFlightMarker inFlight_;
    JobState state_;
    std::unique_ptr<platform::Timer> pollTimer_;
    std::unique_ptr<WatchForChanges> watch_;
    JobCycleLog cycleLog_{session_, loop_};
};

}  // namespace zelmar::app
