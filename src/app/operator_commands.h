#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/register_services.h"
#include "common/session.h"
#include "config/settings_files.h"
#include "jobs/job_files.h"
#include "link/command_sender.h"
#include "platform/event_loop.h"
#include "platform/file_system.h"
#include "platform/shell.h"
#include "platform/tcp_socket.h"

namespace zelmar::app {

// Texts of the operator's messages and of the boxes.
inline constexpr const char* kDumpNotYetDone = "DUMP NON ANCORA ESEGUITO";
inline constexpr const char* kTimerRefusedDuringJob = "Connessione in corso, valore non accettato";
inline constexpr const char* kTimerValueRefused = "Valore non ammesso";
inline constexpr const char* kCommandRefusedDuringExchange =
    "Connessione in corso, comando non eseguito";
inline constexpr const char* kManualFileName = "manzelmar1.pdf";
inline constexpr const char* kManualNotFoundPrefix = "File: ";
inline constexpr const char* kManualNotFoundSuffix = " non trovato";
inline constexpr const char* kManualOpenFailed =
    "Operazione non eseguita: verificare presenza Reader ";
inline constexpr const char* kTestReceiptStartLine = "00000000";
// The network check buttons show their verdict in their caption for this long (the wait
// pumps the loop like every wait).
inline constexpr int kCaptionVerdictMs = 2000;
inline constexpr const char* kPingOk = "PING OK";
inline constexpr const char* kNoPing = "No Ping";
inline constexpr const char* kInvalidIp = "Inv. IP";
inline constexpr const char* kIpOk = "IP OK";
inline constexpr const char* kIpNotValid = "IP non Valido";

// The about and splash boxes' texts.
struct AboutTexts {
    std::string caption;     // frmAbout
    std::string lblVersion;  // "Versione a.b.0.c"
    std::string lblTitle;    // title + " per Sistemi Windows 32/64 bit"
    std::string lblDescription;
};
struct SplashTexts {
    std::string version;  // "Version a.b.c"
    std::string title;
    std::string company;
    std::string platform;
    std::string copyright;
};
AboutTexts AboutBoxTexts();
SplashTexts SplashBoxTexts();

// The register command lines of the test receipt for the register of `slot`.
std::vector<std::string> TestReceiptLines(const Session& session, int slot);

// Everything the operator commands reach. All references outlive the commands.
struct OperatorParts {
    Session& session;
    MainForm& form;
    platform::EventLoop& loop;
    platform::FileSystem& files;
    jobs::JobFiles& jobFiles;
    RegisterServices& registers;
    link::CommandSender& link;
    config::SettingsFiles& settingsFiles;
    platform::Shell& shell;
    // Without a network transport the socket is never connected.
    std::function<platform::TcpSocket::State()> socketState = [] {
        return platform::TcpSocket::State::kClosed;
    };
};

// The window's buttons, menu entries and option clicks as plain functions: the window and the
// headless program call these and nothing else. Messages go through Shell::notice.
class OperatorCommands {
  public:
    explicit OperatorCommands(OperatorParts parts);

    // Buttons and menu entries.
    void PrintTestReceipt();  // test receipt: writes its job for the job cycle
    void CancelReceipt();     // cancel the open receipt
    void ApplyBaudRate();     // take and save the baud rate of BaudRateText
    void SetPollInterval();   // take and save the polling interval of PollIntervalText
    void OpenManual();        // open the user manual
    void Exit();              // end the program
    // The network checks: `setCaption` shows the verdict, then `caption` again.
    using CaptionSetter = std::function<void(const std::string&)>;
    void PingRegister(const std::string& caption, const CaptionSetter& setCaption);
    void CheckRegisterAddress(const std::string& caption, const CaptionSetter& setCaption);

    // Option clicks. A slot box's change, by the operator or the program, is a click on it:
    // ticked enables the poll (the window also locks its configuration frames), unticked
    // stops it. Only the operator's click changes the box's value here: it marks the slots as
    // chosen, so the exit saves ZMCHKCOM.TXT whatever the file held.
    void SetSlotServed(int slot, bool ticked);
    void SelectNetwork();
    void SelectSerial();
    void SelectFastMode();
    void SelectPollMode();
    void SetKeystrokeInput(bool ticked);
    void SetRegisterLineInput(bool ticked);

    // The restore from the notification icon.
    void RestoreWindow();
    void MinimiseWindow();

  private:
    // While a job or a register-data read holds the link, a command that would send, open,
    // close or reconfigure it is refused with a notice.
    bool RefusedWhileExchangeRuns();
    int TestReceiptSlot() const;
    void WriteTestReceipt(int slot);

    Session& session_;
    MainForm& form_;
    platform::EventLoop& loop_;
    platform::FileSystem& files_;
    jobs::JobFiles& jobFiles_;
    RegisterServices& registers_;
    link::CommandSender& link_;
    config::SettingsFiles& settingsFiles_;
    platform::Shell& shell_;
    std::function<platform::TcpSocket::State()> socketState_;
};

}  // namespace zelmar::app
