#include <gtest/gtest.h>

#include "image/ImageCache.h"

namespace {

TBitmapItem Picture() {
    TBitmapItem item;
    item.picture = std::make_shared<platform::Bitmap>(2, 2);
    return item;
}

}  // namespace

TEST(ImageCache, UsesAreCountedByStoringTakingAndReleasing) {
    TStringBitmapList cache;
    EXPECT_EQ(cache.ageLimit(), 4);
    cache.AddObject("A.GIF", Picture());
    EXPECT_EQ(cache.find("A.GIF")->usageCount, 1);
    // A second image of the same source shares the entry.
    TBitmapItem* taken = cache.GetImage("A.GIF");
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken->usageCount, 2);
    cache.DecUsage("A.GIF");
    cache.DecUsage("A.GIF");
    EXPECT_EQ(cache.find("A.GIF")->usageCount, 0);
    cache.DecUsage("NOT-THERE.GIF");  // nothing happens
    EXPECT_EQ(cache.GetImage("NOT-THERE.GIF"), nullptr);
    EXPECT_EQ(cache.count(), 1u);
}

TEST(ImageCache, UnusedPicturesAreDroppedAfterMoreLoadsThanTheLimit) {
    TStringBitmapList cache;
    cache.SetCacheCount(2);
    cache.AddObject("UNUSED", Picture());
    cache.DecUsage("UNUSED");
    cache.AddObject("SHOWN", Picture());
    for (int load = 1; load <= 2; ++load) {
        cache.BumpAndCheck();
        EXPECT_TRUE(cache.contains("UNUSED")) << "load " << load;
    }
    cache.BumpAndCheck();
    EXPECT_FALSE(cache.contains("UNUSED"));
    // A picture in use is kept however old it is, until released.
    for (int load = 0; load < 10; ++load) cache.BumpAndCheck();
    EXPECT_TRUE(cache.contains("SHOWN"));
    cache.DecUsage("SHOWN");
    cache.BumpAndCheck();
    EXPECT_FALSE(cache.contains("SHOWN"));
}

TEST(ImageCache, TakingAPictureMakesItNewAgain) {
    TStringBitmapList cache;
    cache.SetCacheCount(1);
    cache.AddObject("P", Picture());
    cache.DecUsage("P");
    cache.BumpAndCheck();
    cache.GetImage("P");
    cache.DecUsage("P");
    cache.BumpAndCheck();
    EXPECT_TRUE(cache.contains("P")) << "age 1 is not above the limit";
    cache.BumpAndCheck();
    EXPECT_FALSE(cache.contains("P"));
}

TEST(ImageCache, LoweringTheLimitDropsOldUnusedPicturesAtOnce) {
    TStringBitmapList cache;
    cache.AddObject("OLD", Picture());
    cache.DecUsage("OLD");
    cache.AddObject("USED", Picture());
    for (int load = 0; load < 3; ++load) cache.BumpAndCheck();
    cache.SetCacheCount(1);
    EXPECT_FALSE(cache.contains("OLD"));
    EXPECT_TRUE(cache.contains("USED"));
    EXPECT_EQ(cache.ageLimit(), 1);
    cache.Clear();
    EXPECT_EQ(cache.count(), 0u);
}
