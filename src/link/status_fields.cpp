#include "link/status_fields.h"

#include <cctype>
#include <vector>

namespace zelmar::link {
namespace {

std::vector<std::string> SplitOnSlash(const std::string& text) {
    std::vector<std::string> fields(1);
    for (const char c : text) {
        if (c == '/') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// The leading hexadecimal digits of a field, blanks skipped; 0 when there are none. Fields
// are two digits; more than four are not read, so a garbled field cannot overflow.
int HexValue(const std::string& field) {
    std::size_t i = 0;
    while (i < field.size() && field[i] == ' ') ++i;
    int value = 0;
    for (int digits = 0; i < field.size() && digits < 4; ++i, ++digits) {
        const unsigned char c = static_cast<unsigned char>(field[i]);
        if (!std::isxdigit(c)) break;
        value = value * 16 + (std::isdigit(c) ? c - '0' : std::toupper(c) - 'A' + 10);
    }
    return value;
}

int FieldValue(const std::vector<std::string>& fields, std::size_t index) {
    return index < fields.size() ? HexValue(fields[index]) : 0;
}

}  // namespace

int ParseStatus(const std::string& text, LinkState& link, WindowTexts& texts) {
    if (text.size() <= 8) return 0;
    link.ResponseFields = SplitOnSlash(text);
    link.ResultCode = FieldValue(link.ResponseFields, 0);
    link.DeviceStatus = FieldValue(link.ResponseFields, 1);
    link.FiscalStatus = FieldValue(link.ResponseFields, 2);
    link.DocumentOpen = (link.FiscalStatus & kFiscalDocOpen) != 0;
    link.PaperOut =
        link.ResultCode == kResultPaperEnd || (link.DeviceStatus & kDevicePaperOut) != 0;
    if (link.ResultCode != 0 && (link.DeviceStatus & kDeviceRetryNow) == 0) {
        texts.RegisterMessage = "RC (dec)= " + std::to_string(link.ResultCode) +
                                " - DS (dec)= " + std::to_string(link.DeviceStatus) +
                                " - FS (dec)= " + std::to_string(link.FiscalStatus);
    }
    return static_cast<int>(link.ResponseFields.size()) - 1;
}

}  // namespace zelmar::link
