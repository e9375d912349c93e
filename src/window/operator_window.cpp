#include "window/operator_window.h"

#include <iterator>
#include <string>
#include <vector>

#include "app/job_texts.h"
#include "app/operator_commands.h"
#include "config/data_folder.h"
#include "jobs/job_messages.h"
#include "link/register_reader.h"

namespace zelmar::window {
namespace {

const char* const kCaption =
    "Telvo Zelmar1 Micrelec / Apesse (rs232,usb,rete)"
    "                 "  // seventeen blanks
    "RT V.7";

constexpr int kRowPitch = 28;  // one slot's row in Frame1

std::vector<std::string> Items(const auto& texts) {
    return {std::begin(texts), std::end(texts)};
}

// "ZELMAR1 TERMINATO : " and the word of every job result, and the text while a job runs.
std::vector<std::string> JobStatusTexts() {
    std::vector<std::string> texts{app::kStatusTransmitting};
    for (jobs::JobResult result :
         {jobs::JobResult::kOk, jobs::JobResult::kReceiptOpen, jobs::JobResult::kNoAnswer,
          jobs::JobResult::kInterrupted, jobs::JobResult::kConversionError,
          jobs::JobResult::kDataFileVanished}) {
        texts.push_back(std::string(app::kStatusFinished) + app::kStatusSeparator +
                        jobs::StatusWordForResult(result));
    }
    return texts;
}

void AddMenus(std::vector<Control>& c) {
    c.push_back({.name = "mnuFile", .kind = Kind::kMenu, .caption = "&File"});
    c.push_back({.name = "m_esci",
                 .kind = Kind::kMenuItem,
                 .frame = "mnuFile",
                 .caption = "T&ermina Zelmar1",
                 .command = Command::kExit,
                 .defaultItem = true});
    c.push_back({.name = "m_manual",
                 .kind = Kind::kMenuItem,
                 .frame = "mnuFile",
                 .caption = "&Manuale Zelmar1",
                 .command = Command::kOpenManual});
    c.push_back({.name = "mnuHelp", .kind = Kind::kMenu, .caption = "&?"});
    c.push_back({.name = "m_info",
                 .kind = Kind::kMenuItem,
                 .frame = "mnuHelp",
                 .caption = "&Informazioni  su  Zelmar1",
                 .command = Command::kShowAbout});
}

// Frame1: a row per slot with its box, its port's shape and its register-data read state.
void AddPortsFrame(std::vector<Control>& c) {
    c.push_back({.name = "Frame1",
                 .kind = Kind::kFrame,
                 .caption = "Porte di comunicazione",
                 .rect = {9, 9, 466, 167}});
    c.push_back({.name = "Label4", .frame = "Frame1", .caption = "Porta", .rect = {12, 29, 0, 14}});
    c.push_back(
        {.name = "lblPort", .frame = "Frame1", .caption = "Attiva", .rect = {60, 29, 0, 14}});
    c.push_back({.name = "Label8",
                 .frame = "Frame1",
                 .caption = "Stato",
                 .tip = "Se verde indica che la porta \xE8 attiva",
                 .rect = {104, 29, 0, 14}});
    c.push_back(
        {.name = "Label5", .frame = "Frame1", .caption = "Stato dump", .rect = {146, 29, 0, 14}});
    const char* const portLabels[] = {"Label3", "Label6", "Label11", "Label12"};
    const char* const shapes[] = {"Shape1", "Shape2", "Shape4", "Shape5"};
    for (int slot = 1; slot <= 4; ++slot) {
        const std::string n = std::to_string(slot);
        const int y = 49 + (slot - 1) * kRowPitch;
        c.push_back({.name = portLabels[slot - 1],
                     .frame = "Frame1",
                     .caption = "COM " + n,
                     .rect = {12, y, 0, 22}});
        c.push_back({.name = "Check" + n,
                     .kind = Kind::kCheckBox,
                     .frame = "Frame1",
                     .tip = "Abilita / disabilita COM" + n,
                     .rect = {60, y + 3, 20, 15},
                     .command = Command::kServeSlot,
                     .enabledWhen = When::kSlotSelectable,
                     .slot = slot});
        c.push_back({.name = shapes[slot - 1],
                     .kind = Kind::kShape,
                     .frame = "Frame1",
                     .tip = "Verde, se COM" + n + " disponibile",
                     .rect = {104, y + 2, 18, 18},
                     .slot = slot});
        c.push_back({.name = "Text" + std::to_string(slot + 3),
                     .kind = Kind::kText,
                     .frame = "Frame1",
                     .tip = "Segnala se DUMP ricevuto su COM" + n,
                     .rect = {146, y, 308, 22},
                     .shows = {app::kDumpDone, app::kDumpNotDone},
                     .slot = slot});
    }
}

// Frame7 (no caption): poll or fast mode and the poll interval; the trace box beside it.
void AddTimerFrame(std::vector<Control>& c) {
    c.push_back({.name = "Frame7",
                 .kind = Kind::kFrame,
                 .rect = {9, 182, 260, 165},
                 .enabledWhen = When::kConfigurationOpen});
    c.push_back({.name = "OptionSlow",
                 .kind = Kind::kRadio,
                 .frame = "Frame7",
                 .caption = "Timer",
                 .rect = {12, 45, 0, 20},
                 .command = Command::kSelectPollMode,
                 .flag = &Options::FastMode,
                 .flagValue = false});
    c.push_back({.name = "OptionFAST",
                 .kind = Kind::kRadio,
                 .frame = "Frame7",
                 .caption = "Fast",
                 .rect = {12, 102, 0, 20},
                 .command = Command::kSelectFastMode,
                 .flag = &Options::FastMode});
    c.push_back({.name = "txtTimerVal",
                 .kind = Kind::kEdit,
                 .frame = "Frame7",
                 .tip = "Valore del timer in secondi",
                 .rect = {82, 44, 80, 22},
                 .shows = {"60000ms"},
                 .shownWhen = When::kTimerControls,
                 .optionText = &Options::PollIntervalText});
    c.push_back({.name = "cmdChgTimer",
                 .kind = Kind::kButton,
                 .frame = "Frame7",
                 .caption = "Set timer",
                 .tip = "Cliccare per settare il timer",
                 .rect = {168, 44, 80, 22},
                 .command = Command::kSetPollInterval,
                 .shownWhen = When::kTimerControls});
    c.push_back(
        {.name = "Label7", .frame = "Frame7", .caption = "Stato Timer", .rect = {82, 101, 80, 22}});
    c.push_back({.name = "Text3",
                 .kind = Kind::kText,
                 .frame = "Frame7",
                 .rect = {168, 101, 80, 22},
                 .shows = {app::kTimerReady, app::kTimerOnUpper, app::kTimerOnLower},
                 .windowText = &WindowTexts::PollState});
    c.push_back({.name = "chbTrace",
                 .kind = Kind::kCheckBox,
                 .caption = "Abilita Trace di Comunic.",
                 .rect = {277, 254, 0, 20},
                 .flag = &Options::TraceOn});
}

// Frame6: the conversion options, two to a row.
void AddOptionsFrame(std::vector<Control>& c) {
    c.push_back({.name = "Frame6",
                 .kind = Kind::kFrame,
                 .caption = "Opzioni",
                 .rect = {9, 353, 466, 165},
                 .enabledWhen = When::kConfigurationOpen});
    struct Box {
        const char* name;
        const char* caption;
        bool Options::*flag;
        Command command = Command::kNone;
        When shownWhen = When::kAlways;
    };
    const Box boxes[] = {
        {"chbPrintCode", "Stampa Codice Articolo", &Options::PrintItemCode},
        {"chbScontiSuReso", "Abil. Sconti su Reso", &Options::DiscountsOnRefund, Command::kNone,
         When::kRefundDiscounts},
        {"chbNFIntestazione", "Attiva Intest. Non Fisc.", &Options::NonFiscalHeading},
        {"chbDoppioScontrino", "Doppio Scontrino Autom.", &Options::PrintReceiptCopy},
        {"chbEnableMicrelecInput", "Abilita Input Micrelec", &Options::RegisterLineInput,
         Command::kRegisterLineInput},
        {"chbDisableExtDescr", "Disabilita Descr. Estesa", &Options::NoExtendedDescription},
        {"chbDisableTotalizzatori", "Disabilita Totalizzatori", &Options::NoTotalsInResult},
        {"chbConvXonXoff", "Conversione da XonXoff", &Options::KeystrokeInput,
         Command::kKeystrokeInput},
    };
    int index = 0;
    for (const Box& box : boxes) {
        c.push_back({.name = box.name,
                     .kind = Kind::kCheckBox,
                     .frame = "Frame6",
                     .caption = box.caption,
                     .rect = {12 + (index % 2) * 224, 34 + (index / 2) * 31, 0, 20},
                     .command = box.command,
                     .shownWhen = box.shownWhen,
                     .flag = box.flag});
        ++index;
    }
}

// Frame5: serial or network transport, the register's address and the data folder.
void AddProgramFrame(std::vector<Control>& c) {
    c.push_back({.name = "Frame5",
                 .kind = Kind::kFrame,
                 .caption = "Configurazione Programma",
                 .rect = {481, 9, 410, 241},
                 .enabledWhen = When::kConfigurationOpen});
    c.push_back({.name = "Label14",
                 .frame = "Frame5",
                 .caption = "Protocollo Tcp / Ip",
                 .rect = {12, 29, 0, 14}});
    c.push_back({.name = "OptionRS232",
                 .kind = Kind::kRadio,
                 .frame = "Frame5",
                 .caption = "RS-232",
                 .rect = {12, 49, 0, 20},
                 .command = Command::kSelectSerial,
                 .flag = &Options::UseNetwork,
                 .flagValue = false});
    c.push_back({.name = "OptionRete",
                 .kind = Kind::kRadio,
                 .frame = "Frame5",
                 .caption = "RETE",
                 .rect = {200, 49, 0, 20},
                 .command = Command::kSelectNetwork,
                 .flag = &Options::UseNetwork});
    c.push_back({.name = "lblIP",
                 .frame = "Frame5",
                 .caption = "Ind. IP Stampante Fiscale",
                 .rect = {12, 75, 0, 22}});
    c.push_back({.name = "txtRemoteIP",
                 .kind = Kind::kEdit,
                 .frame = "Frame5",
                 .rect = {200, 75, 198, 22},
                 .shows = {"255.255.255.255"},
                 .enabledWhen = When::kNetwork,
                 .optionText = &Options::RegisterAddress});
    c.push_back(
        {.name = "Label15", .frame = "Frame5", .caption = "Porta", .rect = {12, 103, 0, 22}});
    c.push_back({.name = "txtRemotePort",
                 .kind = Kind::kEdit,
                 .frame = "Frame5",
                 .rect = {200, 103, 198, 22},
                 .shows = {"65535"},
                 .enabledWhen = When::kNetwork,
                 .optionText = &Options::RegisterPort});
    c.push_back({.name = "cmdValidateIP",
                 .kind = Kind::kButton,
                 .frame = "Frame5",
                 .caption = "Valida IP",
                 .tip = "Validazione Indirizzo IP",
                 .rect = {12, 131, 182, 22},
                 .shows = {app::kIpOk, app::kIpNotValid},
                 .command = Command::kCheckAddress,
                 .enabledWhen = When::kNetwork});
    c.push_back({.name = "cmdPing",
                 .kind = Kind::kButton,
                 .frame = "Frame5",
                 .caption = "Ping",
                 .tip = "Validazione Indirizzo IP",
                 .rect = {200, 131, 198, 22},
                 .shows = {app::kPingOk, app::kNoPing, app::kInvalidIp},
                 .command = Command::kPing,
                 .enabledWhen = When::kNetwork});
    c.push_back({.name = "cboToutConn",
                 .kind = Kind::kList,
                 .frame = "Frame5",
                 .tip = "Timeout in sec. di attesa Connessione",
                 .rect = {12, 159, 386, 22},
                 .items = Items(kToutConnItems),
                 .choice = &Options::ConnectTimeoutChoice});
    c.push_back({.name = "lblPathVista",
                 .frame = "Frame5",
                 .caption = "Path Dati x Windows VISTA/7/8/10",
                 .rect = {12, 187, 0, 14}});
    c.push_back({.name = "txtAppDataVista",
                 .kind = Kind::kText,
                 .frame = "Frame5",
                 .tip = "Cartella di scambio dati",
                 .rect = {12, 207, 386, 22},
                 // The default on Windows; a folder named in the registry may be longer and
                 // scrolls.
                 .shows = {std::string("C:\\ProgramData\\") + config::kCommonDataSubFolder},
                 .windowText = &WindowTexts::DataFolderShown});
}

// Frame4: what the register and the job cycle last said.
void AddMessagesFrame(std::vector<Control>& c) {
    c.push_back({.name = "Frame4",
                 .kind = Kind::kFrame,
                 .caption = "Messaggi",
                 .rect = {481, 256, 410, 150}});
    c.push_back(
        {.name = "Label10", .frame = "Frame4", .caption = "Matr. ECR:", .rect = {12, 29, 0, 22}});
    c.push_back({.name = "txtEcrMatr",
                 .kind = Kind::kText,
                 .frame = "Frame4",
                 .rect = {90, 29, 0, 22},
                 .shows = {link::RtSerialNumber("72123456", "AB")},
                 .windowText = &WindowTexts::SerialNumberShown});
    c.push_back(
        {.name = "Label9", .frame = "Frame4", .caption = "FW Rev:", .rect = {204, 29, 0, 22}});
    c.push_back({.name = "txtFWRev",
                 .kind = Kind::kText,
                 .frame = "Frame4",
                 .rect = {266, 29, 132, 22},
                 .windowText = &WindowTexts::Firmware});
    c.push_back({.name = "Label1",
                 .frame = "Frame4",
                 .caption = "Messaggi ECR :",
                 .rect = {12, 57, 0, 14}});
    // The register's status codes ("RC (dec)= ...") are shorter than the read's texts.
    c.push_back({.name = "Text1",
                 .kind = Kind::kText,
                 .frame = "Frame4",
                 .tip = "Messaggi ricevuti da ECR",
                 .rect = {12, 73, 386, 22},
                 .shows = {link::kTextReading, link::kTextReadDone, link::kTextReadError,
                           app::kDumpNotYetDone},
                 .windowText = &WindowTexts::RegisterMessage});
    c.push_back({.name = "Label2",
                 .frame = "Frame4",
                 .caption = "Stato  Zelmar1 :",
                 .rect = {12, 101, 0, 14}});
    // A socket error's text carries the system's description, of any length: it scrolls.
    c.push_back({.name = "Text2",
                 .kind = Kind::kText,
                 .frame = "Frame4",
                 .tip = "Stato del programma ZELMAR1",
                 .rect = {12, 117, 386, 22},
                 .shows = JobStatusTexts(),
                 .windowText = &WindowTexts::JobStatus});
}

// Frame2: the baud rate and what a job does with a receipt left open.
void AddBaudFrame(std::vector<Control>& c) {
    c.push_back({.name = "Frame2",
                 .kind = Kind::kFrame,
                 .caption = "Check stato scontr. / BaudRate",
                 .rect = {481, 412, 410, 91},
                 .enabledWhen = When::kConfigurationOpen});
    c.push_back({.name = "Label13",
                 .frame = "Frame2",
                 .caption = "Velocit\xE0 di comunicazione",
                 .rect = {12, 29, 0, 22}});
    c.push_back({.name = "cmdBaud",
                 .kind = Kind::kEditableList,
                 .frame = "Frame2",
                 .rect = {203, 29, 0, 22},
                 .items = {"115200", "9600"},
                 .optionText = &Options::BaudRateText});
    c.push_back({.name = "Command1",
                 .kind = Kind::kButton,
                 .frame = "Frame2",
                 .caption = "Set velocit\xE0",
                 .tip = "Cliccare per settare il Baud Rate",
                 .rect = {289, 29, 109, 22},
                 .command = Command::kApplyBaudRate});
    c.push_back({.name = "Combo1",
                 .kind = Kind::kList,
                 .frame = "Frame2",
                 .caption = "Controllo scontrino:",
                 .tip = "Impostazione del comportamento in caso di scontrino aperto",
                 .rect = {12, 57, 386, 22},
                 .items = Items(kOpenReceiptPolicyItems),
                 .choice = &Options::OpenReceiptPolicy});
}

void AddButtons(std::vector<Control>& c) {
    c.push_back({.name = "CMBFile",
                 .kind = Kind::kButton,
                 .caption = " Esegui Test",
                 .tip = "Esegue scontrino di prova per test collegamento",
                 .rect = {490, 509, 180, 22},
                 .command = Command::kPrintTestReceipt,
                 .enabledWhen = When::kTestReceiptAllowed});
    c.push_back({.name = "AnnullaOperaz",
                 .kind = Kind::kButton,
                 .caption = "Annulla Sco",
                 .tip = "Esegue il comando di annulla scontrino",
                 .rect = {676, 509, 180, 22},
                 .command = Command::kCancelReceipt,
                 .enabledWhen = When::kConfigurationLocked});
    c.push_back({.name = "Image1",
                 .kind = Kind::kPicture,
                 .rect = {859, 504, 32, 32},
                 .shownWhen = When::kNever});
}

WindowDescription Build() {
    WindowDescription window{.name = "fZelmar1", .caption = kCaption, .width = 900, .height = 540};
    AddMenus(window.controls);
    AddPortsFrame(window.controls);
    AddTimerFrame(window.controls);
    AddOptionsFrame(window.controls);
    AddProgramFrame(window.controls);
    AddMessagesFrame(window.controls);
    AddBaudFrame(window.controls);
    AddButtons(window.controls);
    return window;
}

}  // namespace

const WindowDescription& OperatorWindow() {
    static const WindowDescription window = Build();
    return window;
}

}  // namespace zelmar::window
