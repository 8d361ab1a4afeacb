#include "app/GeneratedPages.h"

#include <filesystem>
#include <system_error>

#include "app/HomePage.h"
#include "app/Search.h"
#include "platform/Files.h"
#include "platform/Text.h"

namespace fs = std::filesystem;

namespace app {

namespace {

constexpr const char* kStyleSheetFile = "main.css";

// A name the cache folder keeps for itself: the pages written there and the copy of
// the style sheet.
bool IsOwnName(const std::string& name) {
    const std::string lower = platform::AsciiLowerCase(name);
    return lower == kHomePageFile || lower == kSearchPageFile || lower == kStyleSheetFile;
}

void CopyStyleSheet(const std::string& collectionFolder, const std::string& cacheFolder) {
    const std::string styleSheet =
        platform::ResolveExistingPath(collectionFolder + kStyleSheetFile);
    if (styleSheet.empty()) {
        // No style sheet in the collection: none from an earlier one either.
        std::error_code ignored;
        fs::remove(cacheFolder + kStyleSheetFile, ignored);
        return;
    }
    platform::WriteWholeFile(cacheFolder + kStyleSheetFile, platform::ReadWholeFile(styleSheet));
}

// Pictures and pages named relative to a generated page are looked for beside
// it: each file and folder of the collection gets a link of its name in the cache.
// Links left by an earlier run (perhaps on another collection) go first; nothing else
// in the cache folder is touched.
void LinkCollectionEntries(const std::string& collectionFolder, const std::string& cacheFolder) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(cacheFolder, error))
        if (entry.is_symlink(error)) fs::remove(entry.path(), error);
    for (const auto& entry : fs::directory_iterator(collectionFolder, error)) {
        const std::string name = entry.path().filename().string();
        if (IsOwnName(name)) continue;
        const fs::path link = fs::path(cacheFolder) / name;
        std::error_code ignored;
        if (fs::exists(fs::symlink_status(link, ignored))) continue;
        fs::create_symlink(fs::absolute(entry.path(), ignored).lexically_normal(), link, ignored);
    }
}

}  // namespace

std::string PrepareGeneratedPagesFolder(const std::string& collectionFolder,
                                        CollectionWrites writes) {
    if (writes == CollectionWrites::WhenPossible && platform::CanCreateFilesIn(collectionFolder))
        return collectionFolder;
    const std::string cacheFolder = platform::UserCacheFolder("vultaria");
    if (cacheFolder.empty()) return collectionFolder;
    try {
        fs::create_directories(cacheFolder);
        LinkCollectionEntries(collectionFolder, cacheFolder);
        CopyStyleSheet(collectionFolder, cacheFolder);
    } catch (const std::exception&) {
        // Whatever could not be set up shows when the pages are written or shown.
    }
    return cacheFolder;
}

}  // namespace app
