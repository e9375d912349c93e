// The job cycle's side of a register-data read: its start and its end.
#include <string>

#include "app/form_timing.h"
#include "app/job_texts.h"
#include "app/main_form.h"

namespace zelmar::app {

void MainForm::StartRegisterDump(int slot) {
    if (state_.DumpBusy || state_.JobBusy || state_.Closing) return;
    timer21_->setEnabled(false);
    state_.DumpBusy = true;
    session_.CurrentSlot = slot;
    state_.DumpPending[slot - 1] = true;
    registers_.OpenConnection();
    EndRegisterDump(slot, registers_.ReadRegisterData());
}

void MainForm::EndRegisterDump(int slot, int outcome) {
    cycleLog_.RegisterReadEnded(slot, outcome);
    std::string dumpText;
    if (outcome == 0) {
        jobFiles_.SubKillErrFile();
        state_.DumpPending[slot - 1] = false;
        dumpText = kDumpDone;
    } else {
        // E501 is in SR_ERR; the POS application's job is answered and the read is retried
        // at the next attempt.
        jobFiles_.SubKillStartFile();
        state_.DumpPending[slot - 1] = true;
        dumpText = std::string(kDumpNotDone) + " : " + std::to_string(outcome);
    }
    if (session_.texts.WindowShown) session_.texts.DumpState[slot - 1] = dumpText;

    state_.DumpBusy = false;
    state_.ClosePortPending = 1;
    timer21_->setInterval(kPortCloseDelayMs);
    timer21_->setEnabled(true);
    if (outcome == 0) {
        registers_.CloseConnection();
        if (!state_.Closing) StartDirWatch();
    }
    QuitWhenIdleAfterUnload();
}

}  // namespace zelmar::app
