#include "tools/render/PageRenderer.h"

#include <filesystem>

#include "html/Builder.h"
#include "html/Urls.h"
#include "layout/Background.h"
#include "layout/ImageObj.h"
#include "layout/Dump.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/qt/QtCanvas.h"

namespace {

// The page's own folder, with a trailing '/': relative links and pictures start there.
std::string FolderOf(const std::string& path) {
    std::string folder = std::filesystem::path(platform::ExpandFileName(path)).parent_path().string();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace

PageRenderer::PageRenderer(platform::Canvas& canvas, ViewerDefaults defaults)
    : canvas_(canvas), defaults_(std::move(defaults)) {
    imageCache_.SetCacheCount(5);
}

PageRenderer::~PageRenderer() = default;

void PageRenderer::NewDocument() {
    document_ = std::make_unique<TSectionList>();
    document_->imageCache = &imageCache_;
    document_->SetDefaults(defaults_.fontName, defaults_.preFontName, defaults_.fontSize,
                           defaults_.fontColor, defaults_.linkColor, defaults_.visitedColor,
                           defaults_.overLinkColor, false, defaults_.background, defaults_.charset,
                           defaults_.marginHeight, defaults_.marginWidth, defaults_.linkUnderline);
}

void PageRenderer::LoadFile(const std::string& path, bool plainText) {
    std::string text = platform::ReadWholeFile(path);
    if (plainText) {
        NewDocument();
        ParseText(std::move(text), *document_);
        title_.clear();
        return;
    }
    LoadHtml(std::move(text), FolderOf(path));
}

void PageRenderer::LoadHtml(std::string html, const std::string& baseFolder) {
    NewDocument();
    THtmlBuildEvents events;
    // Links, pictures and linked files are read relative to the page's own folder.
    events.ExpandName = [baseFolder](const std::string& name) {
        const std::string plain = UrlToLocalPath(name);
        if (!plain.empty() && plain.front() == '/') return plain;
        return platform::ExpandFileName(baseFolder + plain);
    };
    document_->expandName = events.ExpandName;
    title_ = ParseHtml(std::move(html), *document_, events).Title;
    imageCache_.BumpAndCheck();
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
    image.fill(QColor(platform::RedOf(background), platform::GreenOf(background), platform::BlueOf(background)));
    {
        platform::QtCanvas canvas(&image);
        if (!document_->backgroundName.empty() && document_->showImages) {
            const TPictureLookup found =
                LookupPicture(*document_, document_->ExpandPictureName(document_->backgroundName), false);
            TBackgroundPainter painter;
            painter.SetPicture(found.picture, found.mask);
            painter.Paint(canvas, {0, 0, width_, height_}, {0, 0, width_, height_}, document_->backgroundPlacement);
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

std::string PageRenderer::Dump() { return DumpLayout(*document_, canvas_); }
