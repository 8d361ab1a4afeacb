#pragma once
// What the Qt windows behind the platform's window interfaces share: the widget that
// stands for them, so that one can be put in the Tab order after another of any kind.

#include <QWidget>

#include "platform/TabStopWindow.h"

namespace platform {

class QtWidgetHolder {
  public:
    virtual ~QtWidgetHolder() = default;
    // Null once the parent has taken the widget with it.
    virtual QWidget* widget() const = 0;
};

// The widget behind a tab stop, or null for one that has none on Qt.
inline QWidget* WidgetOf(TabStopWindow* window) {
    auto* holder = dynamic_cast<QtWidgetHolder*>(window);
    return holder ? holder->widget() : nullptr;
}

}  // namespace platform
