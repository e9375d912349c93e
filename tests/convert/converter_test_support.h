#pragma once

#include <string>
#include <vector>

#include "common/session.h"
#include "common/trace_sink.h"
#include "config/scratch_folder.h"

namespace zelmar::convert::testing {

using zelmar::testing::ScratchFolder;

// Trace sink that keeps the lines (without time stamps) for the test to read.
class RecordingTrace : public TraceSink {
  public:
    bool on = true;
    std::vector<std::string> lines;
    bool tracing() const override { return on; }
    void traceLine(const std::string& markerAndText) override { lines.push_back(markerAndText); }
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
// Traces into `trace` when one is given.
JobOutcome ConvertJob(Session& session, const std::vector<std::string>& job,
                      TraceSink* trace = nullptr);

}  // namespace zelmar::convert::testing
