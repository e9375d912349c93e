#pragma once

#include <string>

namespace zelmar {

// Where the trace lines of a job or a register-data read go. The sink puts the time stamp in
// front of every line; writers pass the marker and the text (" --> " & command, ...).
class TraceSink {
  public:
    virtual ~TraceSink() = default;
    // True while the trace box is ticked and the job's trace file is open.
    virtual bool tracing() const = 0;
    virtual void traceLine(const std::string& markerAndText) = 0;
    // The network transport's step lines for the ".log" file (time stamp in front), kept while
    // the trace box is ticked. Sinks without a log file ignore them.
    virtual void AddLogLine(const std::string& message) { (void)message; }
    // Starts a new, empty collection of log lines (job start, network set-up).
    virtual void ClearLogLines() {}
};

}  // namespace zelmar
