#pragma once
// Renders a page without a window, as the viewer shows it: the page is built with the
// viewer's default fonts and colours (margins 10 and 5), laid out for a width, and then
// painted over its whole height, dumped, or copied out as text.

#include <memory>
#include <string>

#include <QImage>

#include "image/ImageCache.h"
#include "layout/Document.h"
#include "layout/DocumentDefaults.h"
#include "platform/Canvas.h"

class PageRenderer {
  public:
    // Measures on `canvas` (which must outlive the renderer).
    PageRenderer(platform::Canvas& canvas, TDocumentDefaults defaults = {});
    ~PageRenderer();

    // Builds the document from a file: HTML, or plain text when asked. Throws
    // platform::EFOpenError when the file cannot be read.
    void LoadFile(const std::string& path, bool plainText);
    // `pagePath` is where the page stands (or its folder, ending in '/'): relative names
    // start at its folder.
    void LoadHtml(std::string html, const std::string& pagePath);

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
    // The document emptied for the next page, as the viewer readies it.
    void NewDocument();

    platform::Canvas& canvas_;
    TDocumentDefaults defaults_;
    TStringBitmapList imageCache_;
    std::unique_ptr<TSectionList> document_;
    std::string title_;
    int width_ = 0;
    int height_ = 0;
};
