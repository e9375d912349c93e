#include "ui/main_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "platform/qt/windows1252.h"
#include "ui/pictures.h"

namespace zelmar::ui {
namespace {

// While the window is shown its texts follow the core's at this pace; hidden, nothing runs.
constexpr int kRefreshIntervalMs = 250;
// The colour a found port's shape turns: pure green.
const QColor kPortFoundColour(0x00, 0xFF, 0x00);
const QColor kShapeDesignColour(0xC0, 0xC0, 0xC0);

const char* const kCaption =
    "Telvo Zelmar1 Micrelec / Apesse (rs232,usb,rete)"
    "                 "  // seventeen blanks
    "RT V.7";

QString Text(const std::string& bytes) {
    return platform::FromWindows1252(bytes);
}

template <typename W>
W* Named(W* widget, const char* name, const char* tip = nullptr) {
    widget->setObjectName(QString::fromLatin1(name));
    if (tip) widget->setToolTip(QString::fromUtf8(tip));
    return widget;
}

QLabel* Label(const char* name, const char* text, QWidget* parent, const char* tip = nullptr) {
    return Named(new QLabel(QString::fromUtf8(text), parent), name, tip);
}

QLineEdit* ReadOnlyText(const char* name, QWidget* parent, const char* tip = nullptr) {
    auto* edit = Named(new QLineEdit(parent), name, tip);
    edit->setReadOnly(true);
    return edit;
}

QGroupBox* Frame(const char* name, const char* caption, QWidget* parent) {
    return Named(new QGroupBox(QString::fromUtf8(caption), parent), name);
}

void SetText(QLineEdit* edit, const std::string& bytes) {
    const QString text = Text(bytes);
    if (edit->text() != text) edit->setText(text);
}

}  // namespace

MainWindow::MainWindow(Session& session, app::OperatorCommands& commands)
    : session_(session), commands_(commands) {
    setObjectName(QStringLiteral("fZelmar1"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setWindowIcon(IdlePicture());
    BuildMenus();

    auto* central = new QWidget(this);
    auto* columns = new QHBoxLayout(central);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    left->addWidget(BuildPortsFrame());
    left->addWidget(BuildTimerFrame());
    left->addWidget(BuildOptionsFrame());
    right->addWidget(BuildProgramFrame());
    right->addWidget(BuildMessagesFrame());
    right->addWidget(BuildBaudFrame());
    right->addWidget(BuildButtons());
    setCentralWidget(central);

    refreshTimer_.setInterval(kRefreshIntervalMs);
    connect(&refreshTimer_, &QTimer::timeout, this, &MainWindow::refresh);
    ApplyFrameLock();
    refresh();
}

void MainWindow::BuildMenus() {
    fileMenu_ = Named(menuBar()->addMenu(QStringLiteral("&File")), "mnuFile");
    auto* exitItem = Named(fileMenu_->addAction(QStringLiteral("T&ermina Zelmar1")), "m_esci");
    auto* manual = Named(fileMenu_->addAction(QStringLiteral("&Manuale Zelmar1")), "m_manual");
    fileMenu_->setDefaultAction(exitItem);
    auto* help = Named(menuBar()->addMenu(QStringLiteral("&?")), "mnuHelp");
    auto* info = Named(help->addAction(QStringLiteral("&Informazioni  su  Zelmar1")), "m_info");
    connect(exitItem, &QAction::triggered, this, [this] { Run([this] { commands_.Exit(); }); });
    connect(manual, &QAction::triggered, this, [this] { Run([this] { commands_.OpenManual(); }); });
    connect(info, &QAction::triggered, this, &MainWindow::aboutRequested);
}

QWidget* MainWindow::BuildPortsFrame() {
    auto* frame = Frame("Frame1", "Porte di comunicazione", this);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(Label("Label4", "Porta", frame), 0, 0);
    grid->addWidget(Label("lblPort", "Attiva", frame), 0, 1);
    grid->addWidget(Label("Label8", "Stato", frame, "Se verde indica che la porta è attiva"), 0, 2);
    grid->addWidget(Label("Label5", "Stato dump", frame), 0, 3);
    const char* const portLabels[4][2] = {
        {"Label3", "COM 1"}, {"Label6", "COM 2"}, {"Label11", "COM 3"}, {"Label12", "COM 4"}};
    const char* const shapeNames[4] = {"Shape1", "Shape2", "Shape4", "Shape5"};
    for (int i = 0; i < 4; ++i) {
        const std::string n = std::to_string(i + 1);
        const std::string checkName = "Check" + n;
        const std::string dumpName = "Text" + std::to_string(i + 4);
        const std::string checkTip = "Abilita / disabilita COM" + n;
        const std::string shapeTip = "Verde, se COM" + n + " disponibile";
        const std::string dumpTip = "Segnala se DUMP ricevuto su COM" + n;
        grid->addWidget(Label(portLabels[i][0], portLabels[i][1], frame), i + 1, 0);
        check_[i] = Named(new QCheckBox(frame), checkName.c_str(), checkTip.c_str());
        grid->addWidget(check_[i], i + 1, 1);
        shape_[i] = Named(new QFrame(frame), shapeNames[i], shapeTip.c_str());
        shape_[i]->setFixedSize(18, 18);
        shape_[i]->setFrameShape(QFrame::Box);
        shape_[i]->setAutoFillBackground(true);
        grid->addWidget(shape_[i], i + 1, 2);
        dumpText_[i] = ReadOnlyText(dumpName.c_str(), frame, dumpTip.c_str());
        grid->addWidget(dumpText_[i], i + 1, 3);
        connect(check_[i], &QCheckBox::toggled, this,
                [this, i](bool ticked) { OnSlotBoxToggled(i + 1, ticked); });
    }
    return frame;
}

QWidget* MainWindow::BuildTimerFrame() {
    auto* row = new QWidget(this);
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 0, 0, 0);
    frame7_ = Frame("Frame7", "", row);
    auto* grid = new QGridLayout(frame7_);
    pollModeButton_ = Named(new QRadioButton(QStringLiteral("Timer"), frame7_), "OptionSlow");
    fastModeButton_ = Named(new QRadioButton(QStringLiteral("Fast"), frame7_), "OptionFAST");
    pollIntervalEdit_ = Named(new QLineEdit(frame7_), "txtTimerVal", "Valore del timer in secondi");
    setPollIntervalButton_ = Named(new QPushButton(QStringLiteral("Set timer"), frame7_),
                                   "cmdChgTimer", "Cliccare per settare il timer");
    text3_ = ReadOnlyText("Text3", frame7_);
    grid->addWidget(pollModeButton_, 0, 0);
    grid->addWidget(fastModeButton_, 1, 0);
    grid->addWidget(pollIntervalEdit_, 0, 1);
    grid->addWidget(setPollIntervalButton_, 0, 2);
    grid->addWidget(Label("Label7", "Stato Timer", frame7_), 1, 1);
    grid->addWidget(text3_, 1, 2);
    rowLayout->addWidget(frame7_);
    auto* trace =
        Named(new QCheckBox(QStringLiteral("Abilita Trace di Comunic."), row), "chbTrace");
    rowLayout->addWidget(trace);
    ConnectOptionBox(trace, &Options::TraceOn);
    ConnectText(pollIntervalEdit_, &Options::PollIntervalText);

    connect(pollModeButton_, &QRadioButton::clicked, this, [this] {
        if (session_.options.FastMode) Run([this] { commands_.SelectPollMode(); });
    });
    connect(fastModeButton_, &QRadioButton::clicked, this, [this] {
        if (!session_.options.FastMode) Run([this] { commands_.SelectFastMode(); });
    });
    connect(setPollIntervalButton_, &QPushButton::clicked, this,
            [this] { Run([this] { commands_.SetPollInterval(); }); });
    return row;
}

QWidget* MainWindow::BuildOptionsFrame() {
    frame6_ = Frame("Frame6", "Opzioni", this);
    auto* grid = new QGridLayout(frame6_);
    struct Box {
        const char* name;
        const char* caption;
        bool Options::*field;
    };
    const Box boxes[] = {
        {"chbPrintCode", "Stampa Codice Articolo", &Options::PrintItemCode},
        {"chbScontiSuReso", "Abil. Sconti su Reso", &Options::DiscountsOnRefund},
        {"chbNFIntestazione", "Attiva Intest. Non Fisc.", &Options::NonFiscalHeading},
        {"chbDoppioScontrino", "Doppio Scontrino Autom.", &Options::PrintReceiptCopy},
        {"chbEnableMicrelecInput", "Abilita Input Micrelec", &Options::RegisterLineInput},
        {"chbDisableExtDescr", "Disabilita Descr. Estesa", &Options::NoExtendedDescription},
        {"chbDisableTotalizzatori", "Disabilita Totalizzatori", &Options::NoTotalsInResult},
        {"chbConvXonXoff", "Conversione da XonXoff", &Options::KeystrokeInput},
    };
    int index = 0;
    for (const Box& box : boxes) {
        auto* check = Named(new QCheckBox(QString::fromUtf8(box.caption), frame6_), box.name);
        grid->addWidget(check, index / 2, index % 2);
        ++index;
        if (box.field == &Options::KeystrokeInput) {
            connect(check, &QCheckBox::clicked, this,
                    [this](bool on) { Run([this, on] { commands_.SetKeystrokeInput(on); }); });
            optionBoxes_.emplace_back(check, box.field);
        } else if (box.field == &Options::RegisterLineInput) {
            connect(check, &QCheckBox::clicked, this,
                    [this](bool on) { Run([this, on] { commands_.SetRegisterLineInput(on); }); });
            optionBoxes_.emplace_back(check, box.field);
        } else {
            ConnectOptionBox(check, box.field);
        }
        if (box.field == &Options::DiscountsOnRefund) discountsOnRefundBox_ = check;
    }
    return frame6_;
}

QWidget* MainWindow::BuildProgramFrame() {
    frame5_ = Frame("Frame5", "Configurazione Programma", this);
    auto* grid = new QGridLayout(frame5_);
    serialButton_ = Named(new QRadioButton(QStringLiteral("RS-232"), frame5_), "OptionRS232");
    networkButton_ = Named(new QRadioButton(QStringLiteral("RETE"), frame5_), "OptionRete");
    registerAddressEdit_ = Named(new QLineEdit(frame5_), "txtRemoteIP");
    registerPortEdit_ = Named(new QLineEdit(frame5_), "txtRemotePort");
    checkAddressButton_ = Named(new QPushButton(QStringLiteral("Valida IP"), frame5_),
                                "cmdValidateIP", "Validazione Indirizzo IP");
    pingButton_ = Named(new QPushButton(QStringLiteral("Ping"), frame5_), "cmdPing",
                        "Validazione Indirizzo IP");
    connectTimeoutList_ =
        Named(new QComboBox(frame5_), "cboToutConn", "Timeout in sec. di attesa Connessione");
    for (const char* item : kToutConnItems) connectTimeoutList_->addItem(QString::fromLatin1(item));
    dataFolderEdit_ = ReadOnlyText("txtAppDataVista", frame5_, "Cartella di scambio dati");

    grid->addWidget(Label("Label14", "Protocollo Tcp / Ip", frame5_), 0, 0, 1, 2);
    grid->addWidget(serialButton_, 1, 0);
    grid->addWidget(networkButton_, 1, 1);
    grid->addWidget(Label("lblIP", "Ind. IP Stampante Fiscale", frame5_), 2, 0);
    grid->addWidget(registerAddressEdit_, 2, 1);
    grid->addWidget(Label("Label15", "Porta", frame5_), 3, 0);
    grid->addWidget(registerPortEdit_, 3, 1);
    grid->addWidget(checkAddressButton_, 4, 0);
    grid->addWidget(pingButton_, 4, 1);
    grid->addWidget(connectTimeoutList_, 5, 0, 1, 2);
    grid->addWidget(Label("lblPathVista", "Path Dati x Windows VISTA/7/8/10", frame5_), 6, 0, 1, 2);
    grid->addWidget(dataFolderEdit_, 7, 0, 1, 2);

    ConnectText(registerAddressEdit_, &Options::RegisterAddress);
    ConnectText(registerPortEdit_, &Options::RegisterPort);
    connect(connectTimeoutList_, &QComboBox::activated, this,
            [this](int index) { session_.options.ConnectTimeoutChoice = index; });
    connect(networkButton_, &QRadioButton::clicked, this, [this] {
        if (!session_.options.UseNetwork) Run([this] { commands_.SelectNetwork(); });
    });
    connect(serialButton_, &QRadioButton::clicked, this, [this] {
        if (session_.options.UseNetwork) Run([this] { commands_.SelectSerial(); });
    });
    const auto captionOf = [](QPushButton* button) {
        return [button](const std::string& caption) { button->setText(Text(caption)); };
    };
    connect(pingButton_, &QPushButton::clicked, this, [this, captionOf] {
        const std::string caption = platform::ToWindows1252(pingButton_->text());
        Run([&] { commands_.PingRegister(caption, captionOf(pingButton_)); });
    });
    connect(checkAddressButton_, &QPushButton::clicked, this, [this, captionOf] {
        const std::string caption = platform::ToWindows1252(checkAddressButton_->text());
        Run([&] { commands_.CheckRegisterAddress(caption, captionOf(checkAddressButton_)); });
    });
    return frame5_;
}

QWidget* MainWindow::BuildMessagesFrame() {
    auto* frame = Frame("Frame4", "Messaggi", this);
    auto* grid = new QGridLayout(frame);
    serialNumberEdit_ = ReadOnlyText("txtEcrMatr", frame);
    firmwareEdit_ = ReadOnlyText("txtFWRev", frame);
    text1_ = ReadOnlyText("Text1", frame, "Messaggi ricevuti da ECR");
    text2_ = ReadOnlyText("Text2", frame, "Stato del programma ZELMAR1");
    grid->addWidget(Label("Label10", "Matr. ECR:", frame), 0, 0);
    grid->addWidget(serialNumberEdit_, 0, 1);
    grid->addWidget(Label("Label9", "FW Rev:", frame), 0, 2);
    grid->addWidget(firmwareEdit_, 0, 3);
    grid->addWidget(Label("Label1", "Messaggi ECR :", frame), 1, 0);
    grid->addWidget(text1_, 1, 1, 1, 3);
    grid->addWidget(Label("Label2", "Stato  Zelmar1 :", frame), 2, 0);
    grid->addWidget(text2_, 2, 1, 1, 3);
    return frame;
}

QWidget* MainWindow::BuildBaudFrame() {
    frame2_ = Frame("Frame2", "Check stato scontr. / BaudRate", this);
    auto* grid = new QGridLayout(frame2_);
    baudRateList_ = Named(new QComboBox(frame2_), "cmdBaud");
    baudRateList_->setEditable(true);
    baudRateList_->addItems({QStringLiteral("115200"), QStringLiteral("9600")});
    auto* command1 = Named(new QPushButton(QStringLiteral("Set velocità"), frame2_), "Command1",
                           "Cliccare per settare il Baud Rate");
    openReceiptPolicyList_ = Named(new QComboBox(frame2_), "Combo1",
                                   "Impostazione del comportamento in caso di scontrino aperto");
    openReceiptPolicyList_->setPlaceholderText(QStringLiteral("Controllo scontrino:"));
    for (const char* item : kOpenReceiptPolicyItems)
        openReceiptPolicyList_->addItem(QString::fromLatin1(item));
    grid->addWidget(Label("Label13", "Velocità di comunicazione", frame2_), 0, 0);
    grid->addWidget(baudRateList_, 0, 1);
    grid->addWidget(command1, 0, 2);
    grid->addWidget(openReceiptPolicyList_, 1, 0, 1, 3);

    connect(baudRateList_, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        session_.options.BaudRateText = platform::ToWindows1252(text);
    });
    connect(openReceiptPolicyList_, &QComboBox::activated, this,
            [this](int index) { session_.options.OpenReceiptPolicy = index; });
    connect(command1, &QPushButton::clicked, this,
            [this] { Run([this] { commands_.ApplyBaudRate(); }); });
    return frame2_;
}

QWidget* MainWindow::BuildButtons() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    testReceiptButton_ = Named(new QPushButton(QStringLiteral(" Esegui Test"), row), "CMBFile",
                               "Esegue scontrino di prova per test collegamento");
    cancelReceiptButton_ = Named(new QPushButton(QStringLiteral("Annulla Sco"), row),
                                 "AnnullaOperaz", "Esegue il comando di annulla scontrino");
    auto* image1 = Named(new QLabel(row), "Image1");
    image1->setPixmap(BusyPicture().pixmap(32, 32));
    image1->hide();
    layout->addWidget(testReceiptButton_);
    layout->addWidget(cancelReceiptButton_);
    layout->addWidget(image1);
    connect(testReceiptButton_, &QPushButton::clicked, this,
            [this] { Run([this] { commands_.PrintTestReceipt(); }); });
    connect(cancelReceiptButton_, &QPushButton::clicked, this,
            [this] { Run([this] { commands_.CancelReceipt(); }); });
    return row;
}

