#pragma once
// Tables: the grid item that owns the rows and works out column widths and row
// heights (ThtmlTable), its rows (TCellList) and cells (TCellObj), and the column
// settings of COL and COLGROUP (TColObj). The box around the grid, its
// margins, frame and floating, is the table block (TableBlock.h).
//
// Building, the cells and making the grid are in TableCell.cpp, the column width
// rules in TableWidths.cpp, measuring, layout, drawing and queries in Table.cpp.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "layout/Background.h"
#include "layout/Block.h"
#include "layout/Cell.h"
#include "layout/ImageObj.h"
#include "layout/TableWidths.h"

class TAttributeList;
class TTableBlock;

// More columns than this and the table is not laid out.
inline constexpr int kMaxTableColumns = 200;
// Column settings past the last possible column change nothing; they are not kept.
inline constexpr int kMaxColumnSpecs = kMaxTableColumns + 1;
// What one COL may stand for.
inline constexpr int kMaxColumnSpan = 100;
inline constexpr char kTableTooWide[] = "Table has too many Columns";

// Vertical alignment of a cell's content.
enum : int { kCellTop = 1, kCellMiddle = 2, kCellBottom = 4 };

struct TColObj {
    int width = 0;  // pixels, or tenths of a percent
    bool widthIsPercent = false;
    int verticalAlign = 0;  // an alignment kind, 0 for none
    std::string align;      // lower-case text-align word, empty for none
};

// The frame colours of a table: its cells' sunken frames and its own raised one.
struct TFrameColors {
    platform::TColor light = 0;
    platform::TColor dark = 0;
};

// What rows and cells alike take from their tags and styles: a background and page
// breaks.
struct TTablePart {
    bool hasBackground = false;
    platform::TColor backgroundColor = platform::clNone;
    std::string backgroundImageName;
    TBackgroundPosition backgroundPlacement;
    bool breakBefore = false, breakAfter = false, avoidBreakInside = false;
};

class TCellObj : public TTablePart {
  public:
    TCellObj(TSectionList* document, TProperties& props, const TAttributeList* attributes,
             int verticalAlignment);
    // A print copy.
    TCellObj(TSectionList* document, const TCellObj& source);
    ~TCellObj();
    TCellObj(const TCellObj&) = delete;
    TCellObj& operator=(const TCellObj&) = delete;

    bool IsEmpty() const { return content->items.empty(); }
    bool HasPixelWidth() const { return specifiedWidth > 0 && !widthIsPercent; }
    // Left and top padding plus border: where the content starts inside the area the
    // spacing leaves.
    int ContentInsetX() const { return paddingLeft + borderLeft; }
    int ContentInsetY() const { return paddingTop + borderTop; }

    int colSpan = 1;
    int rowSpan = 1;
    int spanWidth = 0;
    int spanHeight = 0;
    int contentHeight = 0;
    int specifiedHeight = 0;
    int alignOffsetY = 0;
    int verticalAlign = kCellMiddle;
    int specifiedWidth = 0;  // pixels, or tenths of a percent
    bool widthIsPercent = false;
    int emSize = 0, exSize = 0;
    // -1 until the grid is made: then the table's CELLPADDING.
    int paddingTop = -1, paddingRight = -1, paddingBottom = -1, paddingLeft = -1;
    int borderTop = 0, borderRight = 0, borderBottom = 0, borderLeft = 0;
    int horizontalExtra = 0, verticalExtra = 0;
    bool hasBorderStyle = false;
    TBorderSides borderSides;
    std::unique_ptr<TCell> content;
    std::unique_ptr<TImageObj> backgroundImage;
    TBackgroundPainter backgroundPainter;
    bool needsTiling = false;

    // Layout bookkeeping: the row and column the cell starts in and how its content was last
    // laid out, so an unchanged layout is not done twice.
    int row = 0;
    int column = 0;
    int laidOutY = INT32_MIN;
    int laidOutWidth = -1;
    int laidOutCursor = -1;
};

// One column position of a row once the grid is made: the cell that starts there, a
// slot covered by a cell that spans from the left or from above (the filler of that
// cell), or nothing.
struct TTableSlot {
    std::unique_ptr<TCellObj> cell;
    TCellObj* owner = nullptr;  // the cell covering the slot (none for a missing cell)
    int spanBelow = 0;          // while the grid is made: rows a covered slot reaches down
    bool IsCovered() const { return !cell && owner; }
};

class TCellList : public TTablePart {
  public:
    TCellList(TSectionList* document, const TAttributeList* attributes, TProperties& props);
    TCellList(TSectionList* document, const TCellList& source);  // print copy
    // Takes a cell of the row: its page breaks become the row's, and its height is
    // raised to the row's HEIGHT.
    void Add(std::unique_ptr<TCellObj> cell);
    int Count() const { return static_cast<int>(slots.size()); }

