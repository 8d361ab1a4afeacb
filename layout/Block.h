#pragma once
// The box of a block-level element: margins, borders, paddings, background,
// floating, clearing, positioning, visibility and page breaks around a cell of
// content. TBodyBlock is the document body's block.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "layout/Background.h"
#include "layout/BoxSpecs.h"
#include "layout/ImageObj.h"
#include "layout/Cell.h"
#include "layout/FloatingObj.h"
#include "style/Properties.h"

class TAttributeList;

enum : int { kPositionStatic = 0, kPositionAbsolute = 1, kPositionRelative = 2 };

// The colours and styles of a box's four sides, left, top, right, bottom.
struct TBorderSides {
    platform::TColor colors[4] = {0, 0, 0, 0};
    int styles[4] = {0, 0, 0, 0};
};

// Paints style borders between a border box and a padding box (screen space). Shared
// by blocks and table cells.
void PaintStyleBorders(platform::Canvas& canvas, platform::Rect borderRect,
                       platform::Rect paddingRect, const TBorderSides& sides,
                       platform::TColor background);

// A block's background picture. Few blocks have one, so it lives apart from the block.
struct TBlockBackground {
    std::string imageName;
    TBackgroundPosition placement;
    std::unique_ptr<TImageObj> image;  // none when the picture could not be had
    TBackgroundPainter painter;
    bool needsTiling = false;  // the painter holds the picture at its drawn size
};

class TBlock : public TSectionBase {
public:
    TBlock(TSectionList* document, TProperties& props, TCellBasic* parentCell,
           const TAttributeList* attributes);
    ~TBlock() override;

    std::unique_ptr<TSectionBase> CreatePrintCopy(TSectionList* document) const override;
    void CopyToClipboard() override;
    int Layout(platform::Canvas& canvas, int X, int Y, int refX, int refY, int availWidth,
               int availHeight, IndentManager& indent, int& maxWidth, int& cursor) override;
    int Draw(platform::Canvas& canvas, const platform::Rect& clip, IndentManager& indent, int X,
             int refX, int refY) override;
    unsigned HitTestLink(platform::Canvas& canvas, int X, int Y, std::string& title,
                         TFormControlObj*& control, const TUrlTarget*& linkTarget) override;
    bool HitTestImage(int X, int Y, TFloatingObj*& obj, int& IX, int& IY) override;
    int CursorAtPoint(platform::Canvas& canvas, int X, int Y, int& XR, int& YR, int& caretHeight,
                      bool& inText) override;
    int SearchForward(int from, std::u16string_view text, bool matchCase) override;
    int SearchBackward(int from, std::u16string_view text, bool matchCase) override;
    int SourcePosOf(int cursorPos) override;
    int CursorPosOfSource(int sourcePos, bool prev) override;
    bool PointOfCursor(platform::Canvas* canvas, int cursor, int& X, int& Y) override;
    bool CharAtCursor(int pos, char16_t& ch, TSectionBase*& obj) override;
    void MeasureWidths(platform::Canvas& canvas, int& min, int& max) override;
    bool MinWidthAtMost(platform::Canvas& canvas, int limit) override;
    void RegisterPositions() override;
    bool IsBlock() const override { return true; }
    TBlock* AsBlock() override { return this; }
    virtual bool IsListItem() const { return false; }
    const char* KindName() const override { return "block"; }

    virtual void PaintBorders(platform::Canvas& canvas, const platform::Rect& borderRect,
                              const platform::Rect& paddingRect);
    virtual int ResolveContentWidth(platform::Canvas& canvas, int availWidth, int availHeight,
                                    int autoCount);

    // Side sums of margins, borders and paddings, resolved.
    int LeftExtra() const;   // left margin + border + padding
    int RightExtra() const;  // right padding + border + margin
    int Box(PropIndex index) const { return boxValues[BoxSlot(index)]; }
    // Takes a background picture by name (placed as `props` say) unless one is set.
    void SetBackgroundPicture(const std::string& name, TProperties& props);

