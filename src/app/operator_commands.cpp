#include "app/operator_commands.h"

#include <algorithm>
#include <utility>

#include "app/job_texts.h"
#include "app/poll_interval.h"
#include "common/paths.h"
#include "common/register_models.h"
#include "common/version.h"
#include "common/version_text.h"
#include "config/ip_address.h"

namespace zelmar::app {
namespace {

// The register's "receipt open" fiscal state: the test receipt then only closes it.
constexpr int kFiscalStatusReceiptOpen = 22;
constexpr int kTestReceiptSales = 5;

constexpr const char* kProgramTitle = "Zelmar1";
constexpr const char* kCompanyName = "Telvo Engineering";
constexpr const char* kProgramComment =
    "Driver di stampa fiscale per registratori Micrelec / Apesse";
constexpr const char* kCopyright = "Copyright \xA9 Telvo Engineering";  // Windows-1252 sign

}  // namespace

AboutTexts AboutBoxTexts() {
    return {"Informazioni su Zelmar1", "Versione " + VersionText(),
            std::string(kProgramTitle) + " per Sistemi Windows 32/64 bit", kProgramComment};
}

SplashTexts SplashBoxTexts() {
    return {"Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
                std::to_string(kVersionRevision),
            kProgramTitle, kCompanyName, "Per sistemi Windows 32/64 bit", kCopyright};
}

std::vector<std::string> TestReceiptLines(const Session& session, int slot) {
    if (session.link.FiscalStatus == kFiscalStatusReceiptOpen) return {"+", "5/1/0///"};
    const RegisterData& reg = session.registers[static_cast<std::size_t>(slot - 1)];
    std::vector<std::string> lines;
    if (TraitsOfRegister(reg).salesStartLine) lines.emplace_back("W");
    lines.emplace_back("?");
    for (int k = 1; k <= kTestReceiptSales; ++k) {
        const auto index = static_cast<std::size_t>(k - 1);
        const std::string vat = index < reg.DeptVat.size() ? reg.DeptVat[index] : "0";
        const std::string n = std::to_string(k);
        lines.push_back("3/S/ART  PROVA " + n + "//1.000/0.01/" + n + "/" + vat);
    }
    lines.emplace_back("+");
    return lines;
}

OperatorCommands::OperatorCommands(OperatorParts parts)
    : session_(parts.session),
      form_(parts.form),
      loop_(parts.loop),
      files_(parts.files),
      jobFiles_(parts.jobFiles),
      registers_(parts.registers),
      link_(parts.link),
      settingsFiles_(parts.settingsFiles),
      shell_(parts.shell),
      socketState_(std::move(parts.socketState)) {}

bool OperatorCommands::RefusedWhileExchangeRuns() {
    if (!form_.ExchangeRunning()) return false;
    shell_.notice(kCommandRefusedDuringExchange);
    return true;
}

void OperatorCommands::PrintTestReceipt() {
    if (!session_.texts.WindowShown || RefusedWhileExchangeRuns()) return;
    const auto& pending = form_.state().ReadPending;
    if (std::all_of(pending.begin(), pending.end(), [](bool p) { return p; })) {
        session_.texts.RegisterMessage = kDumpNotYetDone;
        return;
    }
    const int slot = TestReceiptSlot();
    if (slot == 0) return;
    form_.BindTestReceipt(slot);
    WriteTestReceipt(slot);
    if (session_.options.PollMode() && !form_.PollTimer().enabled()) {
        form_.PollTimer().setEnabled(true);
    }
    session_.texts.TestReceiptEnabled = false;
}

int OperatorCommands::TestReceiptSlot() const {
    const JobState& state = form_.state();
    int target = 0;
    for (int n = 1; n <= 4; ++n) {
        const auto i = static_cast<std::size_t>(n - 1);
        if (session_.options.SlotServed[i] && state.PortFound[i] && !state.ReadPending[i])
            target = n;
    }
    return target;
}

void OperatorCommands::WriteTestReceipt(int slot) {
    // SR_DATI is complete before SR_START appears: the watcher may react to either at once.
    files_.replaceLinesAtomically(jobFiles_.SlotFile("SR_DATI", slot),
                                  TestReceiptLines(session_, slot));
    files_.writeLines(jobFiles_.SlotFile("SR_START", slot), {kTestReceiptStartLine}, false);
}

void OperatorCommands::CancelReceipt() {
    if (RefusedWhileExchangeRuns()) return;
    if (socketState_() != platform::TcpSocket::State::kConnected) registers_.OpenConnection();
    std::string command = "+";
    link_.SendCommand(command);  // the operator sees the register's answer
}

void OperatorCommands::ApplyBaudRate() {
    if (RefusedWhileExchangeRuns()) return;
    settingsFiles_.ApplyAndSaveBaudRate(session_.options);
}

void OperatorCommands::SetPollInterval() {
    if (form_.ExchangeRunning()) {
        shell_.notice(kTimerRefusedDuringJob);
        return;
    }
    const std::string typed = session_.options.PollIntervalText;
    if (LeadingNumber(typed) == 0) shell_.notice(kTimerValueRefused);
    platform::Timer& timer = form_.PollTimer();
    const bool wasEnabled = timer.enabled();
    timer.setEnabled(false);
    form_.ApplyPollInterval(typed, true);
    timer.setInterval(form_.state().PollInterval);
    timer.setEnabled(wasEnabled);
}

void OperatorCommands::OpenManual() {
    const std::string path = JoinPath(session_.DefaultDataFolder, kManualFileName);
    if (!files_.fileExists(path)) {
        shell_.notice(kManualNotFoundPrefix + path + kManualNotFoundSuffix);
    } else if (!shell_.openDocument(path)) {
        shell_.notice(kManualOpenFailed);
    }
}

void OperatorCommands::Exit() {
    form_.Unload();
}

void OperatorCommands::PingRegister(const std::string& caption, const CaptionSetter& setCaption) {
    if (!session_.options.UseNetwork || RefusedWhileExchangeRuns()) return;
    const std::string& address = session_.options.RegisterAddress;
    if (!address.empty() && config::IsValidIPAddress(address)) {
        setCaption(shell_.ping(address) < 1 ? kNoPing : kPingOk);
    } else {
        setCaption(kInvalidIp);
    }
    platform::WaitMs(loop_, kCaptionVerdictMs);
    setCaption(caption);
}

void OperatorCommands::CheckRegisterAddress(const std::string& caption,
                                            const CaptionSetter& setCaption) {
    setCaption(config::IsValidIPAddress(session_.options.RegisterAddress) ? kIpOk : kIpNotValid);
    platform::WaitMs(loop_, kCaptionVerdictMs);
    setCaption(caption);
}

void OperatorCommands::SetSlotServed(int slot, bool ticked) {
    bool& box = session_.options.SlotServed[static_cast<std::size_t>(slot - 1)];
    // A change the program made arrives with the box already holding it.
    if (box != ticked) settingsFiles_.SlotBoxChangedByOperator();
    box = ticked;
    form_.PollTimer().setEnabled(ticked);
}

void OperatorCommands::SelectNetwork() {
    if (RefusedWhileExchangeRuns()) return;
    session_.options.UseNetwork = true;
    registers_.CloseConnection();
    registers_.InitNetwork();
}

void OperatorCommands::SelectSerial() {
    if (RefusedWhileExchangeRuns()) return;
    session_.options.UseNetwork = false;
    registers_.CloseSocket();
    registers_.OpenConnection();
}

void OperatorCommands::SelectFastMode() {
    session_.options.FastMode = true;
    form_.PollTimer().setEnabled(false);
    session_.texts.timerControlsVisible = false;
    session_.texts.PollState = kTimerReady;
}

void OperatorCommands::SelectPollMode() {
    session_.options.FastMode = false;
    form_.RunJobAttempt();
}

void OperatorCommands::SetKeystrokeInput(bool ticked) {
    session_.options.KeystrokeInput = ticked;
    if (ticked) session_.options.RegisterLineInput = false;
}

void OperatorCommands::SetRegisterLineInput(bool ticked) {
    session_.options.RegisterLineInput = ticked;
    if (ticked) session_.options.KeystrokeInput = false;
}

void OperatorCommands::RestoreWindow() {
    const auto& pending = form_.state().ReadPending;
    for (std::size_t i = 0; i < pending.size(); ++i) {
        session_.texts.ReadState[i] = pending[i] ? kDumpNotDone : kDumpDone;
    }
    session_.texts.WindowShown = true;
}

void OperatorCommands::MinimiseWindow() {
    session_.texts.WindowShown = false;
}

}  // namespace zelmar::app
