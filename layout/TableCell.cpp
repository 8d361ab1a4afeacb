// Tables as the builder makes them: cells and rows from their tags and properties,
// the table's own attributes, print copies, and making the grid rectangular.

#include <algorithm>
#include <climits>

#include "html/Attributes.h"
#include "layout/Document.h"
#include "layout/Table.h"
#include "layout/TableBlock.h"
#include "layout/TableSupport.h"

namespace {

using namespace tablesupport;

// Paddings and borders from style sheets are kept to what a page could mean.
constexpr int kMaxCellBox = 10000;

int PixelsOf(int value) {
    return Pixels(value);
}

void TakeColor(const TAttribute* attribute, bool& has, platform::TColor& color) {
    if (tablesupport::ReadColor(attribute, color)) has = true;
}

// The background a row or cell gives itself (the attribute, then its style), and its
// page breaks.
void ReadPart(const TAttributeList* attributes, TProperties& props, TTablePart& part) {
    if (attributes) {
        TakeColor(attributes->FindAttribute(symBgColor), part.hasBackground, part.backgroundColor);
        if (const TAttribute* a = attributes->FindAttribute(symBackground))
            part.backgroundImageName = a->StrValue;
    }
    const platform::TColor styled = props.GetBackgroundColor();
    if (styled != platform::clNone) {
        part.hasBackground = true;
        part.backgroundColor = styled;
    }
    std::string url;
    if (props.GetBackgroundImage(url)) part.backgroundImageName = url;
    if (!part.backgroundImageName.empty()) {
        props.GetFont();
        props.GetBackgroundPosition(props.EmPixels, props.ExPixels, part.backgroundPlacement);
    }
    const TPageBreaks breaks = props.GetPageBreaks();
    part.breakBefore = breaks.Before;
    part.breakAfter = breaks.After;
    part.avoidBreakInside = breaks.AvoidInside;
}

}  // namespace

// ---------------------------------------------------------------- cells

