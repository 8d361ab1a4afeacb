#pragma once
// Cells: the vertical lists of items of the document, of a block's content and of
// table cells.

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "layout/IndentManager.h"
#include "layout/SectionBase.h"
#include "platform/Interned.h"

// Finds, among items in drawing order, those that can meet a band of rows without
// walking from the first: bottoms are kept as a running maximum and tops as a
// running minimum from the end, both monotonic, so two binary searches bound the band.
class TDrawRange {
  public:
    template <class Items>
    void Build(const Items& items) {
        const std::size_t n = items.size();
        count_ = static_cast<std::uint32_t>(n);
        built_ = true;
        bounds_.reset();  // gives back what an earlier build held
        if (n <= kFewItems) return;
        bounds_ = std::make_unique_for_overwrite<int[]>(2 * n);
        int running = INT_MIN;
        for (std::size_t i = 0; i < n; ++i) {
            // Positioned blocks and floats may be drawn away from where they were laid out.
            const int bottom = items[i]->zOrderKey != 0 ? INT_MAX : items[i]->paintBottomY;
            running = std::max(running, bottom);
            bounds_[i] = running;
        }
        running = INT_MAX;
        for (std::size_t i = n; i-- > 0;) {
            const int top = items[i]->zOrderKey != 0 ? INT_MIN : items[i]->paintTopY;
            running = std::min(running, top);
            bounds_[n + i] = running;
        }
    }
    void Reset() { built_ = false; }
    bool Built() const { return built_; }
    // [first, last) of the items (those it was built from) that may meet the rows
    // [top, bottom), document space.
    template <class Items>
    void Visible(const Items& items, int top, int bottom, std::size_t& first,
                 std::size_t& last) const {
        if (bounds_) return VisibleByBounds(top, bottom, first, last);
        // A few items: the same answer worked out on the spot.
        first = 0;
        int running = INT_MIN;
        while (first < count_) {
            const auto& item = items[first];
            running = std::max(running, item->zOrderKey != 0 ? INT_MAX : item->paintBottomY);
            if (running > top) break;
            ++first;
        }
        last = count_;
        running = INT_MAX;
        while (last > 0) {
            const auto& item = items[last - 1];
            running = std::min(running, item->zOrderKey != 0 ? INT_MIN : item->paintTopY);
            if (running < bottom) break;
            --last;
        }
        if (last < first) last = first;
    }

  private:
    void VisibleByBounds(int top, int bottom, std::size_t& first, std::size_t& last) const;

    // Cells of a few items keep no bounds: a walk over them costs less than the memory.
    static constexpr std::size_t kFewItems = 8;
    // For each item, the largest bottom up to it, then the smallest top from it on
    // (2 x count_ numbers); none for a few items.
    std::unique_ptr<int[]> bounds_;
    std::uint32_t count_ = 0;
    bool built_ = false;
};

class TCellBasic {
  public:
    TCellBasic(TSectionList* document, platform::Interned ownerTag);
    virtual ~TCellBasic();
    TCellBasic(const TCellBasic&) = delete;
    TCellBasic& operator=(const TCellBasic&) = delete;

    // Print copy: every item cloned.
    void CopyItemsFrom(const TCellBasic& source, TSectionList* document);

    // Appends an item from the builder: a section is finished first, and an empty one
    // that nothing points at is dropped.
    void Add(std::unique_ptr<TSectionBase> item);
    int Count() const { return static_cast<int>(items.size()); }
    TSectionBase* LastItem() const { return items.empty() ? nullptr : items.back().get(); }

    virtual int LayoutCell(platform::Canvas& canvas, int Y, int Width, int availHeight,
                           int& scrollWidth, int& cursor);
    virtual void MeasureWidths(platform::Canvas& canvas, int& min, int& max);
    // Whether the Min of MeasureWidths is at most `limit`, measuring only what must be.
    bool MinWidthAtMost(platform::Canvas& canvas, int limit);
    virtual int Draw(platform::Canvas& canvas, const platform::Rect& clip, int paintWidth, int X,
                     int Y, int refX, int refY);
    virtual unsigned HitTestLink(platform::Canvas& canvas, int X, int Y, std::string& title,
                                 TFormControlObj*& control, const TUrlTarget*& linkTarget);

    // Lays the items out one below the other at (X, Y); an item whose layout fails
    // with the layout error is reported, removed and skipped.
    int LayoutItems(platform::Canvas& canvas, int X, int Y, int width, int availHeight, int refX,
                    int refY, IndentManager& indent, int& scrollWidth, int& cursor);
    int DrawItems(platform::Canvas& canvas, const platform::Rect& clip, IndentManager& indent,
                  int X, int refX, int refY);

    bool HitTestImage(int X, int Y, TFloatingObj*& obj, int& IX, int& IY);
    int CursorAtPoint(platform::Canvas& canvas, int X, int Y, int& XR, int& YR, int& caretHeight,
                      bool& inText);
    int SearchForward(int from, std::u16string_view text, bool matchCase);
    int SearchBackward(int from, std::u16string_view text, bool matchCase);
    int SourcePosOf(int cursorPos);
    int CursorPosOfSource(int sourcePos, bool prev);
    bool PointOfCursor(platform::Canvas* canvas, int cursor, int& X, int& Y);
    bool CharAtCursor(int pos, char16_t& ch, TSectionBase*& obj);
    void CopyToClipboard();
    void RegisterPositions();
    void DropTrailingParagraphMargin();

    std::vector<std::unique_ptr<TSectionBase>> items;
    TSectionList* document;
    int topY = 0;
    int firstCursorPos = 0;
    int cursorCount = 0;
    platform::Interned ownerTag;
    int itemsFlowBottomY = 0;
    int itemsPaintTopY = 0;
    int itemsPaintBottomY = 0;
    int totalHeight = 0;

  protected:
    TDrawRange drawRange_;
};

// A cell with its own indent manager: the document and table cells.
class TCell : public TCellBasic {
  public:
    TCell(TSectionList* document, platform::Interned ownerTag);
    int LayoutCell(platform::Canvas& canvas, int Y, int Width, int availHeight, int& scrollWidth,
                   int& cursor) override;
    int Draw(platform::Canvas& canvas, const platform::Rect& clip, int paintWidth, int X, int Y,
             int refX, int refY) override;

    IndentManager indentManager;
};

// A block's content: laid out with the enclosing cell's indent manager.
class TBlockCell : public TCellBasic {
  public:
    using TCellBasic::TCellBasic;
    int DoLayout(platform::Canvas& canvas, int X, int Y, int width, int availHeight, int refX,
                 int refY, IndentManager& indent, int& scrollWidth, int& cursor);
    // The block that owns the cell paints its items itself, in its painting order, and
    // finds those in view with this range.
    TDrawRange& PaintRange() { return drawRange_; }
};
