#pragma once
// The base of every item a cell stacks vertically: text sections, blocks, tables,
// rules and page breaks. Coordinates are document pixels of the canvas in use.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "html/Anchors.h"
#include "platform/Canvas.h"

class TSection;
class TBlock;
class TSectionList;
class IndentManager;
class TFormControlObj;
class TFloatingObj;

// What a link hit test found (bits of its result).
enum THitTestResult : unsigned {
    htNothing = 0,
    htUrl = 1,
    htFormControl = 2,
    htTitle = 4,
};

// The y an item has before its first layout.
inline constexpr int kNotLaidOutY = 999999999;

// Positions, heights and widths stay within this many pixels either way: the lengths a
// page gives are bounded when they are resolved, and the sums layout makes of them are
// saturated here, so a page of absurd lengths lays out one block below the other
// instead of overflowing. Any two such values still add up within an int.
inline constexpr int kMaxLayoutExtent = 1 << 29;
template <typename... Ints>
int Saturated(Ints... values) {
    const long long sum = (0LL + ... + static_cast<long long>(values));
    return sum < -kMaxLayoutExtent  ? -kMaxLayoutExtent
           : sum > kMaxLayoutExtent ? kMaxLayoutExtent
                                    : static_cast<int>(sum);
}

class TSectionBase : public TIDObject {
public:
    explicit TSectionBase(TSectionList* document);
    ~TSectionBase() override;
    TSectionBase(const TSectionBase&) = delete;
    TSectionBase& operator=(const TSectionBase&) = delete;

    // 1.
    int GetTopY() override;
    // 2. A clone for a print copy of the document.
    virtual std::unique_ptr<TSectionBase> CreatePrintCopy(TSectionList* document) const;
    // 3. Adds the selected part of the item to the document's text collector.
    virtual void CopyToClipboard();
    // 4. Lays the item out at (X, Y); returns the height it takes in the flow.
    virtual int Layout(platform::Canvas& canvas, int X, int Y, int refX, int refY, int availWidth,
                       int availHeight, IndentManager& indent, int& maxWidth, int& cursor);
    // 5. Returns the y below the item.
    virtual int Draw(platform::Canvas& canvas, const platform::Rect& clip, IndentManager& indent,
                     int X, int refX, int refY);
    // 6. A set of THitTestResult bits.
    virtual unsigned HitTestLink(platform::Canvas& canvas, int X, int Y, std::string& title,
                                 TFormControlObj*& control, const TUrlTarget*& linkTarget);
    // 7.
    virtual bool HitTestImage(int X, int Y, TFloatingObj*& obj, int& IX, int& IY);
    // 8. A cursor position, or -1.
    virtual int CursorAtPoint(platform::Canvas& canvas, int X, int Y, int& XR, int& YR,
                              int& caretHeight, bool& inText);
    // 9, 10. A cursor position, or -1.
    virtual int SearchForward(int from, std::u16string_view text, bool matchCase);
    virtual int SearchBackward(int from, std::u16string_view text, bool matchCase);
    // 11, 12.
    virtual int SourcePosOf(int cursorPos);
    virtual int CursorPosOfSource(int sourcePos, bool prev);
    // 13. The canvas may be null: then X is the line's start.
    virtual bool PointOfCursor(platform::Canvas* canvas, int cursor, int& X, int& Y);
    // 14.
    virtual bool CharAtCursor(int pos, char16_t& ch, TSectionBase*& obj);
    // 15.
    virtual void MeasureWidths(platform::Canvas& canvas, int& min, int& max);
    // Whether the narrowest width MeasureWidths gives is at most `limit`: a block of
    // plain text asks only that, and an item may know it without measuring. This one
    // measures; an item whose MeasureWidths differs from its base's must answer this
    // the same way.
    virtual bool MinWidthAtMost(platform::Canvas& canvas, int limit);
    // 16.
    virtual void RegisterPositions();

    // Kind questions the cell and block algorithms ask of their neighbours.
    virtual bool IsBlock() const { return false; }
    // The text section this item is, if it is one (sections are added by the thousand).
    virtual TSection* AsSection() { return nullptr; }
    // The block this item is, if it is one (asked of every item at every layout).
    virtual TBlock* AsBlock() { return nullptr; }
    const TBlock* AsBlock() const { return const_cast<TSectionBase*>(this)->AsBlock(); }
    virtual bool IsTable() const { return false; }  // tables and table wrappers
    virtual bool IsPreformatted() const { return false; }
    // For the layout dump: a short name of the item's kind.
    virtual const char* KindName() const { return "item"; }

    TSectionList* ownerDocument;
    int flowHeight = 0;
    int paintHeight = 0;
    int firstCursorPos = 0;
    int cursorCount = 0;
    int zOrderKey = 0;
    int topY = kNotLaidOutY;
    int flowBottomY = 0;
    int contentLeftX = 0;
    int paintTopY = 0;
    int paintBottomY = 0;
    int layoutY = 0;

protected:
    // For print copies: takes what every item copies from its source.
    TSectionBase(TSectionList* document, const TSectionBase& source);
};
