#include "html/CellManager.h"

#include <algorithm>

int TCellManager::FindColNum(int row, int columns) const {
    for (int c = 0; c < columns; ++c)
        if (IsFree(c, row)) return c;
    return -1;
}

void TCellManager::AddCell(int row, int& colSpan, int rowSpan, int columns) {
    const int first = FindColNum(row, columns);
    if (first < 0) return;
    int marked = 0;
    while (marked < colSpan && first + marked < columns && IsFree(first + marked, row)) ++marked;
    // Running out of specified columns is no reason to shrink: the cell spans on
    // into columns no COL describes.
    if (marked < colSpan && first + marked < columns) colSpan = std::max(1, marked);
    if (freeFrom_.size() < static_cast<std::size_t>(first + marked))
        freeFrom_.resize(static_cast<std::size_t>(first + marked), 0);
    const std::int64_t until = std::int64_t{row} + std::max(1, rowSpan);
    for (int c = first; c < first + marked; ++c)
        freeFrom_[static_cast<std::size_t>(c)] =
            std::max(freeFrom_[static_cast<std::size_t>(c)], until);
}
