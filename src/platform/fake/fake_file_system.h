#pragma once

#include <map>
#include <string>

#include "platform/file_system.h"

namespace zelmar::platform {

// The real file system with removals that can be made to fail, for the deletion-retry paths.
class FakeFileSystem : public StdFileSystem {
  public:
    // The next `times` removals of path fail and leave the file where it is.
    void failRemove(const std::string& path, int times) { failuresLeft_[path] = times; }
    // How many removals of path were asked for, failed or not.
    int removeAttempts(const std::string& path) const;

    bool removeFile(const std::string& path) override;

  private:
    std::map<std::string, int> failuresLeft_;
    std::map<std::string, int> attempts_;
};

}  // namespace zelmar::platform
