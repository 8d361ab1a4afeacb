// The table block and the caption wrapper: their attributes, widths, float shift,
// raised frame and the queries that differ from other blocks.

#include "layout/TableBlock.h"

#include <algorithm>
#include <cstdlib>

#include "layout/Document.h"
#include "layout/IndentManager.h"
#include "layout/TableSupport.h"
#include "platform/Text.h"

using namespace tablesupport;

namespace {

using Int64 = std::int64_t;

int Or0(int value) {
    return value == AutoValue || value == NoValue ? 0 : value;
}

// A floating table keeps HSPACE beside it and VSPACE above and below, unless its
// margins say otherwise.
void ApplySpacing(TBoxNumbers& box, int hSpace, int vSpace) {
    for (PropIndex side : {piMarginLeft, piMarginRight})
        if (Or0(box[BoxSlot(side)]) == 0) box[BoxSlot(side)] = hSpace;
    for (PropIndex side : {piMarginTop, piMarginBottom})
        if (Or0(box[BoxSlot(side)]) == 0) box[BoxSlot(side)] = vSpace;
}

// The float side an ALIGN word asks for, 0 for none; `center` is set for CENTER.
int AlignFloat(const TAttributeList* attributes, bool& center) {
    center = false;
    const TAttribute* align = attributes ? attributes->FindAttribute(symAlign) : nullptr;
    if (!align) return 0;
    const std::string value = platform::AsciiLowerCase(align->StrValue);
    center = value == "center";
    return value == "left" ? kFloatLeft : value == "right" ? kFloatRight : 0;
}

void SetFloat(TBlock& block, int side) {
    if (side == 0 || block.floatSide != 0) return;
    block.floatSide = side;
    if (block.zOrderKey == 0) block.zOrderKey = 1;
}

}  // namespace

// ---------------------------------------------------------------- the table block

TTableBlock::TTableBlock(TSectionList* document, TProperties& props, TCellBasic* parent,
                         const TAttributeList* attributes, std::unique_ptr<ThtmlTable> table,
                         int level)
    // Tables keep their margins whatever stands before them: no parent to collapse with.
    : TBlock(document, props, nullptr, attributes), grid(table.get()), tableLevel(level) {
    parentCell = parent;
    bool center = false;
    SetFloat(*this, AlignFloat(attributes, center));
    if (center) textAlign = 2;
    platform::TColor attributeColor = platform::clNone;
    if (attributes) {
        for (int i = 0; i < attributes->Count(); ++i) {
            const TAttribute& a = (*attributes)[i];
            switch (a.Symbol) {
                case symBgColor:
                    ReadColor(&a, attributeColor);
                    break;
                case symBackground:
                    if (document) SetBackgroundPicture(a.StrValue, props);
                    break;
                case symHSpace:
                    hSpace = static_cast<int>(std::min<Int64>(40, std::abs(Int64{a.IntValue})));
                    break;
                case symVSpace:
                    vSpace = static_cast<int>(std::min<Int64>(200, std::abs(Int64{a.IntValue})));
                    break;
                case symWidth:
                    if (IsPercent(a)) {
                        if (a.IntValue >= 1 && a.IntValue <= 100) {
                            widthSpec = a.IntValue * 10;
                            widthIsPercent = true;
                        }
                    } else if (a.IntValue > 0) {
                        widthSpec = Pixels(a.IntValue);
                    }
                    break;
                case symHeight:
                    if (IsPercent(a)) {
                        // A percentage of the window's height means nothing inside a cell.
                        if (level <= 1 && a.IntValue >= 1 && a.IntValue <= 110) {
                            heightSpec = a.IntValue;
                            heightIsPercent = true;
                        }
                    } else if (a.IntValue > 0) {
                        heightSpec = Pixels(a.IntValue);
                    }
                    break;
                default:
                    break;
            }
        }
    }
    // Style wins over the attributes: a width of at most the whole, or pixels.
    int tenths = 0, pixels = 0;
    if (StylePercent(props[piWidth], emSize, exSize, tenths)) {
        widthSpec = std::min(tenths, 1000);
        widthIsPercent = true;
    } else if (StylePixels(props[piWidth], emSize, exSize, pixels)) {
        widthSpec = Pixels(pixels);
        widthIsPercent = false;
    }
    if (StylePixels(props[piHeight], emSize, exSize, pixels)) {
        heightSpec = Pixels(pixels);
        heightIsPercent = false;
    }
    // The grid sizes itself from these; the box must not apply them a second time.
    boxSpecs.Set(BoxSlot(piWidth), PropValue(AutoValue));
    boxSpecs.Set(BoxSlot(piHeight), PropValue(0));
    if (backgroundColor_ == platform::clNone) backgroundColor_ = attributeColor;
    hasBackground = backgroundColor_ != platform::clNone && !(background && background->image);
    if (grid) {
        grid->owner = this;
        grid->hasBackground = hasBackground;
        grid->backgroundColor = backgroundColor_;
        grid->isFloating = floatSide != 0;
        hasFrameBorder = grid->borderWidth >= 1 && !hasBorderStyle;
    }
    if (hasFrameBorder) {
        // The frame is drawn by PaintBorders; the box only has to make room for it.
        for (PropIndex width :
             {piBorderTopWidth, piBorderRightWidth, piBorderBottomWidth, piBorderLeftWidth})
            boxSpecs.Set(BoxSlot(width), PropValue(grid->borderWidth));
        for (PropIndex style :
             {piBorderTopStyle, piBorderRightStyle, piBorderBottomStyle, piBorderLeftStyle})
            boxSpecs.Set(BoxSlot(style), PropValue(1));
        hasBorderStyle = true;
    }
    content.Add(std::move(table));
}

