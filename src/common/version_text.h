#pragma once

#include <string>

namespace zelmar {

// "a.b.0.c" from the project version (major, minor, revision).
std::string VersionText();

}  // namespace zelmar
