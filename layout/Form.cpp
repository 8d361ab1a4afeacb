#include "layout/Form.h"

#include "html/Attributes.h"
#include "layout/Document.h"
#include "layout/FormControls.h"

ThtmlForm::ThtmlForm(TSectionList* doc, const TAttributeList* attributes) : document(doc) {
    if (!attributes) return;
    for (int i = 0; i < attributes->Count(); ++i) {
        const TAttribute& a = (*attributes)[i];
        switch (a.Symbol) {
            // In UTF-8, as the pairs the form hands over with them are.
            case symMethod:
                method = attributes->DisplayText(a).substr(0, 4);
                break;
            case symAction:
                action = attributes->DisplayText(a);
                break;
            case symTarget:
                target = attributes->DisplayText(a);
                break;
            case symEncType:
                encoding = attributes->DisplayText(a);
                break;
            default:
                break;
        }
    }
}

ThtmlForm::~ThtmlForm() = default;

TFormControlObj* ThtmlForm::AddControl(std::unique_ptr<TFormControlObj> control) {
    if (control->IsVisible()) ++visibleCount;
    members.push_back(std::move(control));
    return members.back().get();
}

void ThtmlForm::RemoveControls(const std::unordered_set<TFormControlObj*>& dropped) {
    const auto isDropped = [&](TFormControlObj* control) { return dropped.count(control) != 0; };
    for (auto& [name, group] : radioGroups_) {
        std::erase_if(group, [&](TRadioButtonFormControlObj* radio) { return isDropped(radio); });
        for (std::size_t i = 0; i < group.size(); ++i) group[i]->groupIndex = i;
    }
    std::erase_if(members, [&](const std::unique_ptr<TFormControlObj>& control) {
        if (!isDropped(control.get())) return false;
        if (control->IsVisible()) --visibleCount;
        return true;
    });
}

std::vector<TRadioButtonFormControlObj*>& ThtmlForm::RadioGroup(const std::string& upperName) {
    return radioGroups_[upperName];
}

void ThtmlForm::ResetAll() {
    for (auto& control : members) control->RestoreInitial();
}

namespace {

void Gather(const ThtmlForm& form, bool withDisabled, std::vector<std::string>& out) {
    for (const auto& control : form.members) {
        if (control->disabled && !withDisabled) continue;
        std::string text;
        for (int index = 0;; ++index) {
            text.clear();
            if (!control->SubmitPair(index, text)) break;
            if (!text.empty()) out.push_back(text);
        }
    }
}

}  // namespace

void ThtmlForm::Submit(const std::string& extra) {
    TDocumentHost* host = document ? document->viewer : nullptr;
    if (!host || !host->HandlesFormSubmit()) return;
    std::vector<std::string> pairs;
    Gather(*this, false, pairs);
    platform::StringList results;
    for (std::string& pair : pairs) results.add(std::move(pair));
    if (!extra.empty()) results.add(extra);
    host->FormSubmitted(action, target, encoding, method, results);
}

std::vector<std::string> ThtmlForm::FormData() const {
    std::vector<std::string> pairs;
    Gather(*this, true, pairs);
    return pairs;
}

void ThtmlForm::SetFormData(const std::vector<std::string>& pairs) {
    // The pairs came from these same controls, in their order: each control takes the
    // run of pairs under its name that it gave, so controls sharing a name (a group of
    // radio buttons, rows of edits) each get their own value back.
    std::size_t next = 0;
    for (auto& control : members) {
        control->ClearData();
        const std::string prefix = control->name + "=";
        int index = 0;
        while (next < pairs.size() && pairs[next].compare(0, prefix.size(), prefix) == 0) {
            const std::string value = pairs[next].substr(prefix.size());
            if (!control->GaveValue(value)) break;
            control->LoadValue(index++, value);
            ++next;
            // Controls of one value take one pair; lists take a run of them.
            if (!dynamic_cast<TListBoxFormControlObj*>(control.get())) break;
        }
    }
}

void ThtmlForm::FitAllSizes(platform::Canvas& canvas) {
    for (auto& control : members) control->FitSize(canvas);
}
