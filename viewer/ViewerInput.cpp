// The viewer's mouse, keyboard and wheel: links under the mouse, clicks, drag selection
// with its automatic scroll, the middle-button scroll mode, words, the selection and the
// clipboard.

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "layout/FontObj.h"
#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "platform/Screen.h"
#include "platform/Text.h"
#include "platform/qt/QtTabStopWindow.h"
#include "viewer/Cursors.h"
#include "viewer/HtmlViewer.h"
#include "viewer/PaintPanel.h"
#include "viewer/ScrollBar32.h"

namespace {

// Letters and digits of ASCII, and every character from U+00C0 on.
bool IsWordCharacter(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
           c >= 192;
}

bool SameCursor(const QCursor& a, const QCursor& b) {
    if (a.shape() != b.shape()) return false;
    return a.shape() != Qt::BitmapCursor || a.pixmap().cacheKey() == b.pixmap().cacheKey();
}

constexpr int kAutoScrollInterval = 100;  // ms between steps
constexpr int kMiddleDeadZone = 20;       // pixels

}  // namespace

// ---- The mouse ----

void THTMLViewer::PanelMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                                 int y) {
    const std::uint64_t generation = pageGeneration_;
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
    pointer_ = {x, y};
    setFocus(Qt::MouseFocusReason);
    linkJustClicked_ = false;
    if (middleMode_) {
        EndMiddleMode();
        return;
    }
    // A press whose handler showed another page presses nothing on that page.
    if (pageGeneration_ != generation) return;
    if (button == Qt::MiddleButton) {
        middleMode_ = true;
        middleStartY_ = y;
        paintPanel_->setCursor(UpDownCursor());
        return;
    }
    if (button != Qt::LeftButton) return;
    leftButtonDown_ = dragActive_ = true;
    int xr = 0, yr = 0, caretHeight = 0;
    bool inText = false;
    buttonDownIndex_ =
        document_->CursorAtPoint(platform::Screen().measuringCanvas(), x, y + document_->scrollY,
                                 xr, yr, caretHeight, inText);
    if (buttonDownIndex_ >= 0 && !noSelect_) {
        if (document_->selStart < document_->selEnd || (shift & Qt::ShiftModifier))
            InvalidatePaintSurface();
        if (shift & Qt::ShiftModifier) {
            document_->selStart = std::min(caretIndex_, buttonDownIndex_);
            document_->selEnd = std::max(caretIndex_, buttonDownIndex_);
        } else {
            document_->selStart = document_->selEnd = buttonDownIndex_;
            caretIndex_ = buttonDownIndex_;
        }
    }
    document_->SetPressed(true);
}

void THTMLViewer::PanelMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x,
                                 int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
    pointer_ = {x, y};
    if (middleMode_) {
        if (std::abs(y - middleStartY_) > kMiddleDeadZone && !autoScrolling_) StartAutoScroll();
        return;
    }
    platform::Canvas& canvas = platform::Screen().measuringCanvas();
    const int docY = y + document_->scrollY;
    QCursor shape(Qt::ArrowCursor);
    bool hand = false;
    std::string title, url, target;
    TFormControlObj* control = nullptr;
    const TUrlTarget* link = nullptr;
    const unsigned found = document_->HitTestLink(canvas, x, docY, title, control, link);
    if ((found & htUrl) && link) {
        hand = true;
        url = link->Url;
        target = link->Target;
    }
    if ((found & htFormControl) && control) hand = true;

    TFloatingObj* image = nullptr;
    int ix = 0, iy = 0;
    if ((OnImageClick || OnImageOver) && document_->HitTestImage(x, docY, image, ix, iy)) {
        if (OnImageOver) OnImageOver(this, image, shift, ix, iy);
    } else if (!hand) {
        int xr = 0, yr = 0, caretHeight = 0;
        bool inText = false;
        if (document_->CursorAtPoint(canvas, x, docY, xr, yr, caretHeight, inText) >= 0 && inText)
            shape = cursor();
    }
    if (hand) shape = HandCursor();
    if (!SameCursor(paintPanel_->cursor(), shape)) paintPanel_->setCursor(shape);
    if (hand || document_->hoverImage)
        leaveTimer_->start();
    else
        leaveTimer_->stop();

    // The TITLE of what is under the mouse shows as a tool tip.
    if (!(found & htTitle)) title.clear();
    if (title != shownTitle_) {
        shownTitle_ = title;
        paintPanel_->setToolTip(QString::fromUtf8(title.c_str()));
        if (title.empty()) QToolTip::hideText();
    }

    if (url != linkUnderMouse_ || target != targetUnderMouse_) {
        linkUnderMouse_ = url;
        targetUnderMouse_ = target;
        if (OnHotSpotCovered) OnHotSpotCovered(this, url);
    }

    if (buttons & Qt::LeftButton) {
        if ((y <= 0 || y >= ToPage(height())) && !autoScrolling_) StartAutoScroll();
        if (!noSelect_) ExtendSelectionTo(x, y);
    }
}

