// Check boxes, radio buttons, and the list box and drop-down list of a SELECT.

#include <algorithm>

#include "html/Attributes.h"
#include "layout/Document.h"
#include "layout/Form.h"
#include "layout/FormControls.h"
#include "platform/CodePage.h"
#include "platform/Screen.h"
#include "platform/Text.h"

namespace {

// Values and names are compared as the page's reader would: without case.
bool SameText(const std::string& a, const std::string& b) {
    if (a == b) return true;
    return platform::UpperCaseUtf16(platform::Utf8ToUtf16(a)) ==
           platform::UpperCaseUtf16(platform::Utf8ToUtf16(b));
}

void SetSize(platform::FormControlWindow& window, int w, int h) {
    const platform::Rect r = window.bounds();
    window.setBounds({r.left, r.top, r.left + w, r.top + h});
}

// The items of a list whose selection says whether it changed: the first 51.
constexpr int kWatchedItems = 51;

}  // namespace

// ---------------------------------------------------------------- check box

TCheckBoxFormControlObj::TCheckBoxFormControlObj(TSectionList* doc, ThtmlForm* owner,
                                                 const TAttributeList& attrs)
    : TFormControlObj(doc, owner, attrs),
      initiallyChecked(attrs.FindAttribute(symChecked) != nullptr) {
    if (value.empty()) value = "on";
    alignment = 3;  // baseline
    CreateWindow(platform::FormControlKind::CheckBox);
    SetSize(*control, 13, 13);
}

void TCheckBoxFormControlObj::RememberValue() {
    savedChecked = control->isChecked();
}

void TCheckBoxFormControlObj::CheckChanged() {
    if (control->isChecked() != savedChecked) {
        savedChecked = control->isChecked();
        ReportChange();
    }
}

void TCheckBoxFormControlObj::RestoreInitial() {
    control->setChecked(initiallyChecked);
}

bool TCheckBoxFormControlObj::SubmitPair(int index, std::string& text) {
    if (index != 0) return false;
    text = control->isChecked() ? Pair(value) : std::string();
    return true;
}

void TCheckBoxFormControlObj::LoadValue(int, const std::string& v) {
    control->setChecked(SameText(v, value));
}

void TCheckBoxFormControlObj::ClearData() {
    control->setChecked(false);
}

void TCheckBoxFormControlObj::FitSize(platform::Canvas&) {}

bool TCheckBoxFormControlObj::GaveValue(const std::string& v) const {
    return SameText(v, value);
}

// ---------------------------------------------------------------- radio button

TRadioButtonFormControlObj::TRadioButtonFormControlObj(TSectionList* doc, ThtmlForm* owner,
                                                       const TAttributeList& attrs,
                                                       TCellBasic* inCell)
    : TFormControlObj(doc, owner, attrs),
      initiallyChecked(attrs.FindAttribute(symChecked) != nullptr),
      cell(inCell) {
    alignment = 3;  // baseline
    CreateWindow(platform::FormControlKind::RadioButton);
    if (platform::CurrentPixelsPerInch() > 100)
        SetSize(*control, 16, 16);
    else
        SetSize(*control, 13, 14);
    if (form) {
        group = &form->RadioGroup(
            platform::Utf16ToUtf8(platform::UpperCaseUtf16(platform::Utf8ToUtf16(name))));
        groupIndex = group->size();
        group->push_back(this);
    }
    control->onArrowKey = [this](int dx, int dy) { MoveInGroup(dx < 0 || dy < 0 ? -1 : 1); };
}

void TRadioButtonFormControlObj::Select() {
    // Only the group's buttons are looked at: pages with thousands of buttons under
    // one name stay quick.
    if (group)
        for (TRadioButtonFormControlObj* other : *group)
            if (other != this && other->control->isChecked()) other->control->setChecked(false);
    control->setChecked(true);
}

void TRadioButtonFormControlObj::Clicked() {
    Select();
    TFormControlObj::Clicked();
}

void TRadioButtonFormControlObj::MoveInGroup(int step) {
    if (!group) return;
    for (long long i = static_cast<long long>(groupIndex) + step;
         i >= 0 && i < static_cast<long long>(group->size()); i += step) {
        TRadioButtonFormControlObj* next = (*group)[static_cast<std::size_t>(i)];
        if (next->disabled) continue;
        // One scrolled out of view has no window to focus yet: it is brought into
        // view, and chosen all the same. Focus events reach the host, whose handlers
        // may free the group.
        const auto alive = next->Alive();
        if (!next->control->setFocus() && document && document->viewer)
            document->viewer->ScrollFocusedIntoView(next->topY, true);
        if (*alive) next->Clicked();
        return;
    }
}

