// The builder's entry points, its reset and pre-scan, the main flow of a page, the
// property stack and the BODY tag.

#include "html/Builder.h"

#include <algorithm>
#include <exception>

#include "html/BuilderSupport.h"
#include "html/Charsets.h"
#include "html/Urls.h"
#include "layout/Block.h"
#include "layout/Document.h"
#include "layout/Preformatted.h"
#include "layout/Section.h"
#include "platform/Text.h"
#include "style/Colors.h"
#include "style/StyleParser.h"

namespace {

// The sizes of FONT SIZE 1 to 7 as twelfths of the default font size, for ordinary and
// for preformatted text.
constexpr double kFontSizeTwelfths[7] = {8, 10, 12, 14, 18, 24, 36};
constexpr double kPreFontSizeTwelfths[7] = {7, 8, 10, 12, 15, 20, 30};

// Links counted by the pre-scan beyond which links get no tab stops.
constexpr int kMaxTabbedLinks = 400;

const TSymbolSet& InlineAndObjectSymbols() {
    static const TSymbolSet set = SymbolSet({
        symB,         symI,        symEm,          symStrong,    symU,       symCite,
        symVar,       symS,        symStrike,      symTT,        symCode,    symKbd,
        symSamp,      symSpan,     symSub,         symSup,       symBig,     symSmall,
        symBEnd,      symIEnd,     symEmEnd,       symStrongEnd, symUEnd,    symCiteEnd,
        symVarEnd,    symSEnd,     symStrikeEnd,   symTTEnd,     symCodeEnd, symKbdEnd,
        symSampEnd,   symSpanEnd,  symSubEnd,      symSupEnd,    symBigEnd,  symSmallEnd,
        symBR,        symH,        symHEnd,        symHR,        symPre,     symImg,
        symA,         symAEnd,     symText,        symTable,     symInput,   symSelect,
        symSelectEnd, symTextArea, symTextAreaEnd, symButton,    symFont,    symFontEnd,
        symBaseFont,  symMap,      symPage,        symScript,    symPanel,   symNoBr,
        symNoBrEnd,   symWbr,
    });
    return set;
}

// The style sheet parser makes url(...) references of linked sheets absolute with our
// URL helpers.
void InstallStyleUrlResolver() {
    static const bool installed = [] {
        SetStyleUrlResolver([](const std::string& basePath, const std::string& address) {
            return IsAbsoluteUrl(address) ? address : ResolveRelativeUrl(basePath, address);
        });
        return true;
    }();
    (void)installed;
}

}  // namespace

TSymbolSet SymbolSet(std::initializer_list<THtmlSymbol> symbols) {
    TSymbolSet set;
    for (THtmlSymbol s : symbols) set.set(s);
    return set;
}

std::unique_ptr<TAttributeList> CopyAttributes(const TAttributeList& source) {
    auto copy = std::make_unique<TAttributeList>();
    for (int i = 0; i < source.Count(); ++i) copy->Add(std::make_unique<TAttribute>(source[i]));
    return copy;
}

THtmlParseResult ParseHtml(std::string text, TSectionList& document,
                           const THtmlBuildEvents& events) {
    THtmlBuilder builder(document, events);
    return builder.BuildHtml(std::move(text));
}

void ParseText(std::string text, TSectionList& document) {
    static const THtmlBuildEvents none;
    THtmlBuilder builder(document, none);
    builder.BuildText(std::move(text));
}

THtmlBuilder::THtmlBuilder(TSectionList& document, const THtmlBuildEvents& events)
    : doc_(document), events_(events) {
    InstallStyleUrlResolver();
}

THtmlBuilder::~THtmlBuilder() = default;

// ---------------------------------------------------------------- entry points

THtmlParseResult THtmlBuilder::BuildHtml(std::string text) {
    try {
        Reset(std::move(text));
        PreScan();
        reader_.ResetReadPosition();
        reader_.PreScan = false;
        reader_.OnInclude = events_.OnInclude;
        reader_.Anchors = doc_.anchors.get();
        if (events_.OnProgress) {
            reader_.OnProgress = events_.OnProgress;
            reader_.ProgressBase = doc_.progressBase;
        }
        reader_.NextChar();
        Next();
        ParseFlow(TSymbolSet());
    } catch (const std::exception&) {
        // A page cut inside a comment, bytes that are not text, or anything else that
        // stops the reading: what was built so far is the page.
    }
    Finish();
    return result_;
}