TCellObj::TCellObj(TSectionList* document, TProperties& props, const TAttributeList* attributes,
                   int verticalAlignment)
    : verticalAlign(verticalAlignment),
      content(std::make_unique<TCell>(document, props.ElementTag)) {
    const TMyFont& font = props.GetFont();
    emSize = props.EmPixels;
    exSize = props.ExPixels;
    if (attributes) {
        if (const TAttribute* a = attributes->FindAttribute(symColSpan); a && a->IntValue > 1)
            colSpan = a->IntValue;
        if (const TAttribute* a = attributes->FindAttribute(symRowSpan); a && a->IntValue > 1)
            rowSpan = a->IntValue;
        if (const TAttribute* a = attributes->FindAttribute(symWidth)) {
            if (IsPercent(*a)) {
                if (a->IntValue >= 1 && a->IntValue <= 100) {
                    specifiedWidth = a->IntValue * 10;
                    widthIsPercent = true;
                }
            } else if (a->IntValue > 0) {
                specifiedWidth = PixelsOf(a->IntValue);
            }
        }
        if (const TAttribute* a = attributes->FindAttribute(symHeight);
            a && !IsPercent(*a) && a->IntValue > 0)
            specifiedHeight = PixelsOf(a->IntValue);
    }
    // The width property: pixels, or a percentage short of the whole table (a cell of
    // "100%" by style asks nothing a column could give).
    int tenths = 0, pixels = 0;
    if (StylePercent(props[piWidth], emSize, exSize, tenths)) {
        if (tenths < 1000) {
            specifiedWidth = tenths;
            widthIsPercent = true;
        }
    } else if (StylePixels(props[piWidth], emSize, exSize, pixels)) {
        specifiedWidth = PixelsOf(pixels);
        widthIsPercent = false;
    }
    if (StylePixels(props[piHeight], emSize, exSize, pixels)) specifiedHeight = PixelsOf(pixels);
    int align = 0;
    if (props.GetVerticalAlign(align)) {
        if (align == kAlignTop)
            verticalAlign = kCellTop;
        else if (align == kAlignMiddle)
            verticalAlign = kCellMiddle;
        else if (align == kAlignBaseline || align == kAlignBottom)
            verticalAlign = kCellBottom;
    }
    ReadPart(attributes, props, *this);

    // Paddings are wanted of every cell; the whole box only of cells with a border
    // style, which are few (a page has tens of thousands of cells).
    // Cells of a table mostly share their paddings: the last reading is kept.
    static struct {
        TVMarginArray given;
        int em = -1, ex = -1;
        TBoxNumbers paddings{};
    } last;
    bool same = last.em == emSize && last.ex == exSize;
    for (PropIndex index : {piPaddingTop, piPaddingRight, piPaddingBottom, piPaddingLeft})
        same = same && last.given[BoxSlot(index)] == props[index];
    if (!same) {
        for (PropIndex index : {piPaddingTop, piPaddingRight, piPaddingBottom, piPaddingLeft})
            last.given[BoxSlot(index)] = props[index];
        last.em = emSize;
        last.ex = exSize;
        ConvertPaddings(last.given, emSize, exSize, last.paddings);
    }
    const TBoxNumbers& paddings = last.paddings;
    TVMarginArray vm;
    // A percentage comes out negative: like no padding, the table's CELLPADDING then.
    auto padding = [&](PropIndex index) {
        const int value = paddings[BoxSlot(index)];
        return value < 0 ? -1 : std::min(value, kMaxCellBox);
    };
    paddingTop = padding(piPaddingTop);
    paddingRight = padding(piPaddingRight);
    paddingBottom = padding(piPaddingBottom);
    paddingLeft = padding(piPaddingLeft);
    const PropIndex styleSlots[4] = {piBorderLeftStyle, piBorderTopStyle, piBorderRightStyle,
                                     piBorderBottomStyle};
    for (PropIndex style : styleSlots)
        if (props[style].isString() && BorderStyleFromWord(props[style].string()) != 0)
            hasBorderStyle = true;
    if (!hasBorderStyle) return;
    props.GetMarginArray(vm);
    TBoxNumbers box{};
    int autoCount = 0;
    ConvertMarginArray(vm, 0, 0, emSize, exSize, autoCount, box);
    const PropIndex colorSlots[4] = {piBorderLeftColor, piBorderTopColor, piBorderRightColor,
                                     piBorderBottomColor};
    for (int k = 0; k < 4; ++k) {
        borderSides.styles[k] = vm[BoxSlot(styleSlots[k])].toInteger(0);
        const PropValue& given = vm[BoxSlot(colorSlots[k])];
        if (given.isInteger() && given.integer() != NoValue)
            borderSides.colors[k] = static_cast<platform::TColor>(given.integer());
        else if (props.Assigned[piBorderColor])
            borderSides.colors[k] = static_cast<platform::TColor>(box[BoxSlot(piBorderColor)]);
        else
            borderSides.colors[k] = font.Color;
    }
    auto width = [&](PropIndex index) { return std::clamp(box[BoxSlot(index)], 0, kMaxCellBox); };
    borderLeft = width(piBorderLeftWidth);
    borderTop = width(piBorderTopWidth);
    borderRight = width(piBorderRightWidth);
    borderBottom = width(piBorderBottomWidth);
}

TCellObj::TCellObj(TSectionList* document, const TCellObj& source)
    : TTablePart(source),
      colSpan(source.colSpan),
      rowSpan(source.rowSpan),
      spanWidth(source.spanWidth),
      spanHeight(source.spanHeight),
      contentHeight(source.contentHeight),
      specifiedHeight(source.specifiedHeight),
      alignOffsetY(source.alignOffsetY),
      verticalAlign(source.verticalAlign),
      specifiedWidth(source.specifiedWidth),
      widthIsPercent(source.widthIsPercent),
      emSize(source.emSize),
      exSize(source.exSize),
      paddingTop(source.paddingTop),
      paddingRight(source.paddingRight),
      paddingBottom(source.paddingBottom),
      paddingLeft(source.paddingLeft),
      borderTop(source.borderTop),
      borderRight(source.borderRight),
      borderBottom(source.borderBottom),
      borderLeft(source.borderLeft),
      horizontalExtra(source.horizontalExtra),
      verticalExtra(source.verticalExtra),
      hasBorderStyle(source.hasBorderStyle),
      borderSides(source.borderSides),
      content(std::make_unique<TCell>(document, source.content->ownerTag)),
      row(source.row),
      column(source.column) {
    content->CopyItemsFrom(*source.content, document);
    if (source.backgroundImage &&
        (!source.content->document || source.content->document->showImages))
        backgroundImage.reset(
            static_cast<TImageObj*>(source.backgroundImage->CreatePrintCopy(document).release()));
}