void TRadioButtonFormControlObj::RememberValue() {
    savedChecked = control->isChecked();
}

void TRadioButtonFormControlObj::CheckChanged() {
    if (control->isChecked() != savedChecked) {
        savedChecked = control->isChecked();
        ReportChange();
    }
}

void TRadioButtonFormControlObj::RestoreInitial() {
    control->setChecked(initiallyChecked);
}

bool TRadioButtonFormControlObj::SubmitPair(int index, std::string& text) {
    if (index != 0) return false;
    text = control->isChecked() ? Pair(value) : std::string();
    return true;
}

void TRadioButtonFormControlObj::LoadValue(int, const std::string& v) {
    control->setChecked(SameText(v, value));
}

void TRadioButtonFormControlObj::ClearData() {
    control->setChecked(false);
}

void TRadioButtonFormControlObj::FitSize(platform::Canvas&) {}

bool TRadioButtonFormControlObj::GaveValue(const std::string& v) const {
    return SameText(v, value);
}

// ---------------------------------------------------------------- options

TSelectFormControlObj::TSelectFormControlObj(TSectionList* doc, ThtmlForm* owner,
                                             const TAttributeList& attrs)
    : TFormControlObj(doc, owner, attrs) {}

void TSelectFormControlObj::AddOption(const std::u16string& text, const std::string& optionValue,
                                      bool hasValue, bool selected) {
    TSelectOption option;
    option.value = hasValue ? optionValue : platform::Utf16ToUtf8(text);
    option.text = text.empty() ? std::u16string(u" ") : text;
    option.selected = selected;
    options.push_back(std::move(option));
    valueIndex_.clear();
}

const std::unordered_multimap<std::string, int>& TSelectFormControlObj::ValueIndex() const {
    // Built on first use: restoring a list of many options looks each value up once.
    if (valueIndex_.empty() && !options.empty()) {
        valueIndex_.reserve(options.size());
        for (std::size_t i = 0; i < options.size(); ++i)
            valueIndex_.emplace(options[i].value, static_cast<int>(i));
    }
    return valueIndex_;
}

bool TSelectFormControlObj::GaveValue(const std::string& v) const {
    return ValueIndex().count(v) > 0;
}

void TSelectFormControlObj::FillItems() {
    control->clearItems();
    for (const TSelectOption& option : options) control->addItem(option.text);
}

int TSelectFormControlObj::WidestOption(platform::Canvas& canvas) {
    if (optionsMeasured_ == static_cast<int>(options.size()) && measuredFont_ == font)
        return widest_;
    canvas.setFont(font);
    widest_ = 0;
    for (const TSelectOption& option : options)
        widest_ = std::max(widest_, std::min(canvas.textExtent(option.text).cx, kMaxControlSize));
    optionsMeasured_ = static_cast<int>(options.size());
    measuredFont_ = font;
    return widest_;
}

// ---------------------------------------------------------------- list box

TListBoxFormControlObj::TListBoxFormControlObj(TSectionList* doc, ThtmlForm* owner,
                                               const TAttributeList& attrs)
    : TSelectFormControlObj(doc, owner, attrs),
      multiple(attrs.FindAttribute(symMultiple) != nullptr) {
    if (const TAttribute* a = attrs.FindAttribute(symSize); a && a->IntValue > 0)
        rows = a->IntValue;
    CreateWindow(platform::FormControlKind::ListBox);
    control->setMultiSelect(multiple);
}

int TListBoxFormControlObj::VisibleRows() const {
    if (rows > 0) return std::min(rows, kMaxControlSize);
    return std::max(1, std::min(8, static_cast<int>(options.size())));
}

void TListBoxFormControlObj::RestoreInitial() {
    FillItems();
    bool any = false;
    if (multiple) {
        for (std::size_t i = 0; i < options.size(); ++i)
            if (options[i].selected) {
                control->setItemSelected(static_cast<int>(i), true);
                any = true;
            }
    } else {
        // One selection only: the last option marked SELECTED, as a single list keeps.
        for (std::size_t i = options.size(); i-- > 0;)
            if (options[i].selected) {
                control->setItemSelected(static_cast<int>(i), true);
                any = true;
                break;
            }
    }
    if (!any && !options.empty()) control->setCurrentIndex(0);  // selects it too
    control->setTopIndex(0);
}

