#include "image/ImageCache.h"

const TBitmapItem* TStringBitmapList::find(const std::string& name) const {
    auto it = items_.find(name);
    return it == items_.end() ? nullptr : &it->second;
}

void TStringBitmapList::AddObject(const std::string& name, TBitmapItem item) {
    item.usageCount += 1;
    items_[name] = std::move(item);
}

TBitmapItem* TStringBitmapList::GetImage(const std::string& name) {
    auto it = items_.find(name);
    if (it == items_.end()) return nullptr;
    it->second.age = 0;
    it->second.usageCount += 1;
    return &it->second;
}

void TStringBitmapList::DecUsage(const std::string& name) {
    auto it = items_.find(name);
    if (it != items_.end()) it->second.usageCount -= 1;
}

void TStringBitmapList::DropUnusedOlderThan(int limit) {
    for (auto it = items_.begin(); it != items_.end();) {
        if (it->second.age > limit && it->second.usageCount <= 0)
            it = items_.erase(it);
        else
            ++it;
    }
}

void TStringBitmapList::SetCacheCount(int limit) {
    DropUnusedOlderThan(limit);
    ageLimit_ = limit;
}

void TStringBitmapList::BumpAndCheck() {
    for (auto& [name, item] : items_) item.age += 1;
    DropUnusedOlderThan(ageLimit_);
}
