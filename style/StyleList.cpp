#include "style/StyleList.h"

#include <algorithm>
#include <array>

#include "platform/Text.h"
#include "style/Colors.h"
#include "style/Lengths.h"
#include "style/PropStack.h"
#include "style/ValueText.h"

namespace {

// Windows-1252 lower-casing of one byte, for comparing names without allocating.
const std::array<char, 256>& LowerTable() {
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t{};
        for (int c = 0; c < 256; ++c) {
            const std::string one(1, static_cast<char>(c));
            t[c] = platform::AnsiLowerCase(one)[0];
        }
        return t;
    }();
    return table;
}

std::string LowerKey(std::string_view text) { return platform::AnsiLowerCase(text); }

// `lowered` is already lower case; `text` may be in any case.
bool SameLower(std::string_view lowered, std::string_view text) {
    if (lowered.size() != text.size()) return false;
    const auto& lower = LowerTable();
    for (std::size_t i = 0; i < text.size(); ++i)
        if (lowered[i] != lower[static_cast<unsigned char>(text[i])]) return false;
    return true;
}

TStyleList::SelectorPart SplitSimpleSelector(std::string_view text) {
    TStyleList::SelectorPart part;
    std::string rest(text);
    auto takeAfter = [&rest](char mark, std::string& field) {
        const std::size_t at = rest.find(mark);
        if (at == std::string::npos) return;
        field = rest.substr(at + 1);
        rest.resize(at);
    };
    takeAfter(':', part.Pseudo);
    takeAfter('#', part.Id);
    takeAfter('.', part.Class);
    part.Tag = rest;
    return part;
}

// A key is split at blanks into at most ten simple selectors. Descendant keys end
// each ancestor with a blank, so empty pieces are terminators, not selectors.
std::vector<TStyleList::SelectorPart> SplitKey(std::string_view key) {
    std::vector<TStyleList::SelectorPart> parts;
    std::size_t start = 0;
    while (start <= key.size()) {
        std::size_t blank = key.find(' ', start);
        if (parts.size() == 9 || blank == std::string_view::npos) blank = key.size();
        const std::string_view piece = key.substr(start, blank - start);
        if (!piece.empty() || parts.empty()) parts.push_back(SplitSimpleSelector(piece));
        start = blank + 1;
    }
    if (parts.size() > 1) {
        // The second piece carries the ancestor count and sequence number in front.
        std::string& tag = parts[1].Tag;
        std::size_t digits = 0;
        while (digits < tag.size() && tag[digits] >= '0' && tag[digits] <= '9') ++digits;
        tag.erase(0, digits);
    }
    return parts;
}

bool PartMatches(const TStyleList::SelectorPart& part, const TProperties& element) {
    return (part.Tag.empty() || SameLower(part.Tag, element.ElementTag)) &&
           (part.Class.empty() || SameLower(part.Class, element.ElementClass)) &&
           (part.Id.empty() || SameLower(part.Id, element.ElementId)) &&
           (part.Pseudo.empty() || SameLower(part.Pseudo, element.ElementPseudo));
}

struct ElementNames {
    std::string Tag, Class, Id, Pseudo;  // lower case
};

// Whether a descendant entry found by a prefix scan concerns this element at all; a
// scan stops at the first that does not.
bool ConcernsElement(const TStyleList::Entry& entry, const ElementNames& element) {
    const auto& subject = entry.Parts[0];
    return subject.Tag == element.Tag || subject.Class == element.Class ||
           subject.Pseudo == element.Pseudo;
}

// Whether the entry's own (last) part fits the element, so that only its ancestors
// remain to be matched against the open elements.
bool SubjectFits(const TStyleList::Entry& entry, const ElementNames& element) {
    const auto& subject = entry.Parts[0];
    auto fits = [](const std::string& field, const std::string& value) {
        return field.empty() || field == value;
    };
    return entry.Parts.size() >= 2 && fits(subject.Tag, element.Tag) &&
           fits(subject.Class, element.Class) && fits(subject.Id, element.Id) &&
           fits(subject.Pseudo, element.Pseudo);
}

// The ancestors of a descendant rule, nearest first, each found among the open
// elements below StackIndex, innermost first.
bool AncestorsMatch(const TStyleList::Entry& entry, const TPropStack& stack, int stackIndex) {
    const auto& parts = entry.Parts;
    std::size_t next = 1;
    for (int i = std::min(stackIndex, stack.Count()) - 1; i >= 1; --i) {
        if (!PartMatches(parts[next], stack[i])) continue;
        if (++next == parts.size()) return true;
    }
    return false;
}

