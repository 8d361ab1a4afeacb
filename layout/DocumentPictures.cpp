// The document's side of pictures: the page background and the pictures the host
// promised to supply later.

#include "layout/Document.h"
#include "layout/ImageObj.h"

std::string TSectionList::PictureRequestName(const std::string& given,
                                             const std::string& expanded) const {
    if (!HasPictureRequests()) return expanded;
    return events.onExpandName ? events.onExpandName(given) : given;
}

void TSectionList::AddPendingImage(const std::string& key, TImageObj* image) {
    pendingImages[key].push_back(image);
}

void TSectionList::ForgetPendingImage(TImageObj* image) {
    // The name stays listed: the host was asked and may still supply it.
    for (auto& [key, images] : pendingImages) std::erase(images, image);
}

const platform::Bitmap* TSectionList::BackgroundImage() {
    if (backgroundLooked || !showImages || backgroundName.empty()) return backgroundBitmap.get();
    backgroundLooked = true;
    const std::string name = HasPictureRequests()
                                 ? PictureRequestName(backgroundName, backgroundName)
                                 : ExpandPictureName(backgroundName);
    const std::string key = PictureKey(name);
    if (key.empty()) return nullptr;
    if (!pendingImages.count(key)) {
        const TPictureLookup found = LookupPicture(*this, name, false);
        if (!found.waiting) {
            if (found.picture)
                TakeBackground(found.picture, found.mask, imageCache ? key : std::string());
            return backgroundBitmap.get();
        }
    }
    pendingImages[key];
    backgroundPendingKey_ = key;
    return nullptr;
}

void TSectionList::TakeBackground(std::shared_ptr<platform::Bitmap> picture,
                                  std::shared_ptr<platform::Bitmap> mask, const std::string& key) {
    ReleaseBackground();
    backgroundBitmap = std::move(picture);
    backgroundMask = std::move(mask);
    backgroundKey_ = key;
}

void TSectionList::ReleaseBackground() {
    if (!backgroundKey_.empty() && imageCache && !isPrintCopy) imageCache->DecUsage(backgroundKey_);
    backgroundKey_.clear();
    backgroundBitmap.reset();
    backgroundMask.reset();
}

void TSectionList::InsertImage(const std::string& name, std::string_view bytes) {
    const std::string key = PictureKey(name);
    const auto entry = pendingImages.find(key);
    if (entry == pendingImages.end()) return;
    const std::vector<TImageObj*> waiting = std::move(entry->second);
    pendingImages.erase(entry);
    const bool forBackground = backgroundPendingKey_ == key;
    if (forBackground) backgroundPendingKey_.clear();

    // The picture goes through the cache like any other, so each image holds a use of
    // it (and a TRANSP image gets its corner mask). Without a cache, a short-lived one
    // shares the picture out the same way.
    TStringBitmapList scratch;
    TStringBitmapList& cache = imageCache ? *imageCache : scratch;
    const std::string heldKey = imageCache ? key : std::string();
    const TPictureLookup supplied = PictureFromBytes(bytes, false);
    if (supplied.picture) StorePicture(cache, key, supplied);
    for (TImageObj* image : waiting) {
        const TPictureLookup found = supplied.picture
                                         ? TakeCachedPicture(cache, key, image->transparency == 1)
                                         : TPictureLookup{};
        image->TakeSuppliedPicture(found, heldKey);
    }
    if (forBackground && supplied.picture) {
        const TPictureLookup found = TakeCachedPicture(cache, key, false);
        TakeBackground(found.picture, found.mask, heldKey);
    }
    // The use counted when storing belongs to nobody.
    if (supplied.picture) cache.DecUsage(key);
    if (viewer) viewer->RelayoutNeeded();
}
