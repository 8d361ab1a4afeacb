// Elements that nest blocks: lists and their items, ADDRESS, BLOCKQUOTE, CENTER, DIV,
// FORM; and the line-by-line reading of preformatted and plain text.

#include "html/Builder.h"
#include "html/BuilderSupport.h"
#include "layout/Block.h"
#include "layout/Document.h"
#include "layout/ListItem.h"
#include "layout/Preformatted.h"
#include "layout/Section.h"
#include "platform/Text.h"

namespace {

bool IsListKind(THtmlSymbol sy) {
    return sy == symOL || sy == symUL || sy == symDir || sy == symMenu;
}

bool IsListStart(THtmlSymbol sy) { return IsListKind(sy) || sy == symDL; }

// What a list item holds besides paragraphs, lists and containers.
const TSymbolSet& ItemInlineSymbols() {
    static const TSymbolSet set = SymbolSet({
        symB,         symI,           symEm,        symStrong,  symU,       symCite,
        symVar,       symTT,          symCode,      symKbd,     symSamp,    symS,
        symStrike,    symSpan,        symSub,       symSup,     symBig,     symSmall,
        symFont,      symBaseFont,    symBEnd,      symIEnd,    symEmEnd,   symStrongEnd,
        symUEnd,      symCiteEnd,     symVarEnd,    symTTEnd,   symCodeEnd, symKbdEnd,
        symSampEnd,   symSEnd,        symStrikeEnd, symSpanEnd, symSubEnd,  symSupEnd,
        symBigEnd,    symSmallEnd,    symFontEnd,   symBR,      symH,       symImg,
        symA,         symAEnd,        symText,      symInput,   symSelect,  symSelectEnd,
        symTextArea,  symTextAreaEnd, symButton,    symMap,     symPage,    symScript,
        symScriptEnd, symPanel,       symNoBr,      symNoBrEnd, symWbr,
    });
    return set;
}

const TSymbolSet& ListEndSymbols() {
    static const TSymbolSet set =
        SymbolSet({symOLEnd, symULEnd, symDirEnd, symMenuEnd, symDLEnd, symBlockquoteEnd});
    return set;
}

}  // namespace

bool THtmlBuilder::ParseList(THtmlSymbol kind, const TSymbolSet& terminators) {
    if (blockDepth_ >= kMaxBlockNesting) {
        Next();
        return false;
    }
    TNestingLevel nesting(blockDepth_);
    const TAttributeList& attrs = reader_.Attributes;
    int number = 1;
    char typeChar = '1';
    bool plain = false;
    if (kind == symOL) {
        if (const TAttribute* start = attrs.FindAttribute(symStart); start && start->IntValue >= 0)
            number = start->IntValue;
        if (const TAttribute* type = attrs.FindAttribute(symType); type && !type->StrValue.empty())
            typeChar = type->StrValue[0];
    } else if (kind == symUL) {
        const TAttribute* type = attrs.FindAttribute(symType);
        const std::string t = type ? platform::AsciiLowerCase(type->StrValue) : std::string();
        plain = attrs.FindAttribute(symPlain) || t == "none" || t == "plain";
    }

    AddSection();
    const std::string tag = SymbolToTagName(kind);
    TProperties& props = PushProperties(tag);
    auto list = std::make_unique<TBlock>(&doc_, props, cell_, &attrs);
    list->isListContainer = IsListKind(kind);
    TCellBasic* owner = cell_;
    TBlock& block = AddBlock(std::move(list));
    Next();

    bool ownPopped = false;
    if (ListEndSymbols()[Sy()]) {
        // An empty list: its end tag closes whichever list it names.
        const std::string closed = EndSymbolToTagName(Sy());
        PopToTag(closed);
        ownPopped = closed == tag;
    } else {
        if (IsListKind(kind)) ++listLevel_;
        TSymbolSet containerTerminators = terminators;
        for (THtmlSymbol s : {symOLEnd, symLI, symULEnd, symDirEnd, symMenuEnd, symDLEnd, symDD, symDT})
            containerTerminators.set(s);
        const THtmlSymbol ownEnd = EndSymbolOf(kind);
        for (;;) {
            const THtmlSymbol sy = Sy();
            if (sy == symEof || terminators[sy] || sy == ownEnd) break;
            if (sy == symP) {
                ParseParagraph(terminators);
            } else if (IsListStart(sy)) {
                // Only the nested list's own end tag is taken here: a list that stopped
                // at one of the terminators leaves it to the loops that wait for it (a
                // /BLOCKQUOTE, an outer item), and reading on would lose it.
                if (ParseList(sy, terminators) && Sy() == EndSymbolOf(sy)) Next();
            } else if (sy == symLI || sy == symDD || sy == symDT) {
                if (sy == symLI)
                    if (const TAttribute* value = reader_.Attributes.FindAttribute(symValue);
                        value && value->IntValue != 0)
                        number = value->IntValue;
                ParseListItem(kind, number, terminators, plain, typeChar);
                if (number < INT32_MAX) ++number;
            } else if (sy == symAddress || sy == symBlockquote) {
                ParseContainer(terminators);
            } else if (sy == symCenter || sy == symDiv || sy == symForm) {
                ParseContainer(containerTerminators);
            } else if (InlineSymbol(sy)) {
                ParseInline();
            } else {
                Next();
            }
        }
        if (IsListKind(kind)) --listLevel_;
    }
    AddSection();
    TakeOverBottomMargin(block);
    if (!ownPopped) PopToTag(tag);
    cell_ = owner;
    return true;
}

