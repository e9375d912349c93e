// Invoices with their customer heading, refunds and voids of earlier documents, the customer
// lottery code and the customer fiscal code.
#include <array>

#include "convert/converter_run.h"
#include "convert/text_format.h"

namespace zelmar::convert {

namespace {

constexpr std::size_t kInvoiceCustomerWidth = 30;
constexpr std::size_t kCustomerLineWidth = 32;
constexpr std::size_t kOtherRefundTextWidth = 12;  // refund text on registers that are not RT
constexpr std::size_t kDateLength = 6;             // DDMMYY
constexpr std::size_t kDocumentNumberLength = 8;   // ZZZZNNNN
constexpr std::size_t kSerialLength = 11;          // serial of the issuing register
constexpr std::size_t kShortSerialLength = 8;      // serial as some registers report it
constexpr std::size_t kLotteryCodeLength = 8;
constexpr std::size_t kPersonalCodeLength = 16;
constexpr long long kInvoiceLineOffset = 3;  // customer lines follow the invoice's own lines

// Invoice opening: the ":" line and the three customer lines "<", "=", ">".
constexpr std::array<const char*, 4> kInvoiceCustomerKeys{",:", ",<", ",=", ",>"};

}  // namespace

void JobRun::OpenInvoice(const std::string& line) {
    conv_.InvoiceMode = true;
    auto& header = conv_.InvoiceHeader;
    for (std::size_t i = 0; i < kInvoiceCustomerKeys.size(); ++i) {
        const auto value = Field(line, kInvoiceCustomerKeys.at(i));
        header.at(i) = CutTo(ReplaceChar(value.value_or(""), '/', '-'), kInvoiceCustomerWidth);
    }
    for (std::size_t i = kInvoiceCustomerKeys.size(); i < header.size(); ++i) header.at(i) = " ";
    headerPending_ = true;
    pending_ = model_.longInvoiceOpening ? "3/F/OPENFAT//1/1/1//" : "3/F/OPENFAT//0/0/0/0";
    conv_.InvoiceOpen = true;
}

void JobRun::CustomerLine(const std::string& line) {
    long long number = 0;
    const auto numberField = Field(line, ",N");
    const bool whole = !numberField || IsWholeNumber(*numberField, number);
    if (conv_.InvoiceMode) number += kInvoiceLineOffset;
    const auto text = Field(line, ",:");
    if (!text) return;
    const std::string stored = CutTo(ReplaceChar(*text, '/', '-'), kCustomerLineWidth);
    auto& header = conv_.InvoiceHeader;
    if (whole && number >= 0 && number < static_cast<long long>(header.size())) {
        header.at(static_cast<std::size_t>(number)) = stored;
    }
    if (!stored.empty()) headerPending_ = true;
}

void JobRun::Refund(const std::string& line) {
    if (reg_.IsRtRegister) {
        RtRefund(line);
        return;
    }
    const auto text = Field(line, ",:");
    if (!text) return;
    Emit(")/90");
    pending_ = "-/" + CutTo(ReplaceChar(*text, '/', '-'), kOtherRefundTextWidth);
    conv_.RefundMode = true;
}

void JobRun::RtRefund(const std::string& line) {
    refundOriginSerial_.clear();
    const auto date = Field(line, ",D");
    if (!date || date->size() != kDateLength) return;
    std::string command = "-/" + DateWithCentury(*date);
    const auto number = Field(line, ",N");
    command +=
        (number && number->size() == kDocumentNumberLength) ? DocumentNumberFields(*number) : "//";
    if (const auto origin = Field(line, ",>")) {
        const auto originFields = OriginFields(*origin);
        if (!originFields) {
            conv_.RefundMode = false;
            pending_.clear();
            return;
        }
        command += *originFields;
    }
    conv_.RefundMode = true;
    pending_ = command;
}

void JobRun::Void(const std::string& line) {
    const auto date = Field(line, ",D");
    if (!date || date->size() != kDateLength) return;
    std::string command = "+/1/" + DateWithCentury(*date);
    if (const auto number = Field(line, ",N")) {
        if (number->size() != kDocumentNumberLength) {
            failed_ = true;
            return;
        }
        command += DocumentNumberFields(*number);
    } else {
        command += "//";
    }
    if (const auto origin = Field(line, ",>")) {
        const auto originFields = OriginFields(*origin);
        if (!originFields) {
            pending_.clear();
            return;
        }
        command += *originFields;
        if (origin->size() == kSerialLength && IsSameRegister(*origin)) ownDocumentVoided_ = true;
    }
    pending_ = command;
}

// Where the earlier document was issued: this register ("/"), another register ("/" & its
// serial), or "POS", "VR", "ND" after two empty fields. A 3-character origin other than POS
// adds nothing; any other origin names nothing the register knows.
std::optional<std::string> JobRun::OriginFields(const std::string& origin) {
    if (origin.size() == kSerialLength) {
        refundOriginSerial_ = origin;
        return IsSameRegister(origin) ? "/" : "/" + origin;
    }
    if (origin.size() == 3) return origin.find("POS") != std::string::npos ? "///" + origin : "";
    const bool namedOrigin =
        origin.find("VR") != std::string::npos || origin.find("ND") != std::string::npos;
    if (origin.size() == 2 && namedOrigin) return "///" + origin;
    return std::nullopt;
}

void JobRun::Lottery(const std::string& line) {
    const auto field = Field(line, ",C");
    if (!field) return;
    std::string code = *field;
    const std::size_t open = code.find('[');
    if (open != std::string::npos) code.erase(0, open + 1);
    const std::size_t close = code.find(']');
    if (close != std::string::npos) code.erase(close);
    if (code.size() != kLotteryCodeLength) {
        failed_ = true;
        return;
    }
    if (!conv_.RefundMode) {
        pending_ = "I/" + code + "/0/";
        return;
    }
    if (IsSameRegister(refundOriginSerial_)) return;
    // The code belongs to the refund command of this job, wherever that stands in the list.
    for (auto command = commands_.rbegin(); command != commands_.rend(); ++command) {
        if (command->starts_with("-/")) {
            *command += "/" + code + "/";
            return;
        }
    }
}

void JobRun::CustomerFiscalCode(const std::string& code) {
    if (trace_.tracing()) {
        trace_.traceLine(" -->  Modello : " + reg_.ModelCode + " Matricola : " + reg_.SerialNumber);
    }
    const bool personal = code.size() == kPersonalCodeLength;
    if (model_.customerCodeCommand) {
        pending_ = "I/" + code + "/0";
    } else if (model_.customerCodeLine) {
        pending_ = std::string("7/1/2/") + (personal ? "C.F.: " : "P.IVA: ") + code;
    } else {
        pending_ = personal ? "'/2/11111111111/" + code : "'/1/" + code + "/1111111111111111";
    }
}

// A register that reports an 8-character serial is compared with the 11-character form
// without its type letter and model code.
bool JobRun::IsSameRegister(const std::string& serial) const {
    if (serial.empty()) return false;
    const std::string& own = reg_.SerialNumber;
    if (own.size() == kShortSerialLength) {
        const std::size_t lastSix = serial.size() >= 6 ? serial.size() - 6 : 0;
        return own == CutTo(serial, 2) + Mid(serial, lastSix);
    }
    return own == serial;
}

}  // namespace zelmar::convert
