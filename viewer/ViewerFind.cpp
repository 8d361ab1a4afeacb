// Finding text in the page: every match of a key, ignoring case and accents, highlighted
// at once; one of them current, selected and scrolled into view.

#include <QPainter>

#include <algorithm>
#include <array>
#include <memory>

#include "layout/Section.h"
#include "platform/Screen.h"
#include "platform/qt/QtCanvas.h"
#include "viewer/HtmlViewer.h"
#include "viewer/PaintPanel.h"
#include "viewer/ScrollBar32.h"

namespace {

// Every UTF-16 unit folded the way a search compares them: small letters, accents dropped
// (the first letter of the canonical decomposition). One unit for one unit, so positions
// in the folded text are positions in the page.
const std::array<char16_t, 65536>& FoldTable() {
    static const std::unique_ptr<std::array<char16_t, 65536>> table = [] {
        auto folded = std::make_unique<std::array<char16_t, 65536>>();
        for (int c = 0; c < 65536; ++c) {
            QChar ch(static_cast<char16_t>(c));
            if (ch.isSurrogate()) {
                (*folded)[c] = static_cast<char16_t>(c);
                continue;
            }
            if (ch.decompositionTag() == QChar::Canonical) {
                const QString parts = ch.decomposition();
                if (!parts.isEmpty() && !parts.at(0).isSurrogate()) ch = parts.at(0);
            }
            (*folded)[c] = ch.toLower().unicode();
        }
        return folded;
    }();
    return *table;
}

std::u16string Folded(std::u16string_view text) {
    const auto& table = FoldTable();
    std::u16string out(text.size(), u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) out[i] = table[text[i]];
    return out;
}

// The colour every match but the current one is marked with: a yellow that keeps the
// text under it readable and looks nothing like the selection.
const QColor kMatchColor(255, 214, 0);

// The text section holding a cursor position: the last item of the page whose first
// position is not after it. Pages list their items in position order.
TSection* SectionAt(TSectionList& document, int position) {
    const auto& items = document.ItemsByPosition();
    auto it = std::upper_bound(
        items.begin(), items.end(), position,
        [](int value, TSectionBase* item) { return value < item->firstCursorPos; });
    if (it == items.begin()) return nullptr;
    TSection* section = (*--it)->AsSection();
    return section && position < section->firstCursorPos + section->cursorCount ? section : nullptr;
}

// Where a cursor position is drawn; asked of its own section, not of the whole page.
bool PointOf(TSectionList& document, int position, int& x, int& y) {
    TSection* section = SectionAt(document, position);
    return section && section->PointOfCursor(&platform::Screen().measuringCanvas(), position, x, y);
}

}  // namespace

int THTMLViewer::FindAll(const std::u16string& text) {
    findMatches_.clear();
    findCurrent_ = -1;
    findLength_ = static_cast<int>(text.size());
    if (!text.empty()) {
        const std::u16string key = Folded(text);
        std::u16string folded;
        for (TSectionBase* item : document_->ItemsByPosition()) {
            TSection* section = item->AsSection();
            if (!section || section->textBuffer.size() < key.size()) continue;
            folded = Folded(section->textBuffer.str());
            for (auto at = folded.find(key); at != std::u16string::npos;
                 at = folded.find(key, at + key.size()))
                findMatches_.push_back(section->firstCursorPos + static_cast<int>(at));
        }
        std::sort(findMatches_.begin(), findMatches_.end());
    }
    InvalidatePaintSurface();
    return static_cast<int>(findMatches_.size());
}

int THTMLViewer::FindFirstInView() const {
    if (findMatches_.empty()) return -1;
    int itemY = 0, index = 0;
    TSectionBase* top = document_->ItemAtY(VerticalOffset(), itemY, index);
    const int from = top ? top->firstCursorPos : 0;
    // The first match at or after the top of the view; past the last, the first one.
    for (std::size_t i = 0; i < findMatches_.size(); ++i) {
        const int position = findMatches_[i];
        if (position < from) continue;
        int x = 0, y = 0;
        if (!PointOf(*document_, position, x, y) || y >= VerticalOffset())
            return static_cast<int>(i);
    }
    return 0;
}

