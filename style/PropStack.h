#pragma once
// The properties of the open elements while a document is built, outermost first.
// Entry 0 is the document's base entry, made from the style list's defaults; it is
// never removed. The cascade walks this stack to match descendant rules, and link
// fonts are worked out by pushing short-lived entries onto it.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "style/Properties.h"

class TStyleList;

class TPropStack {
public:
    int Count() const { return static_cast<int>(entries_.size()); }
    TProperties& operator[](int index) { return *entries_[index]; }
    const TProperties& operator[](int index) const { return *entries_[index]; }
    TProperties& Last() { return *entries_.back(); }

    // Empties the stack and gives it a base entry from the list's "default" entry.
    void Reset(const TStyleList& styles);
    void Insert(int index, std::unique_ptr<TProperties> props);
    // An empty entry to fill and Insert, made in the memory of one closed before when
    // there is one: a page opens and closes tens of thousands of elements.
    std::unique_ptr<TProperties> MakeEntry();
    void Delete(int index);
    void Clear() { entries_.clear(); }

    // Opens an element: a new entry inherits from the one below and is combined with
    // the style sheet. Returns the new entry.
    TProperties& PushProperties(TStyleList& styles, std::string_view tag, std::string_view cls,
                                std::string_view id, const TProperties* inlineStyle,
                                std::string_view title, std::string_view pseudo);
    // Closes the nearest open element with this tag, even with elements opened after
    // it still open; those are re-based on their new parents.
    void PopToTag(std::string_view tag, TStyleList& styles);
    // Closes the innermost element (never the base entry).
    void PopTop();

private:
    void Recycle(std::unique_ptr<TProperties> entry);

    std::vector<std::unique_ptr<TProperties>> entries_;
    std::vector<std::unique_ptr<TProperties>> spares_;
};
