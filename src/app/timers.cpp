// The poll timer PollTimer and the poll interval.
#include <string>

#include "app/job_texts.h"
#include "app/main_form.h"
#include "app/poll_interval.h"
#include "config/settings_files.h"

namespace zelmar::app {

void MainForm::OnPollTick() {
    // The link belongs to the running job or read until it ends; a tick let through by its
    // pumped waits (a slot-box click may have enabled the timer) must not close it.
    if (state_.JobBusy || state_.ReadBusy || state_.Closing) return;
    pollTimer_->setEnabled(false);
    if (state_.LinkClosePending != 0) {
        registers_.CloseConnection();
        session_.link.PaperOut = false;
        state_.LinkClosePending = 0;
        pollTimer_->setInterval(state_.PollInterval);
        pollTimer_->setEnabled(true);
        return;
    }
    if (session_.options.PollMode() && session_.texts.WindowShown) {
        session_.texts.PollState = state_.BlinkLower ? kTimerOnLower : kTimerOnUpper;
        state_.BlinkLower = !state_.BlinkLower;
    }
    RunJobAttempt();  // every tick is a job attempt
}

void MainForm::ApplyPollInterval(const std::string& text, bool save) {
    const PollSetting setting = CalculatePollSetting(text, session_.options.PollIntervalText);
    state_.PollInterval = setting.intervalMs;
    session_.options.PollIntervalText = setting.display;
    if (save) settings_.WriteTimerFile(config::PollIntervalFileText(state_.PollInterval));
}

}  // namespace zelmar::app
