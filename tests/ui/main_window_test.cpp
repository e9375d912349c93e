// The real window over the main form's logic on virtual time, on the offscreen platform.
// Before any Qt header: the form fixture names a parameter "slots", a Qt macro.
#include "app/form_fixture.h"
// clang-format off
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <cstdlib>

#include "common/version_text.h"
#include "ui/boxes.h"
#include "ui/main_window.h"
#include "ui/window_view.h"
// clang-format on

namespace zelmar::ui::testing {
namespace {

// One QApplication, offscreen unless the caller chose a platform (the screenshot needs a real
// display); never destroyed: tearing Qt's GUI down from the exit handlers crashes.
QApplication& Application() {
    static int argc = 1;
    static char name[] = "tests_ui";
    static char* argv[] = {name, nullptr};
    if (!std::getenv("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static auto* application = new QApplication(argc, argv);
    return *application;
}

class WindowTest : public app::testing::CommandsTest {
  protected:
    WindowTest() {
        Application();
        view.attach(session, commands);
    }

    MainWindow& window() { return *view.window(); }
    template <typename W = QWidget>
    W* Find(const char* name) {
        return window().findChild<W*>(QString::fromLatin1(name));
    }
    // What a control shows (text, title); a list's items joined by '|'.
    QString Text(const char* name) {
        QObject* object = Find<QObject>(name);
        if (auto* frame = qobject_cast<QGroupBox*>(object)) return frame->title();
        auto* list = qobject_cast<QComboBox*>(object);
        if (!list) return object->property("text").toString();
        QStringList items;
        for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
        return items.join('|');
    }
    int EnabledFrames() {
        return Find("Frame2")->isEnabled() + Find("Frame6")->isEnabled() +
               Find("Frame7")->isEnabled() + Find("Frame5")->isEnabled();
    }
    WindowView view;
};

TEST_F(WindowTest, EveryControlShowsItsTextAndTip) {
    struct Control {
        const char* name;
        const char* text;  // nullptr: not checked (filled at run time)
        const char* tip;   // nullptr: no tip
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
        {"lblIP", "Ind. IP Stampante Fiscale", nullptr},
        {"txtRemotePort", "9101", nullptr},
        {"Label15", "Porta", nullptr},
        {"cmdValidateIP", "Valida IP", "Validazione Indirizzo IP"},
        {"cmdPing", "Ping", "Validazione Indirizzo IP"},
        {"cboToutConn", "10 sec.|20 sec.|30 sec.|40 sec.|50 sec.|60 sec.",
         "Timeout in sec. di attesa Connessione"},
        {"Label14", "Protocollo Tcp / Ip", nullptr},
        {"txtAppDataVista", nullptr, "Cartella di scambio dati"},
        {"lblPathVista", "Path Dati x Windows VISTA/7/8/10", nullptr},
        {"Frame4", "Messaggi", nullptr},
        {"Label10", "Matr. ECR:", nullptr},
        {"Label9", "FW Rev:", nullptr},
        {"Text1", nullptr, "Messaggi ricevuti da ECR"},
        {"Label1", "Messaggi ECR :", nullptr},
        {"Text2", nullptr, "Stato del programma ZELMAR1"},
        {"Label2", "Stato  Zelmar1 :", nullptr},
        {"Frame2", "Check stato scontr. / BaudRate", nullptr},
        {"cmdBaud", "115200|9600", nullptr},
        {"Label13", "Velocità di comunicazione", nullptr},
        {"Command1", "Set velocità", "Cliccare per settare il Baud Rate"},
        {"Combo1",
         "Invia anche se aperto |Chiudi scontr. se aperto e invia|Termina invio se aperto!",
         "Impostazione del comportamento in caso di scontrino aperto"},
        {"CMBFile", " Esegui Test", "Esegue scontrino di prova per test collegamento"},
        {"AnnullaOperaz", "Annulla Sco", "Esegue il comando di annulla scontrino"},
        {"m_esci", "T&ermina Zelmar1", nullptr},
        {"m_manual", "&Manuale Zelmar1", nullptr},
        {"m_info", "&Informazioni  su  Zelmar1", nullptr},
    };
    for (const Control& c : controls) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(Find<QObject>(c.name), nullptr);
        if (c.text) {
            EXPECT_EQ(Text(c.name), QString::fromUtf8(c.text));
        }
        if (QWidget* widget = Find(c.name)) {
            EXPECT_EQ(widget->toolTip(), c.tip ? QString::fromUtf8(c.tip) : QString());
        }
    }
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Telvo Zelmar1 Micrelec / Apesse "
                                                     "(rs232,usb,rete)                 RT V.7"));
    EXPECT_EQ(Find<QComboBox>("Combo1")->placeholderText(), QStringLiteral("Controllo scontrino:"));
    EXPECT_EQ(window().fileMenu()->title(), QStringLiteral("&File"));
}

TEST_F(WindowTest, SlotBoxesLockTheFramesAndDriveThePoll) {
    EXPECT_EQ(EnabledFrames(), 4);
    EXPECT_FALSE(Find("CMBFile")->isEnabled());

    // Values set by the program count as clicks, but not as the operator's choice: a slots
    // file in a form of its own is still kept.
    data.put(config::kSlotsFile, "xx\r\n");
    settingsFiles.Load(session.options);
    session.options.SlotServed = {true, true, false, false};
    form.PollTimer().setEnabled(false);
    window().refresh();
    settingsFiles.Save(session.options);
    EXPECT_EQ(data.read(config::kSlotsFile), "xx\r\n");
    EXPECT_EQ(EnabledFrames(), 0);
    EXPECT_TRUE(Find("CMBFile")->isEnabled());
    EXPECT_TRUE(Find("AnnullaOperaz")->isEnabled());
    EXPECT_TRUE(form.PollTimer().enabled());

    // Setting the value a box already has is no click.
    form.PollTimer().setEnabled(false);
    window().refresh();
    EXPECT_FALSE(form.PollTimer().enabled());

    // Unticking Check2 while Check1 stays ticked unlocks the frames and stops the poll.
    form.PollTimer().setEnabled(true);
    Find<QCheckBox>("Check2")->click();
    EXPECT_EQ(session.options.SlotServed, (std::array<bool, 4>{true, false, false, false}));
    EXPECT_EQ(EnabledFrames(), 4);
    EXPECT_FALSE(Find("CMBFile")->isEnabled());
    EXPECT_FALSE(Find("AnnullaOperaz")->isEnabled());
    EXPECT_FALSE(form.PollTimer().enabled());
    settingsFiles.Save(session.options);
    EXPECT_EQ(data.read(config::kSlotsFile), "1000\r\n");
}

TEST_F(WindowTest, InputOptionsExcludeEachOther) {
    struct Case {
        const char* clicked;
        bool xonxoff, micrelec;
    } cases[] = {
        {"chbEnableMicrelecInput", false, true},
        {"chbConvXonXoff", true, false},
        {"chbConvXonXoff", false, false},
    };
    for (const Case& c : cases) {
        Find<QCheckBox>(c.clicked)->click();
        EXPECT_EQ(Find<QCheckBox>("chbConvXonXoff")->isChecked(), c.xonxoff);
        EXPECT_EQ(Find<QCheckBox>("chbEnableMicrelecInput")->isChecked(), c.micrelec);
        EXPECT_EQ(session.options.KeystrokeInput, c.xonxoff);
        EXPECT_EQ(session.options.RegisterLineInput, c.micrelec);
    }
}

// The rules of the value are the operator command's; the window shows the value as taken.
TEST_F(WindowTest, SetTimerShowsTheValueTaken) {
    auto* edit = Find<QLineEdit>("txtTimerVal");
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("250"));
    Find<QAbstractButton>("cmdChgTimer")->click();
    EXPECT_EQ(form.state().PollInterval, 250);
    EXPECT_EQ(edit->text(), QStringLiteral("250ms"));
}

