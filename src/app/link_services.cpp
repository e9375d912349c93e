#include "app/link_services.h"

#include "convert/refund_rewrite.h"

namespace zelmar::app {

LinkServices::LinkServices(link::Link& link, link::TransmissionDriver& driver,
                           link::RegisterReader& reader)
    : link_(link), driver_(driver), reader_(reader) {}

void LinkServices::setNetwork(link::NetworkTransport* network) {
    network_ = network;
    link_.setNetwork(network);
    driver_.setNetwork(network);
}

bool LinkServices::ProbePort(int slot) {
    return link_.ProbeComPort(slot);
}

void LinkServices::OpenConnection() {
    link_.OpenConnection();
}

void LinkServices::CloseConnection() {
    link_.CloseConnection();
}

void LinkServices::CloseSocket() {
    if (network_) network_->close();
}

void LinkServices::InitNetwork() {
    if (network_) network_->initialise();
}

jobs::JobResult LinkServices::TransmitJob(const link::JobRequest& job) {
    return driver_.TransmitJob(job);
}

jobs::JobResult LinkServices::SettleInterruptedJob(const link::JobRequest& job,
                                                   const std::string& query) {
    return driver_.SettleInterruptedJob(job, query);
}

link::ReadOutcome LinkServices::ReadRegisterData() {
    return reader_.ReadRegisterData();
}

void LinkServices::RewriteRefundDiscounts(const std::string& datiPath) {
    convert::RewriteRefundDiscounts(datiPath, datiPath);
}

}  // namespace zelmar::app
