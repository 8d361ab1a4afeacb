// Blocks: construction with margin collapsing, width, layout, drawing and queries.

#include "layout/Block.h"

#include <algorithm>
#include <climits>

#include "html/Attributes.h"
#include "layout/Document.h"
#include "layout/IndentManager.h"
#include "layout/TextCollector.h"

namespace {

int Or0(int value) { return value == AutoValue || value == NoValue ? 0 : value; }

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

platform::Interned BlockName(TSectionList* document, std::string_view name) {
    return document ? document->recentBlockNames.Get(name) : platform::Interned(name);
}

// The box the properties give: the document's shared copy when there is a document.
TBoxSpecs SharedBoxSpecs(TSectionList* document, const TProperties& props) {
    if (document) return document->boxSpecPool.Share(props);
    TVMarginArray specs;
    props.GetMarginArray(specs);
    return TBoxSpecs(std::move(specs));
}

}  // namespace

void TBlock::ConvertBox(int baseWidth, int baseHeight, int& autoCount, TBoxNumbers& box) const {
    boxSpecs.Convert(baseWidth, baseHeight, emSize, exSize, autoCount, box);
    box[BoxSlot(piBackgroundColor)] = static_cast<int>(backgroundColor_);
}

TBlock::TBlock(TSectionList* document, TProperties& props, TCellBasic* parent,
               const TAttributeList* attributes)
    : TSectionBase(document),
      boxSpecs(SharedBoxSpecs(document, props)),
      content(document, BlockName(document, props.ElementTag)),
      parentCell(parent) {
    props.GetFont();  // settles the em and ex sizes
    emSize = props.EmPixels;
    exSize = props.ExPixels;
    int clear = 0;
    if (props.GetClear(clear)) clearSides = clear;
    int side = 0;
    if (props.GetFloat(side) && (side == kFloatLeft || side == kFloatRight)) floatSide = side;
    notDisplayed = props.IsDisplayNone();
    if (!props.ElementTitle.empty()) hint_ = std::make_unique<THint>(THint{props.ElementTitle, {}});
    std::string url;
    if (props.GetBackgroundImage(url)) SetBackgroundPicture(url, props);
    positioning = props.GetPosition();
    visibility = props.GetVisibility();
    const TPageBreaks breaks = props.GetPageBreaks();
    breakBefore = breaks.Before;
    breakAfter = breaks.After;
    avoidBreakInside = breaks.AvoidInside;
    const int z = props.GetZIndex();
    if (positioning != kPositionStatic) zOrderKey = z * 10;
    if (positioning == kPositionRelative && z == 0) zOrderKey = 1;
    if (floatSide != 0 && zOrderKey == 0) zOrderKey = 1;
    std::string name;
    name.reserve(props.ElementTag.size() + 1 + props.ElementClass.size());
    name.append(props.ElementTag).append(1, '.').append(props.ElementClass);
    tagAndClass = BlockName(document, name);
    backgroundColor_ = props.GetBackgroundColor();
    fontColor_ = props.GetFont().Color;
    borderColorGiven_ = props.Assigned[piBorderColor];
    for (PropIndex s : {piBorderLeftStyle, piBorderTopStyle, piBorderRightStyle, piBorderBottomStyle})
        if (boxSpecs[BoxSlot(s)].toInteger(0) != 0) hasBorderStyle = true;
    if (attributes && document && document->anchors) {
        const std::string& id = attributes->IdValue();
        if (!id.empty()) document->anchors->AddObject(id, this);
    }
    int autoCount = 0;
    ConvertBox(400, 0, autoCount, boxValues);
    ConvertVerticalMargins(boxSpecs.All(), 400, emSize, exSize, boxValues, topMarginIsParagraph,
                           bottomMarginIsParagraph);
    CollapseMargins();
}

