#include "link/network_link.h"

#include <cstdlib>

#include "common/control_bytes.h"
#include "common/text_helpers.h"
#include "config/numeric_text.h"
#include "link/network_timing.h"
#include "link/reply_codes.h"

namespace zelmar::link {
namespace {

using platform::TcpSocket;
namespace nt = network_timing;

constexpr const char* kPollCommand = "?/";  // status poll while the operator is needed
constexpr long kMaxPort = 65535;

// Classes the transport acts on that the register's code table does not use today.
constexpr int kClassCoverOpen = 3;  // like paper: wait for the operator
constexpr int kClassSendAgain = 5;  // busy: send again at once

// Winsock errors that are not shown in the window (connection aborted, timed out).
constexpr int kConnectionAborted = 10053;
constexpr int kTimedOut = 10060;

// Operator notices.
constexpr const char* kNoConnectionNotice = "CONNESSIONE RETE NON VALIDA";
constexpr const char* kDeviceFaultNotice =
    "Errore grave della stampante fiscale, chiamare assistenza";

// Log lines of the ".log" file.
constexpr const char* kStartBanner =
    "=========================== INIZIO TRASMISSIONE COMANDO "
    "=======================================";
constexpr const char* kEndBanner =
    "================================== FINE TRASMISSIONE COMANDO "
    "==================================";
constexpr const char* kNotOpenLine = "WINSOCK NON APERTO";
constexpr const char* kAlreadyOpenLine = "Winsock gi\xE0 aperto, lo chiudo";
constexpr const char* kSendingLine = "Mando COMANDO ";
constexpr const char* kInvokeLine = "    SENDFULL : COMMAND - Invoco SendTCP";
constexpr const char* kTimeoutRetryLine =
    "    SENDFULL : COMMAND - rilevo Uscita per timeout, attendo 500msec e riprovo";
constexpr const char* kPostActionLine = "    SENDFULL : COMMAND - PostAction = ";
constexpr const char* kTransmitLine = "             SENDTCP : Trasmetto la stringa (";
constexpr const char* kTimeoutLine = "             SENDTCP : timeout ";
constexpr const char* kAckLine = "             SENDTCP : Ricevuto risposta status ACK (";
constexpr const char* kRoundsLine = "             SENDTCP : Ciclato ";
constexpr const char* kRoundsLineEnd = " volte in attesa della risposta";
constexpr const char* kArrivedLine = "                       WINSOCK - Arrivato (";

// The status code of a Winsock error event: the number as a control error (facility 0x0A).
long WinsockStatusCode(int number) {
    constexpr std::uint32_t kControlFacility = 0x800A0000U;
    return static_cast<std::int32_t>(kControlFacility |
                                     (static_cast<std::uint32_t>(number) & 0xFFFFU));
}

}  // namespace

// The state of one SendTcpCommand.
struct NetworkLink::Call {
    std::string command;  // the command of the call, with its "/"
    bool waitingForPaper = false;
    int sendsWithoutReply = 0;
    std::int64_t busySince = -1;     // first busy reply
    std::int64_t pollingSince = -1;  // first "?/" poll
};

NetworkLink::NetworkLink(Session& session, platform::EventLoop& loop, platform::TcpSocket& socket,
                         jobs::JobFiles& jobFiles, TraceSink& trace, platform::Shell& shell)
    : session_(session),
      loop_(loop),
      socket_(socket),
      jobFiles_(jobFiles),
      trace_(trace),
      shell_(shell) {
    socket_.onDataArrival = [this] { OnDataArrival(); };
    socket_.onError = [this](int number, const std::string& description) {
        OnSocketError(number, description);
    };
    jobFiles_.setReplyLineProvider([this] { return ReplySummary(reply_); });
}

NetworkLink::~NetworkLink() {
    socket_.onDataArrival = nullptr;
    socket_.onError = nullptr;
    jobFiles_.setReplyLineProvider(nullptr);
}

SendResult NetworkLink::sendCommand(const std::string& command) {
    std::string text = command;
    return SendTcpCommand(text);
}

void NetworkLink::OpenSocket() {
    if (socket_.state() != TcpSocket::State::kClosed) {
        Log(kAlreadyOpenLine);
        socket_.close();
    }
    if (session_.options.TraceOn) trace_.ClearLogLines();
    ConnectToRemote();
}

void NetworkLink::OpenConnection() {
    if (socket_.state() != TcpSocket::State::kClosed) {
        socket_.close();
        platform::WaitMs(loop_, nt::kReconnectPauseMs);
    }
    for (int waited = 0;
         socket_.state() != TcpSocket::State::kConnected && waited < nt::kMaxConnectWaitMs;
         waited += nt::kReconnectPauseMs) {
        const TcpSocket::State state = socket_.state();
        if (state == TcpSocket::State::kClosed || state == TcpSocket::State::kError) {
            ConnectToRemote();
        }
        platform::WaitMs(loop_, nt::kReconnectPauseMs);
    }
}

void NetworkLink::CloseSocketConnection() {
    socket_.close();
}

void NetworkLink::ConnectToRemote() {
    long port = 0;  // a port that is not a number gives a connection error, not a wrong port
    if (!config::ParseWholeNumber(session_.options.RegisterPort, kMaxPort, port)) port = 0;
    socket_.connectToHost(std::string(TrimBlanks(session_.options.RegisterAddress)),
                          static_cast<int>(port));
}

SendResult NetworkLink::SendTcpCommand(std::string& command) {
    Log(kStartBanner);
    if (socket_.state() != TcpSocket::State::kConnected) {
        Log(kNotOpenLine);
        ClearReply(reply_);  // the error file must not show the reply to an earlier command
        shell_.notice(kNoConnectionNotice);
        platform::WaitMs(loop_, nt::kNotConnectedPauseMs);
        return SendResult::kRefused;
    }
    if (!command.empty()) command += "/";
    Call call{command};
    reply_.ReplyCopy.clear();
    Next next = command.empty() ? Next::kEnd : Next::kSend;
    while (next == Next::kSend) {
        Log(kSendingLine + command);
        ClearReply(reply_);
        reply_.CommandSent = command;
        Log(kInvokeLine);
        if (command.size() > 1) Trace(" --> " + command);
        SendOverTcp(command);
        next = reply_.ReplyKind.empty() ? AfterTimeout(call) : AfterReply(call, command);
    }
    if (next == Next::kFail) return SendResult::kRefused;
    const bool accepted = reply_.ActionClass == "0";
    if (!accepted) {
        const std::string line = "fp_error n." + ReplySummary(reply_);
        Trace(" --> " + line);
        Log(line);
    }
    Log(kEndBanner);
    return accepted ? SendResult::kAccepted : SendResult::kRefused;
}

NetworkLink::Next NetworkLink::AfterTimeout(Call& call) {
    if (socket_.state() != TcpSocket::State::kConnected) {  // dropped or closed: no reply can come
        Log(kNotOpenLine);
        return Next::kEnd;
    }
    if (++call.sendsWithoutReply >= nt::kMaxSendsWithoutReply) return Next::kEnd;
    Log(kTimeoutRetryLine);
    platform::WaitMs(loop_, nt::kTimeoutRetryPauseMs);
    return Next::kSend;
}

NetworkLink::Next NetworkLink::AfterReply(Call& call, std::string& command) {
    call.sendsWithoutReply = 0;
    Log(kPostActionLine + reply_.ActionClass);
    switch (std::atoi(reply_.ActionClass.c_str())) {
        case kClassNone:
            platform::WaitMs(loop_, nt::kSettlePauseMs);
            if (!call.waitingForPaper) return Next::kEnd;
            command = call.command;  // the paper is back: the interrupted command again
            call.waitingForPaper = false;
            jobFiles_.DeleteErrorFile();
            return Next::kSend;
        case kClassBusy:
            if (OverBudget(call.busySince, nt::kMaxBusyMs)) return Next::kEnd;
            platform::WaitMs(loop_, nt::kRetryPauseMs);
            return Next::kSend;
        case kClassSendAgain:
            return OverBudget(call.busySince, nt::kMaxBusyMs) ? Next::kEnd : Next::kSend;
        case kClassWrongCommand:
            platform::WaitMs(loop_, nt::kRetryPauseMs);
            return Next::kEnd;
        case kClassCoverOpen:
        case kClassPaperOrCover:
            call.waitingForPaper = true;
            [[fallthrough]];
        default:
            if (OverBudget(call.pollingSince, nt::kMaxPollingMs)) return Next::kEnd;
            platform::WaitMs(loop_, nt::kRetryPauseMs);
            command = kPollCommand;
            return Next::kSend;
        case kClassDeviceFault:
            shell_.notice(kDeviceFaultNotice);
            return Next::kFail;
    }
}

// Starts the clock at the first call; true once `budgetMs` have passed since.
bool NetworkLink::OverBudget(std::int64_t& since, int budgetMs) const {
    if (since < 0) since = loop_.nowMs();
    return loop_.nowMs() - since >= budgetMs;
}

bool NetworkLink::SendOverTcp(const std::string& text) {
    loop_.pumpOnce();
    Log(kTransmitLine + text + ")");
    DiscardStaleInput();
    awaiting_ = true;
    socket_.send(text);
    const std::int64_t sentAt = loop_.nowMs();
    long rounds = 0;
    while (reply_.ReplyKind.empty() && socket_.state() == TcpSocket::State::kConnected) {
        const std::int64_t left = nt::kReplyWaitMs - (loop_.nowMs() - sentAt);
        if (left <= 0) break;
        loop_.pumpWait(static_cast<int>(left));  // sleeps until bytes, an event or the end
        ++rounds;
    }
    awaiting_ = false;
    const bool replied = !reply_.ReplyKind.empty();
    Log(replied ? kAckLine + reply_.ReplyCopy + ")" : std::string(kTimeoutLine));
    Log(kRoundsLine + std::to_string(rounds) + kRoundsLineEnd);
    return replied;
}

// Bytes that arrived after an earlier reply (a late answer, noise) must not pass for the
// reply to the next text.
void NetworkLink::DiscardStaleInput() {
    socket_.readAvailable();
    pending_.clear();
}

void NetworkLink::OnDataArrival() {
    const std::string chunk = socket_.readAvailable();
    if (chunk.empty() || !awaiting_ || !reply_.ReplyKind.empty()) return;
    pending_ += chunk;
    const std::size_t etx = pending_.find(kEtx);
    const std::size_t length = etx == std::string::npos ? pending_.size() : etx + 1;
    if (length > nt::kMaxReplyBytes) {
        // Noise, not a reply: ignored until the wait ends.
        pending_.clear();
        awaiting_ = false;
        return;
    }
    if (etx != std::string::npos) {
        std::string text = pending_.substr(0, length);
        pending_.clear();
        const std::size_t stx = text.rfind(kStx);
        if (stx != std::string::npos) text.erase(0, stx);
        DecodeReply(reply_, text, kReplyKindAck, text, reply_.CommandSent);
    }
    Log(kArrivedLine + chunk + ")");
}

void NetworkLink::OnSocketError(int number, const std::string& description) {
    const std::string text = "WS_Error n." + std::to_string(number) + " - " + description + " - " +
                             std::to_string(WinsockStatusCode(number));
    if (number != kConnectionAborted && number != kTimedOut) session_.texts.JobStatus = text;
    Trace(" --> " + text);
    // A failed socket stays failed until it is closed; closed, the next job connects afresh.
    if (socket_.state() != TcpSocket::State::kConnected) socket_.close();
}

void NetworkLink::Log(const std::string& message) {
    trace_.AddLogLine(message);
}

void NetworkLink::Trace(const std::string& markerAndText) {
    if (trace_.tracing()) trace_.traceLine(markerAndText);
}

}  // namespace zelmar::link
