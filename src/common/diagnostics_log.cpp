#include "common/diagnostics_log.h"

#include <algorithm>
#include <array>

namespace zelmar {
namespace {

struct LevelName {
    LogLevel level;
    const char* word;
    char syslogPriority;  // err, warning, info, debug
};

constexpr std::array<LevelName, 4> kLevels{{{LogLevel::kError, "error", '3'},
                                            {LogLevel::kWarning, "warning", '4'},
                                            {LogLevel::kInfo, "info", '6'},
                                            {LogLevel::kDebug, "debug", '7'}}};

const LevelName& NameOf(LogLevel level) {
    return kLevels[static_cast<std::size_t>(level)];
}

class NoLog : public DiagnosticsLog {
  public:
    bool enabled(LogLevel) const override { return false; }
    void write(LogLevel, const std::string&) override {}
};

}  // namespace

const char* LogLevelWord(LogLevel level) {
    return NameOf(level).word;
}

std::optional<LogLevel> ParseLogLevel(std::string_view word) {
    for (const LevelName& name : kLevels) {
        if (word == name.word) return name.level;
    }
    return std::nullopt;
}

DiagnosticsLog& NoDiagnosticsLog() {
    static NoLog none;
    return none;
}

void StreamLog::write(LogLevel level, const std::string& text) {
    if (!enabled(level)) return;
    std::string line = text;
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    if (priorityPrefix_) out_ << '<' << NameOf(level).syslogPriority << '>';
    out_ << LogLevelWord(level) << ": " << line << '\n' << std::flush;
}

}  // namespace zelmar