void THTMLViewer::ExtendSelectionTo(int x, int y) {
    if (!dragActive_ || buttonDownIndex_ < 0) return;
    y = std::clamp(y, 0, ToPage(height()));
    int xr = 0, yr = 0, caretHeight = 0;
    bool inText = false;
    const int at = document_->CursorAtPoint(platform::Screen().measuringCanvas(), x,
                                            y + document_->scrollY, xr, yr, caretHeight, inText);
    if (at < 0 || noSelect_) return;
    document_->selStart = std::min(buttonDownIndex_, at);
    document_->selEnd = std::max(buttonDownIndex_, at);
    InvalidatePaintSurface();
    // The caret stays where the button went down: a selection dragged from right to left
    // has its caret at its end, so its SelLength reads negative, and Shift+click extends
    // from where the drag began.
}

void THTMLViewer::PanelMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y) {
    pointer_ = {x, y};
    if (middleMode_) {
        // A middle click that did not move keeps the mode on until the next press.
        if (button != Qt::MiddleButton || y != middleStartY_) EndMiddleMode();
        return;
    }
    // A handler that shows another page ends the click: nothing of the page it was made
    // on is there any more.
    const std::uint64_t generation = pageGeneration_;
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
    if (pageGeneration_ != generation) return;
    platform::Canvas& canvas = platform::Screen().measuringCanvas();
    const int docY = y + document_->scrollY;

    TFloatingObj* image = nullptr;
    int ix = 0, iy = 0;
    if (OnImageClick || OnRightClick) document_->HitTestImage(x, docY, image, ix, iy);
    if (OnImageClick && image) {
        OnImageClick(this, image, button, shift, ix, iy);
        if (pageGeneration_ != generation) return;
    }

    if (button == Qt::RightButton && OnRightClick) {
        TRightClickParameters parameters;
        parameters.ImageObj = image;
        parameters.ImageXPos = ix;
        parameters.ImageYPos = iy;
        std::string title;
        TFormControlObj* control = nullptr;
        const TUrlTarget* link = nullptr;
        if ((document_->HitTestLink(canvas, x, docY, title, control, link) & htUrl) && link) {
            parameters.LinkURL = link->Url;
            parameters.LinkTarget = link->Target;
        }
        int begin = 0, end = 0;
        WordAt(x, y, begin, end, parameters.WordAtMouse);
        leaveTimer_->stop();
        OnRightClick(this, parameters);
        leaveTimer_->start();
    }

    if (button != Qt::LeftButton) return;
    autoScrolling_ = false;
    autoScrollTimer_->stop();
    if (!(shift & Qt::ShiftModifier)) ExtendSelectionTo(x, y);
    dragActive_ = false;
    document_->SetPressed(false);
    const bool wasDown = leftButtonDown_;
    leftButtonDown_ = false;
    if (!wasDown || (shift & Qt::ShiftModifier) || document_->selStart < document_->selEnd) return;

    // A click, not a drag.
    std::string title;
    TFormControlObj* control = nullptr;
    const TUrlTarget* link = nullptr;
    const unsigned found = document_->HitTestLink(canvas, x, docY, title, control, link);
    if ((found & htFormControl) && control) {
        // Only image inputs are hit on the surface (the others are windows of their own).
        control->ImageClick(x, docY);
        return;
    }
    if (!(found & htUrl) || !link) return;
    linkUnderMouse_ = link->Url;
    targetUnderMouse_ = link->Target;
    const std::int32_t id = link->LinkId;
    for (TFontObj* run : document_->linkRuns)
        if (run->LinkTarget().LinkId == id && run->TabStop()) {
            run->TabStop()->setFocus();
            break;
        }
    linkJustClicked_ = true;
    try {
        FollowLink();
    } catch (const std::exception& error) {
        ReportError(error);
    }
}

