#pragma once

#include <string>
#include <vector>

namespace ecrsim {

// What an engine wants done after input arrived: send these bytes after delayMs (counted from
// the arrival), or, with dropLink, take the link away (serial: the line goes dead; TCP: the
// connection is closed). Transports keep the order of equal delays.
struct Output {
    int delayMs = 0;
    std::string bytes;
    bool dropLink = false;
};
using Outputs = std::vector<Output>;

}  // namespace ecrsim
