// What every form control shares (its window, focus, clicks and changes reported to the
// host, its style), and the single-line edits, buttons, hidden and image inputs.

#include "layout/FormControls.h"

#include <algorithm>
#include <charconv>

#include "html/Attributes.h"
#include "layout/Document.h"
#include "layout/Form.h"
#include "layout/ImageObj.h"
#include "platform/CodePage.h"
#include "platform/Text.h"
#include "style/Lengths.h"
#include "style/Properties.h"

int BoundedControlSize(long long pixels) {
    return static_cast<int>(std::clamp<long long>(pixels, kMinControlSize, kMaxControlSize));
}

std::string InputType(const TAttributeList& attributes) {
    const TAttribute* type = attributes.FindAttribute(symType);
    return type ? platform::AsciiLowerCase(type->StrValue.substr(0, 20)) : std::string();
}

namespace {

std::unique_ptr<TAttributeList> CopyOf(const TAttributeList& source) {
    auto copy = std::make_unique<TAttributeList>();
    for (int i = 0; i < source.Count(); ++i) copy->Add(std::make_unique<TAttribute>(source[i]));
    return copy;
}

// A width or height of the element's style in pixels, 0 when none is given.
int GivenLength(const TProperties& props, PropIndex index) {
    const PropValue& v = props[index];
    if (!v.isString()) return 0;
    const int px =
        BoundedLength(LengthToPixels(v.string(), false, 0, props.EmPixels, props.ExPixels, 0));
    return px > 0 ? std::min(px, kMaxControlSize) : 0;
}

// SIZE of an edit: a number of characters; of "40,1" or "40 1" the first; 20 when the
// value cannot be read.
int EditSize(const TAttribute& attribute) {
    std::string text = attribute.StrValue;
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) return 20;
    text.erase(0, begin);
    const std::size_t cut = text.find_first_of(", ");
    if (cut != std::string::npos) text.resize(cut);
    long long n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (error == std::errc::result_out_of_range) return text[0] == '-' ? 1 : kMaxControlSize;
    if (error != std::errc() || end != text.data() + text.size()) return 20;
    return static_cast<int>(std::clamp<long long>(n, 1, kMaxControlSize));
}

}  // namespace

// ---------------------------------------------------------------- the common part

TFormControlObj::TFormControlObj(TSectionList* doc, ThtmlForm* owner, const TAttributeList& attrs)
    : attributes(CopyOf(attrs)), document(doc), form(owner) {
    for (int i = 0; i < attrs.Count(); ++i) {
        const TAttribute& a = attrs[i];
        switch (a.Symbol) {
            case symValue:
                value = attrs.DisplayText(a);
                break;
            case symName:
                name = attrs.DisplayText(a);
                break;
            case symID:
                idText = a.StrValue;
                break;
            case symDisabled:
                disabled = true;
                break;
            case symOnClick:
                clickScript = attrs.DisplayText(a);
                break;
            case symOnFocus:
                focusScript = attrs.DisplayText(a);
                break;
            case symOnBlur:
                blurScript = attrs.DisplayText(a);
                break;
            case symOnChange:
                changeScript = attrs.DisplayText(a);
                break;
            case symTabIndex:
                tabIndex = a.IntValue;
                break;
            default:
                break;
        }
    }
}

TFormControlObj::~TFormControlObj() {
    *alive_ = false;
    if (control) {
        // A window going away may still report the focus leaving it.
        control->onClick = nullptr;
        control->onChange = nullptr;
        control->onArrowKey = nullptr;
        control->onFocusChange = nullptr;
        control->onActivate = nullptr;
        control.reset();
    }
}

void TFormControlObj::CreateWindow(platform::FormControlKind kind) {
    TDocumentHost* host = document ? document->viewer : nullptr;
    control = host ? host->CreateFormControlWindow(kind) : nullptr;
    if (!control) control = std::make_unique<platform::DetachedFormControlWindow>(kind);
    control->setBounds({-4000, 0, -4000 + 120, 20});
    control->setEnabled(!disabled);
    control->onClick = [this] { Clicked(); };
    control->onFocusChange = [this](bool arrived) { FocusChanged(arrived); };
}

int TFormControlObj::Width() const {
    return control ? control->bounds().width() : 0;
}
int TFormControlObj::Height() const {
    return control ? control->bounds().height() : 0;
}

void TFormControlObj::ShowAt(int x, int y) {
    if (!control) return;
    const platform::Rect r = control->bounds();
    if (r.left != x || r.top != y) control->setBounds({x, y, x + r.width(), y + r.height()});
    if (!control->isVisible()) control->setVisible(true);
}

void TFormControlObj::Hide() {
    if (!control) return;
    if (control->isVisible()) control->setVisible(false);
    const platform::Rect r = control->bounds();
    if (r.left != -4000) control->setBounds({-4000, r.top, -4000 + r.width(), r.bottom});
}

void TFormControlObj::PlaceInTabOrder(platform::TabStopWindow*& previous) {
    if (!control) return;
    control->placeAfter(previous);
    previous = control.get();
}

