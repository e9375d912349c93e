#include "sim/core/register_config.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace ecrsim {
namespace {

constexpr std::size_t kMaxVatRates = 13;  // the driver keeps 13 rate slots
constexpr int kMaxDepartments = 99;
constexpr int kDefaultTaxedDepartments = 5;  // departments 1..5 use rates 1..5, the rest rate 1
constexpr int kZeroRateDepartment = 5;       // default rate 5 is 0.00: give it a nature

bool ParseInt(const std::string& text, long long& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty();
}

bool ParseIntIn(const std::string& text, long long low, long long high, long long& value) {
    return ParseInt(text, value) && value >= low && value <= high;
}

bool AllDigits(const std::string& text, std::size_t size) {
    return text.size() == size &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

bool ParseBool(const std::string& text, bool& value) {
    if (text == "1" || text == "yes" || text == "true") return value = true, true;
    if (text == "0" || text == "no" || text == "false") return value = false, true;
    return false;
}

std::vector<std::string> SplitList(const std::string& text) {
    std::vector<std::string> items;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        items.push_back(text.substr(start, comma - start));
        if (comma == std::string::npos) return items;
        start = comma + 1;
    }
}

// "dept.N" = "VAT[,NATURE]"
bool SetDepartment(RegisterConfig& config, const std::string& key, const std::string& value,
                   std::string& error) {
    long long number = 0, vat = 0, nature = 0;
    const auto parts = SplitList(value);
    if (!ParseIntIn(key.substr(5), 1, kMaxDepartments, number) || parts.size() > 2 ||
        !ParseIntIn(parts[0], 1, kMaxVatRates, vat) ||
        (parts.size() == 2 && !ParseIntIn(parts[1], 0, 99, nature))) {
        error = "bad department setting " + key + "=" + value;
        return false;
    }
    if (static_cast<int>(config.departments.size()) < number) config.departments.resize(number);
    config.departments[number - 1] = {static_cast<int>(vat), static_cast<int>(nature)};
    return true;
}

bool SetCounter(const std::string& value, long& counter) {
    long long number = 0;
    if (!ParseIntIn(value, 0, 999999, number)) return false;
    counter = static_cast<long>(number);
    return true;
}

}  // namespace

std::vector<Department> RegisterConfig::DefaultDepartments(int count) {
    std::vector<Department> departments(count);
    for (int d = 1; d <= count; ++d) {
        departments[d - 1].vatCode = d <= kDefaultTaxedDepartments ? d : 1;
        departments[d - 1].nature = d == kZeroRateDepartment ? 1 : 0;
    }
    return departments;
}

std::string FormatAmount(long long hundredths) {
    const bool negative = hundredths < 0;
    const unsigned long long magnitude =
        negative ? 0ULL - static_cast<unsigned long long>(hundredths) : hundredths;
    std::string cents = std::to_string(magnitude % 100);
    if (cents.size() < 2) cents.insert(0, "0");
    return (negative ? "-" : "") + std::to_string(magnitude / 100) + "." + cents;
}

bool ParseAmount(const std::string& text, long long& hundredths) {
    const std::size_t point = text.find('.');
    long long units = 0;
    const std::string whole = text.substr(0, point);
    if (!ParseInt(whole.empty() ? "0" : whole, units)) return false;
    long long cents = 0;
    if (point != std::string::npos) {
        std::string fraction = text.substr(point + 1);
        if (fraction.empty() || fraction.size() > 2 || !AllDigits(fraction, fraction.size()))
            return false;
        if (fraction.size() == 1) fraction += "0";
        ParseInt(fraction, cents);
    }
    const bool negative = !whole.empty() && whole[0] == '-';
    hundredths = units * 100 + (negative ? -cents : cents);
    return true;
}

bool RegisterConfig::set(const std::string& key, const std::string& value, std::string& error) {
    long long number = 0;
    bool ok = true;
    if (key == "model") {
        ok = value.size() == 2;
        if (ok) model = value;
    } else if (key == "description") {
        description = value;
    } else if (key == "serial") {
        ok = !value.empty() && value.find('/') == std::string::npos;
        if (ok) serial = value;
    } else if (key == "rt") {
        ok = ParseBool(value, rt);
    } else if (key == "firmware") {
        firmware = value;
    } else if (key == "vat") {
        const auto rates = SplitList(value);
        ok = rates.size() <= kMaxVatRates;
        if (ok) vatRates = rates;
    } else if (key == "departments") {
        ok = ParseIntIn(value, 1, kMaxDepartments, number);
        if (ok) departments.resize(number, Department{});
    } else if (key.starts_with("dept.")) {
        return SetDepartment(*this, key, value, error);
    } else if (key == "max_operator") {
        ok = ParseIntIn(value, 1, 99, number);
        if (ok) maxOperator = static_cast<int>(number);
    } else if (key == "info_alt_layout") {
        ok = ParseBool(value, infoAltLayout);
    } else if (key == "date") {
        ok = value.empty() || AllDigits(value, 8);
        if (ok) date = value;
    } else if (key == "time") {
        ok = value.empty() || AllDigits(value, 6) || AllDigits(value, 4);
        if (ok) time = value.size() == 4 ? value + "00" : value;
    } else if (key == "document") {
        ok = SetCounter(value, documentNumber);
    } else if (key == "invoice") {
        ok = SetCounter(value, invoiceNumber);
    } else if (key == "closure") {
        ok = SetCounter(value, closureNumber);
    } else if (key == "day_total") {
        ok = ParseAmount(value, dayTotal);
    } else if (key == "grand_total") {
        ok = ParseAmount(value, grandTotal);
    } else if (key == "open") {
        ok = ParseBool(value, documentOpen);
    } else {
        error = "unknown setting " + key;
        return false;
    }
    if (!ok) error = "bad value for " + key + ": " + value;
    return ok;
}

}  // namespace ecrsim
