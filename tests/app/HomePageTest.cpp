#include <gtest/gtest.h>

#include "app/HomePage.h"

using app::FillHomePageMarkers;

namespace {

// A clock that tells how often it was read.
struct Clock {
    int reads = 0;
    std::string operator()() { return "T" + std::to_string(++reads); }
};

}  // namespace

TEST(HomePageMarkers, FirstDateAndFirstTwoTimesAreFilledIn) {
    Clock clock;
    auto now = [&] { return clock(); };
    EXPECT_EQ(FillHomePageMarkers("<p>##DATA ##HORA</p>", "08/12/2026", now),
              "<p>08/12/2026 T1</p>");
    EXPECT_EQ(FillHomePageMarkers("##DATA/##DATA", "D", now), "D/##DATA");
    clock.reads = 0;
    EXPECT_EQ(FillHomePageMarkers("##HORA ##HORA ##HORA", "D", now), "T1 T2 ##HORA");
    EXPECT_EQ(clock.reads, 2) << "the clock is read once per marker filled";
}

TEST(HomePageMarkers, TextWithoutMarkersIsUnchangedAndTheClockUnread) {
    Clock clock;
    auto now = [&] { return clock(); };
    EXPECT_EQ(FillHomePageMarkers("", "D", now), "");
    EXPECT_EQ(FillHomePageMarkers("##DAT ##HOR #DATA", "D", now), "##DAT ##HOR #DATA");
    EXPECT_EQ(clock.reads, 0);
}

TEST(HomePageMarkers, DateAndTimeAreReadable) {
    const std::string date = app::CurrentShortDate();
    const std::string time = app::CurrentLongTime();
    EXPECT_FALSE(date.empty());
    // Hours, minutes and seconds: at least two separators, and no time zone letters.
    EXPECT_GE(std::count(time.begin(), time.end(), ':'), 2) << time;
    EXPECT_EQ(time.find("UTC"), std::string::npos) << time;
}
