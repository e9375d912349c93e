#pragma once

#include <string>

namespace zelmar::config {

// The register address check: at least four "."-separated parts, each of the first four a
// number (blanks around it allowed) of at most 255. Parts beyond the fourth are not examined
// and no lower bound is tested, so "10.0.0.1.7" and "-1.0.0.1" pass.
bool IsValidIPAddress(const std::string& address);

}  // namespace zelmar::config
