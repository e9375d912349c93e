#pragma once

// Plain 8-bit text files (Windows-1252 bytes, never re-encoded), written with CR LF.
// No toolkit, so that every layer, the converter included, can use them.

#include <cstdint>
#include <string>
#include <vector>

#include "common/plain_file.h"

namespace zelmar {

// Every read and write goes through plain_file.h: a link is never followed.

// Reads the lines of a text file; accepts CR LF, LF or CR line ends. False when it cannot be
// read, is no regular file or holds more than maxBytes, which is found out before any of it is
// read.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines,
                   std::uintmax_t maxBytes = kAnyFileSize);

// Writes every line followed by CR LF, replacing (or appending to) the file. False on failure.
bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines,
                    bool append = false);

// Writes the bytes exactly as given, replacing the file.
bool WriteBytes(const std::string& path, const std::string& bytes);

// Writes the lines to a temporary file in the same folder and renames it over `path`,
// so a failure never leaves a truncated file behind.
bool ReplaceTextLinesAtomically(const std::string& path, const std::vector<std::string>& lines);

}  // namespace zelmar
