#include "config/numeric_text.h"

#include <cstdlib>
#include <string>

#include "common/text_helpers.h"

namespace zelmar::config {

namespace {

// Skips a run of digits from `pos`; returns how many there were.
std::size_t SkipDigits(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < text.size() && IsDigit(text[pos])) ++pos;
    return pos - start;
}

}  // namespace

bool IsNumericText(std::string_view text, double& value) {
    const std::string_view body = TrimBlanks(text);
    std::size_t pos = 0;
    if (pos < body.size() && (body[pos] == '+' || body[pos] == '-')) ++pos;
    std::size_t digits = SkipDigits(body, pos);
    if (pos < body.size() && (body[pos] == '.' || body[pos] == ',')) {
        ++pos;
        digits += SkipDigits(body, pos);
    }
    if (digits == 0) return false;
    if (pos < body.size() && (body[pos] == 'e' || body[pos] == 'E')) {
        ++pos;
        if (pos < body.size() && (body[pos] == '+' || body[pos] == '-')) ++pos;
        if (SkipDigits(body, pos) == 0) return false;
    }
    if (pos != body.size()) return false;
    std::string normalised(body);
    for (char& c : normalised) {
        if (c == ',') c = '.';
    }
    value = std::strtod(normalised.c_str(), nullptr);
    return true;
}

bool IsNumericText(std::string_view text) {
    double ignored = 0;
    return IsNumericText(text, ignored);
}

bool ParseWholeNumber(std::string_view text, long maxValue, long& value) {
    const std::string_view body = TrimBlanks(text);
    if (body.empty()) return false;
    long result = 0;
    for (const char c : body) {
        if (!IsDigit(c)) return false;
        result = result * 10 + (c - '0');
        if (result > maxValue) return false;
    }
    value = result;
    return true;
}

}  // namespace zelmar::config
