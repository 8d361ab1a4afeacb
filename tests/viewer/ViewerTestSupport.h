#pragma once
// A viewer in a scratch folder of pages, driven headless. Layout measures with the fixed
// stand-in screen (box fonts), so heights and widths do not depend on the machine.

#include <gtest/gtest.h>

#include <QApplication>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/Dialogs.h"
#include "platform/RecordingDialogs.h"
#include "platform/Screen.h"
#include "viewer/HtmlViewer.h"
#include "viewer/PaintPanel.h"
#include "viewer/ScrollBar32.h"

namespace fs = std::filesystem;

// A 1 x 1 BMP of one blue pixel.
inline const std::string kDotBmp(
    "BM\x3A\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0\0\0\0\0"
    "\x04\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xFF\0\0\0",
    58);

class ViewerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("vultaria-viewer-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        auto dialogs = std::make_unique<platform::RecordingDialogs>();
        recorded = dialogs.get();
        previousDialogs = platform::InstallDialogs(std::move(dialogs));
        viewer = std::make_unique<THTMLViewer>();
        viewer->resize(400, 300);
    }
    void TearDown() override {
        viewer.reset();
        platform::InstallDialogs(std::move(previousDialogs));
        fs::remove_all(folder);
    }

    // Writes a page into the scratch folder; its full path.
    std::string Write(const std::string& name, const std::string& bytes) {
        const fs::path path = folder / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    // A page `height` pixels high in blocks of 100 (the last one shorter), each block an
    // anchor named "b<number>"; `head` goes before the body, `top` at its start.
    static std::string TallPage(int height, const std::string& top = "",
                                const std::string& head = "") {
        std::string html = "<html>" + head + "<body style=\"margin:0\">" + top;
        for (int i = 0; height > 0; ++i, height -= 100)
            html += "<div id=b" + std::to_string(i) +
                    " style=\"height:" + std::to_string(std::min(height, 100)) +
                    "px;margin:0\"></div>";
        return html + "</body></html>";
    }

    int SurfaceWidth() const { return viewer->PaintPanel()->width(); }
    int SurfaceHeight() const { return viewer->PaintPanel()->height(); }

    fs::path folder;
    platform::RecordingDialogs* recorded = nullptr;
    std::unique_ptr<platform::DialogService> previousDialogs;
    std::unique_ptr<THTMLViewer> viewer;
};
