#include "tools/render/PageRenderer.h"

#include "html/Builder.h"
#include "html/Urls.h"
#include "layout/Background.h"
#include "layout/Dump.h"
#include "layout/ImageObj.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/qt/QtCanvas.h"

PageRenderer::PageRenderer(platform::Canvas& canvas, TDocumentDefaults defaults)
    : canvas_(canvas), defaults_(std::move(defaults)), document_(std::make_unique<TSectionList>()) {
    imageCache_.SetCacheCount(5);
    // No windows here: form controls show as they print.
    document_->controlsAsPictures = true;
}

PageRenderer::~PageRenderer() = default;

void PageRenderer::NewDocument() {
    PrepareLoad(*document_, imageCache_, defaults_);
}

void PageRenderer::LoadFile(const std::string& path, bool plainText) {
    std::string text = platform::ReadWholeFile(path);
    if (plainText) {
        NewDocument();
        ParseText(std::move(text), *document_);
        title_.clear();
        return;
    }
    LoadHtml(std::move(text), platform::ExpandFileName(path));
}

void PageRenderer::LoadHtml(std::string html, const std::string& pagePath) {
    NewDocument();
    THtmlBuildEvents events;
    // Links, pictures and linked files are read relative to the page's own folder.
    events.ExpandName = [pagePath](const std::string& name) {
        return ExpandLinkPath(name, "", "", pagePath);
    };
    document_->expandName = events.ExpandName;
    title_ = ParseHtml(std::move(html), *document_, events).Title;
}

int PageRenderer::Layout(int width) {
    width_ = width;
    int scrollWidth = 0, cursor = 0;
    height_ = document_ ? document_->LayoutCell(canvas_, 0, width, 600, scrollWidth, cursor) : 0;
    return height_;
}

QImage PageRenderer::Paint() {
    QImage image(std::max(1, width_), std::max(1, height_), QImage::Format_RGB32);
    const platform::TColor background = platform::ColorToRGB(document_->backgroundColor);
    image.fill(QColor(platform::RedOf(background), platform::GreenOf(background),
                      platform::BlueOf(background)));
    {
        platform::QtCanvas canvas(&image);
        if (!document_->backgroundName.empty() && document_->showImages) {
            const TPictureLookup found = LookupPicture(
                *document_, document_->ExpandPictureName(document_->backgroundName), false);
            TBackgroundPainter painter;
            painter.SetPicture(found.picture, found.mask);
            painter.Paint(canvas, {0, 0, width_, height_}, {0, 0, width_, height_},
                          document_->backgroundPlacement);
        }
        document_->SetScrollY(0);
        document_->Draw(canvas, {0, 0, width_, height_}, width_, 0, 0, 0, 0);
    }
    return image;
}

std::string PageRenderer::Text() {
    // Select all, as the viewer does: from 0 to the end of the last top-level item.
    if (document_->Count() == 0) return {};
    const TSectionBase& last = *document_->items.back();
    document_->selStart = 0;
    document_->selEnd = last.firstCursorPos + last.cursorCount;
    const int length = document_->SelectionLength();
    std::u16string buffer;
    document_->SelectionToBuffer(buffer, length + 1);
    document_->selStart = document_->selEnd = 0;
    return platform::Utf16ToUtf8(buffer);
}

std::string PageRenderer::Dump() {
    return DumpLayout(*document_, canvas_);
}
