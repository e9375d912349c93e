#include "convert/text_format.h"

#include <gtest/gtest.h>

namespace zelmar::convert {
namespace {

TEST(FormatAmount, SplitsHundredthsWithoutRounding) {
    const std::pair<const char*, const char*> cases[] = {
        {"5", "0.05"},
        {"7", "0.07"},
        {"0", "0.00"},
        {"12", "0.12"},
        {"99", "0.99"},
        {"150", "1.50"},
        {"1250", "12.50"},
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

TEST(TextFormat, NumbersTakenFromText) {
    EXPECT_EQ(LeadingNumber("  12abc"), 12);
    EXPECT_EQ(LeadingNumber("1.5"), 1.5);
    EXPECT_EQ(LeadingNumber("-3"), -3);
    EXPECT_EQ(LeadingNumber(""), 0);
    EXPECT_EQ(LeadingNumber("abc"), 0);
    for (const char* numeric : {"12", " 1.5 ", "-2", "0.", ".5"}) EXPECT_TRUE(IsNumeric(numeric));
    for (const char* other : {"", " ", "1a", ".", "1.2.3", "-"}) EXPECT_FALSE(IsNumeric(other));
    EXPECT_EQ(NumberText(12), "12");
    EXPECT_EQ(NumberText(2.5), "2.5");
    EXPECT_EQ(NumberText(0), "0");
    long long n = 0;
    EXPECT_TRUE(IsWholeNumber("0012", n));
    EXPECT_EQ(n, 12);
    EXPECT_FALSE(IsWholeNumber("1.5", n));
    EXPECT_FALSE(IsWholeNumber("99999999999999999999", n));
}

TEST(TextFormat, DatesDocumentNumbersAndCuts) {
    EXPECT_EQ(DateWithCentury("010424"), "01042024");
    EXPECT_EQ(DocumentNumberFields("00120034"), "/12/34");
    EXPECT_EQ(DocumentNumberFields("00000000"), "/0/0");
    // Short texts never read past their end.
    EXPECT_EQ(DateWithCentury("01"), "0120");
    EXPECT_EQ(DocumentNumberFields("12"), "/12/0");
    EXPECT_EQ(Mid("abc", 5), "");
    EXPECT_EQ(CutTo("abc", 10), "abc");
    EXPECT_EQ(ReplaceText("TOTALE TOTALE", "TOTALE", "TOT.  "), "TOT.   TOT.  ");
    EXPECT_EQ(ReplaceChar("A/B/C", '/', '~'), "A~B~C");
}

}  // namespace
}  // namespace zelmar::convert