void MainWindow::ConnectOptionBox(QCheckBox* box, bool Options::*field) {
    optionBoxes_.emplace_back(box, field);
    connect(box, &QCheckBox::clicked, this,
            [this, field](bool on) { session_.options.*field = on; });
}

void MainWindow::ConnectText(QLineEdit* edit, std::string Options::*field) {
    optionTexts_.emplace_back(edit, field);
    connect(edit, &QLineEdit::textEdited, this, [this, field](const QString& text) {
        session_.options.*field = platform::ToWindows1252(text);
    });
}

template <typename Command>
void MainWindow::Run(Command command) {
    command();
    refresh();
}

void MainWindow::OnSlotBoxToggled(int slot, bool ticked) {
    commands_.SetSlotServed(slot, ticked);
    framesLocked_ = ticked;  // DisableFrame when ticked, EnableFrame when unticked
    ApplyFrameLock();
}

void MainWindow::ApplyFrameLock() {
    for (QGroupBox* frame : {frame2_, frame6_, frame7_, frame5_}) frame->setEnabled(!framesLocked_);
    testReceiptButton_->setEnabled(framesLocked_ && session_.texts.TestReceiptEnabled);
    cancelReceiptButton_->setEnabled(framesLocked_);
}

void MainWindow::refresh() {
    RefreshOptions();
    RefreshTexts();
    ApplyFrameLock();
    if (session_.texts.WindowShown) {
        if (!refreshTimer_.isActive()) refreshTimer_.start();
    } else {
        refreshTimer_.stop();
    }
}