bool TListBoxFormControlObj::SubmitPair(int index, std::string& text) {
    if (index < 0 || index >= control->itemCount() || index >= static_cast<int>(options.size()))
        return false;
    text = control->isItemSelected(index) ? Pair(options[static_cast<std::size_t>(index)].value)
                                          : std::string();
    return true;
}

void TListBoxFormControlObj::LoadValue(int index, const std::string& v) {
    if (index == 0)
        for (int i = 0; i < control->itemCount(); ++i)
            if (control->isItemSelected(i)) control->setItemSelected(i, false);
    const auto [first, last] = ValueIndex().equal_range(v);
    for (auto it = first; it != last; ++it) control->setItemSelected(it->second, true);
}

void TListBoxFormControlObj::RememberValue() {
    savedCount = control->itemCount();
    savedSelection.assign(static_cast<std::size_t>(std::min(savedCount, kWatchedItems)), false);
    for (std::size_t i = 0; i < savedSelection.size(); ++i)
        savedSelection[i] = control->isItemSelected(static_cast<int>(i));
}

void TListBoxFormControlObj::CheckChanged() {
    bool changed = control->itemCount() != savedCount;
    for (std::size_t i = 0; !changed && i < savedSelection.size(); ++i)
        changed = control->isItemSelected(static_cast<int>(i)) != savedSelection[i];
    if (changed) {
        RememberValue();
        ReportChange();
    }
}

void TListBoxFormControlObj::FitSize(platform::Canvas& canvas) {
    const int widest = WidestOption(canvas);
    canvas.setFont(font);
    const long long textHeight = canvas.textExtent(u"A").cy;
    const platform::Size client{
        BoundedControlSize(control->scrollBarWidth() + static_cast<long long>(widest) + 10),
        BoundedControlSize(textHeight * VisibleRows())};
    const platform::Size outer = control->sizeForClient(client);
    SetSize(*control, givenWidth >= 10 ? givenWidth : BoundedControlSize(outer.cx),
            givenHeight >= 10 ? givenHeight : BoundedControlSize(outer.cy));
}

// ---------------------------------------------------------------- drop-down list

TComboFormControlObj::TComboFormControlObj(TSectionList* doc, ThtmlForm* owner,
                                           const TAttributeList& attrs)
    : TSelectFormControlObj(doc, owner, attrs) {
    CreateWindow(platform::FormControlKind::ComboBox);
}

void TComboFormControlObj::RestoreInitial() {
    FillItems();
    int current = options.empty() ? -1 : 0;
    for (std::size_t i = options.size(); i-- > 0;)
        if (options[i].selected) {
            current = static_cast<int>(i);
            break;
        }
    control->setCurrentIndex(current);
}

bool TComboFormControlObj::SubmitPair(int index, std::string& text) {
    if (index != 0) return false;
    const int current = control->currentIndex();
    text = current >= 0 && current < static_cast<int>(options.size())
               ? Pair(options[static_cast<std::size_t>(current)].value)
               : std::string();
    return true;
}

void TComboFormControlObj::LoadValue(int, const std::string& v) {
    const auto [first, last] = ValueIndex().equal_range(v);
    int index = -1;
    for (auto it = first; it != last; ++it)
        index = index < 0 ? it->second : std::min(index, it->second);
    if (index >= 0) control->setCurrentIndex(index);
}

void TComboFormControlObj::RememberValue() {
    savedIndex = control->currentIndex();
}

void TComboFormControlObj::CheckChanged() {
    if (control->currentIndex() != savedIndex) {
        savedIndex = control->currentIndex();
        ReportChange();
    }
}

void TComboFormControlObj::FitSize(platform::Canvas& canvas) {
    const int widest = WidestOption(canvas);
    const int natural = control->naturalHeight();
    const int clientWidth =
        BoundedControlSize(control->scrollBarWidth() + static_cast<long long>(widest) + 10);
    const platform::Size outer = control->sizeForClient({clientWidth, natural});
    SetSize(*control, givenWidth >= 10 ? givenWidth : BoundedControlSize(outer.cx),
            givenHeight > 9 ? givenHeight : BoundedControlSize(natural));
}
