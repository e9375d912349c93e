#pragma once

#include <QLockFile>
#include <memory>
#include <string>

namespace zelmar::platform {

// One running copy per folder: a lock file in the temporary folder named after the kind of
// folder and a hash of its canonical path, so two spellings of one folder (a link, "..",
// a trailing ".") share the lock. A lock left by a copy that died is recognised by its process
// id and taken over, so a crash never blocks the next start.
class SingleInstance {
  public:
    // The program folder keeps a copy from starting twice from one installation; the data
    // folder keeps two installations from serving one exchange folder.
    enum class Scope { kProgramFolder, kDataFolder };

    SingleInstance(Scope scope, const std::string& folder);
    ~SingleInstance();

    bool tryAcquire();  // true when this process now holds the lock (or already did)
    std::string lockFilePath() const;

  private:
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace zelmar::platform
