#include "config/ip_address.h"

#include <string_view>

#include "config/numeric_text.h"

namespace zelmar::config {

namespace {
constexpr int kCheckedParts = 4;
constexpr double kHighestPart = 255;
}  // namespace

bool IsValidIPAddress(const std::string& address) {
    std::string_view rest = address;
    for (int part = 0; part < kCheckedParts; ++part) {
        const std::size_t dot = rest.find('.');
        // Fewer than four parts: the last one may end the text, the others need a point.
        if (dot == std::string_view::npos && part < kCheckedParts - 1) return false;
        const std::string_view text = rest.substr(0, dot);
        double value = 0;
        if (!IsNumericText(text, value) || value > kHighestPart) return false;
        rest = dot == std::string_view::npos ? std::string_view{} : rest.substr(dot + 1);
    }
    return true;
}

}  // namespace zelmar::config
