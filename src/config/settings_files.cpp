#include "config/settings_files.h"

#include <optional>

#include "common/paths.h"
#include "common/text_helpers.h"
#include "config/ip_address.h"
#include "config/numeric_text.h"

namespace zelmar::config {

namespace {

// A settings file is a line or fifteen; anything much larger is not one of ours and is
// treated as missing rather than read into memory.
constexpr long long kMaxSettingsFileBytes = 1 << 20;
constexpr long kMaxBaudRate = 4000000;
constexpr long kMaxTcpPort = 65535;
constexpr std::size_t kSlotCount = 4;
constexpr std::size_t kOptionsLineCount = 15;

// Line numbers (from 1) of ZMCHKSCO.TXT.
enum OptionsLine : std::size_t {
    kLineCombo1 = 1,
    kLineRemoteIP = 5,
    kLineToutConn = 6,
    kLineTransport = 7,
    kLineRemotePort = 8,
    kLineMode = 14,
};

struct CheckBoxLine {
    std::size_t line;
    bool Options::*box;
};
constexpr CheckBoxLine kCheckBoxLines[] = {
    {2, &Options::KeystrokeInput},     {3, &Options::TraceOn},
    {4, &Options::RegisterLineInput},  {9, &Options::NoExtendedDescription},
    {10, &Options::PrintReceiptCopy},  {11, &Options::NonFiscalHeading},
    {12, &Options::DiscountsOnRefund}, {13, &Options::PrintItemCode},
    {15, &Options::NoTotalsInResult},
};

// The field of line `number` (from 1): up to the first comma, blanks dropped. No value when
// the file ends before that line.
std::optional<std::string> Field(const std::vector<std::string>& lines, std::size_t number) {
    if (number == 0 || number > lines.size()) return std::nullopt;
    const std::string& line = lines[number - 1];
    return std::string(TrimBlanks(std::string_view(line).substr(0, line.find(','))));
}

const char* Flag(bool ticked) {
    return ticked ? "1" : "0";
}

// ZMCHKCOM.TXT's field as the save writes it: one "0" or "1" per slot.
bool IsSlotFlags(const std::string& field) {
    return field.size() == kSlotCount && field.find_first_not_of("01") == std::string::npos;
}

// A list index in 0..itemCount-1, or `fallback`.
int ListIndex(const std::string& field, std::size_t itemCount, int fallback) {
    long index = 0;
    if (!ParseWholeNumber(field, static_cast<long>(itemCount) - 1, index)) return fallback;
    return static_cast<int>(index);
}

}  // namespace

SettingsFiles::SettingsFiles(platform::FileSystem& files, std::string programFolder)
    : files_(files), programFolder_(std::move(programFolder)) {}

std::string SettingsFiles::PathOf(const std::string& fileName) const {
    return JoinPath(programFolder_, fileName);
}

bool SettingsFiles::ReadFile(const std::string& fileName, std::vector<std::string>& lines) {
    const std::string path = PathOf(fileName);
    const long long size = files_.fileSize(path);
    if (size < 0 || size > kMaxSettingsFileBytes) return false;
    lines.clear();
    return files_.readLines(path, lines);
}

SocketTarget SettingsFiles::Load(Options& options) {
    LoadBaudRate(options);
    LoadSlots(options);
    return LoadOptions(options);
}

void SettingsFiles::LoadBaudRate(Options& options) {
    std::vector<std::string> lines;
    const auto field = ReadFile(kBaudFile, lines) ? Field(lines, 1) : std::nullopt;
    long rate = 0;
    // A rate that is not a positive whole number could not open any port: the default holds.
    if (field && ParseWholeNumber(*field, kMaxBaudRate, rate) && rate > 0) {
        options.BaudRate = static_cast<int>(rate);
        options.BaudRateText = *field;
    } else {
        options.BaudRate = kDefaultBaudRate;
        options.BaudRateText = kDefaultBaudText;
    }
}

void SettingsFiles::LoadSlots(Options& options) {
    std::vector<std::string> lines;
    const auto field = ReadFile(kSlotsFile, lines) ? Field(lines, 1) : std::nullopt;
    const bool ours = field && IsSlotFlags(*field);
    // Anything else is no choice of the operator's: every slot is served, as when there is no
    // file, and the file is not overwritten with the slots that start-up then leaves ticked.
    keepSlotsFile_ = !ours && files_.fileExists(PathOf(kSlotsFile));
    for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
        options.SlotServed[slot] = !ours || (*field)[slot] == '1';
    }
}

