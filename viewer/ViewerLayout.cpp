// Laying the page out against the window: the layout width, the scroll bars, scrolling,
// keeping the view across a re-layout, resizing and the border.

#include <QAbstractSlider>
#include <QFrame>
#include <QResizeEvent>

#include <algorithm>

#include "platform/ScopedCount.h"
#include "platform/Screen.h"
#include "viewer/Cursors.h"
#include "viewer/HtmlViewer.h"
#include "viewer/PaintPanel.h"
#include "viewer/ScrollBar32.h"

namespace {

constexpr int kMaxDocWidth = 6000;

}  // namespace

void THTMLViewer::LayoutAt(int width) {
    docWidth_ = 0;
    const int border = borderStyle_ == THTMLBorderStyle::htNone ? 0 : 2;
    int scrollWidth = 0, cursor = 0;
    docHeight_ =
        document_->LayoutCell(platform::Screen().measuringCanvas(), 0, std::max(0, ToPage(width)),
                              ToPage(height() - border), scrollWidth, cursor);
    docWidth_ = scrollWidth;
}

// Whether the page just laid out needs the vertical bar; with `assumeBar` the width test
// is the one for a page laid out beside the bar.
bool THTMLViewer::NeedsVerticalBar(bool assumeBar) const {
    const int border = borderStyle_ == THTMLBorderStyle::htNone ? 0 : 2;
    const int docHeight = ToScreen(docHeight_), docWidth = ToScreen(docWidth_);
    if (docHeight >= height() - border) return true;
    const int room = assumeBar ? width() - border : width() - scrollBarWidth_ - border;
    return scrollBars_ == TScrollStyle::ssBoth &&
           docHeight >= height() - border - scrollBarWidth_ && room < docWidth;
}

void THTMLViewer::LayoutDocument() {
    platform::ScopedFlag drawing(noDraw_, true);
    const int border = borderStyle_ == THTMLBorderStyle::htNone ? 0 : 2;
    const int fullWidth = width() - border;
    if (scrollBars_ == TScrollStyle::ssNone || scrollBars_ == TScrollStyle::ssHorizontal) {
        LayoutAt(fullWidth);
    } else if ((options_ & htShowVScroll) || sourceText_.size() > 9999) {
        // Long pages are laid out once, beside the bar they will almost surely need.
        LayoutAt(fullWidth - scrollBarWidth_);
    } else {
        LayoutAt(fullWidth);
        if (NeedsVerticalBar(false)) {
            LayoutAt(fullWidth - scrollBarWidth_);
            if (!NeedsVerticalBar(true)) LayoutAt(fullWidth);
        }
    }
    UpdateScrollBars();
    if (cursor().shape() == Qt::IBeamCursor) setCursor(TextCursor());
}

void THTMLViewer::UpdateScrollBars() {
    docWidth_ = std::min(docWidth_, kMaxDocWidth);
    const bool framed = borderStyle_ != THTMLBorderStyle::htNone;
    borderPanel_->setGeometry(rect());
    if (framed) {
        paintPanel_->move(1, 1);
        borderPanel_->hide();
        borderPanel_->show();
    } else {
        paintPanel_->move(0, 0);
        borderPanel_->hide();
    }
    const int border = framed ? 2 : 0;
    const int w = width(), h = height();
    // The page's size on the screen, for comparing with the window's.
    const int docHeight = ToScreen(docHeight_), docWidth = ToScreen(docWidth_);
    const bool keepBar = options_ & htShowVScroll;
    const bool vertical =
        scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth;

    bool horizontalShown = false, verticalShown = false, verticalNeeded = false;
    if ((!keepBar && docHeight < h - border && w - border >= docWidth) ||
        scrollBars_ == TScrollStyle::ssNone) {
        // Everything fits.
    } else if (scrollBars_ == TScrollStyle::ssHorizontal) {
        horizontalShown = w - border < docWidth;
    } else {
        verticalNeeded = docHeight >= h - border || (scrollBars_ == TScrollStyle::ssBoth &&
                                                     docHeight >= h - border - scrollBarWidth_ &&
                                                     w - scrollBarWidth_ - border < docWidth);
        horizontalShown = scrollBars_ == TScrollStyle::ssBoth &&
                          (w - border < docWidth || ((verticalNeeded || keepBar) &&
                                                     w - scrollBarWidth_ - border < docWidth));
        verticalShown = verticalNeeded || keepBar;
    }

    const int pageWidth = verticalShown || (keepBar && vertical) ? w - scrollBarWidth_ : w;
    const int surfaceHeight = horizontalShown ? h - border - scrollBarWidth_ : h - border;
    paintPanel_->resize(std::max(0, pageWidth - border), std::max(0, surfaceHeight));

    hScrollBar_->setVisible(horizontalShown);
    hScrollBar_->SetLargeChange(std::max(1, ToPage(pageWidth) - 20));  // in page pixels
    hScrollBar_->setGeometry(border / 2, h - border / 2 - scrollBarWidth_,
                             std::max(0, pageWidth - (framed ? 1 : 0)), scrollBarWidth_);
    hScrollBar_->SetParams(hScrollBar_->Position(), ToPage(pageWidth),
                           std::max({0, docWidth_, ToPage(pageWidth - border)}));

    vScrollBar_->setGeometry(w - border / 2 - scrollBarWidth_, border / 2, scrollBarWidth_,
                             std::max(0, paintPanel_->height()));
    vScrollBar_->SetLargeChange(std::max(1, PageHeight() - 16));
    if (keepBar) {
        vScrollBar_->setVisible(vertical);
        vScrollBar_->setEnabled(verticalNeeded);
    } else {
        vScrollBar_->setVisible(verticalShown);
        vScrollBar_->setEnabled(true);
    }
    vScrollBar_->SetParams(vScrollBar_->Position(), PageHeight() + 1, docHeight_, 0);
}

