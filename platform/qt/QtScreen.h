#pragma once
// The screen services of the running program: the primary screen's size, resolution
// and depth, the font faces fontconfig knows, and a measuring canvas.

#include <memory>

#include "platform/Screen.h"

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
    std::unique_ptr<Canvas> canvas_;
};

// Installs QtScreen, QtDialogs and QtPrinters (needs a QApplication).
void InstallQtServices();

}  // namespace platform