void THTMLViewer::PanelDoubleClick(Qt::KeyboardModifiers shift, int x, int y) {
    document_->SetPressed(true);
    if (busy_ || linkJustClicked_) {
        if (OnMouseDouble) OnMouseDouble(this, Qt::LeftButton, shift, x, y);
        return;
    }
    if (!noSelect_) {
        int begin = 0, end = 0;
        std::u16string word;
        if (WordAt(x, y, begin, end, word)) {
            document_->selStart = begin;
            document_->selEnd = end;
            caretIndex_ = begin;
            InvalidatePaintSurface();
        }
    }
    if (OnMouseDouble) OnMouseDouble(this, Qt::LeftButton, shift, x, y);
}

bool THTMLViewer::WordAt(int x, int y, int& begin, int& end, std::u16string& word) {
    word.clear();
    int xr = 0, yr = 0, caretHeight = 0;
    bool inText = false;
    const int at = document_->CursorAtPoint(platform::Screen().measuringCanvas(), x,
                                            y + document_->scrollY, xr, yr, caretHeight, inText);
    if (at >= 0) caretIndex_ = at;
    if (at < 0 || !inText) return false;
    char16_t c = 0;
    TSectionBase* holder = nullptr;
    if (!document_->CharAtCursor(caretIndex_, c, holder) || !IsWordCharacter(c)) return false;
    const auto wordCharAt = [&](int position, char16_t& ch) {
        TSectionBase* other = nullptr;
        return document_->CharAtCursor(position, ch, other) && other == holder &&
               IsWordCharacter(ch);
    };
    std::u16string right(1, c), left;
    end = caretIndex_ + 1;
    for (char16_t ch = 0; wordCharAt(end, ch); ++end) right += ch;
    begin = caretIndex_;
    for (char16_t ch = 0; begin > 0 && wordCharAt(begin - 1, ch); --begin)
        left.insert(left.begin(), ch);
    word = left + right;
    return true;
}

void THTMLViewer::StartAutoScroll() {
    autoScrolling_ = true;
    // The loop runs from a timer, so other events keep arriving between its steps.
    autoScrollTimer_->start();
}

void THTMLViewer::AutoScrollStep() {
    const int y = pointer_.y();
    const int bottom = ToPage(height());
    const bool dragging = autoScrolling_ && leftButtonDown_ && (y <= 0 || y > bottom);
    const bool middle = middleMode_ && std::abs(y - middleStartY_) > kMiddleDeadZone;
    if (!dragging && !middle) {
        autoScrollTimer_->stop();
        autoScrolling_ = false;
        if (middleMode_) paintPanel_->setCursor(UpDownCursor());
        return;
    }
    const qint64 now = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now().time_since_epoch())
                           .count();
    if (now - lastAutoScrollStep_ < kAutoScrollInterval) return;
    lastAutoScrollStep_ = now;
    int step = 0;
    if (middle && !dragging) {
        const int d = y - middleStartY_;
        step = d < -60 ? -32 : d < -20 ? -8 : d > 60 ? 32 : d <= 20 ? 0 : 8;
        paintPanel_->setCursor(step < 0 ? UpOnlyCursor() : DownOnlyCursor());
    } else {
        step = y < -15 ? -128 : y <= 0 ? -16 : y > bottom + 15 ? 128 : 16;
    }
    const int offset = std::max(0, std::min(document_->scrollY + step, docHeight_ - PageHeight()));
    document_->SetScrollY(offset);
    vScrollBar_->SetPosition(offset);
    ExtendSelectionTo(pointer_.x(), y);
    paintPanel_->repaint();
}

