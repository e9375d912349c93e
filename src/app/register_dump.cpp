// The job cycle's side of a register-data read: its start and its end.
#include <string>

#include "app/form_timing.h"
#include "app/job_texts.h"
#include "app/main_form.h"

namespace zelmar::app {
namespace {

// A failed read is shown by its number in the slot's status text.
constexpr const char* kFailedReadNumber = "-1";

}  // namespace

void MainForm::StartRegisterRead(int slot) {
    if (state_.ReadBusy || state_.JobBusy || state_.Closing) return;
    pollTimer_->setEnabled(false);
    state_.ReadBusy = true;
    session_.CurrentSlot = slot;
    state_.ReadPending[slot - 1] = true;
    registers_.OpenConnection();
    EndRegisterRead(slot, registers_.ReadRegisterData());
}

void MainForm::EndRegisterRead(int slot, link::ReadOutcome outcome) {
    // The reader wrote SR_MATR or E501 for `slot`; the rest of the read's end is done here,
    // once. CurrentSlot is still `slot`: nothing moves it while a read runs.
    const auto index = static_cast<std::size_t>(slot - 1);
    cycleLog_.RegisterReadEnded(slot, outcome);
    std::string dumpText;
    if (outcome == link::ReadOutcome::kOk) {
        jobFiles_.DeleteErrorFile();
        state_.ReadPending[index] = false;
        state_.ReadWithoutMatr[index] = !SlotFileExists("SR_MATR", slot);
        dumpText = kDumpDone;
        // What the read learned is the slot's register data; the window shows it from there.
        const RegisterData& learned = session_.registers[index];
        session_.texts.Firmware = learned.FirmwareRevision;
        session_.texts.SerialNumberShown = learned.SerialNumber;
    } else {
        // E501 is in SR_ERR; the POS application's job is answered and the read is retried
        // at the next attempt.
        jobFiles_.AnswerJob(jobs::JobEnd::kFailed);
        inFlight_.Clear(slot);  // an interrupted job is answered by E501 too
        state_.SettlePending[index] = false;
        state_.ReadPending[index] = true;
        state_.ReadWithoutMatr[index] = false;
        dumpText = std::string(kDumpNotDone) + " : " + kFailedReadNumber;
    }
    if (session_.texts.WindowShown) session_.texts.ReadState[index] = dumpText;

    state_.ReadBusy = false;
    // Closed either way: a port left open after a failed read would be the next slot's link.
    registers_.CloseConnection();
    state_.LinkClosePending = 1;
    pollTimer_->setInterval(kPortCloseDelayMs);
    pollTimer_->setEnabled(true);
    if (outcome == link::ReadOutcome::kOk && !state_.Closing) StartDirWatch();
    QuitWhenIdleAfterUnload();
}

}  // namespace zelmar::app
