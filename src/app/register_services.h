#pragma once

#include <string>

#include "jobs/job_messages.h"
#include "link/register_reader.h"

namespace zelmar::app {

// What the job cycle asks of the register link, the transmission driver, the register-data
// read and the refund rewrite. The program wires the real ones; tests use fakes.
class RegisterServices {
  public:
    virtual ~RegisterServices() = default;
    virtual bool ProbePort(int slot) = 0;  // start-up probe of a slot's port
    virtual void OpenConnection() = 0;
    virtual void CloseConnection() = 0;
    virtual void CloseSocket() = 0;
    virtual void InitNetwork() = 0;
    virtual jobs::JobResult TransmitJob(const link::JobRequest& job) = 0;
    // A job the program was stopped in after its closing line.
    virtual jobs::JobResult SettleInterruptedJob(const link::JobRequest& job,
                                                 const std::string& query) = 0;
    // The register-data read for Session::CurrentSlot; writes SR_MATR or E501. The job cycle
    // does the bookkeeping around it (MainForm::StartRegisterRead): on failure
    // AnswerJob, on success DeleteErrorFile, the slot's "DUMP ..." status text,
    // ReadPending, the poll timer, CloseConnection and the directory watcher.
    virtual link::ReadOutcome ReadRegisterData() = 0;
    virtual void RewriteRefundDiscounts(const std::string& datiPath) = 0;
};

}  // namespace zelmar::app
