// The built-in style sheet every document starts from, made from the viewer's
// default fonts, colours and margins. The document's own style sheets are read on
// top of it.

#include "style/Lengths.h"
#include "style/StyleList.h"

namespace {

TProperties& NewEntry(TStyleList& styles, const char* key) {
    return styles.AddObject(key, std::make_unique<TProperties>());
}

void SetVerticalMargins(TProperties& entry, const PropValue& value) {
    entry[piMarginTop] = value;
    entry[piMarginBottom] = value;
}

}  // namespace

void TStyleList::BuildDefaults(const std::string& fontName, const std::string& preFontName,
                               double fontSize, platform::TColor fontColor,
                               platform::TColor linkColor, platform::TColor visitedColor,
                               platform::TColor hoverColor, bool linkUnderline, int charset,
                               int marginWidth, int marginHeight) {
    Clear();
    const double d = fontSize;
    SetDefaultPointSize(d);
    auto colorValue = [](platform::TColor color) { return PropValue(static_cast<int>(color)); };

    TProperties& defaults = NewEntry(*this, "default");
    defaults[piFontFamily] = fontName;
    defaults[piFontSize] = d;
    defaults[piFontStyle] = "none";
    defaults[piFontWeight] = "normal";
    defaults[piTextAlign] = "left";
    defaults[piTextDecoration] = "none";
    defaults[piTextTransform] = 0;
    defaults[piColor] = colorValue(fontColor);
    SetVerticalMargins(defaults, marginHeight);
    defaults[piMarginLeft] = marginWidth;
    defaults[piMarginRight] = marginWidth;
    defaults[piVisibility] = 2;
    defaults.FontCharset = static_cast<std::uint8_t>(charset);
    defaultProps_ = &defaults;

    TProperties& link = NewEntry(*this, "::link");
    link[piColor] = colorValue(linkColor | platform::clPaletteFlag);
    link[piTextDecoration] = linkUnderline ? "underline" : "none";
    NewEntry(*this, "::visited")[piColor] = colorValue(visitedColor | platform::clPaletteFlag);
    NewEntry(*this, "::hover")[piColor] = colorValue(hoverColor | platform::clPaletteFlag);
    NewEntry(*this, "null");

    TProperties& pre = NewEntry(*this, "pre");
    pre[piFontFamily] = preFontName;
    pre[piFontSize] = d * 10 / 12;
    pre[piFontStyle] = "none";
    pre[piFontWeight] = "normal";
    pre[piTextDecoration] = "none";

    SetVerticalMargins(NewEntry(*this, "p"), ParagraphSpace);
    // A paragraph anywhere inside preformatted text gets no space above it.
    NewEntry(*this, "p 11pre ")[piMarginTop] = 0;

    for (const char* key : {"ul", "ol", "menu", "dir"}) {
        TProperties& list = NewEntry(*this, key);
        list[piMarginLeft] = 35;
        list[piListStyleType] = "blank";
        SetVerticalMargins(list, ParagraphSpace);
    }
    TProperties& dl = NewEntry(*this, "dl");
    dl[piMarginLeft] = 0;
    SetVerticalMargins(dl, 0);
    dl[piListStyleType] = "none";
    TProperties& dd = NewEntry(*this, "dd");
    dd[piMarginLeft] = 40;
    SetVerticalMargins(dd, 0);
    TProperties& blockquote = NewEntry(*this, "blockquote");
    blockquote[piMarginLeft] = 35;
    blockquote[piMarginTop] = ParagraphSpace;
    blockquote[piMarginBottom] = 14;

    TProperties& code = NewEntry(*this, "code");
    code[piFontFamily] = preFontName;
    code[piFontSize] = "0.833em";
    for (const char* key : {"tt", "kbd", "samp"}) AddCopy(key, code);

    TProperties& bold = NewEntry(*this, "b");
    bold[piFontWeight] = "bold";
    for (const char* key : {"strong", "th"}) AddCopy(key, bold);

    TProperties& sup = NewEntry(*this, "sup");
    sup[piFontSize] = "75%";
    sup[piVerticalAlign] = "super";
    TProperties& sub = NewEntry(*this, "sub");
    sub[piFontSize] = "75%";
    sub[piVerticalAlign] = "sub";
    NewEntry(*this, "big")[piFontSize] = "1.25em";
    NewEntry(*this, "small")[piFontSize] = "0.75em";
    NewEntry(*this, "table")[piTextAlign] = "none";

    TProperties& italic = NewEntry(*this, "i");
    italic[piFontStyle] = "italic";
    for (const char* key : {"em", "cite", "var", "address"}) AddCopy(key, italic);
    NewEntry(*this, "u")[piTextDecoration] = "underline";
    TProperties& strike = NewEntry(*this, "s");
    strike[piTextDecoration] = "line-through";
    AddCopy("strike", strike);
    TProperties& center = NewEntry(*this, "center");
    center[piTextAlign] = "center";
    AddCopy("caption", center);

    TProperties& input = NewEntry(*this, "input");
    input[piFontFamily] = "MS sans serif, sans-serif";
    input[piFontSize] = "10pt";
    input[piFontStyle] = "none";
    input[piFontWeight] = "normal";
    input[piTextAlign] = "left";
    input[piTextDecoration] = "none";
    input[piColor] = colorValue(fontColor);
    AddCopy("select", input);
    AddCopy("textarea", input)[piFontFamily] = preFontName;

    TProperties& hr = NewEntry(*this, "hr");
    hr[piMarginLeft] = 0;
    hr[piMarginRight] = 0;
    hr[piMarginTop] = 10;
    hr[piMarginBottom] = 10;

    static constexpr int kHeadingPoints[6] = {24, 18, 14, 12, 10, 8};
    for (int level = 1; level <= 6; ++level) {
        const std::string key = "h" + std::to_string(level);
        TProperties& heading = NewEntry(*this, key.c_str());
        heading[piFontSize] = d / 12 * kHeadingPoints[level - 1];
        SetVerticalMargins(heading, 19);
        heading[piFontWeight] = "bold";
    }
}
