#pragma once

#include <string>
#include <vector>

namespace zelmar::convert {

// Turns a keystroke file into job command lines in outPath. False when the input is missing
// or empty, or the output is absent afterwards.
bool ConvertXonXoffFile(const std::string& inPath, const std::string& outPath);

// Walks the keystroke string and appends the command lines it stands for.
void ParseXonXoffKeys(const std::string& keys, std::vector<std::string>& out);

// Appends the line of a one-letter function key; false when c is not such a key.
bool EmitFunctionKey(char key, std::vector<std::string>& out);

}  // namespace zelmar::convert
