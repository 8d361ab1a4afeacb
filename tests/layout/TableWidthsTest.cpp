// The column width rules on plain numbers: column measures from cells with and
// without percentages, spans, and the sharing of a width among the columns.

#include <gtest/gtest.h>

#include <vector>

#include "layout/TableWidths.h"

namespace {

using Widths = std::vector<int>;

TCellMeasure Cell(int column, int span, int min, int max, int width = 0, bool percent = false) {
    return {column, span, min, max, width, percent};
}

TColumnMeasures Measures(Widths min, Widths max, Widths percent = {}) {
    TColumnMeasures m;
    m.min = std::move(min);
    m.max = std::move(max);
    m.percent = percent.empty() ? Widths(m.min.size(), 0) : std::move(percent);
    m.percentAware = true;
    return m;
}

}  // namespace

TEST(TableMeasures, SimpleSpanOneAndPixelWidths) {
    TColumnMeasures m;
    MeasureColumns({Cell(0, 1, 20, 40, 100), Cell(1, 1, 10, 50), Cell(1, 1, 15, 30)}, 2, 2, false,
                   0, m);
    // A pixel width raises the maximum (with the spacing), never the minimum.
    EXPECT_EQ(m.min, (Widths{20, 15}));
    EXPECT_EQ(m.max, (Widths{102, 50}));
    EXPECT_EQ(m.TotalMin(), 35);
    EXPECT_EQ(m.TotalMax(), 152);
}

TEST(TableMeasures, SimpleSpansSpreadTheirShortfall) {
    TColumnMeasures m;
    // In proportion to the columns' own widths, the rounding to the first column.
    MeasureColumns({Cell(0, 2, 100, 200), Cell(0, 1, 10, 20), Cell(1, 1, 30, 40)}, 2, 0, false, 0,
                   m);
    EXPECT_EQ(m.min, (Widths{25, 75}));
    EXPECT_EQ(m.max, (Widths{67, 133}));
    // A spanning pixel width is both its minimum and maximum.
    MeasureColumns({Cell(0, 2, 100, 200, 300), Cell(0, 1, 10, 20), Cell(1, 1, 30, 40)}, 2, 0, false,
                   0, m);
    EXPECT_EQ(m.min, (Widths{75, 225}));
    EXPECT_EQ(m.max, (Widths{100, 225}));  // no maximum below its minimum
    // Nothing to go by: all to the first column.
    MeasureColumns({Cell(0, 2, 50, 80)}, 2, 0, false, 0, m);
    EXPECT_EQ(m.min, (Widths{50, 0}));
    EXPECT_EQ(m.max, (Widths{80, 0}));
    // A span past the last column is cut: here to one column, measured before the
    // spanning cell, which then follows its widths.
    MeasureColumns({Cell(0, 2, 50, 80), Cell(1, 9, 5, 6)}, 2, 0, false, 0, m);
    EXPECT_EQ(m.min, (Widths{0, 50}));
    EXPECT_EQ(m.max, (Widths{0, 80}));
}

TEST(TableMeasures, PercentagesFromCellsAndPixelShares) {
    TColumnMeasures m;
    MeasureColumns(
        {Cell(0, 1, 10, 20, 100), Cell(1, 1, 10, 20, 300, true), Cell(1, 1, 5, 5, 200, true)}, 2, 2,
        true, 400, m);
    EXPECT_EQ(m.percent, (Widths{250, 300}));
    EXPECT_EQ(m.max, (Widths{102, 20}));
    // Without a known table width pixels are no share.
    MeasureColumns({Cell(0, 1, 10, 20, 100)}, 1, 2, true, 0, m);
    EXPECT_EQ(m.percent, (Widths{0}));
    // A share never passes the whole.
    MeasureColumns({Cell(0, 1, 10, 20, 900)}, 1, 2, true, 400, m);
    EXPECT_EQ(m.percent, (Widths{1000}));
}

TEST(TableMeasures, SpanningPercentages) {
    TColumnMeasures m;
    // All columns have percentages, fewer than the cell's: they grow to it.
    MeasureColumns({Cell(0, 1, 10, 10, 100, true), Cell(1, 1, 10, 10, 100, true),
                    Cell(0, 2, 40, 60, 500, true)},
                   2, 0, true, 0, m);
    EXPECT_EQ(m.percent, (Widths{250, 250}));
    EXPECT_EQ(m.min, (Widths{20, 20}));  // by percentage
    EXPECT_EQ(m.max, (Widths{30, 30}));
    // Columns without one share what the cell asks beyond the others.
    MeasureColumns({Cell(0, 1, 10, 10, 200, true), Cell(1, 1, 10, 20), Cell(2, 1, 10, 40),
                    Cell(0, 3, 100, 100, 800, true)},
                   3, 0, true, 0, m);
    EXPECT_EQ(m.percent, (Widths{200, 300, 300}));
    // The minimum's shortfall follows the maximums, the maximum's goes to the columns
    // that had no percentage, equally.
    // (a maximum below its minimum is raised to it).
    EXPECT_EQ(m.min, (Widths{20, 30, 50}));
    EXPECT_EQ(m.max, (Widths{20, 35, 55}));
}

