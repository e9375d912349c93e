#include "sim/core/register_model.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace ecrsim {
namespace {

constexpr std::size_t kVatSlots = 13;   // the rate table always has thirteen slots
constexpr std::size_t kSaleFields = 8;  // 3/kind/t1/t2/qty/price/dept/vat

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = line.find('/', start);
        fields.push_back(line.substr(start, slash - start));
        if (slash == std::string::npos) return fields;
        start = slash + 1;
    }
}

std::string Hex2(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

bool ParseCount(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty();
}

// Quantities come as the job wrote them ("2", "1.5", "0.250"); empty means one.
double ParseQuantity(const std::string& text) {
    double value = 1;
    if (text.empty()) return value;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && ptr == text.data() + text.size() ? value : 1;
}

std::string Field(const std::vector<std::string>& fields, std::size_t index) {
    return index < fields.size() ? fields[index] : std::string();
}

}  // namespace

std::string Answer::text() const {
    std::string text = Hex2(resultCode) + "/" + Hex2(deviceStatus) + "/" + Hex2(fiscalStatus) + "/";
    for (const auto& field : fields) text += field + "/";
    return text;
}

RegisterModel::RegisterModel(RegisterConfig config) : config_(std::move(config)) {}

Answer RegisterModel::statusOnly(int resultCode, int deviceStatus) const {
    Answer answer;
    answer.resultCode = resultCode;
    answer.deviceStatus = deviceStatus;
    answer.fiscalStatus = config_.documentOpen ? kFiscalDocumentOpen : 0;
    return answer;
}

Answer RegisterModel::accepted(std::vector<std::string> fields) const {
    Answer answer = statusOnly(code::kAccepted, 0);
    answer.fields = std::move(fields);
    return answer;
}

Answer RegisterModel::execute(const std::string& commandLine) {
    if (commandLine.empty()) return refused(code::kNotSupported);
    const auto fields = Split(commandLine);
    const std::string& command = fields[0];
    Answer answer;
    if (command == "a") {
        answer = identification();
    } else if (command == "," && Field(fields, 1) == "10") {
        answer = accepted({config_.rt ? "1" : "0"});
    } else if (command == "v") {
        answer = info();
    } else if (command == "e") {
        answer = vatRates();
    } else if (command == ":") {
        answer = department(fields);
    } else if (command == "9") {
        answer = accepted({"0", "0", "0", "0", "0", std::to_string(config_.documentNumber)});
    } else if (command == "X") {
        answer = accepted({"0", "0", "0", std::to_string(config_.invoiceNumber)});
    } else if (command == "t") {
        answer = dateTime();
    } else if (command == "i") {
        answer = accepted({"0", "0", std::to_string(config_.closureNumber), "0",
                           FormatAmount(config_.grandTotal)});
    } else if (command == "0") {
        answer = accepted({"0", "0", "0", "0", "0", FormatAmount(config_.dayTotal)});
    } else if (command == "1") {
        answer = operatorLogin(fields);
    } else if (command == "3") {
        answer = sale(fields);
    } else if (command == "5") {
        answer = payment(fields);
    } else if (command == "-") {
        if (!config_.documentOpen) openDocument(false);
        answer = accepted();
    } else if (command == "+") {
        closeDocument(false);
        answer = accepted();
    } else {
        answer = accepted();
    }
    if (answer.resultCode == code::kAccepted) journal_.record(commandLine);
    return answer;
}

Answer RegisterModel::identification() const {
    return accepted({config_.serial, "0", config_.model, config_.description});
}

Answer RegisterModel::info() const {
    const std::string departments = std::to_string(config_.departments.size());
    const std::string operators = std::to_string(config_.maxOperator);
    if (config_.infoAltLayout)  // fields 7..10
        return accepted({config_.firmware, "0", "0", "0", "0", departments, "0", operators});
    return accepted(
        {config_.firmware, "0", "0", "0", departments, departments, operators, operators});
}

