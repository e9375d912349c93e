#pragma once

#include <QLockFile>
#include <memory>
#include <string>

namespace zelmar::platform {

// One running copy per program folder: a lock file in the temporary folder named after a hash
// of the folder's absolute path. A lock left by a copy that died is recognised by its process
// id and taken over, so a crash never blocks the next start.
class SingleInstance {
  public:
    explicit SingleInstance(const std::string& programFolder);
    ~SingleInstance();

    bool tryAcquire();  // true when this process now holds the lock (or already did)
    std::string lockFilePath() const;

  private:
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace zelmar::platform
