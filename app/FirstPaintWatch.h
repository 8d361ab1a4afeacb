#pragma once
// Runs an action once, as soon as a widget has finished its first paint: how the reader
// knows its window shows the page (for --screenshot, which also times start-up).

#include <QObject>

#include <functional>

namespace app {

class FirstPaintWatch : public QObject {
  public:
    FirstPaintWatch(QWidget* watched, std::function<void()> action);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<void()> action_;
    bool fired_ = false;
};

}  // namespace app
