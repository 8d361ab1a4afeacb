#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Errors.h"
#include "platform/Files.h"
#include "tests/support/ReadOnlyFolder.h"
#include "tests/support/ScopedEnvironment.h"

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("vultaria-files-" + std::to_string(::getpid()));
        fs::create_directories(root / "Dados" / "Literatura");
        std::ofstream(root / "Dados" / "Literatura" / "Machado.HTM") << "page";
    }
    void TearDown() override {
        fs::permissions(root, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(root);
    }
    std::string at(const std::string& relative) const { return root.string() + "/" + relative; }
    fs::path root;
};

TEST_F(FilesTest, FindsFilesWithEitherSeparatorAndAnyCase) {
    EXPECT_TRUE(platform::FileExists(at("Dados/Literatura/Machado.HTM")));
    EXPECT_TRUE(platform::FileExists(at("dados\\literatura\\machado.htm")));
    EXPECT_TRUE(platform::FileExists(at("DADOS/LITERATURA/MACHADO.htm")));
    EXPECT_EQ(platform::ResolveExistingPath(at("dados\\literatura\\machado.htm")),
              at("Dados/Literatura/Machado.HTM"));
    EXPECT_FALSE(platform::FileExists(at("dados/literatura/assis.htm")));
    EXPECT_FALSE(platform::FileExists(at("dados/literatura")));  // a folder is not a file
    EXPECT_TRUE(platform::DirectoryExists(at("dados/literatura")));
    EXPECT_EQ(platform::ReadWholeFile(at("dados\\LITERATURA\\machado.htm")), "page");
}

TEST_F(FilesTest, AMissingFileIsAnOpenErrorNamingIt) {
    try {
        platform::ReadWholeFile(at("lista_nome.txt"));
        FAIL() << "no error";
    } catch (const platform::EFOpenError& error) {
        EXPECT_NE(std::string(error.what()).find("lista_nome.txt"), std::string::npos) << error.what();
    }
}

TEST_F(FilesTest, AFolderIsAnOpenErrorNamingIt) {
    try {
        platform::ReadWholeFile(at("dados\\literatura"));
        FAIL() << "no error";
    } catch (const platform::EFOpenError& error) {
        EXPECT_NE(std::string(error.what()).find("literatura"), std::string::npos) << error.what();
    }
}

TEST_F(FilesTest, WritingReplacesTheFileWhole) {
    const std::string path = at("principal.txt");
    platform::WriteWholeFile(path, "first version, longer");
    platform::WriteWholeFile(path, "second");
    EXPECT_EQ(platform::ReadWholeFile(path), "second");
    // No temporary file is left behind.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(root)) ++entries;
    EXPECT_EQ(entries, 2);  // Dados and principal.txt
}

TEST_F(FilesTest, AFailedWriteLeavesWhatWasThereAndSaysSo) {
    // A folder stands where the file should go: the write cannot replace it, even as root.
    fs::create_directories(root / "principal.txt");
    std::ofstream(root / "principal.txt" / "inside") << "kept";
    EXPECT_THROW(platform::WriteWholeFile(at("principal.txt"), "new"), platform::EFCreateError);
    EXPECT_EQ(platform::ReadWholeFile(at("principal.txt/inside")), "kept");
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(root)) ++entries;
    EXPECT_EQ(entries, 2) << "no temporary file is left behind";
}

TEST_F(FilesTest, WritingIntoAMissingFolderFails) {
    EXPECT_THROW(platform::WriteWholeFile(at("nowhere/file.txt"), "x"), platform::EFCreateError);
}

TEST_F(FilesTest, CreatingFilesIsTriedForReal) {
    EXPECT_TRUE(platform::CanCreateFilesIn(root.string()));
    EXPECT_TRUE(platform::CanCreateFilesIn(root.string() + "/"));
    EXPECT_FALSE(platform::CanCreateFilesIn(at("nowhere")));
    {
        testsupport::ReadOnlyFolder readOnly(root);
        EXPECT_FALSE(platform::CanCreateFilesIn(root.string()));
        EXPECT_FALSE(platform::CanCreateFilesIn(at("Dados")));
    }
    EXPECT_TRUE(platform::CanCreateFilesIn(at("Dados")));
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(root)) ++entries;
    EXPECT_EQ(entries, 1) << "the trial file is gone";
}

TEST(UserCacheFolder, FollowsTheDesktopRulesForTheCache) {
    using testsupport::ScopedEnvironment;
    ScopedEnvironment home("HOME", "/home/ana");
    {
        ScopedEnvironment cache("XDG_CACHE_HOME", "/var/cache/ana");
        EXPECT_EQ(platform::UserCacheFolder("vultaria"), "/var/cache/ana/vultaria/");
    }
    {
        ScopedEnvironment cache("XDG_CACHE_HOME", "/var/cache/ana/");
        EXPECT_EQ(platform::UserCacheFolder("vultaria"), "/var/cache/ana/vultaria/");
    }
    {
        ScopedEnvironment cache("XDG_CACHE_HOME", "cache");
        EXPECT_EQ(platform::UserCacheFolder("vultaria"), "/home/ana/.cache/vultaria/")
            << "a relative folder does not count";
    }
    {
        ScopedEnvironment cache("XDG_CACHE_HOME", "");
        EXPECT_EQ(platform::UserCacheFolder("vultaria"), "/home/ana/.cache/vultaria/");
    }
    ScopedEnvironment cache("XDG_CACHE_HOME", nullptr);
    EXPECT_EQ(platform::UserCacheFolder("vultaria"), "/home/ana/.cache/vultaria/");
    ScopedEnvironment noHome("HOME", nullptr);
    const std::string fromAccount = platform::UserCacheFolder("vultaria");
    ASSERT_GE(fromAccount.size(), 17u) << "the account's home folder stands in";
    EXPECT_EQ(fromAccount.substr(fromAccount.size() - 17), "/.cache/vultaria/");
    EXPECT_EQ(fromAccount[0], '/');
}
