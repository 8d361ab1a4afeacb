// The grid of a table: measuring, column widths and row heights, drawing with
// backgrounds and frames, pagination while printing, and the queries that are
// routed to the cell under a point or holding a position.

#include "layout/Table.h"

#include <algorithm>
#include <climits>
#include <unordered_set>

#include "layout/Document.h"
#include "layout/Section.h"
#include "layout/TableBlock.h"

namespace {

using Int64 = std::int64_t;

// Heights and positions stay far from the int range, whatever a page asks for.
constexpr int kMaxTableHeight = 1 << 29;

int Clamped(Int64 value, int limit = kMaxTableLength) {
    return static_cast<int>(std::clamp<Int64>(value, 0, limit));
}

// Row heights that grow by ranges while cells spanning rows are settled: adding to a
// range of rows and summing one are both logarithmic, so many long spans stay cheap.
class RowHeights {
  public:
    explicit RowHeights(std::size_t count) : add_(count + 1, 0), scaled_(count + 1, 0) {}
    void Add(std::size_t first, std::size_t last, Int64 amount) {  // rows [first, last]
        Update(first, amount, amount * static_cast<Int64>(first));
        Update(last + 1, -amount, -amount * static_cast<Int64>(last + 1));
    }
    Int64 Sum(std::size_t first, std::size_t last) const {
        return Prefix(last + 1) - Prefix(first);
    }
    Int64 At(std::size_t row) const { return Sum(row, row); }

  private:
    void Update(std::size_t index, Int64 a, Int64 s) {
        for (std::size_t i = index + 1; i < add_.size(); i += i & (~i + 1)) {
            add_[i] += a;
            scaled_[i] += s;
        }
    }
    // Sum of rows [0, count).
    Int64 Prefix(std::size_t count) const {
        Int64 a = 0, s = 0;
        for (std::size_t i = count; i > 0; i -= i & (~i + 1)) {
            a += add_[i];
            s += scaled_[i];
        }
        return a * static_cast<Int64>(count) - s;
    }
    std::vector<Int64> add_, scaled_;
};

// Keeps the first-baseline request of a list item away from the cells: the table as a
// whole answers it with its bottom.
class BaselineSinkPause {
  public:
    explicit BaselineSinkPause(TSectionList* document) : document_(document) {
        if (document_) {
            sink_ = document_->firstBaselineSink;
            document_->firstBaselineSink = nullptr;
        }
    }
    ~BaselineSinkPause() {
        if (document_) document_->firstBaselineSink = sink_;
    }
    int* Sink() const { return sink_; }

  private:
    TSectionList* document_;
    int* sink_ = nullptr;
};

void CollectObjects(const TCellBasic& cell, std::unordered_set<const TIDObject*>& objects);

void CollectItem(TSectionBase& item, std::unordered_set<const TIDObject*>& objects) {
    objects.insert(&item);
    if (TSection* section = item.AsSection())
        for (const auto& object : section->InlineObjects()) objects.insert(object.get());
    if (auto* block = item.AsBlock()) CollectObjects(block->content, objects);
    if (auto* table = dynamic_cast<ThtmlTable*>(&item))
        for (const auto& row : table->rows)
            for (const TTableSlot& slot : row->slots)
                if (slot.cell) CollectObjects(*slot.cell->content, objects);
}

void CollectObjects(const TCellBasic& cell, std::unordered_set<const TIDObject*>& objects) {
    for (const auto& item : cell.items) CollectItem(*item, objects);
}

}  // namespace

template <typename Visit>
void ThtmlTable::ForEachCell(Visit visit) const {
    for (const auto& row : rows)
        for (const TTableSlot& slot : row->slots)
            if (slot.cell) visit(*slot.cell);
}

// ---------------------------------------------------------------- measuring

