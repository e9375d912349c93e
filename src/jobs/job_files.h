#pragma once

#include <functional>
#include <string>

#include "common/session.h"
#include "jobs/job_messages.h"
#include "platform/event_loop.h"
#include "platform/file_system.h"

namespace zelmar::jobs {

// Base names of the per-slot exchange files; the slot's ".00n" follows.
inline constexpr const char* kStartFile = "SR_START";
inline constexpr const char* kDatiFile = "SR_DATI";
inline constexpr const char* kMatrFile = "SR_MATR";
inline constexpr const char* kOutFile = "SR_OUT";
inline constexpr const char* kErrFile = "SR_ERR";
inline constexpr const char* kFinescoFile = "FINESCO";
inline constexpr const char* kInFlightFile = "ZMINFLIGHT";  // a job on its way, see InFlightMarker

// How a job ended, as far as the POS application is concerned.
enum class JobEnd { kDone, kFailed };

// Other files of the data folder.
inline constexpr const char* kDeletionLogFile = "LOGFILE.TXT";

// The end-of-job marker: these seven bytes, no line end.
inline constexpr const char* kFinescoContent = "finesco";

// A file the POS application still holds open is retried this many times in all, with this
// pause before each new attempt: about ten seconds before giving up.
inline constexpr int kDeleteAttempts = 20;
inline constexpr int kDeleteRetryPauseMs = 500;

inline constexpr int kFirstSlot = 1;
inline constexpr int kLastSlot = 4;

// The exchange-file protocol of the data folder: names per slot, deletion with retry, the
// error file and FINESCO. Routines without a slot argument work on Session::CurrentSlot.
// No routine here ever fails the job cycle: file errors are swallowed.
class JobFiles {
  public:
    JobFiles(Session& session, platform::FileSystem& files, platform::EventLoop& loop);

    // Full path of a per-slot file: data folder, separator, base name and ".00n".
    std::string SlotFile(const std::string& baseName, int slot) const;
    // Full path of a file of the data folder.
    std::string DataFile(const std::string& name) const;

    // One attempt, failure ignored. `fileName` is relative to the data folder and may begin
    // with a separator ("\SR_ERR.001").
    void DeleteOnce(const std::string& fileName);
    void DeleteErrorFile();   // logs after the last failed attempt
    void DeleteResultFile();  // logs after the last failed attempt
    void DeleteJobFile();     // gives up silently
    // Deletes SR_START. FINESCO follows a job the register completed, and never a failed
    // one: the result decides, not whether SR_ERR could be written.
    void AnswerJob(JobEnd end);
    // Replaces SR_ERR of `slot` with the message (and, in network mode, the reply line).
    // A slot outside 1..4 writes nothing. A failed write goes to LOGFILE.TXT and the
    // operator notice; false then.
    bool WriteErrorFile(const std::string& message, int slot);
    // One time-stamped line in LOGFILE.TXT of the data folder.
    void LogLine(const std::string& text);
    // A file of the data folder that could not be written: LOGFILE.TXT and the operator.
    void ReportWriteFailure(const std::string& what);
    // Deletes a file given by its full path; waits pump the event loop; logs on giving up.
    void DeleteLogged(const std::string& path);

    // The second SR_ERR line in network mode ("code - message - class"); set by the network
    // transport. Without it, or in serial mode, SR_ERR has one line.
    void setReplyLineProvider(std::function<std::string()> provider);
    // Where the operator is told of a result file that could not be written.
    void setNoticeSink(std::function<void(const std::string&)> notice);

  private:
    enum class Pause { kPlainSleep, kPumped };
    // Deletes `path` if it exists, retrying a failed deletion; false when it is still there.
    bool DeleteWithRetry(const std::string& path, Pause pause);
    void LogDeletionFailure(const std::string& what);
    bool CurrentSlotValid() const;

    Session& session_;
    platform::FileSystem& files_;
    platform::EventLoop& loop_;
    std::function<std::string()> replyLine_;
    std::function<void(const std::string&)> notice_;
};

}  // namespace zelmar::jobs
