// The fixture first: it must come before any Qt header.
#include "window_fixture.h"
// clang-format off
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QRadioButton>
#include <QTest>

#include "app/job_texts.h"
#include "common/version_text.h"
#include "ui/boxes.h"
// clang-format on

namespace zelmar::ui::testing {
namespace {

TEST_F(WindowTest, EveryControlShowsItsCaptionAndTip) {
    struct Control {
        const char* name;
        const char* caption;  // nullptr: not checked (text boxes filled at run time)
        const char* tip;      // nullptr: no tip
    };
    const Control controls[] = {
        {"Frame1", "Porte di comunicazione", nullptr},
        {"Check1", "", "Abilita / disabilita COM1"},
        {"Check2", "", "Abilita / disabilita COM2"},
        {"Check3", "", "Abilita / disabilita COM3"},
        {"Check4", "", "Abilita / disabilita COM4"},
        {"Shape1", nullptr, "Verde, se COM1 disponibile"},
        {"Shape2", nullptr, "Verde, se COM2 disponibile"},
        {"Shape4", nullptr, "Verde, se COM3 disponibile"},
        {"Shape5", nullptr, "Verde, se COM4 disponibile"},
        {"Label3", "COM 1", nullptr},
        {"Label6", "COM 2", nullptr},
        {"Label11", "COM 3", nullptr},
        {"Label12", "COM 4", nullptr},
        {"Text4", nullptr, "Segnala se DUMP ricevuto su COM1"},
        {"Text5", nullptr, "Segnala se DUMP ricevuto su COM2"},
        {"Text6", nullptr, "Segnala se DUMP ricevuto su COM3"},
        {"Text7", nullptr, "Segnala se DUMP ricevuto su COM4"},
        {"Label4", "Porta", nullptr},
        {"Label5", "Stato dump", nullptr},
        {"Label8", "Stato", "Se verde indica che la porta è attiva"},
        {"lblPort", "Attiva", nullptr},
        {"Frame7", "", nullptr},
        {"OptionSlow", "Timer", nullptr},
        {"OptionFAST", "Fast", nullptr},
        {"txtTimerVal", nullptr, "Valore del timer in secondi"},
        {"cmdChgTimer", "Set timer", "Cliccare per settare il timer"},
        {"Text3", nullptr, nullptr},
        {"Label7", "Stato Timer", nullptr},
        {"chbTrace", "Abilita Trace di Comunic.", nullptr},
        {"Frame6", "Opzioni", nullptr},
        {"chbPrintCode", "Stampa Codice Articolo", nullptr},
        {"chbScontiSuReso", "Abil. Sconti su Reso", nullptr},
        {"chbNFIntestazione", "Attiva Intest. Non Fisc.", nullptr},
        {"chbDoppioScontrino", "Doppio Scontrino Autom.", nullptr},
        {"chbEnableMicrelecInput", "Abilita Input Micrelec", nullptr},
        {"chbDisableExtDescr", "Disabilita Descr. Estesa", nullptr},
        {"chbDisableTotalizzatori", "Disabilita Totalizzatori", nullptr},
        {"chbConvXonXoff", "Conversione da XonXoff", nullptr},
        {"Frame5", "Configurazione Programma", nullptr},
        {"OptionRS232", "RS-232", nullptr},
        {"OptionRete", "RETE", nullptr},
        {"txtRemoteIP", nullptr, nullptr},
        {"lblIP", "Ind. IP Stampante Fiscale", nullptr},
        {"txtRemotePort", "9101", nullptr},
        {"Label15", "Porta", nullptr},
        {"cmdValidateIP", "Valida IP", "Validazione Indirizzo IP"},
        {"cmdPing", "Ping", "Validazione Indirizzo IP"},
        {"cboToutConn", nullptr, "Timeout in sec. di attesa Connessione"},
        {"Label14", "Protocollo Tcp / Ip", nullptr},
        {"txtAppDataVista", nullptr, "Cartella di scambio dati"},
        {"lblPathVista", "Path Dati x Windows VISTA/7/8/10", nullptr},
        {"Frame4", "Messaggi", nullptr},
        {"txtEcrMatr", nullptr, nullptr},
        {"Label10", "Matr. ECR:", nullptr},
        {"txtFWRev", nullptr, nullptr},
        {"Label9", "FW Rev:", nullptr},
        {"Text1", nullptr, "Messaggi ricevuti da ECR"},
        {"Label1", "Messaggi ECR :", nullptr},
        {"Text2", nullptr, "Stato del programma ZELMAR1"},
        {"Label2", "Stato  Zelmar1 :", nullptr},
        {"Frame2", "Check stato scontr. / BaudRate", nullptr},
        {"cmdBaud", nullptr, nullptr},
        {"Label13", "Velocità di comunicazione", nullptr},
        {"Command1", "Set velocità", "Cliccare per settare il Baud Rate"},
        {"Combo1", nullptr, "Impostazione del comportamento in caso di scontrino aperto"},
        {"CMBFile", " Esegui Test", "Esegue scontrino di prova per test collegamento"},
        {"AnnullaOperaz", "Annulla Sco", "Esegue il comando di annulla scontrino"},
        {"Image1", nullptr, nullptr},
        {"txtTimer", nullptr, nullptr},
    };
    for (const Control& c : controls) {
        SCOPED_TRACE(c.name);
        QWidget* widget = Find(c.name);
        ASSERT_NE(widget, nullptr);
        if (c.caption) {
            EXPECT_EQ(Caption(c.name), QString::fromUtf8(c.caption));
        }
        EXPECT_EQ(widget->toolTip(), c.tip ? QString::fromUtf8(c.tip) : QString());
    }
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Telvo Zelmar1 Micrelec / Apesse "
                                                     "(rs232,usb,rete)                 RT V.7"));
    EXPECT_TRUE(Find("txtTimer")->isHidden());
}

