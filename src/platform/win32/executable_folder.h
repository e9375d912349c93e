#pragma once

#include <string>

namespace zelmar::platform {

// The folder of the running program's file, without a trailing separator.
std::string ExecutableFolder();

}  // namespace zelmar::platform
