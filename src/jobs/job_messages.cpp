#include "jobs/job_messages.h"

namespace zelmar::jobs {

std::string ErrorMessageForResult(JobResult result) {
    switch (result) {
        case JobResult::kReceiptOpen:
            return kMsgReceiptOpen;
        case JobResult::kNoAnswer:
            return kMsgNoAnswer;
        case JobResult::kInterrupted:
            return kMsgInterrupted;
        case JobResult::kConversionError:
            return kMsgConversionError;
        case JobResult::kDataFileVanished:
            // The POS application knows this failure by its number in the generic text.
            return std::string("E-100: ") + kMsgGenericSuffix;
        case JobResult::kOk:
            break;
    }
    return {};
}

std::string StatusWordForResult(JobResult result) {
    switch (result) {
        case JobResult::kOk:
            return "TUTTO OK";
        case JobResult::kConversionError:
            return "ERRORE DI CONVERSIONE";
        case JobResult::kNoAnswer:
            return "TIMEOUT SCADUTO";
        case JobResult::kReceiptOpen:
            return "SCONTRINO APERTO";
        default:
            return "ERR. IMPREVISTO ECR";
    }
}

}  // namespace zelmar::jobs
