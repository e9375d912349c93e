#include "convert/keywords.h"

#include <array>
#include <utility>

#include "common/text_helpers.h"
#include "convert/field_lookup.h"

namespace zelmar::convert {

namespace {

struct KeywordEntry {
    const char* text;
    Keyword keyword;
};

// The four numbered payment forms come before the generic "TEND,".
constexpr std::array kKeywordTable{
    KeywordEntry{"DISP,", Keyword::kDisplay},
    KeywordEntry{"XKEY", Keyword::kXKey},
    KeywordEntry{"ZKEY", Keyword::kZKey},
    KeywordEntry{"FUNC,", Keyword::kFunction},
    KeywordEntry{"OPER,", Keyword::kOperator},
    KeywordEntry{"RLPR", Keyword::kReprint},
    KeywordEntry{"OPNF", Keyword::kOpenNonFiscal},
    KeywordEntry{"CLNF", Keyword::kCloseNonFiscal},
    KeywordEntry{"READ", Keyword::kRead},
    KeywordEntry{"OPEN", Keyword::kOpen},
    KeywordEntry{"OPFS", Keyword::kInvoiceOpen},
    KeywordEntry{"CLFS", Keyword::kInvoiceClose},
    KeywordEntry{"SUBT", Keyword::kSubtotal},
    KeywordEntry{"SALE,", Keyword::kSale},
    KeywordEntry{"PLUD,", Keyword::kArticleSale},
    KeywordEntry{"DISC,", Keyword::kItemDiscount},
    KeywordEntry{"MAGG,", Keyword::kItemSurcharge},
    KeywordEntry{"DOST,", Keyword::kTotalDiscount},
    KeywordEntry{"MOST,", Keyword::kTotalSurcharge},
    KeywordEntry{"COUP,", Keyword::kItemCoupon},
    KeywordEntry{"COST,", Keyword::kTotalCoupon},
    KeywordEntry{"ADDI,", Keyword::kItemAddition},
    KeywordEntry{"ADDS,", Keyword::kTotalAddition},
    KeywordEntry{"PRNT,", Keyword::kPrint},
    KeywordEntry{"CLER,", Keyword::kCodeLine},
    KeywordEntry{"EXTL,", Keyword::kCustomerLine},
    KeywordEntry{"TEND,N1", Keyword::kCash},
    KeywordEntry{"TEND,N2", Keyword::kCheque},
    KeywordEntry{"TEND,N3", Keyword::kCard},
    KeywordEntry{"TEND,N4", Keyword::kBank},
    KeywordEntry{"CASH", Keyword::kCash},
    KeywordEntry{"CHEQ", Keyword::kCheque},
    KeywordEntry{"CARD", Keyword::kCard},
    KeywordEntry{"BANC", Keyword::kBank},
    KeywordEntry{"CRED", Keyword::kCredit},
    KeywordEntry{"TICK", Keyword::kTicket},
    KeywordEntry{"TEND,", Keyword::kTender},
    KeywordEntry{"BARC", Keyword::kBarcode},
    KeywordEntry{"NDCR,", Keyword::kRefund},
    KeywordEntry{"DELD", Keyword::kVoid},
    KeywordEntry{"LOTT,", Keyword::kLottery},
};

}  // namespace

Keyword LineKeyword(const std::string& line) {
    // Every line is classified twice; testing the first letter keeps that cheap.
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos) return Keyword::kNone;
    const char first = UpperAscii(line[start]);
    for (const KeywordEntry& entry : kKeywordTable) {
        if (entry.text[0] == first && HasKeyword(line, entry.text)) return entry.keyword;
    }
    return Keyword::kNone;
}

}  // namespace zelmar::convert