TTableBlock::TTableBlock(TSectionList* document, const TTableBlock& source)
    : TBlock(document, source),
      grid(nullptr),
      widthSpec(source.widthSpec),
      widthIsPercent(source.widthIsPercent),
      heightSpec(source.heightSpec),
      heightIsPercent(source.heightIsPercent),
      hasBackground(source.hasBackground),
      hSpace(source.hSpace),
      vSpace(source.vSpace),
      hasCaption(source.hasCaption),
      hasFrameBorder(source.hasFrameBorder),
      textAlign(source.textAlign),
      floatShiftX(source.floatShiftX),
      tableLevel(source.tableLevel),
      captionRoom(source.captionRoom),
      captionHeight(source.captionHeight) {
    if (source.grid && !content.items.empty()) {
        grid = dynamic_cast<ThtmlTable*>(content.items.front().get());
        if (grid) grid->owner = this;
    }
}

std::unique_ptr<TSectionBase> TTableBlock::CreatePrintCopy(TSectionList* document) const {
    return std::unique_ptr<TSectionBase>(new TTableBlock(document, *this));
}

void TTableBlock::TakeInheritedAlign(int align) {
    if (textAlign != 2 && floatSide == 0 && (align == 2 || align == 3)) textAlign = align;
}

int TTableBlock::HorizontalFrame() const {
    return Box(piBorderLeftWidth) + Box(piBorderRightWidth) + Box(piPaddingLeft) +
           Box(piPaddingRight);
}

int TTableBlock::VerticalFrame() const {
    return Box(piBorderTopWidth) + Box(piBorderBottomWidth) + Box(piPaddingTop) +
           Box(piPaddingBottom);
}

void TTableBlock::ResolveBox(int availWidth) {
    int autoCount = 0;
    ConvertBox(availWidth, 0, autoCount, boxValues);
}

void TTableBlock::ApplySpacing(TBoxNumbers& box) const {
    if (floatSide != 0) ::ApplySpacing(box, hSpace, vSpace);
}

