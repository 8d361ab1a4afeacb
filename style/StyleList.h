#pragma once
// The style sheet of one document: selector keys, each with the declarations written
// for it, kept sorted so that every key an element can form is found by a binary
// search and all keys sharing a prefix lie side by side.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Types.h"
#include "style/Properties.h"

class TPropStack;

// The document that owns a style list; told when a rule needs the mouse tracked
// over links (a ":hover" rule).
class TStyleListOwner {
public:
    virtual ~TStyleListOwner() = default;
    virtual void SwitchOnHoverTracking() = 0;
};

class TStyleList {
public:
    explicit TStyleList(TStyleListOwner* ownerDocument = nullptr);
    ~TStyleList();
    TStyleList(const TStyleList&) = delete;
    TStyleList& operator=(const TStyleList&) = delete;

    // Frees every entry and restarts the sequence numbers of descendant keys.
    void Clear();
    int Count() const { return static_cast<int>(entries_.size()); }

    // Inserts in sorted position (after entries with the same key) and names Props
    // after its key.
    TProperties& AddObject(std::string_view key, std::unique_ptr<TProperties> props);
    // A new entry under Key with a copy of the 53 values of Props.
    TProperties& AddCopy(std::string_view key, const TProperties& props);
    // One declaration of a style sheet rule; unknown property names add nothing.
    void StoreDeclaration(std::string_view key, std::string_view name, const std::string& value);
    // The number that keeps descendant keys apart, as text; each call takes the next.
    std::string NextSequence();

    // Clears the list and builds the default style sheet from the viewer's settings.
    void BuildDefaults(const std::string& fontName, const std::string& preFontName,
                       double fontSize, platform::TColor fontColor, platform::TColor linkColor,
                       platform::TColor visitedColor, platform::TColor hoverColor,
                       bool linkUnderline, int charset, int marginWidth, int marginHeight);

    const TProperties* DefaultProps() const { return defaultProps_; }
    // The first entry stored under this key, or none.
    const TProperties* Find(std::string_view key) const;
    // The same, to change its values (what was worked out from the entries is dropped).
    TProperties* FindForChange(std::string_view key);
    // Whether a ":hover" rule was stored since the list was last cleared.
    bool HoverTracking() const { return hoverTracking_; }

    // One stored rule; exposed for the cascade.
    struct SelectorPart {
        std::string Tag, Class, Id, Pseudo;
    };
    struct Entry {
        std::string Key;  // lower case
        std::unique_ptr<TProperties> Props;
        std::vector<SelectorPart> Parts;  // subject first, then ancestors nearest first
        // The values merging takes from Props, worked out with the plans that use it.
        mutable std::vector<std::uint8_t> Merged;
    };
    // Index of the first entry whose key is not below `key` (lower-cased).
    std::size_t LowerBound(std::string_view key) const;
    const std::vector<Entry>& Entries() const { return entries_; }

    // Which entries the cascade merges into an element with these names (as written in
    // the document): the rules that always apply, in cascade order, then the
    // descendant rules whose own part fits, which apply when the open elements match.
    // Worked out once per combination of names; adding an entry starts afresh.
    struct CascadePlan {
        std::vector<const Entry*> Rules;
        std::vector<const Entry*> DescendantRules;
        bool IsLink = false;  // pseudo-class "link"
    };
    const CascadePlan& PlanFor(std::string_view tag, std::string_view cls, std::string_view id,
                               std::string_view pseudo) const;

    // The fonts of a link's visited, hover and visited-hover states, remembered under a
    // key made of everything they are worked out from (see ComputeLinkFonts).
    using LinkStateFonts = std::array<ThtFontInfo, 3>;
    const LinkStateFonts* FindLinkStateFonts(const std::string& key) const;
    void KeepLinkStateFonts(std::string key, const LinkStateFonts& fonts) const;

private:
    CascadePlan MakePlan(std::string_view tag, std::string_view cls, std::string_view id,
                         std::string_view pseudo) const;

    // Drops what was worked out from the entries, after they change.
    void DropDerived();

    TStyleListOwner* ownerDocument_;
    mutable std::unordered_map<std::string, CascadePlan> plans_;
    mutable std::unordered_map<std::string, LinkStateFonts> linkStateFonts_;
    std::vector<Entry> entries_;
    TProperties* defaultProps_ = nullptr;
    int nextSequence_ = 10;
    bool hoverTracking_ = false;
};

// Merges one rule's declarations into an element's properties.
void MergeEntry(const TProperties& source, TProperties& props);

// The cascade for one element: Props is already on the stack at StackIndex and has
// inherited from the entry below. Tag and the other names are matched ignoring case.
void ApplyStyles(TProperties& props, TStyleList& styles, TPropStack& stack, int stackIndex,
                 std::string_view tag, std::string_view cls, std::string_view id,
                 std::string_view pseudo, std::string_view title,
                 const TProperties* styleAttrProps);

// Works out the fonts of a link (the element at StackIndex) in its four states.
void ComputeLinkFonts(TProperties& props, TStyleList& styles, TPropStack& stack, int stackIndex);
