// Form_Load: the main form's start-up, in its fixed order.
#include "app/job_texts.h"
#include "app/main_form.h"
#include "app/poll_interval.h"
#include "app/slot_file_name.h"

namespace zelmar::app {
namespace {

// The link's baud rate before ZMChkBd.txt is read.
constexpr int kStartupBaudRate = 115200;

}  // namespace

void MainForm::Form_Load() {
    // The folders were decided before the form loads (Session::DataFolder, ProgramFolder).
    trace_.NewLogLines();
    session_.reg.SerialNumber.clear();
    state_.PollInterval = kDefaultPollIntervalMs;
    session_.link.DocumentOpen = false;

    session_.texts.WindowShown = false;
    session_.link.PaperOut = false;
    state_.JobBusy = false;
    state_.ClosePortPending = 0;
    session_.TestReceiptJob = 0;
    state_.TestReceiptSlot = 0;
    state_.Closing = false;
    session_.options.BaudRate = kStartupBaudRate;

    settings_.Load();
    ProbePorts();
    for (int n = 1; n <= 4; ++n) {
        if (state_.PortFound[n - 1]) CleanUpSlotFiles(n);
    }
    state_.DumpPending = {true, true, true, true};
    state_.DumpBusy = false;
    LoadPollInterval();
    state_.TickCounter = 0;
    view_.ShowTrayIcon(false, kTipIdle);
    if (session_.options.OptionRete) registers_.InitNetwork();
    session_.texts.timerControlsVisible = session_.options.OptionSlow();
    timer21_->setInterval(state_.PollInterval);
    timer21_->setEnabled(true);
    cycleLog_.Started(state_);
}

void MainForm::ProbePorts() {
    auto& options = session_.options;
    for (int n = 1; n <= 4; ++n) {
        const bool found = options.OptionRete || registers_.OpenComPort(n);
        state_.PortFound[n - 1] = found;
        if (!found) {
            options.Check[n - 1] = false;
            options.CheckEnabled[n - 1] = false;
        }
    }
}

void MainForm::CleanUpSlotFiles(int slot) {
    // Files of a run that ended without its clean-up: a stale SR_MATR would skip the read.
    for (const char* base : {"SR_START", "SR_MATR", "SR_ERR", "SR_DATI", "SR_OUT", "FINESCO"}) {
        jobFiles_.VerifyExistenceAndKill(SlotFileName(base, slot));
    }
    session_.texts.portShapeGreen[slot - 1] = true;
}

void MainForm::LoadPollInterval() {
    CalculateTimer(settings_.ReadTimerField(), false);
    settings_.WriteTimerFile(session_.options.txtTimerVal);
}

}  // namespace zelmar::app
