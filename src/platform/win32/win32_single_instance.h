#pragma once

#include <windows.h>

#include <string>

namespace zelmar::platform {

// One running copy per folder, across the users and sessions of the machine: a named mutex
// whose name carries the kind of folder and a hash of its full path, case-folded and without
// a trailing separator, so two spellings of one folder share it. The system releases the
// mutex of a copy that died, so a crash never blocks the next start.
class Win32SingleInstance {
  public:
    // The program folder keeps a copy from starting twice from one installation; the data
    // folder keeps two installations from serving one exchange folder.
    enum class Scope { kProgramFolder, kDataFolder };

    Win32SingleInstance(Scope scope, const std::string& folder);
    ~Win32SingleInstance();
    Win32SingleInstance(const Win32SingleInstance&) = delete;
    Win32SingleInstance& operator=(const Win32SingleInstance&) = delete;

    bool tryAcquire();  // true when this process now holds the lock (or already did)

  private:
    HANDLE mutex_ = nullptr;
    bool held_ = false;
};

}  // namespace zelmar::platform
