#include "app/Pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "app/Look.h"

namespace app {

QPixmap DrawBanner() {
    QPixmap banner(1280, 80);
    QPainter painter(&banner);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient shade(0, 0, 1280, 0);
    shade.setColorAt(0, QColor(0x4E, 0x3B, 0x27));
    shade.setColorAt(0.5, kBannerColor);
    shade.setColorAt(1, QColor(0x8A, 0x6F, 0x4F));
    painter.fillRect(banner.rect(), shade);

    // An open book on the left.
    painter.setPen(QPen(QColor(0xE1, 0xCE, 0xB9), 2));
    painter.setBrush(QColor(0xF7, 0xF3, 0xEF));
    QPainterPath left, right;
    left.moveTo(40, 22);
    left.cubicTo(52, 16, 66, 16, 78, 24);
    left.lineTo(78, 62);
    left.cubicTo(66, 54, 52, 54, 40, 60);
    left.closeSubpath();
    right.moveTo(116, 22);
    right.cubicTo(104, 16, 90, 16, 78, 24);
    right.lineTo(78, 62);
    right.cubicTo(90, 54, 104, 54, 116, 60);
    right.closeSubpath();
    painter.drawPath(left);
    painter.drawPath(right);
    painter.setPen(QPen(QColor(0xB0, 0x98, 0x7C), 1));
    for (int y = 30; y <= 50; y += 6) {
        painter.drawLine(46, y, 72, y + 2);
        painter.drawLine(84, y + 2, 110, y);
    }

    QFont title("Times New Roman");
    title.setPixelSize(40);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(QColor(0xF7, 0xF3, 0xEF));
    painter.drawText(QRect(140, 6, 600, 48), Qt::AlignLeft | Qt::AlignVCenter, "Vultaria");
    QFont subtitle("Times New Roman");
    subtitle.setPixelSize(16);
    subtitle.setItalic(true);
    painter.setFont(subtitle);
    painter.setPen(kPanelColor);
    painter.drawText(QRect(142, 48, 700, 22), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromUtf8("Biografias de brasileiros"));
    return banner;
}

QPixmap DrawNavigationButton(bool back) {
    QPixmap button(65, 21);
    button.fill(kPanelColor);
    QPainter painter(&button);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kLabelTextColor);
    QPolygonF arrow;
    if (back)
        arrow << QPointF(6, 10.5) << QPointF(16, 3) << QPointF(16, 18);
    else
        arrow << QPointF(59, 10.5) << QPointF(49, 3) << QPointF(49, 18);
    painter.drawPolygon(arrow);
    QFont font("Times New Roman");
    font.setPixelSize(13);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(kLabelTextColor);
    const QRect text = back ? QRect(18, 0, 45, 21) : QRect(2, 0, 45, 21);
    painter.drawText(text, Qt::AlignCenter,
                     back ? QString::fromUtf8("Voltar") : QString::fromUtf8("Avançar"));
    return button;
}

}  // namespace app
