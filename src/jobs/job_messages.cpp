#include "jobs/job_messages.h"

namespace zelmar::jobs {

namespace {
constexpr std::size_t kCodeWidth = 3;
}  // namespace

std::string ErrorMessageForResult(int result) {
    switch (result) {
        case kJobReceiptOpen:
            return kMsgReceiptOpen;
        case kJobNoAnswer:
            return kMsgNoAnswer;
        case kJobInterrupted:
            return kMsgInterrupted;
        case kJobConversionError:
            return kMsgConversionError;
        default:
            break;
    }
    std::string code = std::to_string(result);
    if (code.size() < kCodeWidth) code.insert(0, kCodeWidth - code.size(), '0');
    return "E" + code + ": " + kMsgGenericSuffix;
}

std::string StatusWordForResult(int result) {
    switch (result) {
        case kJobOk:
            return "TUTTO OK";
        case kJobConversionError:
            return "ERRORE DI CONVERSIONE";
        case kJobNoAnswer:
            return "TIMEOUT SCADUTO";
        case kJobReceiptOpen:
            return "SCONTRINO APERTO";
        default:
            return "ERR. IMPREVISTO ECR";
    }
}

}  // namespace zelmar::jobs
