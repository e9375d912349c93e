#include "link/link.h"

#include <cstdint>

#include "common/register_models.h"
#include "jobs/job_messages.h"
#include "link/frame.h"
#include "link/link_timing.h"
#include "link/serial_line.h"
#include "link/status_fields.h"

namespace zelmar::link {
namespace {

// What one answer asks SendCommand to do next.
enum class Next { kDone, kRetryAtOnce, kBusyTooLong };

// The state of one SendCommand on the serial line.
struct Call {
    SendResult result = SendResult::kRefused;
    int attempts = timing::kAttemptBudget;
    int busy = 0;
    int freeRetries = 0;
    bool jRewritten = false;
    bool done = false;
    std::int64_t paperOutSince = -1;  // virtual or real ms of the first paper-end answer
};

}  // namespace

struct Link::Impl {
    Impl(Session& s, platform::EventLoop& l, platform::SerialPort& p, jobs::JobFiles& j,
         TraceSink& t)
        : session(s), loop(l), port(p), jobFiles(j), trace(t), line(s.link, l, p, t) {}

    Session& session;
    platform::EventLoop& loop;
    platform::SerialPort& port;
    jobs::JobFiles& jobFiles;
    TraceSink& trace;
    SerialLine line;
    NetworkTransport* network = nullptr;
    int openSlot = 0;      // the slot whose device the port has open; 0 when closed
    bool sending = false;  // a SendCommand is running (its waits pump the event loop)

    LinkState& state() { return session.link; }
    ModelTraits model() const { return TraitsOfRegister(session.reg()); }
    void traceLine(const std::string& text) {
        if (trace.tracing()) trace.traceLine(text);
    }

    SendResult sendSerial(std::string& command);
    SendResult sendNetwork(const std::string& command);
    bool enquire();
    SerialLine::ReadResult exchangeFrame(const std::string& command, Call& call);
    void followPaper(bool wasPaperOut, Call& call);
    bool paperWaitExpired(const Call& call) const;
    Next judgeAnswer(std::string& command, Call& call);
    void rewriteHeading(std::string& command) const;