void ThtmlTable::MeasureCells(platform::Canvas& canvas) {
    cellMeasures_.clear();
    std::size_t cells = 0;
    for (const auto& row : rows) cells += row->slots.size();
    cellMeasures_.reserve(cells);
    ForEachCell([&](TCellObj& cell) {
        int min = 0, max = 0;
        cell.content->MeasureWidths(canvas, min, max);
        const Int64 extra = Int64{cellSpacing} + cell.horizontalExtra;
        cellMeasures_.push_back({cell.column, cell.colSpan, Clamped(min + extra),
                                 Clamped(std::max(min, max) + extra), cell.specifiedWidth,
                                 cell.widthIsPercent});
    });
}

const TColumnMeasures& ThtmlTable::Measure(platform::Canvas& canvas) {
    EnsureGrid();
    const int cycle = ownerDocument ? ownerDocument->layoutCycleCount : 0;
    if (measuredCycle_ != cycle || measuredCanvas_ != &canvas) {
        MeasureCells(canvas);
        measuredCycle_ = cycle;
        measuredCanvas_ = &canvas;
        measuredForWidth_ = -1;
    }
    // Pixel widths alone, in a table of no given width, are taken as they stand.
    const bool percentAware = !(hasPixelWidths && imposedWidth == 0);
    const int key = percentAware ? imposedWidth : -2;
    if (measuredForWidth_ != key) {
        MeasureColumns(cellMeasures_, columnCount, cellSpacing, percentAware, imposedWidth,
                       columns_);
        measuredForWidth_ = key;
    }
    return columns_;
}

void ThtmlTable::MeasureWidths(platform::Canvas& canvas, int& min, int& max) {
    min = max = 0;
    if (HasTooManyColumns()) return;
    const TColumnMeasures& m = Measure(canvas);
    min = Clamped(Int64{m.TotalMin()} + cellSpacing);
    max = Clamped(Int64{PreferredWidth(m)} + cellSpacing);
}

std::vector<int> ThtmlTable::ColumnsFor(platform::Canvas& canvas, int availWidth) {
    const TColumnMeasures& m = Measure(canvas);
    const int width = imposedWidth > 0 ? imposedWidth : availWidth;
    return ColumnWidths(m, width - cellSpacing, imposedWidth > 0);
}

int ThtmlTable::WidthOf(const std::vector<int>& columns) const {
    Int64 total = cellSpacing;
    for (int w : columns) total += w;
    return Clamped(total);
}

int ThtmlTable::WidthFor(platform::Canvas& canvas, int availWidth) {
    if (HasTooManyColumns()) return 0;
    offered_.columns = ColumnsFor(canvas, availWidth);
    offered_.width = WidthOf(offered_.columns);
    offered_.cycle = measuredCycle_;
    offered_.imposedWidth = imposedWidth;
    return offered_.width;
}

int ThtmlTable::ColumnOffset(int column) const {
    Int64 offset = 0;
    for (int i = 0; i < column && i < static_cast<int>(columnWidths.size()); ++i)
        offset += columnWidths[static_cast<std::size_t>(i)];
    return Clamped(offset);
}

// ---------------------------------------------------------------- layout

int ThtmlTable::LayoutCellContent(platform::Canvas& canvas, TCellObj& cell, int width, int Y,
                                  int availHeight, int& cursor) {
    cell.laidOutY = Y;
    cell.laidOutWidth = width;
    cell.laidOutCursor = cursor;
    int scrollWidth = 0;
    cell.contentHeight =
        Clamped(cell.content->LayoutCell(canvas, Y, width, availHeight, scrollWidth, cursor));
    return cell.contentHeight;
}

