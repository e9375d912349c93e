#include "ui/pictures.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace zelmar::ui {
namespace {

constexpr int kPictureSize = 64;

// A rounded square with a "Z": blue while idle, orange while a job runs.
QIcon Picture(const QColor& background) {
    QPixmap pixmap(kPictureSize, kPictureSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(background);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(pixmap.rect().adjusted(2, 2, -2, -2), 12, 12);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(kPictureSize * 3 / 4);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("Z"));
    return QIcon(pixmap);
}

}  // namespace

QIcon IdlePicture() {
    return Picture(QColor(0x1f, 0x5f, 0xa8));
}

QIcon BusyPicture() {
    return Picture(QColor(0xe0, 0x80, 0x10));
}

}  // namespace zelmar::ui
