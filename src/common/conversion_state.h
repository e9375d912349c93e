#pragma once

#include <array>
#include <string>

namespace zelmar {

// Flags the converter leaves for the transmission driver and the link.
struct ConversionState {
    bool NonFiscalOpen = false;
    bool InvoiceMode = false;
    bool InvoiceOpen = false;
    bool RefundMode = false;
    bool ReprintRequest = false;
    bool ReceiptHasSales = false;
    std::array<std::string, 7> InvoiceHeader;  // customer lines of the "j" command
    std::string CommandFilePath;               // Micrel.txt of the job
};

}  // namespace zelmar