void TBlock::CollapseMargins() {
    int& top = boxValues[BoxSlot(piMarginTop)];
    if (positioning == kPositionAbsolute) {
        if (topMarginIsParagraph) top = 0;
        return;
    }
    if (floatSide != 0 || !parentCell) return;
    TSectionBase* previous = nullptr;
    for (auto it = parentCell->items.rbegin(); it != parentCell->items.rend(); ++it) {
        auto* block = (*it)->AsBlock();
        if (block && block->positioning == kPositionAbsolute) continue;
        previous = it->get();
        break;
    }
    if (!previous) {
        if (topMarginIsParagraph &&
            (parentCell->ownerTag == "li" ||
             (parentCell->ownerTag != "default" && parentCell->ownerTag != "body")))
            top = 0;
        return;
    }
    auto* block = previous->AsBlock();
    if (block && block->IsTable() && block->floatSide != 0) {
        if (topMarginIsParagraph) top = 0;
    } else if (block) {
        int& bottom = block->boxValues[BoxSlot(piMarginBottom)];
        const int B = bottom;
        const int T = top;
        bottom = 0;
        block->bottomMarginIsParagraph = false;
        if (T >= 0 && B >= 0) top = std::max(T, B);
        else if (T < 0 && B < 0) top = std::min(T, B);
        else top = T + B;
    } else if (topMarginIsParagraph && parentCell->ownerTag == "li" &&
               (StartsWith(tagAndClass, "ul.") || StartsWith(tagAndClass, "ol."))) {
        top = 0;
    }
}

TBlock::TBlock(TSectionList* document, const TBlock& source)
    : TSectionBase(document, source),
      boxValues(source.boxValues),
      emSize(source.emSize),
      exSize(source.exSize),
      backgroundColor_(source.backgroundColor_),
      fontColor_(source.fontColor_),
      boxSpecs(source.boxSpecs),
      content(document, source.content.ownerTag),
      parentCell(nullptr),
      tagAndClass(source.tagAndClass),
      boxSizing(source.boxSizing),
      hasBorderStyle(source.hasBorderStyle),
      isListContainer(source.isListContainer),
      floatSide(source.floatSide),
      clearSides(source.clearSides),
      positioning(source.positioning),
      visibility(source.visibility),
      breakBefore(source.breakBefore),
      breakAfter(source.breakAfter),
      avoidBreakInside(source.avoidBreakInside),
      notDisplayed(source.notDisplayed),
      topMarginIsParagraph(source.topMarginIsParagraph),
      bottomMarginIsParagraph(source.bottomMarginIsParagraph),
      borderColorGiven_(source.borderColorGiven_) {
    if (source.hint_) hint_ = std::make_unique<THint>(THint{source.hint_->text, {}});
    content.CopyItemsFrom(source.content, document);
    if (source.background) {
        background = std::make_unique<TBlockBackground>();
        background->imageName = source.background->imageName;
        background->placement = source.background->placement;
        const auto& image = source.background->image;
        if (image && (!source.ownerDocument || source.ownerDocument->showImages))
            background->image.reset(
                static_cast<TImageObj*>(image->CreatePrintCopy(document).release()));
    }
}

TBlock::~TBlock() = default;

void TBlock::SetBackgroundPicture(const std::string& name, TProperties& props) {
    if (name.empty() || background) return;
    background = std::make_unique<TBlockBackground>();
    background->imageName = name;
    props.GetBackgroundPosition(emSize, exSize, background->placement);
    if (ownerDocument) background->image = TImageObj::CreateFromName(ownerDocument, name);
}

std::unique_ptr<TSectionBase> TBlock::CreatePrintCopy(TSectionList* document) const {
    return std::unique_ptr<TSectionBase>(new TBlock(document, *this));
}

int TBlock::LeftExtra() const {
    return Or0(Box(piMarginLeft)) + Box(piBorderLeftWidth) + Box(piPaddingLeft);
}

int TBlock::RightExtra() const {
    return Box(piPaddingRight) + Box(piBorderRightWidth) + Or0(Box(piMarginRight));
}