int ThtmlTable::LayoutRowHeights(platform::Canvas& canvas, int Y, int availHeight, int& cursor) {
    const std::size_t n = rows.size();
    auto contentWidth = [&](const TCellObj& cell, int column) {
        Int64 span = 0;
        for (int c = column; c < column + cell.colSpan && c < columnCount; ++c)
            span += columnWidths[static_cast<std::size_t>(c)];
        return Clamped(span - cellSpacing - cell.horizontalExtra);
    };
    auto cellHeight = [&](const TCellObj& cell) {
        return std::max(cell.specifiedHeight,
                        Clamped(Int64{cell.contentHeight} + cell.verticalExtra));
    };
    // Cells of one row first, laid out where their row will most likely stay, so that
    // the final placing can usually keep them as they are.
    RowHeights heights(n);
    std::vector<TCellObj*> spanning;
    int scratch = cursor;
    Int64 top = Y;
    for (std::size_t r = 0; r < n; ++r) {
        int tallest = 0;
        for (TTableSlot& slot : rows[r]->slots) {
            TCellObj* cell = slot.cell.get();
            if (!cell) continue;
            if (cell->rowSpan > 1) {
                spanning.push_back(cell);
                continue;
            }
            const int contentY =
                Clamped(top + cellSpacing + cell->ContentInsetY(), kMaxTableHeight);
            LayoutCellContent(canvas, *cell, contentWidth(*cell, cell->column), contentY,
                              availHeight, scratch);
            tallest = std::max(tallest, cellHeight(*cell));
        }
        const int height = Clamped(Int64{tallest} + cellSpacing);
        heights.Add(r, r, height);
        top = std::min<Int64>(top + height, kMaxTableHeight);
    }
    // Then cells spanning rows, fewest rows first: rows too low for such a cell share
    // what is missing, the last of them taking the rounding.
    std::stable_sort(spanning.begin(), spanning.end(),
                     [](const TCellObj* a, const TCellObj* b) { return a->rowSpan < b->rowSpan; });
    for (std::size_t i = 0; i < spanning.size();) {
        TCellObj* first = spanning[i];
        int tallest = 0;
        std::size_t j = i;
        for (; j < spanning.size() && spanning[j]->rowSpan == first->rowSpan &&
               spanning[j]->row == first->row;
             ++j) {
            TCellObj& cell = *spanning[j];
            LayoutCellContent(canvas, cell, contentWidth(cell, cell.column), 0, availHeight,
                              scratch);
            tallest = std::max(tallest, cellHeight(cell));
        }
        const std::size_t from = static_cast<std::size_t>(first->row);
        const std::size_t to = std::min(n, from + static_cast<std::size_t>(first->rowSpan)) - 1;
        const Int64 value = Int64{tallest} + cellSpacing;
        const Int64 have = heights.Sum(from, to);
        if (have < value) {
            const Int64 missing = value - have;
            const Int64 rowsSpanned = static_cast<Int64>(to - from + 1);
            heights.Add(from, to, missing / rowsSpanned);
            heights.Add(to, to, missing % rowsSpanned);
        }
        i = j;
    }
    if (n > 0 && imposedHeight > 0) {
        const Int64 total = heights.Sum(0, n - 1);
        if (total < Int64{imposedHeight} - cellSpacing) {
            const Int64 missing = Int64{imposedHeight} - cellSpacing - total;
            heights.Add(0, n - 1, missing / static_cast<Int64>(n));
            heights.Add(n - 1, n - 1, missing % static_cast<Int64>(n));
        }
    }
    for (std::size_t r = 0; r < n; ++r) rows[r]->rowHeight = Clamped(heights.At(r));
    PlaceCells(canvas, Y, availHeight, cursor);
    Int64 height = cellSpacing;
    for (const auto& row : rows) height += row->rowHeight;
    return Clamped(height, kMaxTableHeight);
}

