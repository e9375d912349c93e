#pragma once

#include <string_view>

#include "common/register_data.h"

namespace zelmar {

// How one register model differs from the rest. Every per-model rule of the program is a field
// here, so a new model is one row of the table in register_models.cpp; a model not in the
// table behaves as the default row.
struct ModelTraits {
    std::string_view code{};  // the two letters the register reports in its answer to "a"
    // The code the conversion works with after a register-data read; empty: the model's own.
    std::string_view convertedAs{};
    char serialTypeLetter = 'M';  // follows the first two characters of an RT serial

    // The conversion
    bool salesStartLine = false;      // "W" before the first sale (the test receipt's too)
    bool bareOpenCommand = false;     // OPEN gives "q/" without its number
    bool longInvoiceOpening = false;  // "3/F/OPENFAT//1/1/1//", not "3/F/OPENFAT//0/0/0/0"
    bool nonFiscalHeading = false;    // "7/1/20//" opens a non-fiscal document (heading option)
    bool invoiceHeadingAsJ = false;   // the customer heading is "J/" while an invoice is open
    bool sevenLineHeading = false;    // the whole customer heading; otherwise its first three lines
    bool paddedHeading = false;       // the seven-line heading ends with " / /"
    bool printsBarcodes = false;      // BARC lines become barcode commands
    bool customerCodeCommand = false;  // the customer's fiscal code goes as "I/{code}/0" ...
    bool customerCodeLine = true;      // ... or else as a "7/1/2/" line, or else as "'"
    bool otherPaymentNumbers = false;  // cheque 2, card 3, credit without a kind 10
    bool wideDescriptions = false;     // sale descriptions of the wide width

    // The link
    bool longSixthHeadingLine = false;  // a "j" heading rebuilt after a refusal ends "/ / / /"
    bool busyAlsoOn0E = false;          // answer code 0x0E means busy, not refused
    bool slowAfterNak = false;          // the longer pause before a frame the register NAKed
    bool drainsAfterSilentEnquiries = false;  // bytes but no ACK to the ENQs: pause and drain
    bool resetAfterRefusedW = false;  // a refused "W" means the register resets: reopen the port
};

// The row of `code`; the default row for a code not in the table.
const ModelTraits& TraitsOfModel(std::string_view code);

// The traits of the register `reg` describes: its model's row, except that a register whose
// description starts with "ED" takes the sales start line and the seven-line heading and never
// prints the customer's code as a line, whatever its model.
ModelTraits TraitsOfRegister(const RegisterData& reg);

}  // namespace zelmar
