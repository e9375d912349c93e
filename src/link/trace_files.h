#pragma once

#include <string>
#include <vector>

#include "common/session.h"
#include "common/trace_sink.h"
#include "link/transmission.h"
#include "platform/event_loop.h"
#include "platform/file_system.h"

namespace zelmar::link {

// The two files of one traced job or register-data read.
struct TraceFilePaths {
    std::string tracePath;  // TRACE_yyyymmdd_hhmmss.TXT
    std::string logPath;    // TRACE_yyyymmdd_hhmmss.log (the clock is read again for it)
};

// Names the files of this moment in the month folder TRACE_yyyymm of `dataFolder`, creating
// the folder when missing; the data folder itself when the folder cannot be made.
TraceFilePaths TraceFilePathsNow(platform::FileSystem& files, const platform::EventLoop& clock,
                                 const std::string& dataFolder);

// "YYYYMMDD_hhmmss <--> " of the given moment.
std::string TimeStamp(const platform::LocalDateTime& t);

// The technician's record of the exchanges: one trace file per job or register-data read,
// written line by line while open and the trace box is ticked, and the ".log" file of the
// network transport's lines, written when the job or read ends.
class TraceFiles : public TraceSink, public TraceFileControl {
  public:
    TraceFiles(const Session& session, platform::EventLoop& clock, platform::FileSystem& files);

    std::string GetTimeStamp() const;

    // TraceSink
    bool tracing() const override;
    void traceLine(const std::string& markerAndText) override;
    void AddLogLine(const std::string& message) override;
    void ClearLogLines() override;

    // With the trace box ticked: names the files in Session::DataFolder and opens the trace.
    void OpenTraceFiles() override;
    // Writes the log file (when asked and it has lines), then closes the trace file.
    void CloseTraceFiles(bool writeLogLines) override;

    // Opens (creates or empties) the trace file and remembers the log file's name.
    void OpenTrace(const TraceFilePaths& paths);
    bool isOpen() const { return open_; }  // the "file number is -1" state when false
    const TraceFilePaths& paths() const { return paths_; }

  private:
    const Session& session_;
    platform::EventLoop& clock_;
    platform::FileSystem& files_;
    TraceFilePaths paths_;
    bool open_ = false;
    std::vector<std::string> logLines_;
};

}  // namespace zelmar::link
