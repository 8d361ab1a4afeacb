#include "app/Look.h"

#include <QCoreApplication>
#include <QPalette>
#include <QWidget>

namespace app {

void NameApplication() {
    QCoreApplication::setApplicationName(kApplicationTitle);
}

int PointsToPixels(int points) {
    return (points * 96 + 36) / 72;
}

QFont MakeFont(const QString& face, int pixelHeight, bool bold) {
    QFont font(face);
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

void SetLabelLook(QWidget* label, const QColor& color, int points) {
    SetTextColor(label, color);
    QFont font = label->font();
    font.setPixelSize(PointsToPixels(points));
    label->setFont(font);
}

void Paint(QWidget* widget, const QColor& background) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, background);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void SetTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

QColor TextColor(const QWidget* widget) {
    return widget->palette().color(QPalette::WindowText);
}

}  // namespace app
