#pragma once

#include <cstddef>
#include <string>

namespace zelmar::convert {

// Brings one job line into canonical form (numbers, transliteration of Windows-1252 bytes,
// keyword case). Returns the rewritten line, or an empty string for an empty line.
std::string NormalizeCommandLine(const std::string& line, int maxDescription);

// The leading number of a text written back in its shortest decimal form with "." as decimal
// point ("010.50" gives "10.5", "" gives "0"). Done on the digits, so no value is too large.
std::string CanonicalNumber(const std::string& text);

// A canonical number padded with zeros or cut to exactly `decimals` places when it has a
// decimal point ("1.5" gives "1.500" for 3); a whole number is returned as it is.
std::string FixDecimals(const std::string& number, std::size_t decimals);

// Upper case of Windows-1252 text: ASCII and the accented letters that have a capital form.
std::string UpperCase1252(const std::string& text);

}  // namespace zelmar::convert
