#include "platform/qt/QtPanelWindow.h"

#include <QFrame>
#include <QPalette>

namespace platform {

QtPanelWindow::QtPanelWindow(QWidget* parent) : frame_(new QFrame(parent)) {
    frame_->setAutoFillBackground(true);
    setColor(color_);
}

QtPanelWindow::~QtPanelWindow() {
    delete frame_.data();
}

void QtPanelWindow::setBounds(const Rect& bounds) {
    if (frame_) frame_->setGeometry(bounds.left, bounds.top, bounds.width(), bounds.height());
}

Rect QtPanelWindow::bounds() const {
    if (!frame_) return {};
    const QRect r = frame_->geometry();
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void QtPanelWindow::setVisible(bool visible) {
    if (frame_) frame_->setVisible(visible);
}

bool QtPanelWindow::isVisible() const {
    return frame_ && !frame_->isHidden();
}

void QtPanelWindow::setColor(TColor color) {
    color_ = color;
    if (!frame_) return;
    const TColor rgb = ColorToRGB(color);
    QPalette palette = frame_->palette();
    palette.setColor(QPalette::Window, QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb)));
    frame_->setPalette(palette);
}

void QtPanelWindow::setSingleBorder(bool single) {
    if (frame_) frame_->setFrameStyle(single ? QFrame::Box | QFrame::Plain : QFrame::NoFrame);
}

bool QtPanelWindow::hasSingleBorder() const {
    return frame_ && frame_->frameShape() == QFrame::Box;
}

}  // namespace platform