int TBlock::ResolveContentWidth(platform::Canvas& canvas, int availWidth, int availHeight,
                                int autoCount) {
    int& ml = boxValues[BoxSlot(piMarginLeft)];
    int& mr = boxValues[BoxSlot(piMarginRight)];
    // Only an absolute box's width needs the content's Max; every other one takes
    // max(width, Min), so the content is first asked only whether its Min fits the width
    // the box would have with a Min of 0, and measured when it does not.
    if (positioning != kPositionAbsolute) {
        const int marginLeft = ml, marginRight = mr;
        const int width = ResolveWidthFor(0, 0, availWidth, autoCount);
        if (content.MinWidthAtMost(canvas, width)) return width;
        ml = marginLeft;
        mr = marginRight;
    }
    int min = 0, max = 0;
    content.MeasureWidths(canvas, min, max);
    return ResolveWidthFor(min, max, availWidth, autoCount);
}

int TBlock::ResolveWidthFor(int min, int max, int availWidth, int autoCount) {
    const int S = Box(piPaddingLeft) + Box(piPaddingRight) + Box(piBorderLeftWidth) +
                  Box(piBorderRightWidth);
    int width = Box(piWidth);
    int& ml = boxValues[BoxSlot(piMarginLeft)];
    int& mr = boxValues[BoxSlot(piMarginRight)];
    auto autoWidth = [&] {
        const int margins = Or0(ml) + Or0(mr);
        if (positioning == kPositionAbsolute)
            width = std::min(max, availWidth - S - margins - offsetLeft);
        else
            width = availWidth - S - margins;
        width = std::max(width, min);
    };
    switch (autoCount) {
        case 0:
            width = std::max(width, min);
            break;
        case 1:
            if (width == AutoValue) {
                autoWidth();
            } else {
                width = std::max(width, min);
                if (ml == AutoValue) ml = std::max(0, availWidth - S - mr - width);
                else if (mr == AutoValue) mr = floatSide != 0 ? 0 : std::max(0, availWidth - S - ml - width);
            }
            break;
        case 2:
            if (width == AutoValue) {
                if (ml == AutoValue) ml = 0;
                if (mr == AutoValue) mr = 0;
                autoWidth();
            } else {
                width = std::max(width, min);
                ml = mr = std::max(0, availWidth - width - S) / 2;
            }
            break;
        default:
            ml = mr = 0;
            autoWidth();
            break;
    }
    if (ml == AutoValue) ml = 0;
    if (mr == AutoValue) mr = 0;
    return width;
}

