#pragma once

#include <string>
#include <vector>

namespace zelmar {

// What the register-data read learns about the register of the slot last read; the
// converter builds its lines from it.
struct RegisterData {
    std::string ModelCode;         // two letters selecting command variants
    std::string ModelDescription;  // upper case
    bool IsRtRegister = false;
    std::string SerialNumber;      // as shown in txtEcrMatr (RT: recomposed form)
    std::string FirmwareRevision;  // txtFWRev
    int DeptCount = 10;
    int MaxOperator = 8;
    std::vector<std::string> VatRates = std::vector<std::string>(13);
    std::vector<std::string> DeptVat = std::vector<std::string>(11, "0");  // index d-1
    std::vector<int> DeptNature = std::vector<int>(11, 0);
};

}  // namespace zelmar
