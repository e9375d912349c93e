// The directory watcher on the data folder: in fast mode its events run job attempts.
#include "app/job_texts.h"
#include "app/main_form.h"

namespace zelmar::app {

void MainForm::StartDirWatch() {
    pollTimer_->setEnabled(false);
    // A missing data folder keeps the previous watcher, if any.
    if (!files_.folderExists(session_.DataFolder)) return;
    watch_ =
        std::make_unique<WatchForChanges>(loop_, makeDirWatcher_ ? makeDirWatcher_() : nullptr,
                                          [this](int changeType) { OnFolderChange(changeType); });
    session_.texts.timerControlsVisible = false;
    session_.texts.PollState = kTimerReady;
    pollTimer_->setEnabled(false);
    watch_->StartWatch(session_.DataFolder, false, false);
    // In fast mode the poll is off from here on, and job files written before the watch
    // began raise no change: look once now, or such a receipt would wait for the next change.
    if (session_.options.FastMode) watch_->NoteChange(1);
}

void MainForm::StopDirWatch() {
    if (watch_) watch_->StopWatch();
    watch_.reset();
    loop_.pumpOnce();
}

void MainForm::OnFolderChange(int) {
    // Suspended while the attempt runs, so the changes it makes itself (and the POS
    // application's meanwhile) raise one event afterwards instead of a nested attempt.
    if (watch_) watch_->SetSuspendWatch(true);
    if (session_.options.FastMode) RunJobAttempt();
    // The attempt may have replaced the watcher (a successful read) or dropped it (unload).
    if (watch_) watch_->SetSuspendWatch(false);
}

}  // namespace zelmar::app