int TBlock::Layout(platform::Canvas& canvas, int X, int Y, int refX, int refY, int availWidth,
                   int availHeight, IndentManager& indent, int& maxWidth, int& cursor) {
    layoutY = Y;
    firstCursorPos = cursor;
    if (notDisplayed) {
        flowHeight = paintHeight = 0;
        maxWidth = 0;
        cursorCount = 0;
        topY = paintTopY = flowBottomY = paintBottomY = Y;
        return 0;
    }
    clearanceSpace = clearSides ? std::max(0, Saturated(indent.ClearY(clearSides, Y), -Y)) : 0;
    maxWidth = availWidth;
    int autoCount = 0;
    ConvertBox(availWidth, availHeight, autoCount, boxValues);
    offsetTop = offsetLeft = 0;
    if (positioning != kPositionStatic) {
        offsetTop = Box(piTop) == AutoValue ? 0 : Box(piTop);
        offsetLeft = Box(piLeft) == AutoValue ? 0 : Box(piLeft);
    }
    const int flowX = X;
    if (positioning == kPositionAbsolute) {
        X = Saturated(refX, offsetLeft);
        Y = Saturated(refY, offsetTop);
    }
    // Drawing finds the box from the X its cell is drawn at (scrolled, printed with a
    // margin, shifted with a relatively positioned ancestor) and from these.
    absoluteShiftX_ = X - flowX;
    boxY_ = Y;
    contentWidth = ResolveContentWidth(canvas, availWidth, availHeight, autoCount);
    const TEdgeOwner savedOwner = indent.currentOwner;
    indent.currentOwner = this;
    const int marginTop = Box(piMarginTop);
    const int boxTop = Saturated(Y, clearanceSpace);
    paintTopY = Saturated(boxTop, marginTop < 0 ? marginTop : 0);
    if (floatSide == kFloatLeft)
        contentOffsetX = Saturated(std::max(X, indent.LeftEdgeAt(boxTop)), LeftExtra(), -X);
    else if (floatSide == kFloatRight)
        contentOffsetX = Saturated(std::min(Saturated(X, availWidth), indent.RightEdgeAt(boxTop)),
                                   -RightExtra(), -contentWidth, -X);
    else
        contentOffsetX = LeftExtra();
    X = Saturated(X, contentOffsetX);
    if (isListContainer) {
        const int shortfall = indent.LeftEdgeAt(boxTop) + 35 - X;
        if (shortfall > 0) {
            contentOffsetX += shortfall;
            contentWidth = std::max(0, contentWidth - shortfall);
            X += shortfall;
        }
    }
    topY = Saturated(boxTop, marginTop, Box(piBorderTopWidth), Box(piPaddingTop));
    const int left = indent.PushLeftEdge(X, topY);
    const int right = indent.PushRightEdge(Saturated(X, contentWidth), topY);
    contentLeftX = X;
    int contentRefX = refX, contentRefY = refY;
    if (positioning == kPositionRelative) {
        // The unshifted origin: the whole content, absolute children with it, is drawn
        // shifted by the offsets, which must not count twice.
        contentRefX = X;
        contentRefY = topY;
    } else if (positioning == kPositionAbsolute) {
        contentRefX = X;
        contentRefY = topY;
    }
    int scrollWidth = 0;
    content.DoLayout(canvas, X, topY, contentWidth, Box(piHeight), contentRefX, contentRefY, indent,
                     scrollWidth, cursor);
    cursorCount = cursor - firstCursorPos;
    maxWidth = Saturated(scrollWidth, LeftExtra(), RightExtra());
    if (positioning != kPositionStatic)
        maxWidth = Saturated(maxWidth, offsetLeft, -Or0(Box(piMarginRight)));
    innerBottomY = std::max(topY, content.itemsFlowBottomY);
    if (innerBottomY - topY < Box(piHeight)) innerBottomY = Saturated(topY, Box(piHeight));
    flowBottomY = Saturated(innerBottomY, Box(piPaddingBottom), Box(piBorderBottomWidth),
                            Box(piMarginBottom));
    paintBottomY = Saturated(std::max(innerBottomY, content.itemsPaintBottomY),
                             Box(piBorderBottomWidth), Box(piPaddingBottom));
    const int height = Saturated(flowBottomY, -Y);
    if (background && background->image && ownerDocument && ownerDocument->showImages) {
        TImageObj& image = *background->image;
        image.SizeFor(canvas, contentWidth, nullptr);
        if (!image.IsLoaded()) {
            background->image.reset();
        } else if (image.PictureShared() != nullptr) {
            background->painter.SetPicture(image.PictureShared(), image.MaskShared());
            background->needsTiling = true;
        }
    }
    indent.PopRightEdge(right);
    indent.PopLeftEdge(left);
    indent.currentOwner = savedOwner;
    if (positioning == kPositionAbsolute || floatSide != 0) {
        if (positioning == kPositionAbsolute) {
            paintHeight = 0;
        } else {
            paintHeight = height;
            if (floatSide == kFloatLeft)
                indent.PlaceFloatBlock(Y, Saturated(X, contentWidth, RightExtra()), floatSide,
                                       Saturated(paintBottomY, -Y));
            else
                indent.PlaceFloatBlock(Y, Saturated(X, -LeftExtra()), floatSide,
                                       Saturated(paintBottomY, -Y));
        }
        flowHeight = 0;
    } else {
        flowHeight = height;
        paintHeight = std::max(Saturated(indent.LowestFloatBottom(), -Y), height);
    }
    BuildPaintOrder();
    content.PaintRange().Reset();
    return flowHeight;
}

