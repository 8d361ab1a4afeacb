#include "layout/Cell.h"

#include <algorithm>
#include <climits>

#include "layout/Block.h"
#include "layout/Document.h"
#include "layout/ListItem.h"
#include "layout/Section.h"

void TDrawRange::VisibleByBounds(int top, int bottom, std::size_t& first, std::size_t& last) const {
    const int* maxBottom = bounds_.get();
    const int* minTop = maxBottom + count_;
    first = static_cast<std::size_t>(std::upper_bound(maxBottom, minTop, top) - maxBottom);
    last = static_cast<std::size_t>(std::lower_bound(minTop, minTop + count_, bottom) - minTop);
    if (last < first) last = first;
}

namespace {

// A page's items lie far apart in memory, and a loop over a cell's items is mostly the
// first to read each one: asking for an item's first lines a few steps ahead lets them
// come while the loop works on the ones before.
void PrefetchItem(const std::vector<std::unique_ptr<TSectionBase>>& items, std::size_t i) {
    if (i >= items.size()) return;
    const char* item = reinterpret_cast<const char*>(items[i].get());
    __builtin_prefetch(item);
    __builtin_prefetch(item + 64);
    __builtin_prefetch(item + 128);
}

}  // namespace

TCellBasic::TCellBasic(TSectionList* doc, platform::Interned tag) : document(doc), ownerTag(tag) {}

TCellBasic::~TCellBasic() {
    for (std::size_t i = 0; i < items.size(); ++i) {
        PrefetchItem(items, i + 4);
        items[i].reset();
    }
}

void TCellBasic::CopyItemsFrom(const TCellBasic& source, TSectionList* doc) {
    for (const auto& item : source.items) items.push_back(item->CreatePrintCopy(doc));
    ownerTag = source.ownerTag;
}

void TCellBasic::Add(std::unique_ptr<TSectionBase> item) {
    if (!item) return;
    if (TSection* section = item->AsSection()) {
        if (!section->IsFinished()) section->FinishText();
        if (!section->IsPreformatted() && section->IsEmpty() && !section->isAnchorTarget &&
            section->clearSides == 0) {
            if (document)
                for (int i = 0; i < section->fontRuns.Count(); ++i)
                    document->ForgetLinkRun(&section->fontRuns[i]);
            return;
        }
    }
    item->ownerDocument = document;
    items.push_back(std::move(item));
    drawRange_.Reset();
}

int TCellBasic::LayoutItems(platform::Canvas& canvas, int X, int Y, int width, int availHeight,
                            int refX, int refY, IndentManager& indent, int& scrollWidth,
                            int& cursor) {
    topY = Y;
    firstCursorPos = cursor;
    scrollWidth = 0;
    itemsFlowBottomY = 0;
    itemsPaintTopY = 990000;
    itemsPaintBottomY = 0;
    int height = 0;
    for (std::size_t i = 0; i < items.size();) {
        PrefetchItem(items, i + 1);
        TSectionBase& item = *items[i];
        int itemWidth = 0;
        try {
            height = Saturated(height, item.Layout(canvas, X, Saturated(Y, height), refX, refY,
                                                   width, availHeight, indent, itemWidth, cursor));
        } catch (const EProcessError& error) {
            if (document) {
                document->ReportLayoutError(error.message());
                document->ForgetItemPositions();  // the list may hold the item, or items in it
            }
            items.erase(items.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        scrollWidth = std::max(scrollWidth, itemWidth);
        const auto* block = item.AsBlock();
        if (!block || block->positioning != kPositionAbsolute)
            itemsFlowBottomY = std::max(itemsFlowBottomY, item.flowBottomY);
        itemsPaintTopY = std::min(itemsPaintTopY, item.paintTopY);
        itemsPaintBottomY = std::max(itemsPaintBottomY, item.paintBottomY);
        ++i;
    }
    cursorCount = cursor - firstCursorPos;
    totalHeight = height;
    drawRange_.Reset();
    return height;
}

int TCellBasic::LayoutCell(platform::Canvas& canvas, int Y, int Width, int availHeight,
                           int& scrollWidth, int& cursor) {
    // Only cells with a manager of their own are laid out on their own.
    IndentManager indent;
    indent.SetEdges(0, Width);
    return LayoutItems(canvas, 0, Y, Width, availHeight, 0, 0, indent, scrollWidth, cursor);
}

void TCellBasic::MeasureWidths(platform::Canvas& canvas, int& min, int& max) {
    min = max = 0;
    for (auto& item : items) {
        int itemMin = 0, itemMax = 0;
        item->MeasureWidths(canvas, itemMin, itemMax);
        min = std::max(min, itemMin);
        max = std::max(max, itemMax);
    }
}

bool TCellBasic::MinWidthAtMost(platform::Canvas& canvas, int limit) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        PrefetchItem(items, i + 2);
        if (!items[i]->MinWidthAtMost(canvas, limit)) return false;
    }
    return true;
}

