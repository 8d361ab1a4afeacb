// Form controls in the flow of text: INPUT, SELECT with its options and TEXTAREA with
// its content read as it stands.

#include "html/Builder.h"
#include "html/BuilderSupport.h"
#include "html/Urls.h"
#include "layout/Document.h"
#include "layout/Form.h"
#include "layout/FormControls.h"
#include "layout/Section.h"
#include "platform/CodePage.h"
#include "platform/Text.h"

namespace {

std::u16string Trimmed(const std::u16string& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && text[begin] <= u' ') ++begin;
    while (end > begin && text[end - 1] <= u' ') --end;
    return text.substr(begin, end - begin);
}

bool IsLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsBlank(unsigned char c) {
    return c == ' ' || c == '\r' || c == '\n' || c == '\t';
}

}  // namespace

ThtmlForm& THtmlBuilder::OpenForm(const TAttributeList* attributes) {
    doc_.forms.push_back(std::make_unique<ThtmlForm>(&doc_, attributes));
    form_ = doc_.forms.back().get();
    return *form_;
}

void THtmlBuilder::ParseFormControl() {
    const THtmlSymbol sy = Sy();
    EnsureSection();
    const char* tag = sy == symInput ? "input" : sy == symSelect ? "select" : "textarea";
    TProperties& props = PushProperties(tag);
    // A control outside any FORM joins a form of its own, which the controls after it
    // share until a FORM begins or ends.
    ThtmlForm& form = form_ ? *form_ : OpenForm(nullptr);
    const TAttributeList& attrs = reader_.Attributes;
    std::string source;
    if (sy == symInput)
        if (const TAttribute* src = attrs.FindAttribute(symSrc); src && !src->StrValue.empty())
            source = events_.ExpandName ? events_.ExpandName(src->StrValue)
                                        : UrlToLocalPath(src->StrValue);
    const TFormControlTag which = sy == symInput    ? TFormControlTag::Input
                                  : sy == symSelect ? TFormControlTag::Select
                                                    : TFormControlTag::TextArea;
    TFormControlObj* control =
        section_->PlaceControl(which, form, props, reader_.TagPos, cell_, attrs, source);
    if (auto* select = dynamic_cast<TSelectFormControlObj*>(control))
        ParseOptions(*select);
    else if (auto* area = dynamic_cast<TTextAreaFormControlObj*>(control))
        ParseTextAreaContent(*area);
    else
        control->RestoreInitial();
    PopToTag(tag);
    Next();
}

void THtmlBuilder::ParseOptions(TSelectFormControlObj& select) {
    static const TSymbolSet ends =
        SymbolSet({symP, symEof, symTableEnd, symTD, symTDEnd, symTR, symTREnd, symTH, symTHEnd,
                   symCaption, symCaptionEnd, symInput, symSelectEnd, symCol, symColGroup});
    const bool savedNoBreak = noBreak_;
    noBreak_ = false;
    bool open = false;
    std::u16string text;
    std::string value;
    bool hasValue = false;
    bool selected = false;
    const auto finish = [&] {
        if (open) select.AddOption(Trimmed(text), value, hasValue, selected);
        open = false;
        text.clear();
    };
    // Read on even inside preformatted text: the options are symbols there too.
    reader_.NextSymbol();
    while (!ends[reader_.Sy]) {
        if (reader_.Sy == symText) {
            if (open) text += reader_.Token.AsWideString();
        } else if (reader_.Sy == symOption || reader_.Sy == symOptionEnd) {
            finish();
            if (reader_.Sy == symOption) {
                const TAttributeList& attrs = reader_.Attributes;
                open = true;
                selected = attrs.FindAttribute(symSelected) != nullptr;
                const TAttribute* v = attrs.FindAttribute(symValue);
                hasValue = v != nullptr;
                value = v ? attrs.DisplayText(*v) : std::string();
            }
        }
        reader_.NextSymbol();
    }
    finish();
    select.RestoreInitial();
    noBreak_ = savedNoBreak;
}

void THtmlBuilder::ParseTextAreaContent(TTextAreaFormControlObj& area) {
    const int codePage = Top().TextCodePage;
    std::string line;  // in the page's code page
    std::u16string text;
    const auto addLine = [&](bool lineEnd) {
        if (!line.empty()) text += platform::ToUtf16(line, codePage);
        if (lineEnd) text += u"\r\n";
        line.clear();
    };
    constexpr unsigned char kEof = THtmlReader::EofChar;
    bool ended = false;
    while (!ended && reader_.CurChar != kEof) {
        const unsigned char c = reader_.CurChar;
        if (c == '\r') {
            addLine(true);
            reader_.ReadChar();
        } else if (c == '&') {
            line += reader_.ReadEntityToString(codePage);
        } else if (c == '<') {
            reader_.ReadChar();
            if (reader_.CurChar != '/') {
                line += '<';
                continue;
            }
            reader_.ReadChar();
            std::string name;
            while (name.size() < 8 && IsLetter(reader_.CurChar)) {
                name += static_cast<char>(reader_.CurChar);
                reader_.ReadChar();
            }
            const unsigned char after = reader_.CurChar;
            if (platform::AsciiLowerCase(name) == "textarea" &&
                (after == '>' || after == kEof || IsBlank(after))) {
                ended = true;
            } else {
                line += "</";
                line += name;
            }
        } else {
            line += static_cast<char>(c);
            reader_.ReadChar();
        }
    }
    // What follows the end tag's name, up to its '>', is skipped.
    while (reader_.CurChar != '>' && reader_.CurChar != kEof) reader_.ReadChar();
    if (reader_.CurChar == '>') reader_.NextChar();
    addLine(false);
    area.AddText(text);
    area.RestoreInitial();
}
