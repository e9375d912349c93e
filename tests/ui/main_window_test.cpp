// The real window over the main form's logic on virtual time, on the offscreen platform.
// Before any Qt header: the form fixture names a parameter "slots", a Qt macro.
#include "app/form_fixture.h"
// clang-format off
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>
#include <cstdlib>

#include "platform/qt/windows1252.h"
#include "ui/boxes.h"
#include "ui/main_window.h"
#include "ui/window_view.h"
#include "window/boxes.h"
#include "window/operator_window.h"
#include "window/text_fit.h"
// clang-format on

namespace zelmar::ui::testing {
namespace {

// One QApplication, offscreen unless the caller chose a platform; never destroyed: tearing Qt's GUI
// down from the exit handlers crashes.
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
    // What a control shows; a list's items joined by '|'.
    QString Text(const char* name) {
        QObject* object = Find<QObject>(name);
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

// Only the index of a list's item is stored and acted on: the items must stay in this order.
TEST_F(WindowTest, ChoiceListsKeepTheirOrderAndStoreTheIndex) {
    const struct {
        const char* name;
        const char* items;
        int Options::*index;
    } lists[] = {
        {"Combo1",
         "Invia anche se aperto |Chiudi scontr. se aperto e invia|Termina invio se aperto!",
         &Options::OpenReceiptPolicy},
        {"cboToutConn", "10 sec.|20 sec.|30 sec.|40 sec.|50 sec.|60 sec.",
         &Options::ConnectTimeoutChoice},
    };
    for (const auto& l : lists) {
        SCOPED_TRACE(l.name);
        EXPECT_EQ(Text(l.name), QString::fromUtf8(l.items));
        session.options.*l.index = 2;
        window().refresh();
        EXPECT_EQ(Find<QComboBox>(l.name)->currentIndex(), 2);
        QTest::keyClick(Find<QComboBox>(l.name), Qt::Key_Up);  // the operator picks item 1
        EXPECT_EQ(session.options.*l.index, 1);
    }
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
    Find<QCheckBox>("chbEnableMicrelecInput")->click();
    Find<QCheckBox>("chbConvXonXoff")->click();
    EXPECT_FALSE(Find<QCheckBox>("chbEnableMicrelecInput")->isChecked());
    EXPECT_TRUE(session.options.KeystrokeInput && !session.options.RegisterLineInput);
}

TEST_F(WindowTest, RestoreShowsTextsInTheRegistersCodePage) {
    session.texts.RegisterMessage = "Citt\xE0 \x80";  // à and the euro sign
    view.restoreWindow();
    EXPECT_EQ(Text("Text1"), QString::fromUtf8("Città €"));
}

// The room a line edit gives its text before it scrolls: its contents rect less Qt's fixed
// two-pixel margin on each side and the cursor.
int TextRoom(QLineEdit* edit) {
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
    const QRect contents =
        edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    const QMargins margins = edit->textMargins();
    return contents.width() - margins.left() - margins.right() - 2 * 2 - 2;
}

// Whether `text` shows whole in `widget` with the widget's own font and style: a text box
// does not scroll it, anything else asks no more room for it than it has.
bool ShowsWhole(QWidget* widget, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return edit->fontMetrics().horizontalAdvance(text) <= TextRoom(edit);
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) button->setText(text);
    if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(text);
    return widget->sizeHint().width() <= widget->width();
}

TEST_F(WindowTest, EveryControlShowsItsLongestTextsWhole) {
    AboutBox about(&window());
    const struct {
        QWidget* widget;
        window::WindowDescription description;
    } windows[] = {{&window(), window::OperatorWindow()}, {&about, window::AboutBox()}};
    for (const auto& w : windows) {
        for (const window::Control& control : w.description.controls) {
            auto* widget = w.widget->findChild<QWidget*>(QString::fromLatin1(control.name));
            if (!widget || control.kind == window::Kind::kFrame ||
                control.kind == window::Kind::kMenu) {
                continue;
            }
            for (const std::string& text : window::TextsShown(control)) {
                EXPECT_TRUE(ShowsWhole(widget, platform::FromWindows1252(text)))
                    << control.name << ": " << text;
            }
        }
    }
}

}  // namespace
}  // namespace zelmar::ui::testing
