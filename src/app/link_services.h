#pragma once

#include <string>

#include "app/register_services.h"
#include "link/link.h"
#include "link/network_transport.h"
#include "link/register_reader.h"
#include "link/transmission.h"

namespace zelmar::app {

// The job cycle's register services over the real link: the serial link (or the network
// transport when one is set), the transmission driver and the register-data read.
class LinkServices : public RegisterServices {
  public:
    LinkServices(link::Link& link, link::TransmissionDriver& driver, link::RegisterReader& reader);

    // Plugs the network transport into the link, the driver and these services; not owned.
    void setNetwork(link::NetworkTransport* network);

    bool ProbePort(int slot) override;
    void OpenConnection() override;
    void CloseConnection() override;
    void CloseSocket() override;
    void InitNetwork() override;
    jobs::JobResult TransmitJob(const link::JobRequest& job) override;
    jobs::JobResult SettleInterruptedJob(const link::JobRequest& job,
                                         const std::string& query) override;
    link::ReadOutcome ReadRegisterData() override;
    void RewriteRefundDiscounts(const std::string& datiPath) override;

  private:
    link::Link& link_;
    link::TransmissionDriver& driver_;
    link::RegisterReader& reader_;
    link::NetworkTransport* network_ = nullptr;
};

}  // namespace zelmar::app
