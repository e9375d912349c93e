#pragma once

#include <string>

namespace zelmar::convert {

// Brings one job line into canonical form (numbers, transliteration of Windows-1252 bytes,
// keyword case). Returns the rewritten line, or an empty string for an empty line.
std::string NormalizeCommandLine(const std::string& line, int maxDescription);

}  // namespace zelmar::convert