TEST(TableColumnWidths, ClassicSharing) {
    const TColumnMeasures m = Measures({10, 20, 30}, {50, 20, 130});
    // Between the minimums and maximums in proportion to what each can give; the
    // rounding to the column that can give most.
    EXPECT_EQ(ColumnWidths(m, 110, false), (Widths{24, 20, 66}));
    EXPECT_EQ(ColumnWidths(m, 500, false), (Widths{50, 20, 130}));
    EXPECT_EQ(ColumnWidths(m, 60, false), (Widths{10, 20, 30}));
    EXPECT_EQ(ColumnWidths(m, 20, false), (Widths{10, 20, 30}));
}

TEST(TableColumnWidths, SimpleMeasure) {
    TColumnMeasures m = Measures({10, 30}, {20, 50});
    m.percentAware = false;
    EXPECT_EQ(ColumnWidths(m, 100, false), (Widths{20, 50}));
    // An imposed width stretches by the same rule.
    EXPECT_EQ(ColumnWidths(m, 100, true), (Widths{30, 70}));
    EXPECT_EQ(ColumnWidths(m, 30, true), (Widths{10, 30}));
    // Minimums that are also the maximums grow in proportion to themselves.
    m.max = {10, 30};
    EXPECT_EQ(ColumnWidths(m, 80, true), (Widths{20, 60}));
}

TEST(TableColumnWidths, PercentagesWithoutAnImposedWidth) {
    // Room for what the percentages ask: the table takes just that.
    const TColumnMeasures half = Measures({10, 10}, {100, 100}, {500, 0});
    EXPECT_EQ(PercentTableWidth(half), 200);
    EXPECT_EQ(ColumnWidths(half, 300, false), (Widths{100, 100}));
    // 100 % and a column without: the table asks for all the room there is, and the
    // free column keeps its minimum while the table is narrower than that.
    const TColumnMeasures full = Measures({20, 20, 30}, {40, 40, 60}, {500, 500, 0});
    EXPECT_EQ(PercentTableWidth(full), 30000);
    EXPECT_EQ(PreferredWidth(full), 30000);
    EXPECT_EQ(ColumnWidths(full, 300, false), (Widths{135, 135, 30}));
    // Even with more room than it asks the free column is not squeezed below its minimum.
    EXPECT_EQ(ColumnWidths(full, 40000, false), (Widths{15000, 15000, 30}));
    // A percentage column whose share is below its minimum loses its percentage.
    const TColumnMeasures small = Measures({200, 10}, {200, 50}, {100, 0});
    EXPECT_EQ(ColumnWidths(small, 500, false), (Widths{200, 50}));
    // Percentages above 100 % are shared the classic way.
    const TColumnMeasures over = Measures({10, 10}, {60, 60}, {700, 700});
    EXPECT_EQ(PercentTableWidth(over), 0);
    EXPECT_EQ(ColumnWidths(over, 70, false), (Widths{35, 35}));
}

TEST(TableColumnWidths, ImposedWidthWithPercentages) {
    // No other columns: what is left goes to the percentage columns by percentage.
    EXPECT_EQ(ColumnWidths(Measures({10, 10}, {10, 10}, {300, 300}), 200, true),
              (Widths{100, 100}));
    // Others share the rest by how much they can grow...
    EXPECT_EQ(ColumnWidths(Measures({10, 20, 20}, {10, 60, 100}, {500, 0, 0}), 300, true),
              (Widths{150, 57, 93}));
    // ...or equally when that is less than a quarter of it.
    EXPECT_EQ(ColumnWidths(Measures({10, 20, 20}, {10, 25, 25}, {500, 0, 0}), 300, true),
              (Widths{150, 75, 75}));
    // A minimum above the share wins and is kept.
    EXPECT_EQ(ColumnWidths(Measures({100, 10, 30}, {100, 10, 30}, {400, 400, 0}), 250, true),
              (Widths{100, 100, 50}));
    // Too wide: percentage columns give back, but not below their minimum.
    EXPECT_EQ(ColumnWidths(Measures({90, 10, 30}, {90, 10, 30}, {500, 500, 0}), 200, true),
              (Widths{90, 80, 30}));
    // Without percentages the minimums grow by flexibility.
    EXPECT_EQ(ColumnWidths(Measures({10, 20}, {30, 100}), 300, true), (Widths{64, 236}));
    // Minimums beyond the room: the minimums.
    EXPECT_EQ(ColumnWidths(Measures({100, 200}, {100, 200}, {500, 500}), 250, true),
              (Widths{100, 200}));
}

TEST(TableColumnWidths, HugeFiguresStayInRange) {
    std::vector<TCellMeasure> cells;
    for (int c = 0; c < 200; ++c)
        cells.push_back(Cell(c, 1, kMaxTableLength, kMaxTableLength, kMaxTableLength));
    cells.push_back(Cell(0, 200, kMaxTableLength, kMaxTableLength, 1000, true));
    for (bool percent : {false, true}) {
        TColumnMeasures m;
        MeasureColumns(cells, 200, 40, percent, kMaxTableLength, m);
        EXPECT_LE(m.TotalMax(), kMaxTableLength);
        for (bool imposed : {false, true}) {
            const Widths widths = ColumnWidths(m, kMaxTableLength, imposed);
            ASSERT_EQ(widths.size(), 200u);
            for (int w : widths) EXPECT_GE(w, 0);
        }
    }
    // No columns at all.
    TColumnMeasures none;
    MeasureColumns({}, 0, 2, true, 0, none);
    EXPECT_TRUE(ColumnWidths(none, 100, true).empty());
    EXPECT_EQ(PreferredWidth(none), 0);
}
