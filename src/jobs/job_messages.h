#pragma once

#include <string>

namespace zelmar::jobs {

// The texts the system writes into SR_ERR, exactly as the POS application expects them.
inline constexpr const char* kMsgDumpFailed =
    "E501: Dump non eseguito, verificare se Ecr in errore o non connesso";
inline constexpr const char* kMsgNoPort = "E502: Nessuna porta di comunicazione disponibile";
inline constexpr const char* kMsgReceiptOpen =
    "E503: Scontrino aperto, chiudere e riavviare l'esecuzione";
inline constexpr const char* kMsgNoAnswer =
    "E504: Nessun messaggio ricevuto: controllare connessione con l'Ecr";
inline constexpr const char* kMsgInputMissing =
    "E506: Trasmissione non avvenuta: file di input non presente";
inline constexpr const char* kMsgInterrupted =
    "E507: Trasmissione interrotta: probabile comando errato";
inline constexpr const char* kMsgConversionError = "ERRORE DI CONVERSIONE";
inline constexpr const char* kMsgPaperOut = "E104: Fine carta scontrino, sostituire il rotolo";
inline constexpr const char* kMsgGenericSuffix =
    "Errore generico sull'Ecr; correggere e riavviare l'esecuzione";

// What became of a job: kOk ends it with FINESCO, any other result with SR_ERR.
enum class JobResult {
    kOk,
    kReceiptOpen,
    kNoAnswer,
    kInterrupted,
    kConversionError,
    kDataFileVanished,  // SR_DATI was gone when the transmission started
};

// SR_ERR text of a failed job; empty for kOk.
std::string ErrorMessageForResult(JobResult result);
// The word shown after "ZELMAR1 TERMINATO : " for a job result.
std::string StatusWordForResult(JobResult result);

}  // namespace zelmar::jobs
