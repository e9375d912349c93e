#include "common/diagnostics_log.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "common/logging_trace_sink.h"
#include "common/utf8_text.h"

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
    EXPECT_EQ(ParseLogLevel("Info"), std::nullopt);
    EXPECT_EQ(ParseLogLevel(""), std::nullopt);
    EXPECT_FALSE(NoDiagnosticsLog().enabled(LogLevel::kError));
}

TEST(DiagnosticsLog, AnAnswerWithLineBreaksStaysOneLine) {
    std::ostringstream out;
    StreamLog(out, LogLevel::kInfo, false).write(LogLevel::kInfo, "00/\r\n01\r");
    EXPECT_EQ(out.str(), "info: 00/  01 \n");
}

TEST(Utf8Text, Windows1252BytesBecomeTheirCharacters) {
    // ASCII; è from the Latin-1 half; € from the 0x80 row; Ÿ and ÿ at both ends of the upper
    // half; the undefined 0x81 and 0x9D keep their number
    const std::pair<std::string, std::string> cases[] = {
        {"CAFFE 1/3", "CAFFE 1/3"},       {"Caff\xE8", "Caff\xC3\xA8"},
        {"\x80 5", "\xE2\x82\xAC 5"},     {"\x9F\xFF", "\xC5\xB8\xC3\xBF"},
        {"\x81\x9D", "\xC2\x81\xC2\x9D"},
    };
    for (const auto& [bytes, utf8] : cases) EXPECT_EQ(Utf8FromWindows1252(bytes), utf8) << utf8;
}

// A trace sink of the trace files, its box ticked or not.
class RecordingTrace : public TraceSink {
  public:
    bool boxTicked = false;
    std::vector<std::string> lines;
    bool tracing() const override { return boxTicked; }
    void traceLine(const std::string& line) override { lines.push_back(line); }
};

TEST(LoggingTraceSink, DebugShowsTheExchangesWhateverTheTraceBox) {
    // log threshold, trace box, tracing() seen by the link, the log, the trace file's lines
    const std::tuple<LogLevel, bool, bool, std::string, std::size_t> cases[] = {
        {LogLevel::kInfo, false, false, "", 0},
        {LogLevel::kInfo, true, true, "", 1},
        {LogLevel::kDebug, false, true, "debug: --> 3/S/CAFF\xC3\x88\n", 0},
        {LogLevel::kDebug, true, true, "debug: --> 3/S/CAFF\xC3\x88\n", 1},
    };
    for (const auto& [threshold, boxTicked, tracing, logged, fileLines] : cases) {
        RecordingTrace files;
        files.boxTicked = boxTicked;
        std::ostringstream out;
        StreamLog log(out, threshold, false);
        LoggingTraceSink sink(files, log);
        EXPECT_EQ(sink.tracing(), tracing);
        sink.traceLine(" --> 3/S/CAFF\xC8");
        EXPECT_EQ(out.str(), logged);
        EXPECT_EQ(files.lines.size(), fileLines);
    }
}

}  // namespace
}  // namespace zelmar