void THtmlBuilder::ParseListItem(THtmlSymbol listKind, int number, const TSymbolSet& terminators,
                                 bool plain, char typeChar) {
    if (blockDepth_ >= kMaxBlockNesting) {
        Next();
        return;
    }
    TNestingLevel nesting(blockDepth_);
    AddSection();
    const std::string tag = SymbolToTagName(Sy());
    TProperties& props = PushProperties(tag);
    TCellBasic* owner = cell_;
    TBlock& item = AddBlock(std::make_unique<TBlockLI>(&doc_, props, cell_, &reader_.Attributes,
                                                       listLevel_, number, typeChar, plain,
                                                       listKind));
    OpenSection();
    reader_.SkipBlanks();
    Next();
    const bool paragraphsInside = IsListStart(listKind);
    for (;;) {
        const THtmlSymbol sy = Sy();
        if (sy == symEof || terminators[sy]) break;
        if (sy == symP) {
            if (!paragraphsInside) break;
            ParseParagraph(TSymbolSet());
        } else if (ItemInlineSymbols()[sy]) {
            ParseInline();
        } else if (IsListStart(sy)) {
            if (ParseList(sy, terminators)) {
                cell_->DropTrailingParagraphMargin();
                // As in a list: a terminator that ended the nested list stays for the
                // loops that wait for it.
                if (Sy() == EndSymbolOf(sy)) Next();
            }
        } else if (sy == symAddress || sy == symBlockquote || sy == symCenter || sy == symDiv ||
                   sy == symForm) {
            ParseContainer(terminators);
        } else if (sy == symTable) {
            ParseTable();
        } else if (sy == symUnknownTag) {
            Next();
        } else {
            break;
        }
    }
    AddSection();
    item.content.DropTrailingParagraphMargin();
    PopToTag(tag);
    cell_ = owner;
}