int TCellBasic::DrawItems(platform::Canvas& canvas, const platform::Rect& clip,
                          IndentManager& indent, int X, int refX, int refY) {
    int y = topY;
    if (items.empty()) return y;
    if (!drawRange_.Built()) drawRange_.Build(items);
    const int scroll = document ? document->scrollY : 0;
    std::size_t first, last;
    // Items within 50 pixels count (list markers reach that far). That holds for a
    // printed page too: an item that cannot reach the page neither shows on it nor moves
    // where it ends, which only items that start or end inside it do.
    drawRange_.Visible(items, clip.top + scroll - 50, clip.bottom + scroll + 50, first, last);
    for (std::size_t i = first; i < last; ++i) y = items[i]->Draw(canvas, clip, indent, X, refX, refY);
    return items.back()->layoutY + items.back()->flowHeight;
}

int TCellBasic::Draw(platform::Canvas& canvas, const platform::Rect& clip, int paintWidth, int X,
                     int Y, int refX, int refY) {
    IndentManager indent;
    indent.SetEdges(X, X + paintWidth);
    indent.paintWidth = paintWidth;
    return DrawItems(canvas, clip, indent, X, refX, refY);
}

unsigned TCellBasic::HitTestLink(platform::Canvas& canvas, int X, int Y, std::string& title,
                                 TFormControlObj*& control, const TUrlTarget*& linkTarget) {
    for (auto& item : items)
        if (item->paintTopY <= Y && Y < item->paintBottomY) {
            const unsigned result = item->HitTestLink(canvas, X, Y, title, control, linkTarget);
            if (result) return result;
        }
    return htNothing;
}

bool TCellBasic::HitTestImage(int X, int Y, TFloatingObj*& obj, int& IX, int& IY) {
    for (auto& item : items)
        if (item->paintTopY <= Y && Y < item->paintBottomY && item->HitTestImage(X, Y, obj, IX, IY))
            return true;
    return false;
}

int TCellBasic::CursorAtPoint(platform::Canvas& canvas, int X, int Y, int& XR, int& YR,
                              int& caretHeight, bool& inText) {
    for (auto& item : items)
        if (item->paintTopY <= Y && Y < item->paintBottomY) {
            const int pos = item->CursorAtPoint(canvas, X, Y, XR, YR, caretHeight, inText);
            if (pos >= 0) return pos;
        }
    return -1;
}

int TCellBasic::SearchForward(int from, std::u16string_view text, bool matchCase) {
    for (auto& item : items) {
        const int pos = item->SearchForward(from, text, matchCase);
        if (pos >= 0) return pos;
    }
    return -1;
}

int TCellBasic::SearchBackward(int from, std::u16string_view text, bool matchCase) {
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        const int pos = (*it)->SearchBackward(from, text, matchCase);
        if (pos >= 0) return pos;
    }
    return -1;
}

