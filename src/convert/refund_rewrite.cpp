#include "convert/refund_rewrite.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "common/text_file.h"
#include "convert/field_lookup.h"
#include "convert/fiscal_checks.h"
#include "convert/job_file.h"
#include "convert/normalizer.h"
#include "convert/text_format.h"

namespace zelmar::convert {
namespace {

// Lines that close a receipt or act on its subtotal: they must follow the refunds. BANC and
// TICK are payments like the others; left among the sales they would close the receipt before
// its refunds were registered.
constexpr std::initializer_list<const char*> kClosingKeywords = {
    "CARD", "CASH", "CHEQ", "TEND", "BANC", "TICK", "EXTL", "BARC", "COST", "DOST", "CRED"};

// Lines that stay with the refund they follow.
constexpr std::initializer_list<const char*> kRefundCompanions = {"COUP", "PRNT", "DISC"};

constexpr const char* kCompensationPrefix = "PLUD,N1,C1,:  RESO SCONTO + ";

bool HasAnyKeyword(const std::string& line, std::initializer_list<const char*> keywords) {
    for (const char* keyword : keywords) {
        if (HasKeyword(line, keyword)) return true;
    }
    return false;
}

bool IsRefund(const std::string& line) {
    return line.find(",R") != std::string::npos;
}

std::string WithoutArrows(std::string line) {
    for (auto at = line.find("->"); at != std::string::npos; at = line.find("->", at)) {
        line.erase(at, 2);
    }
    return line;
}

std::string Field(const std::string& line, const char* key, bool& present) {
    std::string value;
    present = FindField(FieldMode::kField, value, line, key);
    return value;
}

// A number with a fixed count of decimals; a value that is not finite reads as 0.
std::string FormatFixed(double value, int decimals) {
    if (!std::isfinite(value)) value = 0;
    value += 0.0;  // no "-0"
    const int size = std::snprintf(nullptr, 0, "%.*f", decimals, value);
    if (size <= 0) return "0";
    std::string text(static_cast<std::size_t>(size) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%.*f", decimals, value);
    text.resize(static_cast<std::size_t>(size));
    return text;
}

struct Groups {
    std::vector<std::string> sales, refunds, closing, nonFiscal;
};

// A comment line that goes with the closing lines; false when the line is not one.
bool ClassifyComment(const std::string& line, Groups& groups) {
    bool present = false;
    const std::string description = Field(line, ",:", present);
    if (!HasKeyword(line, "PRNT") || !present) return false;
    if (description.starts_with("->")) {
        groups.closing.push_back(WithoutArrows(line));
    } else if (CheckCodiceFiscale(description) || CheckPartitaIva(description)) {
        groups.closing.push_back(line);
        groups.closing.emplace_back("FUNC,N39;");
    } else if (line.find("->") != std::string::npos) {
        groups.closing.push_back(WithoutArrows(line));
    } else {
        return false;
    }
    return true;
}

// A line outside comments, non-fiscal sections and invoices.
void ClassifyOrdinary(const std::string& line, bool& refundMode, Groups& groups) {
    if (HasAnyKeyword(line, kClosingKeywords)) {
        groups.closing.push_back(line);
    } else if (IsRefund(line)) {
        refundMode = true;
        groups.refunds.push_back(line);
    } else if (HasAnyKeyword(line, kRefundCompanions)) {
        bool hasDescription = false;
        Field(line, ",:", hasDescription);
        if (refundMode) {
            groups.refunds.push_back(line);
        } else if (HasKeyword(line, "PRNT") && !hasDescription) {
            groups.closing.push_back(line);
        } else {
            groups.sales.push_back(line);
        }
    } else {
        refundMode = false;
        groups.sales.push_back(line);
    }
}

// First pass: sorts the lines into their groups. False for an invoice, which stays as written.
bool Classify(const std::vector<std::string>& lines, Groups& groups) {
    bool refundMode = false;
    bool inNonFiscal = false;
    for (const auto& line : lines) {
        if (HasKeyword(line, "OPFS")) return false;
        if (HasKeyword(line, "OPNF")) inNonFiscal = true;
        if (inNonFiscal || HasKeyword(line, "CLNF")) {
            if (HasKeyword(line, "CLNF")) inNonFiscal = false;
            groups.nonFiscal.push_back(line);
        } else if (!ClassifyComment(line, groups)) {
            ClassifyOrdinary(line, refundMode, groups);
        }
    }
    return true;
}

// A refunded sale as one uniform article refund; its price becomes the refund price.
std::string RefundLine(const std::string& line, std::string& refundPrice) {
    bool present = false;
    const std::string description = Field(line, ",:", present);
    std::string result = present ? "PLUD,:" + description : "PLUD,: ";
    const std::string department = Field(line, ",N", present);
    result += ",N" + (present ? CanonicalNumber(department) : "1");
    const std::string z = Field(line, ",Z", present);
    if (present) result += ",Z" + (LeadingNumber(z) <= 3 ? CanonicalNumber(z) : "3");
    const std::string price = Field(line, ",P", present);
    refundPrice = present ? CanonicalNumber(price) : "0";
    result += ",P" + refundPrice;
    const std::string quantity = Field(line, ",Q", present);
    if (present && LeadingNumber(quantity) != 1) result += ",Q" + CanonicalNumber(quantity);
    return result + ",R;";
}

// The first amount discount after a refund, as a sale that gives the discount back. A coupon
// without an amount has nothing to give back and stays as written.
std::string CouponCompensation(const std::string& line) {
    bool present = false;
    const std::string value = Field(line, ",V", present);
    if (!present) return line;
    const std::string amount = CanonicalNumber(value);
    return kCompensationPrefix + FormatFixed(LeadingNumber(amount) / 100, 2) + ",P" + amount + ";";
}

// The same for a percentage discount, computed on the refund price. The amount is rounded to
// whole hundredths: a fractional price field cannot be sent to the register.
std::string DiscountCompensation(const std::string& line, const std::string& refundPrice) {
    bool present = false;
    const std::string percentage = Field(line, ",%", present);
    if (!present) return line;
    const double percent = LeadingNumber(percentage);
    const double amount = std::round(LeadingNumber(refundPrice) * percent / 100);
    return kCompensationPrefix + FormatFixed(percent, 2) + " % ,P" + FormatFixed(amount, 0) + ";";
}

// Second pass: rewrites each refunded sale and the first discount that follows it.
void RewriteRefunds(std::vector<std::string>& lines) {
    bool pendingRefund = false;
    std::string refundPrice;
    for (auto& line : lines) {
        if (pendingRefund && HasKeyword(line, "COUP")) {
            line = CouponCompensation(line);
            pendingRefund = false;
        } else if (pendingRefund && HasKeyword(line, "DISC")) {
            line = DiscountCompensation(line, refundPrice);
            pendingRefund = false;
        } else if (HasAnyKeyword(line, {"PLUD", "SALE"}) && IsRefund(line)) {
            line = RefundLine(line, refundPrice);
            pendingRefund = true;
        }
    }
}

}  // namespace

void RewriteRefundDiscounts(const std::string& inPath, const std::string& outPath) {
    std::vector<std::string> lines;
    if (!ReadJobLines(inPath, lines)) return;
    Groups groups;
    if (!Classify(lines, groups)) return;
    std::vector<std::string> combined = std::move(groups.sales);
    for (auto* group : {&groups.refunds, &groups.closing, &groups.nonFiscal}) {
        combined.insert(combined.end(), group->begin(), group->end());
    }
    RewriteRefunds(combined);
    ReplaceTextLinesAtomically(outPath, combined);
}

}  // namespace zelmar::convert