TEST_F(WindowTest, ListsAndMenus) {
    EXPECT_EQ(Items("cboToutConn"),
              QStringList({"10 sec.", "20 sec.", "30 sec.", "40 sec.", "50 sec.", "60 sec."}));
    EXPECT_EQ(Items("cmdBaud"), QStringList({"115200", "9600"}));
    EXPECT_EQ(Items("Combo1"),
              QStringList({"Invia anche se aperto ", "Chiudi scontr. se aperto e invia",
                           "Termina invio se aperto!"}));
    EXPECT_EQ(Find<QComboBox>("Combo1")->placeholderText(), QStringLiteral("Controllo scontrino:"));

    const struct {
        const char* name;
        const char* text;
    } actions[] = {{"m_esci", "T&ermina Zelmar1"},
                   {"m_manual", "&Manuale Zelmar1"},
                   {"m_info", "&Informazioni  su  Zelmar1"}};
    for (const auto& a : actions) {
        auto* action = window().findChild<QAction*>(QString::fromLatin1(a.name));
        ASSERT_NE(action, nullptr) << a.name;
        EXPECT_EQ(action->text(), QString::fromLatin1(a.text));
    }
    EXPECT_EQ(window().fileMenu()->title(), QStringLiteral("&File"));
    EXPECT_EQ(window().fileMenu()->defaultAction(), window().exitAction());
    EXPECT_EQ(view.trayIcon()->contextMenu(), window().fileMenu());
}

TEST_F(WindowTest, SlotBoxesLockTheFramesAndDriveThePoll) {
    const char* const frames[] = {"Frame2", "Frame6", "Frame7", "Frame5"};
    const auto framesEnabled = [&] {
        int enabled = 0;
        for (const char* f : frames) enabled += Find(f)->isEnabled() ? 1 : 0;
        return enabled;
    };
    EXPECT_EQ(framesEnabled(), 4);
    EXPECT_FALSE(Find("CMBFile")->isEnabled());

    // Values set by the program count as clicks.
    session.options.Check = {true, true, false, false};
    form.Timer21().setEnabled(false);
    window().refresh();
    EXPECT_EQ(framesEnabled(), 0);
    EXPECT_TRUE(Find("CMBFile")->isEnabled());
    EXPECT_TRUE(Find("AnnullaOperaz")->isEnabled());
    EXPECT_TRUE(form.Timer21().enabled());

    // Setting the value a box already has is no click.
    form.Timer21().setEnabled(false);
    window().refresh();
    EXPECT_FALSE(form.Timer21().enabled());
    EXPECT_EQ(framesEnabled(), 0);

    // Unticking Check2 while Check1 stays ticked unlocks the frames and stops the poll.
    form.Timer21().setEnabled(true);
    Find<QCheckBox>("Check2")->click();
    EXPECT_EQ(session.options.Check, (std::array<bool, 4>{true, false, false, false}));
    EXPECT_EQ(framesEnabled(), 4);
    EXPECT_FALSE(Find("CMBFile")->isEnabled());
    EXPECT_FALSE(Find("AnnullaOperaz")->isEnabled());
    EXPECT_FALSE(form.Timer21().enabled());
}