// Plans made for one style list; beyond this many (a page giving every element its
// own id) they are dropped and made again as needed.
constexpr std::size_t kMaxPlans = 4096;

void StoreColor(TProperties& entry, PropIndex index, platform::TColor color) {
    entry[index] = static_cast<int>(color);
}

}  // namespace

TStyleList::TStyleList(TStyleListOwner* ownerDocument) : ownerDocument_(ownerDocument) {}

TStyleList::~TStyleList() { Clear(); }

void TStyleList::Clear() {
    DropDerived();
    entries_.clear();
    defaultProps_ = nullptr;
    nextSequence_ = 10;
    // The next page's ":hover" rules must switch tracking on again: its document set
    // hover tracking back to its default with the new defaults.
    hoverTracking_ = false;
}

std::size_t TStyleList::LowerBound(std::string_view key) const {
    const auto it = std::lower_bound(entries_.begin(), entries_.end(), key,
                                     [](const Entry& e, std::string_view k) { return e.Key < k; });
    return static_cast<std::size_t>(it - entries_.begin());
}

const TProperties* TStyleList::Find(std::string_view key) const {
    const std::string lowered = LowerKey(key);
    const std::size_t at = LowerBound(lowered);
    if (at < entries_.size() && entries_[at].Key == lowered) return entries_[at].Props.get();
    return nullptr;
}

TProperties* TStyleList::FindForChange(std::string_view key) {
    DropDerived();
    return const_cast<TProperties*>(Find(key));
}

void TStyleList::DropDerived() {
    plans_.clear();
    linkStateFonts_.clear();
}

const TStyleList::LinkStateFonts* TStyleList::FindLinkStateFonts(const std::string& key) const {
    const auto found = linkStateFonts_.find(key);
    return found != linkStateFonts_.end() ? &found->second : nullptr;
}

void TStyleList::KeepLinkStateFonts(std::string key, const LinkStateFonts& fonts) const {
    if (linkStateFonts_.size() >= kMaxPlans) linkStateFonts_.clear();
    linkStateFonts_.emplace(std::move(key), fonts);
}

TProperties& TStyleList::AddObject(std::string_view key, std::unique_ptr<TProperties> props) {
    Entry entry;
    entry.Key = LowerKey(key);
    entry.Parts = SplitKey(entry.Key);
    props->ElementTag = std::string(key);
    entry.Props = std::move(props);
    DropDerived();
    const auto it = std::upper_bound(entries_.begin(), entries_.end(), entry.Key,
                                     [](const std::string& k, const Entry& e) { return k < e.Key; });
    return *entries_.insert(it, std::move(entry))->Props;
}

TProperties& TStyleList::AddCopy(std::string_view key, const TProperties& props) {
    auto copy = std::make_unique<TProperties>();
    copy->Copy(props);
    return AddObject(key, std::move(copy));
}

std::string TStyleList::NextSequence() { return std::to_string(nextSequence_++); }