void THtmlBuilder::ParseContainer(const TSymbolSet& terminators) {
    const THtmlSymbol kind = Sy();
    if (blockDepth_ >= kMaxBlockNesting) {
        Next();
        return;
    }
    TNestingLevel nesting(blockDepth_);
    switch (kind) {
        case symAddress:
        case symBlockquote: {
            AddSection();
            TSymbolSet inner = terminators;
            inner.set(symAddressEnd);
            inner.set(symBlockquoteEnd);
            ParseList(kind, inner);
            if (Sy() == symAddressEnd || Sy() == symBlockquoteEnd) Next();
            return;
        }
        case symCenter: {
            AddSection();
            PushBare("center");
            OpenSection();
            Next();
            TSymbolSet inner = terminators;
            inner.set(symCenterEnd);
            ParseFlow(inner);
            AddSection();
            PopToTag("center");
            OpenSection();
            if (Sy() == symCenterEnd) Next();
            return;
        }
        case symDiv: {
            AddSection();
            TProperties& props = PushProperties("div");
            ApplyAlign();
            TCellBasic* owner = cell_;
            TBlock& block = AddBlock(std::make_unique<TBlock>(&doc_, props, cell_, &reader_.Attributes));
            OpenSection();
            Next();
            TSymbolSet inner = terminators;
            inner.set(symDivEnd);
            ParseFlow(inner);
            AddSection();
            PopToTag("div");
            TakeOverBottomMargin(block);
            cell_ = owner;
            OpenSection();
            if (Sy() == symDivEnd) Next();
            return;
        }
        case symForm: {
            TSymbolSet inner = terminators;
            inner.set(symForm);
            inner.set(symFormEnd);
            // A FORM inside a form ends the first form's block and starts its own.
            while (Sy() == symForm) {
                AddSection();
                TProperties& props = PushProperties("form");
                TCellBasic* owner = cell_;
                TBlock& block =
                    AddBlock(std::make_unique<TBlock>(&doc_, props, cell_, &reader_.Attributes));
                OpenForm(&reader_.Attributes);
                Next();
                ParseFlow(inner);
                AddSection();
                PopToTag("form");
                TakeOverBottomMargin(block);
                cell_ = owner;
            }
            if (Sy() == symFormEnd) {
                form_ = nullptr;
                Next();
            }
            return;
        }
        default:
            Next();
            return;
    }
}

// ---------------------------------------------------------------- preformatted text

