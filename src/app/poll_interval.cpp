#include "app/poll_interval.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/text_helpers.h"

namespace zelmar::app {
namespace {

int SecondsToMs(double seconds) {
    return std::max(kMinPollIntervalMs, static_cast<int>(std::lround(seconds * 1000)));
}

}  // namespace

double LeadingNumber(const std::string& text) {
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos) return 0;
    double sign = 1;
    if (text[i] == '+' || text[i] == '-') {
        sign = text[i] == '-' ? -1 : 1;
        ++i;
    }
    double value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) value = value * 10 + (text[i] - '0');
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        double scale = 0.1;
        for (++i; i < text.size() && IsDigit(text[i]); ++i, scale /= 10) {
            value += (text[i] - '0') * scale;
        }
    }
    return sign * value;
}

PollSetting CalculatePollSetting(const std::string& text, const std::string& display) {
    const double value = LeadingNumber(text);
    if (value <= 0) return {kDefaultPollIntervalMs, display};
    if (value < kSecondsBelow) {
        const std::string shown = value <= kMaxDisplayedSeconds ? text : "60";
        return {SecondsToMs(LeadingNumber(shown)), shown};
    }
    if (value <= kMaxPollIntervalMs) {
        const int ms = static_cast<int>(value);
        return {ms, std::to_string(ms) + "ms"};
    }
    return {kMaxPollIntervalMs, "60"};
}

}  // namespace zelmar::app