void THtmlBuilder::BuildText(std::string text) {
    try {
        Reset(std::move(text));
        reader_.NoCommentMode = true;
        ParsePlainText();
    } catch (const std::exception&) {
    }
    Finish();
}

void THtmlBuilder::Reset(std::string text) {
    stack_.Reset(*doc_.styleSheet);
    inlineStyles_.clear();
    inlineStyles_.push_back(nullptr);
    unpushed_.clear();
    reader_.CurrentCodePage = [this] { return stack_.Last().TextCodePage; };
    switch (reader_.PrepareDocument(std::move(text))) {
        case TPreparedEncoding::Utf8ByteOrder:
            stack_[0].SetUtf8();
            break;
        case TPreparedEncoding::ShiftJis:
            stack_[0].SetCharset(SHIFTJIS_CHARSET);
            break;
        case TPreparedEncoding::AsWritten:
            break;
    }

    // FONT SIZE follows the default font size the viewer gave the style sheet.
    double defaultSize = 12;
    if (const TProperties* defaults = doc_.styleSheet->DefaultProps()) {
        const PropValue& size = (*defaults)[piFontSize];
        if (size.isNumber() && size.toReal() > 0) defaultSize = size.toReal();
    }
    for (int i = 0; i < 7; ++i) {
        fontSizes_[i] = defaultSize * kFontSizeTwelfths[i] / 12;
        preFontSizes_[i] = defaultSize * kPreFontSizeTwelfths[i] / 12;
    }

    auto body = std::make_unique<TBodyBlock>(&doc_, stack_[0], &doc_, nullptr);
    body_ = body.get();
    doc_.Add(std::move(body));
    cell_ = &body_->content;
    linkTarget_.Clear();
    linkOpen_ = false;
    baseFontSize_ = 3;
    result_ = {};
    listLevel_ = tableLevel_ = 0;
    noBreak_ = false;
    preMode_ = false;
    reader_.NoCommentMode = false;
    form_ = nullptr;
    blockDepth_ = 0;
    bodyApplied_ = false;
    section_.reset();
    OpenSection();
    reader_.CharPos = -1;
}

void THtmlBuilder::PreScan() {
    reader_.PreScan = true;
    int links = 0;
    try {
        reader_.NextChar();
        reader_.NextSymbol();
        while (reader_.Sy != symEof && links <= kMaxTabbedLinks) {
            if (reader_.Sy == symA && reader_.Attributes.FindAttribute(symHref)) ++links;
            reader_.NextSymbol();
        }
    } catch (const std::exception&) {
        // The real reading stops at the same place; the count so far stands.
    }
    doc_.tooManyLinks = links > kMaxTabbedLinks;
    reader_.CharPos = -1;
}

void THtmlBuilder::Finish() {
    reader_.Attributes.Clear();
    if (section_ && cell_) AddSection();
    section_.reset();
    stack_.Clear();
    inlineStyles_.clear();
    linkTarget_.Clear();
}

// ---------------------------------------------------------------- the main flow

bool THtmlBuilder::InlineSymbol(THtmlSymbol sy) const { return InlineAndObjectSymbols()[sy]; }

void THtmlBuilder::ParseFlow(const TSymbolSet& terminators) {
    while (Sy() != symEof && !terminators[Sy()]) {
        const THtmlSymbol sy = Sy();
        switch (sy) {
            case symTitle:
                ParseTitle();
                break;
            case symBody:
                ParseBody();
                Next();
                break;
            case symP:
                ParseParagraph(terminators);
                break;
            case symBase:
                ParseBase();
                break;
            case symOL:
            case symUL:
            case symDir:
            case symMenu:
            case symDL:
                if (ParseList(sy, terminators) && Sy() != symEof && !terminators[Sy()]) Next();
                break;
            case symLI:
                ParseListItem(symNoList, 1, terminators, false, '1');
                break;
            case symDD:
            case symDT:
                ParseListItem(symDL, 1, terminators, false, '1');
                break;
            case symAddress:
            case symBlockquote:
            case symCenter:
            case symForm:
            case symDiv:
                ParseContainer(terminators);
                break;
            case symLink:
                ParseLinkTag();
                break;
            case symFormEnd:
                form_ = nullptr;
                Next();
                break;
            case symBgSound:
                ParseBgSound();
                break;
            case symMeta:
                ParseMeta();
                break;
            case symStyle:
                ParseStyle();
                break;
            default:
                if (InlineSymbol(sy)) ParseInline();
                else Next();
                break;
        }
    }
}

