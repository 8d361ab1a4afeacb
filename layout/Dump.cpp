#include "layout/Dump.h"

#include <cstdio>
#include <sstream>

#include "layout/Block.h"
#include "layout/Document.h"
#include "layout/ListItem.h"
#include "layout/Rules.h"
#include "layout/Section.h"
#include "layout/Table.h"
#include "layout/TableBlock.h"
#include "platform/CodePage.h"

namespace {

const char* ControlKind(const TFormControlObj& control) {
    if (auto* edit = dynamic_cast<const TEditFormControlObj*>(&control))
        return edit->isFile ? "file" : edit->password ? "password" : "edit";
    if (auto* button = dynamic_cast<const TButtonFormControlObj*>(&control)) {
        switch (button->kind) {
            case TButtonFormControlObj::Kind::Submit:
                return "submit";
            case TButtonFormControlObj::Kind::Reset:
                return "reset";
            case TButtonFormControlObj::Kind::Browse:
                return "browse";
            case TButtonFormControlObj::Kind::Button:
                return "button";
        }
    }
    if (dynamic_cast<const TCheckBoxFormControlObj*>(&control)) return "checkbox";
    if (dynamic_cast<const TRadioButtonFormControlObj*>(&control)) return "radio";
    if (dynamic_cast<const TImageFormControlObj*>(&control)) return "image";
    if (dynamic_cast<const TListBoxFormControlObj*>(&control)) return "listbox";
    if (dynamic_cast<const TComboFormControlObj*>(&control)) return "combobox";
    if (dynamic_cast<const TTextAreaFormControlObj*>(&control)) return "textarea";
    return "hidden";
}

std::string Quoted(const std::u16string& text, int start, int count) {
    std::u16string piece;
    for (int i = start; i < start + count; ++i) {
        const char16_t c = text[static_cast<std::size_t>(i)];
        if (c == kBreakChar)
            piece += u"\\n";
        else if (c == kObjectChar)
            piece += u"\\o";
        else if (c == kControlChar)
            piece += u"\\c";
        else
            piece += c;
    }
    return "\"" + platform::Utf16ToUtf8(piece) + "\"";
}

// Items inside table cells are laid out from their cell's left edge; `dx` puts them
// where the cell was.
void DumpCell(std::ostringstream& out, TCellBasic& cell, platform::Canvas& canvas, int depth,
              int dx);

std::string Sides(int top, int right, int bottom, int left) {
    return std::to_string(top) + "," + std::to_string(right) + "," + std::to_string(bottom) + "," +
           std::to_string(left);
}

std::string Hex(platform::TColor color) {
    const platform::TColor rgb = platform::ColorToRGB(color);
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", platform::RedOf(rgb), platform::GreenOf(rgb),
                  platform::BlueOf(rgb));
    return text;
}

void DumpTable(std::ostringstream& out, ThtmlTable& table, platform::Canvas& canvas, int depth,
               int dx) {
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    const int x = table.LayoutX() + dx;
    out << indent << "table y=" << table.layoutY << " h=" << table.flowHeight << " x=" << x
        << " w=" << table.totalWidth << " columns=";
    for (std::size_t i = 0; i < table.columnWidths.size(); ++i)
        out << (i ? "," : "") << table.columnWidths[i];
    out << " spacing=" << table.cellSpacing << " padding=" << table.cellPadding
        << " border=" << table.borderWidth << " cursor=" << table.firstCursorPos << "+"
        << table.cursorCount << "\n";
    static const char* const kAligns[] = {"", "top", "middle", "", "bottom"};
    for (const auto& row : table.rows) {
        out << indent << "  row y=" << row->topY << " h=" << row->rowHeight;
        if (row->spannedHeight != row->rowHeight) out << " spanned=" << row->spannedHeight;
        out << "\n";
        for (const TTableSlot& slot : row->slots) {
            if (!slot.cell) continue;
            const TCellObj& cell = *slot.cell;
            const int left = x + table.ColumnOffset(cell.column);
            const int contentX = left + table.cellSpacing + cell.ContentInsetX();
            const int align =
                cell.verticalAlign >= 1 && cell.verticalAlign <= 4 ? cell.verticalAlign : 4;
            out << indent << "    cell col=" << cell.column << " span=" << cell.colSpan << "x"
                << cell.rowSpan << " x=" << left << " y=" << row->topY << " w=" << cell.spanWidth
                << " h=" << cell.spanHeight << " content=" << contentX << "," << cell.content->topY
                << " w=" << std::max(0, cell.spanWidth - table.cellSpacing - cell.horizontalExtra)
                << " h=" << cell.contentHeight
                << " valign=" << (kAligns[align][0] ? kAligns[align] : "bottom");
            if (cell.alignOffsetY) out << " offset=" << cell.alignOffsetY;
            out << " pad="
                << Sides(cell.paddingTop, cell.paddingRight, cell.paddingBottom, cell.paddingLeft)
                << " border="
                << Sides(cell.borderTop, cell.borderRight, cell.borderBottom, cell.borderLeft);
            if (cell.hasBorderStyle)
                out << " style-border";
            else if (table.borderWidth > 0 && !cell.IsEmpty())
                out << " frame";
            if (cell.hasBackground) out << " background=" << Hex(cell.backgroundColor);
            if (cell.specifiedWidth)
                out << " width=" << cell.specifiedWidth << (cell.widthIsPercent ? "/1000" : "px");
            out << " cursor=" << cell.content->firstCursorPos << "+" << cell.content->cursorCount
                << "\n";
            DumpCell(out, *cell.content, canvas, depth + 3, contentX);
        }
    }
}

