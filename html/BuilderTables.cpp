// Tables: TABLE with its rows, cells, caption and column settings (COL, COLGROUP), read into
// a grid inside a table block (and a wrapper when there is a caption).

#include <algorithm>

#include "html/Builder.h"
#include "html/BuilderSupport.h"
#include "html/CellManager.h"
#include "layout/Document.h"
#include "layout/Section.h"
#include "layout/Table.h"
#include "layout/TableBlock.h"
#include "platform/Text.h"

namespace {

// Tables inside tables deeper than this are read as if their TABLE tag were absent.
constexpr int kMaxTableNesting = 10;

// What ends the content of a cell, a caption, or text between the cells.
const TSymbolSet& CellTerminators() {
    static const TSymbolSet set =
        SymbolSet({symTableEnd, symTD, symTDEnd, symTR, symTREnd, symTH, symTHEnd, symCaption,
                   symCaptionEnd, symCol, symColGroup});
    return set;
}

// VALIGN of a row or cell: top (also for baseline), middle or bottom; `fallback` else.
int CellVerticalAlign(const TAttributeList& attributes, int fallback) {
    const TAttribute* a = attributes.FindAttribute(symVAlign);
    if (!a) return fallback;
    const std::string value = platform::AsciiLowerCase(a->StrValue.substr(0, 9));
    if (value == "top" || value == "baseline") return kCellTop;
    if (value == "middle") return kCellMiddle;
    if (value == "bottom") return kCellBottom;
    return fallback;
}

// COL and COLGROUP attributes over the defaults in `spec`.
void ReadColumnAttributes(const TAttributeList& attributes, TColObj& spec, int& span) {
    for (int i = 0; i < attributes.Count(); ++i) {
        const TAttribute& a = attributes[i];
        switch (a.Symbol) {
            case symAlign: {
                const std::string value = platform::AsciiLowerCase(a.StrValue);
                if (value == "middle" || value == "absmiddle" || value == "center" ||
                    value == "left" || value == "right" || value == "justify")
                    spec.align = value;
                break;
            }
            case symVAlign: {
                const std::string value = platform::AsciiLowerCase(a.StrValue);
                if (value == "top")
                    spec.verticalAlign = kAlignTop;
                else if (value == "middle" || value == "absmiddle" || value == "center")
                    spec.verticalAlign = kAlignMiddle;
                else if (value == "baseline")
                    spec.verticalAlign = kAlignBaseline;
                else if (value == "bottom")
                    spec.verticalAlign = kAlignBottom;
                break;
            }
            case symWidth:
                if (a.StrValue.find('%') == std::string::npos) {
                    spec.width = a.IntValue;
                    spec.widthIsPercent = false;
                } else {
                    spec.widthIsPercent = true;
                    spec.width = a.IntValue >= 1 && a.IntValue <= 100 ? a.IntValue * 10 : 0;
                }
                break;
            case symSpan:
                span = std::max(1, a.IntValue);
                break;
            default:
                break;
        }
    }
}

}  // namespace

// What one table keeps while it is read; tables nest, each has its own.
struct THtmlBuilder::TTableBuild {
    TCellBasic* enclosingCell = nullptr;
    std::unique_ptr<TAttributeList> attributes;
    ThtmlTable* grid = nullptr;
    std::unique_ptr<TTableBlock> tableBlock;
    std::unique_ptr<TTableAndCaptionBlock> wrapper;
    std::unique_ptr<TBlock> caption;
    bool captionOnTop = true;
    std::unique_ptr<TCellList> row;
    int rowMark = 0;   // stack depth below the row's entry
    int rowDepth = 0;  // stack depth with the row's entry
    int rowVerticalAlign = kCellMiddle;
    bool beforeFirstCell = true;
    std::unique_ptr<TCellManager> cellManager;
    std::unique_ptr<TCellObj> cell;  // the cell being read
    bool savedNoBreak = false;
    int savedListLevel = 0;
    int RowsSoFar() const { return static_cast<int>(grid->rows.size()); }
};