void ThtmlTable::PlaceCells(platform::Canvas& canvas, int Y, int availHeight, int& cursor) {
    const std::size_t n = rows.size();
    // Row tops, and one more for the bottom of the last row.
    std::vector<int> tops(n + 1);
    Int64 top = Y;
    for (std::size_t r = 0; r < n; ++r) {
        tops[r] = Clamped(top, kMaxTableHeight);
        rows[r]->topY = tops[r];
        top += rows[r]->rowHeight;
    }
    tops[n] = Clamped(top, kMaxTableHeight);
    spannedBottoms_.assign(n, 0);
    int lowest = INT_MIN;
    const bool images = ownerDocument && ownerDocument->showImages;
    for (std::size_t r = 0; r < n; ++r) {
        TCellList& row = *rows[r];
        int spanned = 0;
        for (TTableSlot& slot : row.slots) {
            TCellObj* cell = slot.cell.get();
            if (!cell) continue;
            Int64 width = 0;
            for (int c = cell->column; c < cell->column + cell->colSpan && c < columnCount; ++c)
                width += columnWidths[static_cast<std::size_t>(c)];
            cell->spanWidth = Clamped(width);
            const std::size_t below = std::min(n, r + static_cast<std::size_t>(cell->rowSpan));
            cell->spanHeight = tops[below] - tops[r];
            spanned = std::max(spanned, cell->spanHeight);
            const int free =
                cell->spanHeight - cell->contentHeight - cellSpacing - cell->verticalExtra;
            cell->alignOffsetY = cell->verticalAlign == kCellTop      ? 0
                                 : cell->verticalAlign == kCellMiddle ? std::max(0, free / 2)
                                                                      : std::max(0, free);
            const int contentY =
                Clamped(Int64{tops[r]} + cellSpacing + cell->ContentInsetY() + cell->alignOffsetY,
                        kMaxTableHeight);
            const int contentWidth =
                Clamped(Int64{cell->spanWidth} - cellSpacing - cell->horizontalExtra);
            if (cell->laidOutY == contentY && cell->laidOutWidth == contentWidth &&
                cell->laidOutCursor == cursor)
                cursor += cell->content->cursorCount;
            else
                LayoutCellContent(canvas, *cell, contentWidth, contentY, availHeight, cursor);
            if (cell->backgroundImage && images) {
                cell->backgroundImage->SizeFor(canvas, cell->spanWidth, nullptr);
                if (!cell->backgroundImage->IsLoaded()) {
                    cell->backgroundImage.reset();
                } else if (cell->backgroundImage->PictureShared()) {
                    cell->backgroundPainter.SetPicture(cell->backgroundImage->PictureShared(),
                                                       cell->backgroundImage->MaskShared());
                    cell->needsTiling = true;
                }
            }
        }
        row.spannedHeight = spanned;
        lowest = std::max(lowest, row.topY + spanned);
        spannedBottoms_[r] = lowest;
    }
}

int ThtmlTable::Layout(platform::Canvas& canvas, int X, int Y, int, int, int availWidth,
                       int availHeight, IndentManager&, int& maxWidth, int& cursor) {
    if (HasTooManyColumns()) {
        RetargetAnchors();
        throw EProcessError(kTableTooWide);
    }
    firstCursorPos = cursor;
    topY = paintTopY = layoutY = Y;
    layoutX_ = X;
    // The block took the width the columns came out at for a wider room: they are kept,
    // as sharing the narrower room again may round differently.
    Measure(canvas);
    if (offered_.cycle == measuredCycle_ && offered_.imposedWidth == imposedWidth &&
        offered_.width == availWidth)
        columnWidths = offered_.columns;
    else
        columnWidths = ColumnsFor(canvas, availWidth);
    columnPercents = columns_.percent;
    totalWidth = WidthOf(columnWidths);
    int height = 0;
    {
        BaselineSinkPause pause(ownerDocument);
        height = LayoutRowHeights(canvas, Y, availHeight, cursor);
        if (int* sink = pause.Sink(); sink && *sink == 0) *sink = Y + height;
    }
    flowHeight = paintHeight = height;
    flowBottomY = paintBottomY = Y + height;
    maxWidth = totalWidth;
    cursorCount = cursor - firstCursorPos;
    return height;
}

void ThtmlTable::RetargetAnchors() {
    if (!ownerDocument || !ownerDocument->anchors || !owner) return;
    std::unordered_set<const TIDObject*> inside;
    ForEachCell([&](TCellObj& cell) { CollectObjects(*cell.content, inside); });
    TIDNameList& anchors = *ownerDocument->anchors;
    std::vector<std::string> names;
    for (int i = 0; i < anchors.Count(); ++i)
        if (inside.count(anchors.ObjectAt(i))) names.push_back(anchors.NameAt(i));
    for (const std::string& name : names) anchors.AddObject(name, owner);
}