void THTMLViewer::UpdateBorder() {
    const bool single = (hasFocus() && borderStyle_ == THTMLBorderStyle::htFocused) ||
                        borderStyle_ == THTMLBorderStyle::htSingle;
    auto* frame = static_cast<QFrame*>(borderPanel_);
    const int style = single ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame;
    if (frame->frameStyle() != style) frame->setFrameStyle(style);
}

void THTMLViewer::Repaint() {
    // Every control goes until the paint puts it back; the one being typed into stays,
    // or the keyboard focus would jump to another.
    for (TFormControlObj* control : document_->allControls)
        if (!control->HasFocus()) {
            control->Hide();
            control->painted = false;
        }
    borderPanel_->hide();
    if (borderStyle_ != THTMLBorderStyle::htNone) borderPanel_->show();
    update();
    paintPanel_->update();
}

// ---- Scrolling ----

void THTMLViewer::ScrollToY(int y) {
    y = std::max(0, std::min(y, docHeight_ - PageHeight()));
    vScrollBar_->SetPosition(y);
    document_->SetScrollY(y);
    InvalidatePaintSurface();
}

int THTMLViewer::VerticalOffset() const {
    return vScrollBar_->Position();
}

void THTMLViewer::SetVerticalOffset(int y) {
    y = std::max(0, std::min(y, docHeight_ - PageHeight()));
    if (y != VerticalOffset()) ScrollToY(y);
}

std::int64_t THTMLViewer::LayoutPosition() const {
    const int p = vScrollBar_->Position();
    int itemY = 0, index = 0;
    if (document_->ItemAtY(p, itemY, index))
        return (static_cast<std::int64_t>(index) + 1) << 32 | static_cast<std::uint32_t>(p - itemY);
    return p;
}

void THTMLViewer::SetLayoutPosition(std::int64_t position) {
    const auto item = static_cast<std::uint64_t>(position) >> 32;
    int y = static_cast<int>(static_cast<std::uint32_t>(position));
    if (item != 0) {
        if (item > document_->ItemsByPosition().size()) return;
        y += document_->ItemsByPosition()[item - 1]->GetTopY();
    }
    ScrollToY(y);
}

void THTMLViewer::Relayout() {
    if (busy_) return;
    WhileBusy(/*waitCursor=*/false, /*reportEnding=*/true, [&] {
        const std::int64_t position = LayoutPosition();
        document_->progressBase = 0;
        Progress(TProgressStage::psStarting, 0);
        LayoutDocument();
        SetLayoutPosition(position);
    });
}

