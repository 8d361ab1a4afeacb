#pragma once
// The document builder: reads a page symbol by symbol and fills a document tree with
// sections, blocks, list items, rules and preformatted lines. A recursive-descent
// reader without a DOM: each box-making element has a routine that opens its block,
// reads its content until a terminating symbol turns up and closes the block.
//
// The routines are spread by concern: Builder.cpp (entry points, reset, pre-scan, the
// main flow, the property stack, body attributes), BuilderHead.cpp (title, meta, link,
// style, sound, script, base), BuilderInline.cpp (paragraphs, inline elements, fonts,
// headings, breaks, rules, maps), BuilderBlocks.cpp (lists, items, containers,
// preformatted text, plain text), BuilderTables.cpp (tables), BuilderForms.cpp (form
// controls).

#include <bitset>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "html/Anchors.h"
#include "html/Lexer.h"
#include "html/Symbols.h"
#include "style/PropStack.h"

class TSectionList;
class TCellBasic;
class TSection;
class TBlock;
class TBodyBlock;
class TProperties;
class ThtmlForm;
class TSelectFormControlObj;
class TTextAreaFormControlObj;

// What the host of a document wants to hear about while a page is built. Any of them
// may be left empty.
struct THtmlBuildEvents {
    // LINK tags: (rel, rev, href).
    std::function<void(const std::string&, const std::string&, const std::string&)> OnLink;
    // META tags: (http-equiv, name, content).
    std::function<void(const std::string&, const std::string&, const std::string&)> MetaHandler;
    // BGSOUND: (src, loop, terminate).
    std::function<void(const std::string&, int, bool)> OnSoundRequest;
    TIncludeEvent OnInclude;
    // SCRIPT content: (name, language, script). Without it scripts are read and dropped.
    std::function<void(const std::string&, const std::string&, const std::string&)> OnScript;
    // The host's stream request: the bytes of a linked file; false when it has none.
    std::function<bool(const std::string& src, std::string& stream)> OnStreamRequest;
    // The host's own file-name expansion event, consulted before a stream request.
    std::function<std::string(const std::string& name)> OnExpandName;
    // The viewer's built-in expansion of a link to a file name; when empty, the link is
    // read as a local path.
    std::function<std::string(const std::string& name)> ExpandName;
    // BASE HREF: names read after it start from there.
    std::function<void(const std::string& base)> OnBase;
    // Progress while reading: offset * document.progressBase / length.
    std::function<void(int)> OnProgress;
};

// What the viewer reads from the page after the build.
struct THtmlParseResult {
    std::string Title;  // in the system code page
    std::string BaseUrl;
    std::string BaseTarget;
};

// Builds `document` (cleared, with its defaults set) from HTML text. Never throws for
// bad input: whatever was read before a fault stays in the document.
THtmlParseResult ParseHtml(std::string text, TSectionList& document,
                           const THtmlBuildEvents& events = {});
// Builds `document` from plain text: one preformatted line per line of text.
void ParseText(std::string text, TSectionList& document);

// Block elements nested deeper than this are read as if their tags were absent: their
// content flows into the innermost open block. Pages nest a handful of levels; the limit
// keeps hostile ones from exhausting the stack.
inline constexpr int kMaxBlockNesting = 200;
// Open inline elements beyond this many are not given property sets of their own.
inline constexpr int kMaxPropertyDepth = 1000;

using TSymbolSet = std::bitset<symCount>;

class THtmlBuilder {
  public:
    THtmlBuilder(TSectionList& document, const THtmlBuildEvents& events);
    ~THtmlBuilder();
    THtmlBuilder(const THtmlBuilder&) = delete;
    THtmlBuilder& operator=(const THtmlBuilder&) = delete;

    THtmlParseResult BuildHtml(std::string text);
    void BuildText(std::string text);

