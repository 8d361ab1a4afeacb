#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/Errors.h"
#include "platform/Files.h"

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