TEST_F(WindowTest, SetBaudRateWritesTheSettingsFile) {
    auto* baud = Find<QComboBox>("cmdBaud");
    baud->setCurrentIndex(baud->findText(QStringLiteral("115200")));
    Find<QAbstractButton>("Command1")->click();
    EXPECT_EQ(data.read("ZMChkBd.txt"), "115200\r\n");
    EXPECT_EQ(session.options.BaudRate, 115200);
}

TEST_F(WindowTest, RestoreShowsTheDumpAndCoreTexts) {
    form.state().ReadPending = {false, true, true, false};
    session.texts.RegisterMessage =
        "Citt\xE0 \x80";  // à and the euro sign in the register's code page
    view.restoreWindow();
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(
        QStringList({Text("Text4"), Text("Text5"), Text("Text6"), Text("Text7")}),
        QStringList({"DUMP ESEGUITO", "DUMP NON ESEGUITO", "DUMP NON ESEGUITO", "DUMP ESEGUITO"}));
    EXPECT_EQ(Text("Text1"), QString::fromUtf8("Città €"));
}

TEST_F(WindowTest, AboutBox) {
    AboutBox about(&window());
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Informazioni su Zelmar1"));
    EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
              QString::fromStdString("Versione " + VersionText()));
    EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("lblTitle"))->text(),
              QStringLiteral("Zelmar1 per Sistemi Windows 32/64 bit"));
    EXPECT_EQ(about.findChild<QAbstractButton*>(QStringLiteral("cmdOK"))->text(),
              QStringLiteral("&OK"));
}

// Not a check: with ZELMAR_SCREENSHOT set, saves a picture of the window there (run under a
// real display, e.g. xvfb-run, for the documentation).
TEST_F(WindowTest, Screenshot) {
    const char* path = std::getenv("ZELMAR_SCREENSHOT");
    if (!path) GTEST_SKIP() << "ZELMAR_SCREENSHOT not set";
    session.options.SlotServed = {true, true, false, false};
    session.options.SlotSelectable = {true, true, false, false};
    session.texts.portShapeGreen = {true, true, false, false};
    session.texts.SerialNumberShown = "72MAB123456";
    session.texts.Firmware = "SIM 1.00";
    session.texts.JobStatus = "ZELMAR1 TERMINATO : OK";
    session.texts.PollState = "Timer ON";
    session.texts.DataFolderShown = "/var/lib/zelmar1";
    session.options.RegisterAddress = "192.168.1.50";
    form.state().ReadPending = {false, false, true, true};
    view.restoreWindow();
    QTest::qWait(300);
    EXPECT_TRUE(window().grab().save(QString::fromLocal8Bit(path)));
}

}  // namespace
}  // namespace zelmar::ui::testing
