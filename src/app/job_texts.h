#pragma once

namespace zelmar::app {

// Texts the job cycle writes into the error files, the window and the notification icon.
inline constexpr const char* kNoPortMessage = "E502: Nessuna porta di comunicazione disponibile";
inline constexpr const char* kNoInputFileMessage =
    "E506: Trasmissione non avvenuta: file di input non presente";

inline constexpr const char* kTipIdle = "Zelmar1 in attesa esecuzione...";
inline constexpr const char* kTipBusy = "Zelmar1 in esecuzione...";

inline constexpr const char* kStatusTransmitting = "TRASMISSIONE ZELMAR1 IN CORSO ..";
inline constexpr const char* kStatusFinished = "ZELMAR1 TERMINATO";
inline constexpr const char* kStatusSeparator = " : ";

inline constexpr const char* kTimerReady = "PRONTO";
inline constexpr const char* kTimerOnUpper = "Timer ON";
inline constexpr const char* kTimerOnLower = "Timer on";

inline constexpr const char* kDumpDone = "DUMP ESEGUITO";
inline constexpr const char* kDumpNotDone = "DUMP NON ESEGUITO";

// Work files of the data folder around a job.
inline constexpr const char* kCommandFileName = "Micrel.txt";
inline constexpr const char* kLastCommandFileName = "micrell.txt";

}  // namespace zelmar::app