TCellObj::~TCellObj() = default;

// ---------------------------------------------------------------- rows

TCellList::TCellList(TSectionList*, const TAttributeList* attributes, TProperties& props) {
    if (attributes)
        if (const TAttribute* a = attributes->FindAttribute(symHeight);
            a && !IsPercent(*a) && a->IntValue > 0)
            specifiedRowHeight = PixelsOf(a->IntValue);
    ReadPart(attributes, props, *this);
}

TCellList::TCellList(TSectionList* document, const TCellList& source)
    : TTablePart(source),
      rowHeight(source.rowHeight),
      specifiedRowHeight(source.specifiedRowHeight),
      spannedHeight(source.spannedHeight),
      topY(source.topY) {
    slots.resize(source.slots.size());
    for (std::size_t i = 0; i < slots.size(); ++i) {
        if (source.slots[i].cell)
            slots[i].cell = std::make_unique<TCellObj>(document, *source.slots[i].cell);
        slots[i].spanBelow = source.slots[i].spanBelow;
    }
}

void TCellList::Add(std::unique_ptr<TCellObj> cell) {
    if (!cell) return;
    breakBefore |= cell->breakBefore;
    breakAfter |= cell->breakAfter;
    avoidBreakInside |= cell->avoidBreakInside;
    cell->specifiedHeight = std::max(cell->specifiedHeight, specifiedRowHeight);
    TTableSlot slot;
    slot.cell = std::move(cell);
    slots.push_back(std::move(slot));
}

// ---------------------------------------------------------------- the table

ThtmlTable::ThtmlTable(TSectionList* document, TProperties&, const TAttributeList* attributes)
    : TSectionBase(document) {
    if (!attributes) return;
    for (int i = 0; i < attributes->Count(); ++i) {
        const TAttribute& a = (*attributes)[i];
        switch (a.Symbol) {
            case symBorder:
                borderWidth = std::clamp(a.IntValue, 0, 100);
                break;
            case symCellPadding:
                if (a.IntValue >= 0) cellPadding = std::min(a.IntValue, 50);
                break;
            case symCellSpacing:
                if (a.IntValue >= 0) cellSpacing = std::min(a.IntValue, 40);
                break;
            default:
                break;
        }
    }
    if (tablesupport::ReadColor(attributes->FindAttribute(symBorderColor), lightBorderColor))
        darkBorderColor = lightBorderColor;
    tablesupport::ReadColor(attributes->FindAttribute(symBorderColorLight), lightBorderColor);
    tablesupport::ReadColor(attributes->FindAttribute(symBorderColorDark), darkBorderColor);
}

ThtmlTable::ThtmlTable(TSectionList* document, const ThtmlTable& source)
    : TSectionBase(document, source),
      gridReady(source.gridReady),
      borderWidth(source.borderWidth),
      isFloating(source.isFloating),
      columnCount(source.columnCount),
      totalWidth(source.totalWidth),
      imposedWidth(source.imposedWidth),
      imposedWidthIsPercent(source.imposedWidthIsPercent),
      imposedHeight(source.imposedHeight),
      hasPixelWidths(source.hasPixelWidths),
      cellPadding(source.cellPadding),
      cellSpacing(source.cellSpacing),
      columnWidths(source.columnWidths),
      columnPercents(source.columnPercents),
      lightBorderColor(source.lightBorderColor),
      darkBorderColor(source.darkBorderColor),
      columnSpecs(source.columnSpecs),
      tooManyColumns_(source.tooManyColumns_) {
    cursorCount = source.cursorCount;
    // The table's own background reaches paper only when backgrounds are printed.
    if (source.ownerDocument && source.ownerDocument->printBackgrounds) {
        hasBackground = source.hasBackground;
        backgroundColor = source.backgroundColor;
    }
    rows.reserve(source.rows.size());
    for (const auto& row : source.rows) rows.push_back(std::make_unique<TCellList>(document, *row));
    // Covered slots point at their cells' copies.
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r]->slots.size(); ++c) {
            const TCellObj* owner = source.rows[r]->slots[c].owner;
            if (!owner) continue;
            const auto ownerRow = static_cast<std::size_t>(owner->row);
            const auto ownerColumn = static_cast<std::size_t>(owner->column);
            if (ownerRow < rows.size() && ownerColumn < rows[ownerRow]->slots.size())
                rows[r]->slots[c].owner = rows[ownerRow]->slots[ownerColumn].cell.get();
        }
}

