#pragma once
// The screen services of the running program: the primary screen's size, resolution
// and depth, the font faces fontconfig knows, and a measuring canvas.

#include <memory>

#include <QMetaObject>

#include "platform/Screen.h"

class QObject;
class QScreen;

namespace platform {

class QtScreen : public ScreenServices {
public:
    QtScreen();
    ~QtScreen() override;
    ScreenInfo info() const override;
    int pixelsPerInch() const override;
    Canvas& measuringCanvas() override;
    bool isFontInstalled(std::string_view face) const override;

private:
    void WatchScreen(QScreen* screen);

    std::unique_ptr<Canvas> canvas_;
    std::unique_ptr<QObject> watcher_;  // the context of the connections below
    QMetaObject::Connection screenConnection_;
    bool watching_ = false;          // told of screen changes by the application
    mutable int pixelsPerInch_ = 0;  // 0 until read, and again after a change
};

// Installs QtScreen, QtDialogs and QtPrinters (needs a QApplication).
void InstallQtServices();

}  // namespace platform
