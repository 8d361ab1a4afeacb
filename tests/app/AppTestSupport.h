#pragma once
// What the tests of the reader's windows share: a scratch folder named after the test,
// dialogs and message boxes answered by a recorder on a fixed screen, and clicks on the
// text of a page.

#include <gtest/gtest.h>

#include <QTest>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/Dialogs.h"
#include "platform/RecordingDialogs.h"
#include "platform/Screen.h"
#include "tests/support/ScratchFolder.h"
#include "viewer/HtmlViewer.h"
#include "viewer/PaintPanel.h"

namespace apptest {

using ::ScratchFolder;

// For as long as it lives: dialogs and message boxes go to `recorded`, and the screen is
// 1024 x 768 at 96 dpi in true colour.
class WindowTestEnvironment {
  public:
    WindowTestEnvironment() {
        auto dialogs = std::make_unique<platform::RecordingDialogs>();
        recorded = dialogs.get();
        previousDialogs_ = platform::InstallDialogs(std::move(dialogs));
        platform::SetScreenOverride(platform::ScreenInfo{1024, 768, 96, 24});
    }
    ~WindowTestEnvironment() {
        platform::InstallDialogs(std::move(previousDialogs_));
        platform::SetScreenOverride(std::nullopt);
    }
    WindowTestEnvironment(const WindowTestEnvironment&) = delete;
    WindowTestEnvironment& operator=(const WindowTestEnvironment&) = delete;

    platform::RecordingDialogs* recorded = nullptr;

  private:
    std::unique_ptr<platform::DialogService> previousDialogs_;
};

// A real mouse click on the first place the page in the viewer shows `text`.
inline void ClickTextInPage(THTMLViewer& viewer, const std::u16string& text) {
    viewer.PaintPanel()->repaint();
    const int at = viewer.Document().SearchForward(0, text, true);
    ASSERT_GE(at, 0);
    int x = 0, y = 0;
    ASSERT_TRUE(viewer.Document().PointOfCursor(&platform::Screen().measuringCanvas(), at, x, y));
    viewer.ScrollToY(y - 20);
    viewer.PaintPanel()->repaint();
    QTest::mouseClick(viewer.PaintPanel(), Qt::LeftButton, {},
                      QPoint(x + 2, y - viewer.Document().scrollY + 3));
}

}  // namespace apptest