void TStyleList::StoreDeclaration(std::string_view key, std::string_view name,
                                  const std::string& value) {
    PropIndex index;
    if (!PropertyIndexFromName(name, index)) return;
    TProperties* entry = FindForChange(key);
    std::unique_ptr<TProperties> created;
    if (!entry) {
        created = std::make_unique<TProperties>();
        entry = created.get();
    }
    platform::TColor color;
    switch (index) {
        case piBorderStyle:
            for (int i : {int(piBorderStyle), int(piBorderTopStyle), int(piBorderRightStyle),
                          int(piBorderBottomStyle), int(piBorderLeftStyle)})
                entry->Values[i] = value;
            break;
        case piColor:
            if (ParseColor(value, false, color)) {
                // A link colour is also the colour of the link's other states until
                // rules for those states say otherwise.
                if (key == ":link") {
                    if (TProperties* hover = FindForChange("::hover")) StoreColor(*hover, piColor, color);
                    if (TProperties* visited = FindForChange("::visited")) StoreColor(*visited, piColor, color);
                } else if (key == ":visited") {
                    if (TProperties* hover = FindForChange("::hover")) StoreColor(*hover, piColor, color);
                }
                StoreColor(*entry, piColor, color);
            }
            break;
        case piBackgroundColor:
            StoreColor(*entry, piBackgroundColor,
                       ParseColor(value, false, color) ? color : platform::clNone);
            break;
        case piBorderColor:
            if (ParseColor(value, false, color))
                for (int i : {int(piBorderColor), int(piBorderTopColor), int(piBorderRightColor),
                              int(piBorderBottomColor), int(piBorderLeftColor)})
                    StoreColor(*entry, static_cast<PropIndex>(i), color);
            break;
        case piBorderTopColor: case piBorderRightColor: case piBorderBottomColor:
        case piBorderLeftColor:
            if (ParseColor(value, false, color)) StoreColor(*entry, index, color);
            break;
        case piBorderTopStyle: case piBorderRightStyle: case piBorderBottomStyle:
        case piBorderLeftStyle:
            if (value != "none") entry->Values[piBorderStyle] = value;
            entry->Values[index] = value;
            break;
        case piVisibility:
            if (value == "visible") entry->Values[index] = 2;
            else if (value == "hidden") entry->Values[index] = 1;
            break;
        case piTextTransform:
            entry->Values[index] = value == "uppercase" ? 1 : value == "lowercase" ? 2 : 0;
            break;
        default:
            entry->Values[index] = value;
            break;
    }
    if (created) AddObject(key, std::move(created));
    if (Contains(key, ":hover") && !hoverTracking_) {
        hoverTracking_ = true;
        if (ownerDocument_) ownerDocument_->SwitchOnHoverTracking();
    }
    if (key == "a") StoreDeclaration("::link", name, value);
}

namespace {

// Whether merging takes this value of a rule: a value is given (a box value that is
// not the unset marker).
bool IsMerged(int i, const PropValue& value) {
    if (value.isEmpty()) return false;
    return !(i >= piMarginTop && i <= piLeft && value.isInteger() && value.integer() == NoValue);
}

void MergeValue(int i, const PropValue& value, TProperties& props, TFontInfoArray* linkFonts) {
    props.Values[i] = value;
    props.Assigned[i] = true;
    if (!linkFonts || (i >= piMarginTop && i <= piLeft)) return;
    const std::string text = value.toText();
    for (ThtFontInfo& slot : linkFonts->Ary) {
        switch (i) {
            case piFontFamily: {
                const std::string face = ResolveFontName(text);
                if (!face.empty()) slot.Name = face;
                break;
            }
            case piFontSize:
                // A size already worked out (a real from the default sheet or an
                // attribute) is in points; only text needs reading.
                slot.Size = value.isNumber() ? value.toReal() : LengthToPoints(text, slot.Size);
                break;
            case piFontStyle:
                if (text == "italic" || text == "oblique") slot.Style |= platform::fsItalic;
                else if (text == "normal") slot.Style &= ~platform::fsItalic;
                break;
            case piFontWeight: {
                int weight = 0;
                if (Contains(text, "bold")) slot.Style |= platform::fsBold;
                else if (Contains(text, "normal")) slot.Style &= ~platform::fsBold;
                else if (ReadInteger(text, weight) && weight >= 600) slot.Style |= platform::fsBold;
                break;
            }
            case piTextDecoration:
                if (text == "underline") slot.Style |= platform::fsUnderline;
                else if (text == "line-through") slot.Style |= platform::fsStrikeOut;
                else if (text == "none")
                    slot.Style &= ~(platform::fsUnderline | platform::fsStrikeOut);
                break;
            case piColor:
                slot.Color = static_cast<platform::TColor>(value.toInteger());
                break;
            case piBackgroundColor:
                slot.BackgroundColor = static_cast<platform::TColor>(value.toInteger());
                break;
            default:
                break;
        }
    }
}

// A stored rule merged through the values it is known to give.
void MergeRule(const TStyleList::Entry& entry, TProperties& props) {
    TFontInfoArray* linkFonts = props.InsideLink ? props.LinkFonts.get() : nullptr;
    for (std::uint8_t i : entry.Merged) MergeValue(i, entry.Props->Values[i], props, linkFonts);
}

}  // namespace

void MergeEntry(const TProperties& source, TProperties& props) {
    TFontInfoArray* linkFonts = props.InsideLink ? props.LinkFonts.get() : nullptr;
    for (int i = 0; i < PropCount; ++i)
        if (IsMerged(i, source.Values[i])) MergeValue(i, source.Values[i], props, linkFonts);
}


