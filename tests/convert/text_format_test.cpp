#include "convert/text_format.h"

#include <gtest/gtest.h>

namespace zelmar::convert {
namespace {

TEST(FormatAmount, SplitsHundredthsWithoutRounding) {
    using Amount = std::pair<const char*, const char*>;
    for (const auto& [amount, expected] :
         {Amount{"5", "0.05"}, Amount{"0", "0.00"}, Amount{"12", "0.12"}, Amount{"150", "1.50"},
          Amount{"100000", "1000.00"}, Amount{"007", "0.07"}, Amount{"-5", "-0.05"},
          Amount{"-1250", "-12.50"},
          // Fractions of a hundredth round half up; anything else leaves the field empty.
          Amount{"10.5", "0.11"}, Amount{"10.4", "0.10"}, Amount{"999.5", "10.00"},
          Amount{"5.", "0.05"}, Amount{"", ""}, Amount{"-", ""}, Amount{"abc", ""},
          Amount{"1.2.3", ""}, Amount{"1e3", ""}})
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