void TBlock::BuildPaintOrder() {
    paintOrder.reset();
    const auto& items = content.items;
    if (std::none_of(items.begin(), items.end(),
                     [](const auto& item) { return item->zOrderKey != 0; }))
        return;
    paintOrder = std::make_unique<std::vector<TSectionBase*>>();
    for (auto& item : items) paintOrder->push_back(item.get());
    std::stable_sort(paintOrder->begin(), paintOrder->end(), [](TSectionBase* a, TSectionBase* b) {
        auto rank = [](int key) { return key < 0 ? 0 : key == 0 ? 1 : 2; };
        if (rank(a->zOrderKey) != rank(b->zOrderKey))
            return rank(a->zOrderKey) < rank(b->zOrderKey);
        return a->zOrderKey != 0 && a->zOrderKey < b->zOrderKey;
    });
}

int TBlock::MeasuringExtra(TBoxNumbers& box) const {
    int autoCount = 0;
    ConvertBox(0, 0, autoCount, box);
    return Or0(box[BoxSlot(piMarginLeft)]) + Or0(box[BoxSlot(piMarginRight)]) +
           box[BoxSlot(piBorderLeftWidth)] + box[BoxSlot(piBorderRightWidth)] +
           box[BoxSlot(piPaddingLeft)] + box[BoxSlot(piPaddingRight)];
}

bool TBlock::MinWidthAtMost(platform::Canvas& canvas, int limit) {
    if (notDisplayed) return 0 <= limit;
    // Tables measure their own way.
    if (IsTable() || limit >= kMaxLayoutExtent) return TSectionBase::MinWidthAtMost(canvas, limit);
    TBoxNumbers box{};
    const int extra = MeasuringExtra(box);
    // Min is extra + max(content Min, width), saturated; limit is below the saturation.
    const long long room = static_cast<long long>(limit) - extra;
    if (room < 0) return false;  // a content Min is never negative
    const int fits = static_cast<int>(std::min<long long>(room, INT_MAX));
    const int width = box[BoxSlot(piWidth)];
    if (width != AutoValue && width > fits) return false;
    return content.MinWidthAtMost(canvas, fits);
}

void TBlock::MeasureWidths(platform::Canvas& canvas, int& min, int& max) {
    if (notDisplayed) {
        min = max = 0;
        return;
    }
    int contentMin = 0, contentMax = 0;
    content.MeasureWidths(canvas, contentMin, contentMax);
    TBoxNumbers box{};
    const int extra = MeasuringExtra(box);
    const int width = box[BoxSlot(piWidth)];
    if (width == AutoValue) {
        min = Saturated(extra, contentMin);
        max = Saturated(extra, contentMax);
    } else {
        min = Saturated(extra, std::max(contentMin, width));
        max = min;
    }
}

int TBlock::Draw(platform::Canvas& canvas, const platform::Rect& clip, IndentManager& indent, int X,
                 int refX, int refY) {
    const int below = layoutY + flowHeight;
    if (notDisplayed || !ownerDocument) return below;
    TSectionList& doc = *ownerDocument;
    if (doc.isPrinting && positioning != kPositionAbsolute) {
        const int pageTop = doc.scrollY + clip.top;
        const int pageHeight = clip.bottom - clip.top;
        const int blockTop = layoutY + clearanceSpace + Box(piMarginTop);
        if (breakBefore && !doc.pageIsEmpty && blockTop > pageTop) {
            if (blockTop < doc.pageBottomY) {
                doc.pageBottomY = blockTop;
                doc.pageShortened = true;
            }
            return below;
        }
        if (avoidBreakInside && blockTop > pageTop && paintBottomY > doc.pageBottomY &&
            paintBottomY - blockTop <= pageHeight) {
            doc.pageBottomY = std::min(doc.pageBottomY, blockTop);
            doc.pageShortened = true;
            return below;
        }
        if (IsTable() && blockTop > pageTop + 2 * pageHeight / 3 && paintBottomY > doc.pageBottomY &&
            paintBottomY - blockTop <= pageHeight) {
            doc.pageBottomY = std::min(doc.pageBottomY, blockTop);
            doc.pageShortened = true;
            return below;
        }
        if (breakAfter && flowBottomY > pageTop && flowBottomY < doc.pageBottomY) {
            doc.pageBottomY = flowBottomY;
            doc.pageShortened = true;
        }
    }
    if (visibility == 1) return below;
    const int x = DrawnX(X);
    const int savedScroll = doc.scrollY;
    doc.scrollY -= DrawnShiftY();
    PaintBox(canvas, clip, x, positioning == kPositionAbsolute ? boxY_ : layoutY);
    DrawContent(canvas, clip, indent, x + contentOffsetX, refX, refY);
    doc.scrollY = savedScroll;
    return below;
}

