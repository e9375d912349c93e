#include "convert/text_format.h"

#include <gtest/gtest.h>

namespace zelmar::convert {
namespace {

TEST(FormatAmount, SplitsHundredthsWithoutRounding) {
    const std::pair<const char*, const char*> cases[] = {
        {"5", "0.05"},
        {"0", "0.00"},
        {"12", "0.12"},
        {"150", "1.50"},
        {"100000", "1000.00"},
        {"007", "0.07"},
        {"-5", "-0.05"},
        {"-1250", "-12.50"},
        // Fractions of a hundredth round half up; anything else leaves the field empty.
        {"10.5", "0.11"},
        {"10.4", "0.10"},
        {"999.5", "10.00"},
        {"5.", "0.05"},
        {"", ""},
        {"-", ""},
        {"abc", ""},
        {"1.2.3", ""},
        {"1e3", ""},
    };
    for (const auto& [amount, expected] : cases)
        EXPECT_EQ(FormatAmount(amount), expected) << amount;
}

// Short texts never read past their end.
TEST(TextFormat, DatesAndDocumentNumbersOfShortTexts) {
    EXPECT_EQ(DateWithCentury("010424"), "01042024");
    EXPECT_EQ(DateWithCentury("01"), "0120");
    EXPECT_EQ(DocumentNumberFields("00120034"), "/12/34");
    EXPECT_EQ(DocumentNumberFields("12"), "/12/0");
    EXPECT_EQ(Mid("abc", 5), "");
}

}  // namespace
}  // namespace zelmar::convert
