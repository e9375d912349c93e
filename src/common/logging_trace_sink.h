#pragma once

#include <string>

#include "common/diagnostics_log.h"
#include "common/trace_sink.h"

namespace zelmar {

// The technician's trace, also shown in the diagnostics log at debug level: each command line
// sent (" --> ") and each answer (" <-- ") of every job and register-data read, whether or not
// the trace box is ticked. The trace files get exactly what they got without it.
class LoggingTraceSink : public TraceSink {
  public:
    LoggingTraceSink(TraceSink& files, DiagnosticsLog& log) : files_(files), log_(log) {}

    bool tracing() const override;
    void traceLine(const std::string& markerAndText) override;
    void AddLogLine(const std::string& message) override;
    void ClearLogLines() override { files_.ClearLogLines(); }

  private:
    TraceSink& files_;
    DiagnosticsLog& log_;
};

}  // namespace zelmar