int TBlock::DrawnX(int X) const {
    // Blocks are laid out where their cell starts; drawing may be elsewhere (a table
    // cell, a print copy's page, a scrolled view), so work from the X given now.
    if (positioning == kPositionRelative) return X + offsetLeft;
    if (positioning == kPositionAbsolute) return X + absoluteShiftX_;
    return X;
}

int TBlock::DrawnShiftY() const {
    return positioning == kPositionRelative ? offsetTop : 0;
}

TBorderSides TBlock::Sides() const {
    TBorderSides sides;
    const PropIndex colorSlots[4] = {piBorderLeftColor, piBorderTopColor, piBorderRightColor,
                                     piBorderBottomColor};
    const PropIndex styleSlots[4] = {piBorderLeftStyle, piBorderTopStyle, piBorderRightStyle,
                                     piBorderBottomStyle};
    for (int k = 0; k < 4; ++k) {
        const PropValue& given = boxSpecs[BoxSlot(colorSlots[k])];
        if (given.isInteger() && given.integer() != NoValue)
            sides.colors[k] = static_cast<platform::TColor>(given.integer());
        else if (borderColorGiven_)
            sides.colors[k] = static_cast<platform::TColor>(Box(piBorderColor));
        else
            // No colour given: the text's, as browsers draw it, rather than black, so a
            // "border: 1px solid" round white text on a dark page stays visible.
            sides.colors[k] = fontColor_;
        sides.styles[k] = boxSpecs[BoxSlot(styleSlots[k])].toInteger(0);
    }
    return sides;
}

void TBlock::PaintBox(platform::Canvas& canvas, const platform::Rect& clip, int X, int Y) {
    TSectionList& doc = *ownerDocument;
    const int scroll = doc.scrollY;
    int left;
    if (floatSide != 0)
        left = X + contentOffsetX - Box(piPaddingLeft) - Box(piBorderLeftWidth);
    else
        left = X + Or0(Box(piMarginLeft));
    const int right = left + Box(piBorderLeftWidth) + Box(piPaddingLeft) + contentWidth +
                      Box(piPaddingRight) + Box(piBorderRightWidth);
    const int top = Y + clearanceSpace + Box(piMarginTop) - scroll;
    const int bottom = (floatSide != 0 ? paintBottomY : flowBottomY - Box(piMarginBottom)) - scroll;
    const platform::Rect border{left, top, right, bottom};
    if (hint_) hint_->borderBox = border.translated(0, scroll);
    if (!border.intersects(clip)) return;
    const platform::Rect padding{left + Box(piBorderLeftWidth), top + Box(piBorderTopWidth),
                                 right - Box(piBorderRightWidth), bottom - Box(piBorderBottomWidth)};
    if (backgroundColor_ != platform::clNone && (!doc.isPrinting || doc.printBackgrounds)) {
        platform::Rect fill = padding;
        fill.top = std::max(fill.top, clip.top - 2);
        fill.bottom = std::min(fill.bottom, clip.bottom);
        if (!fill.isEmpty()) canvas.fillRect(fill, backgroundColor_);
    }
    // Only the colour waits for background printing; a picture is part of the page.
    if (background && background->image && background->needsTiling && doc.showImages)
        background->painter.Paint(canvas, padding, clip, background->placement);
    if (hasBorderStyle) PaintBorders(canvas, border, padding);
}

