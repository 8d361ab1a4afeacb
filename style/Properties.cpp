#include "style/Properties.h"

#include <algorithm>
#include <cmath>

#include "platform/Screen.h"
#include "style/Colors.h"
#include "style/Lengths.h"
#include "style/PropStack.h"
#include "style/StyleList.h"
#include "style/ValueText.h"

namespace {

constexpr const char* kPropertyNames[PropCount] = {
    "font-family", "font-size", "font-style", "font-weight", "text-align", "text-decoration",
    "border-style", "color", "background-color", "border-color",
    "margin-top", "margin-right", "margin-bottom", "margin-left",
    "padding-top", "padding-right", "padding-bottom", "padding-left",
    "border-top-width", "border-right-width", "border-bottom-width", "border-left-width",
    "border-top-color", "border-right-color", "border-bottom-color", "border-left-color",
    "border-top-style", "border-right-style", "border-bottom-style", "border-left-style",
    "width", "height", "top", "left",
    "visibility", "line-height", "background-image", "background-position", "background-repeat",
    "background-attachment", "vertical-align", "position", "z-index", "list-style-type",
    "list-style-image", "float", "clear", "text-indent", "page-break-before",
    "page-break-after", "page-break-inside", "text-transform", "display",
};

// What a child gets of its parent's values (unless the parent is a span, which passes
// everything on): these are copied, box properties start afresh, and the rest stay as
// they are (empty in a new element).
constexpr PropIndex kInheritedProperties[] = {
    piFontFamily, piFontSize,   piFontStyle,  piFontWeight, piTextAlign,     piTextDecoration,
    piColor,      piVisibility, piLineHeight, piZIndex,     piListStyleType, piListStyleImage,
    piTextIndent, piTextTransform,
};

// The largest font we ask the platform for; style text can ask for any size.
constexpr int kMaxFontPixels = 10000;

}  // namespace

bool PropertyIndexFromName(std::string_view name, PropIndex& index) {
    for (int i = 0; i < PropCount; ++i) {
        if (name == kPropertyNames[i]) {
            index = static_cast<PropIndex>(i);
            return true;
        }
    }
    return false;
}

const char* PropertyName(PropIndex index) { return kPropertyNames[index]; }

TProperties::TProperties() { Reset(); }

TProperties::~TProperties() = default;

namespace {

// The values of a new set: margins to top and left not given, and a z-index of 0.
const std::array<PropValue, PropCount>& ResetValues() {
    static const std::array<PropValue, PropCount> values = [] {
        std::array<PropValue, PropCount> made;
        for (int i = piMarginTop; i <= piLeft; ++i) made[i].setInteger(NoValue);
        made[piZIndex].setInteger(0);
        return made;
    }();
    return values;
}

}  // namespace

// The state of a new set (the constructor's too).
void TProperties::Reset() {
    CachedFont.reset();
    FontMetrics = {};
    InsideLink = false;
    for (std::string* name : {&ElementTag, &ElementClass, &ElementId, &ElementPseudo, &ElementTitle})
        name->clear();
    StyleAttrProps = nullptr;
    FontBackground = platform::clNone;
    FontCharset = platform::DEFAULT_CHARSET;
    TextCodePage = 1252;
    EmPixels = ExPixels = 0;
    PropValue::AssignPlainRange(Values.data(), ResetValues().data(), PropCount);
    Assigned.fill(false);
    LinkFonts.reset();
}

void TProperties::Copy(const TProperties& source) {
    PropValue::AssignRange(Values.data(), source.Values.data(), PropCount);
}

void TProperties::InitFromDefault(const TProperties& defaultProps) {
    Copy(defaultProps);
    SetCharset(defaultProps.FontCharset);
    ElementTag = "default";
}

void TProperties::Inherit(const TProperties& parent) {
    if (parent.ElementTag == "span") {
        Copy(parent);
    } else {
        for (PropIndex i : kInheritedProperties) Values[i] = parent.Values[i];
        for (int i = piMarginTop; i <= piLeft; ++i)
            Values[i].setInteger(NoValue);
    }
    FontBackground = parent.FontBackground;
    FontCharset = parent.FontCharset;
    TextCodePage = parent.TextCodePage;
    ElementTitle = parent.ElementTitle;
    InsideLink = parent.InsideLink;
    EmPixels = parent.EmPixels;
    ExPixels = EmPixels / 2;
    if (parent.InsideLink && parent.LinkFonts) {
        if (!LinkFonts) LinkFonts = std::make_unique<TFontInfoArray>();
        *LinkFonts = *parent.LinkFonts;
    }
}