ThtmlTable::~ThtmlTable() = default;

std::unique_ptr<TSectionBase> ThtmlTable::CreatePrintCopy(TSectionList* document) const {
    return std::unique_ptr<TSectionBase>(new ThtmlTable(document, *this));
}

void ThtmlTable::AddColumnSpec(int width, bool widthIsPercent, const std::string& align,
                               int verticalAlign) {
    if (ColumnSpecCount() >= kMaxColumnSpecs) return;
    columnSpecs.push_back({width, widthIsPercent, verticalAlign, align});
}

void ThtmlTable::EnsureGrid() {
    if (gridReady) return;
    gridReady = true;
    const int rowCount = static_cast<int>(rows.size());
    // Cells take what the table and their row give them, and spanned columns get
    // covered slots right after their cell.
    for (int r = 0; r < rowCount; ++r) {
        TCellList& row = *rows[static_cast<std::size_t>(r)];
        // Most rows span nothing: they keep their slots as they are.
        bool spans = static_cast<int>(row.slots.size()) > kMaxTableColumns;
        for (const TTableSlot& slot : row.slots) spans |= slot.cell && slot.cell->colSpan > 1;
        std::vector<TTableSlot> expanded;
        if (spans) expanded.reserve(row.slots.size());
        for (TTableSlot& slot : row.slots) {
            TCellObj* cell = slot.cell.get();
            if (!cell) continue;
            if (!cell->hasBackground && row.hasBackground) {
                cell->hasBackground = true;
                cell->backgroundColor = row.backgroundColor;
            }
            for (int* padding :
                 {&cell->paddingTop, &cell->paddingRight, &cell->paddingBottom, &cell->paddingLeft})
                if (*padding < 0) *padding = cellPadding;
            if (borderWidth > 0)
                for (int* border :
                     {&cell->borderTop, &cell->borderRight, &cell->borderBottom, &cell->borderLeft})
                    *border = std::max(*border, 1);
            cell->horizontalExtra =
                cell->paddingLeft + cell->paddingRight + cell->borderLeft + cell->borderRight;
            cell->verticalExtra =
                cell->paddingTop + cell->paddingBottom + cell->borderTop + cell->borderBottom;
            if (cell->backgroundImageName.empty() && !row.backgroundImageName.empty()) {
                cell->backgroundImageName = row.backgroundImageName;
                cell->backgroundPlacement = row.backgroundPlacement;
            }
            if (!cell->backgroundImageName.empty() && ownerDocument && !cell->backgroundImage)
                cell->backgroundImage =
                    TImageObj::CreateFromName(ownerDocument, cell->backgroundImageName);
            if (cell->HasPixelWidth()) hasPixelWidths = true;
            if (!cell->hasBackground && hasBackground) {
                cell->hasBackground = true;
                cell->backgroundColor = backgroundColor;
            }
            if (!spans) continue;
            const int spanBelow = cell->rowSpan < 2 ? 1 : cell->rowSpan;
            const int colSpan = cell->colSpan;
            expanded.push_back(std::move(slot));
            // Past the column limit the table will not be laid out: its cells are
            // kept (things point into them) but spread no further.
            for (int k = 1; k < colSpan && !tooManyColumns_; ++k) {
                TTableSlot covered;
                covered.owner = cell;
                covered.spanBelow = spanBelow;
                expanded.push_back(std::move(covered));
                tooManyColumns_ = static_cast<int>(expanded.size()) > kMaxTableColumns;
            }
            if (static_cast<int>(expanded.size()) > kMaxTableColumns) tooManyColumns_ = true;
        }
        if (spans) row.slots = std::move(expanded);
    }
    if (tooManyColumns_) return;

    // Cells spanning rows cover their column in the rows below, which are cut at the
    // last row; a row's own cells move right past the covered slots.
    struct Cover {
        int remaining = 0;
        TCellObj* owner = nullptr;
    };
    std::vector<Cover> covers;
    int activeCovers = 0;
    for (int r = 0; r < rowCount; ++r) {
        TCellList& row = *rows[static_cast<std::size_t>(r)];
        if (activeCovers > 0) {
            std::vector<TTableSlot> placed;
            placed.reserve(row.slots.size() + static_cast<std::size_t>(activeCovers));
            auto coverUpTo = [&](std::size_t end) {
                while (placed.size() < end) {
                    TTableSlot slot;
                    const std::size_t c = placed.size();
                    if (c < covers.size() && covers[c].remaining > 0) slot.owner = covers[c].owner;
                    placed.push_back(std::move(slot));
                }
            };
            for (TTableSlot& slot : row.slots) {
                while (placed.size() < covers.size() && covers[placed.size()].remaining > 0 &&
                       static_cast<int>(placed.size()) <= kMaxTableColumns)
                    coverUpTo(placed.size() + 1);
                placed.push_back(std::move(slot));
            }
            std::size_t lastCovered = 0;
            for (std::size_t c = 0; c < covers.size(); ++c)
                if (covers[c].remaining > 0) lastCovered = c + 1;
            coverUpTo(std::max(placed.size(), lastCovered));
            row.slots = std::move(placed);
        }
        if (static_cast<int>(row.slots.size()) > kMaxTableColumns) {
            tooManyColumns_ = true;
            return;
        }
        for (Cover& cover : covers)
            if (cover.remaining > 0 && --cover.remaining == 0) --activeCovers;
        const int rowsLeft = rowCount - r;
        for (std::size_t c = 0; c < row.slots.size(); ++c) {
            TTableSlot& slot = row.slots[c];
            int span = 0;
            TCellObj* owner = nullptr;
            if (slot.cell) {
                slot.cell->rowSpan = std::min(slot.cell->rowSpan, rowsLeft);
                slot.cell->row = r;
                slot.cell->column = static_cast<int>(c);
                span = slot.cell->rowSpan;
                owner = slot.cell.get();
            } else if (slot.spanBelow > 0) {
                span = std::min(slot.spanBelow, rowsLeft);
                owner = slot.owner;
            }
            slot.spanBelow = 0;
            if (span < 2) continue;
            if (covers.size() <= c) covers.resize(c + 1);
            if (covers[c].remaining == 0) ++activeCovers;
            covers[c] = {span - 1, owner};
        }
    }

    columnCount = 0;
    for (const auto& row : rows) columnCount = std::max(columnCount, row->Count());
    if (columnCount > kMaxTableColumns) {
        tooManyColumns_ = true;
        return;
    }
    if (!columnSpecs.empty()) {
        bool pixelSpec = false;
        for (const auto& row : rows) {
            const int limit = std::min({row->Count(), columnCount, ColumnSpecCount()});
            for (int i = 0; i < limit; ++i) {
                TCellObj* cell = row->slots[static_cast<std::size_t>(i)].cell.get();
                const TColObj& spec = ColumnSpec(i);
                if (!cell || spec.width <= 0) continue;
                cell->specifiedWidth = spec.widthIsPercent ? spec.width : PixelsOf(spec.width);
                cell->widthIsPercent = spec.widthIsPercent;
                if (!spec.widthIsPercent) pixelSpec = true;
            }
        }
        hasPixelWidths = pixelSpec;
        columnSpecs.clear();
        columnSpecs.shrink_to_fit();
    }
}