// ---------------------------------------------------------------- drawing

TFrameColors ThtmlTable::FrameColors(platform::Canvas& canvas) const {
    TFrameColors colors;
    const TSectionList* doc = ownerDocument;
    const platform::DeviceCaps caps = canvas.deviceCaps();
    if (doc && doc->isPrinting && doc->printMonoBlack && caps.bitsPerPixel == 1 && caps.planes == 1)
        return colors;
    if (lightBorderColor != platform::clNone || darkBorderColor != platform::clNone) {
        colors.light = lightBorderColor != platform::clNone
                           ? lightBorderColor
                           : platform::SystemColorValue(platform::colorButtonHighlight);
        colors.dark = darkBorderColor != platform::clNone
                          ? darkBorderColor
                          : platform::SystemColorValue(platform::colorButtonShadow);
        return colors;
    }
    colors.dark = platform::SystemColorValue(platform::colorButtonShadow);
    const bool whitePage = doc && doc->WindowColor() == 0xFFFFFF;
    colors.light = (doc && doc->isPrinting) || whitePage
                       ? 0xC0C0C0
                       : platform::SystemColorValue(platform::colorButtonHighlight);
    return colors;
}

bool ThtmlTable::PaginateRow(std::size_t index, const platform::Rect& clip) {
    TSectionList& doc = *ownerDocument;
    const TCellList& row = *rows[index];
    const int pageTop = doc.scrollY + clip.top;
    const int pageHeight = clip.bottom - clip.top;
    const int rowTop = row.topY;
    const int rowBottom = row.topY + row.rowHeight;
    const int half = cellSpacing / 2;
    auto endPageAt = [&](int y) {
        if (y < doc.pageBottomY) {
            doc.pageBottomY = y;
            doc.pageShortened = true;
        }
    };
    if (rowTop > pageTop && rowTop < doc.pageBottomY) {
        const bool fits = row.rowHeight <= pageHeight;
        // As for blocks, a break before the first thing on a page would only waste it.
        if (row.breakBefore && !doc.pageIsEmpty)
            endPageAt(rowTop + half);
        else if (row.avoidBreakInside && rowBottom > doc.pageBottomY && fits)
            endPageAt(rowTop + half);
        else if (rowTop > pageTop + 2 * pageHeight / 3 && rowBottom > doc.pageBottomY && fits)
            endPageAt(rowTop + (index > 0 ? half : 0));
    }
    return rowTop + half < doc.pageBottomY;
}

void ThtmlTable::DrawCell(platform::Canvas& canvas, const platform::Rect& clip, TCellObj& cell,
                          int X, int rowTop, const TFrameColors& frame, int refX, int refY) {
    TSectionList& doc = *ownerDocument;
    const int left = X + ColumnOffset(cell.column);
    // The area inside the spacing, in window coordinates.
    const platform::Rect area{left + cellSpacing, rowTop + cellSpacing - doc.scrollY,
                              left + cell.spanWidth, rowTop + cell.spanHeight - doc.scrollY};
    if (!area.intersects(clip)) return;
    const bool backgrounds = !doc.isPrinting || doc.printBackgrounds;
    if (cell.hasBackground && cell.backgroundColor != platform::clNone && backgrounds) {
        platform::Rect fill = area;
        fill.top = std::max(fill.top, clip.top - 2);
        fill.bottom = std::min(fill.bottom, clip.bottom);
        if (!fill.isEmpty()) canvas.fillRect(fill, cell.backgroundColor);
    }
    if (cell.backgroundImage && cell.needsTiling && doc.showImages && backgrounds)
        cell.backgroundPainter.Paint(canvas, area, clip, cell.backgroundPlacement);
    const int contentWidth = std::max(0, cell.spanWidth - cellSpacing - cell.horizontalExtra);
    cell.content->Draw(canvas, clip, contentWidth, area.left + cell.ContentInsetX(), area.top, refX,
                       refY);
    if (cell.hasBorderStyle) {
        const platform::Rect padding{area.left + cell.borderLeft, area.top + cell.borderTop,
                                     area.right - cell.borderRight,
                                     area.bottom - cell.borderBottom};
        PaintStyleBorders(
            canvas, area, padding, cell.borderSides,
            cell.hasBackground && backgrounds ? cell.backgroundColor : platform::clNone);
    } else if (borderWidth > 0 && !cell.IsEmpty()) {
        // Sunken: dark above and on the left, light below and on the right, on the
        // pixels the cell's border width keeps free.
        TBorderSides sides;
        for (int k = 0; k < 4; ++k) {
            sides.colors[k] = k <= 1 ? frame.dark : frame.light;
            sides.styles[k] = 1;
        }
        const platform::Rect inner{area.left + 1, area.top + 1, area.right - 1, area.bottom - 1};
        PaintStyleBorders(canvas, area, inner, sides, platform::clNone);
    }
}

