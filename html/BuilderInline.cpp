// Paragraphs and what flows inside them: phrase and font elements, links, breaks,
// headings, rules, page breaks, image maps, objects.

#include <algorithm>

#include "html/Builder.h"
#include "html/BuilderSupport.h"
#include "html/ImageMaps.h"
#include "html/Urls.h"
#include "layout/Block.h"
#include "layout/Document.h"
#include "layout/ImageObj.h"
#include "layout/PanelObj.h"
#include "layout/Preformatted.h"
#include "layout/Rules.h"
#include "layout/Section.h"
#include "platform/Text.h"
#include "style/Colors.h"
#include "style/Fonts.h"

namespace {

// What a paragraph holds; anything else ends it.
const TSymbolSet& ParagraphSymbols() {
    static const TSymbolSet set = SymbolSet({
        symB,        symI,         symEm,          symStrong,  symU,          symCite,
        symVar,      symTT,        symCode,        symKbd,     symSamp,       symS,
        symStrike,   symSub,       symSup,         symBig,     symSmall,      symFont,
        symA,        symScript,    symNoBr,        symSpan,    symBEnd,       symIEnd,
        symEmEnd,    symStrongEnd, symUEnd,        symCiteEnd, symVarEnd,     symTTEnd,
        symCodeEnd,  symKbdEnd,    symSampEnd,     symSEnd,    symStrikeEnd,  symSubEnd,
        symSupEnd,   symBigEnd,    symSmallEnd,    symFontEnd, symAEnd,       symScriptEnd,
        symNoBrEnd,  symSpanEnd,   symBR,          symImg,     symUnknownTag, symText,
        symInput,    symTextArea,  symTextAreaEnd, symSelect,  symSelectEnd,  symButton,
        symBaseFont, symMap,       symPage,        symPanel,   symWbr,
    });
    return set;
}

// What a heading holds besides paragraphs and divisions.
const TSymbolSet& HeadingSymbols() {
    static const TSymbolSet set = [] {
        TSymbolSet s = ParagraphSymbols();
        s.reset(symMap);
        s.reset(symPage);
        s.set(symHR);
        return s;
    }();
    return set;
}

bool IsSizeElement(THtmlSymbol sy) {
    return sy == symSub || sy == symSup || sy == symBig || sy == symSmall;
}

}  // namespace

void THtmlBuilder::ParseParagraph(const TSymbolSet& terminators) {
    if (terminators[symP]) return;
    AddSection();
    reader_.SkipBlanks();
    // Runs of P and /P make one paragraph, in the style of the last P.
    std::unique_ptr<TAttributeList> attributes = CopyAttributes(reader_.Attributes);
    Next();
    while (Sy() == symP || Sy() == symPEnd) {
        if (Sy() == symP) attributes = CopyAttributes(reader_.Attributes);
        reader_.SkipBlanks();
        Next();
    }
    TProperties& props = PushProperties("p", "", attributes.get());
    ApplyAlign(attributes.get());
    TCellBasic* owner = cell_;
    AddBlock(std::make_unique<TBlock>(&doc_, props, cell_, attributes.get()));
    while (Sy() != symEof && !terminators[Sy()] && ParagraphSymbols()[Sy()]) {
        if (Sy() == symUnknownTag) Next();
        else ParseInline();
    }
    AddSection();
    PopToTag("p");
    cell_ = owner;
    if (Sy() == symPEnd) Next();
}

