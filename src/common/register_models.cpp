#include "common/register_models.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace zelmar {
namespace {

// clang-format off
constexpr ModelTraits kModels[] = {
    {.code = "AA", .bareOpenCommand = true, .longInvoiceOpening = true, .nonFiscalHeading = true,
     .invoiceHeadingAsJ = true, .sevenLineHeading = true, .paddedHeading = true,
     .printsBarcodes = true, .customerCodeCommand = true, .longSixthHeadingLine = true},
    {.code = "AB", .bareOpenCommand = true, .longInvoiceOpening = true, .invoiceHeadingAsJ = true,
     .sevenLineHeading = true, .paddedHeading = true, .printsBarcodes = true,
     .customerCodeCommand = true, .longSixthHeadingLine = true},
    {.code = "BZ", .sevenLineHeading = true, .paddedHeading = true, .longSixthHeadingLine = true},
    {.code = "CA", .convertedAs = "AA", .nonFiscalHeading = true, .customerCodeCommand = true},
    {.code = "CE", .busyAlsoOn0E = true},
    {.code = "CN", .serialTypeLetter = 'I', .bareOpenCommand = true},
    {.code = "GE", .serialTypeLetter = 'I', .bareOpenCommand = true},
    {.code = "GO", .serialTypeLetter = 'I', .bareOpenCommand = true},
    {.code = "NA", .sevenLineHeading = true, .customerCodeLine = false, .otherPaymentNumbers = true},
    {.code = "PD", .convertedAs = "AA", .bareOpenCommand = true, .invoiceHeadingAsJ = true,
     .sevenLineHeading = true, .paddedHeading = true, .customerCodeCommand = true},
    {.code = "TN", .bareOpenCommand = true, .longInvoiceOpening = true, .nonFiscalHeading = true,
     .invoiceHeadingAsJ = true, .sevenLineHeading = true, .paddedHeading = true,
     .printsBarcodes = true, .customerCodeCommand = true, .wideDescriptions = true,
     .longSixthHeadingLine = true},
    {.code = "TO", .bareOpenCommand = true},
    {.code = "VR", .convertedAs = "PD", .serialTypeLetter = 'E', .bareOpenCommand = true,
     .invoiceHeadingAsJ = true, .sevenLineHeading = true, .paddedHeading = true,
     .customerCodeCommand = true},
    {.code = "VT", .salesStartLine = true, .sevenLineHeading = true, .paddedHeading = true,
     .longSixthHeadingLine = true, .slowAfterNak = true, .drainsAfterSilentEnquiries = true,
     .resetAfterRefusedW = true},
};
// clang-format on

constexpr ModelTraits kOtherModels{};

// A second row for the same code would never be found.
constexpr bool CodesAreUnique() {
    for (std::size_t i = 0; i < std::size(kModels); ++i) {
        for (std::size_t j = i + 1; j < std::size(kModels); ++j) {
            if (kModels[i].code == kModels[j].code) return false;
        }
    }
    return true;
}
static_assert(CodesAreUnique(), "a model code appears twice in the table");

}  // namespace

const ModelTraits& TraitsOfModel(std::string_view code) {
    const auto row = std::find_if(std::begin(kModels), std::end(kModels),
                                  [code](const ModelTraits& model) { return model.code == code; });
    return row == std::end(kModels) ? kOtherModels : *row;
}

ModelTraits TraitsOfRegister(const RegisterData& reg) {
    ModelTraits traits = TraitsOfModel(reg.ModelCode);
    if (reg.ModelDescription.starts_with("ED")) {
        traits.salesStartLine = true;
        traits.sevenLineHeading = true;
        traits.customerCodeLine = false;
    }
    return traits;
}

}  // namespace zelmar
