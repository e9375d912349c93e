#pragma once

#include <string_view>

namespace zelmar::config {

// The run time's "is this a number" test as the settings and the address check use it:
// blanks around the text, an optional sign, digits with an optional decimal point or comma,
// and an optional exponent. On success `value` holds the number.
bool IsNumericText(std::string_view text, double& value);
bool IsNumericText(std::string_view text);

// A whole number of decimal digits between blanks (no sign, no fraction), as a list index or a
// port number is written. False for anything else or for a value above `maxValue`.
bool ParseWholeNumber(std::string_view text, long maxValue, long& value);

}  // namespace zelmar::config