void THtmlBuilder::ParsePreformatted() {
    AddSection();
    const int stackBefore = stack_.Count();
    PushProperties("pre");
    const int preEntries = stack_.Count();
    TCellBasic* owner = cell_;
    AddBlock(std::make_unique<TBlock>(&doc_, Top(), cell_, &reader_.Attributes));
    preMode_ = true;
    OpenSection();

    TokenObj token;
    TCharCollection bytes;
    TCellBasic* paragraphOwner = nullptr;  // set while a P inside the text is open
    const auto appendToken = [&] {
        if (token.Count() == 0) return;
        section_->AppendRun(token, Top().GetTextTransform(), noBreak_);
        token.Clear();
    };
    // Ends the current line: its section goes to the cell, empty or not.
    const auto endLine = [&] {
        appendToken();
        OpenSection();
    };
    // Before a paragraph starts or ends: an empty line is dropped.
    const auto closeLine = [&] {
        appendToken();
        if (section_ && section_->IsEmpty()) DiscardSection();
        else AddSection();
    };
    const auto closeParagraph = [&] {
        closeLine();
        PopToTag("p");
        cell_ = paragraphOwner;
        paragraphOwner = nullptr;
    };
    const auto skipLineEnd = [&] {
        if (reader_.CurChar == '\r') reader_.NextChar();
    };
    const auto codePage = [&] { return Top().TextCodePage; };

    // A line end right after the start tag belongs to the markup, not to the text.
    skipLineEnd();
    bool ended = false;
    while (!ended) {
        const unsigned char c = reader_.CurChar;
        if (c == THtmlReader::EofChar) break;
        if (c == '\r') {
            endLine();
            reader_.NextChar();
            continue;
        }
        if (c < 9) {
            reader_.NextChar();
            continue;
        }
        if (c != '<') {
            // A run of text with its spaces, up to a line end, a tag or a control byte.
            bytes.Clear();
            while (reader_.CurChar != '\r' && reader_.CurChar != '<' &&
                   reader_.CurChar != THtmlReader::EofChar && reader_.CurChar >= 9) {
                if (reader_.CurChar == '&') {
                    const std::int32_t at = reader_.CharPos;
                    const std::string decoded = reader_.ReadEntityToString(codePage());
                    for (char b : decoded) bytes.Add(b, at);
                    continue;
                }
                bytes.Add(static_cast<char>(reader_.CurChar), reader_.CharPos);
                reader_.NextChar();
            }
            token.AppendConverted(bytes, codePage());
            continue;
        }

        const std::int32_t lessPos = reader_.CharPos;
        reader_.NextSymbol();
        THtmlSymbol sy = reader_.Sy;
        // A map cut short by a tag leaves that tag in the reader, still to be handled.
        while (sy == symMap) {
            appendToken();
            ParseInline();
            if (!section_) OpenSection();
            sy = reader_.Sy == symMapEnd || reader_.Sy == symEof ? symUnknownTag : reader_.Sy;
        }
        switch (sy) {
            case symText:
                // A '<' that starts no tag.
                token.AppendWideChar(u'<', lessPos);
                break;
            case symP: {
                if (paragraphOwner) closeParagraph();
                else closeLine();
                skipLineEnd();
                PushProperties("p");
                paragraphOwner = cell_;
                AddBlock(std::make_unique<TBlock>(&doc_, Top(), cell_, &reader_.Attributes));
                OpenSection();
                break;
            }
            case symPEnd:
                if (paragraphOwner) {
                    closeParagraph();
                    OpenSection();
                }
                break;
            case symBR:
                endLine();
                skipLineEnd();
                break;
            case symPreEnd:
            case symTDEnd:
            case symTHEnd:
            case symEof:
                ended = true;
                break;
            case symForm:
            case symFormEnd:
                if (paragraphOwner) {
                    closeParagraph();
                    OpenSection();
                }
                appendToken();
                if (sy == symForm)
                    OpenForm(&reader_.Attributes);
                else
                    form_ = nullptr;
                break;
            case symFont:
            case symBaseFont:
                appendToken();
                ParseFont(true);
                section_->StartFontRun(Top());
                break;
            case symFontEnd: {
                appendToken();
                // Only a FONT opened inside the text is closed here.
                bool inside = false;
                for (int i = stack_.Count() - 1; i >= preEntries; --i)
                    if (stack_[i].ElementTag == "font") inside = true;
                if (inside) {
                    PopToTag("font");
                    section_->StartFontRun(Top());
                }
                break;
            }
            case symStyle:
                // The reader leaves the '>' of STYLE for a sheet; here it is markup.
                if (reader_.CurChar == '>') reader_.NextChar();
                break;
            case symImg: case symPanel: case symInput: case symSelect: case symTextArea:
            case symA: case symAEnd: case symPage: case symScript:
            case symB: case symI: case symEm: case symStrong: case symU: case symCite: case symVar:
            case symS: case symStrike: case symSpan: case symSub: case symSup: case symBig:
            case symSmall: case symBEnd: case symIEnd: case symEmEnd: case symStrongEnd:
            case symUEnd: case symCiteEnd: case symVarEnd: case symSEnd: case symStrikeEnd:
            case symSpanEnd: case symSubEnd: case symSupEnd: case symBigEnd: case symSmallEnd:
                appendToken();
                ParseInline();
                if (!section_) OpenSection();
                break;
            default:
                break;  // other tags mean nothing inside preformatted text
        }
    }

    if (paragraphOwner) {
        closeParagraph();
    } else {
        appendToken();
        AddSection();
    }
    preMode_ = false;
    while (stack_.Count() > stackBefore) PopTop();
    if (preEntries == stackBefore) {
        // The PRE element itself had no room on the stack.
        if (auto it = unpushed_.find("pre"); it != unpushed_.end() && it->second > 0) --it->second;
    }
    cell_ = owner;
    Next();
}

void THtmlBuilder::ParsePlainText() {
    // The whole text is one preformatted block of lines in the style of PRE.
    PushBare("pre");
    preMode_ = true;
    OpenSection();
    // Each line is converted in one go, so multibyte characters stay whole.
    TokenObj token;
    TCharCollection line;
    const int codePage = Top().TextCodePage;
    const auto flush = [&] {
        if (line.Count() == 0) return;
        token.Clear();
        token.AppendConverted(line, codePage);
        section_->AppendRun(token, 0, false);
        line.Clear();
    };
    reader_.ReadChar();
    while (reader_.CurChar != THtmlReader::EofChar) {
        if (reader_.CurChar == '\r') {
            flush();
            OpenSection();
        } else {
            line.Add(static_cast<char>(reader_.CurChar), reader_.CharPos);
        }
        reader_.ReadChar();
    }
    flush();
    AddSection();
    preMode_ = false;
    PopToTag("pre");
}
