#include "convert/text_format.h"

#include <cmath>
#include <cstdio>

#include "common/text_helpers.h"

namespace zelmar::convert {

namespace {

bool AllDigits(const std::string& text, std::size_t from) {
    if (from >= text.size()) return false;
    for (std::size_t i = from; i < text.size(); ++i) {
        if (!IsDigit(text[i])) return false;
    }
    return true;
}

// "150" to "1.50": the digits are only split, never rounded.
std::string SplitHundredths(const std::string& digits) {
    if (digits.size() == 1) return "0.0" + digits;
    std::string result =
        digits.substr(0, digits.size() - 2) + "." + digits.substr(digits.size() - 2);
    if (result.front() == '.') result.insert(0, "0");
    return result;
}

// "10.5" hundredths: rounded half up to whole hundredths ("11").
std::string RoundedHundredths(const std::string& text) {
    const std::size_t point = text.find('.');
    if (point == std::string::npos || text.find('.', point + 1) != std::string::npos) return {};
    const std::string whole = text.substr(0, point);
    const std::string fraction = text.substr(point + 1);
    if (!AllDigits(whole, 0) || (!fraction.empty() && !AllDigits(fraction, 0))) return {};
    std::string digits = whole;
    if (!fraction.empty() && fraction.front() >= '5') {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
        if (i == 0) {
            digits.insert(0, "1");
        } else {
            ++digits[i - 1];
        }
    }
    return digits;
}

}  // namespace

std::string FormatAmount(const std::string& amount) {
    const bool negative = !amount.empty() && amount.front() == '-';
    const std::string magnitude = negative ? amount.substr(1) : amount;
    std::string digits = AllDigits(magnitude, 0) ? magnitude : RoundedHundredths(magnitude);
    if (digits.empty()) return {};
    return (negative ? "-" : "") + SplitHundredths(digits);
}

double LeadingNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    double sign = 1.0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        if (text[i] == '-') sign = -1.0;
        ++i;
    }
    double value = 0.0;
    while (i < text.size() && IsDigit(text[i])) value = value * 10.0 + (text[i++] - '0');
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && IsDigit(text[i]); ++i, scale /= 10.0) {
            value += (text[i] - '0') * scale;
        }
    }
    return sign * value;
}

bool IsNumeric(const std::string& text) {
    const std::string_view trimmed = TrimBlanks(text);
    std::size_t i = (!trimmed.empty() && (trimmed[0] == '-' || trimmed[0] == '+')) ? 1 : 0;
    bool digitSeen = false;
    bool pointSeen = false;
    for (; i < trimmed.size(); ++i) {
        if (IsDigit(trimmed[i])) {
            digitSeen = true;
        } else if (trimmed[i] == '.' && !pointSeen) {
            pointSeen = true;
        } else {
            return false;
        }
    }
    return digitSeen;
}

std::string NumberText(double number) {
    char buffer[64];
    if (std::fabs(number) < 1e15 && number == std::floor(number)) {
        std::snprintf(buffer, sizeof buffer, "%.0f", number);
    } else {
        std::snprintf(buffer, sizeof buffer, "%.15G", number);
    }
    std::string text = buffer;
    return text == "-0" ? "0" : text;
}

bool IsWholeNumber(const std::string& text, long long& n) {
    if (!IsNumeric(text)) return false;
    const double value = LeadingNumber(text);
    if (value != std::floor(value) || std::fabs(value) > 1e15) return false;
    n = static_cast<long long>(value);
    return true;
}

std::string CutTo(const std::string& text, std::size_t length) {
    return text.substr(0, length);
}

std::string ReplaceChar(std::string text, char from, char to) {
    for (char& c : text) {
        if (c == from) c = to;
    }
    return text;
}

std::string ReplaceText(std::string text, const std::string& from, const std::string& to) {
    if (from.empty()) return text;
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::string BlankControlBytes(std::string text) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    return text;
}

std::string Mid(const std::string& text, std::size_t from, std::size_t length) {
    return from >= text.size() ? std::string() : text.substr(from, length);
}

std::string DateWithCentury(const std::string& ddmmyy) {
    return CutTo(ddmmyy, 4) + "20" + Mid(ddmmyy, 4);
}

std::string DocumentNumberFields(const std::string& zzzznnnn) {
    return "/" + NumberText(LeadingNumber(CutTo(zzzznnnn, 4))) + "/" +
           NumberText(LeadingNumber(Mid(zzzznnnn, 4)));
}

}  // namespace zelmar::convert
