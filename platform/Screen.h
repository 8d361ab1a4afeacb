#pragma once
// What the renderer needs to know of the screen when no window is at hand: its size,
// resolution and colour depth, the installed font faces, and a canvas for measuring
// text. The program installs the real ones at start-up; until then (and in engine
// tests) a fixed 1024 x 768, 96 dpi, 24-bit screen with box fonts stands in, so
// results never depend on the machine.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Canvas.h"

namespace platform {

struct ScreenInfo {
    int width = 1024;
    int height = 768;
    int pixelsPerInch = 96;
    int bitsPerPixel = 24;
    friend bool operator==(const ScreenInfo&, const ScreenInfo&) = default;
};

class ScreenServices {
public:
    virtual ~ScreenServices() = default;
    virtual ScreenInfo info() const = 0;
    // info().pixelsPerInch, asked for alone (every font of a page asks for it).
    virtual int pixelsPerInch() const { return info().pixelsPerInch; }
    // A canvas on the screen for measuring text (never drawn to the window).
    virtual Canvas& measuringCanvas() = 0;
    // Case-insensitive: is this face among the installed screen fonts?
    virtual bool isFontInstalled(std::string_view face) const = 0;
};

// The services in force. Never null: the fixed stand-in when none was installed.
ScreenServices& Screen();
// Installs services (nullptr restores the stand-in); returns the previous ones.
std::unique_ptr<ScreenServices> InstallScreen(std::unique_ptr<ScreenServices> services);
// How many times services were installed: answers worked out from the screen (which
// fonts exist) stay good while this stays the same.
int ScreenInstallations();

// Overrides size, dpi and depth (tests, and the window sizing rule); nullopt clears it.
void SetScreenOverride(std::optional<ScreenInfo> info);
// info() of the installed services, or the override when one is set.
ScreenInfo CurrentScreen();
// CurrentScreen().pixelsPerInch, without asking for the rest.
int CurrentPixelsPerInch();

// The stand-in: box fonts, and a fixed list of installed faces.
class FixedScreen : public ScreenServices {
public:
    FixedScreen();
    ~FixedScreen() override;
    ScreenInfo info() const override { return info_; }
    Canvas& measuringCanvas() override;
    bool isFontInstalled(std::string_view face) const override;

    static const std::vector<std::string>& InstalledFaces();

private:
    ScreenInfo info_;
    std::unique_ptr<Canvas> canvas_;
};

}  // namespace platform
