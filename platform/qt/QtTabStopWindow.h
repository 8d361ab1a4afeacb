#pragma once
// A tab stop on Qt: a 1 x 1 widget kept out of sight inside the paint surface. It takes
// Tab focus; Enter raises onActivate, and every other key goes on to the viewer, so the
// page still scrolls with the keyboard while a link has the focus.

#include <QPointer>
#include <QWidget>

#include "platform/TabStopWindow.h"
#include "platform/qt/QtWidgetHolder.h"

namespace platform {

class QtTabStopWindow : public TabStopWindow, public QtWidgetHolder {
  public:
    // `parent` holds the widget; `keyTarget` (the viewer) gets the keys it does not use
    // and comes before the first tab stop of a page.
    QtTabStopWindow(QWidget* parent, QWidget* keyTarget);
    ~QtTabStopWindow() override;

    bool setFocus() override;
    bool hasFocus() const override;
    void placeAfter(TabStopWindow* previous) override;

    QWidget* widget() const override { return widget_; }

  private:
    class StandIn;
    QPointer<QWidget> widget_;
    QPointer<QWidget> keyTarget_;
};

}  // namespace platform
