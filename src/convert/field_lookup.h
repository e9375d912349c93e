#pragma once

#include <string>

namespace zelmar::convert {

enum class FieldMode { kKeyword, kField };

// Finds a keyword or a field key in a job line; fills value from the field's text.
bool FindField(FieldMode mode, std::string& value, const std::string& line, const std::string& key,
               bool invoiceMode = false);

// True when the line's own keyword (its start, after normalisation) is `keyword`. Keywords
// are matched here only, so a description such as CASHMERE never reads as CASH.
bool HasKeyword(const std::string& line, const std::string& keyword);

}  // namespace zelmar::convert
