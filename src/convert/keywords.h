#pragma once

#include <string>

namespace zelmar::convert {

// The job keywords that the converter acts on.
enum class Keyword {
    kNone,
    kDisplay,         // DISP,
    kXKey,            // XKEY
    kZKey,            // ZKEY
    kFunction,        // FUNC,
    kOperator,        // OPER,
    kReprint,         // RLPR
    kOpenNonFiscal,   // OPNF
    kCloseNonFiscal,  // CLNF
    kRead,            // READ
    kOpen,            // OPEN
    kInvoiceOpen,     // OPFS
    kInvoiceClose,    // CLFS
    kSubtotal,        // SUBT
    kSale,            // SALE,
    kArticleSale,     // PLUD,
    kItemDiscount,    // DISC,
    kItemSurcharge,   // MAGG,
    kTotalDiscount,   // DOST,
    kTotalSurcharge,  // MOST,
    kItemCoupon,      // COUP,
    kTotalCoupon,     // COST,
    kItemAddition,    // ADDI,
    kTotalAddition,   // ADDS,
    kPrint,           // PRNT,
    kCodeLine,        // CLER,
    kCustomerLine,    // EXTL,
    kCash,            // CASH, or TEND,N1 at the line start
    kCheque,          // CHEQ, or TEND,N2
    kCard,            // CARD, or TEND,N3
    kBank,            // BANC, or TEND,N4
    kCredit,          // CRED
    kTicket,          // TICK
    kTender,          // TEND, any other payment form
    kBarcode,         // BARC
    kRefund,          // NDCR,
    kVoid,            // DELD
    kLottery,         // LOTT,
};

// The keyword that the line starts with (letter case ignored), kNone for any other line.
// Only the line's own keyword counts: a description holding "CASH" is not a payment.
Keyword LineKeyword(const std::string& line);

}  // namespace zelmar::convert
