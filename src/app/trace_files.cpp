#include "app/trace_files.h"

#include <cstdio>

#include "common/paths.h"

namespace zelmar::app {
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

TraceFileNames PrepareTraceFileNames(platform::FileSystem& files, platform::EventLoop& clock,
                                     const std::string& dataFolder) {
    std::string folder = JoinPath(dataFolder, MonthFolderName(clock.localNow()));
    if (!files.folderExists(folder)) files.makeFolder(folder);
    if (!files.folderExists(folder)) folder = dataFolder;
    TraceFileNames names;
    names.tracePath = JoinPath(folder, TraceFileName(clock.localNow(), ".TXT"));
    names.logPath = JoinPath(folder, TraceFileName(clock.localNow(), ".log"));
    return names;
}

}  // namespace zelmar::app
