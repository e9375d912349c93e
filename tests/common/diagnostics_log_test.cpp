#include "common/diagnostics_log.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>

#include "common/logging_trace_sink.h"

namespace zelmar {
namespace {

TEST(DiagnosticsLog, ThresholdPassesTheLevelAndEveryWorseOne) {
    // threshold, journal prefix, the lines written at error, warning, info and debug
    const std::tuple<LogLevel, bool, std::string> cases[] = {
        {LogLevel::kError, false, "error: e\n"},
        {LogLevel::kWarning, false, "error: e\nwarning: w\n"},
        {LogLevel::kInfo, true, "<3>error: e\n<4>warning: w\n<6>info: i\n"},
        {LogLevel::kDebug, false, "error: e\nwarning: w\ninfo: i\ndebug: d\n"},
    };
    for (const auto& [threshold, prefix, expected] : cases) {
        std::ostringstream out;
        StreamLog log(out, threshold, prefix);
        log.write(LogLevel::kError, "e");
        log.write(LogLevel::kWarning, "w");
        log.write(LogLevel::kInfo, "i");
        log.write(LogLevel::kDebug, "d");
        EXPECT_EQ(out.str(), expected) << LogLevelWord(threshold);
        EXPECT_EQ(ParseLogLevel(LogLevelWord(threshold)), threshold);
    }
}

// The trace files' sink, its box ticked or not.
class RecordingTrace : public TraceSink {
  public:
    bool boxTicked = false;
    int lines = 0;
    bool tracing() const override { return boxTicked; }
    void traceLine(const std::string&) override { ++lines; }
};

TEST(LoggingTraceSink, DebugShowsEachExchangeAsOneLineWhateverTheTraceBox) {
    // log threshold, trace box, tracing() as the link sees it, the log, the trace file's lines
    const std::tuple<LogLevel, bool, bool, std::string, int> cases[] = {
        {LogLevel::kInfo, false, false, "", 0},
        {LogLevel::kInfo, true, true, "", 1},
        {LogLevel::kDebug, false, true, "debug: <-- 00/  CAFF\xC3\x88 \xE2\x82\xAC\n", 0},
    };
    for (const auto& [threshold, boxTicked, tracing, logged, fileLines] : cases) {
        RecordingTrace files;
        files.boxTicked = boxTicked;
        std::ostringstream out;
        StreamLog log(out, threshold, false);
        LoggingTraceSink sink(files, log);
        EXPECT_EQ(sink.tracing(), tracing);
        sink.traceLine(" <-- 00/\r\nCAFF\xC8 \x80");  // Windows-1252: È, €
        EXPECT_EQ(std::pair(out.str(), files.lines), std::pair(logged, fileLines));
    }
}

}  // namespace
}  // namespace zelmar
