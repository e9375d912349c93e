#pragma once

#include <cstddef>
#include <string>

// Number and text rules for the fields that the converter copies into register commands.
namespace zelmar::convert {

// Amount in whole hundredths ("150") to the register's decimal form ("1.50"). A leading "-"
// is kept; a fractional number of hundredths is rounded half up to whole hundredths. Any other
// text gives an empty field, which the register refuses rather than reading a wrong amount.
std::string FormatAmount(const std::string& amount);

// The leading number of a text, blanks skipped, "." as decimal point, 0 when there is none.
double LeadingNumber(const std::string& text);

// True for an optionally signed decimal number, blanks around it allowed.
bool IsNumeric(const std::string& text);

// A number written back without leading zeros or blanks ("12", "2.5").
std::string NumberText(double number);

// True when the text is numeric and its value is the whole number n.
bool IsWholeNumber(const std::string& text, long long& n);

std::string CutTo(const std::string& text, std::size_t length);
// The characters from `from` (0-based) on, at most `length`; empty past the end.
std::string Mid(const std::string& text, std::size_t from, std::size_t length = std::string::npos);
std::string ReplaceChar(std::string text, char from, char to);
std::string ReplaceText(std::string text, const std::string& from, const std::string& to);
// Every byte below 0x20 (NUL, tab, the framing's STX and ETX...) as a blank: inside a command
// line such a byte would end or corrupt the register's frame.
std::string BlankControlBytes(std::string text);

// DDMMYY to DDMM20YY; the caller checks the length first.
std::string DateWithCentury(const std::string& ddmmyy);

// ZZZZNNNN to "/Z/N" with both halves as whole numbers (00120034 gives "/12/34").
std::string DocumentNumberFields(const std::string& zzzznnnn);

}  // namespace zelmar::convert
