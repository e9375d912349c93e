#include "ui/boxes.h"

#include <QPushButton>

#include "platform/qt/windows1252.h"
#include "ui/pictures.h"
#include "ui/qt_controls.h"
#include "window/boxes.h"

namespace zelmar::ui {
namespace {

// The box's controls at their places; a button that closes the box accepts the dialog.
void Build(QDialog* box, const window::WindowDescription& description) {
    box->setObjectName(QString::fromLatin1(description.name.c_str()));
    box->setWindowTitle(platform::FromWindows1252(description.caption));
    box->setFixedSize(description.width, description.height);
    for (const auto& [control, widget] : CreateControls(description, box)) {
        if (control->command == window::Command::kCloseBox) {
            QObject::connect(static_cast<QPushButton*>(widget), &QPushButton::clicked, box,
                             &QDialog::accept);
        }
    }
}

}  // namespace

AboutBox::AboutBox(QWidget* owner) : QDialog(owner) {
    Build(this, window::AboutBox());
    setWindowIcon(IdlePicture());
    setModal(true);
}

SplashBox::SplashBox() {
    setWindowFlags(Qt::SplashScreen | Qt::WindowStaysOnTopHint);
    Build(this, window::SplashBox());
}

ClosingBox::ClosingBox(QWidget* owner) : QDialog(owner) {
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setModal(false);
    Build(this, window::ClosingBox());
}

}  // namespace zelmar::ui
