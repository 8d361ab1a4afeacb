#include "layout/BoxSpecs.h"

#include <algorithm>

#include "platform/Screen.h"

void TBoxSpecs::Set(int slot, PropValue value) {
    auto own = std::make_shared<TShared>(specs_->values);
    own->values[static_cast<std::size_t>(slot)] = std::move(value);
    specs_ = std::move(own);
}

void TBoxSpecs::Convert(int baseWidth, int baseHeight, int emPixels, int exPixels, int& autoCount,
                        TBoxNumbers& box) const {
    const TConversionKey key{baseWidth, baseHeight, emPixels, exPixels,
                             platform::CurrentPixelsPerInch()};
    auto& recent = specs_->recent;
    std::uint8_t& newest = specs_->newest;
    auto matches = [&](const TConversion& conversion) {
        return conversion.made && conversion.key == key;
    };
    if (!matches(recent[newest])) {
        newest ^= 1;
        if (!matches(recent[newest])) {
            TConversion& made = recent[newest];
            made.made = true;
            made.key = key;
            ConvertMarginArray(specs_->values, baseWidth, baseHeight, emPixels, exPixels,
                               made.autoCount, made.box);
        }
    }
    const TConversion& last = recent[newest];
    autoCount = last.autoCount;
    // The vertical margins are not converted here (ConvertVerticalMargins): the box
    // keeps its own.
    const int top = box[BoxSlot(piMarginTop)], bottom = box[BoxSlot(piMarginBottom)];
    box = last.box;
    box[BoxSlot(piMarginTop)] = top;
    box[BoxSlot(piMarginBottom)] = bottom;
}

template <class Same>
bool TBoxSpecPool::FromRecent(Same same) {
    for (std::size_t i = 0; i < recent_.size() && recent_[i]; ++i)
        if (same(recent_[i]->values)) {
            // Newest first: what is shared again moves to the front.
            std::rotate(recent_.begin(), recent_.begin() + std::ptrdiff_t(i),
                        recent_.begin() + std::ptrdiff_t(i) + 1);
            return true;
        }
    return false;
}

TBoxSpecs TBoxSpecPool::Share(const TVMarginArray& specs) {
    auto same = [&](const TVMarginArray& values) {
        for (std::size_t i = 0; i < specs.size(); ++i)
            if (!values[i].SameIdentity(specs[i])) return false;
        return true;
    };
    if (FromRecent(same)) return TBoxSpecs(recent_[0]);
    std::string key;
    key.reserve(specs.size() * 10);
    for (const PropValue& value : specs) value.AppendIdentity(key);
    auto [entry, added] = pool_.try_emplace(std::move(key));
    if (added) entry->second = std::make_shared<const TBoxSpecs::TShared>(specs);
    std::rotate(recent_.begin(), recent_.end() - 1, recent_.end());
    recent_[0] = entry->second;
    return TBoxSpecs(entry->second);
}

TBoxSpecs TBoxSpecPool::Share(const TProperties& props) {
    // Most blocks have the box of one of the last few, with the very same values: those
    // are found without making the array.
    if (FromRecent([&](const TVMarginArray& values) { return props.HasMarginArray(values); }))
        return TBoxSpecs(recent_[0]);
    TVMarginArray specs;
    props.GetMarginArray(specs);
    return Share(specs);
}