void DumpItem(std::ostringstream& out, TSectionBase& item, platform::Canvas& canvas, int depth,
              int dx) {
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    if (auto* table = dynamic_cast<ThtmlTable*>(&item)) {
        DumpTable(out, *table, canvas, depth, dx);
        return;
    }
    out << indent << item.KindName();
    if (auto* block = item.AsBlock()) {
        out << " " << block->tagAndClass;
        out << " y=" << item.layoutY << " h=" << item.flowHeight << " paint=" << item.paintTopY
            << ".." << item.paintBottomY;
        if (block->notDisplayed) {
            out << " display=none\n";
            return;
        }
        auto box = [&](PropIndex t, PropIndex r, PropIndex b, PropIndex l) {
            return std::to_string(block->Box(t)) + "," + std::to_string(block->Box(r)) + "," +
                   std::to_string(block->Box(b)) + "," + std::to_string(block->Box(l));
        };
        out << " margin=" << box(piMarginTop, piMarginRight, piMarginBottom, piMarginLeft)
            << " border="
            << box(piBorderTopWidth, piBorderRightWidth, piBorderBottomWidth, piBorderLeftWidth)
            << " padding=" << box(piPaddingTop, piPaddingRight, piPaddingBottom, piPaddingLeft)
            << " content=" << block->contentLeftX + dx << "," << block->topY
            << " w=" << block->contentWidth;
        if (block->floatSide)
            out << " float=" << (block->floatSide == kFloatLeft ? "left" : "right");
        if (block->positioning)
            out << " position="
                << (block->positioning == kPositionAbsolute ? "absolute" : "relative");
        if (block->clearanceSpace) out << " clearance=" << block->clearanceSpace;
        if (auto* li = dynamic_cast<TBlockLI*>(block))
            out << " list=" << int{li->listKind} << " marker=" << int{li->markerStyle}
                << " number=" << li->itemNumber << " baseline=" << li->firstBaseline;
        if (auto* table = dynamic_cast<TTableBlock*>(block)) {
            if (table->textAlign) out << " align=" << (table->textAlign == 2 ? "center" : "right");
            if (table->hasFrameBorder) out << " frame";
            if (table->hasBackground) out << " background=" << Hex(block->Box(piBackgroundColor));
        }
        out << " cursor=" << item.firstCursorPos << "+" << item.cursorCount << "\n";
        DumpCell(out, block->content, canvas, depth + 1, dx);
        return;
    }
    out << " y=" << item.layoutY << " h=" << item.flowHeight;
    if (item.paintHeight != item.flowHeight)
        out << " paint=" << item.paintTopY << ".." << item.paintBottomY;
    if (auto* rule = dynamic_cast<THorzLine*>(&item)) {
        out << " x=" << rule->ruleX + dx << " w=" << rule->ruleWidth
            << " thickness=" << rule->thickness << "\n";
        return;
    }
    auto* section = dynamic_cast<TSection*>(&item);
    if (!section) {
        out << "\n";
        return;
    }
    out << " cursor=" << item.firstCursorPos << "+" << item.cursorCount << "\n";
    int y = section->topY;
    for (const LineRec& line : section->lines) {
        out << indent << "  line offset=" << line.firstChar << " len=" << line.charCount
            << " x=" << section->layoutX + line.indentX + dx << " y=" << y
            << " h=" << line.Height();
        if (line.charCount > 0) {
            out << " w=" << section->TextWidth(canvas, line.firstChar, line.charCount, true)
                << " baseline=" << y + line.spaceAbove + line.textHeight - line.descent;
            if (line.spaceAbove || line.spaceBelow)
                out << " above=" << line.spaceAbove << " below=" << line.spaceBelow;
            if (line.spaceCount) out << " justify=" << line.extraPixels << "/" << line.spaceCount;
            out << " " << Quoted(section->textBuffer.str(), line.firstChar, line.charCount);
        }
        out << "\n";
        y += line.Height();
    }
    for (const TFormControlObj* control : section->Controls())
        out << indent << "  control " << ControlKind(*control) << " offset=" << control->textOffset
            << " y=" << control->topY << " w=" << control->Width() << " h=" << control->Height()
            << (control->name.empty() ? "" : " name=" + control->name)
            << (control->disabled ? " disabled" : "") << "\n";
}

void DumpCell(std::ostringstream& out, TCellBasic& cell, platform::Canvas& canvas, int depth,
              int dx) {
    for (auto& item : cell.items) DumpItem(out, *item, canvas, depth, dx);
}

}  // namespace

std::string DumpLayout(TSectionList& document, platform::Canvas& canvas) {
    std::ostringstream out;
    out << "document\n";
    DumpCell(out, document, canvas, 1, 0);
    return out.str();
}