void THtmlBuilder::ParseTable() {
    if (tableLevel_ >= kMaxTableNesting) {
        Next();
        return;
    }
    ++tableLevel_;
    TTableBuild t;
    EndLink();
    AddSection();
    t.enclosingCell = cell_;
    t.savedNoBreak = noBreak_;
    t.savedListLevel = listLevel_;
    cell_ = nullptr;
    // Inside centred or right-aligned content the table goes there too.
    int inherited = 0;
    if (const PropValue& align = Top()[piTextAlign]; align.isString()) {
        if (align.string() == "center")
            inherited = 2;
        else if (align.string() == "right")
            inherited = 3;
    }
    t.attributes = CopyAttributes(reader_.Attributes);
    TProperties& props = PushProperties("table");
    auto grid = std::make_unique<ThtmlTable>(&doc_, props, t.attributes.get());
    t.grid = grid.get();
    t.tableBlock = std::make_unique<TTableBlock>(&doc_, props, t.enclosingCell, t.attributes.get(),
                                                 std::move(grid), tableLevel_);
    t.tableBlock->TakeInheritedAlign(inherited);
    t.wrapper =
        std::make_unique<TTableAndCaptionBlock>(&doc_, props, t.enclosingCell, t.attributes.get());
    t.rowMark = stack_.Count();
    try {
        Next();
        ReadTableContent(t);
    } catch (...) {
        // A page cut inside a table keeps what was read of it.
        FinishTable(t);
        throw;
    }
    FinishTable(t);
    Next();
}

void THtmlBuilder::ReadTableContent(TTableBuild& t) {
    while (Sy() != symTableEnd && Sy() != symCaptionEnd && Sy() != symEof) {
        switch (Sy()) {
            case symTD:
            case symTH:
                ParseCell(t);
                break;
            case symTDEnd:
            case symTHEnd:
                CloseCell(t);
                Next();
                break;
            case symTR:
                EndLink();
                CloseRow(t);
                t.rowMark = stack_.Count();
                PushProperties("tr");
                ApplyAlign();
                t.rowDepth = stack_.Count();
                t.row = std::make_unique<TCellList>(&doc_, &reader_.Attributes, Top());
                t.rowVerticalAlign = CellVerticalAlign(reader_.Attributes, kCellMiddle);
                Next();
                break;
            case symTREnd:
                EndLink();
                CloseRow(t);
                Next();
                break;
            case symCaption: {
                EndLink();
                noBreak_ = false;
                CloseCell(t);
                if (const TAttribute* a = reader_.Attributes.FindAttribute(symAlign);
                    a && platform::AsciiLowerCase(a->StrValue) == "bottom")
                    t.captionOnTop = false;
                TProperties& props = PushProperties("caption");
                // The caption's margins collapse with nothing outside the wrapper.
                if (!t.caption)
                    t.caption = std::make_unique<TBlock>(&doc_, props, &t.wrapper->content,
                                                         &reader_.Attributes);
                cell_ = &t.caption->content;
                Next();
                ParseFlow(CellTerminators());
                AddSection();
                PopToTag("caption");
                cell_ = nullptr;
                if (Sy() == symCaptionEnd) Next();
                break;
            }
            case symColGroup:
            case symCol:
                ParseColumns(t);
                if (!t.cellManager && t.grid->ColumnSpecCount() > 0)
                    t.cellManager = std::make_unique<TCellManager>();
                break;
            default:
                // Content between the cells stands before the table.
                cell_ = t.enclosingCell;
                ParseFlow(CellTerminators());
                AddSection();
                cell_ = nullptr;
                break;
        }
    }
}

