#include "layout/BoxSpecs.h"

void TBoxSpecs::Set(int slot, PropValue value) {
    auto own = std::make_shared<TVMarginArray>(*specs_);
    (*own)[static_cast<std::size_t>(slot)] = std::move(value);
    specs_ = std::move(own);
}

TBoxSpecs TBoxSpecPool::Share(TVMarginArray specs) {
    std::string key;
    key.reserve(specs.size() * 10);
    for (const PropValue& value : specs) value.AppendIdentity(key);
    auto [entry, added] = pool_.try_emplace(std::move(key));
    if (added) entry->second = std::make_shared<const TVMarginArray>(std::move(specs));
    return TBoxSpecs(entry->second);
}