int TCellBasic::SourcePosOf(int cursorPos) {
    for (auto& item : items) {
        const int pos = item->SourcePosOf(cursorPos);
        if (pos >= 0) return pos;
    }
    return -1;
}

int TCellBasic::CursorPosOfSource(int sourcePos, bool prev) {
    if (prev) {
        for (auto it = items.rbegin(); it != items.rend(); ++it) {
            const int pos = (*it)->CursorPosOfSource(sourcePos, true);
            if (pos >= 0) return pos;
        }
    } else {
        for (auto& item : items) {
            const int pos = item->CursorPosOfSource(sourcePos, false);
            if (pos >= 0) return pos;
        }
    }
    return -1;
}

bool TCellBasic::PointOfCursor(platform::Canvas* canvas, int cursor, int& X, int& Y) {
    for (auto& item : items)
        if (item->PointOfCursor(canvas, cursor, X, Y)) return true;
    return false;
}

bool TCellBasic::CharAtCursor(int pos, char16_t& ch, TSectionBase*& obj) {
    for (auto& item : items)
        if (pos >= item->firstCursorPos && pos <= item->firstCursorPos + item->cursorCount &&
            item->CharAtCursor(pos, ch, obj))
            return true;
    return false;
}

void TCellBasic::CopyToClipboard() {
    if (!document) return;
    for (auto& item : items) {
        const int first = item->firstCursorPos;
        const int last = first + item->cursorCount;
        // Items with no positions (rules) copy when the selection spans them.
        if (document->selStart < std::max(last, first + 1) && document->selEnd > first)
            item->CopyToClipboard();
    }
}

void TCellBasic::RegisterPositions() {
    for (auto& item : items) item->RegisterPositions();
}

void TCellBasic::DropTrailingParagraphMargin() {
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        auto* block = (*it)->AsBlock();
        if (block && block->positioning == kPositionAbsolute) continue;
        if (!block) return;
        if (block->bottomMarginIsParagraph) {
            block->boxValues[BoxSlot(piMarginBottom)] = 0;
            block->bottomMarginIsParagraph = false;
        }
        if (block->IsListItem()) block->content.DropTrailingParagraphMargin();
        return;
    }
}

TCell::TCell(TSectionList* doc, platform::Interned tag) : TCellBasic(doc, tag) {}

int TCell::LayoutCell(platform::Canvas& canvas, int Y, int Width, int availHeight,
                      int& scrollWidth, int& cursor) {
    indentManager.Clear();
    indentManager.SetEdges(0, Width);
    indentManager.cellWidth = Width;
    const TEdgeOwner saved = indentManager.currentOwner;
    indentManager.currentOwner = this;
    const int left = indentManager.PushLeftEdge(0, Y);
    const int right = indentManager.PushRightEdge(Width, Y);
    const int height =
        LayoutItems(canvas, 0, Y, Width, availHeight, 0, 0, indentManager, scrollWidth, cursor);
    indentManager.PopRightEdge(right);
    indentManager.PopLeftEdge(left);
    indentManager.currentOwner = saved;
    return std::max(height, Saturated(indentManager.LowestFloatBottom(), -topY));
}

int TCell::Draw(platform::Canvas& canvas, const platform::Rect& clip, int paintWidth, int X, int Y,
                int refX, int refY) {
    indentManager.SetEdges(X, X + indentManager.cellWidth);
    indentManager.paintWidth = paintWidth;
    return DrawItems(canvas, clip, indentManager, X, refX, refY);
}

int TBlockCell::DoLayout(platform::Canvas& canvas, int X, int Y, int width, int availHeight,
                         int refX, int refY, IndentManager& indent, int& scrollWidth, int& cursor) {
    return LayoutItems(canvas, X, Y, width, availHeight, refX, refY, indent, scrollWidth, cursor);
}
