#include "sim/core/tcp_engine.h"

#include "sim/core/command_responder.h"

namespace ecrsim {
namespace {

// Same bound as on the serial line: longer input is noise, refused as too long.
constexpr std::size_t kMaxCommandBytes = 1024;
constexpr int kTooLong = 0x02;  // "Presente campo/i comando in eccesso o troppo lungo"

}  // namespace

Outputs TcpEngine::receive(std::string_view bytes) {
    pending_.append(bytes);
    if (pending_.size() > kMaxCommandBytes) {
        pending_.clear();
        return EmitAnswer(faults_, model_.statusOnly(kTooLong, 0).text(), delayMs_, Transport::Tcp);
    }
    if (pending_.empty() || pending_.back() != '/') return {};
    const std::string command = pending_.substr(0, pending_.size() - 1);
    pending_.clear();
    const auto fault = faults_.take({FaultKind::Drop, FaultKind::Silent, FaultKind::Lost}, command);
    if (fault && fault->kind == FaultKind::Drop) return {{0, {}, true}};
    if (fault && fault->kind == FaultKind::Lost) model_.execute(command);  // the reply is lost
    if (fault) return {};
    const std::string answer = Respond(model_, faults_, command, Transport::Tcp).text();
    return EmitAnswer(faults_, answer, delayMs_, Transport::Tcp);
}

}  // namespace ecrsim
