#include "convert/fiscal_checks.h"

#include <array>
#include <cstddef>

#include "common/text_helpers.h"

namespace zelmar::convert {
namespace {

constexpr std::size_t kFiscalCodeLength = 16;
constexpr std::size_t kVatNumberLength = 11;

// Values of the letters A..Z at odd positions (1, 3, ... 15) of a fiscal code, from the
// published check-character rule. Digits 0..9 are first mapped to the letters A..J.
constexpr std::array<int, 26> kOddPositionValue{1,  0,  5, 7, 9, 13, 15, 17, 19, 21, 2,  4,  18,
                                                20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};

// Alphabet index of a letter or of a digit taken as the letter A..J; -1 for anything else.
int LetterIndex(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (IsDigit(c)) return c - '0';
    return -1;
}

}  // namespace

bool CheckCodiceFiscale(const std::string& text) {
    if (text.size() != kFiscalCodeLength) return false;
    int sum = 0;
    for (std::size_t i = 0; i + 1 < kFiscalCodeLength; ++i) {
        const int k = LetterIndex(UpperAscii(text[i]));
        if (k < 0) return false;
        const bool oddPosition = (i % 2) == 0;  // positions are counted from 1
        sum += oddPosition ? kOddPositionValue[static_cast<std::size_t>(k)] : k;
    }
    const char expected = static_cast<char>('A' + sum % 26);
    return UpperAscii(text[kFiscalCodeLength - 1]) == expected;
}

bool CheckPartitaIva(const std::string& text) {
    std::string digits = text;
    while (!digits.empty() && digits.back() == ' ') digits.pop_back();
    if (digits.size() != kVatNumberLength) return false;
    int sum = 0;
    for (std::size_t i = 0; i < kVatNumberLength; ++i) {
        if (!IsDigit(digits[i])) return false;
    }
    for (std::size_t i = 0; i + 1 < kVatNumberLength; ++i) {
        const int d = digits[i] - '0';
        if (i % 2 == 0) {
            sum += d;
        } else {
            const int doubled = 2 * d;
            sum += doubled > 9 ? doubled - 9 : doubled;
        }
    }
    const int check = (10 - sum % 10) % 10;
    return digits[kVatNumberLength - 1] - '0' == check;
}

}  // namespace zelmar::convert
