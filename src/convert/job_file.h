#pragma once

#include <string>
#include <vector>

namespace zelmar::convert {

// A job is a receipt or an invoice: a few kB. A file far beyond that is no job, and reading it
// whole would hold it in memory several times over (a 50 MB file took 139 MB), so it is
// refused by its size, unread, like a job that fails to convert.
inline constexpr long long kMaxJobFileBytes = 4 * 1024 * 1024;

// The lines of a job file. False when it is missing or unreadable, or larger than
// kMaxJobFileBytes.
bool ReadJobLines(const std::string& path, std::vector<std::string>& lines);

}  // namespace zelmar::convert
