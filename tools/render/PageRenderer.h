#pragma once
// Renders a page without a window, as the viewer shows it: the page is built with the
// viewer's default fonts and colours (margins 10 and 5), laid out for a width, and then
// painted over its whole height, dumped, or copied out as text.

#include <memory>
#include <string>

#include <QImage>

#include "image/ImageCache.h"
#include "layout/Document.h"
#include "platform/Canvas.h"

// The viewer's defaults for a document without style of its own.
struct ViewerDefaults {
    std::string fontName = "Times New Roman";
    std::string preFontName = "Courier New";
    double fontSize = 12;
    platform::TColor fontColor = platform::SystemColorValue(platform::colorButtonText);
    platform::TColor background = platform::SystemColorValue(platform::colorButtonFace);
    platform::TColor linkColor = platform::RGBColor(0, 0, 255);
    platform::TColor visitedColor = platform::RGBColor(0x80, 0, 0x80);
    platform::TColor overLinkColor = platform::RGBColor(0, 0, 255);
    int charset = platform::DEFAULT_CHARSET;
    int marginWidth = 10;
    int marginHeight = 5;
    bool linkUnderline = true;
};

class PageRenderer {
public:
    // Measures on `canvas` (which must outlive the renderer).
    PageRenderer(platform::Canvas& canvas, ViewerDefaults defaults = {});
    ~PageRenderer();

    // Builds the document from a file: HTML, or plain text when asked. Throws
    // platform::EFOpenError when the file cannot be read.
    void LoadFile(const std::string& path, bool plainText);
    void LoadHtml(std::string html, const std::string& baseFolder);

    // Lays the document out for the width; the document's height.
    int Layout(int width);
    int width() const { return width_; }
    int height() const { return height_; }

    // The whole page, painted on real fonts (needs a Qt application).
    QImage Paint();
    // The text a select-all copy gives, as UTF-8.
    std::string Text();
    std::string Dump();
    const std::string& title() const { return title_; }

    TSectionList& document() { return *document_; }

private:
    // A fresh document with the viewer's defaults, sharing the image cache.
    void NewDocument();

    platform::Canvas& canvas_;
    ViewerDefaults defaults_;
    TStringBitmapList imageCache_;
    std::unique_ptr<TSectionList> document_;
    std::string title_;
    int width_ = 0;
    int height_ = 0;
};
