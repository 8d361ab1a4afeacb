#include "app/FirstPaintWatch.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace app {

FirstPaintWatch::FirstPaintWatch(QWidget* watched, std::function<void()> action)
    : QObject(watched), action_(std::move(action)) {
    watched->installEventFilter(this);
}

bool FirstPaintWatch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && !fired_) {
        fired_ = true;
        watched->removeEventFilter(this);
        // After this paint has been drawn and shown.
        QTimer::singleShot(0, this, [this] { action_(); });
    }
    return false;
}

}  // namespace app
