// The poll timer Timer21 and the poll interval.
#include <string>

#include "app/job_texts.h"
#include "app/main_form.h"
#include "app/poll_interval.h"
#include "config/settings_files.h"

namespace zelmar::app {

void MainForm::Timer21_Timer() {
    // The link belongs to the running job or read until it ends; a tick let through by its
    // pumped waits (a slot-box click may have enabled the timer) must not close it.
    if (state_.JobBusy || state_.DumpBusy || state_.Closing) return;
    timer21_->setEnabled(false);
    if (state_.ClosePortPending != 0) {
        registers_.CloseConnection();
        session_.link.PaperOut = false;
        state_.ClosePortPending = 0;
        timer21_->setInterval(state_.PollInterval);
        timer21_->setEnabled(true);
        return;
    }
    if (session_.options.OptionSlow() && session_.texts.WindowShown) {
        session_.texts.Text3 = state_.BlinkLower ? kTimerOnLower : kTimerOnUpper;
        state_.BlinkLower = !state_.BlinkLower;
    }
    txtTimer_Change();  // every tick is a job attempt
}

void MainForm::CalculateTimer(const std::string& text, bool save) {
    const PollSetting setting = CalculatePollSetting(text, session_.options.txtTimerVal);
    state_.PollInterval = setting.intervalMs;
    session_.options.txtTimerVal = setting.display;
    if (save) settings_.WriteTimerFile(config::PollIntervalFileText(state_.PollInterval));
}

}  // namespace zelmar::app
