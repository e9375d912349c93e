#pragma once

// Before any Qt header: the form fixture names a parameter "slots", a Qt macro.
#include "app/form_fixture.h"
// clang-format off
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <cstdlib>
// clang-format on

#include "app/operator_commands.h"
#include "platform/fake/fake_shell.h"
#include "ui/main_window.h"
#include "ui/window_view.h"

namespace zelmar::ui::testing {

// One QApplication for the whole test program, on the offscreen platform unless the caller
// chose one (the screenshot runs under a real X server).
inline QApplication& Application() {
    static int argc = 1;
    static char name[] = "tests_ui";
    static char* argv[] = {name, nullptr};
    if (!std::getenv("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: tearing Qt's GUI down from the exit handlers crashes in QInputDevice.
    static auto* application = new QApplication(argc, argv);
    return *application;
}

class NullSender : public link::CommandSender {
  public:
    int SendCommand(std::string&, int&) override { return 1; }
    int ParseStatus(const std::string&) override { return 0; }
    bool PortOpen() const override { return false; }
    bool OpenPort() override { return true; }
    void ClosePort() override {}
    bool WriteRaw(const std::string&) override { return true; }
    int OpenConnection() override { return 0; }
    void CloseConnection() override {}
};

// The real window over the main form's logic on virtual time, with a recording shell.
class WindowTest : public app::testing::FormTest {
  protected:
    WindowTest() {
        Application();
        session.DefaultDataFolder = data.path();
        view.attach(session, commands);
    }

    MainWindow& window() { return *view.window(); }
    template <typename W = QWidget>
    W* Find(const char* name) {
        return window().findChild<W*>(QString::fromLatin1(name));
    }
    // The text a control shows: caption, label text, frame title or box text.
    QString Caption(const char* name) {
        QWidget* widget = Find(name);
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
        if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
        if (auto* frame = qobject_cast<QGroupBox*>(widget)) return frame->title();
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
        return {};
    }
    QStringList Items(const char* name) {
        QStringList items;
        auto* combo = Find<QComboBox>(name);
        for (int i = 0; combo && i < combo->count(); ++i) items << combo->itemText(i);
        return items;
    }

    platform::FakeShell shell;
    NullSender sender;
    config::SettingsFiles settingsFiles{files, data.path()};
    app::OperatorCommands commands{app::OperatorParts{session, form, loop, files, jobFiles, outside,
                                                      sender, settingsFiles, shell}};
    WindowView view;
};

}  // namespace zelmar::ui::testing
