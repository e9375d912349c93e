#pragma once

#include <string>

namespace zelmar::link {

// What the network transport does with a reply, by the action class of its result code.
inline constexpr int kClassNone = 0;          // accepted
inline constexpr int kClassBusy = 1;          // send the same command again after a pause
inline constexpr int kClassWrongCommand = 2;  // refused: the command itself is wrong
inline constexpr int kClassPaperOrCover = 4;  // the operator must change the roll or shut it
inline constexpr int kClassDeviceFault = 9;   // the register needs service

// Turns the register's result-code field into its message and action class. `code` is read as
// hexadecimal ("1A" is 26, "12" is 18; blanks around it are ignored, an empty text is 0, and
// the reading stops at the first character that is not a hexadecimal digit) and is replaced
// by the code in decimal. Codes 1 to 89 have the register's own message; 0 and 90 to 99 none
// (class 0); 100 and above "Errore n. " and the code (class 0). Returns the action class.
int ErrorMessage(std::string& code, std::string& message);

}  // namespace zelmar::link
