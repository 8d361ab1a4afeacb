#include "platform/qt/QtTabStopWindow.h"

#include <QApplication>
#include <QKeyEvent>

namespace platform {

class QtTabStopWindow::StandIn : public QWidget {
  public:
    StandIn(QtTabStopWindow* owner, QWidget* parent, QWidget* keyTarget)
        : QWidget(parent), owner_(owner), keyTarget_(keyTarget) {
        setFocusPolicy(Qt::TabFocus);
        setAttribute(Qt::WA_NoSystemBackground);
        setGeometry(-4000, -4000, 1, 1);
        show();
    }
    void Forget() { owner_ = nullptr; }

  protected:
    void focusInEvent(QFocusEvent*) override {
        if (owner_ && owner_->onFocusChange) owner_->onFocusChange(true);
    }
    void focusOutEvent(QFocusEvent*) override {
        if (owner_ && owner_->onFocusChange) owner_->onFocusChange(false);
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            if (owner_ && owner_->onActivate) owner_->onActivate();
            return;
        }
        Forward(event);
    }
    void keyReleaseEvent(QKeyEvent* event) override { Forward(event); }

  private:
    // The viewer gets the key once: it does not travel on up from here as well.
    void Forward(QKeyEvent* event) {
        if (keyTarget_) QApplication::sendEvent(keyTarget_, event);
        event->accept();
    }

    QtTabStopWindow* owner_;
    QPointer<QWidget> keyTarget_;
};

QtTabStopWindow::QtTabStopWindow(QWidget* parent, QWidget* keyTarget)
    : widget_(new StandIn(this, parent, keyTarget)), keyTarget_(keyTarget) {}

QtTabStopWindow::~QtTabStopWindow() {
    if (widget_) {
        static_cast<StandIn*>(widget_.data())->Forget();
        delete widget_.data();
    }
}

bool QtTabStopWindow::setFocus() {
    if (!widget_ || !widget_->isVisible() || !widget_->isEnabled()) return false;
    widget_->setFocus(Qt::OtherFocusReason);
    return true;
}

bool QtTabStopWindow::hasFocus() const {
    return widget_ && widget_->hasFocus();
}

void QtTabStopWindow::placeAfter(TabStopWindow* previous) {
    if (!widget_) return;
    QWidget* before = keyTarget_;
    if (QWidget* other = WidgetOf(previous)) before = other;
    if (before) QWidget::setTabOrder(before, widget_);
}

}  // namespace platform
