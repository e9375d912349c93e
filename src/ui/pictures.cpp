#include "ui/pictures.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPixmap>

#include "window/colours.h"

namespace zelmar::ui {
namespace {

constexpr int kPictureSize = 64;

QColor ToQColor(const window::Colour& colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

QIcon Picture(const window::Colour& background) {
    QPixmap pixmap(kPictureSize, kPictureSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(ToQColor(background));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(pixmap.rect().adjusted(2, 2, -2, -2), 12, 12);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(kPictureSize * 3 / 4);
    painter.setFont(font);
    painter.setPen(ToQColor(window::kPictureLetterColour));
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QString::fromLatin1(window::kPictureLetter));
    return QIcon(pixmap);
}

}  // namespace

QIcon IdlePicture() {
    return Picture(window::kIdlePictureColour);
}

QIcon BusyPicture() {
    return Picture(window::kBusyPictureColour);
}

}  // namespace zelmar::ui
