#pragma once
// The image cache: pictures by name, shared by the documents a viewer loads one after
// another and by their print copies. Each entry counts the images that use it and
// how many loads ago it was last taken; a picture that no document uses is dropped
// once it is older than the age limit.

#include <map>
#include <memory>
#include <string>

#include "platform/Bitmap.h"

class TGIFImage;

struct TBitmapItem {
    std::shared_ptr<platform::Bitmap> picture;
    std::shared_ptr<platform::Bitmap> mask;
    // An animated GIF: its frames (the picture is the first of them). Every image that
    // shows it animates a copy sharing the frames.
    std::shared_ptr<const TGIFImage> animation;
    int transparency = 0;
    int age = 0;         // loads since the picture was last taken
    int usageCount = 0;  // images holding the picture
};

class TStringBitmapList {
public:
    static constexpr int kInitialAgeLimit = 4;

    // Names are keys as given: callers pass trimmed, upper-cased names.
    bool contains(const std::string& name) const { return items_.count(name) != 0; }
    std::size_t count() const { return items_.size(); }
    const TBitmapItem* find(const std::string& name) const;

    // Stores an entry (replacing one of the same name) and counts one use.
    void AddObject(const std::string& name, TBitmapItem item);
    // The entry's picture, counting one use and making it new again; null when absent.
    TBitmapItem* GetImage(const std::string& name);
    // Uncounts one use; nothing when the name is not cached.
    void DecUsage(const std::string& name);

    int ageLimit() const { return ageLimit_; }
    // Drops every unused entry older than the new limit, then keeps the limit.
    void SetCacheCount(int limit);
    // One more load: every entry ages, and unused ones past the limit are dropped.
    void BumpAndCheck();
    void Clear() { items_.clear(); }

private:
    void DropUnusedOlderThan(int limit);

    std::map<std::string, TBitmapItem> items_;
    int ageLimit_ = kInitialAgeLimit;
};