int TTableBlock::BorderBoxWidth(platform::Canvas& canvas, int availWidth, int percentBase) {
    const int frame = HorizontalFrame();
    int min = 0, max = 0;
    if (!grid) return frame;
    if (widthSpec == 0) {
        grid->imposedWidth = 0;
        grid->MeasureWidths(canvas, min, max);
        const int room = availWidth - frame;
        // The columns may not fill all of it (percentages round down): the box hugs them.
        return grid->WidthFor(canvas, max <= room ? max : std::max(min, room)) + frame;
    }
    const Int64 given =
        widthIsPercent ? Int64{std::max(0, percentBase)} * widthSpec / 1000 : widthSpec;
    grid->imposedWidth = static_cast<int>(std::clamp<Int64>(given - frame, 0, kMaxTableLength));
    grid->MeasureWidths(canvas, min, max);
    return std::max(min, grid->imposedWidth) + frame;
}

int TTableBlock::ResolveContentWidth(platform::Canvas& canvas, int availWidth, int availHeight,
                                     int) {
    int& ml = boxValues[BoxSlot(piMarginLeft)];
    int& mr = boxValues[BoxSlot(piMarginRight)];
    if (hasCaption) {
        ml = mr = 0;
    } else {
        ml = Or0(ml);
        mr = Or0(mr);
    }
    ApplySpacing(boxValues);
    if (grid) {
        grid->imposedHeight = 0;
        if (heightSpec > 0) {
            // In a wrapper, of the height the wrapper was given.
            const int base = hasCaption && captionHeight >= 0 ? captionHeight : availHeight;
            const Int64 height =
                heightIsPercent ? Int64{std::max(0, base)} * heightSpec / 100 : heightSpec;
            grid->imposedHeight =
                static_cast<int>(std::clamp<Int64>(height - VerticalFrame(), 0, kMaxTableLength));
        }
    }
    const int outer = availWidth - ml - mr;
    // Inside a wrapper a percentage is of the room the wrapper had, not of the wrapper.
    const int base = hasCaption && captionRoom >= 0 ? captionRoom : outer;
    const int width = std::max(0, BorderBoxWidth(canvas, outer, base) - HorizontalFrame());
    const int room = outer - HorizontalFrame();
    if (ml == 0 && mr == 0 && width < room) {
        if (textAlign == 2)
            ml = (room - width) / 2;
        else if (textAlign == 3)
            ml = room - width;
    }
    return width;
}

int TTableBlock::Layout(platform::Canvas& canvas, int X, int Y, int refX, int refY, int availWidth,
                        int availHeight, IndentManager& indent, int& maxWidth, int& cursor) {
    if (grid && grid->HasTooManyColumns()) {
        // The grid raises the layout error in our cell, which reports it and drops it.
        int ignoredWidth = 0, ignoredCursor = cursor;
        content.DoLayout(canvas, X, Y, availWidth, 0, refX, refY, indent, ignoredWidth,
                         ignoredCursor);
        if (content.items.empty()) grid = nullptr;
    }
    if (!grid) notDisplayed = true;
    floatShiftX = 0;
    if (floatSide == 0 && positioning == kPositionStatic && !notDisplayed) {
        // Beside floats the table moves right and narrows to the room they leave.
        const int left = std::max(X, indent.LeftEdgeAt(Y));
        const int right = std::min(X + availWidth, indent.RightEdgeAt(Y));
        floatShiftX = left - X;
        availWidth = std::max(0, right - left);
    }
    const int height = TBlock::Layout(canvas, X + floatShiftX, Y, refX, refY, availWidth,
                                      availHeight, indent, maxWidth, cursor);
    maxWidth += floatShiftX;
    return height;
}

int TTableBlock::Draw(platform::Canvas& canvas, const platform::Rect& clip, IndentManager& indent,
                      int X, int refX, int refY) {
    return TBlock::Draw(canvas, clip, indent, X + floatShiftX, refX, refY);
}

