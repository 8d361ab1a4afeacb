#include "layout/ListItem.h"

#include <algorithm>

#include "layout/Document.h"
#include "layout/IndentManager.h"

namespace {

enum : int {
    kCircle = 1, kDecimal = 2, kDisc = 3, kLowerAlpha = 4, kLowerRoman = 5, kNoMarker = 6,
    kSquare = 7, kUpperAlpha = 8, kUpperRoman = 9,
};

const char* const kRoman[20] = {"i",   "ii",   "iii",   "iv", "v",   "vi",  "vii",
                                "viii", "ix",  "x",     "xi", "xii", "xiii", "xiv",
                                "xv",  "xvi",  "xvii", "xviii", "xix", "xx"};

// Ends the scope of a first-baseline request even when the layout throws.
class BaselineSink {
public:
    BaselineSink(TSectionList* document, int* target) : document_(document) {
        if (document_) document_->firstBaselineSink = target;
    }
    ~BaselineSink() {
        if (document_) document_->firstBaselineSink = nullptr;
    }

private:
    TSectionList* document_;
};

}  // namespace

TBlockLI::TBlockLI(TSectionList* document, TProperties& props, TCellBasic* parent,
                   const TAttributeList* attributes, int level, int number, char typeLetter,
                   bool plain, THtmlSymbol listSymbol)
    : TBlock(document, props, parent, attributes) {
    switch (listSymbol) {
        case symOL:
            listKind = 1;
            markerStyle = typeLetter == 'A' ? kUpperAlpha
                          : typeLetter == 'I' ? kUpperRoman
                          : typeLetter == 'a' ? kLowerAlpha
                          : typeLetter == 'i' ? kLowerRoman
                                              : kDecimal;
            break;
        case symUL:
        case symDir:
        case symMenu:
            listKind = 2;
            if (plain) markerStyle = kNoMarker;
            else markerStyle = level % 3 == 1 ? kDisc : level % 3 == 2 ? kCircle : kSquare;
            break;
        case symDL:
            listKind = 3;
            break;
        default:
            listKind = 4;
            markerStyle = kDisc;
            if (Box(piMarginLeft) == 0) {
                boxSpecs.Set(BoxSlot(piMarginLeft), 16);
                boxValues[BoxSlot(piMarginLeft)] = 16;
            }
            break;
    }
    itemNumber = number;
    // Only "blank" (0, the lists' own default) keeps the marker chosen above; "none"
    // is the common way to hide a menu's bullets.
    const int style = props.GetListStyleType();
    if (style != 0) markerStyle = static_cast<std::int8_t>(style);
    markerFont = props.GetFont();
    const std::string markerImageName = props.GetListStyleImage();  // list-style-image
    if (!markerImageName.empty() && document)
        markerImage = TImageObj::CreateFromName(document, markerImageName);
}

TBlockLI::TBlockLI(TSectionList* document, const TBlockLI& source)
    : TBlock(document, source),
      listKind(source.listKind),
      markerStyle(source.markerStyle),
      itemNumber(source.itemNumber),
      markerFont(source.markerFont) {
    if (source.markerImage)
        markerImage.reset(static_cast<TImageObj*>(source.markerImage->CreatePrintCopy(document).release()));
}

std::unique_ptr<TSectionBase> TBlockLI::CreatePrintCopy(TSectionList* document) const {
    return std::unique_ptr<TSectionBase>(new TBlockLI(document, *this));
}

std::u16string TBlockLI::MarkerText(int style, int number) {
    std::u16string text;
    switch (style) {
        case kLowerAlpha:
        case kUpperAlpha:
            // Items numbered below 1 take the first letter, like item 1.
            text += static_cast<char16_t>((style == kLowerAlpha ? u'a' : u'A') +
                                          std::clamp(number - 1, 0, 25));
            break;
        case kLowerRoman:
        case kUpperRoman: {
            const char* numeral = kRoman[std::clamp(number, 1, 20) - 1];
            for (const char* c = numeral; *c; ++c)
                text += static_cast<char16_t>(style == kUpperRoman ? *c - 'a' + 'A' : *c);
            break;
        }
        default:
            for (char c : std::to_string(number)) text += static_cast<char16_t>(c);
            break;
    }
    text += u'.';
    return text;
}

int TBlockLI::Layout(platform::Canvas& canvas, int X, int Y, int refX, int refY, int availWidth,
                     int availHeight, IndentManager& indent, int& maxWidth, int& cursor) {
    if (markerImage) {
        markerImage->SizeFor(canvas, availWidth, nullptr);
        if (!markerImage->IsLoaded()) markerImage.reset();
    }
    firstBaseline = 0;
    BaselineSink sink(ownerDocument, &firstBaseline);
    return TBlock::Layout(canvas, X, Y, refX, refY, availWidth, availHeight, indent, maxWidth, cursor);
}

int TBlockLI::Draw(platform::Canvas& canvas, const platform::Rect& clip, IndentManager& indent,
                   int X, int refX, int refY) {
    const int below = TBlock::Draw(canvas, clip, indent, X, refX, refY);
    if (firstBaseline <= 0 || notDisplayed || visibility == 1 || !ownerDocument) return below;
    const int y = firstBaseline + DrawnShiftY() - ownerDocument->scrollY;
    if (y < clip.top - 50 || y > clip.bottom + 50) return below;
    const int x = DrawnX(X) + contentOffsetX;
    if (markerImage && ownerDocument->showImages) {
        markerImage->Draw(canvas, x - 16, y - markerImage->boxHeight);
        return below;
    }
    if (listKind == 3 || listKind == 0) return below;
    const platform::TColor color = markerFont.Color;
    canvas.setPen({color, platform::PenStyle::Solid, 1});
    switch (markerStyle) {
        case kCircle:
            canvas.setBrush({color, platform::BrushStyle::Clear});
            canvas.ellipse({x - 16, y - 7, x - 9, y});
            break;
        case kDisc:
            canvas.setBrush({color, platform::BrushStyle::Solid});
            canvas.ellipse({x - 15, y - 6, x - 10, y - 1});
            break;
        case kSquare:
            canvas.setBrush({color, platform::BrushStyle::Solid});
            canvas.rectangle({x - 15, y - 6, x - 10, y - 1});
            break;
        case kDecimal:
        case kLowerAlpha:
        case kUpperAlpha:
        case kLowerRoman:
        case kUpperRoman: {
            const std::u16string text = MarkerText(markerStyle, itemNumber);
            canvas.setFont(markerFont);
            canvas.setTextColor(color);
            canvas.setBackgroundMode(platform::BackgroundMode::Transparent);
            canvas.setTextAlign(platform::TextAlign::Baseline);
            const int width = canvas.textExtent(text).cx;
            canvas.textOut(x - 10 - width, y, text);
            break;
        }
        default:
            break;
    }
    canvas.setPen({});
    canvas.setBrush({});
    return below;
}