void TProperties::Reparent(const TProperties& newParent, TStyleList& styles, TPropStack& stack,
                           int stackIndex) {
    for (int i = 0; i < PropCount; ++i)
        if (!Assigned[i]) Values[i] = newParent.Values[i];
    CachedFont.reset();
    if (!LinkFonts) return;
    if (newParent.InsideLink && newParent.LinkFonts) {
        *LinkFonts = *newParent.LinkFonts;
    } else if (ElementPseudo != "link") {
        LinkFonts.reset();
        InsideLink = false;
    } else {
        ComputeLinkFonts(*this, styles, stack, stackIndex);
    }
}

void TProperties::SetFromAttribute(PropIndex index, const PropValue& value) {
    if (Assigned[index]) return;  // a style rule or style attribute wins
    Values[index] = value;
    Assigned[index] = true;
    if (!InsideLink || !LinkFonts) return;
    for (auto& slot : LinkFonts->Ary) {
        if (index == piFontFamily) slot.Name = value.toText();
        else if (index == piFontSize) slot.Size = value.toReal();
        else if (index == piColor) slot.Color = static_cast<platform::TColor>(value.toInteger());
    }
}

void TProperties::AssignPropertyByName(std::string_view name, const std::string& value) {
    PropIndex index;
    if (PropertyIndexFromName(name, index)) AssignProperty(index, value);
}

void TProperties::StoreColorDeclaration(PropIndex index, const std::string& value) {
    platform::TColor color;
    const bool parsed = ParseColor(value, false, color);
    switch (index) {
        case piColor:
            Values[index] = static_cast<int>(parsed ? color : 0);
            break;
        case piBackgroundColor:
            Values[index] = static_cast<int>(parsed ? color : platform::clNone);
            break;
        case piBorderColor:
            if (!parsed) return;
            Values[piBorderColor] = static_cast<int>(color);
            for (int i = piBorderTopColor; i <= piBorderLeftColor; ++i)
                Values[i] = static_cast<int>(color);
            break;
        default:
            if (parsed) Values[index] = static_cast<int>(color);
            break;
    }
}

void TProperties::AssignProperty(PropIndex index, const std::string& value) {
    switch (index) {
        case piBorderStyle:
            for (int i : {int(piBorderStyle), int(piBorderTopStyle), int(piBorderRightStyle),
                          int(piBorderBottomStyle), int(piBorderLeftStyle)})
                Values[i] = value;
            break;
        case piColor: case piBackgroundColor: case piBorderColor:
        case piBorderTopColor: case piBorderRightColor: case piBorderBottomColor:
        case piBorderLeftColor:
            StoreColorDeclaration(index, value);
            break;
        case piBorderTopStyle: case piBorderRightStyle: case piBorderBottomStyle:
        case piBorderLeftStyle:
            if (value != "none") Values[piBorderStyle] = value;
            Values[index] = value;
            break;
        case piVisibility:
            if (value == "visible") Values[index] = 2;
            else if (value == "hidden") Values[index] = 1;
            break;
        case piTextTransform:
            Values[index] = value == "uppercase" ? 1 : value == "lowercase" ? 2 : 0;
            break;
        default:
            Values[index] = value;
            break;
    }
}

void TProperties::SetCharset(int requested) {
    const std::uint8_t reported = platform::ReportedCharset(requested);
    FontCharset = requested == platform::DEFAULT_CHARSET ? platform::DEFAULT_CHARSET : reported;
    if (LinkFonts)
        for (auto& slot : LinkFonts->Ary) slot.FontCharset = FontCharset;
    int codePage;
    if (CodePageFromCharset(reported, codePage)) TextCodePage = codePage;
}

void TProperties::SetUtf8() {
    TextCodePage = 65001;
    FontCharset = platform::ANSI_CHARSET;
}

void TProperties::SetFontBackground() {
    const PropValue& value = Values[piBackgroundColor];
    if (value.isInteger() && Assigned[piBackgroundColor])
        FontBackground = static_cast<platform::TColor>(value.integer());
}