TStyleList::CascadePlan TStyleList::MakePlan(std::string_view tag, std::string_view cls,
                                            std::string_view id, std::string_view pseudo) const {
    const ElementNames names{LowerKey(tag), LowerKey(cls), LowerKey(id), LowerKey(pseudo)};
    const std::string &t = names.Tag, &c = names.Class, &d = names.Id, &p = names.Pseudo;
    CascadePlan plan;
    plan.IsLink = p == "link";
    // The plain rules of a link are not laid again over its visited or hover state.
    const bool plain = !(p == "hover" || p == "visited");

    auto merge = [&](const std::string& key) {
        for (std::size_t i = LowerBound(key); i < entries_.size() && entries_[i].Key == key; ++i)
            plan.Rules.push_back(&entries_[i]);
    };
    if (t == "a" && !p.empty()) merge("::" + p);
    if (plain) merge(t);
    if (!p.empty()) merge(":" + p);
    if (!c.empty() && plain) {
        merge("." + c);
        merge(t + "." + c);
    }
    if (!p.empty()) {
        merge(t + ":" + p);
        if (!c.empty()) {
            merge("." + c + ":" + p);
            merge(t + "." + c + ":" + p);
        }
    }
    if (!d.empty()) {
        merge("#" + d);
        merge(t + "#" + d);
        if (!c.empty()) merge("." + c + "#" + d);
        if (!p.empty()) {
            merge("#" + d + ":" + p);
            merge(t + "#" + d + ":" + p);
        }
        if (!c.empty()) merge(t + "." + c + "#" + d);
        if (!c.empty() && !p.empty()) {
            merge("." + c + "#" + d + ":" + p);
            merge(t + "." + c + "#" + d + ":" + p);
        }
    }

    for (const std::string& prefix : {t, "." + c, ":" + p}) {
        for (std::size_t i = LowerBound(prefix); i < entries_.size(); ++i) {
            const Entry& entry = entries_[i];
            if (entry.Key.compare(0, prefix.size(), prefix) != 0) break;
            if (!ConcernsElement(entry, names)) break;
            if (SubjectFits(entry, names)) plan.DescendantRules.push_back(&entry);
        }
    }
    for (const auto* list : {&plan.Rules, &plan.DescendantRules}) {
        for (const Entry* entry : *list) {
            entry->Merged.clear();
            for (int i = 0; i < PropCount; ++i)
                if (IsMerged(i, entry->Props->Values[i])) entry->Merged.push_back(static_cast<std::uint8_t>(i));
        }
    }
    return plan;
}

const TStyleList::CascadePlan& TStyleList::PlanFor(std::string_view tag, std::string_view cls,
                                                   std::string_view id,
                                                   std::string_view pseudo) const {
    std::string key;
    key.reserve(tag.size() + cls.size() + id.size() + pseudo.size() + 3);
    key.append(tag).append(1, '\0').append(cls).append(1, '\0').append(id).append(1, '\0').append(pseudo);
    if (const auto found = plans_.find(key); found != plans_.end()) return found->second;
    if (plans_.size() >= kMaxPlans) plans_.clear();
    return plans_.emplace(std::move(key), MakePlan(tag, cls, id, pseudo)).first->second;
}

void ApplyStyles(TProperties& props, TStyleList& styles, TPropStack& stack, int stackIndex,
                 std::string_view tag, std::string_view cls, std::string_view id,
                 std::string_view pseudo, std::string_view title,
                 const TProperties* styleAttrProps) {
    const PropValue& size = props[piFontSize];
    const double parentPoints =
        size.isReal() && size.real() != 0 ? size.real() : DefaultPointSize();

    // The plan stays valid until the next plan is made (working out link fonts below
    // makes more).
    const TStyleList::CascadePlan& plan = styles.PlanFor(tag, cls, id, pseudo);
    for (const TStyleList::Entry* rule : plan.Rules) MergeRule(*rule, props);
    for (const TStyleList::Entry* entry : plan.DescendantRules)
        if (AncestorsMatch(*entry, stack, stackIndex)) MergeRule(*entry, props);
    const bool isLink = plan.IsLink;

    if (styleAttrProps) MergeEntry(*styleAttrProps, props);

    PropValue& finalSize = props[piFontSize];
    if (!finalSize.isNumber()) {
        // With no size anywhere (a list without defaults) the parent's size stands.
        finalSize = finalSize.isEmpty() ? parentPoints
                                        : LengthToPoints(finalSize.toText(), parentPoints);
    }

    props.ElementTag.assign(tag);
    props.ElementClass.assign(cls);
    props.ElementId.assign(id);
    props.ElementPseudo.assign(pseudo);
    props.StyleAttrProps = styleAttrProps;
    if (!title.empty()) props.ElementTitle = std::string(title);

    if (isLink) {
        if (!props.LinkFonts) props.LinkFonts = std::make_unique<TFontInfoArray>();
        ComputeLinkFonts(props, styles, stack, stackIndex);
        props.InsideLink = true;
    }
}

