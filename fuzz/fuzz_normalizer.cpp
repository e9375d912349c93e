// Arbitrary bytes as one job line through the line normaliser.
#include <cstddef>
#include <cstdint>
#include <string>

#include "convert/normalizer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    const std::string result = zelmar::convert::NormalizeCommandLine(line, 60);
    // Every non-empty line comes back terminated.
    if (!line.empty() && result.find(';') == std::string::npos) __builtin_trap();
    zelmar::convert::CanonicalNumber(line);
    return 0;
}
