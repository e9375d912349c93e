// Payments, the customer heading that precedes the first one, and barcodes.
#include <array>

#include "common/text_helpers.h"
#include "convert/converter_run.h"
#include "convert/text_format.h"

namespace zelmar::convert {

namespace {

constexpr std::size_t kPaymentTextWidth = 20;
constexpr std::size_t kHeadingLineWidth = 32;
constexpr std::size_t kShortHeadingLines = 3;
constexpr long long kFirstOtherPayment = 5;  // TEND, numbers below are the named forms

// Credit payment numbers on RT registers, by credit kind 0 to 6.
constexpr std::array<const char*, 7> kCreditPaymentNumbers{"2", "2", "14", "17", "16", "11", "12"};

struct BarcodeSymbology {
    const char* code;
    const char* length;  // nullptr: the number of data characters
};

// By barcode type 1 to 6.
constexpr std::array kBarcodeSymbologies{
    BarcodeSymbology{"67", "12"},    BarcodeSymbology{"68", "7"},  BarcodeSymbology{"69", nullptr},
    BarcodeSymbology{"73", nullptr}, BarcodeSymbology{"65", "11"}, BarcodeSymbology{"70", "5"},
};

}  // namespace

void JobRun::Payment(const std::string& line, Keyword keyword) {
    if (keyword == Keyword::kTender && !OtherPaymentNumber(line)) return;
    // After a void of this register's own document there is no cash to hand back.
    if (keyword != Keyword::kCash || !ownDocumentVoided_) {
        if (const auto command = PaymentCommand(line, keyword)) pending_ = *command;
    }
    Heading();
}

std::optional<std::string> JobRun::PaymentCommand(const std::string& line, Keyword keyword) const {
    const auto value = Field(line, ",V");
    const std::string amount = value ? FormatAmount(*value) : "0";
    const auto description = Field(line, ",:");
    const std::string text =
        description ? CutTo(ReplaceChar(*description, '/', '-'), kPaymentTextWidth) : "";
    const bool otherNumbers = model_.otherPaymentNumbers;
    switch (keyword) {
        case Keyword::kCash:
            return "5/1/" + amount + "/" + text + "/////";
        case Keyword::kCheque:
            return std::string("5/") + (otherNumbers ? "2" : "6") + "/" + amount + "/" + text +
                   "/////";
        case Keyword::kCard:
            return std::string("5/") + (otherNumbers ? "3" : "5") + "/" + amount + "/" + text +
                   "/////";
        case Keyword::kBank:
            return "5/4/" + amount + "/" + text + "/////";
        case Keyword::kCredit:
            if (!reg_.IsRtRegister) return "5/" + amount + "///" + text;
            return "5/" + CreditPaymentNumber(line) + "/" + amount + "///" + text;
        case Keyword::kTicket: {
            const auto kind = Field(line, ",T");
            const bool electronic = kind && LeadingNumber(*kind) == 2;
            const auto count = Field(line, ",Q");
            return std::string("5/") + (electronic ? "13" : "3") + "/" + amount + "/" + text +
                   "///NR/" + (electronic ? "TKC" : "TKT") + "/" + count.value_or("1");
        }
        case Keyword::kTender:
            if (const auto number = OtherPaymentNumber(line)) {
                return "5/" + *number + "/" + amount + "/" + text + "//";
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

std::string JobRun::CreditPaymentNumber(const std::string& line) const {
    const auto kind = Field(line, ",T");
    if (!kind) return model_.otherPaymentNumbers ? "10" : "2";
    long long number = 0;
    if (!IsWholeNumber(*kind, number) || number < 0 ||
        number >= static_cast<long long>(kCreditPaymentNumbers.size())) {
        return "2";
    }
    return kCreditPaymentNumbers.at(static_cast<std::size_t>(number));
}

// Payment number of a TEND, line; none for the four named forms, which have their own step.
std::optional<std::string> JobRun::OtherPaymentNumber(const std::string& line) const {
    const auto number = Field(line, ",N");
    if (!number || !IsNumeric(*number)) return "10";
    const double value = LeadingNumber(*number);
    if (value < kFirstOtherPayment) return std::nullopt;
    if (value == kFirstOtherPayment) return "3";
    return *number;
}

// The customer heading goes out once, ahead of the first payment of the run.
void JobRun::Heading() {
    if (!tenderDone_ && headerPending_) {
        headerPending_ = false;
        const bool invoiceHeading = model_.invoiceHeadingAsJ && conv_.InvoiceMode;
        std::string heading = invoiceHeading ? "J/" : "j/";
        auto& header = conv_.InvoiceHeader;
        if (!model_.sevenLineHeading) {
            for (std::size_t i = 0; i < kShortHeadingLines; ++i) heading += header.at(i) + "/";
        } else {
            for (std::string& headerLine : header) {
                headerLine = CutTo(headerLine, kHeadingLineWidth);
                heading += headerLine + "/";
            }
            if (model_.paddedHeading) heading += " / /";
        }
        Emit(heading + "0");
    }
    tenderDone_ = true;
    conv_.RefundMode = false;
}

void JobRun::Barcode(const std::string& line) {
    if (!model_.printsBarcodes) return;
    const auto data = Field(line, ",:");
    if (!data || data->empty()) return;
    std::string position = "0";
    const auto place = Field(line, ",H");
    if (place && !place->empty() && IsDigit(place->front()) && place->front() <= '3') {
        position = std::string(1, place->front());
    }
    const auto type = Field(line, ",T");
    long long symbologyNumber = 0;
    if (!type || !IsWholeNumber(*type, symbologyNumber)) return;
    const BarcodeSymbology* symbology = ElementAt(kBarcodeSymbologies, symbologyNumber);
    if (symbology == nullptr) return;
    const std::string encoded = ReplaceChar(*data, '/', '~');
    const std::string length =
        symbology->length != nullptr ? symbology->length : std::to_string(encoded.size());
    pending_ = std::string("[/100/2/") + position + "/" + symbology->code + "/" + length + "/" +
               encoded + "/";
    if (conv_.NonFiscalOpen) Emit("7/1/1/ /");
}

}  // namespace zelmar::convert
