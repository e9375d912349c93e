// The end of the program: Form_QueryUnload and Form_Unload.
#include "app/form_timing.h"
#include "app/main_form.h"
#include "app/slot_file_name.h"

namespace zelmar::app {

void MainForm::Unload() {
    if (state_.Closing) return;  // a second close request while the first one runs
    StopDirWatch();              // Form_QueryUnload and the first step of Form_Unload
    registers_.CloseSocket();
    timer21_->setEnabled(false);
    state_.Closing = true;
    cycleLog_.UnloadStarted(state_);
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
    if (!(state_.JobBusy || state_.DumpBusy) || registers_.TableReadInProgress()) return false;
    // The running job or read ends on the time-out flag through its own end handling, which
    // writes its result files; the job files are not deleted. The quit follows that end.
    session_.link.TimeoutFlag = true;
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
            jobFiles_.VerifyExistenceAndKill(SlotFileName(base, n));
        }
    }
}

void MainForm::FinishUnload() {
    settings_.Save();
    view_.ShowClosingBox(false);
}

void MainForm::QuitWhenIdleAfterUnload() {
    if (state_.Closing && !state_.JobBusy && !state_.DumpBusy) RequestQuit();
}

void MainForm::RequestQuit() {
    if (quitRequested_) return;
    quitRequested_ = true;
    if (quit_) quit_();
}

}  // namespace zelmar::app
