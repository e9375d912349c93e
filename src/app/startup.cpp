// StartUp: the main form's start-up, in its fixed order.
#include <string_view>

#include "app/job_texts.h"
#include "app/main_form.h"
#include "app/poll_interval.h"
#include "app/slot_file_name.h"

namespace zelmar::app {
namespace {

// The link's baud rate before ZMChkBd.txt is read.
constexpr int kStartupBaudRate = 115200;

}  // namespace

void MainForm::StartUp() {
    // The folders were decided before the form loads (Session::DataFolder, ProgramFolder).
    trace_.ClearLogLines();
    for (auto& registerData : session_.registers) registerData.SerialNumber.clear();
    state_.PollInterval = kDefaultPollIntervalMs;
    session_.link.DocumentOpen = false;

    session_.texts.WindowShown = false;
    session_.link.PaperOut = false;
    state_.JobBusy = false;
    state_.LinkClosePending = 0;
    state_.TestReceiptSlot = 0;
    state_.Closing = false;
    session_.options.BaudRate = kStartupBaudRate;

    settings_.Load();
    state_.SettlePending = {false, false, false, false};
    ProbePorts();
    for (int n = 1; n <= 4; ++n) {
        if (state_.PortFound[n - 1]) CleanUpSlotFiles(n);
    }
    state_.ReadPending = {true, true, true, true};
    state_.ReadWithoutMatr = {false, false, false, false};
    state_.ReadBusy = false;
    LoadPollInterval();
    view_.ShowTrayIcon(false, kTipIdle);
    if (session_.options.UseNetwork) registers_.InitNetwork();
    session_.texts.timerControlsVisible = session_.options.PollMode();
    pollTimer_->setInterval(state_.PollInterval);
    pollTimer_->setEnabled(true);
    cycleLog_.Started(state_);
}

void MainForm::ProbePorts() {
    auto& options = session_.options;
    for (int n = 1; n <= 4; ++n) {
        const bool found = options.UseNetwork || registers_.ProbePort(n);
        state_.PortFound[n - 1] = found;
        if (!found) {
            options.SlotServed[n - 1] = false;
            options.SlotSelectable[n - 1] = false;
        }
    }
}

void MainForm::CleanUpSlotFiles(int slot) {
    // Files of a run that ended without its clean-up: a stale SR_MATR would skip the read. A
    // job that run was stopped in keeps its files: the POS application gets its answer.
    const bool jobKept = RecoverInterruptedJob(slot);
    for (const char* base : {"SR_START", "SR_MATR", "SR_ERR", "SR_DATI", "SR_OUT", "FINESCO"}) {
        if (!jobKept || std::string_view(base) == "SR_MATR") {
            jobFiles_.DeleteOnce(SlotFileName(base, slot));
        }
    }
    session_.texts.portShapeGreen[slot - 1] = true;
}

bool MainForm::RecoverInterruptedJob(int slot) {
    const auto record = inFlight_.Read(slot);
    if (!record) return false;
    if (!SlotFileExists("SR_START", slot) || !inFlight_.SameJob(slot, *record)) {
        inFlight_.Clear(slot);  // the job was answered; only its marker was left
        return false;
    }
    // Answered by the first attempt, once the slot's register has been read: a successful
    // read clears the slot's SR_ERR, so an answer written now could be lost.
    state_.SettlePending[slot - 1] = true;
    return true;
}

void MainForm::LoadPollInterval() {
    ApplyPollInterval(settings_.ReadTimerField(), false);
    settings_.WriteTimerFile(session_.options.PollIntervalText);
}

}  // namespace zelmar::app
