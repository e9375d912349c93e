#pragma once

#include <string_view>

// Character tests and trimming for the 8-bit texts of job files, settings and register
// answers: plain byte tests, where <cctype> wants an unsigned char and follows the locale.
namespace zelmar {

constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A blank of the job and settings files: a space or a tab.
constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// a..z to A..Z; every other byte, accented letters included, as it is.
constexpr char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Blanks (spaces and tabs) dropped from both ends.
std::string_view TrimBlanks(std::string_view text);

// Spaces only dropped from both ends: the fields of register answers and of job lines, where
// a tab is a character like any other.
std::string_view TrimSpaces(std::string_view text);

}  // namespace zelmar
