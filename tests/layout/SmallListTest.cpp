// The list that keeps a single value in place of its storage: whatever is done to it must
// read back as the same values as a std::vector given the same steps, across the change
// from one value held in place to many held apart and back.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "layout/Section.h"
#include "layout/SmallList.h"

namespace {

std::vector<IndexObj> Values(const TSmallList<IndexObj>& list) {
    return {list.begin(), list.end()};
}

bool Same(const std::vector<IndexObj>& a, const std::vector<IndexObj>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].textOffset != b[i].textOffset || a[i].sourcePos != b[i].sourcePos) return false;
    return true;
}

}  // namespace

TEST(SmallList, OneValueIsHeldInPlaceAndASecondMovesThemApart) {
    TSmallList<IndexObj> list;
    EXPECT_TRUE(list.empty());
    list.push_back({0, 7});
    EXPECT_EQ(1u, list.capacity());
    EXPECT_EQ(static_cast<const void*>(list.data()), static_cast<const void*>(&list))
        << "the one value lives inside the list";
    list.push_back({3, 20});
    EXPECT_NE(static_cast<const void*>(list.data()), static_cast<const void*>(&list));
    EXPECT_TRUE(Same({{0, 7}, {3, 20}}, Values(list)));
    list.pop_back();
    list.shrink_to_fit();
    EXPECT_EQ(1u, list.capacity());
    EXPECT_EQ(7, list.back().sourcePos) << "back in place, the value kept";
}

TEST(SmallList, CopiesAndMovesKeepTheValuesAndLeaveTheSourceUsable) {
    for (int count : {0, 1, 2, 5}) {
        TSmallList<IndexObj> list;
        std::vector<IndexObj> expected;
        for (int i = 0; i < count; ++i) {
            list.push_back({i, i * 10});
            expected.push_back({i, i * 10});
        }
        TSmallList<IndexObj> copy(list);
        EXPECT_TRUE(Same(expected, Values(copy))) << count << " values copied";
        TSmallList<IndexObj> moved(std::move(copy));
        EXPECT_TRUE(Same(expected, Values(moved))) << count << " values moved";
        EXPECT_TRUE(copy.empty());  // NOLINT(bugprone-use-after-move): a moved-from list is empty
        copy.push_back({9, 9});
        EXPECT_EQ(1u, copy.size());
        TSmallList<IndexObj> assigned;
        assigned.push_back({1, 1});
        assigned.push_back({2, 2});
        assigned = list;
        EXPECT_TRUE(Same(expected, Values(assigned))) << count << " values assigned";
        assigned = std::move(moved);
        EXPECT_TRUE(Same(expected, Values(assigned))) << count << " values move-assigned";
        const TSmallList<IndexObj>& itself = assigned;
        assigned = itself;  // a list given itself stays as it is
        EXPECT_TRUE(Same(expected, Values(assigned)));
    }
}

TEST(SmallList, RandomStepsReadBackAsAVectorGivenTheSameSteps) {
    std::mt19937 random(20261209);
    for (int round = 0; round < 200; ++round) {
        TSmallList<IndexObj> list;
        std::vector<IndexObj> expected;
        for (int step = 0; step < 40; ++step) {
            const int what = static_cast<int>(random() % 10);
            if (what < 5 || expected.empty()) {
                const IndexObj value{static_cast<int>(random() % 1000), step};
                list.push_back(value);
                expected.push_back(value);
            } else if (what < 7) {
                list.pop_back();
                expected.pop_back();
            } else if (what < 9) {
                const std::size_t at = random() % expected.size();
                list.erase(list.begin() + at);
                expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(at));
            } else {
                list.shrink_to_fit();
                EXPECT_EQ(std::max<std::size_t>(expected.size(), 1), list.capacity());
            }
            ASSERT_TRUE(Same(expected, Values(list))) << "round " << round << ", step " << step;
            ASSERT_GE(list.capacity(), list.size());
        }
    }
}
