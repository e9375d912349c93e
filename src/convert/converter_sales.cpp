// Receipt lines: functions, operator, non-fiscal documents, sales, discounts, display, print.
#include <array>

#include "common/text_file.h"
#include "common/text_helpers.h"
#include "convert/converter.h"
#include "convert/converter_run.h"
#include "convert/field_lookup.h"
#include "convert/text_format.h"

namespace zelmar::convert {

namespace {

constexpr std::size_t kDescriptionWidth = 20;      // one description line of a sale
constexpr std::size_t kWideDescriptionWidth = 30;  // the same on model TN
constexpr std::size_t kAdjustmentTextWidth = 15;   // first text of a discount or surcharge
constexpr std::size_t kCouponSecondTextWidth = 20;
constexpr std::size_t kPrintWidth = 32;    // printed line of the receipt
constexpr std::size_t kDisplayWidth = 20;  // customer display row
constexpr std::size_t kPersonalCodeLength = 16;
constexpr std::size_t kVatNumberLength = 11;

struct AdjustmentForm {
    Keyword keyword;
    const char* valueKey;  // ",%" percentage or ",V" amount
    const char* tail;      // sign, base, mode
};

constexpr std::array kAdjustmentForms{
    AdjustmentForm{Keyword::kItemDiscount, ",%", "/0/0/0"},
    AdjustmentForm{Keyword::kItemSurcharge, ",%", "/1/0/0"},
    AdjustmentForm{Keyword::kTotalDiscount, ",%", "/0/1/0"},
    AdjustmentForm{Keyword::kTotalSurcharge, ",%", "/1/1/0"},
    AdjustmentForm{Keyword::kItemAddition, ",V", "/1/0/1"},
    AdjustmentForm{Keyword::kTotalAddition, ",V", "/1/1/1"},
    AdjustmentForm{Keyword::kItemCoupon, ",V", "/0/0/1"},
    AdjustmentForm{Keyword::kTotalCoupon, ",V", "/0/1/1"},
};

bool IsShiftedKind(const std::string& kind) {
    return kind == "B" || kind == "G" || kind == "M";
}

// Text fields of a discount or surcharge; amount discounts may use a second line.
std::string AdjustmentText(const std::string& text, bool twoLines) {
    if (!twoLines) return "/" + CutTo(text, kAdjustmentTextWidth) + "/";
    if (text.size() <= kAdjustmentTextWidth) return "/" + text + "/";
    const std::string first = "/" + CutTo(text, kAdjustmentTextWidth) + "/";
    if (text.size() < kAdjustmentTextWidth + 5) return first;
    return first + Mid(text, kAdjustmentTextWidth, kCouponSecondTextWidth);
}

}  // namespace

void JobRun::FunctionKey(const std::string& line) {
    const auto number = Field(line, ",N");
    long long function = 0;
    if (!number || !IsWholeNumber(*number, function)) return;
    switch (function) {
        case 1:
            pending_ = zKeyNoted_ ? "x/7//" : "x/1//";
            zKeyNoted_ = false;
            break;
        case 2:
            pending_ = "x/1//";
            break;
        case 3:
            pending_ = "x/4//";
            break;
        case 25:
            pending_ = "+/";
            break;
        default:
            break;
    }
}

void JobRun::SignOn(const std::string& line) {
    const auto number = Field(line, ",C");
    if (!number) return;
    const bool aboveHighest = LeadingNumber(*number) > reg_.MaxOperator;
    Emit("1/" + (aboveHighest ? std::to_string(reg_.MaxOperator) : *number));
    pending_.clear();
}

void JobRun::OpenNonFiscal() {
    conv_.NonFiscalOpen = true;
    if (options_.NonFiscalHeading && model_.nonFiscalHeading) Emit("7/1/20//");
}

void JobRun::ReadRequest(const std::string& line) {
    WriteBytes(ResolveReadFileName(line, session_.DataFolder, session_.CurrentSlot), "");
}

void JobRun::OpenCommand(const std::string& line) {
    if (model_.bareOpenCommand) {
        pending_ = "q/";
        return;
    }
    const auto number = Field(line, ",N");
    pending_ = (number && IsNumeric(*number)) ? "q/" + std::string(TrimBlanks(*number)) : "q/1";
}

void JobRun::CloseInvoice() {
    if (model_.salesStartLine && !salesStarted_) Emit("W");
    conv_.InvoiceMode = false;
}

void JobRun::Sale(const std::string& line, Keyword keyword) {
    conv_.ReceiptHasSales = true;
    const std::string kind = SaleKind(line);
    std::string command = "3/" + kind;
    command += DescriptionFields(SaleDescription(line, keyword), IsShiftedKind(kind));
    const auto quantity = Field(line, ",Q");
    command += "/" + (quantity ? *quantity : "1");
    const auto price = Field(line, ",P");
    command += "/" + (price ? FormatAmount(*price) : "0");
    command += DepartmentFields(line);

    if (!salesStarted_ && model_.salesStartLine) Emit("W");
    salesStarted_ = true;
    Emit(command);
    pending_.clear();
    if (options_.PrintItemCode) ArticleCode(line);
}

// ",S" is also found inside ",S1": the numbered kinds are tested first.
std::string JobRun::SaleKind(const std::string& line) const {
    if (conv_.RefundMode) return "N";
    if (Field(line, ",S1")) return "B";
    if (Field(line, ",S3")) return "G";
    if (Field(line, ",S2")) return "M";
    if (Field(line, ",S")) return "V";
    if (Field(line, ",R")) return "R";
    return "S";
}

std::string JobRun::SaleDescription(const std::string& line, Keyword keyword) const {
    if (const auto text = Field(line, ",:")) return ReplaceChar(*text, '/', '-');
    if (keyword == Keyword::kArticleSale) return "ARTICOLO";
    const auto department = Field(line, ",N");
    if (!department) return "REPARTO 1";
    return "REPARTO " + (IsNumeric(*department) ? NumberText(LeadingNumber(*department)) : " ");
}

std::string JobRun::DescriptionFields(const std::string& description, bool shifted) const {
    const std::size_t width = model_.wideDescriptions ? kWideDescriptionWidth : kDescriptionWidth;
    if (description.size() <= width || options_.NoExtendedDescription) {
        const std::string text = CutTo(description, width);
        return shifted ? "/ /" + text : "/" + text + "/";
    }
    return "/" + CutTo(description, width) + "/" + Mid(description, width, width);
}

// A department outside the register's table leaves out the department and VAT fields, so
// the register refuses the sale with its own error.
std::string JobRun::DepartmentFields(const std::string& line) const {
    const auto number = Field(line, ",N");
    if (!number) return DepartmentFieldsOf("1", 1);
    long long department = 0;
    if (!IsWholeNumber(*number, department)) return {};
    return DepartmentFieldsOf(*number, department);
}

std::string JobRun::DepartmentFieldsOf(const std::string& number, long long department) const {
    const std::string* vat = ElementAt(reg_.DeptVat, department);
    if (vat == nullptr) return {};
    std::string fields = "/" + number + "/" + *vat;
    const int* nature = ElementAt(reg_.DeptNature, department);
    if (reg_.IsRtRegister && nature != nullptr && *nature != 0) {
        fields += "/N" + std::to_string(*nature) + "/0";
    }
    return fields;
}

// Printed only when the code is written in brackets, e.g. "[1234]".
void JobRun::ArticleCode(const std::string& line) {
    const auto code = Field(line, ",C");
    if (!code) return;
    const std::size_t open = code->find('[');
    if (code->find(']', open == std::string::npos ? 0 : open + 1) == std::string::npos) return;
    pending_ = "7/1/1/" + CutTo(*code, kPrintWidth);
}

void JobRun::Adjustment(const std::string& line, Keyword keyword) {
    for (const AdjustmentForm& form : kAdjustmentForms) {
        if (form.keyword != keyword) continue;
        const auto value = Field(line, form.valueKey);
        if (!value) return;
        const bool amount = form.valueKey[1] == 'V';
        std::string command = "4/" + (amount ? FormatAmount(*value) : *value);
        const auto text = Field(line, ",:");
        const bool coupon = keyword == Keyword::kItemCoupon || keyword == Keyword::kTotalCoupon;
        command += text ? AdjustmentText(ReplaceChar(*text, '/', '-'), coupon) : "//";
        pending_ = command + form.tail;
        return;
    }
}

void JobRun::DisplayLine(const std::string& line) {
    const auto text = Field(line, ",:");
    if (!text) return;
    std::string row = "1";
    const auto type = Field(line, ",C");
    const auto rowNumber = Field(line, ",N");
    if (type && TrimBlanks(*type) == "2" && rowNumber && IsNumeric(*rowNumber)) {
        row = NumberText(LeadingNumber(*rowNumber));
    }
    std::string shown = text->empty() ? " " : CutTo(*text, kDisplayWidth);
    shown = ReplaceText(ReplaceText(shown, "TOTALE", "TOT.  "), "totale", "tot.  ");
    pending_ = "7/0/" + row + "/" + ReplaceChar(shown, '/', '-') + "/";
}

void JobRun::PrintLine(const std::string& line) {
    if (!salesStarted_ && !conv_.NonFiscalOpen) Emit(">");
    const auto text = Field(line, ",:");
    if (!text) return;
    std::string attribute = "1";
    const auto style = Field(line, ",H");
    if (style && !style->empty() && IsDigit(style->front())) {
        attribute = style->front() == '0' ? "0" : "2";
    }
    const std::string printed = CutTo(ReplaceChar(*text, '/', '-'), kPrintWidth);
    pending_ = "7/1/" + attribute + "/" + printed;
    const bool codeLength =
        printed.size() == kPersonalCodeLength || printed.size() == kVatNumberLength;
    if (codeLength && NextLineIsFiscalCodeRequest()) {
        ++index_;  // the FUNC,N39 line is consumed by the pair
        CustomerFiscalCode(printed);
    }
}

bool JobRun::NextLineIsFiscalCodeRequest() const {
    return index_ + 1 < lines_->size() && HasKeyword(lines_->at(index_ + 1), "FUNC,N39");
}

void JobRun::CodeLine(const std::string& line) {
    if (!salesStarted_ && !conv_.NonFiscalOpen) return;
    if (const auto code = Field(line, ",C")) pending_ = "7/1/1/" + CutTo(*code, kPrintWidth);
}

}  // namespace zelmar::convert
