#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/dir_watcher.h"
#include "platform/event_loop.h"

namespace zelmar::app {

// Change detection on the data folder with the suspend rule: while suspended, changes are kept
// and raise exactly one ChangeDetected event (the OR of their 1/2/4 bits) after the watch
// resumes. Events always arrive from the event loop, never from inside a platform callback, so
// a handler may replace or drop this watcher.
class WatchForChanges {
  public:
    WatchForChanges(platform::EventLoop& loop, std::unique_ptr<platform::DirWatcher> watcher,
                    std::function<void(int changeType)> onChangeDetected);
    ~WatchForChanges();
    WatchForChanges(const WatchForChanges&) = delete;
    WatchForChanges& operator=(const WatchForChanges&) = delete;

    // True when the watch runs; a failed start leaves the watcher stopped.
    bool StartWatch(const std::string& path, bool suspend, bool watchSubtree);
    void StopWatch();  // safe when nothing runs

    // Raises a change as if the folder had reported it (bits 1/2/4), under the suspend rule.
    void NoteChange(int bits) { OnPlatformChange(bits); }

    bool SuspendWatch() const { return suspend_; }
    void SetSuspendWatch(bool suspend);

  private:
    void OnPlatformChange(int bits);
    void ScheduleDelivery();
    void Deliver();

    platform::EventLoop& loop_;
    std::unique_ptr<platform::DirWatcher> watcher_;
    std::function<void(int)> onChangeDetected_;
    bool suspend_ = false;
    int pendingBits_ = 0;
    bool deliveryScheduled_ = false;
    // Work posted to the loop holds a weak copy: a stop or the end of the watcher voids it.
    std::shared_ptr<int> token_ = std::make_shared<int>(0);
};

}  // namespace zelmar::app
