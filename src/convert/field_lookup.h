#pragma once

#include <string>
#include <string_view>

namespace zelmar::convert {

enum class FieldMode { kKeyword, kField };

// Finds a keyword or a field key in a job line. Found: value gets the text from two characters
// past the key's start up to the next "," or ";". Absent: false, value unchanged. Keyword mode
// matches the line's own keyword only (see HasKeyword); field mode finds the key anywhere,
// ignoring letter case. With invoiceMode on and an OPFS line, the customer keys ",<",
// ",=" and ",>" always answer true; their value runs to the next "," (";" kept but for one
// trailing), and is empty when the key is absent.
bool FindField(FieldMode mode, std::string& value, const std::string& line, std::string_view key,
               bool invoiceMode = false);

// True when the line's own keyword (its start, after normalisation) is `keyword`. Keywords
// are matched here only, so a description such as CASHMERE never reads as CASH.
bool HasKeyword(std::string_view line, std::string_view keyword);

}  // namespace zelmar::convert
