#include "viewer/Cursors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kSize = 32;

QPixmap Blank() {
    QPixmap picture(kSize, kSize);
    picture.fill(Qt::transparent);
    return picture;
}

// A black outline with a white fill, as system cursors are drawn.
void Outline(QPainter& painter, const QPainterPath& path) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawPath(path);
}

QPainterPath Arrow(int tipY, int direction) {
    // A triangle of 9 pixels pointing up (direction -1) or down (+1) from tipY.
    QPainterPath path;
    path.moveTo(16, tipY);
    path.lineTo(16 + 6, tipY - direction * 6);
    path.lineTo(16 - 6, tipY - direction * 6);
    path.closeSubpath();
    return path;
}

QCursor ScrollCursor(bool up, bool down) {
    QPixmap picture = Blank();
    QPainter painter(&picture);
    QPainterPath dot;
    dot.addEllipse(QRectF(13, 13, 6, 6));
    Outline(painter, dot);
    if (up) Outline(painter, Arrow(3, -1));
    if (down) Outline(painter, Arrow(28, 1));
    painter.end();
    return QCursor(picture, 16, 16);
}

}  // namespace

QCursor HandCursor() {
    return QCursor(Qt::PointingHandCursor);
}

QCursor TextCursor() {
    // A slim I with serifs, its hot spot in the middle.
    QPixmap picture = Blank();
    QPainter painter(&picture);
    painter.setPen(QPen(Qt::white, 3));
    painter.drawLine(16, 7, 16, 24);
    painter.drawLine(12, 6, 20, 6);
    painter.drawLine(12, 25, 20, 25);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(16, 7, 16, 24);
    painter.drawLine(13, 6, 15, 6);
    painter.drawLine(17, 6, 19, 6);
    painter.drawLine(13, 25, 15, 25);
    painter.drawLine(17, 25, 19, 25);
    painter.end();
    return QCursor(picture, 16, 16);
}

QCursor UpDownCursor() {
    return ScrollCursor(true, true);
}
QCursor UpOnlyCursor() {
    return ScrollCursor(true, false);
}
QCursor DownOnlyCursor() {
    return ScrollCursor(false, true);
}