    std::vector<TTableSlot> slots;
    int rowHeight = 0;
    int specifiedRowHeight = 0;
    int spannedHeight = 0;
    int topY = 0;  // from the last layout
};

class ThtmlTable : public TSectionBase {
  public:
    ThtmlTable(TSectionList* document, TProperties& props, const TAttributeList* attributes);
    ~ThtmlTable() override;

    // Builder side.
    void AddRow(std::unique_ptr<TCellList> row) { rows.push_back(std::move(row)); }
    void AddColumnSpec(int width, bool widthIsPercent, const std::string& align, int verticalAlign);
    int ColumnSpecCount() const { return static_cast<int>(columnSpecs.size()); }
    const TColObj& ColumnSpec(int index) const {
        return columnSpecs[static_cast<std::size_t>(index)];
    }

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
    bool IsTable() const override { return true; }
    const char* KindName() const override { return "table"; }

    // Makes the grid rectangular once: spans become covered slots, paddings and
    // borders are settled, column settings are applied.
    void EnsureGrid();
    bool HasTooManyColumns() {
        EnsureGrid();
        return tooManyColumns_;
    }
    // The frame colours for drawing on this canvas.
    TFrameColors FrameColors(platform::Canvas& canvas) const;
    // The width the grid comes out at when laid out in `availWidth`.
    int WidthFor(platform::Canvas& canvas, int availWidth);
    // The x of column `column`'s left edge, from the table's left edge.
    int ColumnOffset(int column) const;
    // The x the grid was laid out at (the dump shows cells where they were laid out).
    int LayoutX() const { return layoutX_; }

    std::vector<std::unique_ptr<TCellList>> rows;
    bool gridReady = false;
    int borderWidth = 0;
    bool isFloating = false;
    int columnCount = 0;
    int totalWidth = 0;
    int imposedWidth = 0;
    bool imposedWidthIsPercent = false;
    int imposedHeight = 0;
    bool hasPixelWidths = false;
    int cellPadding = 1;
    int cellSpacing = 2;
    std::vector<int> columnWidths;
    std::vector<int> columnPercents;
    platform::TColor lightBorderColor = platform::clNone;
    platform::TColor darkBorderColor = platform::clNone;
    bool hasBackground = false;
    platform::TColor backgroundColor = platform::clNone;
    std::vector<TColObj> columnSpecs;
    // The block around the grid; anchors into a grid that cannot be laid out move there.
    TTableBlock* owner = nullptr;

  protected:
    ThtmlTable(TSectionList* document, const ThtmlTable& source);

  private:
    // Measuring (Table.cpp).
    const TColumnMeasures& Measure(platform::Canvas& canvas);
    std::vector<int> ColumnsFor(platform::Canvas& canvas, int availWidth);
    int WidthOf(const std::vector<int>& columns) const;
    void MeasureCells(platform::Canvas& canvas);
    // Layout (Table.cpp).
    int LayoutRowHeights(platform::Canvas& canvas, int Y, int availHeight, int& cursor);
    void PlaceCells(platform::Canvas& canvas, int Y, int availHeight, int& cursor);
    int LayoutCellContent(platform::Canvas& canvas, TCellObj& cell, int width, int Y,
                          int availHeight, int& cursor);
    void DrawCell(platform::Canvas& canvas, const platform::Rect& clip, TCellObj& cell, int X,
                  int rowTop, const TFrameColors& frame, int refX, int refY);
    bool PaginateRow(std::size_t index, const platform::Rect& clip);
    // The cell whose column range and drawn rows hold the point (document coordinates).
    TCellObj* CellAt(int X, int Y);
    void RetargetAnchors();
    // Cells in document order.
    template <typename Visit>
    void ForEachCell(Visit visit) const;

    bool tooManyColumns_ = false;
    int layoutX_ = 0;
    int drawX_ = 0;
    // The rows' bottoms including what their cells span, as a running maximum, so the
    // rows that meet a band are found without walking from the first.
    std::vector<int> spannedBottoms_;
    // Cell measures for one layout (they do not depend on the width).
    std::vector<TCellMeasure> cellMeasures_;
    int measuredCycle_ = -1;
    const platform::Canvas* measuredCanvas_ = nullptr;
    TColumnMeasures columns_;
    int measuredForWidth_ = -1;
    // The columns of the last width offered to the block.
    struct {
        std::vector<int> columns;
        int width = -1;
        int cycle = -1;
        int imposedWidth = -1;
    } offered_;
};
