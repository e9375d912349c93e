#pragma once

#include "app/register_services.h"

namespace zelmar::app {

// STAND-IN, to be replaced by the link's services (app/link_services.h) when they are wired:
// no port answers, every read and job fails. It lets the program run its start-up, poll and
// unload without a register.
class OfflineServices : public RegisterServices {
  public:
    bool OpenComPort(int) override { return false; }
    int OpenConnection() override { return 0; }
    void CloseConnection() override {}
    void CloseSocket() override {}
    void InitNetwork() override {}
    int TransmitJob() override { return kNoAnswer; }
    int ReadRegisterData() override { return -1; }
    bool TableReadInProgress() const override { return false; }
    void RewriteRefundDiscounts(const std::string&) override {}

  private:
    static constexpr int kNoAnswer = -4;  // the job result of a register that never answers
};

}  // namespace zelmar::app
