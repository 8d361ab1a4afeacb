#include "layout/Dump.h"

#include <sstream>

#include "layout/Block.h"
#include "layout/Document.h"
#include "layout/ListItem.h"
#include "layout/Rules.h"
#include "layout/Section.h"
#include "platform/CodePage.h"

namespace {

std::string Quoted(const std::u16string& text, int start, int count) {
    std::u16string piece;
    for (int i = start; i < start + count; ++i) {
        const char16_t c = text[static_cast<std::size_t>(i)];
        if (c == kBreakChar) piece += u"\\n";
        else if (c == kObjectChar) piece += u"\\o";
        else if (c == kControlChar) piece += u"\\c";
        else piece += c;
    }
    return "\"" + platform::Utf16ToUtf8(piece) + "\"";
}

void DumpCell(std::ostringstream& out, TCellBasic& cell, platform::Canvas& canvas, int depth);

void DumpItem(std::ostringstream& out, TSectionBase& item, platform::Canvas& canvas, int depth) {
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    out << indent << item.KindName();
    if (auto* block = dynamic_cast<TBlock*>(&item)) {
        out << " " << block->tagAndClass;
        out << " y=" << item.layoutY << " h=" << item.flowHeight << " paint=" << item.paintTopY << ".."
            << item.paintBottomY;
        if (block->notDisplayed) {
            out << " display=none\n";
            return;
        }
        auto box = [&](PropIndex t, PropIndex r, PropIndex b, PropIndex l) {
            return std::to_string(block->Box(t)) + "," + std::to_string(block->Box(r)) + "," +
                   std::to_string(block->Box(b)) + "," + std::to_string(block->Box(l));
        };
        out << " margin=" << box(piMarginTop, piMarginRight, piMarginBottom, piMarginLeft)
            << " border=" << box(piBorderTopWidth, piBorderRightWidth, piBorderBottomWidth, piBorderLeftWidth)
            << " padding=" << box(piPaddingTop, piPaddingRight, piPaddingBottom, piPaddingLeft)
            << " content=" << block->contentLeftX << "," << block->topY << " w=" << block->contentWidth;
        if (block->floatSide) out << " float=" << (block->floatSide == kFloatLeft ? "left" : "right");
        if (block->positioning) out << " position=" << (block->positioning == kPositionAbsolute ? "absolute" : "relative");
        if (block->clearanceSpace) out << " clearance=" << block->clearanceSpace;
        if (auto* li = dynamic_cast<TBlockLI*>(block))
            out << " list=" << li->listKind << " marker=" << li->markerStyle << " number=" << li->itemNumber
                << " baseline=" << li->firstBaseline;
        out << " cursor=" << item.firstCursorPos << "+" << item.cursorCount << "\n";
        DumpCell(out, *block->content, canvas, depth + 1);
        return;
    }
    out << " y=" << item.layoutY << " h=" << item.flowHeight;
    if (item.paintHeight != item.flowHeight) out << " paint=" << item.paintTopY << ".." << item.paintBottomY;
    if (auto* rule = dynamic_cast<THorzLine*>(&item)) {
        out << " x=" << rule->ruleX << " w=" << rule->ruleWidth << " thickness=" << rule->thickness << "\n";
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
            << " x=" << section->layoutX + line.indentX << " y=" << y << " h=" << line.Height();
        if (line.charCount > 0) {
            out << " w=" << section->TextWidth(canvas, line.firstChar, line.charCount, true)
                << " baseline=" << y + line.spaceAbove + line.textHeight - line.descent;
            if (line.spaceAbove || line.spaceBelow) out << " above=" << line.spaceAbove << " below=" << line.spaceBelow;
            if (line.spaceCount) out << " justify=" << line.extraPixels << "/" << line.spaceCount;
            out << " " << Quoted(section->textBuffer, line.firstChar, line.charCount);
        }
        out << "\n";
        y += line.Height();
    }
}

void DumpCell(std::ostringstream& out, TCellBasic& cell, platform::Canvas& canvas, int depth) {
    for (auto& item : cell.items) DumpItem(out, *item, canvas, depth);
}

}  // namespace

std::string DumpLayout(TSectionList& document, platform::Canvas& canvas) {
    std::ostringstream out;
    out << "document\n";
    DumpCell(out, document, canvas, 1);
    return out.str();
}