void THtmlBuilder::ParseInline() {
    const THtmlSymbol sy = Sy();
    switch (sy) {
        case symB: case symI: case symEm: case symStrong: case symU: case symCite: case symVar:
        case symS: case symStrike: case symTT: case symCode: case symKbd: case symSamp:
        case symSpan: case symSub: case symSup: case symBig: case symSmall:
        case symBEnd: case symIEnd: case symEmEnd: case symStrongEnd: case symUEnd:
        case symCiteEnd: case symVarEnd: case symSEnd: case symStrikeEnd: case symTTEnd:
        case symCodeEnd: case symKbdEnd: case symSampEnd: case symSpanEnd: case symSubEnd:
        case symSupEnd: case symBigEnd: case symSmallEnd:
            ParsePhrase();
            return;
        case symFont:
        case symBaseFont:
            ParseFont(false);
            if (section_) section_->StartFontRun(Top());
            Next();
            return;
        case symFontEnd:
            PopToTag("font");
            if (section_) section_->StartFontRun(Top());
            Next();
            return;
        case symText:
            EnsureSection();
            section_->AppendRun(reader_.Token, Top().GetTextTransform(), noBreak_);
            Next();
            return;
        case symA:
            ParseAnchor();
            return;
        case symAEnd:
            EndLink();
            Next();
            return;
        case symBR:
            ParseBreak();
            return;
        case symH:
            ParseHeading();
            return;
        case symHR:
            ParseRule();
            return;
        case symPre:
            ParsePreformatted();
            return;
        case symImg:
        case symPanel:
            ParseImage();
            return;
        case symMap:
            ParseMapTag();
            return;
        case symPage:
            ParsePage();
            return;
        case symScript:
            ParseScript();
            return;
        case symTable:
            ParseTable();
            return;
        case symNoBr:
        case symNoBrEnd:
            if (section_) section_->AppendRun(reader_.Token, 0, noBreak_);
            noBreak_ = sy == symNoBr;
            Next();
            return;
        case symWbr:
            if (noBreak_ && section_) section_->AppendChar(u' ', reader_.TagPos, false);
            Next();
            return;
        case symInput:
        case symSelect:
        case symTextArea:
            ParseFormControl();
            return;
        default:
            // BUTTON is only its text; an end of TEXTAREA or SELECT outside one means
            // nothing. Everything else is skipped too.
            Next();
            return;
    }
}

void THtmlBuilder::ParsePhrase() {
    const THtmlSymbol sy = Sy();
    if (IsEndSymbol(sy)) {
        PopToTag(EndSymbolToTagName(sy));
    } else {
        if (IsSizeElement(sy)) EnsureSection();
        PushProperties(SymbolToTagName(sy)).SetFontBackground();
    }
    if (section_) section_->StartFontRun(Top());
    Next();
}

void THtmlBuilder::ParseFont(bool pre) {
    const bool isBase = Sy() == symBaseFont;
    const TAttributeList& attrs = reader_.Attributes;
    int size = 0;
    if (const TAttribute* a = attrs.FindAttribute(symSize)) {
        size = a->IntValue;
        if (a->StrValue.size() > 1 && (a->StrValue[0] == '+' || a->StrValue[0] == '-'))
            size = baseFontSize_ + a->IntValue;
        size = std::clamp(size, 1, 7);
        if (isBase) baseFontSize_ = size;
    }
    platform::TColor color = 0;
    bool hasColor = false;
    if (const TAttribute* a = attrs.FindAttribute(symColor))
        hasColor = ParseColor(a->StrValue, false, color);
    std::string face;
    if (!isBase)
        if (const TAttribute* a = attrs.FindAttribute(symFace)) face = a->StrValue;
    int charset = 0;
    bool hasCharset = false;
    if (const TAttribute* a = attrs.FindAttribute(symCharset))
        hasCharset = reader_.CharsetFromName(a->StrValue, charset);

    TProperties& props = PushProperties("font");
    props.SetFontBackground();
    if (hasColor)
        props.SetFromAttribute(piColor, static_cast<int>(color | platform::clPaletteFlag));
    if (size > 0) props.SetFromAttribute(piFontSize, (pre ? preFontSizes_ : fontSizes_)[size - 1]);
    if (!face.empty()) props.SetFromAttribute(piFontFamily, ResolveFontName(face));
    if (hasCharset) props.SetCharset(charset);
}

void THtmlBuilder::ParseAnchor() {
    const TAttributeList& attrs = reader_.Attributes;
    const TAttribute* href = attrs.FindAttribute(symHref);
    if (href) {
        EndLink();
        const TAttribute* target = attrs.FindAttribute(symTarget);
        linkTarget_.Assign(href->StrValue, target ? target->StrValue : std::string());
        if (const TAttribute* tab = attrs.FindAttribute(symTabIndex))
            linkTarget_.TabIndex = tab->IntValue;
        linkOpen_ = true;
    }
    std::string name;
    if (const TAttribute* a = attrs.FindAttribute(symName)) {
        name = platform::AnsiUpperCase(a->StrValue);
        if (!name.empty() && name[0] == '#') name.erase(0, 1);
    }
    PushProperties("a", href ? "link" : "").SetFontBackground();
    if (section_) section_->StartFontRun(Top());
    else OpenSection();
    if (!name.empty() && doc_.anchors) {
        doc_.anchors->AddObject(name, section_.get());
        section_->isAnchorTarget = true;
    }
    if (href) section_->LinkBoundary(true, Top(), &linkTarget_);
    Next();
}