TEST_F(WindowTest, FoundPortsTurnGreenAndMissingOnesCannotBeTicked) {
    session.texts.portShapeGreen = {true, false, true, false};
    session.options.CheckEnabled = {true, false, true, false};
    window().refresh();
    const char* const shapes[] = {"Shape1", "Shape2", "Shape4", "Shape5"};
    for (int i = 0; i < 4; ++i) {
        const QColor colour = Find(shapes[i])->palette().color(QPalette::Window);
        EXPECT_EQ(colour == QColor(0x00, 0xFF, 0x00), i % 2 == 0) << shapes[i];
        EXPECT_EQ(Find(("Check" + std::to_string(i + 1)).c_str())->isEnabled(), i % 2 == 0);
    }
}

TEST_F(WindowTest, OptionClicks) {
    struct Case {
        const char* clicked;
        bool xonxoff, micrelec;
    } cases[] = {
        {"chbConvXonXoff", true, false},
        {"chbEnableMicrelecInput", false, true},
        {"chbConvXonXoff", true, false},
        {"chbConvXonXoff", false, false},
    };
    for (const Case& c : cases) {
        Find<QCheckBox>(c.clicked)->click();
        EXPECT_EQ(Find<QCheckBox>("chbConvXonXoff")->isChecked(), c.xonxoff);
        EXPECT_EQ(Find<QCheckBox>("chbEnableMicrelecInput")->isChecked(), c.micrelec);
        EXPECT_EQ(session.options.chbConvXonXoff, c.xonxoff);
        EXPECT_EQ(session.options.chbEnableMicrelecInput, c.micrelec);
    }
    Find<QCheckBox>("chbTrace")->click();
    EXPECT_TRUE(session.options.chbTrace);

    Find<QRadioButton>("OptionRete")->click();
    EXPECT_TRUE(session.options.OptionRete);
    EXPECT_TRUE(Find("cmdPing")->isEnabled());
    EXPECT_TRUE(Find("txtRemoteIP")->isEnabled());
    Find<QRadioButton>("OptionRS232")->click();
    EXPECT_FALSE(Find("cmdPing")->isEnabled());
    EXPECT_FALSE(Find("txtRemotePort")->isEnabled());
    EXPECT_EQ(app::testing::Count(calls, "InitNetwork"), 1);

    Find<QRadioButton>("OptionFAST")->click();
    EXPECT_TRUE(Find("txtTimerVal")->isHidden());
    EXPECT_TRUE(Find("cmdChgTimer")->isHidden());
    EXPECT_EQ(Caption("Text3"), QStringLiteral("PRONTO"));
    EXPECT_FALSE(form.Timer21().enabled());
    Find<QRadioButton>("OptionSlow")->click();
    EXPECT_FALSE(Find("txtTimerVal")->isHidden());
    EXPECT_TRUE(form.Timer21().enabled());

    session.options.chbScontiSuResoVisible = false;  // an RT register was read
    window().refresh();
    EXPECT_TRUE(Find("chbScontiSuReso")->isHidden());
}

TEST_F(WindowTest, SetTimerFromTheTypedValue) {
    struct Case {
        const char* typed;
        bool jobBusy;
        std::vector<std::string> notices;
        int interval;
        const char* shown;
    } cases[] = {
        {"0", false, {"Valore non ammesso"}, 1000, "0"},
        {"7", false, {}, 7000, "7"},
        {"250", false, {}, 250, "250ms"},
        {"9", true, {"Connessione in corso, valore non accettato"}, 250, "9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        shell = platform::FakeShell();
        form.state().JobBusy = c.jobBusy;
        auto* edit = Find<QLineEdit>("txtTimerVal");
        edit->clear();
        QTest::keyClicks(edit, QString::fromLatin1(c.typed));
        Find<QAbstractButton>("cmdChgTimer")->click();
        EXPECT_EQ(shell.notices(), c.notices);
        EXPECT_EQ(form.state().PollInterval, c.interval);
        EXPECT_EQ(edit->text(), QString::fromLatin1(c.shown));
    }
}

TEST_F(WindowTest, SetBaudRateWritesTheSettingsFile) {
    auto* baud = Find<QComboBox>("cmdBaud");
    baud->setCurrentIndex(baud->findText(QStringLiteral("115200")));
    Find<QAbstractButton>("Command1")->click();
    EXPECT_EQ(data.read("ZMChkBd.txt"), "115200\r\n");
    EXPECT_EQ(session.options.BaudRate, 115200);
}

TEST_F(WindowTest, TestReceiptButtonWritesTheJobAndWaitsForIt) {
    Serve({1});
    form.state().DumpPending[0] = false;
    view.restoreWindow();
    Find<QAbstractButton>("CMBFile")->click();
    EXPECT_EQ(Read("SR_START", 1), "00000000\r\n");
    EXPECT_TRUE(Has("SR_DATI", 1));
    EXPECT_FALSE(Find("CMBFile")->isEnabled());
}

TEST_F(WindowTest, RestoreAndMinimise) {
    form.state().DumpPending = {false, true, true, false};
    view.restoreWindow();
    EXPECT_TRUE(session.texts.WindowShown);
    EXPECT_TRUE(window().isVisible());
    const char* const expected[] = {"DUMP ESEGUITO", "DUMP NON ESEGUITO", "DUMP NON ESEGUITO",
                                    "DUMP ESEGUITO"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Caption(("Text" + std::to_string(i + 4)).c_str()),
                  QString::fromLatin1(expected[i]));
    }
    // The core's status texts reach the window while it is shown.
    session.texts.Text2 = "ZELMAR1 TERMINATO : OK";
    QTest::qWait(400);
    EXPECT_EQ(Caption("Text2"), QStringLiteral("ZELMAR1 TERMINATO : OK"));

    window().setWindowState(Qt::WindowMinimized);
    EXPECT_FALSE(session.texts.WindowShown);
    EXPECT_EQ(window().isHidden(), view.hasTray());
}

