#include "ui/main_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>

#include "platform/qt/windows1252.h"
#include "ui/pictures.h"
#include "ui/qt_controls.h"
#include "window/operator_window.h"

namespace zelmar::ui {

using window::Kind;

MainWindow::MainWindow(Session& session, app::OperatorCommands& commands)
    : model_(session, commands) {
    const window::WindowDescription& description = window::OperatorWindow();
    setObjectName(QString::fromLatin1(description.name.c_str()));
    setWindowTitle(platform::FromWindows1252(description.caption));
    setWindowIcon(IdlePicture());
    BuildMenus();

    auto* client = new QWidget(this);
    client->setFixedSize(description.width, description.height);
    widgets_ = CreateControls(description, client);
    for (const auto& [control, widget] : widgets_) Connect(*control, widget);
    setCentralWidget(client);

    model_.setRenderer(
        {.refresh = [this] { refresh(); }, .showAbout = [this] { emit aboutRequested(); }});
    refreshTimer_.setInterval(window::kRefreshIntervalMs);
    connect(&refreshTimer_, &QTimer::timeout, this, &MainWindow::refresh);
    refresh();
}

void MainWindow::BuildMenus() {
    QMenu* menu = nullptr;
    for (const window::Control& control : window::OperatorWindow().controls) {
        const QString caption = platform::FromWindows1252(control.caption);
        const QString name = QString::fromLatin1(control.name.c_str());
        if (control.kind == Kind::kMenu) {
            menu = menuBar()->addMenu(caption);
            menu->setObjectName(name);
            if (!fileMenu_) fileMenu_ = menu;  // the first: the notification icon's menu too
        } else if (control.kind == Kind::kMenuItem) {
            QAction* item = menu->addAction(caption);
            item->setObjectName(name);
            if (control.defaultItem) menu->setDefaultAction(item);
            connect(item, &QAction::triggered, this, [this, &control] { model_.Clicked(control); });
        }
    }
}

void MainWindow::Connect(const window::Control& control, QWidget* widget) {
    const window::Control* c = &control;
    switch (control.kind) {
        case Kind::kCheckBox:
            connect(static_cast<QCheckBox*>(widget), &QCheckBox::clicked, this,
                    [this, c](bool ticked) { model_.Ticked(*c, ticked); });
            break;
        case Kind::kRadio:
        case Kind::kButton:
            connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this,
                    [this, c] { model_.Clicked(*c); });
            break;
        case Kind::kEdit:
            connect(static_cast<QLineEdit*>(widget), &QLineEdit::textEdited, this,
                    [this, c](const QString& text) {
                        model_.Edited(*c, platform::ToWindows1252(text));
                    });
            break;
        case Kind::kList:
            connect(static_cast<QComboBox*>(widget), &QComboBox::activated, this,
                    [this, c](int index) { model_.Chosen(*c, index); });
            break;
        case Kind::kEditableList:
            connect(static_cast<QComboBox*>(widget), &QComboBox::currentTextChanged, this,
                    [this, c](const QString& text) {
                        model_.Edited(*c, platform::ToWindows1252(text));
                    });
            break;
        default:
            break;
    }
}

void MainWindow::refresh() {
    model_.FollowProgramChanges();
    for (const auto& [control, widget] : widgets_) {
        ApplyState(widget, *control, model_.StateOf(*control));
    }
    if (!model_.RefreshesOnTimer()) {
        refreshTimer_.stop();
    } else if (!refreshTimer_.isActive()) {
        refreshTimer_.start();
    }
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    model_.WindowStateChanged(isMinimized(), isVisible());
    if (isMinimized() && hidesOnMinimise_) hide();
    refresh();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The close box ends the program like the menu entry; the unload hides the window.
    event->ignore();
    model_.Clicked(*window::OperatorWindow().find("m_esci"));
}

}  // namespace zelmar::ui
