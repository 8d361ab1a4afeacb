#include "layout/BoxSpecs.h"

#include <algorithm>

void TBoxSpecs::Set(int slot, PropValue value) {
    auto own = std::make_shared<TVMarginArray>(*specs_);
    (*own)[static_cast<std::size_t>(slot)] = std::move(value);
    specs_ = std::move(own);
}

TBoxSpecs TBoxSpecPool::Share(TVMarginArray specs) {
    auto same = [&](const TVMarginArray& shared) {
        for (std::size_t i = 0; i < specs.size(); ++i)
            if (!shared[i].SameIdentity(specs[i])) return false;
        return true;
    };
    for (std::size_t i = 0; i < recent_.size() && recent_[i]; ++i)
        if (same(*recent_[i])) {
            // Newest first: what is shared again moves to the front.
            std::rotate(recent_.begin(), recent_.begin() + std::ptrdiff_t(i),
                        recent_.begin() + std::ptrdiff_t(i) + 1);
            return TBoxSpecs(recent_[0]);
        }
    std::string key;
    key.reserve(specs.size() * 10);
    for (const PropValue& value : specs) value.AppendIdentity(key);
    auto [entry, added] = pool_.try_emplace(std::move(key));
    if (added) entry->second = std::make_shared<const TVMarginArray>(std::move(specs));
    std::rotate(recent_.begin(), recent_.end() - 1, recent_.end());
    recent_[0] = entry->second;
    return TBoxSpecs(entry->second);
}