    // (Fields are ordered to leave no gaps: a page has a block for every paragraph,
    // heading and list item.)
    TBoxNumbers boxValues{};
    int emSize = 0, exSize = 0;
    int contentWidth = 0;
    int clearanceSpace = 0;
    int contentOffsetX = 0;
    int offsetTop = 0, offsetLeft = 0;
    int innerBottomY = 0;

  protected:
    platform::TColor backgroundColor_ = platform::clNone;
    platform::TColor fontColor_ = 0;
    int absoluteShiftX_ = 0;  // absolute: x of the box less the X its cell laid it out at
    int boxY_ = 0;            // absolute: y of the margin box's top, as resolved

  public:
    TBoxSpecs boxSpecs;
    // The block's items, held in the block itself (a page has a block for each
    // paragraph and list item).
    TBlockCell content;
    TCellBasic* parentCell;
    platform::Interned tagAndClass;
    std::unique_ptr<TBlockBackground> background;  // none without a background picture
    // The content's items in the order they are painted, when that is not their own
    // order (some are positioned or float); none otherwise.
    std::unique_ptr<std::vector<TSectionBase*>> paintOrder;

  protected:
    // The TITLE (UTF-8), offered over the border box last drawn; few blocks have one.
    struct THint {
        std::string text;
        platform::Rect borderBox;
    };
    std::unique_ptr<THint> hint_;

  public:
    bool boxSizing = false;
    bool hasBorderStyle = false;
    bool isListContainer = false;
    std::int8_t floatSide = 0;
    std::int8_t clearSides = 0;
    std::int8_t positioning = kPositionStatic;
    std::int8_t visibility = 2;
    bool breakBefore = false, breakAfter = false, avoidBreakInside = false;
    bool notDisplayed = false;
    bool topMarginIsParagraph = false;
    bool bottomMarginIsParagraph = false;

protected:
    TBlock(TSectionList* document, const TBlock& source);
    // The layout after display and positioning are settled (steps 5 to 16).
    void PaintBox(platform::Canvas& canvas, const platform::Rect& clip, int X, int Y);
    void DrawContent(platform::Canvas& canvas, const platform::Rect& clip, IndentManager& indent,
                     int X, int refX, int refY);
    void BuildPaintOrder();
    // `visit` given the content's items in painting order (a vector of them).
    template <class Visit>
    decltype(auto) InPaintOrder(Visit visit) const {
        return paintOrder ? visit(*paintOrder) : visit(content.items);
    }
    TBorderSides Sides() const;
    // Where the margin box is drawn for the X its cell is drawn at, and how far a
    // relative offset moves it down.
    int DrawnX(int X) const;
    int DrawnShiftY() const;

    void CollapseMargins();
    // ResolveContentWidth for a content of these widths.
    int ResolveWidthFor(int min, int max, int availWidth, int autoCount);
    // The horizontal margins, borders and paddings MeasureWidths adds; `box` gets the
    // box converted against no room.
    int MeasuringExtra(TBoxNumbers& box) const;
    void ConvertBox(int baseWidth, int baseHeight, int& autoCount, TBoxNumbers& box) const;

    bool borderColorGiven_ = false;
};

class TBodyBlock : public TBlock {
public:
    TBodyBlock(TSectionList* document, TProperties& props, TCellBasic* parentCell,
               const TAttributeList* attributes);
    std::unique_ptr<TSectionBase> CreatePrintCopy(TSectionList* document) const override;
    int Layout(platform::Canvas& canvas, int X, int Y, int refX, int refY, int availWidth,
               int availHeight, IndentManager& indent, int& maxWidth, int& cursor) override;
    int Draw(platform::Canvas& canvas, const platform::Rect& clip, IndentManager& indent, int X,
             int refX, int refY) override;
    unsigned HitTestLink(platform::Canvas& canvas, int X, int Y, std::string& title,
                         TFormControlObj*& control, const TUrlTarget*& linkTarget) override;
    const char* KindName() const override { return "body"; }

protected:
    TBodyBlock(TSectionList* document, const TBodyBlock& source) : TBlock(document, source) {}
};
