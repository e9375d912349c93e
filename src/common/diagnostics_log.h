#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace zelmar {

// The operator's diagnostics log, from the most to the least severe.
enum class LogLevel { kError, kWarning, kInfo, kDebug };

// "error", "warning", "info", "debug": the word in front of each line and on the command line.
const char* LogLevelWord(LogLevel level);
std::optional<LogLevel> ParseLogLevel(std::string_view word);

// Where the parts of the program report what they do, one line per event. The result files
// and LOGFILE.TXT are the POS application's; this log is for the person running the program.
class DiagnosticsLog {
  public:
    virtual ~DiagnosticsLog() = default;
    virtual bool enabled(LogLevel level) const = 0;
    virtual void write(LogLevel level, const std::string& text) = 0;
};

// Logs nothing: every part's log until the program hands it a real one.
DiagnosticsLog& NoDiagnosticsLog();

// "LEVEL: text" lines up to `threshold`, each flushed at once so that a pipe or the journal
// has it while the program waits. Line breaks inside a text become blanks. With
// `priorityPrefix` each line starts with the syslog priority ("<4>"), which the journal reads
// as the line's priority and strips.
class StreamLog : public DiagnosticsLog {
  public:
    StreamLog(std::ostream& out, LogLevel threshold, bool priorityPrefix)
        : out_(out), threshold_(threshold), priorityPrefix_(priorityPrefix) {}
    bool enabled(LogLevel level) const override { return level <= threshold_; }
    void write(LogLevel level, const std::string& text) override;

  private:
    std::ostream& out_;
    LogLevel threshold_;
    bool priorityPrefix_;
};

}  // namespace zelmar
