#pragma once

#include <QString>
#include <string>

namespace zelmar::platform {

// The core keeps text as Windows-1252 bytes; Qt shows Unicode. These convert at that edge.
// The five bytes that code page leaves undefined map to the control characters of the same
// number, as Windows does, so every byte survives a round trip.
QString FromWindows1252(const std::string& bytes);
// Characters outside the code page become '?'.
std::string ToWindows1252(const QString& text);

}  // namespace zelmar::platform
