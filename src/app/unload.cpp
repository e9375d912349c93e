// The end of the program: Form_QueryUnload and Form_Unload.
#include "app/form_timing.h"
#include "app/main_form.h"
#include "app/slot_file_name.h"

namespace zelmar::app {

void MainForm::Unload() {
    if (state_.Closing) return;  // a second close request while the first one runs
    // Closing and the stopped poll come first: the waits below pump the loop, and a tick or a
    // watcher event let through must not start a job inside the unload.
    state_.Closing = true;
    pollTimer_->setEnabled(false);
    cycleLog_.UnloadStarted(state_);
    StopDirWatch();
    if (!ExchangeRunning()) registers_.CloseSocket();
    view_.RemoveTrayIcon();
    view_.HideWindow();
    view_.ShowClosingBox(true);
    loop_.pumpOnce();
    loop_.sleepMs(kClosingBoxPauseMs);

    if (EndsThroughRunningWork()) return;
    CloseAndCleanServedSlots();
    FinishUnload();
    RequestQuit();
}

bool MainForm::EndsThroughRunningWork() {
    if (!ExchangeRunning()) return false;
    // The running job or read keeps its link and its slot: the time-out ends its wait, no
    // further command starts, and it ends through its own end handling, which writes its
    // result files; the job files are not deleted. The quit follows that end.
    session_.link.TimeoutFlag = true;
    session_.link.ExchangeAborted = true;
    loop_.pumpOnce();
    loop_.sleepMs(kRunningWorkGraceMs);
    FinishUnload();
    return true;
}

void MainForm::CloseAndCleanServedSlots() {
    for (int n = 1; n <= 4; ++n) {
        if (!state_.PortFound[n - 1]) continue;
        session_.CurrentSlot = n;
        registers_.CloseConnection();
        loop_.sleepMs(kSlotClosePauseMs);
        // SR_DATI stays: the POS application may still want to resubmit it.
        for (const char* base : {"SR_MATR", "SR_START", "SR_ERR", "SR_OUT", "FINESCO"}) {
            jobFiles_.DeleteOnce(SlotFileName(base, n));
        }
    }
}

void MainForm::FinishUnload() {
    settings_.Save();
    view_.ShowClosingBox(false);
}

void MainForm::QuitWhenIdleAfterUnload() {
    if (!state_.Closing || ExchangeRunning()) return;
    registers_.CloseConnection();
    registers_.CloseSocket();
    RequestQuit();
}

void MainForm::RequestQuit() {
    if (quitRequested_) return;
    quitRequested_ = true;
    if (quit_) quit_();
}

}  // namespace zelmar::app
