#include "jobs/job_messages.h"

#include <gtest/gtest.h>

#include <tuple>

namespace zelmar::jobs {
namespace {

TEST(JobMessages, EveryResultHasItsErrorTextAndStatusWord) {
    const std::string generic = ": Errore generico sull'Ecr; correggere e riavviare l'esecuzione";
    const std::tuple<int, std::string, std::string> cases[] = {
        {-2, "E503: Scontrino aperto, chiudere e riavviare l'esecuzione", "SCONTRINO APERTO"},
        {-4, "E504: Nessun messaggio ricevuto: controllare connessione con l'Ecr",
         "TIMEOUT SCADUTO"},
        {-5, "E507: Trasmissione interrotta: probabile comando errato", "ERR. IMPREVISTO ECR"},
        {-6, "ERRORE DI CONVERSIONE", "ERRORE DI CONVERSIONE"},
        {-100, "E-100" + generic, "ERR. IMPREVISTO ECR"},
        {7, "E007" + generic, "ERR. IMPREVISTO ECR"},
        {-1, "E0-1" + generic, "ERR. IMPREVISTO ECR"},
        {1234, "E1234" + generic, "ERR. IMPREVISTO ECR"},
    };
    for (const auto& [result, errorText, word] : cases) {
        EXPECT_EQ(ErrorMessageForResult(result), errorText) << result;
        EXPECT_EQ(StatusWordForResult(result), word) << result;
    }
}

}  // namespace
}  // namespace zelmar::jobs
