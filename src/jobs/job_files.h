#pragma once

#include <functional>
#include <string>

#include "common/session.h"
#include "platform/event_loop.h"
#include "platform/file_system.h"

namespace zelmar::jobs {

// The exchange-file protocol of the data folder: names per slot, deletion with retry, the
// error file and FINESCO. Routines without a slot argument work on Session::CurrentSlot.
// No routine here ever fails the job cycle: file errors are swallowed.
class JobFiles {
  public:
    JobFiles(Session& session, platform::FileSystem& files, platform::EventLoop& loop);

    // Full path of a per-slot file: data folder, separator, base name and ".00n".
    std::string SlotFile(const std::string& baseName, int slot) const;

    void VerifyExistenceAndKill(const std::string& fileName);  // "\SR_ERR.001" style name
    void SubKillErrFile();
    void SubKillFileOut();
    void SubKillDatiFile();
    void SubKillStartFile();  // deletes SR_START and, with no SR_ERR, writes FINESCO
    void WriteErrFile(const std::string& message, int slot);
    void KillIfExists(const std::string& path);

    // The second SR_ERR line in network mode ("code - message - class"); set by the network
    // transport. Without it, or in serial mode, SR_ERR has one line.
    void setReplyLineProvider(std::function<std::string()> provider);

  private:
    // (implementation detail: retry helpers)
    Session& session_;
    platform::FileSystem& files_;
    platform::EventLoop& loop_;
    std::function<std::string()> replyLine_;
};

// SR_ERR text and window status word of a job result code.
std::string ErrorMessageForResult(int result);
std::string StatusWordForResult(int result);

}  // namespace zelmar::jobs
