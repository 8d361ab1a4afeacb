#include <gtest/gtest.h>

#include "app/Options.h"

using app::ParseOptions;

TEST(Options, DataFolderDefaultsToOutputBesideTheExecutable) {
    const app::Options options = ParseOptions({});
    ASSERT_GE(options.dataFolder.size(), 7u);
    EXPECT_EQ(options.dataFolder.substr(options.dataFolder.size() - 7), "output/");
    EXPECT_TRUE(options.screenshot.empty());
    EXPECT_TRUE(options.error.empty());
}

TEST(Options, ReadsEveryOptionInBothForms) {
    app::Options options = ParseOptions({"--data", "/tmp/c", "--screenshot", "s.png"});
    EXPECT_EQ(options.dataFolder, "/tmp/c");
    EXPECT_EQ(options.screenshot, "s.png");
    options = ParseOptions({"--data=/x", "--screenshot=y.png", "--help"});
    EXPECT_EQ(options.dataFolder, "/x");
    EXPECT_EQ(options.screenshot, "y.png");
    EXPECT_TRUE(options.help);
}

TEST(Options, MistakesAreReported) {
    EXPECT_FALSE(ParseOptions({"--data"}).error.empty());
    EXPECT_FALSE(ParseOptions({"--colour"}).error.empty());
}
