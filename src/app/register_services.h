#pragma once

#include <string>

namespace zelmar::app {

// What the job cycle asks of the register link, the transmission driver, the register-data
// read and the refund rewrite. The program wires the real ones; tests use fakes.
class RegisterServices {
  public:
    virtual ~RegisterServices() = default;
    virtual bool OpenComPort(int slot) = 0;  // start-up probe of a slot's port
    virtual void OpenConnection() = 0;
    virtual void CloseConnection() = 0;
    virtual void CloseSocket() = 0;
    virtual void InitNetwork() = 0;
    virtual int TransmitJob() = 0;  // job result code
    // A job the program was stopped in after its closing line: job result code.
    virtual int SettleInterruptedJob(const std::string& query) = 0;
    // The register-data read for Session::CurrentSlot; writes SR_MATR or E501 and returns
    // the outcome (0 success, -1 failure). The job cycle does the bookkeeping around it
    // (MainForm::StartRegisterDump): on failure SubKillStartFile, on success SubKillErrFile,
    // the slot's "DUMP ..." status text, DumpPending, the poll timer, CloseConnection and
    // the directory watcher.
    virtual int ReadRegisterData() = 0;
    virtual void RewriteRefundDiscounts(const std::string& datiPath) = 0;
};

}  // namespace zelmar::app