void TTableBlock::MeasureWidths(platform::Canvas& canvas, int& min, int& max) {
    min = max = 0;
    if (notDisplayed || !grid) return;
    TBoxNumbers box{};
    int autoCount = 0;
    ConvertBox(0, 0, autoCount, box);
    ApplySpacing(box);
    const int margins = Or0(box[BoxSlot(piMarginLeft)]) + Or0(box[BoxSlot(piMarginRight)]);
    const int frame = box[BoxSlot(piBorderLeftWidth)] + box[BoxSlot(piBorderRightWidth)] +
                      box[BoxSlot(piPaddingLeft)] + box[BoxSlot(piPaddingRight)];
    const bool pixels = widthSpec > 0 && !widthIsPercent;
    grid->imposedWidth = pixels ? std::max(0, widthSpec - frame) : 0;
    int gridMin = 0, gridMax = 0;
    grid->MeasureWidths(canvas, gridMin, gridMax);
    if (pixels) {
        min = max = std::max(widthSpec, gridMin + frame) + margins;
    } else {
        min = gridMin + frame + margins;
        max = gridMax + frame + margins;
    }
}

void TTableBlock::RegisterPositions() {
    if (!notDisplayed && grid) grid->RegisterPositions();
}

void TTableBlock::PaintBorders(platform::Canvas& canvas, const platform::Rect& borderRect,
                               const platform::Rect& paddingRect) {
    if (!hasFrameBorder || !grid) {
        TBlock::PaintBorders(canvas, borderRect, paddingRect);
        return;
    }
    // Raised: light above and on the left, dark below and on the right.
    const TFrameColors colors = grid->FrameColors(canvas);
    TBorderSides sides;
    for (int k = 0; k < 4; ++k) {
        sides.colors[k] = k <= 1 ? colors.light : colors.dark;
        sides.styles[k] = 1;
    }
    PaintStyleBorders(canvas, borderRect, paddingRect, sides, platform::clNone);
}

// ---------------------------------------------------------------- the caption wrapper

TTableAndCaptionBlock::TTableAndCaptionBlock(TSectionList* document, TProperties& props,
                                             TCellBasic* parent, const TAttributeList* attributes)
    // The table's ID names the wrapper only once it is kept (the builder registers it).
    : TBlock(document, props, nullptr, nullptr) {
    parentCell = parent;
    tagAndClass = "TableAndCaption.";
    // Borders, paddings and backgrounds belong to the table inside.
    background.reset();
    backgroundColor_ = platform::clNone;
    hasBorderStyle = false;
    for (PropIndex slot :
         {piPaddingTop, piPaddingRight, piPaddingBottom, piPaddingLeft, piBorderTopWidth,
          piBorderRightWidth, piBorderBottomWidth, piBorderLeftWidth, piBorderTopStyle,
          piBorderRightStyle, piBorderBottomStyle, piBorderLeftStyle, piHeight})
        boxSpecs.Set(BoxSlot(slot), PropValue(0));
    boxSpecs.Set(BoxSlot(piWidth), PropValue(AutoValue));
    bool center = false;
    align_ = AlignFloat(attributes, center);
    if (center) textAlign = 2;
    if (attributes) tableId = attributes->IdValue();
}

TTableAndCaptionBlock::TTableAndCaptionBlock(TSectionList* document,
                                             const TTableAndCaptionBlock& source)
    : TBlock(document, source),
      captionFirst(source.captionFirst),
      textAlign(source.textAlign),
      tableId(source.tableId),
      align_(source.align_),
      hSpace_(source.hSpace_),
      vSpace_(source.vSpace_) {
    for (auto& item : content.items) {
        if (auto* table = dynamic_cast<TTableBlock*>(item.get()))
            tableBlock = table;
        else if (auto* block = item->AsBlock())
            captionBlock = block;
    }
}

std::unique_ptr<TSectionBase> TTableAndCaptionBlock::CreatePrintCopy(TSectionList* document) const {
    return std::unique_ptr<TSectionBase>(new TTableAndCaptionBlock(document, *this));
}