void THtmlBuilder::ParseBody() {
    // Text before the first BODY is stray head matter and goes; text after it is body
    // content, and a later BODY must not throw it away.
    const bool hasContent =
        body_->content.Count() != 0 || (bodyApplied_ && section_ && !section_->IsEmpty());
    if (hasContent || tableLevel_ != 0) return;
    bodyApplied_ = true;
    // Controls in the stray text go with it: nobody sees them, so they send nothing.
    doc_.DropControls();
    // Text before BODY is dropped with the first section; what pointed at it points at
    // the new body instead.
    TSection* discarded = section_.get();

    TProperties& props = PushProperties("body");
    const TProperties* defaults = doc_.styleSheet->DefaultProps();
    int marginWidth = defaults ? (*defaults)[piMarginLeft].toInteger(10) : 10;
    int marginHeight = defaults ? (*defaults)[piMarginTop].toInteger(5) : 5;
    TStyleList& styles = *doc_.styleSheet;
    const auto linkColor = [&styles](const char* key, platform::TColor color) {
        if (TProperties* entry = styles.FindForChange(key))
            (*entry)[piColor] = static_cast<int>(color | platform::clPaletteFlag);
    };
    for (int i = 0; i < reader_.Attributes.Count(); ++i) {
        const TAttribute& a = reader_.Attributes[i];
        platform::TColor color = 0;
        switch (a.Symbol) {
            case symText:
                if (ParseColor(a.StrValue, false, color))
                    props.SetFromAttribute(piColor, static_cast<int>(color));
                break;
            case symBgColor:
                if (ParseColor(a.StrValue, false, color))
                    props.SetFromAttribute(piBackgroundColor, static_cast<int>(color));
                break;
            case symBackground:
                props.SetFromAttribute(piBackgroundImage, "url(" + a.StrValue + ")");
                break;
            case symLink:
                if (ParseColor(a.StrValue, false, color)) linkColor("::link", color);
                break;
            case symVLink:
                if (ParseColor(a.StrValue, false, color)) linkColor("::visited", color);
                break;
            case symOLink:
                if (ParseColor(a.StrValue, false, color)) {
                    linkColor("::hover", color);
                    doc_.hoverLinksOn = true;
                }
                break;
            case symMarginWidth:
                marginWidth = std::clamp(a.IntValue, 0, 200);
                break;
            case symMarginHeight:
                marginHeight = std::clamp(a.IntValue, 0, 200);
                break;
            case symBgProperties:
                if (platform::AsciiLowerCase(a.StrValue) == "fixed")
                    props.SetFromAttribute(piBackgroundAttachment, "fixed");
                break;
            default:
                break;
        }
    }
    props.SetFromAttribute(piMarginLeft, marginWidth);
    props.SetFromAttribute(piMarginRight, marginWidth);
    props.SetFromAttribute(piMarginTop, marginHeight);
    props.SetFromAttribute(piMarginBottom, marginHeight);

    // The old body leaves the document before the new one is made, so the new one does
    // not collapse its top margin with it; it is freed once nothing points at it.
    TBodyBlock* old = body_;
    std::unique_ptr<TSectionBase> oldOwned;
    auto& items = doc_.items;
    for (auto it = items.begin(); it != items.end(); ++it) {
        if (it->get() == old) {
            oldOwned = std::move(*it);
            items.erase(it);
            break;
        }
    }
    auto body = std::make_unique<TBodyBlock>(&doc_, props, &doc_, &reader_.Attributes);
    body_ = body.get();
    if (discarded && discarded->isAnchorTarget) RetargetAnchors(discarded, body_);
    RetargetAnchors(old, body_);
    DiscardSection();
    doc_.Add(std::move(body));
    cell_ = &body_->content;
    OpenSection();
}

// ---------------------------------------------------------------- the property stack

TProperties& THtmlBuilder::PushProperties(const std::string& tag, const std::string& pseudo,
                                          TAttributeList* attributes) {
    if (stack_.Count() >= kMaxPropertyDepth) {
        ++unpushed_[tag];
        return Top();
    }
    TAttributeList& attrs = attributes ? *attributes : reader_.Attributes;
    // The attribute list keeps one STYLE set at a time; the element needs its own for as
    // long as it is open.
    std::unique_ptr<TProperties> style;
    if (const TProperties* parsed = attrs.StyleProperties()) {
        style = std::make_unique<TProperties>();
        style->Copy(*parsed);
    }
    TProperties& props = stack_.PushProperties(*doc_.styleSheet, tag, attrs.ClassValue(),
                                               attrs.IdValue(), style.get(), attrs.TitleValue(),
                                               pseudo);
    inlineStyles_.push_back(std::move(style));
    return props;
}

