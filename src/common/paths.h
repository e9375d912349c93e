#pragma once

#include <string>

namespace zelmar {

// The folder separator of the platform: file names are always built as folder, separator, name.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// folder + separator + name; a name that already starts with a separator is appended as is.
std::string JoinPath(const std::string& folder, const std::string& name);

// ".001" ... ".004": the file extension of a slot.
std::string SlotExtension(int slot);

// Work files of the data folder around a job.
inline constexpr const char* kCommandFileName = "Micrel.txt";        // the job's command lines
inline constexpr const char* kLastCommandFileName = "micrell.txt";   // those of the last job
inline constexpr const char* kKeystrokeJobName = "tempSL.txt";       // a job made from keystrokes
inline constexpr const char* kReadDefaultName = "DataReceived.txt";  // READ without a name

}  // namespace zelmar