void THtmlBuilder::ParseCell(TTableBuild& t) {
    t.beforeFirstCell = false;
    EndLink();
    listLevel_ = 0;
    if (t.row) {
        CloseCell(t);
        while (stack_.Count() > t.rowDepth) PopTop();
    } else {
        // A cell without a row opens one.
        t.rowVerticalAlign = kCellMiddle;
        t.rowMark = stack_.Count();
        PushBare("tr");
        t.rowDepth = stack_.Count();
        t.row = std::make_unique<TCellList>(&doc_, nullptr, Top());
    }
    const bool header = Sy() == symTH;
    TProperties& props = PushProperties(header ? "th" : "td");
    int verticalAlign = CellVerticalAlign(reader_.Attributes, t.rowVerticalAlign);
    if (t.cellManager) {
        const int column = t.cellManager->FindColNum(t.RowsSoFar(), t.grid->ColumnSpecCount());
        if (column >= 0) {
            const TColObj& spec = t.grid->ColumnSpec(column);
            if (!spec.align.empty()) {
                // "middle" means the centre for a column as it does for ALIGN.
                const bool middle = spec.align == "middle" || spec.align == "absmiddle";
                props.SetFromAttribute(piTextAlign, middle ? std::string("center") : spec.align);
            }
            if (spec.verticalAlign != 0) verticalAlign = spec.verticalAlign;
        }
    }
    ApplyAlign();
    if (const PropValue& align = Top()[piTextAlign]; align.isString() && align.string() == "none")
        Top().SetFromAttribute(piTextAlign, std::string(header ? "center" : "left"));
    t.cell = std::make_unique<TCellObj>(&doc_, Top(), &reader_.Attributes, verticalAlign);
    cell_ = t.cell->content.get();
    // NOWRAP holds unless a width in pixels says where to wrap.
    const TAttribute* width = reader_.Attributes.FindAttribute(symWidth);
    noBreak_ = reader_.Attributes.FindAttribute(symNoWrap) &&
               (!width || width->StrValue.find('%') != std::string::npos);
    reader_.SkipBlanks();
    Next();
    ParseFlow(CellTerminators());
}

void THtmlBuilder::CloseCell(TTableBuild& t) {
    if (cell_) AddSection();
    if (t.cell) {
        if (cell_ == t.cell->content.get()) cell_->DropTrailingParagraphMargin();
        if (t.cellManager)
            t.cellManager->AddCell(t.RowsSoFar(), t.cell->colSpan, t.cell->rowSpan,
                                   t.grid->ColumnSpecCount());
        if (!t.row) t.row = std::make_unique<TCellList>(&doc_, nullptr, Top());
        t.row->Add(std::move(t.cell));
    }
    cell_ = nullptr;
}

void THtmlBuilder::CloseRow(TTableBuild& t) {
    if (!t.row) return;
    CloseCell(t);
    t.grid->AddRow(std::move(t.row));
    while (stack_.Count() > t.rowMark) PopTop();
}

void THtmlBuilder::ParseColumns(TTableBuild& t) {
    TColObj defaults;
    int ignoredSpan = 1;
    if (Sy() == symColGroup) {
        if (t.beforeFirstCell) ReadColumnAttributes(reader_.Attributes, defaults, ignoredSpan);
        reader_.SkipBlanks();
        Next();
    }
    while (Sy() == symCol) {
        // Once the cells have begun, the columns are settled.
        if (t.beforeFirstCell) {
            TColObj spec = defaults;
            int span = 1;
            ReadColumnAttributes(reader_.Attributes, spec, span);
            for (int i = 0; i < std::min(span, kMaxColumnSpan); ++i)
                t.grid->AddColumnSpec(spec.width, spec.widthIsPercent, spec.align,
                                      spec.verticalAlign);
        }
        reader_.SkipBlanks();
        Next();
    }
    if (Sy() == symColGroupEnd) Next();
}

void THtmlBuilder::FinishTable(TTableBuild& t) {
    EndLink();
    CloseCell(t);
    CloseRow(t);
    cell_ = t.enclosingCell;
    if (t.caption) {
        TTableAndCaptionBlock& wrapper = *t.wrapper;
        wrapper.Assemble(std::move(t.tableBlock), std::move(t.caption), t.captionOnTop);
        if (!wrapper.tableId.empty() && doc_.anchors)
            doc_.anchors->AddObject(wrapper.tableId, &wrapper);
        cell_->Add(std::move(t.wrapper));
    } else {
        cell_->Add(std::move(t.tableBlock));
    }
    PopToTag("table");
    noBreak_ = t.savedNoBreak;
    listLevel_ = t.savedListLevel;
    --tableLevel_;
    t.cellManager.reset();
}