namespace {

// A short-lived entry at `index` for one link state, combined like the link itself.
TProperties& PushLinkState(TProperties& link, TStyleList& styles, TPropStack& stack, int index,
                           std::string_view pseudo) {
    auto state = stack.MakeEntry();
    state->Inherit(stack[index - 1]);
    stack.Insert(index, std::move(state));
    TProperties& entry = stack[index];
    ApplyStyles(entry, styles, stack, index, link.ElementTag, link.ElementClass, link.ElementId,
                pseudo, link.ElementTitle, link.StyleAttrProps);
    entry.SetFontBackground();
    return entry;
}

// What a link's state fonts are worked out from: the link's names, the values its
// states inherit and read for their fonts, its font background and character set, and
// the default size. False when rules for ancestors or a style attribute take part,
// which depend on more than that.
bool LinkStateKey(const TProperties& link, const TStyleList& styles, std::string& key) {
    if (link.StyleAttrProps) return false;
    for (std::string_view pseudo : {"visited", "hover"})
        if (!styles.PlanFor(link.ElementTag, link.ElementClass, link.ElementId, pseudo)
                 .DescendantRules.empty())
            return false;
    key.reserve(64);
    key.append(link.ElementTag).append(1, '\0').append(link.ElementClass).append(1, '\0');
    key.append(link.ElementId).append(1, '\0');
    for (PropIndex index : {piFontFamily, piFontSize, piFontStyle, piFontWeight, piTextDecoration, piColor})
        link[index].AppendIdentity(key);
    const double defaultPoints = DefaultPointSize();
    key.append(reinterpret_cast<const char*>(&link.FontBackground), sizeof link.FontBackground);
    key.append(reinterpret_cast<const char*>(&link.FontCharset), sizeof link.FontCharset);
    key.append(reinterpret_cast<const char*>(&defaultPoints), sizeof defaultPoints);
    return true;
}

}  // namespace

void ComputeLinkFonts(TProperties& props, TStyleList& styles, TPropStack& stack, int stackIndex) {
    if (!props.LinkFonts) props.LinkFonts = std::make_unique<TFontInfoArray>();
    TFontInfoArray& fonts = *props.LinkFonts;
    props.SetFontBackground();
    props.FillFontInfo(fonts[TFontInfoArray::Link]);
    // Without the link on the stack there is nothing to inherit from; the other
    // states then look like the link.
    if (stackIndex < 0 || stackIndex >= stack.Count() || &stack[stackIndex] != &props) {
        for (int slot = 1; slot < 4; ++slot) fonts[slot] = fonts[TFontInfoArray::Link];
        return;
    }
    // Links mostly look alike: unless rules for the link's ancestors or a style
    // attribute take part, the states are remembered by what they come from.
    std::string key;
    const bool remembered = LinkStateKey(props, styles, key);
    if (remembered) {
        if (const auto* known = styles.FindLinkStateFonts(key)) {
            fonts[TFontInfoArray::Visited] = (*known)[0];
            fonts[TFontInfoArray::VisitedHover] = (*known)[1];
            fonts[TFontInfoArray::Hover] = (*known)[2];
            return;
        }
    }
    {
        TProperties& visited = PushLinkState(props, styles, stack, stackIndex + 1, "visited");
        visited.FillFontInfo(fonts[TFontInfoArray::Visited]);
        TProperties& visitedHover = PushLinkState(props, styles, stack, stackIndex + 2, "hover");
        visitedHover.FillFontInfo(fonts[TFontInfoArray::VisitedHover]);
        stack.Delete(stackIndex + 2);
        stack.Delete(stackIndex + 1);
    }
    TProperties& hover = PushLinkState(props, styles, stack, stackIndex + 1, "hover");
    hover.FillFontInfo(fonts[TFontInfoArray::Hover]);
    stack.Delete(stackIndex + 1);
    if (remembered)
        styles.KeepLinkStateFonts(std::move(key), {fonts[TFontInfoArray::Visited],
                                                   fonts[TFontInfoArray::VisitedHover],
                                                   fonts[TFontInfoArray::Hover]});
}
