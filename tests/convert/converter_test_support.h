#pragma once

#include <map>
#include <string>
#include <vector>

#include "common/session.h"
#include "common/trace_sink.h"
#include "config/scratch_folder.h"

namespace zelmar::convert::testing {

using zelmar::testing::ScratchFolder;

// A trace sink with its box unticked.
class NoTrace : public TraceSink {
  public:
    bool tracing() const override { return false; }
    void traceLine(const std::string&) override {}
};

// A session on a plain register: model RX, fiscal memory (not RT), serial 99012345, ten
// departments plus the spare entry the register-data read keeps, no VAT natures.
Session MakeSession(const std::string& dataFolder);

struct JobOutcome {
    int result = -1;
    std::vector<std::string> commands;  // Micrel.txt as written (empty when absent)
    bool commandFileExists = false;
};

// Writes the job lines into SR_DATI.001 of the session's data folder and converts it.
JobOutcome ConvertJob(Session& session, const std::vector<std::string>& job);

// One case of the golden files (golden/*.txt, refund_rewrite/*.txt), whose syntax is, one item
// per line:
//   === name          starts a case
//   @ key=value       set-up ("@ key" alone: key=1)
//   > text            one job line (">" alone: an empty job line)
//   < text            one expected line, in order
//   # text            comment
struct GoldenCase {
    std::string name;  // the file's and the case's
    std::map<std::string, std::string> setup;
    std::vector<std::string> job, expected;
};

// Every case of every file in `folder` (below tests/convert), the files in name order.
std::vector<GoldenCase> GoldenCases(const std::string& folder);

}  // namespace zelmar::convert::testing