SocketTarget SettingsFiles::LoadOptions(Options& options) {
    SocketTarget socket;
    std::vector<std::string> lines;
    if (!ReadFile(kOptionsFile, lines)) {
        options.OpenReceiptPolicy = 0;
        return socket;
    }
    if (const auto field = Field(lines, kLineCombo1)) {
        options.OpenReceiptPolicy = ListIndex(*field, kOpenReceiptPolicyItems.size(), 0);
    }
    for (const auto& [line, box] : kCheckBoxLines) {
        if (const auto field = Field(lines, line)) options.*box = *field == "1";
    }
    if (const auto field = Field(lines, kLineRemoteIP); field && IsValidIPAddress(*field)) {
        options.RegisterAddress = *field;
        socket.remoteHost = *field;
    }
    if (const auto field = Field(lines, kLineToutConn)) {
        options.ConnectTimeoutChoice = ListIndex(*field, kToutConnItems.size(), 1);
    }
    if (const auto field = Field(lines, kLineTransport)) options.UseNetwork = *field == "R";
    if (const auto field = Field(lines, kLineRemotePort)) {
        long port = 0;
        // Only a usable TCP port is taken; anything else falls back to the register's default.
        options.RegisterPort = ParseWholeNumber(*field, kMaxTcpPort, port) && port > 0
                                   ? std::string(TrimBlanks(*field))
                                   : kDefaultRemotePort;
        socket.remotePort = options.RegisterPort;
    }
    if (const auto field = Field(lines, kLineMode)) options.FastMode = *field == "F";
    return socket;
}

void SettingsFiles::Save(const Options& options) {
    if (!keepSlotsFile_) SaveSlots(options);
    SaveOptions(options);
    SaveBaudRate(options);
}

void SettingsFiles::SaveSlots(const Options& options) {
    std::string flags = "0000";
    for (std::size_t slot = 0; slot < kSlotCount; ++slot) {
        if (options.SlotServed[slot]) flags[slot] = '1';
    }
    files_.writeLines(PathOf(kSlotsFile), {flags}, false);
}

void SettingsFiles::SaveOptions(const Options& options) {
    std::vector<std::string> lines(kOptionsLineCount);
    auto at = [&lines](std::size_t number) -> std::string& { return lines[number - 1]; };
    at(kLineCombo1) = std::to_string(options.OpenReceiptPolicy);
    for (const auto& [line, box] : kCheckBoxLines) at(line) = Flag(options.*box);
    at(kLineRemoteIP) =
        !options.RegisterAddress.empty() && IsValidIPAddress(options.RegisterAddress)
            ? options.RegisterAddress
            : " ";
    at(kLineToutConn) = " " + std::to_string(options.ConnectTimeoutChoice) + " ";
    at(kLineTransport) = options.UseNetwork ? "R" : "S";
    at(kLineRemotePort) = options.RegisterPort.empty() ? kDefaultRemotePort : options.RegisterPort;
    at(kLineMode) = options.FastMode ? "F" : "S";
    files_.writeLines(PathOf(kOptionsFile), lines, false);
}

void SettingsFiles::SaveBaudRate(const Options& options) {
    files_.writeLines(PathOf(kBaudFile), {options.BaudRateText}, false);
}

void SettingsFiles::ApplyAndSaveBaudRate(Options& options) {
    long rate = 0;
    if (ParseWholeNumber(options.BaudRateText, kMaxBaudRate, rate) && rate > 0) {
        options.BaudRate = static_cast<int>(rate);
    }
    SaveBaudRate(options);
}

std::string SettingsFiles::ReadTimerField() {
    std::vector<std::string> lines;
    if (!ReadFile(kTimerFile, lines) || lines.empty()) return {};
    // The interval may have been written with a decimal comma ("1,5"): that comma belongs to
    // the number, not to the field rule.
    std::string line = lines.front();
    const std::size_t comma = line.find(',');
    if (comma != std::string::npos && comma > 0 && comma + 1 < line.size() &&
        IsDigit(line[comma - 1]) && IsDigit(line[comma + 1])) {
        line[comma] = '.';
    }
    return *Field({line}, 1);
}

void SettingsFiles::WriteTimerText(const std::string& text) {
    files_.writeLines(PathOf(kTimerFile), {text}, false);
}

std::string PollIntervalFileText(int pollIntervalMs) {
    constexpr int kMsPerSecond = 1000;
    if (pollIntervalMs < kMsPerSecond) return std::to_string(pollIntervalMs);
    std::string text = std::to_string(pollIntervalMs / kMsPerSecond);
    const int fraction = pollIntervalMs % kMsPerSecond;
    if (fraction != 0) {
        std::string digits = std::to_string(kMsPerSecond + fraction).substr(1);  // three digits
        while (digits.back() == '0') digits.pop_back();
        text += "." + digits;
    }
    return text;
}

}  // namespace zelmar::config