void THtmlBuilder::EndLink() {
    if (linkOpen_) {
        linkTarget_.Clear();
        linkOpen_ = false;
    }
    PopToTag("a");
    if (section_) section_->LinkBoundary(false, Top(), nullptr);
}

void THtmlBuilder::ParseBreak() {
    if (reader_.Attributes.FindAttribute(symClear)) {
        AddSection();
    } else {
        EnsureSection();
        section_->AppendChar(kBreakChar, reader_.TagPos, false);
        AddSection();
    }
    // The line after a break is no first line: no text-indent.
    OpenSection(false, &reader_.Attributes);
    Next();
}

void THtmlBuilder::ParseHeading() {
    const int level = reader_.HeadingLevel;
    if (level < 1 || level > 6 || blockDepth_ >= kMaxBlockNesting) {
        Next();
        return;
    }
    TNestingLevel nesting(blockDepth_);
    AddSection();
    const std::string tag = "h" + std::to_string(level);
    PushProperties(tag);
    ApplyAlign();
    std::unique_ptr<TAttributeList> attributes = CopyAttributes(reader_.Attributes);
    reader_.SkipBlanks();
    Next();
    if (Sy() == symCenter) {
        Top()[piTextAlign] = PropValue("center");
        Next();
    }
    TCellBasic* owner = cell_;
    AddBlock(std::make_unique<TBlock>(&doc_, Top(), cell_, attributes.get()));
    OpenSection(true, attributes.get());
    static const TSymbolSet endHeading = SymbolSet({symHEnd});
    for (;;) {
        const THtmlSymbol sy = Sy();
        if (sy == symP) ParseParagraph(TSymbolSet());
        else if (sy == symUnknownTag) Next();
        else if (sy == symDiv) ParseContainer(endHeading);
        else if (HeadingSymbols()[sy]) ParseInline();
        else break;
    }
    AddSection();
    PopToTag(tag);
    cell_ = owner;
    if (Sy() == symHEnd) Next();
}

void THtmlBuilder::ParseRule() {
    AddSection();
    TProperties& props = PushProperties("hr");
    auto line = std::make_unique<THorzLine>(&doc_, props, &reader_.Attributes);
    cell_->Add(
        std::make_unique<THRBlock>(&doc_, std::move(line), props, cell_, &reader_.Attributes));
    PopToTag("hr");
    Next();
}

void THtmlBuilder::ParsePage() {
    AddSection();
    cell_->Add(std::make_unique<TPage>(&doc_));
    if (preMode_) OpenSection();
    Next();
}

void THtmlBuilder::ParseImage() {
    if (Sy() == symPanel) {
        PlacePanel();
        return;
    }
    EnsureSection();
    TProperties& props = PushProperties("img");
    std::string source;
    if (const TAttribute* src = reader_.Attributes.FindAttribute(symSrc); src && !src->StrValue.empty())
        source = events_.ExpandName ? events_.ExpandName(src->StrValue) : UrlToLocalPath(src->StrValue);
    auto image = std::make_unique<TImageObj>(&doc_, reader_.Attributes, source);
    image->ApplyProperties(props);
    section_->PlaceObject(std::move(image), reader_.TagPos);
    PopToTag("img");
    Next();
}

void THtmlBuilder::PlacePanel() {
    EnsureSection();
    TProperties& props = PushProperties("panel");
    auto panel = std::make_unique<TPanelObj>(&doc_, reader_.Attributes);
    panel->ApplyPlacement(props);
    section_->PlaceObject(std::move(panel), reader_.TagPos);
    PopToTag("panel");
    Next();
}

void THtmlBuilder::ParseMapTag() {
    // Preformatted text goes on character by character after the map, from where /MAP
    // (or the tag that cut the map short) left the reader.
    std::unique_ptr<TMapItem> map = ParseMap(reader_, !preMode_);
    if (map) doc_.imageMaps.push_back(std::move(map));
}
