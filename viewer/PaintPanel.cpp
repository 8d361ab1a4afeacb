#include "viewer/PaintPanel.h"

#include <QDragEnterEvent>
#include <QImage>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "platform/qt/QtCanvas.h"
#include "viewer/HtmlViewer.h"
#include "viewer/ScrollBar32.h"

TPaintPanel::TPaintPanel(THTMLViewer* viewer, QWidget* parent) : QWidget(parent), viewer_(viewer) {
    // The whole surface is drawn by every paint: nothing to erase first, and Qt may move
    // the window contents when scrolling.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setAcceptDrops(true);
}

void TPaintPanel::SetColor(platform::TColor color) {
    if (color == color_) return;
    color_ = color;
    update();
}

namespace {

qint64 bufferPixelLimit = 0;

}  // namespace

void TPaintPanel::SetBufferPixelLimit(qint64 pixels) {
    bufferPixelLimit = pixels;
}

void TPaintPanel::paintEvent(QPaintEvent* event) {
    if (viewer_->NoDraw() || painting_) return;
    const QRect clip = event->rect();
    const qreal ratio = devicePixelRatioF();
    try {
        const QSize size = clip.size() * ratio;
        QImage buffer;
        if (bufferPixelLimit <= 0 || qint64(size.width()) * size.height() <= bufferPixelLimit)
            buffer = QImage(size, QImage::Format_RGB32);
        buffer.setDevicePixelRatio(ratio);
        PaintRect(clip, &buffer);
        QPainter(this).drawImage(clip.topLeft(), buffer);
        reportedOutOfResources_ = false;
    } catch (const platform::Exception& error) {
        // Said once, after the paint, until a paint succeeds again.
        if (reportedOutOfResources_) return;
        reportedOutOfResources_ = true;
        const std::u16string text = platform::Utf8ToUtf16(error.message());
        QMetaObject::invokeMethod(
            this,
            [text] {
                platform::Dialogs().messageBox(u"Vultaria", text, platform::MessageIcon::Error);
            },
            Qt::QueuedConnection);
    }
}

void TPaintPanel::PaintRect(const QRect& clip, QImage* buffer) {
    if (viewer_->NoDraw() || painting_) return;
    painting_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{painting_};

    viewer_->UpdateBorder();
    if (!buffer || buffer->isNull()) {
        if (!clip.isEmpty()) throw EOutOfResources("Out of Resources");
        return;
    }
    ++paintCount_;
    lastPaintRect_ = clip;
    platform::QtCanvas canvas(buffer);
    // Page pixels onto the buffer's corner, scaled by the zoom.
    const int zoom = viewer_->Zoom();
    platform::Mapping mapping;
    mapping.windowExtent = {100, 100};
    mapping.viewportExtent = {zoom, zoom};
    mapping.viewportOrigin = {-clip.left(), -clip.top()};
    canvas.setMapping(mapping);
    const auto down = [zoom](int screen) {
        return screen >= 0 ? screen * 100 / zoom : -((-screen * 100 + zoom - 1) / zoom);
    };
    const auto up = [zoom](int screen) { return (screen * 100 + zoom - 1) / zoom; };
    const platform::Rect area{down(clip.left()), down(clip.top()), up(clip.right() + 1),
                              up(clip.bottom() + 1)};
    PaintBackground(canvas, area);
    viewer_->PaintDocument(canvas, area);
}

void TPaintPanel::PaintBackground(platform::Canvas& canvas, const platform::Rect& clip) {
    TSectionList& document = viewer_->Document();
    if (document.isPrinting) return;
    const platform::Bitmap* picture = document.showImages ? document.BackgroundImage() : nullptr;
    if (!picture) {
        viewer_->SetBackgroundFixed(false);
        canvas.fillRect(clip, color_);
        return;
    }
    const TBackgroundPosition& placement = document.backgroundPlacement;
    const bool fixed = placement.Horizontal.Fixed || placement.Vertical.Fixed;
    viewer_->SetBackgroundFixed(fixed);
    platform::Rect area;
    if (fixed) {
        area = {0, 0, viewer_->PageWidth(), viewer_->PageHeight()};
    } else {
        const int x = viewer_->HScrollBar()->Position(), y = document.scrollY;
        area = {-x, -y, -x + viewer_->HScrollBar()->Max(), -y + viewer_->DocHeight()};
    }
    canvas.fillRect(clip, color_);
    if (backgroundPicture_ != document.backgroundBitmap ||
        backgroundMask_ != document.backgroundMask) {
        backgroundPicture_ = document.backgroundBitmap;
        backgroundMask_ = document.backgroundMask;
        background_.SetPicture(backgroundPicture_, backgroundMask_);
    }
    background_.Paint(canvas, area, clip, placement, true);
}

// Mouse positions reach the viewer in page pixels.
QPoint TPaintPanel::PagePoint(const QMouseEvent* event) const {
    const QPoint at = event->position().toPoint();
    return {viewer_->ToPage(at.x()), viewer_->ToPage(at.y())};
}

void TPaintPanel::mousePressEvent(QMouseEvent* event) {
    const QPoint at = PagePoint(event);
    viewer_->PanelMouseDown(event->button(), event->modifiers(), at.x(), at.y());
}

void TPaintPanel::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = PagePoint(event);
    viewer_->PanelMouseMove(event->buttons(), event->modifiers(), at.x(), at.y());
}

void TPaintPanel::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = PagePoint(event);
    viewer_->PanelMouseUp(event->button(), event->modifiers(), at.x(), at.y());
}

void TPaintPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint at = PagePoint(event);
    // Qt reports a quick second press as a double click: only the left button's means
    // anything more than a press.
    if (event->button() != Qt::LeftButton)
        viewer_->PanelMouseDown(event->button(), event->modifiers(), at.x(), at.y());
    else
        viewer_->PanelDoubleClick(event->modifiers(), at.x(), at.y());
}

void TPaintPanel::dragEnterEvent(QDragEnterEvent* event) {
    bool accept = false;
    if (viewer_->OnDragOver)
        viewer_->OnDragOver(viewer_, event->source(), event->position().toPoint().x(),
                            event->position().toPoint().y(), accept);
    if (accept) event->acceptProposedAction();
}

void TPaintPanel::dragMoveEvent(QDragMoveEvent* event) {
    bool accept = false;
    if (viewer_->OnDragOver)
        viewer_->OnDragOver(viewer_, event->source(), event->position().toPoint().x(),
                            event->position().toPoint().y(), accept);
    if (accept)
        event->acceptProposedAction();
    else
        event->ignore();
}

void TPaintPanel::dropEvent(QDropEvent* event) {
    if (!viewer_->OnDragDrop) return;
    viewer_->OnDragDrop(viewer_, event->source(), event->position().toPoint().x(),
                        event->position().toPoint().y());
    event->acceptProposedAction();
}
