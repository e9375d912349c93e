#pragma once

#include <cstdint>
#include <string>

#include "common/session.h"
#include "common/trace_sink.h"
#include "jobs/job_files.h"
#include "link/network_transport.h"
#include "link/reply_record.h"
#include "platform/event_loop.h"
#include "platform/shell.h"
#include "platform/tcp_socket.h"

namespace zelmar::link {

// The register over TCP: each command goes out unframed with "/" appended, the reply (STX,
// text, checksum, ETX) is collected up to its ETX and decoded into the reply record, and the
// reply's action class decides what is sent next. Every step is logged for the ".log" file.
// The object installs itself as the socket's handlers and as the provider of the second
// SR_ERR line; it must outlive neither the socket nor the job files.
class NetworkLink : public NetworkTransport {
  public:
    NetworkLink(Session& session, platform::EventLoop& loop, platform::TcpSocket& socket,
                jobs::JobFiles& jobFiles, TraceSink& trace, platform::Shell& shell);
    ~NetworkLink() override;
    NetworkLink(const NetworkLink&) = delete;
    NetworkLink& operator=(const NetworkLink&) = delete;

    // NetworkTransport
    SendResult sendCommand(const std::string& command) override;
    const std::string& rawReply() const override { return reply_.ReplyCopy; }
    void open() override { OpenConnection(); }
    void close() override { CloseSocketConnection(); }
    platform::TcpSocket::State socketState() const override { return socket_.state(); }
    void initialise() override { OpenSocket(); }

    // Sets up the connection to RegisterAddress:RegisterPort and starts connecting.
    void OpenSocket();
    // Makes sure the connection is up: closes a socket that is not closed, then connects and
    // waits for the connected state, at most network_timing::kMaxConnectWaitMs.
    void OpenConnection();
    void CloseSocketConnection();
    // Sends one command line; accepted when the register's reply has action class 0, refused
    // otherwise. The command is left as the last text sent.
    SendResult SendTcpCommand(std::string& command);
    // Sends one text and waits for its reply, at most network_timing::kReplyWaitMs; true when
    // a reply arrived.
    bool SendOverTcp(const std::string& text);

    const ReplyRecord& reply() const { return reply_; }

  private:
    struct Call;
    enum class Next { kSend, kEnd, kFail };

    void OnDataArrival();
    void OnSocketError(int number, const std::string& description);
    void ConnectToRemote();
    void DiscardStaleInput();
    Next AfterTimeout(Call& call);
    Next AfterReply(Call& call, std::string& command);
    bool OverBudget(std::int64_t& since, int budgetMs) const;
    void Log(const std::string& message);
    void Trace(const std::string& markerAndText);

    Session& session_;
    platform::EventLoop& loop_;
    platform::TcpSocket& socket_;
    jobs::JobFiles& jobFiles_;
    TraceSink& trace_;
    platform::Shell& shell_;
    ReplyRecord reply_;
    std::string pending_;    // bytes of the reply being collected
    bool awaiting_ = false;  // a sent text waits for its reply
};

}  // namespace zelmar::link