    bool portOpenFor(int slot) const { return port.isOpen() && openSlot == slot; }
    bool bindToSlot(int slot);
    bool openForSlot(int slot);
    void closePort();
};

// The port only ever carries the slot it was configured for: another slot's open port is
// closed before the device is changed.
bool Link::Impl::bindToSlot(int slot) {
    if (portOpenFor(slot)) return true;
    if (port.isOpen()) closePort();
    const auto& devices = session.PortDevice;
    if (slot < 1 || slot > static_cast<int>(devices.size())) return false;
    return port.configure(devices[static_cast<std::size_t>(slot - 1)], session.options.BaudRate);
}

bool Link::Impl::openForSlot(int slot) {
    if (portOpenFor(slot)) return true;
    if (!bindToSlot(slot) || !port.open()) return false;
    openSlot = slot;
    return true;
}

void Link::Impl::closePort() {
    if (port.isOpen()) port.close();
    openSlot = 0;
}

Link::Link(Session& session, platform::EventLoop& loop, platform::SerialPort& port,
           jobs::JobFiles& jobFiles, TraceSink& trace)
    : impl_(std::make_unique<Impl>(session, loop, port, jobFiles, trace)) {}

Link::~Link() = default;

void Link::setNetwork(NetworkTransport* network) {
    impl_->network = network;
}

bool Link::ProbeComPort(int slot) {
    return impl_->bindToSlot(slot) && impl_->port.probe();
}

void Link::OpenConnection() {
    if (impl_->session.options.UseNetwork) {
        if (impl_->network) impl_->network->open();
        return;
    }
    impl_->openForSlot(impl_->session.CurrentSlot);
}

void Link::CloseConnection() {
    if (impl_->session.options.UseNetwork) {
        if (impl_->network) impl_->network->close();
        return;
    }
    impl_->closePort();
}

bool Link::PortOpen() const {
    return impl_->portOpenFor(impl_->session.CurrentSlot);
}

bool Link::OpenPort() {
    return impl_->openForSlot(impl_->session.CurrentSlot);
}

void Link::ClosePort() {
    impl_->closePort();
}

bool Link::WriteRaw(const std::string& bytes) {
    return PortOpen() && impl_->port.write(bytes);
}

int Link::ParseStatus(const std::string& text) {
    return link::ParseStatus(text, impl_->session.link, impl_->session.texts);
}

SendResult Link::SendCommand(std::string& command) {
    // One exchange at a time: a command started from an event handler while another one waits
    // would take its answer. The program's end stops every further command at once.
    if (impl_->sending || impl_->state().ExchangeAborted) return SendResult::kNoContact;
    impl_->sending = true;
    const SendResult result = impl_->session.options.UseNetwork ? impl_->sendNetwork(command)
                                                                : impl_->sendSerial(command);
    impl_->sending = false;
    return result;
}

SendResult Link::Impl::sendNetwork(const std::string& command) {
    if (!network) return SendResult::kRefused;
    SendResult result = network->sendCommand(command);
    const std::string& raw = network->rawReply();
    if (raw.size() >= 8) {
        state().ResponseText = raw.substr(1, raw.size() - 4);
        traceLine(" <-- " + state().ResponseText);
        link::ParseStatus(state().ResponseText, state(), session.texts);
        if (state().ResultCode != 0) result = SendResult::kRefused;
    }
    return result;
}

SendResult Link::Impl::sendSerial(std::string& command) {
    if (!portOpenFor(session.CurrentSlot)) return SendResult::kRefused;
    Call call;
    state().ResponseText.clear();
    using ReadResult = SerialLine::ReadResult;
    ReadResult lastRead = ReadResult::kSilence;
    bool retryAtOnce = false;  // busy, device-status retry and the "j" rewrite skip the budget test
    while (retryAtOnce || (call.attempts > 0 && !call.done)) {
        retryAtOnce = false;
        traceLine(" --> " + command);
        call.result = SendResult::kNoContact;
        line.drainInput();
        if (!enquire()) return call.result;
        lastRead = exchangeFrame(command, call);
        if (lastRead == ReadResult::kPortFailed) return call.result;
        if (lastRead == ReadResult::kSilence) {
            line.DiscardLateAnswer();
            SpendAttemptOnSilence(call.attempts);
            continue;
        }
        if (lastRead != ReadResult::kGoodFrame) break;  // NAKs or bad frames spent the budget
        const Next next = judgeAnswer(command, call);
        if (next == Next::kBusyTooLong) return SendResult::kBusyTooLong;
        retryAtOnce = next == Next::kRetryAtOnce;
    }
    if (lastRead != ReadResult::kGoodFrame) return SendResult::kRefused;
    if (!state().ResponseText.empty()) traceLine(" <-- " + state().ResponseText);
    return call.result;
}

// Up to three ENQs; true at the first ACK. False also when the port refuses the ENQ.
bool Link::Impl::enquire() {
    bool heardSomething = false;
    for (int tries = 0; tries < timing::kEnquiryTries; ++tries) {
        if (!line.send(std::string(1, kEnq))) return false;
        if (line.WaitAck() == SerialLine::AckReply::kAck) return true;
        heardSomething = heardSomething || !state().RxBuffer.empty();
    }
    if (model().drainsAfterSilentEnquiries && heardSomething) {
        platform::WaitMs(loop, timing::kDrainPauseMs);
        line.drainInput();
    }
    return false;
}

// Sends the frame, and again after each NAK of the register, until an answer, silence or the
// end of the budget.
SerialLine::ReadResult Link::Impl::exchangeFrame(const std::string& command, Call& call) {
    const std::string frame = BuildCommandFrame(command);
    for (;;) {
        state().RxBuffer.clear();
        if (!line.send(frame)) return SerialLine::ReadResult::kPortFailed;
        const SerialLine::ReadResult answer = line.ReadResponse(call.attempts);
        if (answer != SerialLine::ReadResult::kNakReceived) return answer;
        // Busy answers may already have taken the budget below zero: "none left" is <= 0.
        if (--call.attempts <= 0) return answer;
        platform::WaitMs(loop,
                         model().slowAfterNak ? timing::kSlowNakPauseMs : timing::kNakPauseMs);
    }
}

// Paper end: the budget is reset while the operator changes the roll, E104 is written once
// when it starts and removed when the paper is back.
void Link::Impl::followPaper(bool wasPaperOut, Call& call) {
    if (state().PaperOut) {
        if (call.paperOutSince < 0) call.paperOutSince = loop.nowMs();
        call.attempts = timing::kBudgetOnPaperOut;
        platform::WaitMs(loop, timing::kPaperOutPauseMs);
        if (!wasPaperOut) jobFiles.WriteErrorFile(jobs::kMsgPaperOut, session.CurrentSlot);
    } else if (wasPaperOut) {
        jobFiles.DeleteErrorFile();
        platform::WaitMs(loop, timing::kPaperBackPauseMs);
    }
}

bool Link::Impl::paperWaitExpired(const Call& call) const {
    return session.link.PaperOut && call.paperOutSince >= 0 &&
           loop.nowMs() - call.paperOutSince >= timing::kMaxPaperOutWaitMs;
}

Next Link::Impl::judgeAnswer(std::string& command, Call& call) {
    auto& st = state();
    const bool wasPaperOut = st.PaperOut;
    link::ParseStatus(st.ResponseText, st, session.texts);
    followPaper(wasPaperOut, call);
    const int code = st.ResultCode;
    if (code == kResultAccepted || code == kResultAcceptedToo || code == kResultAcceptedAlso) {
        call.result = SendResult::kAccepted;
        call.done = true;
        return Next::kDone;
    }
    if (paperWaitExpired(call)) {
        call.result = SendResult::kRefused;
        call.done = true;
        return Next::kDone;
    }
    if (code != kResultPaperEnd && code != kResultFree) --call.attempts;
    if (code == kResultBusy || (model().busyAlsoOn0E && code == kResultAlsoBusy)) {
        traceLine(" <-- " + st.ResponseText);
        if (++call.busy > timing::kMaxBusyAnswers) {
            platform::WaitMs(loop, timing::kBusyGiveUpPauseMs);
            return Next::kBusyTooLong;
        }
        platform::WaitMs(loop, timing::kBusyPauseMs);
        return Next::kRetryAtOnce;
    }
    const bool freeRetry = code == kResultFree;
    if (call.attempts > 0 && (st.DeviceStatus & kDeviceRetryNow) != 0 &&
        (!freeRetry || ++call.freeRetries <= timing::kMaxFreeRetries)) {
        traceLine(" <-- " + st.ResponseText);
        return Next::kRetryAtOnce;
    }
    if (!call.jRewritten && command.starts_with('j') && code == kResultFieldsMissing) {
        rewriteHeading(command);
        call.jRewritten = true;
        return Next::kRetryAtOnce;
    }
    call.result = SendResult::kRefused;
    call.done = true;
    return Next::kDone;
}

// A customer heading refused as too short is sent again with header lines 4 to 6 inserted
// before its last character.
void Link::Impl::rewriteHeading(std::string& command) const {
    const auto& header = session.conv.InvoiceHeader;
    const char last = command.back();
    command.pop_back();
    command += header[3] + "/" + header[4] + "/" + header[5];
    command += model().longSixthHeadingLine ? "/ / / /" : "/";
    command += last;
}

}  // namespace zelmar::link
