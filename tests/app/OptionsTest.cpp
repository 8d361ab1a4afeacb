#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

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

TEST(Options, VersionIsAnOption) {
    EXPECT_TRUE(ParseOptions({"--version"}).version);
    EXPECT_EQ(app::VersionText().rfind("vultaria ", 0), 0u);
    EXPECT_EQ(app::VersionText().back(), '\n');
}

// Where the reader looks for its collection: beside itself first (a build, a portable
// copy), then where an installation puts it.
TEST(Options, TheInstalledCollectionWhenNoneIsBesideTheProgram) {
    namespace fs = std::filesystem;
    const fs::path root =
        fs::temp_directory_path() / ("vultaria-layout-" + std::to_string(::getpid()));
    fs::remove_all(root);
    const std::string bin = (root / "usr" / "bin").string() + "/";
    fs::create_directories(bin);

    app::DefaultCollection found = app::FindDefaultCollection(bin);
    EXPECT_EQ(found.folder, bin + "output/") << "nothing anywhere: named from beside the program";
    EXPECT_FALSE(found.installed);

    fs::create_directories(root / "usr" / "share" / "vultaria" / "output");
    found = app::FindDefaultCollection(bin);
    EXPECT_EQ(found.folder, (root / "usr" / "share" / "vultaria" / "output").string() + "/");
    EXPECT_TRUE(found.installed);

    fs::create_directories(bin + "output");
    found = app::FindDefaultCollection(bin);
    EXPECT_EQ(found.folder, bin + "output/");
    EXPECT_FALSE(found.installed);
    fs::remove_all(root);
}

TEST(Options, DataOnTheCommandLineIsNeverTheInstalledCollection) {
    const app::Options options = ParseOptions({"--data", "/usr/share/vultaria/output"});
    EXPECT_EQ(options.dataFolder, "/usr/share/vultaria/output");
    EXPECT_FALSE(options.installedCollection);
}