void TFormControlObj::ApplyProperties(TProperties& props) {
    int align = 0;
    if (props.GetVerticalAlign(align)) alignment = align;
    // The style's side margins are the gaps beside the control.
    TakeMarginLength(props, piMarginLeft, gapLeft);
    TakeMarginLength(props, piMarginRight, gapRight);
    givenWidth = GivenLength(props, piWidth);
    givenHeight = GivenLength(props, piHeight);
    const TMyFont& styleFont = props.GetFont();
    font = styleFont;
    // The text colour a control inherits was chosen for the page's background, not for
    // the control's own white field (white text on a dark page would vanish there): it
    // counts only when the control's style gives it a background as well.
    const platform::TColor background = props.GetBackgroundColor();
    const bool ownColours = background != platform::clNone;
    textColor = ownColours ? styleFont.Color : 0;
    if (control) {
        control->setFont(font);
        control->setColors(ownColours ? platform::ColorToRGB(styleFont.Color) : platform::clNone,
                           ownColours ? platform::ColorToRGB(background) : platform::clNone);
    }
}

void TFormControlObj::Clicked() {
    if (document && document->viewer) document->viewer->ObjectClick(*this, clickScript);
}

void TFormControlObj::ReportChange() {
    if (document && document->viewer) document->viewer->ObjectChange(*this, changeScript);
}

void TFormControlObj::FocusChanged(bool arrived) {
    TDocumentHost* host = document ? document->viewer : nullptr;
    // The host's events come last: their handlers may free this control.
    if (arrived) {
        focused = true;
        if (!changeScript.empty()) RememberValue();
        if (host) {
            host->InvalidatePaintSurface();
            host->ScrollFocusedIntoView(topY, true);
            if (!focusScript.empty()) host->ObjectFocus(*this, focusScript);
        }
    } else {
        focused = false;
        const std::string blur = blurScript;
        if (host) host->InvalidatePaintSurface();
        const auto alive = Alive();
        if (!changeScript.empty()) CheckChanged();
        if (*alive && host && !blur.empty()) host->ObjectBlur(*this, blur);
    }
}

std::string TFormControlObj::Pair(const std::u16string& text) const {
    return name + "=" + platform::Utf16ToUtf8(text);
}

// ---------------------------------------------------------------- edit

TEditFormControlObj::TEditFormControlObj(TSectionList* doc, ThtmlForm* owner,
                                         const TAttributeList& attrs, const std::string& type)
    : TFormControlObj(doc, owner, attrs), password(type == "password"), isFile(type == "file") {
    if (const TAttribute* a = attrs.FindAttribute(symSize)) size = EditSize(*a);
    if (const TAttribute* a = attrs.FindAttribute(symMaxLength))
        maxLength = std::max(0, a->IntValue);
    CreateWindow(platform::FormControlKind::Edit);
    control->setPassword(password);
    control->setMaxLength(maxLength);
    // Enter in the edit sends its form as it stands.
    control->onActivate = [this] {
        if (form) form->Submit();
    };
}

void TEditFormControlObj::RememberValue() {
    savedText = control->text();
}

void TEditFormControlObj::CheckChanged() {
    if (control->text() != savedText) {
        savedText = control->text();
        ReportChange();
    }
}

void TEditFormControlObj::RestoreInitial() {
    control->setText(platform::Utf8ToUtf16(value));
    control->moveCaretToStart();
}

bool TEditFormControlObj::SubmitPair(int index, std::string& text) {
    if (index != 0) return false;
    text = Pair(control->text());
    return true;
}

void TEditFormControlObj::LoadValue(int, const std::string& v) {
    control->setText(platform::Utf8ToUtf16(v));
}

void TEditFormControlObj::FitSize(platform::Canvas& canvas) {
    canvas.setFont(font);
    const long long digit = canvas.textExtent(u"0").cx;
    const int w = givenWidth >= 10 ? givenWidth : BoundedControlSize(digit * size + 5);
    const int h = BoundedControlSize(std::max(control->naturalHeight(), givenHeight));
    const platform::Rect r = control->bounds();
    control->setBounds({r.left, r.top, r.left + w, r.top + h});
}

// ---------------------------------------------------------------- buttons

TButtonFormControlObj::TButtonFormControlObj(TSectionList* doc, ThtmlForm* owner,
                                             const TAttributeList& attrs, Kind which,
                                             TEditFormControlObj* fileEdit)
    : TFormControlObj(doc, owner, attrs), kind(which), edit(fileEdit) {
    const char16_t* fallback = u"Button";
    switch (kind) {
        case Kind::Submit:
            fallback = u"Submit";
            break;
        case Kind::Reset:
            fallback = u"Reset";
            break;
        case Kind::Button:
            fallback = u"Button";
            break;
        case Kind::Browse:
            fallback = u"Browse...";
            value.clear();
            name.clear();
            idText.clear();
            tabIndex = 0;
            break;
    }
    // A page's own caption (VALUE) shows on every kind of button but the file input's.
    caption = value.empty() ? std::u16string(fallback) : platform::Utf8ToUtf16(value);
    CreateWindow(platform::FormControlKind::Button);
    control->setText(caption);
}