// Moves the page to `y` as a scroll bar or a key does: the window contents move and only
// the strip uncovered is painted, unless the background stays put.
void THTMLViewer::ScrollSurfaceTo(int y) {
    const int old = document_->scrollY;
    vScrollBar_->SetPosition(y);
    document_->SetScrollY(y);
    // The contents move by whole screen pixels only when the page is not zoomed.
    if (backgroundFixed_ || zoom_ != 100) {
        paintPanel_->update();
    } else if (y != old) {
        // Embedded windows move with the contents; the strip painted next must not take
        // those outside it for scrolled away.
        document_->scrollChanged = false;
        paintPanel_->scroll(0, old - y);
        // Those moved wholly out of view go, as they would after a full paint.
        const QRect view = paintPanel_->rect();
        for (TFormControlObj* control : document_->allControls) {
            const platform::FormControlWindow* window = control->PlatformControl();
            if (!window || !window->isVisible()) continue;
            const platform::Rect r = window->bounds();
            if (!view.intersects(QRect(r.left, r.top, r.width(), r.height()))) control->Hide();
        }
    }
}

void THTMLViewer::VScrollAction(int action) {
    const int old = vScrollBar_->Position();
    int y = old;
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            y = old + vScrollBar_->SmallChange();
            break;
        case QAbstractSlider::SliderSingleStepSub:
            y = old - vScrollBar_->SmallChange();
            break;
        case QAbstractSlider::SliderPageStepAdd:
            y = old + vScrollBar_->LargeChange();
            break;
        case QAbstractSlider::SliderPageStepSub:
            y = old - vScrollBar_->LargeChange();
            break;
        case QAbstractSlider::SliderMove:
            y = vScrollBar_->sliderPosition();
            break;
        case QAbstractSlider::SliderToMinimum:
            y = 0;
            break;
        case QAbstractSlider::SliderToMaximum:
            y = docHeight_ - PageHeight();
            break;
        default:
            break;
    }
    y = std::max(0, std::min(y, docHeight_ - PageHeight()));
    vScrollBar_->setSliderPosition(y);
    ScrollSurfaceTo(y);
}

void THTMLViewer::HScrollAction(int action) {
    const int old = hScrollBar_->Position();
    int x = old;
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            x = old + hScrollBar_->SmallChange();
            break;
        case QAbstractSlider::SliderSingleStepSub:
            x = old - hScrollBar_->SmallChange();
            break;
        case QAbstractSlider::SliderPageStepAdd:
            x = old + hScrollBar_->LargeChange();
            break;
        case QAbstractSlider::SliderPageStepSub:
            x = old - hScrollBar_->LargeChange();
            break;
        case QAbstractSlider::SliderToMinimum:
            x = 0;
            break;
        case QAbstractSlider::SliderToMaximum:
            x = hScrollBar_->Max();
            break;
        default:
            x = hScrollBar_->sliderPosition();
            break;
    }
    x = std::max(0, std::min(x, hScrollBar_->Max() - PageWidth()));
    hScrollBar_->setSliderPosition(x);
    paintPanel_->update();
}

void THTMLViewer::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (busy_)
        UpdateScrollBars();
    else
        Relayout();
    if (docHeight_ < PageHeight())
        ScrollToY(0);
    else
        ScrollToY(VerticalOffset());
    hScrollBar_->SetPosition(std::min(hScrollBar_->Position(), hScrollBar_->Max() - PageWidth()));
}

void THTMLViewer::PaintDocument(platform::Canvas& canvas, const platform::Rect& clip) {
    if (noDraw_) return;
    const platform::Rect view{0, 1, PageWidth(), PageHeight()};
    document_->Draw(canvas, view.intersected(clip), kMaxDocWidth, -hScrollBar_->Position(), 0, 0,
                    0);
    PaintFindMatches(canvas, clip);
}

// ---- Zoom ----

int THTMLViewer::PageWidth() const {
    return ToPage(paintPanel_->width());
}
int THTMLViewer::PageHeight() const {
    return ToPage(paintPanel_->height());
}

int THTMLViewer::ZoomStep(int percent, int direction) {
    static constexpr int kSteps[] = {50,  60,  70,  80,  90,  100, 110, 120, 130,
                                     140, 150, 175, 200, 225, 250, 275, 300};
    if (direction > 0) {
        for (int step : kSteps)
            if (step > percent) return step;
        return 300;
    }
    for (auto it = std::rbegin(kSteps); it != std::rend(kSteps); ++it)
        if (*it < percent) return *it;
    return 50;
}

void THTMLViewer::SetZoom(int percent) {
    percent = std::clamp(percent, 50, 300);
    if (percent == zoom_) return;
    zoom_ = percent;
    if (busy_) return;
    Relayout();
    InvalidatePaintSurface();
}