void TProperties::FillFontInfo(ThtFontInfo& info) const {
    // Strings are read where they are; other values through their text.
    std::string scratch;
    auto text = [&scratch](const PropValue& value) -> std::string_view {
        if (value.isString()) return value.string();
        scratch = value.toText();
        return scratch;
    };
    info.BackgroundColor = FontBackground;
    info.Color = static_cast<platform::TColor>(Values[piColor].toInteger());
    info.Style = 0;
    const std::string_view weight = text(Values[piFontWeight]);
    int weightNumber = 0;
    if (Contains(weight, "bold") || (ReadInteger(weight, weightNumber) && weightNumber >= 600))
        info.Style |= platform::fsBold;
    const std::string_view style = text(Values[piFontStyle]);
    if (style == "italic" || style == "oblique") info.Style |= platform::fsItalic;
    const std::string_view decoration = text(Values[piTextDecoration]);
    if (decoration == "underline") info.Style |= platform::fsUnderline;
    else if (decoration == "line-through") info.Style |= platform::fsStrikeOut;
    info.Size = Values[piFontSize].toReal();
    info.FontCharset = FontCharset;
    const std::string face = ResolveFontName(text(Values[piFontFamily]));
    if (!face.empty()) info.Name = face;
}

namespace {

// Elements mostly have the font of their parent or of a sibling: the last few fonts
// worked out are kept with everything they were worked out from.
struct FontMemo {
    std::array<PropValue, 6> values;
    platform::TColor background = 0;
    std::uint8_t charset = 0;
    int pixelsPerInch = 0;
    int installations = -1;
    TMyFont font;
    platform::TextMetrics metrics;
};
// The family last: it is text, the slowest to compare, and the others mostly tell the
// memos apart first.
constexpr PropIndex kFontProperties[6] = {piFontSize,       piFontStyle, piFontWeight,
                                          piTextDecoration, piColor,     piFontFamily};

}  // namespace

const TMyFont& TProperties::GetFont() {
    if (CachedFont) return *CachedFont;
    static std::array<FontMemo, 8> memos;
    static std::size_t nextMemo = 0;
    const int pixelsPerInch = platform::CurrentPixelsPerInch();
    const int installations = platform::ScreenInstallations();
    auto sameSource = [&](const FontMemo& memo) {
        if (memo.installations != installations || memo.pixelsPerInch != pixelsPerInch ||
            memo.background != FontBackground || memo.charset != FontCharset)
            return false;
        for (std::size_t i = 0; i < 6; ++i)
            if (!(memo.values[i] == Values[kFontProperties[i]])) return false;
        return true;
    };
    for (const FontMemo& memo : memos) {
        if (!sameSource(memo)) continue;
        FontMetrics = memo.metrics;
        EmPixels = FontMetrics.height - FontMetrics.internalLeading;
        ExPixels = EmPixels / 2;
        return CachedFont.emplace(memo.font);
    }

    ThtFontInfo info;
    FillFontInfo(info);
    TMyFont font;
    font.face = info.Name;
    const double pixels = pixelsPerInch * info.Size / 72;
    font.height = -std::clamp(RoundToInt(pixels), -kMaxFontPixels, kMaxFontPixels);
    font.style = info.Style;
    font.charset = info.FontCharset;
    font.Color = info.Color;
    font.BackgroundColor = info.BackgroundColor;
    auto& canvas = platform::Screen().measuringCanvas();
    canvas.setFont(font);
    FontMetrics = canvas.textMetrics();
    EmPixels = FontMetrics.height - FontMetrics.internalLeading;
    ExPixels = EmPixels / 2;

    FontMemo& memo = memos[nextMemo++ % memos.size()];
    for (std::size_t i = 0; i < 6; ++i) memo.values[i] = Values[kFontProperties[i]];
    memo.background = FontBackground;
    memo.charset = FontCharset;
    memo.pixelsPerInch = pixelsPerInch;
    memo.installations = installations;
    memo.font = font;
    memo.metrics = FontMetrics;
    return CachedFont.emplace(std::move(font));
}

void TProperties::CopyLinkFonts(TFontInfoArray& target) const {
    if (LinkFonts) target = *LinkFonts;
}

void TakeMarginLength(const TProperties& props, PropIndex index, int& target) {
    const PropValue& v = props[index];
    if (v.isString()) {
        target = BoundedLength(
            LengthToPixels(v.string(), false, 0, props.EmPixels, props.ExPixels, target));
    } else if (v.isInteger() && v.integer() != NoValue && v.integer() != AutoValue &&
               v.integer() != ParagraphSpace) {
        target = BoundedLength(v.integer());
    }
}
