#include "layout/Rules.h"

#include <algorithm>

#include "html/Attributes.h"
#include "layout/Document.h"
#include "platform/Text.h"
#include "layout/IndentManager.h"
#include "style/Colors.h"

THorzLine::THorzLine(TSectionList* document, TProperties& props, const TAttributeList* attributes)
    : TSectionBase(document) {
    if (attributes) {
        if (const TAttribute* size = attributes->FindAttribute(symSize))
            if (size->IntValue >= 1 && size->IntValue <= 20) thickness = size->IntValue;
        if (const TAttribute* color = attributes->FindAttribute(symColor)) {
            platform::TColor value;
            if (ParseColor(color->StrValue, false, value)) {
                ruleColor = value;
                props[piColor] = static_cast<int>(value);
                props.Assigned[piColor] = true;
            }
        }
        if (const TAttribute* align = attributes->FindAttribute(symAlign)) {
            const std::string value = platform::AsciiLowerCase(align->StrValue);
            if (value == "left") ruleAlign = 1;
            else if (value == "right") ruleAlign = 3;
        }
        if (attributes->FindAttribute(symNoShade)) noShade = true;
        if (const TAttribute* width = attributes->FindAttribute(symWidth)) {
            const std::string& text = width->StrValue;
            const bool percent = !text.empty() && text.back() == '%';
            if (width->IntValue >= 1) {
                if (!percent) props[piWidth] = std::to_string(width->IntValue) + "px";
                else if (width->IntValue <= 100) props[piWidth] = std::to_string(width->IntValue) + "%";
            }
        }
    }
    props[piHeight] = std::to_string(thickness) + "px";
    const platform::TColor assigned = props.GetAssignedColor();
    if (assigned != platform::clNone) ruleColor = assigned;
    const PropValue& align = props[piTextAlign];
    if (align.isString() && props.Assigned[piTextAlign]) {
        if (align.string() == "left") ruleAlign = 1;
        else if (align.string() == "right") ruleAlign = 3;
        else if (align.string() == "center") ruleAlign = 2;
    }
}

THorzLine::THorzLine(TSectionList* document, const THorzLine& source)
    : TSectionBase(document, source),
      thickness(source.thickness),
      ruleColor(source.ruleColor),
      ruleAlign(source.ruleAlign),
      noShade(source.noShade) {}

std::unique_ptr<TSectionBase> THorzLine::CreatePrintCopy(TSectionList* document) const {
    return std::unique_ptr<TSectionBase>(new THorzLine(document, *this));
}

int THorzLine::Layout(platform::Canvas&, int X, int Y, int, int, int availWidth, int,
                      IndentManager& indent, int& maxWidth, int& cursor) {
    topY = paintTopY = layoutY = Y;
    firstCursorPos = cursor;
    const int left = std::max(X, indent.LeftEdgeAt(Y));
    ruleWidth = std::min(X + availWidth - left, indent.RightEdgeAt(Y) - left);
    ruleX = left - indent.leftX;
    ruleOffsetX_ = left - X;
    maxWidth = ruleWidth;
    flowHeight = paintHeight = thickness;
    flowBottomY = paintBottomY = Y + thickness;
    return thickness;
}

int THorzLine::Draw(platform::Canvas& canvas, const platform::Rect& clip, IndentManager& indent,
                    int X, int, int) {
    const int below = layoutY + flowHeight;
    if (!ownerDocument) return below;
    TSectionList& doc = *ownerDocument;
    const int y = topY - doc.scrollY;
    if (y + thickness <= clip.top || y >= clip.bottom) return below;
    if (doc.isPrinting && topY + thickness > doc.pageBottomY) return below;
    // As far right of the X given now as it was laid out (a relatively positioned
    // block draws its content shifted).
    const int x1 = X + ruleOffsetX_;
    const int x2 = x1 + ruleWidth - 1;
    if (ruleColor == platform::clNone) {
        const platform::DeviceCaps caps = canvas.deviceCaps();
        const bool black = noShade || (doc.isPrinting && caps.bitsPerPixel == 1 && caps.planes == 1);
        const platform::TColor shadow = black ? 0 : platform::SystemColorValue(platform::colorButtonShadow);
        const platform::TColor highlight =
            black ? 0
            : (doc.isPrinting || doc.WindowColor() == 0xFFFFFF) ? 0xC0C0C0
                                                                : platform::SystemColorValue(platform::colorButtonHighlight);
        canvas.setPen({shadow, platform::PenStyle::Solid, 1});
        canvas.moveTo(x1, y + thickness - 1);
        canvas.lineTo(x1, y);
        canvas.lineTo(x2, y);
        canvas.setPen({highlight, platform::PenStyle::Solid, 1});
        canvas.lineTo(x2, y + thickness - 1);
        canvas.lineTo(x1, y + thickness - 1);
    } else {
        canvas.fillRect({x1, y, x2 + 1, y + thickness}, ruleColor);
    }
    doc.pageIsEmpty = false;
    return below;
}

void THorzLine::CopyToClipboard() {
    if (ownerDocument && ownerDocument->textCollector) ownerDocument->textCollector->AddLineEnd();
}

THRBlock::THRBlock(TSectionList* document, std::unique_ptr<THorzLine> ruleLine, TProperties& props,
                   TCellBasic* parent, const TAttributeList* attributes)
    : TBlock(document, props, parent, attributes), line(ruleLine.get()) {
    ruleAlign = line->ruleAlign;
    content.Add(std::move(ruleLine));
}

THRBlock::THRBlock(TSectionList* document, const THRBlock& source)
    : TBlock(document, source), line(nullptr), ruleAlign(source.ruleAlign) {
    if (!content.items.empty()) line = dynamic_cast<THorzLine*>(content.items.front().get());
}

std::unique_ptr<TSectionBase> THRBlock::CreatePrintCopy(TSectionList* document) const {
    return std::unique_ptr<TSectionBase>(new THRBlock(document, *this));
}

int THRBlock::ResolveContentWidth(platform::Canvas&, int availWidth, int, int) {
    int& ml = boxValues[BoxSlot(piMarginLeft)];
    int& mr = boxValues[BoxSlot(piMarginRight)];
    if (ml == AutoValue) ml = 0;
    if (mr == AutoValue) mr = 0;
    const int room = availWidth - ml - mr - Box(piBorderLeftWidth) - Box(piBorderRightWidth) -
                     Box(piPaddingLeft) - Box(piPaddingRight);
    const int given = Box(piWidth);
    const int width = given == AutoValue ? std::max(15, room) : std::min(given, room);
    if (ruleAlign != 1) {
        const int spare = room - width;
        ml += ruleAlign == 2 ? spare / 2 : spare;
    }
    if (line && (!ownerDocument || !ownerDocument->isPrintCopy)) line->thickness = Box(piHeight);
    return width;
}
