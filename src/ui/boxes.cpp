#include "ui/boxes.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/operator_commands.h"
#include "platform/qt/windows1252.h"
#include "ui/pictures.h"

namespace zelmar::ui {
namespace {

QLabel* AddLabel(QWidget* box, QVBoxLayout* layout, const char* name, const std::string& text) {
    auto* label = new QLabel(platform::FromWindows1252(text), box);
    label->setObjectName(QString::fromLatin1(name));
    layout->addWidget(label);
    return label;
}

}  // namespace

AboutBox::AboutBox(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("frmAbout"));
    const app::AboutTexts texts = app::AboutBoxTexts();
    setWindowTitle(platform::FromWindows1252(texts.caption));
    setWindowIcon(IdlePicture());
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    AddLabel(this, layout, "lblTitle", texts.lblTitle)->setStyleSheet("font-weight: bold");
    AddLabel(this, layout, "lblVersion", texts.lblVersion);
    AddLabel(this, layout, "lblDescription", texts.lblDescription)->setWordWrap(true);
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

SplashBox::SplashBox() {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowFlags(Qt::SplashScreen | Qt::WindowStaysOnTopHint);
    const app::SplashTexts texts = app::SplashBoxTexts();
    auto* layout = new QVBoxLayout(this);
    AddLabel(this, layout, "lblProductName", texts.title);
    AddLabel(this, layout, "lblVersion", texts.version);
    AddLabel(this, layout, "lblCompany", texts.company);
    AddLabel(this, layout, "lblPlatform", texts.platform);
    AddLabel(this, layout, "lblCopyright", texts.copyright);
}

ClosingBox::ClosingBox(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("Form1"));
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    AddLabel(this, layout, "Label1", " Chiusura programma Zelmar1 in corso ...");
}

}  // namespace zelmar::ui