void MainWindow::RefreshOptions() {
    const Options& options = session_.options;
    for (int i = 0; i < 4; ++i) {
        // Not blocked: a change made by the program is a click on the box.
        if (check_[i]->isChecked() != options.SlotServed[static_cast<std::size_t>(i)]) {
            check_[i]->setChecked(options.SlotServed[static_cast<std::size_t>(i)]);
        }
        check_[i]->setEnabled(options.SlotSelectable[static_cast<std::size_t>(i)]);
    }
    for (auto& [box, field] : optionBoxes_) {
        const QSignalBlocker block(box);
        box->setChecked(options.*field);
    }
    for (auto& [edit, field] : optionTexts_) SetText(edit, options.*field);
    discountsOnRefundBox_->setVisible(options.DiscountsOnRefundShown);
    {
        const QSignalBlocker blockFast(fastModeButton_), blockSlow(pollModeButton_);
        const QSignalBlocker blockRete(networkButton_), blockSerial(serialButton_);
        (options.FastMode ? fastModeButton_ : pollModeButton_)->setChecked(true);
        (options.UseNetwork ? networkButton_ : serialButton_)->setChecked(true);
        const QSignalBlocker blockTout(connectTimeoutList_), blockCombo(openReceiptPolicyList_),
            blockBaud(baudRateList_);
        connectTimeoutList_->setCurrentIndex(options.ConnectTimeoutChoice);
        openReceiptPolicyList_->setCurrentIndex(options.OpenReceiptPolicy);
        if (baudRateList_->currentText() != Text(options.BaudRateText)) {
            baudRateList_->setCurrentText(Text(options.BaudRateText));
        }
    }
    for (QWidget* network :
         {static_cast<QWidget*>(pingButton_), static_cast<QWidget*>(checkAddressButton_),
          static_cast<QWidget*>(registerAddressEdit_), static_cast<QWidget*>(registerPortEdit_)}) {
        network->setEnabled(options.UseNetwork);
    }
}