TProperties& THtmlBuilder::PushBare(const std::string& tag) {
    if (stack_.Count() >= kMaxPropertyDepth) {
        ++unpushed_[tag];
        return Top();
    }
    inlineStyles_.push_back(nullptr);
    return stack_.PushProperties(*doc_.styleSheet, tag, "", "", nullptr, "", "");
}

void THtmlBuilder::PopToTag(const std::string& tag) {
    if (auto it = unpushed_.find(tag); it != unpushed_.end() && it->second > 0) {
        --it->second;
        return;
    }
    for (int i = stack_.Count() - 1; i >= 1; --i) {
        if (stack_[i].ElementTag != tag) continue;
        stack_.PopToTag(tag, *doc_.styleSheet);
        inlineStyles_.erase(inlineStyles_.begin() + i);
        return;
    }
}

void THtmlBuilder::PopTop() {
    if (stack_.Count() <= 1) return;
    stack_.PopTop();
    inlineStyles_.pop_back();
}

void THtmlBuilder::ApplyAlign(const TAttributeList* attributes) {
    const TAttributeList& attrs = attributes ? *attributes : reader_.Attributes;
    const TAttribute* align = attrs.FindAttribute(symAlign);
    if (!align) return;
    std::string value = platform::AsciiLowerCase(align->StrValue);
    if (value == "middle") value = "center";
    if (value == "left" || value == "center" || value == "right" || value == "justify")
        Top().SetFromAttribute(piTextAlign, value);
}

// ---------------------------------------------------------------- sections and cells

void THtmlBuilder::OpenSection(bool startsBlock, const TAttributeList* attributes) {
    if (section_) AddSection();
    const TUrlTarget* link = linkOpen_ ? &linkTarget_ : nullptr;
    if (preMode_)
        section_ = std::make_unique<TPreFormated>(&doc_, startsBlock, Top(), link, cell_, attributes);
    else
        section_ = std::make_unique<TSection>(&doc_, startsBlock, Top(), link, cell_, attributes);
}

void THtmlBuilder::EnsureSection() {
    if (!section_) OpenSection();
}

void THtmlBuilder::AddSection() {
    if (section_) cell_->Add(std::move(section_));
    section_.reset();
}

void THtmlBuilder::DiscardSection() {
    if (!section_) return;
    // The document lists the section's link runs from its first character on.
    for (int i = 0; i < section_->fontRuns.Count(); ++i) doc_.ForgetLinkRun(&section_->fontRuns[i]);
    section_.reset();
}

TBlock& THtmlBuilder::AddBlock(std::unique_ptr<TBlock> block) {
    TBlock& added = *block;
    cell_->Add(std::move(block));
    cell_ = &added.content;
    return added;
}

// A list or division whose last block ends with the automatic paragraph space takes
// that space below itself instead, so it collapses with what follows the list. A larger
// bottom margin of its own is kept: the two margins would have collapsed into the larger
// one, and an author's 30 px under a list must not shrink to the paragraph space.
void THtmlBuilder::TakeOverBottomMargin(TBlock& block) {
    bool trailing = false;
    const auto& items = block.content.items;
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        auto* last = (*it)->AsBlock();
        if (last && last->positioning == kPositionAbsolute) continue;
        trailing = last && last->bottomMarginIsParagraph;
        break;
    }
    if (!trailing) return;
    block.content.DropTrailingParagraphMargin();
    int& bottom = block.boxValues[BoxSlot(piMarginBottom)];
    if (bottom <= kParagraphSpacePixels) {
        bottom = kParagraphSpacePixels;
        block.bottomMarginIsParagraph = true;
    }
}

void THtmlBuilder::RetargetAnchors(const TIDObject* from, TIDObject* to) {
    if (!from || !doc_.anchors) return;
    TIDNameList& anchors = *doc_.anchors;
    std::vector<std::string> names;
    for (int i = 0; i < anchors.Count(); ++i)
        if (anchors.ObjectAt(i) == from) names.push_back(anchors.NameAt(i));
    for (const std::string& name : names) anchors.AddObject(name, to);
}
