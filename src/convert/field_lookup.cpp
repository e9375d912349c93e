#include "convert/field_lookup.h"

#include <cstddef>

#include "common/text_helpers.h"

namespace zelmar::convert {

namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Next position from `from` whose character is c in either letter case.
std::size_t FindLead(std::string_view line, char c, std::size_t from) {
    const char upper = UpperAscii(c);
    const char lower = LowerAscii(c);
    if (upper == lower) return line.find(c, from);
    for (std::size_t i = from; i < line.size(); ++i) {
        if (line[i] == upper || line[i] == lower) return i;
    }
    return std::string_view::npos;
}

// First position of key in line, ignoring ASCII letter case; npos when absent.
std::size_t FindIgnoringCase(std::string_view line, std::string_view key) {
    if (key.empty() || key.size() > line.size()) return std::string::npos;
    const std::size_t last = line.size() - key.size();
    for (std::size_t start = FindLead(line, key[0], 0); start <= last;
         start = FindLead(line, key[0], start + 1)) {
        std::size_t i = 1;
        while (i < key.size() && UpperAscii(line[start + i]) == UpperAscii(key[i])) ++i;
        if (i == key.size()) return start;
    }
    return std::string::npos;
}

std::size_t KeywordStart(std::string_view line) {
    std::size_t start = 0;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
    return start;
}

// The text from `from` up to the first "," or ";" (or the end of the line).
std::string ValueFrom(const std::string& line, std::size_t from) {
    if (from >= line.size()) return {};
    const std::size_t end = line.find_first_of(",;", from);
    return line.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

bool IsCustomerLineKey(std::string_view key) {
    return key == ",<" || key == ",=" || key == ",>";
}

// Customer lines of an invoice opening may hold ";". An absent line reads as empty, so
// it never repeats the text of the line read before it.
void FindCustomerLine(std::string& value, const std::string& line, std::string_view key) {
    value.clear();
    const std::size_t at = FindIgnoringCase(line, key);
    if (at == std::string::npos) return;
    const std::size_t from = at + key.size();
    if (from >= line.size()) return;
    const std::size_t end = line.find(',', from);
    value = line.substr(from, end == std::string::npos ? std::string::npos : end - from);
    if (!value.empty() && value.back() == ';') value.pop_back();
}

}  // namespace

bool HasKeyword(std::string_view line, std::string_view keyword) {
    if (keyword.empty()) return false;
    const std::size_t start = KeywordStart(line);
    if (start + keyword.size() > line.size()) return false;
    for (std::size_t i = 0; i < keyword.size(); ++i) {
        if (UpperAscii(line[start + i]) != UpperAscii(keyword[i])) return false;
    }
    // "TEND,N1" must not read "TEND,N12" as the cash form.
    const std::size_t next = start + keyword.size();
    return !(IsDigit(keyword.back()) && next < line.size() && IsDigit(line[next]));
}

bool FindField(FieldMode mode, std::string& value, const std::string& line, std::string_view key,
               bool invoiceMode) {
    if (mode == FieldMode::kKeyword) {
        if (!HasKeyword(line, key)) return false;
        value = ValueFrom(line, KeywordStart(line) + 2);
        return true;
    }
    if (invoiceMode && IsCustomerLineKey(key) && HasKeyword(line, "OPFS")) {
        FindCustomerLine(value, line, key);
        return true;
    }
    const std::size_t at = FindIgnoringCase(line, key);
    if (at == std::string::npos) return false;
    value = ValueFrom(line, at + 2);
    return true;
}

}  // namespace zelmar::convert
