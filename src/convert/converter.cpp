#include "convert/converter.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "common/paths.h"
#include "common/text_file.h"
#include "common/text_helpers.h"
#include "convert/converter_run.h"
#include "convert/field_lookup.h"
#include "convert/job_file.h"
#include "convert/text_format.h"
#include "convert/xonxoff.h"

namespace zelmar::convert {

namespace {

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

void RemoveFile(const std::string& path) {
    std::error_code error;
    std::filesystem::remove(path, error);
}

std::string WithoutSurroundingQuotes(std::string text) {
    if (!text.empty() && text.front() == '"') text.erase(0, 1);
    if (!text.empty() && text.back() == '"') text.pop_back();
    return text;
}

}  // namespace

Converter::Converter(Session& session, TraceSink& trace) : session_(session), trace_(trace) {}

int Converter::ConvertJobFile(std::string& path) {
    ClearSharedFlags();
    if (session_.options.KeystrokeInput) {
        const std::string keystrokeJob = JoinPath(session_.DataFolder, kKeystrokeJobName);
        if (!ConvertXonXoffFile(path, keystrokeJob)) return 1;
        path = keystrokeJob;
    }
    if (!FileExists(path)) {
        TraceMissingJob(path);
        return 1;
    }
    std::vector<std::string> lines;
    if (!ReadJobLines(path, lines) || lines.empty()) return 1;

    const std::string commandFile = JoinPath(session_.DataFolder, kCommandFileName);
    RemoveFile(commandFile);
    TraceJobLines(lines);

    JobRun run(session_, trace_);
    const bool converted = run.Convert(lines);
    session_.conv.InvoiceMode = false;
    session_.conv.RefundMode = false;
    if (!converted) return 1;
    WriteTextLines(commandFile, run.commands());
    session_.conv.CommandFilePath = commandFile;
    return FileExists(commandFile) ? 0 : 1;
}

// ReprintRequest belongs to the transmission driver, which clears it.
void Converter::ClearSharedFlags() {
    ConversionState& conv = session_.conv;
    conv.NonFiscalOpen = false;
    conv.InvoiceMode = false;
    conv.InvoiceOpen = false;
    conv.RefundMode = false;
    conv.ReceiptHasSales = false;
    for (std::string& line : conv.InvoiceHeader) line.clear();
}

void Converter::TraceMissingJob(const std::string& path) {
    if (!trace_.tracing()) return;
    trace_.traceLine(" -->  Il file di input: " + path + " non esiste");
    trace_.traceLine(" --> " + path + " : file di output non trovato");
}

void Converter::TraceJobLines(const std::vector<std::string>& lines) {
    if (!trace_.tracing() || lines.empty()) return;
    trace_.traceLine(" ------------ File SR_Dati ------------ ");
    for (const std::string& line : lines) trace_.traceLine(" --> " + line);
    trace_.traceLine(" -------------------------------------- ");
}

std::string ResolveReadFileName(const std::string& line, const std::string& dataFolder, int slot) {
    std::string name;
    if (!FindField(FieldMode::kField, name, line, ",:")) name.clear();
    name = WithoutSurroundingQuotes(name);
    if (TrimBlanks(name).empty()) return JoinPath(dataFolder, kReadDefaultName);
    const bool hasExtension = name.find('.') != std::string::npos;
    if (name.find_first_of("\\/") != std::string::npos) {
        return hasExtension ? name : name + SlotExtension(slot);
    }
    return JoinPath(dataFolder, hasExtension ? name : name + SlotExtension(slot));
}

}  // namespace zelmar::convert