void TBlock::PaintBorders(platform::Canvas& canvas, const platform::Rect& borderRect,
                          const platform::Rect& paddingRect) {
    PaintStyleBorders(canvas, borderRect, paddingRect, Sides(), backgroundColor_);
}

void TBlock::DrawContent(platform::Canvas& canvas, const platform::Rect& clip,
                         IndentManager& indent, int X, int refX, int refY) {
    TSectionList& doc = *ownerDocument;
    const TEdgeOwner savedOwner = indent.currentOwner;
    indent.currentOwner = this;
    if (positioning != kPositionStatic) {
        refX = X;
        refY = topY;
    }
    InPaintOrder([&](const auto& items) {
        TDrawRange& range = content.PaintRange();
        if (!range.Built()) range.Build(items);
        std::size_t first = 0, last = items.size();
        // List markers are drawn up to 50 pixels outside the rectangle; so are their items.
        // A printed page is no different (see TCellBasic::DrawItems).
        range.Visible(items, clip.top + doc.scrollY - 50, clip.bottom + doc.scrollY + 50, first,
                      last);
        for (std::size_t i = first; i < last; ++i)
            items[i]->Draw(canvas, clip, indent, X, refX, refY);
    });
    indent.currentOwner = savedOwner;
}

unsigned TBlock::HitTestLink(platform::Canvas& canvas, int X, int Y, std::string& title,
                             TFormControlObj*& control, const TUrlTarget*& linkTarget) {
    if (notDisplayed) return htNothing;
    unsigned result = htNothing;
    if (hint_ && hint_->borderBox.contains(X, Y)) {
        title = hint_->text;
        result = htTitle;
    }
    return result | content.HitTestLink(canvas, X, Y, title, control, linkTarget);
}

bool TBlock::HitTestImage(int X, int Y, TFloatingObj*& obj, int& IX, int& IY) {
    if (notDisplayed) return false;
    return InPaintOrder([&](const auto& items) {
        for (auto it = items.rbegin(); it != items.rend(); ++it)
            if ((*it)->paintTopY <= Y && Y < (*it)->paintBottomY &&
                (*it)->HitTestImage(X, Y, obj, IX, IY))
                return true;
        return false;
    });
}

int TBlock::CursorAtPoint(platform::Canvas& canvas, int X, int Y, int& XR, int& YR, int& caretHeight,
                          bool& inText) {
    if (notDisplayed) return -1;
    return InPaintOrder([&](const auto& items) {
        for (auto it = items.rbegin(); it != items.rend(); ++it)
            if ((*it)->paintTopY <= Y && Y < (*it)->paintBottomY) {
                const int pos = (*it)->CursorAtPoint(canvas, X, Y, XR, YR, caretHeight, inText);
                if (pos >= 0) return pos;
            }
        return -1;
    });
}

int TBlock::SearchForward(int from, std::u16string_view text, bool matchCase) {
    return notDisplayed ? -1 : content.SearchForward(from, text, matchCase);
}

int TBlock::SearchBackward(int from, std::u16string_view text, bool matchCase) {
    return notDisplayed ? -1 : content.SearchBackward(from, text, matchCase);
}

int TBlock::SourcePosOf(int cursorPos) {
    return notDisplayed ? -1 : content.SourcePosOf(cursorPos);
}

int TBlock::CursorPosOfSource(int sourcePos, bool prev) {
    return notDisplayed ? -1 : content.CursorPosOfSource(sourcePos, prev);
}

bool TBlock::PointOfCursor(platform::Canvas* canvas, int cursor, int& X, int& Y) {
    return !notDisplayed && content.PointOfCursor(canvas, cursor, X, Y);
}

bool TBlock::CharAtCursor(int pos, char16_t& ch, TSectionBase*& obj) {
    return !notDisplayed && content.CharAtCursor(pos, ch, obj);
}

