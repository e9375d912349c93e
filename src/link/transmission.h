#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "common/session.h"
#include "common/trace_sink.h"
#include "jobs/in_flight_marker.h"
#include "jobs/job_files.h"
#include "jobs/job_messages.h"
#include "link/command_sender.h"
#include "link/network_transport.h"
#include "platform/event_loop.h"
#include "platform/file_system.h"
#include "platform/shell.h"

namespace zelmar::link {

// Turns a job file into the command file named in Session::conv.CommandFilePath: 0 done,
// 1 failed. The path may be replaced by an intermediate file's path.
using JobConverter = std::function<int(std::string& path)>;

// The trace and log files of one job or register read; the trace-file writer implements it.
class TraceFileControl {
  public:
    virtual ~TraceFileControl() = default;
    virtual void OpenTraceFiles() = 0;  // opens the trace file and names the log file
    // Writes the collected log lines first when asked, then closes the trace file.
    virtual void CloseTraceFiles(bool writeLogLines) = 0;
};

// Field `index` of the last answer (Session::link.ResponseFields), counted from 0; empty when
// the answer has fewer fields.
std::string AnswerField(const LinkState& link, std::size_t index);

// A number as the register writes it: blanks skipped, an optional sign, then the decimal
// digits up to the first other character. 0 when there are none; never overflows.
long LeadingInteger(const std::string& text);

// What SendJob made of a job.
enum class SendJobResult {
    kOk,
    kFailed,  // a line failed, too many skipped lines, or an error
    kConversionFailed,
    kRefused,   // open document refused by the policy, or no lines
    kLeftOpen,  // a closing line was sent, yet the document is open
};

// Open-document policies: the list index of OpenReceiptPolicy.
inline constexpr int kPolicySendAnyway = 0;
inline constexpr int kPolicyCloseAndSend = 1;
inline constexpr int kPolicyStop = 2;

// Sends one job to the register and writes its result file SR_OUT.
// One job as the job cycle hands it over: its slot, its files and whether it is the test
// receipt (whose file holds register lines and is sent as written).
struct JobRequest {
    int slot = 1;
    std::string jobFile;     // SR_DATI
    std::string resultFile;  // SR_OUT
    bool testReceipt = false;
};

class TransmissionDriver {
  public:
    TransmissionDriver(Session& session, CommandSender& sender, platform::EventLoop& loop,
                       platform::FileSystem& files, jobs::JobFiles& jobFiles, TraceSink& trace,
                       platform::Shell& shell);

    void setConverter(JobConverter converter);            // without one, conversion fails
    void setTraceFileControl(TraceFileControl* control);  // not owned; may be null
    void setNetwork(NetworkTransport* network);           // not owned; asked for the socket state

    // The whole job, on the link of Session::CurrentSlot (the job's slot).
    jobs::JobResult TransmitJob(const JobRequest& job);
    // A job whose closing line was sent before the program stopped: done (SR_OUT written,
    // kOk) when the register shows its document completed, interrupted otherwise.
    jobs::JobResult SettleInterruptedJob(const JobRequest& job, const std::string& query);

  private:
    // Converts and sends the job's lines, then writes SR_OUT.
    SendJobResult SendJob(std::string& path);
    enum class FileFault { kNone, kAccess, kMissing };
    struct PassOutcome {
        SendJobResult result = SendJobResult::kOk;
        FileFault fault = FileFault::kNone;
        std::string description;  // of the file fault, for the operator notice
        int step = 0;
    };
    struct ResultFileData;

    void OpenTransport();
    void CloseSerialPort();
    PassOutcome SendPass(std::string& path);
    bool PrepareCommandFile(std::string& path);  // false when the conversion failed
    bool ApplyOpenDocumentPolicy(int policy);
    SendJobResult SendLines(const std::vector<std::string>& lines);
    bool SendLine(const std::string& line);
    std::string DocumentQuery() const;
    bool RegisterShowsDocumentClosed(const std::string& query);
    void ReopenPortAfterReset();
    bool RecoverFromBusy(const std::string& line);
    ResultFileData ReadResultData();
    std::vector<std::string> ResultLines(const ResultFileData& data) const;
    PassOutcome WriteResultFile(const std::vector<std::string>& lines);
    void PrintCopy(const ResultFileData& data);
    SendJobResult FinishSentJob(const ResultFileData& data);
    void FailJob();
    SendJobResult UnexpectedError(const std::string& description, int number, int step);
    SendResult Send(const std::string& command);
    void CloseTrace(bool writeLogLines);

    Session& session_;
    CommandSender& sender_;
    platform::EventLoop& loop_;
    platform::FileSystem& files_;
    jobs::JobFiles& jobFiles_;
    jobs::InFlightMarker inFlight_;
    TraceSink& trace_;
    platform::Shell& shell_;
    JobConverter converter_;
    TraceFileControl* traceFiles_ = nullptr;
    NetworkTransport* network_ = nullptr;
    JobRequest job_;  // the job in hand
};

}  // namespace zelmar::link
