#include "link/register_reader.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "common/control_bytes.h"
#include "common/register_models.h"
#include "common/text_helpers.h"
#include "common/version_text.h"
#include "jobs/job_messages.h"

namespace zelmar::link {
namespace {

constexpr int kDefaultDeptCount = 10;   // before "v" tells
constexpr int kDefaultMaxOperator = 8;  // before "v" tells
// Our bound: a garbled department count must not size the tables or the ":/d" loop without
// limit; department numbers have at most three digits.
constexpr long kMaxDeptCount = 999;
constexpr int kVatRatesG1 = 12;          // firmware " G1" reports twelve rates
constexpr int kVatRatesOther = 5;        // every other firmware five
constexpr int kVatPreludeCommands = 20;  // "{/1/" ... "{/20/" before "e"
constexpr int kMinSerialLength = 8;      // a shorter serial is not published

std::string Upper(std::string_view answer) {
    std::string text(answer);
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool HasField(const LinkState& link, std::size_t index) {
    return index < link.ResponseFields.size();
}

// The answer to "a" carries the identity when it has at least two fields and no error.
bool IdentityAnswer(CommandSender& sender, const LinkState& link, const std::string& answer) {
    return sender.ParseStatus(answer) >= 1 && link.ResultCode == 0;
}

}  // namespace

std::string MapModelCode(const std::string& modelCode) {
    const std::string_view converted = TraitsOfModel(modelCode).convertedAs;
    return converted.empty() ? modelCode : std::string(converted);
}

std::string RtSerialNumber(const std::string& serial, const std::string& modelCode) {
    const char letter = TraitsOfModel(modelCode).serialTypeLetter;
    const std::string head = serial.substr(0, std::min<std::size_t>(2, serial.size()));
    const std::string tail = serial.size() > 2 ? serial.substr(2, 6) : std::string();
    return head + letter + modelCode + tail;
}

RegisterReader::RegisterReader(Session& session, CommandSender& sender, platform::FileSystem& files,
                               jobs::JobFiles& jobFiles)
    : session_(session), sender_(sender), files_(files), jobFiles_(jobFiles) {}

void RegisterReader::setTraceFileControl(TraceFileControl* control) {
    traceFiles_ = control;
}

ReadOutcome RegisterReader::ReadRegisterData() {
    // Everything this read learns and writes belongs to the slot it started on.
    slot_ = session_.CurrentSlot;
    session_.reg().IsRtRegister = false;
    // A program stopped mid-exchange (a crash) may have left half a frame in the register.
    if (session_.options.SerialTransport()) sender_.WriteRaw(std::string(1, kCan));
    const bool traced = session_.options.TraceOn && traceFiles_ != nullptr;
    if (traced) traceFiles_->OpenTraceFiles();

    std::string answerToA;
    ReadOutcome outcome = ReadIdentity(answerToA);
    session_.texts.RegisterMessage = kTextReading;
    if (!session_.reg().TablesRead) ReadTables(outcome);

    PublishOutcome(answerToA, outcome);
    if (traced) traceFiles_->CloseTraceFiles(true);
    return outcome;
}

ReadOutcome RegisterReader::ReadIdentity(std::string& answerToA) {
    auto& link = session_.link;
    const bool accepted = Send("a") == SendResult::kAccepted;
    answerToA = link.ResponseText;
    if (IdentityAnswer(sender_, link, answerToA)) {
        const std::string model = Upper(TrimSpaces(AnswerField(link, 5)));
        if (!model.empty()) session_.reg().ModelCode = MapModelCode(model);
    }
    if (!accepted) return ReadOutcome::kFailed;
    if (Send(",/10") == SendResult::kAccepted && sender_.ParseStatus(link.ResponseText) >= 1) {
        session_.reg().IsRtRegister = Upper(TrimSpaces(AnswerField(link, 3))) == "1";
    }
    return ReadOutcome::kOk;
}

void RegisterReader::ReadTables(ReadOutcome& outcome) {
    if (outcome == ReadOutcome::kOk) {
        if (!ReadRegisterInfo() && !ReadRegisterInfo()) outcome = ReadOutcome::kFailed;
        if (!ReadVatRates() && !ReadVatRates()) outcome = ReadOutcome::kFailed;
        if (!ReadDepartments() && (outcome != ReadOutcome::kOk || !ReadDepartments())) {
            outcome = ReadOutcome::kFailed;
        }
    }
    if (outcome == ReadOutcome::kOk) {
        session_.texts.RegisterMessage = kTextReadDone;
        session_.reg().TablesRead = true;
    } else {
        session_.texts.RegisterMessage = kTextReadError;
    }
}

bool RegisterReader::ReadRegisterInfo() {
    auto& reg = session_.reg();
    const auto& link = session_.link;
    reg.DeptCount = kDefaultDeptCount;
    reg.MaxOperator = kDefaultMaxOperator;
    if (Send("v") != SendResult::kAccepted || link.ResultCode != 0) return false;
    const bool countInField8 = LeadingInteger(AnswerField(link, 7)) == 0;
    const std::size_t operatorField = countInField8 ? 10 : 9;
    if (!HasField(link, operatorField)) return false;  // a short answer is a failed read

    reg.FirmwareRevision = AnswerField(link, 3);
    const long count = LeadingInteger(AnswerField(link, countInField8 ? 8 : 7));
    reg.DeptCount = static_cast<int>(std::clamp(count, 0L, kMaxDeptCount));
    reg.MaxOperator = static_cast<int>(LeadingInteger(AnswerField(link, operatorField)));
    return true;
}

bool RegisterReader::ReadVatRates() {
    const auto& link = session_.link;
    const bool g1 = session_.reg().FirmwareRevision.find(" G1") != std::string::npos;
    const int rates = g1 ? kVatRatesG1 : kVatRatesOther;
    for (int m = 1; m <= kVatPreludeCommands; ++m) Send("{/" + std::to_string(m) + "/");
    if (Send("e") != SendResult::kAccepted || link.ResultCode != 0) return false;
    if (!HasField(link, static_cast<std::size_t>(rates) + 2)) return false;
    for (int i = 0; i < rates; ++i) {
        session_.reg().VatRates[static_cast<std::size_t>(i)] =
            AnswerField(link, static_cast<std::size_t>(i) + 3);
    }
    return true;
}

bool RegisterReader::ReadDepartments() {
    auto& reg = session_.reg();
    const auto& link = session_.link;
    const std::size_t count = static_cast<std::size_t>(std::max(reg.DeptCount, 0));
    reg.DeptVat.assign(count + 1, "0");
    reg.DeptNature.assign(count + 1, 0);
    bool allRead = true;
    for (std::size_t d = 1; d <= count; ++d) {
        const bool accepted = Send(":/" + std::to_string(d)) == SendResult::kAccepted &&
                              link.ResultCode == 0 && HasField(link, 4) &&
                              (!reg.IsRtRegister || HasField(link, 14));
        if (!accepted) {
            allRead = false;  // the department keeps "0" and nature 0
            continue;
        }
        // A VAT code outside the table names no rate: the department keeps "0".
        const long code = LeadingInteger(AnswerField(link, 4));
        if (code >= 1 && code <= static_cast<long>(reg.VatRates.size())) {
            reg.DeptVat[d - 1] = reg.VatRates[static_cast<std::size_t>(code - 1)];
        }
        if (reg.IsRtRegister) {
            reg.DeptNature[d - 1] = static_cast<int>(LeadingInteger(AnswerField(link, 14)));
        }
    }
    return allRead;
}

void RegisterReader::PublishOutcome(const std::string& answerToA, ReadOutcome outcome) {
    auto& link = session_.link;
    auto& reg = session_.reg();
    if (outcome != ReadOutcome::kOk) {
        jobFiles_.WriteErrorFile(jobs::kMsgDumpFailed, slot_);
        return;
    }
    if (IdentityAnswer(sender_, link, answerToA)) {
        const std::string model = Upper(TrimSpaces(AnswerField(link, 5)));
        // The serial's type letter follows the model as the register reports it; the
        // conversion then works with the mapped code.
        if (!model.empty()) reg.ModelCode = model;
        const std::string serial = AnswerField(link, 3);
        if (serial.size() >= kMinSerialLength) WriteMatrFile(serial);
        if (!model.empty()) reg.ModelCode = MapModelCode(model);
        const std::string description = Upper(AnswerField(link, 6));
        if (!description.empty()) reg.ModelDescription = description;
    }
}

void RegisterReader::WriteMatrFile(const std::string& serial) {
    if (slot_ < jobs::kFirstSlot || slot_ > jobs::kLastSlot) return;
    auto& reg = session_.reg();
    if (reg.IsRtRegister) {
        session_.options.DiscountsOnRefund = false;
        session_.options.DiscountsOnRefundShown = false;
    }
    const std::string published = reg.IsRtRegister ? RtSerialNumber(serial, reg.ModelCode) : serial;
    const std::vector<std::string> lines{
        published,
        std::string("Status: ") + (reg.IsRtRegister ? "RT" : "MF"),
        "DriverType: Micrelec",
        "Versione: " + VersionText(),
        "FW: " + reg.FirmwareRevision,
    };
    files_.writeLines(jobFiles_.SlotFile(jobs::kMatrFile, slot_), lines, false);
    reg.SerialNumber = published;
}

SendResult RegisterReader::Send(const std::string& command) {
    std::string text = command;
    return sender_.SendCommand(text);
}

}  // namespace zelmar::link
