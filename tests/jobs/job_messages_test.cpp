#include "jobs/job_messages.h"

#include <gtest/gtest.h>

#include <tuple>

namespace zelmar::jobs {
namespace {

TEST(JobMessages, EveryResultHasItsErrorTextAndStatusWord) {
    const std::string generic = ": Errore generico sull'Ecr; correggere e riavviare l'esecuzione";
    const std::tuple<JobResult, std::string, std::string> cases[] = {
        {JobResult::kOk, "", "TUTTO OK"},
        {JobResult::kReceiptOpen, "E503: Scontrino aperto, chiudere e riavviare l'esecuzione",
         "SCONTRINO APERTO"},
        {JobResult::kNoAnswer, "E504: Nessun messaggio ricevuto: controllare connessione con l'Ecr",
         "TIMEOUT SCADUTO"},
        {JobResult::kInterrupted, "E507: Trasmissione interrotta: probabile comando errato",
         "ERR. IMPREVISTO ECR"},
        {JobResult::kConversionError, "ERRORE DI CONVERSIONE", "ERRORE DI CONVERSIONE"},
        {JobResult::kDataFileVanished, "E-100" + generic, "ERR. IMPREVISTO ECR"},
    };
    for (const auto& [result, errorText, word] : cases) {
        SCOPED_TRACE(word);
        EXPECT_EQ(ErrorMessageForResult(result), errorText);
        EXPECT_EQ(StatusWordForResult(result), word);
    }
}

}  // namespace
}  // namespace zelmar::jobs