void MainWindow::RefreshTexts() {
    const WindowTexts& texts = session_.texts;
    SetText(text1_, texts.RegisterMessage);
    SetText(text2_, texts.JobStatus);
    SetText(text3_, texts.PollState);
    for (std::size_t i = 0; i < 4; ++i) {
        SetText(dumpText_[i], texts.ReadState[i]);
        QPalette palette = shape_[i]->palette();
        palette.setColor(QPalette::Window,
                         texts.portShapeGreen[i] ? kPortFoundColour : kShapeDesignColour);
        shape_[i]->setPalette(palette);
    }
    SetText(serialNumberEdit_, texts.SerialNumberShown);
    SetText(firmwareEdit_, texts.Firmware);
    SetText(dataFolderEdit_, texts.DataFolderShown);
    pollIntervalEdit_->setVisible(texts.timerControlsVisible);
    setPollIntervalButton_->setVisible(texts.timerControlsVisible);
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    if (isMinimized()) {
        commands_.MinimiseWindow();
        if (hidesOnMinimise_) hide();
    } else if (!session_.texts.WindowShown && isVisible()) {
        commands_.RestoreWindow();  // back from the task bar
    }
    refresh();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The close box ends the program like the menu entry; the unload hides the window.
    event->ignore();
    Run([this] { commands_.Exit(); });
}

}  // namespace zelmar::ui
