#pragma once

#include <string>
#include <vector>

namespace zelmar {

// What the register-data read learns about the register of one slot; the converter builds
// that slot's lines from it.
struct RegisterData {
    std::string ModelCode;         // two letters selecting command variants
    std::string ModelDescription;  // upper case
    bool IsRtRegister = false;
    std::string SerialNumber;  // as published in SR_MATR (RT: recomposed form)
    std::string FirmwareRevision;
    bool TablesRead = false;  // VAT rates and departments read since start-up
    int DeptCount = 10;
    int MaxOperator = 8;
    std::vector<std::string> VatRates = std::vector<std::string>(13);
    std::vector<std::string> DeptVat = std::vector<std::string>(11, "0");  // index d-1
    std::vector<int> DeptNature = std::vector<int>(11, 0);
};

}  // namespace zelmar
