#include "app/FocusLabel.h"

#include <QMouseEvent>

namespace app {

TFocusLabel::TFocusLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {}

void TFocusLabel::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    if (OnMouseEnter) OnMouseEnter(this);
}

void TFocusLabel::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    if (OnMouseLeave) OnMouseLeave(this);
}

void TFocusLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        OnClick)
        OnClick(this);
}

}  // namespace app