TEST_F(WindowTest, NotificationIconTipsAndPictures) {
    view.ShowTrayIcon(true, app::kTipBusy);
    EXPECT_EQ(view.trayIcon()->toolTip(), QStringLiteral("Zelmar1 in esecuzione..."));
    const qint64 busyKey = view.trayIcon()->icon().cacheKey();
    view.ShowTrayIcon(false, app::kTipIdle);
    EXPECT_EQ(view.trayIcon()->toolTip(), QStringLiteral("Zelmar1 in attesa esecuzione..."));
    EXPECT_NE(view.trayIcon()->icon().cacheKey(), busyKey);
}

TEST_F(WindowTest, CoreTextsAreWindows1252) {
    session.texts.Text1 = "Citt\xE0 \x80";  // à and the euro sign in the register's code page
    view.restoreWindow();
    EXPECT_EQ(Caption("Text1"), QString::fromUtf8("Città €"));
}

TEST_F(WindowTest, Boxes) {
    AboutBox about(&window());
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Informazioni su Zelmar1"));
    const auto label = [](QWidget& box, const char* name) {
        return box.findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    EXPECT_EQ(label(about, "lblVersion"), QString::fromStdString("Versione " + VersionText()));
    EXPECT_EQ(label(about, "lblTitle"), QStringLiteral("Zelmar1 per Sistemi Windows 32/64 bit"));
    EXPECT_EQ(about.findChild<QAbstractButton*>(QStringLiteral("cmdOK"))->text(),
              QStringLiteral("&OK"));

    SplashBox splash;
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(label(splash, "lblPlatform"), QStringLiteral("Per sistemi Windows 32/64 bit"));

    EXPECT_EQ(label(*view.closingBox(), "Label1"),
              QStringLiteral(" Chiusura programma Zelmar1 in corso ..."));
    view.ShowClosingBox(true);
    EXPECT_TRUE(view.closingBox()->isVisible());
    view.ShowClosingBox(false);
    EXPECT_FALSE(view.closingBox()->isVisible());
}

// Not a check: with ZELMAR_SCREENSHOT set, saves a picture of the window there (run under a
// real display, e.g. xvfb-run, for the documentation).
TEST_F(WindowTest, Screenshot) {
    const char* path = std::getenv("ZELMAR_SCREENSHOT");
    if (!path) GTEST_SKIP() << "ZELMAR_SCREENSHOT not set";
    session.options.Check = {true, true, false, false};
    session.options.CheckEnabled = {true, true, false, false};
    session.texts.portShapeGreen = {true, true, false, false};
    session.texts.txtEcrMatr = "72MAB123456";
    session.texts.txtFWRev = "SIM 1.00";
    session.texts.Text2 = "ZELMAR1 TERMINATO : OK";
    session.texts.Text3 = "Timer ON";
    session.texts.txtAppDataVista = "/var/lib/zelmar1";
    session.options.txtRemoteIP = "192.168.1.50";
    form.state().DumpPending = {false, false, true, true};
    view.restoreWindow();
    QTest::qWait(300);
    EXPECT_TRUE(window().grab().save(QString::fromLocal8Bit(path)));
}

}  // namespace
}  // namespace zelmar::ui::testing