bool THTMLViewer::FindGo(int index) {
    if (index < 0 || index >= static_cast<int>(findMatches_.size())) return false;
    const int previous = findCurrent_;
    findCurrent_ = index;
    const int start = findMatches_[static_cast<std::size_t>(index)];
    if (!noSelect_) {
        document_->selStart = start;
        document_->selEnd = start + findLength_;
    }
    caretIndex_ = start;
    int x = 0, y = 0;
    bool moved = false;
    if (PointOf(*document_, start, x, y)) {
        const int offset = VerticalOffset(), height = PageHeight();
        if (y < offset || y + 20 > offset + height) {
            ScrollToY(y - height / 3);
            moved = true;
        }
        if (x < 0 || x > PageWidth() - 20) {
            hScrollBar_->SetPosition(std::max(0, hScrollBar_->Position() + x - PageWidth() / 3));
            moved = true;
        }
    }
    if (moved || previous < 0) {
        InvalidatePaintSurface();
    } else {
        // Only the old current match and the new one look different.
        InvalidateMatch(previous);
        InvalidateMatch(index);
    }
    return true;
}

bool THTMLViewer::FindNext(bool backward) {
    const int count = static_cast<int>(findMatches_.size());
    if (count == 0) return false;
    int next;
    if (findCurrent_ < 0)
        next = FindFirstInView();
    else
        next = backward ? (findCurrent_ + count - 1) % count : (findCurrent_ + 1) % count;
    return FindGo(next);
}

void THTMLViewer::FindClear() {
    if (findMatches_.empty() && findCurrent_ < 0) return;
    findMatches_.clear();
    findCurrent_ = -1;
    InvalidatePaintSurface();
}

std::vector<QRect> THTMLViewer::MatchBoxes(int position) const {
    // One box per line the match is on, in page pixels of the view.
    std::vector<QRect> boxes;
    platform::Canvas& measure = platform::Screen().measuringCanvas();
    int runStart = position, x0 = 0, y0 = 0;
    TSection* section = SectionAt(*document_, runStart);
    if (!section || !section->PointOfCursor(&measure, runStart, x0, y0)) return boxes;
    for (int k = 1; k <= findLength_; ++k) {
        int x = 0, y = 0;
        const bool placed = section->PointOfCursor(&measure, position + k, x, y);
        if (placed && y == y0 && k < findLength_) continue;
        int right = x;
        if (!placed || y != y0) {
            // The match ends its line: its last letter is as wide as the others.
            int xLast = 0, yLast = 0;
            section->PointOfCursor(&measure, position + k - 1, xLast, yLast);
            const int letters = position + k - 1 - runStart;
            right = xLast + (letters > 0 ? (xLast - x0) / letters : 8);
        }
        int xr = 0, yr = 0, height = 0;
        bool inText = false;
        section->CursorAtPoint(measure, x0 + 1, y0 + 1, xr, yr, height, inText);
        if (height <= 0) height = 16;
        boxes.emplace_back(x0, yr - document_->scrollY, std::max(1, right - x0), height);
        if (!placed || k == findLength_) break;
        runStart = position + k;
        x0 = x;
        y0 = y;
    }
    return boxes;
}

void THTMLViewer::InvalidateMatch(int index) {
    if (index < 0 || index >= static_cast<int>(findMatches_.size())) return;
    for (const QRect& box : MatchBoxes(findMatches_[static_cast<std::size_t>(index)]))
        paintPanel_->update(QRect(ToScreen(box.left()) - 1, ToScreen(box.top()) - 1,
                                  ToScreen(box.width()) + 3, ToScreen(box.height()) + 3));
}

void THTMLViewer::PaintFindMatches(platform::Canvas& canvas, const platform::Rect& clip) {
    if (findMatches_.empty() || findLength_ <= 0) return;
    auto* qt = dynamic_cast<platform::QtCanvas*>(&canvas);
    if (!qt || !qt->painter()) return;
    // Matches that can be on screen: those in the items from the top of the view to its
    // bottom.
    const int top = document_->scrollY + clip.top, bottom = document_->scrollY + clip.bottom;
    int itemY = 0, firstIndex = 0, lastIndex = 0;
    TSectionBase* first = document_->ItemAtY(top, itemY, firstIndex);
    TSectionBase* last = document_->ItemAtY(bottom, itemY, lastIndex);
    const int from = first ? first->firstCursorPos : 0;
    const int to = last ? last->firstCursorPos + last->cursorCount : INT32_MAX;
    QPainter& painter = *qt->painter();
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Multiply);
    const auto begin =
        std::lower_bound(findMatches_.begin(), findMatches_.end(), from - findLength_);
    for (auto it = begin; it != findMatches_.end() && *it < to; ++it) {
        if (it - findMatches_.begin() == findCurrent_) continue;  // drawn as the selection
        for (const QRect& box : MatchBoxes(*it)) painter.fillRect(box, kMatchColor);
    }
    painter.restore();
}
