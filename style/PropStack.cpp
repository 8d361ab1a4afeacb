#include "style/PropStack.h"

#include "style/StyleList.h"

void TPropStack::Reset(const TStyleList& styles) {
    entries_.clear();
    auto base = std::make_unique<TProperties>();
    if (const TProperties* defaults = styles.DefaultProps()) base->InitFromDefault(*defaults);
    else base->ElementTag = "default";
    entries_.push_back(std::move(base));
}

void TPropStack::Insert(int index, std::unique_ptr<TProperties> props) {
    entries_.insert(entries_.begin() + index, std::move(props));
}

void TPropStack::Delete(int index) {
    Recycle(std::move(entries_[index]));
    entries_.erase(entries_.begin() + index);
}

std::unique_ptr<TProperties> TPropStack::MakeEntry() {
    if (spares_.empty()) return std::make_unique<TProperties>();
    std::unique_ptr<TProperties> entry = std::move(spares_.back());
    spares_.pop_back();
    return entry;
}

void TPropStack::Recycle(std::unique_ptr<TProperties> entry) {
    if (!entry || spares_.size() >= 64) return;
    entry->Reset();
    spares_.push_back(std::move(entry));
}

TProperties& TPropStack::PushProperties(TStyleList& styles, std::string_view tag,
                                        std::string_view cls, std::string_view id,
                                        const TProperties* inlineStyle, std::string_view title,
                                        std::string_view pseudo) {
    if (entries_.empty()) Reset(styles);
    auto props = MakeEntry();
    props->Inherit(*entries_.back());
    entries_.push_back(std::move(props));
    const int index = Count() - 1;
    ApplyStyles(*entries_[index], styles, *this, index, tag, cls, id, pseudo, title, inlineStyle);
    return *entries_[index];
}

void TPropStack::PopToTag(std::string_view tag, TStyleList& styles) {
    for (int i = Count() - 1; i >= 1; --i) {
        if (entries_[i]->ElementTag != tag) continue;
        Delete(i);
        if (i > 1)
            for (int j = i; j < Count(); ++j) entries_[j]->Reparent(*entries_[j - 1], styles, *this, j);
        return;
    }
}

void TPropStack::PopTop() {
    if (Count() <= 1) return;
    Recycle(std::move(entries_.back()));
    entries_.pop_back();
}
