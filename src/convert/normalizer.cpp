#include "convert/normalizer.h"

#include <array>
#include <cstddef>
#include <initializer_list>
#include <vector>

#include "common/text_helpers.h"

namespace zelmar::convert {
namespace {

using Byte = unsigned char;

// Description characters replaced before the register sees them, by 8-bit code. The list
// keeps the order in which the replacements are made; since every replacement is plain ASCII
// other than "&", no replacement is ever replaced again and one pass per byte is equivalent.
struct Transliteration {
    Byte code;
    const char* text;
};
constexpr Transliteration kTransliterations[] = {
    {128, "E"},  {130, "e"},  {133, "a"},  {135, "c"},  {136, "e"},  {138, "e"}, {141, "i"},
    {149, "o"},  {151, "u"},  {156, "L"},  {192, "A"},  {193, "A"},  {195, "E"}, {200, "E"},
    {201, "E"},  {204, "I"},  {205, "I"},  {210, "O"},  {211, "O"},  {217, "U"}, {218, "U"},
    {224, "a"},  {225, "a"},  {232, "e"},  {233, "e"},  {236, "i"},  {237, "i"}, {242, "o"},
    {243, "o"},  {245, " "},  {248, " "},  {249, "u"},  {250, "u"},  {'&', "e"}, {228, "ae"},
    {196, "AE"}, {246, "oe"}, {214, "OE"}, {252, "ue"}, {220, "UE"},
};

const std::array<const char*, 256>& TransliterationByCode() {
    static const std::array<const char*, 256> table = [] {
        std::array<const char*, 256> byCode{};
        for (const auto& entry : kTransliterations) byCode[entry.code] = entry.text;
        return byCode;
    }();
    return table;
}

std::vector<std::string> SplitAtCommas(const std::string& line) {
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

bool IsOneOf(const std::string& keyword, std::initializer_list<const char*> keywords) {
    for (const char* candidate : keywords) {
        if (keyword == candidate) return true;
    }
    return false;
}

// Fields whose text is a code rather than a number: article and lottery codes, the origin of
// a refund, and everything of a void.
bool KeepsFieldAsWritten(const std::string& keyword, const std::string& field) {
    const char key = field.empty() ? '\0' : field[0];
    if (key == 'C' && IsOneOf(keyword, {"PLUD", "LOTT"})) return true;
    if (key == '>' && keyword == "NDCR") return true;
    return keyword == "DELD";
}

// The key letter and, of the rest, only digits and "."; a keyed field left without a value
// reads as 1, except the flags R and S that never carry one.
std::string KeyAndDigits(const std::string& field) {
    std::string result = field.substr(0, 1);
    for (std::size_t i = 1; i < field.size(); ++i) {
        if (IsDigit(field[i]) || field[i] == '.') result += field[i];
    }
    if (result.size() <= 1 && result != "R" && result != "S") result += '1';
    return result;
}

std::string CanonicalValue(const std::string& keyword, const std::string& field) {
    const char key = field[0];
    const std::string value = field.substr(1);
    if (IsOneOf(keyword, {"PLUD", "SALE"}) && (key == 'Q' || key == 'N' || key == 'P')) {
        const std::string number = CanonicalNumber(value);
        return key + (key == 'Q' ? FixDecimals(number, 3) : number);
    }
    if (IsOneOf(keyword, {"DISC", "DOST", "MAGG", "MOST"}) && key == '%') {
        return key + FixDecimals(CanonicalNumber(value), 2);
    }
    if (!IsOneOf(keyword, {"NDCR", "LOTT", "DELD", "CLER"}) &&
        (key == 'V' || key == 'N' || key == 'C')) {
        return key + CanonicalNumber(value);
    }
    return field;
}

std::string NormalizeDescription(std::string field, std::size_t maxDescription) {
    field = UpperCase1252(field);
    ReplaceAll(field, "TOTALE", "TOT.  ");
    std::string result;
    const auto& table = TransliterationByCode();
    for (char c : field) {
        if (c == '\t') continue;
        const char* replacement = table[static_cast<Byte>(c)];
        if (replacement != nullptr) {
            result += replacement;
        } else {
            result += c;
        }
    }
    if (result.size() > 1 + maxDescription) result.resize(1 + maxDescription);
    if (result == ":") result = ": ";
    return result;
}

std::string NormalizeField(const std::string& keyword, const std::string& field,
                           std::size_t maxDescription) {
    const auto colon = field.find(':');
    if (colon != std::string::npos)
        return NormalizeDescription(field.substr(colon), maxDescription);
    const std::string keyed = UpperCase1252(std::string(TrimSpaces(field)));
    if (KeepsFieldAsWritten(keyword, keyed)) return keyed;
    return CanonicalValue(keyword, KeyAndDigits(keyed));
}

}  // namespace

std::string UpperCase1252(const std::string& text) {
    std::string result = text;
    for (char& c : result) {
        const Byte b = static_cast<Byte>(c);
        if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) {
            c = static_cast<char>(b - 0x20);
        } else if (b == 0x9A || b == 0x9C || b == 0x9E) {  // s, oe, z with their marks
            c = static_cast<char>(b - 0x10);
        } else if (b == 0xFF) {  // y with diaeresis
            c = static_cast<char>(0x9F);
        }
    }
    return result;
}

std::string CanonicalNumber(const std::string& text) {
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos) return "0";
    bool negative = false;
    if (text[i] == '-' || text[i] == '+') {
        negative = text[i] == '-';
        ++i;
    }
    std::string whole, fraction;
    while (i < text.size() && IsDigit(text[i])) whole += text[i++];
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        ++i;
        while (i < text.size() && IsDigit(text[i])) fraction += text[i++];
    }
    whole.erase(0, whole.find_first_not_of('0'));
    if (whole.empty()) whole = "0";
    const auto lastSignificant = fraction.find_last_not_of('0');
    fraction.resize(lastSignificant == std::string::npos ? 0 : lastSignificant + 1);
    std::string result = fraction.empty() ? whole : whole + "." + fraction;
    if (negative && result != "0") result.insert(0, "-");
    return result;
}

std::string FixDecimals(const std::string& number, std::size_t decimals) {
    const auto point = number.find('.');
    if (point == std::string::npos) return number;
    std::string result = number;
    result.resize(point + 1 + decimals, '0');
    return result;
}

std::string NormalizeCommandLine(const std::string& line, int maxDescription) {
    if (line.empty()) return {};
    const std::size_t width = maxDescription > 0 ? static_cast<std::size_t>(maxDescription) : 0;
    std::vector<std::string> fields = SplitAtCommas(line);
    const std::string keyword = UpperCase1252(fields[0].substr(0, 4));
    fields[0] = keyword;
    for (std::size_t i = 1; i < fields.size(); ++i) {
        if (!fields[i].empty()) fields[i] = NormalizeField(keyword, fields[i], width);
    }
    std::string result;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].empty()) continue;
        result += fields[i];
        if (i + 1 < fields.size()) result += ',';
    }
    if (result.find(';') == std::string::npos) result += ';';
    return result;
}

}  // namespace zelmar::convert