int ThtmlTable::Draw(platform::Canvas& canvas, const platform::Rect& clip, IndentManager&, int X,
                     int refX, int refY) {
    const int below = layoutY + flowHeight;
    drawX_ = X;
    if (!ownerDocument || rows.empty() || spannedBottoms_.size() != rows.size()) return below;
    TSectionList& doc = *ownerDocument;
    const int scroll = doc.scrollY;
    if (topY + flowHeight - scroll <= clip.top || topY - scroll >= clip.bottom) return below;
    if (doc.isPrinting && topY >= doc.pageBottomY) return below;
    const TFrameColors frame = FrameColors(canvas);
    const auto firstRow =
        std::upper_bound(spannedBottoms_.begin(), spannedBottoms_.end(), clip.top + scroll);
    for (std::size_t r = static_cast<std::size_t>(firstRow - spannedBottoms_.begin());
         r < rows.size(); ++r) {
        TCellList& row = *rows[r];
        if (doc.isPrinting) {
            if (!PaginateRow(r, clip)) break;
        } else if (row.topY - scroll >= clip.bottom) {
            break;
        }
        if (row.topY + row.spannedHeight - scroll <= clip.top) continue;
        for (TTableSlot& slot : row.slots)
            if (slot.cell) DrawCell(canvas, clip, *slot.cell, X, row.topY, frame, refX, refY);
        if (doc.isPrinting && row.breakAfter) {
            const int rowBottom = row.topY + row.rowHeight;
            if (rowBottom > scroll + clip.top && rowBottom < doc.pageBottomY) {
                doc.pageBottomY = rowBottom;
                doc.pageShortened = true;
            }
        }
    }
    return below;
}

// ---------------------------------------------------------------- queries

TCellObj* ThtmlTable::CellAt(int X, int Y) {
    if (rows.empty() || Y < topY || Y >= topY + flowHeight || X < drawX_ ||
        X >= drawX_ + totalWidth)
        return nullptr;
    const auto row =
        std::upper_bound(rows.begin(), rows.end(), Y,
                         [](int y, const std::unique_ptr<TCellList>& r) { return y < r->topY; });
    if (row == rows.begin()) return nullptr;
    const TCellList& found = **(row - 1);
    int x = drawX_;
    for (int c = 0; c < columnCount && c < found.Count(); ++c) {
        x += columnWidths[static_cast<std::size_t>(c)];
        if (X >= x) continue;
        const TTableSlot& slot = found.slots[static_cast<std::size_t>(c)];
        return slot.cell ? slot.cell.get() : slot.owner;
    }
    return nullptr;
}

unsigned ThtmlTable::HitTestLink(platform::Canvas& canvas, int X, int Y, std::string& title,
                                 TFormControlObj*& control, const TUrlTarget*& linkTarget) {
    TCellObj* cell = CellAt(X, Y);
    return cell ? cell->content->HitTestLink(canvas, X, Y, title, control, linkTarget) : htNothing;
}

