#pragma once

#include <memory>

#include "platform/dir_watcher.h"

namespace zelmar::platform {

// Change notification on one folder through inotify, delivered by the event loop without a poll
// timer. inotify watches one folder only, so the subtree flag has no effect.
class QtDirWatcher : public DirWatcher {
  public:
    QtDirWatcher();
    ~QtDirWatcher() override;

    bool start(const std::string& folder, bool subtree,
               std::function<void(int bits)> onChange) override;
    void stop() override;

  private:
    struct Native;  // the inotify descriptor and its notifier
    void onSignalled();

    std::unique_ptr<Native> native_;
    std::function<void(int)> onChange_;
};

}  // namespace zelmar::platform