void TBlock::RegisterPositions() {
    if (!notDisplayed) content.RegisterPositions();
}

void TBlock::CopyToClipboard() {
    if (notDisplayed || !ownerDocument) return;
    content.CopyToClipboard();
    if (StartsWith(tagAndClass, "p.") && ownerDocument->textCollector &&
        firstCursorPos + cursorCount < ownerDocument->selEnd)
        ownerDocument->textCollector->AddLineEnd();
}

TBodyBlock::TBodyBlock(TSectionList* document, TProperties& props, TCellBasic* parent,
                       const TAttributeList* attributes)
    : TBlock(document, props, parent, attributes) {
    // The page's own background is drawn by whoever shows the page, over the whole page.
    if (document && background)
        document->SetBackgroundImage(background->imageName, background->placement);
    background.reset();
    if (document) {
        if (backgroundColor_ != platform::clNone) document->SetBackgroundColor(backgroundColor_);
    }
    floatSide = 0;
    clearSides = 0;
}

std::unique_ptr<TSectionBase> TBodyBlock::CreatePrintCopy(TSectionList* document) const {
    return std::unique_ptr<TSectionBase>(new TBodyBlock(document, *this));
}

int TBodyBlock::Layout(platform::Canvas& canvas, int X, int Y, int refX, int refY, int availWidth,
                       int availHeight, IndentManager& indent, int& maxWidth, int& cursor) {
    layoutY = paintTopY = Y;
    firstCursorPos = cursor;
    int autoCount = 0;
    ConvertBox(indent.Width(), availHeight, autoCount, boxValues);
    contentWidth = std::max(0, indent.Width() - LeftExtra() - RightExtra());
    contentOffsetX = LeftExtra();
    clearanceSpace = 0;
    X += contentOffsetX;
    topY = Y + Box(piMarginTop) + Box(piBorderTopWidth) + Box(piPaddingTop);
    const TEdgeOwner savedOwner = indent.currentOwner;
    indent.currentOwner = this;
    const int left = indent.PushLeftEdge(X, topY);
    const int right = indent.PushRightEdge(X + contentWidth, topY);
    contentLeftX = X;
    int scrollWidth = 0;
    content.DoLayout(canvas, X, topY, contentWidth,
                     availHeight - Box(piMarginTop) - Box(piMarginBottom), refX, refY, indent,
                     scrollWidth, cursor);
    indent.PopRightEdge(right);
    indent.PopLeftEdge(left);
    indent.currentOwner = savedOwner;
    cursorCount = cursor - firstCursorPos;
    maxWidth = std::max(indent.Width(),
                        Saturated(scrollWidth, Or0(Box(piMarginLeft)), Or0(Box(piMarginRight))));
    innerBottomY = std::max(topY, content.itemsFlowBottomY);
    flowBottomY = Saturated(innerBottomY, Box(piPaddingBottom), Box(piBorderBottomWidth),
                            Box(piMarginBottom));
    flowHeight = Saturated(flowBottomY, -Y);
    paintHeight = std::max(flowHeight, Saturated(indent.LowestFloatBottom(), -Y));
    paintBottomY = Saturated(Y, paintHeight);
    BuildPaintOrder();
    content.PaintRange().Reset();
    return flowHeight;
}

int TBodyBlock::Draw(platform::Canvas& canvas, const platform::Rect& clip, IndentManager& indent,
                     int X, int refX, int refY) {
    if (!ownerDocument) return layoutY + flowHeight;
    // The viewer paints the document background; the body draws only its items.
    DrawContent(canvas, clip, indent, indent.leftX + LeftExtra(), refX, refY);
    return layoutY + flowHeight;
}

unsigned TBodyBlock::HitTestLink(platform::Canvas& canvas, int X, int Y, std::string& title,
                                 TFormControlObj*& control, const TUrlTarget*& linkTarget) {
    unsigned result = htNothing;
    if (hint_) {
        title = hint_->text;
        result = htTitle;
    }
    return result | content.HitTestLink(canvas, X, Y, title, control, linkTarget);
}
