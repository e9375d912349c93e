#pragma once

// Whole-file reads and writes that never go through a link. The data folder is shared with the
// POS application and often writable by every local user, while the program may run with more
// rights: a link placed there must never make it read or write a file elsewhere.

#include <cstdint>
#include <limits>
#include <string>

namespace zelmar {

inline constexpr std::uintmax_t kAnyFileSize = std::numeric_limits<std::uintmax_t>::max();

// The bytes of the regular file at `path`. False for a link (never followed), a folder, a pipe
// or a device, and for a file over maxBytes, whose size is looked at before anything is read.
bool ReadPlainFile(const std::string& path, std::string& bytes, std::uintmax_t maxBytes);

// Replaces the file's content with the bytes, or appends them. Whatever else holds the name (a
// link, a pipe, a file that a second name also reaches) is removed first, the name only and
// never what it points to, and a new file takes its place.
bool WritePlainFile(const std::string& path, const std::string& bytes, bool append);

}  // namespace zelmar
