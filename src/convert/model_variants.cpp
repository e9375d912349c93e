#include "convert/model_variants.h"

#include <initializer_list>
#include <string_view>

namespace zelmar::convert {

namespace {

bool IsOneOf(const std::string& code, std::initializer_list<std::string_view> models) {
    for (std::string_view model : models) {
        if (code == model) return true;
    }
    return false;
}

bool DescriptionStartsWithEd(const RegisterData& reg) {
    return reg.ModelDescription.compare(0, 2, "ED") == 0;
}

}  // namespace

bool TakesSalesStartLine(const RegisterData& reg) {
    return DescriptionStartsWithEd(reg) || reg.ModelCode == "VT";
}

bool TakesBareOpenCommand(const std::string& modelCode) {
    return IsOneOf(modelCode, {"TO", "AA", "AB", "TN", "PD", "VR", "GE", "CN", "GO"});
}

bool TakesLongInvoiceOpening(const std::string& modelCode) {
    return IsOneOf(modelCode, {"AA", "AB", "TN"});
}

bool TakesNonFiscalHeading(const std::string& modelCode) {
    return IsOneOf(modelCode, {"TN", "AA", "CA"});
}

bool IsHeadingGroup(const std::string& modelCode) {
    return IsOneOf(modelCode, {"AA", "AB", "TN", "PD", "VR"});
}

bool TakesShortHeading(const RegisterData& reg) {
    return !DescriptionStartsWithEd(reg) &&
           !IsOneOf(reg.ModelCode, {"VT", "AB", "AA", "BZ", "NA", "TN", "PD", "VR"});
}

bool IsPaddedHeadingGroup(const std::string& modelCode) {
    return IsOneOf(modelCode, {"VT", "BZ", "AA", "AB", "TN", "PD", "VR"});
}

bool IsBarcodeGroup(const std::string& modelCode) {
    return IsOneOf(modelCode, {"AA", "AB", "TN"});
}

bool TakesCustomerCodeCommand(const std::string& modelCode) {
    return IsOneOf(modelCode, {"AA", "AB", "TN", "PD", "CA", "VR"});
}

bool PrintsCustomerCode(const RegisterData& reg) {
    return !DescriptionStartsWithEd(reg) && reg.ModelCode != "NA";
}

bool IsModelNa(const std::string& modelCode) {
    return modelCode == "NA";
}

}  // namespace zelmar::convert