bool ThtmlTable::HitTestImage(int X, int Y, TFloatingObj*& obj, int& IX, int& IY) {
    TCellObj* cell = CellAt(X, Y);
    return cell && cell->content->HitTestImage(X, Y, obj, IX, IY);
}

int ThtmlTable::CursorAtPoint(platform::Canvas& canvas, int X, int Y, int& XR, int& YR,
                              int& caretHeight, bool& inText) {
    TCellObj* cell = CellAt(X, Y);
    return cell ? cell->content->CursorAtPoint(canvas, X, Y, XR, YR, caretHeight, inText) : -1;
}

int ThtmlTable::SearchForward(int from, std::u16string_view text, bool matchCase) {
    for (const auto& row : rows)
        for (const TTableSlot& slot : row->slots)
            if (slot.cell)
                if (const int pos = slot.cell->content->SearchForward(from, text, matchCase);
                    pos >= 0)
                    return pos;
    return -1;
}

int ThtmlTable::SearchBackward(int from, std::u16string_view text, bool matchCase) {
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        for (auto slot = (*row)->slots.rbegin(); slot != (*row)->slots.rend(); ++slot)
            if (slot->cell)
                if (const int pos = slot->cell->content->SearchBackward(from, text, matchCase);
                    pos >= 0)
                    return pos;
    return -1;
}

namespace {

bool Holds(const TCellObj& cell, int pos) {
    return pos >= cell.content->firstCursorPos &&
           pos <= cell.content->firstCursorPos + cell.content->cursorCount;
}

}  // namespace

int ThtmlTable::SourcePosOf(int cursorPos) {
    for (const auto& row : rows)
        for (const TTableSlot& slot : row->slots)
            if (slot.cell && Holds(*slot.cell, cursorPos))
                if (const int pos = slot.cell->content->SourcePosOf(cursorPos); pos >= 0)
                    return pos;
    return -1;
}

int ThtmlTable::CursorPosOfSource(int sourcePos, bool prev) {
    if (prev) {
        for (auto row = rows.rbegin(); row != rows.rend(); ++row)
            for (auto slot = (*row)->slots.rbegin(); slot != (*row)->slots.rend(); ++slot)
                if (slot->cell)
                    if (const int pos = slot->cell->content->CursorPosOfSource(sourcePos, true);
                        pos >= 0)
                        return pos;
        return -1;
    }
    for (const auto& row : rows)
        for (const TTableSlot& slot : row->slots)
            if (slot.cell)
                if (const int pos = slot.cell->content->CursorPosOfSource(sourcePos, false);
                    pos >= 0)
                    return pos;
    return -1;
}

bool ThtmlTable::PointOfCursor(platform::Canvas* canvas, int cursor, int& X, int& Y) {
    for (const auto& row : rows)
        for (const TTableSlot& slot : row->slots)
            if (slot.cell && Holds(*slot.cell, cursor) &&
                slot.cell->content->PointOfCursor(canvas, cursor, X, Y))
                return true;
    return false;
}

bool ThtmlTable::CharAtCursor(int pos, char16_t& ch, TSectionBase*& obj) {
    for (const auto& row : rows)
        for (const TTableSlot& slot : row->slots)
            if (slot.cell && Holds(*slot.cell, pos) &&
                slot.cell->content->CharAtCursor(pos, ch, obj))
                return true;
    return false;
}

void ThtmlTable::CopyToClipboard() {
    if (!ownerDocument) return;
    const int selStart = ownerDocument->selStart;
    const int selEnd = ownerDocument->selEnd;
    ForEachCell([&](TCellObj& cell) {
        const int first = cell.content->firstCursorPos;
        const int last = first + cell.content->cursorCount;
        if (selStart < std::max(last, first + 1) && selEnd > first) cell.content->CopyToClipboard();
    });
}
