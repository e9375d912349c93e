#pragma once

namespace zelmar::app {

// Texts the job cycle shows in the window and the notification icon (those of the error files
// are in jobs/job_messages.h).
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

}  // namespace zelmar::app