Answer RegisterModel::vatRates() const {
    std::vector<std::string> rates = config_.vatRates;
    rates.resize(kVatSlots, "0.00");
    return accepted(std::move(rates));
}

Answer RegisterModel::department(const std::vector<std::string>& fields) const {
    int number = 0;
    if (!ParseCount(Field(fields, 1), number) || number < 1 ||
        number > static_cast<int>(config_.departments.size()))
        return refused(code::kNoDepartment);
    const Department& dept = config_.departments[number - 1];
    std::vector<std::string> answer(12, "0");  // fields 3..14
    answer[0] = std::to_string(number);
    answer[1] = std::to_string(dept.vatCode);
    answer[2] = "REPARTO " + std::to_string(number);
    answer[11] = std::to_string(dept.nature);
    return accepted(std::move(answer));
}

Answer RegisterModel::dateTime() const {
    std::string date = config_.date;
    std::string time = config_.time;
    if (date.empty() || time.empty()) {
        const std::time_t now = std::time(nullptr);
        const std::tm local = *std::localtime(&now);
        char text[16];
        std::strftime(text, sizeof text, "%d%m%Y", &local);
        if (date.empty()) date = text;
        std::strftime(text, sizeof text, "%H%M%S", &local);
        if (time.empty()) time = text;
    }
    return accepted({date, time});
}

Answer RegisterModel::operatorLogin(const std::vector<std::string>& fields) const {
    int number = 0;
    if (!ParseCount(Field(fields, 1), number) || number < 1 || number > config_.maxOperator)
        return refused(code::kNoOperator);
    return accepted();
}

Answer RegisterModel::sale(const std::vector<std::string>& fields) {
    if (Field(fields, 1) == "F") {  // invoice opening
        if (!config_.documentOpen) openDocument(true);
        return accepted();
    }
    if (fields.size() < kSaleFields) return refused(code::kMissingFields);
    int dept = 0;
    if (!ParseCount(fields[6], dept) || dept < 1 ||
        dept > static_cast<int>(config_.departments.size()))
        return refused(code::kNoDepartment);
    const int vatCode = config_.departments[dept - 1].vatCode;
    if (vatCode > static_cast<int>(config_.vatRates.size()) ||
        fields[7] != config_.vatRates[vatCode - 1])
        return refused(code::kWrongVat);
    long long price = 0;
    if (!ParseAmount(fields[5].empty() ? "0" : fields[5], price)) return refused(code::kBadField);
    const long long amount = std::llround(ParseQuantity(fields[4]) * static_cast<double>(price));
    if (!config_.documentOpen) openDocument(false);
    receiptTotal_ += fields[1] == "N" ? -amount : amount;  // "N" is a refund sale
    return accepted();
}

// A payment resent after its answer was lost finds the document already closed: refused, so
// the document is counted once.
Answer RegisterModel::payment(const std::vector<std::string>& fields) {
    if (!config_.documentOpen) return refused(code::kNoOpenDocument);
    long long amount = 0;
    if (!ParseAmount(Field(fields, 2), amount)) amount = 0;
    receiptPaid_ += amount;
    if (amount == 0 || receiptPaid_ >= receiptTotal_) closeDocument(true);
    return accepted();
}

void RegisterModel::openDocument(bool invoice) {
    config_.documentOpen = true;
    invoiceOpen_ = invoice;
    receiptTotal_ = 0;
    receiptPaid_ = 0;
}

void RegisterModel::closeDocument(bool counted) {
    if (counted && config_.documentOpen) {
        ++config_.documentNumber;
        if (invoiceOpen_) ++config_.invoiceNumber;
        config_.dayTotal += receiptTotal_;
        config_.grandTotal += receiptTotal_;
    }
    config_.documentOpen = false;
    invoiceOpen_ = false;
    receiptTotal_ = 0;
    receiptPaid_ = 0;
}

}  // namespace ecrsim
