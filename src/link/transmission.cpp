#include "link/transmission.h"

#include <cstdio>
#include <exception>
#include <optional>

#include "common/control_bytes.h"
#include "common/register_models.h"
#include "common/version_text.h"
#include "convert/job_file.h"
#include "jobs/job_messages.h"

namespace zelmar::link {
namespace {

constexpr int kSkipBudget = 10;                   // the tenth empty or "(" line fails the job
constexpr int kMaxFileRestarts = 3;               // restarts per kind of file fault in one job
constexpr int kAccessRestartPauseMs = 100;        // before a restart after a file-access fault
constexpr int kMissingRestartPauseMs = 500;       // before a restart after a missing file
constexpr int kPortReopenPauseMs = 500;           // before the second try to open the port
constexpr int kResetPauseMs = 1000;               // between closing and reopening the port
constexpr int kAfterCloseDocumentPauseMs = 2000;  // after "+" closed an open document
constexpr int kAfterBusyPauseMs = 1500;           // after the busy recovery, either way
constexpr int kFailedLinePauseMs = 1500;          // after a line that was not accepted
constexpr int kFailedJobPauseMs = 2000;           // before TransmitJob reports a failure
constexpr long kNumberLimit = 1000000000L;        // digits beyond this are not read

// The run-time error numbers the operator notice carries for the two file faults.
constexpr int kErrorFileNotFound = 53;
constexpr int kErrorPathFileAccess = 75;

constexpr long kCopyClosureWhenUnknown = 1;

constexpr const char* kResultFileNotWritten = "SR_OUT non scritto, documento stampato: ";
constexpr const char* kSettledFromRegister = "Esito accertato dal registratore: documento chiuso ";

// A payment closes the receipt it pays in full.
bool ClosesDocument(const std::string& line) {
    return line.starts_with("5/");
}  // "@" closure number when "i" was refused

std::string FourDigits(long value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04ld", value < 0 ? -value : value);
    return (value < 0 ? "-" : "") + std::string(buffer);
}

// Characters [first, first + count) of a text, 0-based; fewer (or none) near its end.
std::string Part(const std::string& text, std::size_t first, std::size_t count) {
    return first < text.size() ? text.substr(first, count) : std::string();
}

}  // namespace

std::string AnswerField(const LinkState& link, std::size_t index) {
    return index < link.ResponseFields.size() ? link.ResponseFields[index] : std::string();
}

long LeadingInteger(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value < kNumberLimit) value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

// What the register tells after the last line: the content of SR_OUT and of the copy request.
struct TransmissionDriver::ResultFileData {
    std::string documentNumber = "0";
    bool clockRead = false;  // "t" accepted: lines 1 to 4 exist
    std::string dateText, timeText;
    bool closureRead = false;  // "i" accepted
    long closureNumber = 0;
    std::string grandTotal;
    bool totalsRead = false;  // "0" accepted with the totals wanted: lines 5 to 7 exist
    std::string dailyTotal;
};

TransmissionDriver::TransmissionDriver(Session& session, CommandSender& sender,
                                       platform::EventLoop& loop, platform::FileSystem& files,
                                       jobs::JobFiles& jobFiles, TraceSink& trace,
                                       platform::Shell& shell)
    : session_(session),
      sender_(sender),
      loop_(loop),
      files_(files),
      jobFiles_(jobFiles),
      inFlight_(jobFiles, files),
      trace_(trace),
      shell_(shell) {}

void TransmissionDriver::setConverter(JobConverter converter) {
    converter_ = std::move(converter);
}
void TransmissionDriver::setTraceFileControl(TraceFileControl* control) {
    traceFiles_ = control;
}
void TransmissionDriver::setNetwork(NetworkTransport* network) {
    network_ = network;
}

jobs::JobResult TransmissionDriver::TransmitJob(const JobRequest& job) {
    using jobs::JobResult;
    job_ = job;
    if (!files_.fileExists(job_.jobFile)) return JobResult::kDataFileVanished;
    OpenTransport();
    std::string path = job_.jobFile;
    const SendJobResult sent = SendJob(path);
    if (sent == SendJobResult::kOk) {
        CloseSerialPort();
        return JobResult::kOk;
    }
    platform::WaitMs(loop_, kFailedJobPauseMs);
    CloseSerialPort();
    switch (sent) {
        case SendJobResult::kConversionFailed:
            return JobResult::kConversionError;
        case SendJobResult::kRefused:
        case SendJobResult::kLeftOpen:
            return JobResult::kReceiptOpen;
        default:
            return JobResult::kInterrupted;
    }
}

void TransmissionDriver::OpenTransport() {
    if (session_.options.UseNetwork) {
        if (network_ == nullptr || network_->socketState() == platform::TcpSocket::State::kClosed) {
            sender_.OpenConnection();
        }
        return;
    }
    if (sender_.PortOpen()) return;
    sender_.OpenPort();
    if (sender_.PortOpen()) return;
    platform::WaitMs(loop_, kPortReopenPauseMs);
    sender_.OpenPort();
}

void TransmissionDriver::CloseSerialPort() {
    if (session_.options.SerialTransport() && sender_.PortOpen()) sender_.ClosePort();
}

SendJobResult TransmissionDriver::SendJob(std::string& path) {
    session_.conv.ReprintRequest = false;
    int accessRestarts = 0;
    int missingRestarts = 0;
    // Once every line has been accepted the document exists on paper: a restart only
    // rewrites the result file, it never sends the document a second time.
    std::optional<ResultFileData> sentDocument;
    for (;;) {
        PassOutcome pass;
        try {
            if (!sentDocument) {
                pass = SendPass(path);
                if (pass.fault == FileFault::kNone && pass.result != SendJobResult::kOk)
                    return pass.result;
                if (pass.fault == FileFault::kNone) sentDocument = ReadResultData();
            }
            if (sentDocument) {
                pass = WriteResultFile(ResultLines(*sentDocument));
                if (pass.fault == FileFault::kNone) return FinishSentJob(*sentDocument);
            }
        } catch (const std::exception& error) {
            return UnexpectedError(error.what(), 0, pass.step);
        }
        const bool access = pass.fault == FileFault::kAccess;
        int& restarts = access ? accessRestarts : missingRestarts;
        if (restarts == kMaxFileRestarts && sentDocument) {
            // The document is on paper: the job is done whatever SR_OUT could hold.
            jobFiles_.LogLine(kResultFileNotWritten + pass.description);
            return FinishSentJob(*sentDocument);
        }
        if (restarts == kMaxFileRestarts) {
            return UnexpectedError(pass.description,
                                   access ? kErrorPathFileAccess : kErrorFileNotFound, pass.step);
        }
        ++restarts;
        platform::WaitMs(loop_, access ? kAccessRestartPauseMs : kMissingRestartPauseMs);
    }
}

TransmissionDriver::PassOutcome TransmissionDriver::SendPass(std::string& path) {
    PassOutcome outcome;
    outcome.step = 3;
    if (!PrepareCommandFile(path)) {
        CloseTrace(true);
        outcome.result = SendJobResult::kConversionFailed;
        return outcome;
    }
    // CAN alone ends whatever the register was left doing before the job's first line.
    if (session_.options.SerialTransport()) sender_.WriteRaw(std::string(1, kCan));

    const int policy = session_.options.OpenReceiptPolicy;
    if (session_.link.DocumentOpen && !ApplyOpenDocumentPolicy(policy)) {
        CloseTrace(true);
        outcome.result = SendJobResult::kRefused;
        return outcome;
    }

    outcome.step = 6;
    const std::string& source = job_.testReceipt ? path : session_.conv.CommandFilePath;
    std::vector<std::string> lines;
    if (!files_.readLines(source, lines)) {
        outcome.fault = FileFault::kMissing;
        outcome.description = "FileInput: " + source + " Not Exists!";
        return outcome;
    }
    if (lines.empty()) {
        CloseTrace(true);
        outcome.result = SendJobResult::kRefused;
        return outcome;
    }

    outcome.step = 7;
    if (!files_.writeBytes(job_.resultFile, "")) {
        outcome.fault = FileFault::kAccess;
        outcome.description = "Path/File access error";
        return outcome;
    }
    outcome.step = 8;
    outcome.result = SendLines(lines);
    if (outcome.result != SendJobResult::kOk) FailJob();
    return outcome;
}

bool TransmissionDriver::PrepareCommandFile(std::string& path) {
    const bool testReceipt = job_.testReceipt;
    if (!testReceipt && !session_.options.RegisterLineInput) {
        return converter_ && converter_(path) == 0;
    }
    // A job sent as written skips the converter, not its refusals: a link (the size of no
    // regular file) or a file over the bound.
    const long long size = files_.fileSize(path);
    if (size < 0 || size > convert::kMaxJobFileBytes) return false;
    if (!testReceipt) session_.conv.CommandFilePath = path;
    return true;
}

bool TransmissionDriver::ApplyOpenDocumentPolicy(int policy) {
    switch (policy) {
        case kPolicyCloseAndSend:
            if (Send("+") != SendResult::kAccepted) return false;
            platform::WaitMs(loop_, kAfterCloseDocumentPauseMs);
            return true;
        case kPolicyStop:
            return false;
        default:
            return true;
    }
}

// The fiscal status in every answer tells whether a document is open: a job that sent a
// closing line is done only when the register shows its document closed after it, and a
// closing line whose answer was lost is judged by asking the register once.
SendJobResult TransmissionDriver::SendLines(const std::vector<std::string>& lines) {
    const int slot = job_.slot;
    const std::string query = DocumentQuery();
    inFlight_.Record(slot, jobs::InFlightStage::kLines, query);
    int skipBudget = kSkipBudget;
    bool openBeforeLine = false;  // what this job's answers showed before the current line
    bool closingSent = false;
    for (const auto& line : lines) {
        if (line.empty() || line.front() == '(') {
            if (--skipBudget == 0) return SendJobResult::kFailed;
            continue;
        }
        const bool closing = ClosesDocument(line);
        if (closing) inFlight_.Record(slot, jobs::InFlightStage::kClosing, query);
        closingSent = closingSent || closing;
        if (!SendLine(line)) {
            if (!closing || !openBeforeLine || !RegisterShowsDocumentClosed(query)) {
                return SendJobResult::kFailed;
            }
            jobFiles_.LogLine(kSettledFromRegister + line);
            return SendJobResult::kOk;
        }
        openBeforeLine = session_.link.DocumentOpen;
    }
    return closingSent && session_.link.DocumentOpen ? SendJobResult::kLeftOpen
                                                     : SendJobResult::kOk;
}

std::string TransmissionDriver::DocumentQuery() const {
    return session_.conv.InvoiceOpen ? "X" : "9";
}

bool TransmissionDriver::RegisterShowsDocumentClosed(const std::string& query) {
    return Send(query) == SendResult::kAccepted && !session_.link.DocumentOpen;
}

jobs::JobResult TransmissionDriver::SettleInterruptedJob(const JobRequest& job,
                                                         const std::string& query) {
    job_ = job;
    OpenTransport();
    jobs::JobResult result = jobs::JobResult::kInterrupted;
    if (RegisterShowsDocumentClosed(query)) {
        session_.conv.InvoiceOpen = query == "X";
        const ResultFileData data = ReadResultData();
        WriteResultFile(ResultLines(data));
        jobFiles_.LogLine(std::string(kSettledFromRegister) + "(ripresa dopo interruzione)");
        result = jobs::JobResult::kOk;
    }
    CloseSerialPort();
    return result;
}

bool TransmissionDriver::SendLine(const std::string& line) {
    const SendResult result = Send(line);
    if (line == "W") {
        // The register may drop the line while it resets: "W" never fails a job.
        if (TraitsOfRegister(session_.reg()).resetAfterRefusedW &&
            result != SendResult::kAccepted) {
            ReopenPortAfterReset();
        }
        return true;
    }
    if (result == SendResult::kAccepted) return true;
    if (result == SendResult::kBusyTooLong) return RecoverFromBusy(line);
    platform::WaitMs(loop_, kFailedLinePauseMs);
    return false;
}

void TransmissionDriver::ReopenPortAfterReset() {
    sender_.ClosePort();
    platform::WaitMs(loop_, kResetPauseMs);
    sender_.OpenPort();
    if (sender_.PortOpen()) return;
    platform::WaitMs(loop_, kPortReopenPauseMs);
    sender_.OpenPort();
}

bool TransmissionDriver::RecoverFromBusy(const std::string& line) {
    const bool released = Send(",/5") == SendResult::kAccepted;
    if (released) Send(line);  // once more; the register's answer is not checked
    platform::WaitMs(loop_, kAfterBusyPauseMs);
    return released;
}

TransmissionDriver::ResultFileData TransmissionDriver::ReadResultData() {
    ResultFileData data;
    auto& link = session_.link;
    auto acceptedAnswer = [&](const char* command) {
        if (Send(command) != SendResult::kAccepted) return false;
        sender_.ParseStatus(link.ResponseText);
        return true;
    };

    if (session_.conv.InvoiceOpen) {
        if (acceptedAnswer("X")) data.documentNumber = AnswerField(link, 6);
        session_.conv.InvoiceOpen = false;
    } else if (acceptedAnswer("9")) {
        data.documentNumber = AnswerField(link, 8);
    }

    if (acceptedAnswer("t")) {
        const std::string date = AnswerField(link, 3);
        const std::string time = AnswerField(link, 4);
        data.clockRead = true;
        data.dateText = Part(date, 0, 2) + "/" + Part(date, 2, 2) + "/" + Part(date, 4, 255);
        data.timeText = Part(time, 0, 2) + ":" + Part(time, 2, 2);
    }
    if (acceptedAnswer("i")) {
        data.closureRead = true;
        data.closureNumber = LeadingInteger(AnswerField(link, 5)) + 1;
        data.grandTotal = AnswerField(link, 7);
    }
    if (!session_.options.NoTotalsInResult && acceptedAnswer("0")) {
        data.totalsRead = true;
        data.dailyTotal = AnswerField(link, 8);
    }
    return data;
}

std::vector<std::string> TransmissionDriver::ResultLines(const ResultFileData& data) const {
    std::vector<std::string> lines;
    if (data.clockRead) {
        const std::string number = session_.reg().IsRtRegister
                                       ? FourDigits(data.closureNumber) + "-" +
                                             FourDigits(LeadingInteger(data.documentNumber))
                                       : data.documentNumber;
        lines.push_back("TIME,CASS. 1 " + data.timeText + " CASSA   1 ,E,A1;");
        lines.push_back("DATE," + data.dateText + "  SCONTR. N." + number + ",E,A1;");
        lines.push_back("Versione " + VersionText());
        lines.push_back("MATR," + session_.reg().SerialNumber + ";");
    }
    if (data.totalsRead) {
        lines.push_back("GTOT,V" + data.dailyTotal);
        lines.push_back("GRTO,V" + data.grandTotal);
        lines.push_back("NAZF,V" + std::to_string(data.closureNumber - 1));
    }
    return lines;
}

TransmissionDriver::PassOutcome TransmissionDriver::WriteResultFile(
    const std::vector<std::string>& lines) {
    PassOutcome outcome;
    outcome.step = 9;
    if (!files_.writeLines(job_.resultFile, lines, false)) {
        outcome.fault = FileFault::kAccess;
        outcome.description = "Path/File access error";
    }
    return outcome;
}

void TransmissionDriver::PrintCopy(const ResultFileData& data) {
    const auto& conv = session_.conv;
    if (!conv.ReceiptHasSales || LeadingInteger(data.documentNumber) == 0) return;
    if (!session_.options.PrintReceiptCopy && !conv.ReprintRequest) return;
    const long closure = data.closureRead ? data.closureNumber : kCopyClosureWhenUnknown;
    Send("@/1/1/" + std::to_string(closure) + "/" + data.documentNumber + "/" +
         data.documentNumber + "///1");
}

SendJobResult TransmissionDriver::FinishSentJob(const ResultFileData& data) {
    PrintCopy(data);
    session_.conv.ReprintRequest = false;
    session_.conv.ReceiptHasSales = false;
    if (trace_.tracing()) {
        const auto lines = ResultLines(data);
        trace_.traceLine(" --> " + (data.clockRead ? lines[1] : std::string()));
    }
    CloseTrace(true);
    return SendJobResult::kOk;
}

void TransmissionDriver::FailJob() {
    CloseTrace(true);
}

// A fault the driver cannot get past: the operator is told, and the job is reported as
// failed, never as done, since nobody knows what the register printed.
SendJobResult TransmissionDriver::UnexpectedError(const std::string& description, int number,
                                                  int step) {
    shell_.notice("ERRORE = " + description + " - Err.num: " + std::to_string(number) +
                  " Riga: " + std::to_string(step));
    CloseTrace(false);
    return SendJobResult::kFailed;
}

SendResult TransmissionDriver::Send(const std::string& command) {
    std::string text = command;
    return sender_.SendCommand(text);
}

void TransmissionDriver::CloseTrace(bool writeLogLines) {
    if (traceFiles_ != nullptr) traceFiles_->CloseTraceFiles(writeLogLines);
}

}  // namespace zelmar::link
