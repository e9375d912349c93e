#include "ui/qt_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "platform/qt/windows1252.h"
#include "ui/pictures.h"
#include "window/text_fit.h"

namespace zelmar::ui {
namespace {

using window::Kind;

constexpr int kPicturePixels = 32;

QString Text(const std::string& bytes) {
    return platform::FromWindows1252(bytes);
}

QComboBox* List(const window::Control& control, QWidget* parent) {
    auto* list = new QComboBox(parent);
    for (const std::string& item : control.items) list->addItem(Text(item));
    list->setEditable(control.kind == Kind::kEditableList);
    if (!list->isEditable()) list->setPlaceholderText(Text(control.caption));
    return list;
}

QWidget* NewWidget(const window::Control& control, QWidget* parent) {
    const QString caption = Text(control.caption);
    switch (control.kind) {
        case Kind::kFrame:
            return new QGroupBox(caption, parent);
        case Kind::kCheckBox:
            return new QCheckBox(caption, parent);
        case Kind::kRadio:
            return new QRadioButton(caption, parent);
        case Kind::kEdit:
        case Kind::kText: {
            auto* edit = new QLineEdit(parent);
            edit->setReadOnly(control.kind == Kind::kText);
            return edit;
        }
        case Kind::kButton: {
            auto* button = new QPushButton(caption, parent);
            button->setDefault(control.defaultItem);
            return button;
        }
        case Kind::kList:
        case Kind::kEditableList:
            return List(control, parent);
        case Kind::kShape: {
            auto* shape = new QFrame(parent);
            shape->setFrameShape(QFrame::Box);
            shape->setAutoFillBackground(true);
            return shape;
        }
        case Kind::kPicture: {
            auto* picture = new QLabel(parent);
            picture->setPixmap(BusyPicture().pixmap(kPicturePixels, kPicturePixels));
            return picture;
        }
        default: {
            auto* label = new QLabel(caption, parent);
            if (control.bold) label->setStyleSheet(QStringLiteral("font-weight: bold"));
            return label;
        }
    }
}

}  // namespace

QWidget* CreateControl(const window::Control& control, QWidget* parent) {
    QWidget* widget = NewWidget(control, parent);
    widget->setObjectName(QString::fromLatin1(control.name.c_str()));
    if (!control.tip.empty()) widget->setToolTip(Text(control.tip));
    const window::Rect rect = window::FittedRect(control);
    widget->setGeometry(rect.x, rect.y, rect.width, rect.height);
    return widget;
}

std::vector<std::pair<const window::Control*, QWidget*>> CreateControls(
    const window::WindowDescription& description, QWidget* client) {
    std::vector<std::pair<const window::Control*, QWidget*>> widgets;
    QMap<QString, QWidget*> frames;
    for (const window::Control& control : description.controls) {
        if (control.kind == Kind::kMenu || control.kind == Kind::kMenuItem) continue;
        QWidget* parent = frames.value(QString::fromStdString(control.frame), client);
        QWidget* widget = CreateControl(control, parent);
        if (control.kind == Kind::kFrame)
            frames.insert(QString::fromStdString(control.name), widget);
        widgets.emplace_back(&control, widget);
    }
    return widgets;
}

void ApplyState(QWidget* widget, const window::Control& control,
                const window::ControlState& state) {
    const QSignalBlocker block(widget);
    widget->setEnabled(state.enabled);
    widget->setVisible(state.shown);
    const QString text = Text(state.text);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        if (edit->text() != text) edit->setText(text);  // the cursor stays where the operator is
    } else if (auto* box = qobject_cast<QAbstractButton*>(widget)) {
        box->setChecked(state.checked);
        if (box->text() != text) box->setText(text);
    } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
        if (list->isEditable()) {
            if (list->currentText() != text) list->setCurrentText(text);
        } else {
            list->setCurrentIndex(state.choice);
        }
    } else if (control.kind == Kind::kShape) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window,
                         QColor(state.fill.red, state.fill.green, state.fill.blue));
        widget->setPalette(palette);
    }
}

}  // namespace zelmar::ui
