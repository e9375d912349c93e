#pragma once

#include <string>

#include "common/session.h"
#include "common/trace_sink.h"

namespace zelmar::convert {

// Turns one job file into the register's command file (Micrel.txt in the data folder), using
// the register data and options of the session, and leaves the conversion flags in
// Session::conv for the transmission driver.
class Converter {
  public:
    Converter(Session& session, TraceSink& trace);

    // 0 when the command file was written, 1 otherwise. With the keystroke option ticked the
    // path is replaced by the path of the job made from the keystrokes.
    int ConvertJobFile(std::string& path);

  private:
    void ClearSharedFlags();
    void TraceMissingJob(const std::string& path);
    void TraceJobLines(const std::vector<std::string>& lines);

    Session& session_;
    TraceSink& trace_;
};

// The file that a READ line asks the register data to be written into: the ":" field (one
// pair of surrounding double quotes removed) as a path when it holds a folder separator, else
// a name in the data folder; without an extension the slot's ".00n" is added.
std::string ResolveReadFileName(const std::string& line, const std::string& dataFolder, int slot);

}  // namespace zelmar::convert
