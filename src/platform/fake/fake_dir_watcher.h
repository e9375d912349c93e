#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/dir_watcher.h"
#include "platform/event_loop.h"

namespace zelmar::platform {

// A watcher the test drives: fire() stands for a change in the folder. Like the real one, the
// callback comes later on the loop; changes fired before it runs arrive as one callback.
class FakeDirWatcher : public DirWatcher {
  public:
    explicit FakeDirWatcher(EventLoop& loop) : loop_(loop) {}

    void fire(int bits);

    bool running() const { return running_; }
    const std::string& folder() const { return folder_; }

    bool start(const std::string& folder, bool subtree,
               std::function<void(int bits)> onChange) override;
    void stop() override;

  private:
    void scheduleDelivery();
    void deliver();

    EventLoop& loop_;
    // Posted deliveries check this, so a watcher destroyed before the loop runs them is safe.
    std::shared_ptr<FakeDirWatcher*> self_ = std::make_shared<FakeDirWatcher*>(this);
    std::function<void(int)> onChange_;
    std::string folder_;
    bool running_ = false;
    int pending_ = 0;
};

}  // namespace zelmar::platform
