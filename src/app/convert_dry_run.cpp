#include "app/convert_dry_run.h"

#include <filesystem>
#include <iostream>
#include <random>
#include <system_error>

#include "common/paths.h"
#include "common/session.h"
#include "common/text_file.h"
#include "common/text_helpers.h"
#include "common/trace_sink.h"
#include "convert/converter.h"
#include "convert/field_lookup.h"
#include "convert/job_file.h"
#include "convert/normalizer.h"
#include "convert/refund_rewrite.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace zelmar::app {
namespace {

namespace fs = std::filesystem;

constexpr int kExitConverted = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr int kMinDepartments = 10;   // what the register-data read assumes before reading
constexpr int kMaxDepartments = 999;  // sanity bound on a description file's department number

constexpr const char* kUsage =
    "uso: zelmar1 --convert FILEJOB [--register FILE] [--option NOME]... [--data-dir CARTELLA]";

constexpr const char* kJobCopyName = "SR_DATI.001";  // the job as slot 1 holds it

struct OptionName {
    const char* name;
    bool Options::*flag;
};
constexpr OptionName kOptionNames[] = {
    {"chbPrintCode", &Options::PrintItemCode},
    {"chbDisableExtDescr", &Options::NoExtendedDescription},
    {"chbNFIntestazione", &Options::NonFiscalHeading},
    {"chbConvXonXoff", &Options::KeystrokeInput},
    {"chbEnableMicrelecInput", &Options::RegisterLineInput},
    {"chbScontiSuReso", &Options::DiscountsOnRefund},
};

class NullTraceSink : public TraceSink {
  public:
    bool tracing() const override { return false; }
    void traceLine(const std::string&) override {}
};

struct DryRunArguments {
    std::string jobFile;
    std::string registerFile;
    std::string dataDir;
    Options options;
};

bool SetOption(const std::string& name, Options& options) {
    for (const auto& option : kOptionNames) {
        if (name != option.name) continue;
        options.*option.flag = true;
        return true;
    }
    return false;
}

bool ParseArguments(const std::vector<std::string>& args, DryRunArguments& parsed,
                    std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (i + 1 >= args.size()) {
            error = "argomento mancante dopo " + name;
            return false;
        }
        const std::string& value = args[++i];
        if (name == "--convert" && parsed.jobFile.empty()) {
            parsed.jobFile = value;
        } else if (name == "--register" && parsed.registerFile.empty()) {
            parsed.registerFile = value;
        } else if (name == "--data-dir" && parsed.dataDir.empty()) {
            parsed.dataDir = value;
        } else if (name == "--option") {
            if (!SetOption(value, parsed.options)) {
                error = "opzione sconosciuta: " + value;
                return false;
            }
        } else {
            error = "argomento non valido: " + name;
            return false;
        }
    }
    if (parsed.jobFile.empty()) error = "manca --convert FILEJOB";
    return error.empty();
}

bool ParseWholeNumber(const std::string& text, int low, int high, int& number) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    number = std::stoi(text);
    return number >= low && number <= high;
}

bool SetDepartment(const std::string& index, const std::string& value, RegisterData& reg) {
    int department = 0;
    if (!ParseWholeNumber(index, 1, kMaxDepartments, department)) return false;
    const auto comma = value.find(',');
    int nature = 0;
    if (comma != std::string::npos &&
        !ParseWholeNumber(std::string(TrimBlanks(value.substr(comma + 1))), 0, 99, nature)) {
        return false;
    }
    const auto size = static_cast<std::size_t>(department);
    if (reg.DeptVat.size() < size) reg.DeptVat.resize(size, "0");
    if (reg.DeptNature.size() < size) reg.DeptNature.resize(size, 0);
    reg.DeptVat[size - 1] = TrimBlanks(value.substr(0, comma));
    reg.DeptNature[size - 1] = nature;
    if (reg.DeptCount < department) reg.DeptCount = department;
    return true;
}

bool SetRegisterValue(const std::string& key, const std::string& value, RegisterData& reg) {
    if (key == "model") {
        reg.ModelCode = value;
    } else if (key == "description") {
        reg.ModelDescription = convert::UpperCase1252(value);
    } else if (key == "serial") {
        reg.SerialNumber = value;
    } else if (key == "rt") {
        if (value != "1" && value != "0") return false;
        reg.IsRtRegister = value == "1";
    } else if (key == "max_operator") {
        return ParseWholeNumber(value, 1, 99, reg.MaxOperator);
    } else if (key.starts_with("dept.")) {
        return SetDepartment(key.substr(5), value, reg);
    } else {
        return false;
    }
    return true;
}

