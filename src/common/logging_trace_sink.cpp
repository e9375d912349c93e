#include "common/logging_trace_sink.h"

#include "common/utf8_text.h"

namespace zelmar {
namespace {

void WriteDebug(DiagnosticsLog& log, const std::string& text) {
    const auto start = text.find_first_not_of(' ');
    if (!log.enabled(LogLevel::kDebug) || start == std::string::npos) return;
    log.write(LogLevel::kDebug, Utf8FromWindows1252(text.substr(start)));
}

}  // namespace

bool LoggingTraceSink::tracing() const {
    return files_.tracing() || log_.enabled(LogLevel::kDebug);
}

void LoggingTraceSink::traceLine(const std::string& markerAndText) {
    if (files_.tracing()) files_.traceLine(markerAndText);
    WriteDebug(log_, markerAndText);
}

void LoggingTraceSink::AddLogLine(const std::string& message) {
    files_.AddLogLine(message);
    WriteDebug(log_, message);
}

}  // namespace zelmar
