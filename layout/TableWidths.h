#pragma once
// Column widths of a table from the widths of its cells: the minimum and maximum
// width of every column (with the percentages cells ask for), and how a given width
// is shared among the columns. Plain numbers in, plain numbers out, so the rules can
// be checked on their own.

#include <cstdint>
#include <vector>

// One cell as the column measures see it.
struct TCellMeasure {
    int column = 0;
    int span = 1;  // columns spanned
    // The content's minimum and maximum widths with the cell's padding, border and
    // the spacing at its left.
    int min = 0;
    int max = 0;
    int width = 0;  // as specified: pixels, or tenths of a percent; 0 for none
    bool widthIsPercent = false;
};

struct TColumnMeasures {
    std::vector<int> min;
    std::vector<int> max;
    std::vector<int> percent;  // tenths of a percent, 0 for none
    bool percentAware = false;

    int Count() const { return static_cast<int>(min.size()); }
    int TotalMin() const;
    int TotalMax() const;
    int PercentSum() const;
};

// Widths are kept far from the int range: a page may ask for any number of pixels.
inline constexpr int kMaxTableLength = 1 << 24;

// The column measures. The simple measure knows pixel widths only; the
// percentage-aware one also percentages, and pixel widths as a share of
// `tableWidth` when that is known (above 0). Cells are taken by the number of
// columns they span, fewest first.
void MeasureColumns(const std::vector<TCellMeasure>& cells, int columnCount, int spacing,
                    bool percentAware, int tableWidth, TColumnMeasures& out);

// The width the columns ask for without the outer spacing: the sum of the maximum
// widths, or more when percentages need more room to come out right.
int PreferredWidth(const TColumnMeasures& measures);

// The percentages' own idea of the table width (0 when there is none): wide enough
// that every percentage column gets its maximum and the others share the rest.
int PercentTableWidth(const TColumnMeasures& measures);

// The width of each column when the columns share `room` (the table width less one
// spacing). `imposed` tells that the table's width is given, not chosen.
std::vector<int> ColumnWidths(const TColumnMeasures& measures, int room, bool imposed);
