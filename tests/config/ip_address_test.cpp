#include "config/ip_address.h"

#include <gtest/gtest.h>

#include "config/numeric_text.h"

namespace zelmar::config {
namespace {

TEST(IpAddress, DottedDecimalWithFourNumbersUpTo255) {
    struct Case {
        const char* address;
        bool valid;
    };
    const Case cases[] = {
        {"10.0.0.255", true}, {"192.168.1.20", true}, {"10.0.0.256", false}, {"10.0.0", false},
        {"10.0.0.1.7", true}, {"10. 0.0.1", true},    {"-1.0.0.1", true},    {"", false},
        {"10..0.1", false},   {"10.0.0.", false},     {"a.b.c.d", false},    {"10.0.0.1x", false},
        {"1e2.0.0.1", true},  {"1e3.0.0.1", false},   {"10.0.0.1.x", true},  {"\xe0.0.0.1", false},
        {"...", false},       {"10.0.0.1 ", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsValidIPAddress(c.address), c.valid) << '"' << c.address << '"';
    }
}

TEST(NumericText, RunTimeNumberFormsAndWholeNumbers) {
    struct Case {
        const char* text;
        bool numeric;
        double value;
    };
    const Case cases[] = {
        {" 12 ", true, 12}, {"+3", true, 3},    {"-4", true, -4},  {"1.5", true, 1.5},
        {"1,5", true, 1.5}, {"2E1", true, 20},  {".5", true, 0.5}, {"", false, 0},
        {" ", false, 0},    {"1e", false, 0},   {"12a", false, 0}, {"-", false, 0},
        {"1 2", false, 0},  {"\x80", false, 0},
    };
    for (const auto& c : cases) {
        double value = 0;
        EXPECT_EQ(IsNumericText(c.text, value), c.numeric) << '"' << c.text << '"';
        if (c.numeric) {
            EXPECT_DOUBLE_EQ(value, c.value) << c.text;
        }
    }
    long whole = 0;
    EXPECT_TRUE(ParseWholeNumber(" 65535 ", 65535, whole));
    EXPECT_EQ(whole, 65535);
    EXPECT_FALSE(ParseWholeNumber("65536", 65535, whole));
    EXPECT_FALSE(ParseWholeNumber("99999999999999999999999", 65535, whole));
    EXPECT_FALSE(ParseWholeNumber("-1", 65535, whole));
    EXPECT_FALSE(ParseWholeNumber("", 65535, whole));
}

}  // namespace
}  // namespace zelmar::config
