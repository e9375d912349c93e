#pragma once

#include <string>
#include <string_view>

namespace zelmar {

// The core's Windows-1252 bytes as UTF-8, for texts that leave the program as Unicode (the
// diagnostics log). The five bytes the code page leaves undefined become the control
// characters of the same number, as Windows maps them.
std::string Utf8FromWindows1252(std::string_view bytes);

}  // namespace zelmar