void THTMLViewer::EndMiddleMode() {
    middleMode_ = false;
    autoScrolling_ = false;
    autoScrollTimer_->stop();
    paintPanel_->unsetCursor();
}

void THTMLViewer::LeaveTimerTick() {
    QWidget* under = QApplication::widgetAt(QCursor::pos());
    if (under == paintPanel_) return;
    document_->ClearHover();
    leaveTimer_->stop();
    if (!linkUnderMouse_.empty()) {
        linkUnderMouse_.clear();
        targetUnderMouse_.clear();
        if (OnHotSpotCovered) OnHotSpotCovered(this, "");
    }
}

// ---- Links ----

void THTMLViewer::FollowLink() {
    bool handled = false;
    if (OnHotSpotClick) OnHotSpotClick(this, linkUnderMouse_, handled);
    if (handled) return;
    const std::int64_t position = LayoutPosition();
    const std::string link = linkUnderMouse_;
    if (!link.empty() && link[0] == '#') {
        if (ScrollToAnchor(link)) {
            SaveHistoryEntry(currentFile_, pageTitle_, currentFileKind_, nullptr, position);
            RememberVisited(currentFile_ + link);
        }
        return;
    }
    const auto hash = link.find('#');
    const std::string anchor = hash == std::string::npos ? std::string() : link.substr(hash);
    const std::string name = ExpandLinkPath(link.substr(0, hash));
    const auto dot = name.rfind('.');
    const auto slash = name.rfind('/');
    std::string extension;
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        extension = platform::AsciiLowerCase(name.substr(dot, 5));
    if (extension == ".htm" || extension == ".html") {
        if (name != currentFile_) {
            LoadFromFile(name + anchor);
            RememberVisited(name + anchor);
        } else if (ScrollToAnchor(anchor)) {
            SaveHistoryEntry(currentFile_, pageTitle_, 0, nullptr, position);
            RememberVisited(name + anchor);
        }
        return;
    }
    if (extension == ".bmp" || extension == ".gif" || extension == ".jpg" || extension == ".jpeg" ||
        extension == ".png")
        LoadImageFile(name);
}

void THTMLViewer::FollowLinkLater(const TUrlTarget& link) {
    // The link is taken now: the mouse may cover another one before the follow runs.
    QMetaObject::invokeMethod(
        this,
        [this, url = link.Url, target = link.Target] {
            linkUnderMouse_ = url;
            targetUnderMouse_ = target;
            try {
                FollowLink();
            } catch (const std::exception& error) {
                ReportError(error);
            }
        },
        Qt::QueuedConnection);
}

void THTMLViewer::ReportError(const std::exception& error) {
    platform::Dialogs().messageBox(u"Vultaria", platform::Utf8ToUtf16(error.what()),
                                   platform::MessageIcon::Error);
}

std::unique_ptr<platform::TabStopWindow> THTMLViewer::CreateTabStopWindow() {
    return std::make_unique<platform::QtTabStopWindow>(paintPanel_, this);
}

void THTMLViewer::ScrollFocusedIntoView(int y, bool formControl) {
    const int offset = VerticalOffset();
    const int client = PageHeight();
    if (formControl) {
        if (offset <= y && y <= offset + client - 20) return;
        ScrollToY(y - client / 2);
        return;
    }
    if (y < offset + 20 || y > offset + client - 30) ScrollToY(y - client / 2);
    InvalidatePaintSurface();
}

// ---- The selection ----

void THTMLViewer::SetSelStart(int start) {
    if (start >= 0) caretIndex_ = start;
    document_->selStart = document_->selEnd = start;
    InvalidatePaintSurface();
}

