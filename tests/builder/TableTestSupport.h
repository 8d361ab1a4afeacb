#pragma once
// Pages with tables as text: the tree of BuilderTestSupport.h with tables shown as
// their rows and cells, and the cells of a built table at hand.

#include "BuilderTestSupport.h"

#include "layout/Table.h"
#include "layout/TableBlock.h"

namespace tabletest {

using buildertest::Page;

inline void DescribeCell(std::ostringstream& out, const TCellBasic& cell, int depth);

inline void DescribeItem(std::ostringstream& out, TSectionBase& item, int depth) {
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    if (auto* grid = dynamic_cast<ThtmlTable*>(&item)) {
        out << indent << "grid border=" << grid->borderWidth << " padding=" << grid->cellPadding
            << " spacing=" << grid->cellSpacing << "\n";
        for (const auto& row : grid->rows) {
            out << indent << "  row\n";
            for (const TTableSlot& slot : row->slots) {
                if (!slot.cell) continue;
                const TCellObj& c = *slot.cell;
                out << indent << "    " << c.content->ownerTag << " " << c.colSpan << "x"
                    << c.rowSpan << " valign=" << c.verticalAlign;
                if (c.specifiedWidth)
                    out << " width=" << c.specifiedWidth << (c.widthIsPercent ? "/1000" : "px");
                out << "\n";
                DescribeCell(out, *c.content, depth + 3);
            }
        }
        return;
    }
    if (auto* block = dynamic_cast<TBlock*>(&item)) {
        out << indent << item.KindName() << " " << block->tagAndClass;
        if (block->floatSide) out << " float=" << int{block->floatSide};
        if (auto* table = dynamic_cast<TTableBlock*>(block); table && table->textAlign)
            out << " align=" << table->textAlign;
        if (auto* wrapper = dynamic_cast<TTableAndCaptionBlock*>(block))
            out << (wrapper->captionFirst ? " caption-first" : " caption-last");
        out << "\n";
        DescribeCell(out, block->content, depth + 1);
        return;
    }
    buildertest::DescribeItem(out, item, depth);
}

inline void DescribeCell(std::ostringstream& out, const TCellBasic& cell, int depth) {
    for (const auto& item : cell.items) DescribeItem(out, *item, depth);
}

inline std::string TableTree(Page& page) {
    std::ostringstream out;
    DescribeCell(out, page.Body().content, 0);
    return out.str();
}

// The grids of the body in document order, nested ones after their table.
inline void CollectGrids(TCellBasic& cell, std::vector<ThtmlTable*>& grids) {
    for (auto& item : cell.items) {
        if (auto* grid = dynamic_cast<ThtmlTable*>(item.get())) {
            grids.push_back(grid);
            for (auto& row : grid->rows)
                for (auto& slot : row->slots)
                    if (slot.cell) CollectGrids(*slot.cell->content, grids);
        } else if (auto* block = dynamic_cast<TBlock*>(item.get())) {
            CollectGrids(block->content, grids);
        }
    }
}

inline std::vector<ThtmlTable*> Grids(Page& page) {
    std::vector<ThtmlTable*> grids;
    CollectGrids(page.Body().content, grids);
    return grids;
}

// The first table block of the body.
inline TTableBlock* FirstTableBlock(TCellBasic& cell) {
    for (auto& item : cell.items) {
        if (auto* table = dynamic_cast<TTableBlock*>(item.get())) return table;
        if (auto* block = dynamic_cast<TBlock*>(item.get()))
            if (TTableBlock* inner = FirstTableBlock(block->content)) return inner;
    }
    return nullptr;
}

// The text-align a cell's first section was given (1 left, 2 centre, 3 right).
inline int CellTextAlign(const TCellObj& cell) {
    for (const auto& item : cell.content->items)
        if (auto* section = dynamic_cast<TSection*>(item.get())) return section->textAlign;
    return 0;
}

}  // namespace tabletest
