#include "html/Attributes.h"

#include "platform/CodePage.h"
#include "platform/Text.h"
#include "style/Properties.h"
#include "style/StyleParser.h"

TAttributeList::TAttributeList() = default;
TAttributeList::~TAttributeList() = default;

TProperties* TAttributeList::StyleProperties() {
    const TAttribute* style = FindAttribute(symStyle);
    if (!style) return nullptr;
    styleProperties_ = std::make_unique<TProperties>();
    ParseStyleAttribute(style->StrValue, *styleProperties_);
    return styleProperties_.get();
}

void TAttributeList::Add(std::unique_ptr<TAttribute> attribute) {
    items_.push_back(std::move(attribute));
}

void TAttributeList::Clear() {
    items_.clear();
    idValue_.reset();
}

const TAttribute* TAttributeList::FindAttribute(THtmlSymbol symbol) const {
    for (const auto& item : items_)
        if (item->Symbol == symbol) return item.get();
    return nullptr;
}

std::string TAttributeList::ClassValue() const {
    const TAttribute* a = FindAttribute(symClass);
    return a ? platform::AsciiLowerCase(a->StrValue) : std::string();
}

const std::string& TAttributeList::IdValue() const {
    if (!idValue_) {
        const TAttribute* a = FindAttribute(symID);
        idValue_ = a ? platform::AsciiLowerCase(a->StrValue) : std::string();
    }
    return *idValue_;
}

std::string TAttributeList::TitleValue() const {
    const TAttribute* a = FindAttribute(symTitle);
    return a ? DisplayText(*a) : std::string();
}

std::string TAttributeList::DisplayText(const TAttribute& attribute) const {
    if (codePage_ == platform::CP_UTF8) return attribute.StrValue;
    return platform::Utf16ToUtf8(platform::ToUtf16(attribute.StrValue, codePage_));
}

platform::StringList TAttributeList::AsNameValueList() const {
    platform::StringList list;
    for (const auto& item : items_) list.add(item->AttrName + "=" + item->StrValue);
    return list;
}
