#pragma once

#include <string>

namespace zelmar::app {

// Poll interval limits of the settings rule: a number below 100 is seconds, 100..60000 is
// milliseconds, anything longer is capped at one minute.
inline constexpr int kDefaultPollIntervalMs = 1000;
inline constexpr double kSecondsBelow = 100;
inline constexpr double kMaxDisplayedSeconds = 60;
inline constexpr int kMaxPollIntervalMs = 60000;
// A fraction of a second below this would poll the folder in a tight loop (0.0001 gives 0 ms);
// the millisecond form cannot go lower either.
inline constexpr int kMinPollIntervalMs = 100;

struct PollSetting {
    int intervalMs = kDefaultPollIntervalMs;
    std::string display;  // what PollIntervalText shows
};

// The leading number of a text, as typed: blanks, an optional sign, digits, an optional
// decimal point or comma and digits. 0 when there is none.
double LeadingNumber(const std::string& text);

// The interval and the display for `text`; `display` is what PollIntervalText shows now (kept when
// the text gives no positive number).
PollSetting CalculatePollSetting(const std::string& text, const std::string& display);

}  // namespace zelmar::app
