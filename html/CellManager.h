#pragma once
// Which column slots of a table with COL settings the cells read so far
// take, so that each new cell finds the settings of the column it lands in.
// A slot is free from the first row below every cell that took it; cells arrive row
// by row, so a column free in the current row stays free in every row below.

#include <cstdint>
#include <vector>

class TCellManager {
  public:
    // The first column (from 0) of the `columns` specified that is free in `row`, or -1.
    int FindColNum(int row, int columns) const;
    // Marks the slots a cell of `colSpan` columns and `rowSpan` rows takes in `row`
    // and below, from the first free column on. When a taken slot stops it short, the
    // cell's column span shrinks to the slots it got.
    void AddCell(int row, int& colSpan, int rowSpan, int columns);

  private:
    bool IsFree(int column, int row) const {
        return static_cast<std::size_t>(column) >= freeFrom_.size() ||
               freeFrom_[static_cast<std::size_t>(column)] <= row;
    }
    std::vector<std::int64_t> freeFrom_;  // per column: the first row in which it is free
};