void TButtonFormControlObj::Clicked() {
    // The button's own work first, the click event last: a handler of either may load
    // another page. The submission itself reaches the host later, after this click.
    switch (kind) {
        case Kind::Submit:
            if (form) form->Submit(name.empty() ? std::string() : Pair(value));
            break;
        case Kind::Reset:
            if (form) form->ResetAll();
            break;
        case Kind::Browse:
            if (edit && document && document->viewer) {
                std::string file = platform::Utf16ToUtf8(edit->control->text());
                const auto alive = Alive(), editAlive = edit->Alive();
                // Asking for a file may take a while (a dialog): the page may be gone after.
                document->viewer->FileBrowse(*this, file);
                if (!*alive || !*editAlive) return;
                edit->control->setText(platform::Utf8ToUtf16(file));
            }
            break;
        case Kind::Button:
            break;
    }
    TFormControlObj::Clicked();
}

void TButtonFormControlObj::FitSize(platform::Canvas& canvas) {
    canvas.setFont(font);
    const int textHeight = canvas.textExtent(u"A").cy;
    const int h = givenHeight >= textHeight ? givenHeight : BoundedControlSize(textHeight + 8LL);
    const int w =
        givenWidth >= 10 ? givenWidth : BoundedControlSize(canvas.textExtent(caption).cx + 20LL);
    const platform::Rect r = control->bounds();
    control->setBounds({r.left, r.top, r.left + w, r.top + h});
}

// ---------------------------------------------------------------- hidden

bool THiddenFormControlObj::SubmitPair(int index, std::string& text) {
    if (index != 0) return false;
    text = Pair(value);
    return true;
}

// ---------------------------------------------------------------- image input

TImageFormControlObj::TImageFormControlObj(TSectionList* doc, ThtmlForm* owner,
                                           const TAttributeList& attrs)
    : TFormControlObj(doc, owner, attrs) {
    CreateWindow(platform::FormControlKind::Button);
    control->setBounds({-4000, 0, -3999, 1});
}

void TImageFormControlObj::FitSize(platform::Canvas&) {}

bool TImageFormControlObj::SubmitPair(int index, std::string& text) {
    if (!clicked || index > 1) return false;
    const std::string prefix = name.empty() ? std::string() : name + ".";
    text = prefix + (index == 0 ? "x=" + std::to_string(clickX) : "y=" + std::to_string(clickY));
    return true;
}

void TImageFormControlObj::ImageClick(int x, int y) {
    if (!image) return;
    const platform::Rect box = image->HitBox();
    // A disabled input takes no clicks, as a disabled window takes none.
    if (disabled) return;
    clickX = x - box.left;
    clickY = y - box.top;
    SubmitClick();
}

void TImageFormControlObj::Clicked() {
    // The keyboard's press of the picture: as a click on its corner.
    if (disabled) return;
    clickX = clickY = 0;
    SubmitClick();
}

void TImageFormControlObj::SubmitClick() {
    if (form) {
        clicked = true;
        form->Submit();
        clicked = false;
    }
    TFormControlObj::Clicked();  // last: its handler may free this input
}

TImageFormControlObj::~TImageFormControlObj() {
    if (image) image->formControl = nullptr;
}

// ---------------------------------------------------------------- making controls

std::unique_ptr<TFormControlObj> CreateFormControl(TFormControlTag tag, TSectionList* doc,
                                                   ThtmlForm* form, const TAttributeList& attrs,
                                                   TCellBasic* cell) {
    switch (tag) {
        case TFormControlTag::Select: {
            const TAttribute* size = attrs.FindAttribute(symSize);
            if (attrs.FindAttribute(symMultiple) || (size && size->IntValue > 1))
                return std::make_unique<TListBoxFormControlObj>(doc, form, attrs);
            return std::make_unique<TComboFormControlObj>(doc, form, attrs);
        }
        case TFormControlTag::TextArea:
            return std::make_unique<TTextAreaFormControlObj>(doc, form, attrs);
        case TFormControlTag::Input:
            break;
    }
    using Kind = TButtonFormControlObj::Kind;
    const std::string type = InputType(attrs);
    if (type == "submit")
        return std::make_unique<TButtonFormControlObj>(doc, form, attrs, Kind::Submit);
    if (type == "reset")
        return std::make_unique<TButtonFormControlObj>(doc, form, attrs, Kind::Reset);
    if (type == "button")
        return std::make_unique<TButtonFormControlObj>(doc, form, attrs, Kind::Button);
    if (type == "radio")
        return std::make_unique<TRadioButtonFormControlObj>(doc, form, attrs, cell);
    if (type == "checkbox") return std::make_unique<TCheckBoxFormControlObj>(doc, form, attrs);
    if (type == "hidden") return std::make_unique<THiddenFormControlObj>(doc, form, attrs);
    if (type == "image") return std::make_unique<TImageFormControlObj>(doc, form, attrs);
    return std::make_unique<TEditFormControlObj>(doc, form, attrs, type);
}