void TTableAndCaptionBlock::Assemble(std::unique_ptr<TTableBlock> table,
                                     std::unique_ptr<TBlock> caption, bool captionOnTop) {
    captionFirst = captionOnTop;
    tableBlock = table.get();
    captionBlock = caption.get();
    SetFloat(*this, align_);
    // Placed where the table would have been: centred or right-aligned as it was.
    if (textAlign == 0 && floatSide == 0) textAlign = table->textAlign;
    boxSpecs.Set(BoxSlot(piMarginTop), table->boxSpecs[BoxSlot(piMarginTop)]);
    boxSpecs.Set(BoxSlot(piMarginBottom), table->boxSpecs[BoxSlot(piMarginBottom)]);
    boxValues[BoxSlot(piMarginTop)] = table->Box(piMarginTop);
    boxValues[BoxSlot(piMarginBottom)] = table->Box(piMarginBottom);
    hSpace_ = table->hSpace;
    vSpace_ = table->vSpace;
    // The table inside neither floats nor keeps margins: it is centred in the wrapper.
    table->floatSide = 0;
    if (table->positioning == kPositionStatic) table->zOrderKey = 0;
    table->textAlign = 2;
    table->SetCaption();
    for (PropIndex side : {piMarginTop, piMarginRight, piMarginBottom, piMarginLeft}) {
        table->boxSpecs.Set(BoxSlot(side), PropValue(0));
        table->boxValues[BoxSlot(side)] = 0;
    }
    if (table->grid) table->grid->isFloating = false;
    table->parentCell = &content;
    caption->parentCell = &content;
    if (captionOnTop) {
        content.Add(std::move(caption));
        content.Add(std::move(table));
    } else {
        content.Add(std::move(table));
        content.Add(std::move(caption));
    }
}

int TTableAndCaptionBlock::ResolveContentWidth(platform::Canvas& canvas, int availWidth,
                                               int availHeight, int) {
    if (tableBlock) tableBlock->captionHeight = availHeight;
    int& ml = boxValues[BoxSlot(piMarginLeft)];
    int& mr = boxValues[BoxSlot(piMarginRight)];
    ml = Or0(ml);
    mr = Or0(mr);
    if (floatSide != 0) ApplySpacing(boxValues, hSpace_, vSpace_);
    const int room = std::max(0, availWidth - ml - mr);
    int width = 0;
    if (tableBlock) {
        // The table's box is worked out again when it is laid out; its frame is
        // wanted now.
        tableBlock->ResolveBox(room);
        tableBlock->captionRoom = room;
        width = tableBlock->BorderBoxWidth(canvas, room, room);
    }
    if (captionBlock) {
        int captionMin = 0, captionMax = 0;
        captionBlock->MeasureWidths(canvas, captionMin, captionMax);
        width = std::max(width, captionMin);
    }
    if (width < room) {
        if (textAlign == 2)
            ml += (room - width) / 2;
        else if (textAlign == 3)
            ml += room - width;
    }
    return width;
}

void TTableAndCaptionBlock::MeasureWidths(platform::Canvas& canvas, int& min, int& max) {
    min = max = 0;
    if (notDisplayed) return;
    int tableMin = 0, tableMax = 0, captionMin = 0, captionMax = 0;
    if (tableBlock) tableBlock->MeasureWidths(canvas, tableMin, tableMax);
    if (captionBlock) captionBlock->MeasureWidths(canvas, captionMin, captionMax);
    TBoxNumbers box{};
    int autoCount = 0;
    ConvertBox(0, 0, autoCount, box);
    if (floatSide != 0) ApplySpacing(box, hSpace_, vSpace_);
    const int margins = Or0(box[BoxSlot(piMarginLeft)]) + Or0(box[BoxSlot(piMarginRight)]);
    min = std::max(tableMin, captionMin) + margins;
    max = std::max(tableMax, captionMin) + margins;
}

int TTableAndCaptionBlock::CursorPosOfSource(int sourcePos, bool prev) {
    if (notDisplayed) return -1;
    TSectionBase* first = tableBlock;
    TSectionBase* second = captionBlock;
    if (prev) std::swap(first, second);
    const int pos = first ? first->CursorPosOfSource(sourcePos, prev) : -1;
    if (pos >= 0) return pos;
    return second ? second->CursorPosOfSource(sourcePos, prev) : -1;
}
