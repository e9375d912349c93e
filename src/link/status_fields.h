#pragma once

#include <string>

#include "common/link_state.h"
#include "common/window_texts.h"

namespace zelmar::link {

// Result codes the link acts on.
inline constexpr int kResultAccepted = 0x00;
inline constexpr int kResultAcceptedToo = 0x06;
inline constexpr int kResultAcceptedAlso = 0x15;
inline constexpr int kResultFieldsMissing = 0x01;  // a "j" heading too short
inline constexpr int kResultBusy = 0x1A;
inline constexpr int kResultAlsoBusy = 0x0E;  // on a model with ModelTraits::busyAlsoOn0E
inline constexpr int kResultPaperEnd = 0x31;
inline constexpr int kResultFree = 0x32;  // costs no attempt

inline constexpr int kDeviceRetryNow = 1;  // DeviceStatus bit 0: send again at once
inline constexpr int kDevicePaperOut = 4;  // DeviceStatus bit 2
inline constexpr int kFiscalDocOpen = 4;   // FiscalStatus bit 2

// Splits an answer text on "/" and reads its first three fields as hexadecimal into the
// status fields of `link`. Texts of 8 characters or fewer change nothing and give 0;
// otherwise the highest field index. A refusal that the register does not retry by itself
// is shown to the operator in texts.RegisterMessage.
int ParseStatus(const std::string& text, LinkState& link, WindowTexts& texts);

}  // namespace zelmar::link
