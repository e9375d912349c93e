#include "convert/converter_run.h"

#include "convert/converter.h"
#include "convert/field_lookup.h"
#include "convert/normalizer.h"
#include "convert/text_format.h"

namespace zelmar::convert {

namespace {

constexpr int kNormalizedDescriptionWidth = 60;  // longest description kept by the normaliser

}  // namespace

JobRun::JobRun(Session& session, TraceSink& trace)
    : session_(session),
      trace_(trace),
      reg_(session.reg()),
      model_(TraitsOfRegister(reg_)),
      options_(session.options),
      conv_(session.conv) {}

bool JobRun::Convert(const std::vector<std::string>& lines) {
    lines_ = &lines;
    for (index_ = 0; index_ < lines.size() && !stopped_; ++index_) {
        pending_.clear();
        ProcessLine(lines[index_]);
        if (failed_) return false;
        if (!pending_.empty()) Emit(pending_);
    }
    // Texts reach the commands from many fields of the job; what the register gets is cleaned
    // here, once.
    for (std::string& command : commands_) command = BlankControlBytes(command);
    return true;
}

// The keywords up to READ act on the line as written; the others on the normalised line.
void JobRun::ProcessLine(const std::string& raw) {
    if (raw.empty()) return;
    const Keyword keyword = LineKeyword(raw);
    switch (keyword) {
        case Keyword::kDisplay:
            DisplayLine(raw);
            return;
        case Keyword::kXKey:
            return;
        case Keyword::kZKey:
            zKeyNoted_ = true;
            return;
        case Keyword::kFunction:
            FunctionKey(raw);
            return;
        case Keyword::kOperator:
            SignOn(raw);
            return;
        case Keyword::kReprint:
            conv_.ReprintRequest = true;
            return;
        case Keyword::kOpenNonFiscal:
            OpenNonFiscal();
            return;
        case Keyword::kCloseNonFiscal:
            if (conv_.NonFiscalOpen) pending_ = "m";
            return;
        case Keyword::kRead:
            ReadRequest(raw);
            stopped_ = true;
            return;
        case Keyword::kInvoiceOpen:
            // Customer lines may hold characters that the normaliser would rewrite.
            conv_.InvoiceMode = true;
            ProcessNormalised(raw);
            return;
        default:
            ProcessNormalised(NormalizeCommandLine(raw, kNormalizedDescriptionWidth));
    }
}

void JobRun::ProcessNormalised(const std::string& line) {
    const Keyword keyword = LineKeyword(line);
    switch (keyword) {
        case Keyword::kOpen:
            OpenCommand(line);
            break;
        case Keyword::kInvoiceOpen:
            if (!conv_.NonFiscalOpen) OpenInvoice(line);
            break;
        case Keyword::kInvoiceClose:
            if (!conv_.NonFiscalOpen) CloseInvoice();
            break;
        case Keyword::kSubtotal:
            pending_ = "U/";
            break;
        case Keyword::kSale:
        case Keyword::kArticleSale:
            Sale(line, keyword);
            break;
        case Keyword::kItemDiscount:
        case Keyword::kItemSurcharge:
        case Keyword::kTotalDiscount:
        case Keyword::kTotalSurcharge:
        case Keyword::kItemCoupon:
        case Keyword::kTotalCoupon:
        case Keyword::kItemAddition:
        case Keyword::kTotalAddition:
            Adjustment(line, keyword);
            break;
        case Keyword::kDisplay:
            DisplayLine(line);
            break;
        case Keyword::kPrint:
            PrintLine(line);
            break;
        case Keyword::kCodeLine:
            CodeLine(line);
            break;
        case Keyword::kCustomerLine:
            CustomerLine(line);
            break;
        case Keyword::kCash:
        case Keyword::kCheque:
        case Keyword::kCard:
        case Keyword::kBank:
        case Keyword::kCredit:
        case Keyword::kTicket:
        case Keyword::kTender:
            Payment(line, keyword);
            break;
        case Keyword::kBarcode:
            Barcode(line);
            break;
        case Keyword::kRefund:
            if (!conv_.InvoiceMode) Refund(line);
            break;
        case Keyword::kVoid:
            if (!conv_.InvoiceMode && reg_.IsRtRegister) Void(line);
            break;
        case Keyword::kLottery:
            if (reg_.IsRtRegister) Lottery(line);
            break;
        default:
            break;
    }
}

std::optional<std::string> JobRun::Field(const std::string& line, std::string_view key) const {
    std::string value;
    if (!FindField(FieldMode::kField, value, line, key, conv_.InvoiceMode)) return std::nullopt;
    return value;
}

}  // namespace zelmar::convert
