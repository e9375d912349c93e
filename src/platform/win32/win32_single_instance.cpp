#include "platform/win32/win32_single_instance.h"

#include <cstdint>
#include <cstdio>

namespace zelmar::platform {
namespace {

// The full path, lower-case, without a trailing separator: "C:\Data\", "c:/data" and
// "C:\DATA\." give one key.
std::string FolderKey(const std::string& folder) {
    char full[MAX_PATH * 4] = {};
    const DWORD length = GetFullPathNameA(folder.c_str(), sizeof full, full, nullptr);
    std::string key = length > 0 && length < sizeof full ? std::string(full, length) : folder;
    CharLowerBuffA(key.data(), static_cast<DWORD>(key.size()));
    while (!key.empty() && (key.back() == '\\' || key.back() == '/')) key.pop_back();
    return key;
}

// FNV-1a, 64 bits: stable across runs and builds, which the mutex name needs.
std::uint64_t Fnv1a(const std::string& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

// "Global\": one lock for every session, so two users cannot serve one folder either.
std::string MutexName(Win32SingleInstance::Scope scope, const std::string& folder) {
    char hash[17] = {};
    std::snprintf(hash, sizeof hash, "%016llx",
                  static_cast<unsigned long long>(Fnv1a(FolderKey(folder))));
    const char* kind = scope == Win32SingleInstance::Scope::kDataFolder ? "data" : "program";
    return std::string("Global\\Zelmar1-") + kind + "-" + hash;
}

}  // namespace

Win32SingleInstance::Win32SingleInstance(Scope scope, const std::string& folder)
    : mutex_(CreateMutexA(nullptr, FALSE, MutexName(scope, folder).c_str())) {}

Win32SingleInstance::~Win32SingleInstance() {
    if (held_) ReleaseMutex(mutex_);
    if (mutex_) CloseHandle(mutex_);
}

bool Win32SingleInstance::tryAcquire() {
    if (held_) return true;
    if (!mutex_) return false;  // as when another user's copy made it and refuses us access
    const DWORD result = WaitForSingleObject(mutex_, 0);
    held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;  // abandoned: its holder died
    return held_;
}

}  // namespace zelmar::platform