// A READ line may name any path; the dry run keeps the file it creates inside the data folder.
std::string ReadLineInsideDataFolder(const std::string& line) {
    const auto at = line.find(",:");
    if (at == std::string::npos) return line;
    const auto from = at + 2;
    const auto end = line.find_first_of(",;", from);
    std::string name = line.substr(from, end == std::string::npos ? std::string::npos : end - from);
    const auto separator = name.find_last_of("\\/");
    if (separator == std::string::npos) return line;
    name = name.substr(separator + 1);
    if (!name.empty() && name.back() == '"') name.pop_back();
    if (name == "." || name == "..") name.clear();
    return line.substr(0, from) + name + (end == std::string::npos ? "" : line.substr(end));
}

// Places the job in the work folder as slot 1's job file; false when it is missing, empty or
// too large to be a job.
bool CopyJob(const std::string& jobFile, const std::string& copyPath, bool convertsJobLines) {
    std::vector<std::string> lines;
    if (!convert::ReadJobLines(jobFile, lines) || lines.empty()) return false;
    if (convertsJobLines) {
        for (auto& line : lines) {
            if (convert::HasKeyword(line, "READ")) line = ReadLineInsideDataFolder(line);
        }
    }
    return WriteTextLines(copyPath, lines);
}

// The job as the transmission driver would have it: the command lines to send, or false when
// the conversion fails. A job already in register form is sent as it is, so it needs lines.
bool CommandLinesOf(Session& session, const std::string& jobCopy, std::vector<std::string>& lines) {
    if (session.options.DiscountsOnRefund) convert::RewriteRefundDiscounts(jobCopy, jobCopy);
    if (session.options.RegisterLineInput) {
        return ReadTextLines(jobCopy, lines) && !lines.empty();
    }
    NullTraceSink trace;
    convert::Converter converter(session, trace);
    std::string path = jobCopy;
    return converter.ConvertJobFile(path) == 0 &&
           ReadTextLines(session.conv.CommandFilePath, lines);
}

// A private folder under the system's temporary folder, removed when the run ends.
class WorkFolder {
  public:
    WorkFolder() {
        std::error_code error;
        std::random_device random;
        for (int attempt = 0; attempt < 16 && path_.empty(); ++attempt) {
            const fs::path candidate =
                fs::temp_directory_path(error) / ("zelmar1-convert-" + std::to_string(random()));
            if (fs::create_directory(candidate, error)) path_ = candidate.string();
        }
    }
    ~WorkFolder() {
        std::error_code error;
        if (!path_.empty()) fs::remove_all(path_, error);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace

bool ReadRegisterDescription(const std::string& path, RegisterData& reg, std::string& error) {
    std::vector<std::string> lines;
    if (!ReadTextLines(path, lines)) {
        error = "file del registratore non leggibile: " + path;
        return false;
    }
    for (const auto& line : lines) {
        const std::string text(TrimBlanks(line));
        if (text.empty() || text[0] == '#') continue;
        const auto equals = text.find('=');
        if (equals == std::string::npos ||
            !SetRegisterValue(std::string(TrimBlanks(text.substr(0, equals))),
                              std::string(TrimBlanks(text.substr(equals + 1))), reg)) {
            error = "riga non valida nel file del registratore: " + line;
            return false;
        }
    }
    return true;
}

int RunConvertDryRun(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    DryRunArguments parsed;
    std::string error;
    Session session;
    if (!ParseArguments(args, parsed, error) ||
        (!parsed.registerFile.empty() &&
         !ReadRegisterDescription(parsed.registerFile, session.reg(), error))) {
        err << error << '\n' << kUsage << '\n';
        return kExitUsage;
    }
    std::error_code fsError;
    if (!parsed.dataDir.empty() && !fs::is_directory(parsed.dataDir, fsError)) {
        err << "cartella dati inesistente: " << parsed.dataDir << '\n' << kUsage << '\n';
        return kExitUsage;
    }
    WorkFolder work;
    if (work.path().empty()) {
        err << "impossibile creare una cartella temporanea\n";
        return kExitFailed;
    }
    if (parsed.dataDir.empty()) {
        parsed.dataDir = JoinPath(work.path(), "dati");
        fs::create_directory(parsed.dataDir, fsError);
    }
    session.options = parsed.options;
    session.DataFolder = parsed.dataDir;
    session.CurrentSlot = 1;
    const std::string jobCopy = JoinPath(work.path(), kJobCopyName);
    const bool convertsJobLines =
        !session.options.KeystrokeInput && !session.options.RegisterLineInput;
    std::vector<std::string> lines;
    if (!CopyJob(parsed.jobFile, jobCopy, convertsJobLines) ||
        !CommandLinesOf(session, jobCopy, lines)) {
        return kExitFailed;
    }
    for (const auto& line : lines) out << line << '\n';
    out.flush();
    return kExitConverted;
}

int RunConvertDryRun(int argc, char** argv) {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);  // LF line ends and bytes as they are
#endif
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return RunConvertDryRun(args, std::cout, std::cerr);
}

}  // namespace zelmar::app
