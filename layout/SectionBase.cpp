#include "layout/SectionBase.h"

#include "layout/Document.h"
#include "layout/IndentManager.h"

TSectionBase::TSectionBase(TSectionList* document) : ownerDocument(document) {}

TSectionBase::TSectionBase(TSectionList* document, const TSectionBase& source)
    : ownerDocument(document), flowHeight(source.flowHeight), zOrderKey(source.zOrderKey) {}

TSectionBase::~TSectionBase() = default;

int TSectionBase::GetTopY() { return topY; }

std::unique_ptr<TSectionBase> TSectionBase::CreatePrintCopy(TSectionList* document) const {
    return std::unique_ptr<TSectionBase>(new TSectionBase(document, *this));
}

void TSectionBase::CopyToClipboard() {}

int TSectionBase::Layout(platform::Canvas&, int, int Y, int, int, int, int, IndentManager& indent,
                         int& maxWidth, int& cursor) {
    firstCursorPos = cursor;
    paintHeight = flowHeight;
    maxWidth = indent.Width();
    topY = paintTopY = layoutY = Y;
    flowBottomY = Y + flowHeight;
    paintBottomY = Y + paintHeight;
    return flowHeight;
}

int TSectionBase::Draw(platform::Canvas&, const platform::Rect&, IndentManager&, int, int, int) {
    return layoutY + flowHeight;
}

unsigned TSectionBase::HitTestLink(platform::Canvas&, int, int, std::string&, TFormControlObj*&,
                                   const TUrlTarget*&) {
    return htNothing;
}

bool TSectionBase::HitTestImage(int, int, TFloatingObj*&, int&, int&) { return false; }

int TSectionBase::CursorAtPoint(platform::Canvas&, int, int, int&, int&, int&, bool&) { return -1; }

int TSectionBase::SearchForward(int, std::u16string_view, bool) { return -1; }
int TSectionBase::SearchBackward(int, std::u16string_view, bool) { return -1; }
int TSectionBase::SourcePosOf(int) { return -1; }
int TSectionBase::CursorPosOfSource(int, bool) { return -1; }
bool TSectionBase::PointOfCursor(platform::Canvas*, int, int&, int&) { return false; }
bool TSectionBase::CharAtCursor(int, char16_t&, TSectionBase*&) { return false; }

void TSectionBase::MeasureWidths(platform::Canvas&, int& min, int& max) { min = max = 0; }

bool TSectionBase::MinWidthAtMost(platform::Canvas& canvas, int limit) {
    int min = 0, max = 0;
    MeasureWidths(canvas, min, max);
    return min <= limit;
}

void TSectionBase::RegisterPositions() {
    if (ownerDocument) ownerDocument->ListItem(this);
}
