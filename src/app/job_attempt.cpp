// One job attempt: slot selection, the transmission and the result files.
#include <utility>

#include "app/form_timing.h"
#include "app/job_texts.h"
#include "app/main_form.h"
#include "app/slot_file_name.h"
#include "common/paths.h"
#include "jobs/job_messages.h"

namespace zelmar::app {
void MainForm::RunJobAttempt() {
    // A trigger that arrives while a job or a read pumps the loop (a watcher event, a mode
    // click) would otherwise move CurrentSlot under the running work; a closing form starts
    // nothing new.
    if (state_.JobBusy || state_.ReadBusy || state_.Closing) return;
    pollTimer_->setEnabled(false);
    trace_.ClearLogLines();
    const int slot = SelectSlotToRun();
    if (slot != 0) {
        session_.CurrentSlot = slot;
        const std::string dati = jobFiles_.SlotFile("SR_DATI", slot);
        if (state_.SettlePending[slot - 1]) {
            SettleInterruptedJob(slot);
        } else if (!files_.fileExists(dati)) {
            jobFiles_.WriteErrorFile(jobs::kMsgInputMissing, slot);
            jobFiles_.AnswerJob(jobs::JobEnd::kFailed);
        } else {
            const link::JobRequest job{slot, dati, jobFiles_.SlotFile("SR_OUT", slot),
                                       IsTestReceiptJob(slot)};
            if (session_.options.DiscountsOnRefund && !job.testReceipt) {
                registers_.RewriteRefundDiscounts(dati);
            }
            RunJob(job);
        }
    }
    EndAttempt();
}

int MainForm::SelectSlotToRun() {
    for (int n = 1; n <= 4 && !state_.Closing; ++n) {
        if (!ServesSlot(n)) continue;
        if (NeedsRegisterRead(n)) {
            StartRegisterRead(n);
            continue;
        }
        session_.CurrentSlot = n;
        const bool settle = state_.SettlePending[n - 1];
        if (SlotFileExists("SR_START", n) && (settle || SlotFileExists("SR_DATI", n))) {
            jobFiles_.DeleteOnce(SlotFileName("FINESCO", n));
            if (SlotFileExists("SR_OUT", n)) jobFiles_.DeleteResultFile();
            state_.ReadPending[n - 1] = false;
            return n;
        }
    }
    const auto& found = state_.PortFound;
    if (!found[0] && !found[1] && !found[2] && !found[3]) {
        for (int n = 1; n <= 4; ++n) jobFiles_.WriteErrorFile(jobs::kMsgNoPort, n);
    }
    return 0;
}

void MainForm::FinishJob(jobs::JobResult result) {
    const bool done = result == jobs::JobResult::kOk;
    auto& texts = session_.texts;
    if (texts.WindowShown && state_.JobBusy) {
        texts.JobStatus =
            std::string(kStatusFinished) + kStatusSeparator + jobs::StatusWordForResult(result);
        if (done) texts.RegisterMessage.clear();
    }
    if (state_.JobBusy) {
        if (done) {
            jobFiles_.DeleteErrorFile();
            jobFiles_.DeleteJobFile();
        } else {
            jobFiles_.WriteErrorFile(jobs::ErrorMessageForResult(result), session_.CurrentSlot);
        }
        jobFiles_.AnswerJob(done ? jobs::JobEnd::kDone : jobs::JobEnd::kFailed);
        inFlight_.Clear(session_.CurrentSlot);  // answered: nothing to recover any more
        state_.JobBusy = false;
    }
    session_.link.PaperOut = false;
    state_.LinkClosePending = 2;
    pollTimer_->setInterval(kPortCloseDelayMs);
    texts.TestReceiptEnabled = true;
    view_.ShowTrayIcon(false, kTipIdle);
}

void MainForm::BindTestReceipt(int slot) {
    state_.TestReceiptSlot = slot;
}

bool MainForm::ServesSlot(int slot) const {
    return session_.options.SlotServed[slot - 1] && state_.PortFound[slot - 1];
}

bool MainForm::NeedsRegisterRead(int slot) {
    return !state_.ReadWithoutMatr[slot - 1] && !SlotFileExists("SR_MATR", slot);
}

// A test receipt written for another slot stays pending for its own job.
bool MainForm::IsTestReceiptJob(int slot) const {
    return state_.TestReceiptSlot == slot;
}

void MainForm::RunJob(const link::JobRequest& job) {
    state_.JobBusy = true;
    view_.ShowTrayIcon(true, kTipBusy);
    if (session_.texts.WindowShown) session_.texts.JobStatus = kStatusTransmitting;
    if (session_.options.TraceOn) traceFiles_.OpenTraceFiles();
    cycleLog_.JobStarted();
    const jobs::JobResult result = registers_.TransmitJob(job);
    traceFiles_.CloseTraceFiles(true);  // whichever way the job ended
    cycleLog_.JobEnded(result);
    KeepLastCommandFile();
    if (job.testReceipt) state_.TestReceiptSlot = 0;
    FinishJob(result);
}

// A job whose closing line was never sent completed no document: it failed. One whose
// closing line was sent is done when the register shows its document closed.
void MainForm::SettleInterruptedJob(int slot) {
    state_.SettlePending[slot - 1] = false;
    const auto record = inFlight_.Read(slot);
    const link::JobRequest job{slot, jobFiles_.SlotFile("SR_DATI", slot),
                               jobFiles_.SlotFile("SR_OUT", slot), false};
    state_.JobBusy = true;
    view_.ShowTrayIcon(true, kTipBusy);
    const bool closingSent = record && record->stage == jobs::InFlightStage::kClosing;
    FinishJob(closingSent ? registers_.SettleInterruptedJob(job, record->query)
                          : jobs::JobResult::kInterrupted);
}

void MainForm::KeepLastCommandFile() {
    const std::string commands = JoinPath(session_.DataFolder, kCommandFileName);
    if (!files_.fileExists(commands)) return;
    files_.copyFile(commands, JoinPath(session_.DataFolder, kLastCommandFileName));
    jobFiles_.DeleteLogged(commands);
}

void MainForm::EndAttempt() {
    if (state_.Closing) {
        QuitWhenIdleAfterUnload();
        return;
    }
    if (session_.options.PollMode()) {
        session_.texts.timerControlsVisible = true;
        pollTimer_->setEnabled(true);
    }
}

}  // namespace zelmar::app
