#pragma once
// The attributes of the tag the reader read last.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "html/Symbols.h"
#include "platform/StringList.h"

class TProperties;

struct TAttribute {
    THtmlSymbol Symbol = symUnknownAttr;
    std::string AttrName;  // as read, upper case
    std::int32_t IntValue = 0;
    std::string StrValue;  // character references decoded
};

class TAttributeList {
  public:
    TAttributeList();
    ~TAttributeList();
    TAttributeList(const TAttributeList&) = delete;
    TAttributeList& operator=(const TAttributeList&) = delete;

    void Add(std::unique_ptr<TAttribute> attribute);
    void Clear();

    int Count() const { return static_cast<int>(items_.size()); }
    const TAttribute& operator[](int index) const {
        return *items_[static_cast<std::size_t>(index)];
    }

    // The first attribute with that symbol, or none.
    const TAttribute* FindAttribute(THtmlSymbol symbol) const;
    // CLASS lower-cased, or empty.
    std::string ClassValue() const;
    // ID lower-cased, or empty; worked out once per tag.
    const std::string& IdValue() const;
    // TITLE as text (UTF-8), or empty.
    std::string TitleValue() const;
    // An attribute's value as text the user reads (ALT, TITLE): UTF-8, converted from the
    // code page the page was in when the tag was read.
    std::string DisplayText(const TAttribute& attribute) const;
    void SetCodePage(int codePage) { codePage_ = codePage; }
    // One NAME=value line per attribute, the name as stored.
    platform::StringList AsNameValueList() const;

    // The STYLE attribute read into a new property set, which the list keeps (one at a
    // time: each call replaces the last); none without a STYLE attribute.
    TProperties* StyleProperties();

  private:
    std::vector<std::unique_ptr<TAttribute>> items_;
    std::unique_ptr<TProperties> styleProperties_;
    mutable std::optional<std::string> idValue_;
    int codePage_ = 1252;
};
