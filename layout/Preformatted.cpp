#include "layout/Preformatted.h"

#include <algorithm>

#include "layout/Document.h"
#include "layout/IndentManager.h"

std::unique_ptr<TSectionBase> TPreFormated::CreatePrintCopy(TSectionList* document) const {
    return std::unique_ptr<TSectionBase>(new TPreFormated(document, *this));
}

void TPreFormated::FinishText() { FinishBuffers(); }

void TPreFormated::MeasureWidths(platform::Canvas& canvas, int& min, int& max) {
    if (cachedMaxWidth <= 0 && cursorCount > 0) cachedMaxWidth = TextWidth(canvas, 0, cursorCount, false);
    max = cachedMaxWidth;
    min = std::min(2000, max);
}

int TPreFormated::Layout(platform::Canvas& canvas, int X, int Y, int refX, int refY, int availWidth,
                         int availHeight, IndentManager& indent, int& maxWidth, int& cursor) {
    if (cursorCount == 0) {
        topY = paintTopY = layoutY = Y;
        firstCursorPos = cursor;
        lines.clear();
        flowHeight = paintHeight = fontRuns.Empty() ? 0 : fontRuns[0].lineContribution;
        flowBottomY = paintBottomY = Y + flowHeight;
        maxWidth = 0;
        return flowHeight;
    }
    // The whole text is one line, however wide.
    const int savedRight = indent.rightX;
    indent.rightX = indent.leftX + 32000;
    int ignored = 0;
    LayoutLines(canvas, X, Y, 32000, indent, ignored, cursor);
    indent.rightX = savedRight;
    int min = 0;
    MeasureWidths(canvas, min, maxWidth);
    return flowHeight;
}

std::unique_ptr<TSectionBase> TPage::CreatePrintCopy(TSectionList* document) const {
    return std::unique_ptr<TSectionBase>(new TPage(document, *this));
}

int TPage::Draw(platform::Canvas&, const platform::Rect& clip, IndentManager&, int, int, int) {
    if (ownerDocument && ownerDocument->isPrinting) {
        TSectionList& doc = *ownerDocument;
        const int pageTop = doc.scrollY + clip.top;
        if (topY > pageTop + 5 && topY < doc.pageBottomY) {
            doc.pageBottomY = topY;
            doc.pageShortened = true;
        }
    }
    return layoutY + flowHeight;
}
