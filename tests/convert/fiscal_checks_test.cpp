#include "convert/fiscal_checks.h"

#include <gtest/gtest.h>

namespace zelmar::convert {
namespace {

TEST(FiscalChecks, FiscalCodeCheckCharacter) {
    const std::pair<const char*, bool> cases[] = {
        {"RSSMRA85T10A562S", true},
        {"rssmra85t10a562s", true},
        {"BNCGVN70A01F205K", true},
        {"RSSMRA85T10A562T", false},   // wrong check letter
        {"RSSMRA85T10A562", false},    // 15 characters
        {"RSSMRA85T10A562SX", false},  // 17 characters
        {" RSSMRA85T10A562S", false},  // no trimming
        {"RSSMRA85T10A56-S", false},   // punctuation among the first 15
        {"RSSMRA85T10A5\xe8"
         "2S",
         false},  // accented letter
        {"", false}};
    for (const auto& [text, valid] : cases) EXPECT_EQ(CheckCodiceFiscale(text), valid) << text;
}

TEST(FiscalChecks, VatNumberCheckDigit) {
    const std::pair<const char*, bool> cases[] = {
        {"01234567897", true},   {"02114430883", true},
        {"00000000000", true},   {"01234567897   ", true},  // trailing spaces are removed
        {" 01234567897", false},                            // a leading one is not
        {"01234567890", false},                             // wrong check digit
        {"0123456789A", false},  {"0123456789", false},
        {"012345678970", false}, {"", false}};
    for (const auto& [text, valid] : cases) EXPECT_EQ(CheckPartitaIva(text), valid) << text;
}

}  // namespace
}  // namespace zelmar::convert
