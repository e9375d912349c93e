// One job attempt: slot selection, the transmission and the result files.
#include <utility>

#include "app/form_timing.h"
#include "app/job_texts.h"
#include "app/main_form.h"
#include "app/slot_file_name.h"
#include "common/paths.h"
#include "jobs/job_messages.h"

namespace zelmar::app {
void MainForm::txtTimer_Change() {
    // A trigger that arrives while a job or a read pumps the loop (a watcher event, a mode
    // click) would otherwise move CurrentSlot under the running work; a closing form starts
    // nothing new.
    if (state_.JobBusy || state_.DumpBusy || state_.Closing) return;
    timer21_->setEnabled(false);
    trace_.NewLogLines();
    const int slot = iVerifyStartZelmar1();
    if (slot != 0) {
        session_.CurrentSlot = slot;
        const std::string dati = jobFiles_.SlotFile("SR_DATI", slot);
        if (state_.SettlePending[slot - 1]) {
            SettleInterruptedJob(slot);
        } else if (!files_.fileExists(dati)) {
            jobFiles_.WriteErrFile(jobs::kMsgInputMissing, slot);
            jobFiles_.SubKillStartFile(jobs::JobEnd::kFailed);
        } else {
            const bool testReceipt = IsTestReceiptJob(slot);
            if (session_.options.chbScontiSuReso && !testReceipt) {
                registers_.RewriteRefundDiscounts(dati);
            }
            session_.DatiPath = dati;
            session_.OutPath = jobFiles_.SlotFile("SR_OUT", slot);
            RunJob(testReceipt);
        }
    }
    EndAttempt();
}

int MainForm::iVerifyStartZelmar1() {
    for (int n = 1; n <= 4 && !state_.Closing; ++n) {
        if (!ServesSlot(n)) continue;
        if (NeedsRegisterRead(n)) {
            StartRegisterDump(n);
            continue;
        }
        session_.CurrentSlot = n;
        const bool settle = state_.SettlePending[n - 1];
        if (SlotFileExists("SR_START", n) && (settle || SlotFileExists("SR_DATI", n))) {
            jobFiles_.VerifyExistenceAndKill(SlotFileName("FINESCO", n));
            if (SlotFileExists("SR_OUT", n)) jobFiles_.SubKillFileOut();
            state_.DumpPending[n - 1] = false;
            return n;
        }
    }
    const auto& found = state_.PortFound;
    if (!found[0] && !found[1] && !found[2] && !found[3]) {
        for (int n = 1; n <= 4; ++n) jobFiles_.WriteErrFile(jobs::kMsgNoPort, n);
    }
    return 0;
}

void MainForm::FinishJob(jobs::JobResult result) {
    const bool done = result == jobs::JobResult::kOk;
    auto& texts = session_.texts;
    if (texts.WindowShown && state_.JobBusy) {
        texts.Text2 =
            std::string(kStatusFinished) + kStatusSeparator + jobs::StatusWordForResult(result);
        if (done) texts.Text1.clear();
    }
    if (state_.JobBusy) {
        if (done) {
            jobFiles_.SubKillErrFile();
            jobFiles_.SubKillDatiFile();
        } else {
            jobFiles_.WriteErrFile(jobs::ErrorMessageForResult(result), session_.CurrentSlot);
        }
        jobFiles_.SubKillStartFile(done ? jobs::JobEnd::kDone : jobs::JobEnd::kFailed);
        inFlight_.Clear(session_.CurrentSlot);  // answered: nothing to recover any more
        state_.JobBusy = false;
    }
    session_.link.PaperOut = false;
    session_.TestReceiptJob = 0;
    state_.TestReceiptSlot = 0;
    state_.ClosePortPending = 2;
    timer21_->setInterval(kPortCloseDelayMs);
    texts.CMBFileEnabled = true;
    view_.ShowTrayIcon(false, kTipIdle);
}

void MainForm::BindTestReceipt(int slot) {
    session_.TestReceiptJob = 1;
    state_.TestReceiptSlot = slot;
}

bool MainForm::ServesSlot(int slot) const {
    return session_.options.Check[slot - 1] && state_.PortFound[slot - 1];
}

bool MainForm::NeedsRegisterRead(int slot) {
    return !state_.ReadWithoutMatr[slot - 1] && !SlotFileExists("SR_MATR", slot);
}

bool MainForm::IsTestReceiptJob(int slot) const {
    return session_.TestReceiptJob != 0 &&
           (state_.TestReceiptSlot == 0 || state_.TestReceiptSlot == slot);
}

void MainForm::RunJob(bool testReceipt) {
    // A test receipt written for another slot stays pending for its own job.
    const int heldFlag = testReceipt ? 0 : std::exchange(session_.TestReceiptJob, 0);
    const int heldSlot = testReceipt ? 0 : state_.TestReceiptSlot;

    state_.JobBusy = true;
    view_.ShowTrayIcon(true, kTipBusy);
    if (session_.texts.WindowShown) session_.texts.Text2 = kStatusTransmitting;
    if (session_.options.chbTrace) traceFiles_.OpenTraceFiles();
    cycleLog_.JobStarted();
    const jobs::JobResult result = registers_.TransmitJob();
    traceFiles_.CloseTraceFiles(true);  // whichever way the job ended
    cycleLog_.JobEnded(result);
    KeepLastCommandFile();
    FinishJob(result);

    session_.TestReceiptJob = heldFlag;
    state_.TestReceiptSlot = heldSlot;
}

// A job whose closing line was never sent completed no document: it failed. One whose
// closing line was sent is done when the register shows its document closed.
void MainForm::SettleInterruptedJob(int slot) {
    state_.SettlePending[slot - 1] = false;
    const auto record = inFlight_.Read(slot);
    session_.OutPath = jobFiles_.SlotFile("SR_OUT", slot);
    state_.JobBusy = true;
    view_.ShowTrayIcon(true, kTipBusy);
    const bool closingSent = record && record->stage == jobs::InFlightStage::kClosing;
    FinishJob(closingSent ? registers_.SettleInterruptedJob(record->query)
                          : jobs::JobResult::kInterrupted);
}

void MainForm::KeepLastCommandFile() {
    const std::string commands = JoinPath(session_.DataFolder, kCommandFileName);
    if (!files_.fileExists(commands)) return;
    files_.copyFile(commands, JoinPath(session_.DataFolder, kLastCommandFileName));
    jobFiles_.KillIfExists(commands);
}

void MainForm::EndAttempt() {
    if (state_.Closing) {
        QuitWhenIdleAfterUnload();
        return;
    }
    if (session_.options.OptionSlow()) {
        session_.texts.timerControlsVisible = true;
        timer21_->setEnabled(true);
    }
}

}  // namespace zelmar::app
