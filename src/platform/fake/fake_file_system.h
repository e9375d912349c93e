#pragma once

#include <map>
#include <string>

#include "platform/file_system.h"

namespace zelmar::platform {

// The real file system with removals and writes that can be made to fail, for the
// deletion-retry paths and a data folder that is read-only for a moment.
class FakeFileSystem : public StdFileSystem {
  public:
    void failWrites(bool fail) { writesFail_ = fail; }
    // The next `times` removals of path fail and leave the file where it is.
    void failRemove(const std::string& path, int times) { failuresLeft_[path] = times; }
    // How many removals of path were asked for, failed or not.
    int removeAttempts(const std::string& path) const;

    bool removeFile(const std::string& path) override;
    bool writeLines(const std::string& path, const std::vector<std::string>& lines,
                    bool append) override;
    bool writeBytes(const std::string& path, const std::string& bytes) override;
    bool replaceLinesAtomically(const std::string& path,
                                const std::vector<std::string>& lines) override;

  private:
    bool writesFail_ = false;
    std::map<std::string, int> failuresLeft_;
    std::map<std::string, int> attempts_;
};

}  // namespace zelmar::platform
