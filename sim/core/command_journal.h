#pragma once

#include <fstream>
#include <string>
#include <vector>

namespace ecrsim {

// Every command line the register accepted, in order: kept in memory and, when a file is
// given, appended to it one line each (CR LF, like the driver's own command file, so the two
// compare byte for byte). The file is flushed per line so a test can read it while we run.
// Memory keeps only the most recent lines, so a long-running demo does not grow; the file
// keeps them all.
class CommandJournal {
  public:
    bool openFile(const std::string& path);  // appends; false when it cannot be opened
    void record(const std::string& commandLine);
    const std::vector<std::string>& lines() const { return lines_; }
    void clear() { lines_.clear(); }

    static constexpr std::size_t kMemoryLines = 10000;

  private:
    std::vector<std::string> lines_;
    std::ofstream file_;
};

}  // namespace ecrsim
