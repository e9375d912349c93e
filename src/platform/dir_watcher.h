#pragma once

#include <functional>
#include <string>

namespace zelmar::platform {

// Change notification on one folder. The callback runs on the event loop with the OR of
// 1 (a name was created, deleted or renamed), 2 (a size changed), 4 (a last-write changed).
class DirWatcher {
  public:
    virtual ~DirWatcher() = default;
    virtual bool start(const std::string& folder, bool subtree,
                       std::function<void(int bits)> onChange) = 0;
    virtual void stop() = 0;  // safe when nothing runs
};

}  // namespace zelmar::platform
