#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/Font.h"
#include "platform/Interned.h"

using platform::Interned;

TEST(Interned, EqualTextsAreOneCopyWhereverTheyCameFrom) {
    const std::string built = std::string("Liberation") + " Serif";
    const Interned a(built);
    const Interned b("Liberation Serif");
    const Interned c(std::string_view("Liberation Serif and more").substr(0, 16));
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, c);
    EXPECT_EQ(&a.str(), &c.str());
    EXPECT_EQ(a, "Liberation Serif");
    EXPECT_FALSE(a == Interned("liberation serif"));  // case counts
    EXPECT_NE(a, Interned("Liberation Sans"));
    // The empty text, however made, is one value; it is the default.
    EXPECT_EQ(Interned(), Interned(""));
    EXPECT_EQ(Interned(), Interned(std::string()));
    EXPECT_TRUE(Interned().empty());
    EXPECT_EQ(Interned().size(), 0u);
    // Texts with a NUL inside are kept whole.
    const std::string withNul("a\0b", 3);
    EXPECT_EQ(Interned(withNul).size(), 3u);
    EXPECT_NE(Interned(withNul), Interned("a"));
}

// The recent list gives the pool's own copies, also for texts it has forgotten again
// (more than it holds, asked for in turn).
TEST(Interned, TheRecentListGivesThePoolsCopies) {
    platform::RecentInterned recent;
    std::vector<std::string> names;
    for (int i = 0; i < 12; ++i) names.push_back("tag" + std::to_string(i) + ".");
    for (int round = 0; round < 3; ++round)
        for (std::size_t n : {1u, 3u, 12u})
            for (std::size_t i = 0; i < n; ++i) {
                const Interned got = recent.Get(names[i]);
                EXPECT_EQ(&got.str(), &Interned(names[i]).str()) << names[i];
            }
    EXPECT_EQ(recent.Get(""), Interned());
    EXPECT_EQ(recent.Get(std::string_view("tag1.x").substr(0, 5)), Interned("tag1."));
}

TEST(Interned, FastOrderIsAStrictOrderThatSeparatesEveryValue) {
    std::set<Interned, bool (*)(const Interned&, const Interned&)> set(
        [](const Interned& x, const Interned& y) { return FastLess(x, y); });
    for (const char* text : {"p.", "ul.", "li.", "p.", "", "ul.", "h2.", ""}) set.insert(text);
    EXPECT_EQ(set.size(), 5u);
    EXPECT_EQ(set.count(Interned("h2.")), 1u);
}

TEST(Interned, ThreadsInterningTheSameTextsGetTheSameCopies) {
    constexpr int kThreads = 4, kTexts = 500;
    std::vector<std::vector<const std::string*>> seen(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t, &seen] {
            for (int i = 0; i < kTexts; ++i)
                seen[t].push_back(&Interned("face " + std::to_string(i)).str());
        });
    for (auto& thread : threads) thread.join();
    for (int t = 1; t < kThreads; ++t) EXPECT_EQ(seen[t], seen[0]);
}

TEST(Interned, FontsOfOneFaceCompareByTheirOtherFields) {
    platform::FontSpec a, b;
    a.face = std::string("Arial");
    b.face = "Arial";
    EXPECT_EQ(a, b);
    b.height = -14;
    EXPECT_NE(a, b);
    b = a;
    b.face = "Arial Black";
    EXPECT_NE(a, b);
}