int THTMLViewer::SelLength() const {
    const int length = document_->selEnd - document_->selStart;
    return document_->selStart == caretIndex_ ? length : -length;
}

void THTMLViewer::SetSelLength(int length) {
    if (length < 0) {
        document_->selStart = caretIndex_ + length;
        document_->selEnd = caretIndex_;
    } else {
        document_->selStart = caretIndex_;
        document_->selEnd = caretIndex_ + length;
    }
    InvalidatePaintSurface();
}

std::u16string THTMLViewer::SelText() {
    const int count = document_->SelectionLength();
    if (count <= 0) return {};
    std::u16string text;
    document_->SelectionToBuffer(text, count + 1);
    return text;
}

void THTMLViewer::SelectAll() {
    if (document_->Count() == 0 || noSelect_) return;
    const TSectionBase& last = *document_->items.back();
    document_->selStart = 0;
    document_->selEnd = last.firstCursorPos + last.cursorCount;
    InvalidatePaintSurface();
}

void THTMLViewer::CopyToClipboard() {
    const int count = document_->SelectionLength();
    if (count <= 0) return;
    document_->CopySelection(count + 1);
}

// ---- The keyboard and the wheel ----

void THTMLViewer::ScrollByKey(int y, bool strip) {
    y = std::max(0, std::min(y, docHeight_ - PageHeight()));
    if (strip) {
        ScrollSurfaceTo(y);
        return;
    }
    vScrollBar_->SetPosition(y);
    document_->SetScrollY(y);
    InvalidatePaintSurface();
}

void THTMLViewer::keyPressEvent(QKeyEvent* event) {
    int key = event->key();
    if (OnKeyDown) OnKeyDown(this, key, event->modifiers());
    if (middleMode_) {
        EndMiddleMode();
        return;
    }
    const int offset = VerticalOffset();
    switch (key) {
        case Qt::Key_PageUp:
            ScrollByKey(offset - vScrollBar_->LargeChange(), false);
            break;
        case Qt::Key_PageDown:
            ScrollByKey(offset + vScrollBar_->LargeChange(), false);
            break;
        case Qt::Key_Home:
            ScrollByKey(0, false);
            break;
        case Qt::Key_End:
            ScrollByKey(docHeight_, false);
            break;
        case Qt::Key_Up:
            ScrollByKey(offset - vScrollBar_->SmallChange(), true);
            break;
        case Qt::Key_Down:
            ScrollByKey(offset + vScrollBar_->SmallChange(), true);
            break;
        case Qt::Key_Left:
        case Qt::Key_Right: {
            const int step =
                key == Qt::Key_Left ? -hScrollBar_->SmallChange() : hScrollBar_->SmallChange();
            const int x = std::max(
                0, std::min(hScrollBar_->Position() + step, hScrollBar_->Max() - PageWidth()));
            hScrollBar_->SetPosition(x);
            InvalidatePaintSurface();
            break;
        }
        default:
            if (OnKeyPress && !event->text().isEmpty()) {
                char16_t character = event->text().at(0).unicode();
                OnKeyPress(this, character);
            }
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void THTMLViewer::keyReleaseEvent(QKeyEvent* event) {
    int key = event->key();
    if (OnKeyUp) OnKeyUp(this, key, event->modifiers());
    QWidget::keyReleaseEvent(event);
}

void THTMLViewer::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    bool handled = false;
    if (OnMouseWheel) {
        const QPoint at = event->position().toPoint();
        OnMouseWheel(this, event->modifiers(), delta, at.x(), at.y(), handled);
    }
    event->accept();
    if (handled || delta == 0) return;
    // 120 is one notch; wheels that report finer steps move in proportion.
    const int lines = QApplication::wheelScrollLines();
    const int step = lines > 0 ? delta * lines * 16 / 120 : delta / 2;
    const int y = std::max(0, std::min(VerticalOffset() - step, docHeight_ - PageHeight()));
    if (y != VerticalOffset()) ScrollSurfaceTo(y);
}
