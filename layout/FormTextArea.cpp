// TEXTAREA: a memo of ROWS lines of COLS characters.

#include <algorithm>

#include "html/Attributes.h"
#include "layout/FormControls.h"
#include "platform/CodePage.h"
#include "platform/Text.h"

TTextAreaFormControlObj::TTextAreaFormControlObj(TSectionList* doc, ThtmlForm* owner,
                                                 const TAttributeList& attrs)
    : TFormControlObj(doc, owner, attrs) {
    // Counts that are not positive keep the usual size.
    if (const TAttribute* a = attrs.FindAttribute(symRows); a && a->IntValue > 0)
        rows = a->IntValue;
    if (const TAttribute* a = attrs.FindAttribute(symCols); a && a->IntValue > 0)
        cols = a->IntValue;
    if (const TAttribute* a = attrs.FindAttribute(symWrap)) {
        const std::string mode = platform::AsciiLowerCase(a->StrValue);
        wrap = mode == "off" ? Wrap::Off : mode == "hard" ? Wrap::Hard : Wrap::Soft;
    }
    CreateWindow(platform::FormControlKind::Memo);
    control->setWrap(wrap == Wrap::Off ? platform::MemoWrap::Off : platform::MemoWrap::Soft);
}

void TTextAreaFormControlObj::RestoreInitial() {
    control->setText(initialText);
    control->moveCaretToStart();
}

bool TTextAreaFormControlObj::SubmitPair(int index, std::string& text) {
    if (index != 0) return false;
    if (wrap != Wrap::Hard) {
        text = Pair(control->text());
        return true;
    }
    // Hard wrapping sends the lines as the reader sees them.
    std::u16string joined;
    const std::vector<std::u16string> lines = control->visualLines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) joined += u"\r\n";
        joined += lines[i];
    }
    text = Pair(joined);
    return true;
}

void TTextAreaFormControlObj::LoadValue(int, const std::string& v) {
    control->setText(platform::Utf8ToUtf16(v));
}

void TTextAreaFormControlObj::RememberValue() {
    savedText = control->text();
}

void TTextAreaFormControlObj::CheckChanged() {
    if (control->text() != savedText) {
        savedText = control->text();
        ReportChange();
    }
}

void TTextAreaFormControlObj::FitSize(platform::Canvas& canvas) {
    canvas.setFont(font);
    const long long textHeight = canvas.textExtent(u"A").cy;
    const long long letter = canvas.textExtent(u"s").cx;
    const platform::Size client{BoundedControlSize(letter * cols + 5),
                                BoundedControlSize(textHeight * rows + 5)};
    const platform::Size outer = control->sizeForClient(client);
    const int w = givenWidth >= 10 ? givenWidth : BoundedControlSize(outer.cx);
    const int h = givenHeight >= 10 ? givenHeight : BoundedControlSize(outer.cy);
    const platform::Rect r = control->bounds();
    control->setBounds({r.left, r.top, r.left + w, r.top + h});
}
