#pragma once

#include <string>

#include "platform/event_loop.h"
#include "platform/file_system.h"

namespace zelmar::app {

// The two files of one traced job or register-data read.
struct TraceFileNames {
    std::string tracePath;  // TRACE_yyyymmdd_hhmmss.TXT, opened (emptied) at the start
    std::string logPath;    // TRACE_yyyymmdd_hhmmss.log, written at the end when it has lines
};

// The trace writer's side that the job cycle drives: the link's trace writer implements it.
class TraceFiles {
  public:
    virtual ~TraceFiles() = default;
    // Every job attempt starts a new, empty collection of log lines.
    virtual void NewLogLines() = 0;
    // Opens the trace file for output and remembers the log file's name; the writer closes
    // both at the end of the job or read.
    virtual void OpenTrace(const TraceFileNames& names) = 0;
};

// Names the trace files of this moment in the month folder TRACE_yyyymm of the data folder,
// creating the folder when missing; when it cannot be created the data folder holds them.
// The clock is read again for the log name, so the two names may differ by a second.
TraceFileNames PrepareTraceFileNames(platform::FileSystem& files, platform::EventLoop& clock,
                                     const std::string& dataFolder);

}  // namespace zelmar::app
