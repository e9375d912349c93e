#include "link/trace_files.h"

#include <cstdio>

#include "common/paths.h"

namespace zelmar::link {
namespace {

std::string MonthFolderName(const platform::LocalDateTime& t) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "TRACE_%04d%02d", t.year, t.month);
    return buffer;
}

std::string TraceFileName(const platform::LocalDateTime& t, const char* extension) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "TRACE_%04d%02d%02d_%02d%02d%02d%s", t.year, t.month,
                  t.day, t.hour, t.minute, t.second, extension);
    return buffer;
}

}  // namespace

std::string TimeStamp(const platform::LocalDateTime& t) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d_%02d%02d%02d <--> ", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return buffer;
}

TraceFilePaths TraceFilePathsNow(platform::FileSystem& files, const platform::EventLoop& clock,
                                 const std::string& dataFolder) {
    std::string folder = JoinPath(dataFolder, MonthFolderName(clock.localNow()));
    if (!files.makeFolder(folder)) folder = dataFolder;
    TraceFilePaths paths;
    paths.tracePath = JoinPath(folder, TraceFileName(clock.localNow(), ".TXT"));
    paths.logPath = JoinPath(folder, TraceFileName(clock.localNow(), ".log"));
    return paths;
}

TraceFiles::TraceFiles(const Session& session, platform::EventLoop& clock,
                       platform::FileSystem& files)
    : session_(session), clock_(clock), files_(files) {}

std::string TraceFiles::GetTimeStamp() const {
    return TimeStamp(clock_.localNow());
}

bool TraceFiles::tracing() const {
    return open_ && session_.options.TraceOn;
}

void TraceFiles::traceLine(const std::string& markerAndText) {
    if (!tracing()) return;
    // Appended and closed at once: a technician finds every line on disk even after a crash.
    files_.writeLines(paths_.tracePath, {GetTimeStamp() + markerAndText}, true);
}

void TraceFiles::AddLogLine(const std::string& message) {
    if (session_.options.TraceOn) logLines_.push_back(GetTimeStamp() + message);
}

void TraceFiles::ClearLogLines() {
    logLines_.clear();
}

void TraceFiles::OpenTraceFiles() {
    if (session_.options.TraceOn) OpenTrace(TraceFilePathsNow(files_, clock_, session_.DataFolder));
}

void TraceFiles::OpenTrace(const TraceFilePaths& paths) {
    paths_ = paths;
    open_ = files_.writeBytes(paths_.tracePath, "");
}

void TraceFiles::CloseTraceFiles(bool writeLogLines) {
    if (!open_) return;
    if (writeLogLines && session_.options.TraceOn && !logLines_.empty()) {
        files_.writeLines(paths_.logPath, logLines_, false);
    }
    open_ = false;
}

}  // namespace zelmar::link
