#include "convert/fiscal_checks.h"

#include <gtest/gtest.h>

#include <string>

namespace zelmar::convert {
namespace {

struct CodeCase {
    const char* text;
    bool valid;
};

class FiscalCodeTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(FiscalCodeTest, ChecksTheCheckCharacter) {
    EXPECT_EQ(CheckCodiceFiscale(GetParam().text), GetParam().valid) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Codes, FiscalCodeTest,
    ::testing::Values(CodeCase{"RSSMRA85T10A562S", true}, CodeCase{"rssmra85t10a562s", true},
                      CodeCase{"BNCGVN70A01F205K", true}, CodeCase{"VRDLGU80A01H501Q", true},
                      CodeCase{"RSSMRA85T10A562T", false},   // wrong check letter
                      CodeCase{"RSSMRA85T10A562", false},    // 15 characters
                      CodeCase{"RSSMRA85T10A562SX", false},  // 17 characters
                      CodeCase{" RSSMRA85T10A562S", false},  // no trimming
                      CodeCase{"RSSMRA85T10A56-S", false},   // punctuation among the first 15
                      CodeCase{"RSSMRA85T10A5\xe8"
                               "2S",
                               false},  // accented letter
                      CodeCase{"", false}));

class VatNumberTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(VatNumberTest, ChecksTheCheckDigit) {
    EXPECT_EQ(CheckPartitaIva(GetParam().text), GetParam().valid) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, VatNumberTest,
    ::testing::Values(CodeCase{"01234567897", true}, CodeCase{"12345678903", true},
                      CodeCase{"02114430883", true}, CodeCase{"00000000000", true},
                      CodeCase{"01234567897   ", true},  // trailing spaces are removed
                      CodeCase{" 01234567897", false},   // a leading one is not
                      CodeCase{"01234567890", false},    // wrong check digit
                      CodeCase{"0123456789A", false}, CodeCase{"0123456789", false},
                      CodeCase{"012345678970", false}, CodeCase{"", false}));

}  // namespace
}  // namespace zelmar::convert