  private:
    // Builder.cpp
    void Reset(std::string text);
    void PreScan();
    void Finish();
    // Inside preformatted text the builder reads characters, not symbols: the element
    // handlers it borrows must not read on.
    void Next() {
        if (!preMode_) reader_.NextSymbol();
    }
    THtmlSymbol Sy() const { return reader_.Sy; }
    void ParseFlow(const TSymbolSet& terminators);
    void ParseBody();
    bool InlineSymbol(THtmlSymbol sy) const;

    // The property stack.
    TProperties& Top() { return stack_.Last(); }
    // Opens an element with the attributes of the last tag (or of `attributes`).
    TProperties& PushProperties(const std::string& tag, const std::string& pseudo = "",
                                TAttributeList* attributes = nullptr);
    TProperties& PushBare(const std::string& tag);
    void PopToTag(const std::string& tag);
    void PopTop();
    void ApplyAlign(const TAttributeList* attributes = nullptr);

    // Sections and cells.
    void OpenSection(bool startsBlock = true, const TAttributeList* attributes = nullptr);
    void EnsureSection();
    void AddSection();  // the open section goes to the current cell, none stays open
    void DiscardSection();  // the open section is dropped with its link runs
    TBlock& AddBlock(std::unique_ptr<TBlock> block);  // and makes its cell current
    void TakeOverBottomMargin(TBlock& block);
    void RetargetAnchors(const TIDObject* from, TIDObject* to);

    // BuilderHead.cpp
    void ParseTitle();
    void ParseMeta();
    void ParseLinkTag();
    void ParseStyle();
    void ParseBgSound();
    void ParseScript();
    void ParseBase();

    // BuilderInline.cpp
    void ParseParagraph(const TSymbolSet& terminators);
    void ParseInline();
    void ParsePhrase();
    void ParseFont(bool pre);
    void ParseAnchor();
    void EndLink();
    void ParseBreak();
    void ParseHeading();
    void ParseRule();
    void ParsePage();
    void ParseImage();
    void PlacePanel();
    void ParseMapTag();

    // BuilderBlocks.cpp
    bool ParseList(THtmlSymbol kind, const TSymbolSet& terminators);
    void ParseListItem(THtmlSymbol listKind, int number, const TSymbolSet& terminators,
                       bool plain, char typeChar);
    void ParseContainer(const TSymbolSet& terminators);
    void ParsePreformatted();
    void ParsePlainText();

    // BuilderForms.cpp
    ThtmlForm& OpenForm(const TAttributeList* attributes);
    void ParseFormControl();
    void ParseOptions(TSelectFormControlObj& select);
    void ParseTextAreaContent(TTextAreaFormControlObj& area);

    // BuilderTables.cpp
    struct TTableBuild;
    void ParseTable();
    void ReadTableContent(TTableBuild& table);
    void ParseCell(TTableBuild& table);
    void CloseCell(TTableBuild& table);
    void CloseRow(TTableBuild& table);
    void ParseColumns(TTableBuild& table);
    void FinishTable(TTableBuild& table);

    TSectionList& doc_;
    const THtmlBuildEvents& events_;
    THtmlReader reader_;
    TPropStack stack_;
    // The STYLE attribute sets of the open elements, index for index with the stack,
    // so the cascade can still see them when an element is re-based.
    std::vector<std::unique_ptr<TProperties>> inlineStyles_;
    // Elements opened past kMaxPropertyDepth, by tag, so their end tags close nothing.
    std::map<std::string, int> unpushed_;

    TCellBasic* cell_ = nullptr;
    std::unique_ptr<TSection> section_;
    TBodyBlock* body_ = nullptr;
    TUrlTarget linkTarget_;
    bool linkOpen_ = false;
    ThtmlForm* form_ = nullptr;  // the form new controls join
    THtmlParseResult result_;
    int listLevel_ = 0;
    int tableLevel_ = 0;
    int baseFontSize_ = 3;
    double fontSizes_[7] = {};
    double preFontSizes_[7] = {};
    bool noBreak_ = false;
    bool preMode_ = false;  // sections opened now are preformatted lines
    int blockDepth_ = 0;
    bool bodyApplied_ = false;
};
