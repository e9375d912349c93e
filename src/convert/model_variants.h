#pragma once

#include "common/register_data.h"

// Which command variant a register model takes. Model codes are the two letters the
// register reports; the groups are fixed by the registers' firmware families.
namespace zelmar::convert {

// "W" before the first sale: models whose description starts with "ED", and model VT.
bool TakesSalesStartLine(const RegisterData& reg);

// OPEN gives a bare "q/" on these models, "q/n" elsewhere.
bool TakesBareOpenCommand(const std::string& modelCode);

// Invoice opening "3/F/OPENFAT//1/1/1//" instead of "3/F/OPENFAT//0/0/0/0".
bool TakesLongInvoiceOpening(const std::string& modelCode);

// "7/1/20//" heading when a non-fiscal document opens (with the heading option ticked).
bool TakesNonFiscalHeading(const std::string& modelCode);

// Customer heading sent as "J" while an invoice is open ("j" otherwise).
bool IsHeadingGroup(const std::string& modelCode);

// Customer heading of three lines only.
bool TakesShortHeading(const RegisterData& reg);

// Seven-line customer heading followed by " / /".
bool IsPaddedHeadingGroup(const std::string& modelCode);

// Models that print barcodes.
bool IsBarcodeGroup(const std::string& modelCode);

// Customer fiscal code sent as "I/{code}/0".
bool TakesCustomerCodeCommand(const std::string& modelCode);

// Customer fiscal code printed as a "7/1/2/" line (otherwise sent as a "'" command).
bool PrintsCustomerCode(const RegisterData& reg);

// Payment numbers that differ on model NA.
bool IsModelNa(const std::string& modelCode);

}  // namespace zelmar::convert
