#include "platform/Screen.h"

#include <algorithm>

#include "platform/RecordingCanvas.h"

namespace platform {

namespace {

std::unique_ptr<ScreenServices>& Installed() {
    static std::unique_ptr<ScreenServices> services;
    return services;
}

std::optional<ScreenInfo>& Override() {
    static std::optional<ScreenInfo> info;
    return info;
}

bool SameFace(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

}  // namespace

FixedScreen::FixedScreen() : canvas_(std::make_unique<RecordingCanvas>()) {
    static_cast<RecordingCanvas&>(*canvas_).setRecording(false);
}

FixedScreen::~FixedScreen() = default;

Canvas& FixedScreen::measuringCanvas() { return *canvas_; }

const std::vector<std::string>& FixedScreen::InstalledFaces() {
    static const std::vector<std::string> faces = {
        "Arial", "Courier New", "Times New Roman", "Verdana", "Georgia", "Tahoma",
        "Lucida Handwriting", "MS Sans Serif", "Symbol"};
    return faces;
}

bool FixedScreen::isFontInstalled(std::string_view face) const {
    const auto& faces = InstalledFaces();
    return std::any_of(faces.begin(), faces.end(), [&](const std::string& f) { return SameFace(f, face); });
}

ScreenServices& Screen() {
    auto& services = Installed();
    if (!services) services = std::make_unique<FixedScreen>();
    return *services;
}

namespace {
int installations = 0;
}

int ScreenInstallations() { return installations; }

std::unique_ptr<ScreenServices> InstallScreen(std::unique_ptr<ScreenServices> services) {
    ++installations;
    auto previous = std::move(Installed());
    Installed() = std::move(services);
    return previous;
}

void SetScreenOverride(std::optional<ScreenInfo> info) { Override() = info; }

ScreenInfo CurrentScreen() { return Override() ? *Override() : Screen().info(); }

int CurrentPixelsPerInch() {
    return Override() ? Override()->pixelsPerInch : Screen().pixelsPerInch();
}

}  // namespace platform
