#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "common/register_data.h"

namespace zelmar::app {

// zelmar1 --convert JOBFILE [--register FILE] [--option NAME]... [--data-dir DIR]
// Converts a job as slot 1 would and prints the register command lines, one per line ended by
// LF, as Windows-1252 bytes. Exit status 0 converted, 1 conversion failed, 2 usage error.
int RunConvertDryRun(int argc, char** argv);

// The same with the arguments after the program name and the output streams given.
int RunConvertDryRun(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Reads a register description of key=value lines (model, description, rt, serial,
// max_operator, dept.N=VAT,NATURE) over the defaults. False with a message for a bad file.
bool ReadRegisterDescription(const std::string& path, RegisterData& reg, std::string& error);

}  // namespace zelmar::app
