#pragma once

#include <string>
#include <vector>

namespace zelmar {

// The last exchange with the register: one instance, overwritten by every command.
struct LinkState {
    std::string RxBuffer;
    std::string ResponseText;
    std::vector<std::string> ResponseFields;
    int ResultCode = 0;
    int DeviceStatus = 0;
    int FiscalStatus = 0;
    bool PaperOut = false;
    bool DocumentOpen = false;
    bool TimeoutFlag = false;
    bool ExchangeAborted = false;  // the program is ending: no further command starts
};

}  // namespace zelmar
