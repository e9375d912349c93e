// Arbitrary bytes as a keystroke string through the keystroke parser.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "convert/xonxoff.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string keys(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    zelmar::convert::ParseXonXoffKeys(keys, lines);
    for (const auto& line : lines) {
        if (line.empty() || line.back() != ';') __builtin_trap();  // one command per line
    }
    return 0;
}
