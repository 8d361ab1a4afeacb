#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/Catalogue.h"
#include "platform/StringList.h"
#include "platform/Text.h"

using app::RemoveAcentos;

namespace {

std::string Byte(int b) {
    return std::string(1, static_cast<char>(b));
}

}  // namespace

TEST(RemoveAcentos, FoldsEveryAccentedLetterToItsBase) {
    const struct {
        int from, to;
        char base;
    } ranges[] = {{0xC0, 0xC4, 'A'}, {0xC7, 0xC7, 'C'}, {0xC8, 0xCB, 'E'}, {0xCC, 0xCF, 'I'},
                  {0xD1, 0xD1, 'N'}, {0xD2, 0xD6, 'O'}, {0xD9, 0xDC, 'U'}, {0xDD, 0xDD, 'Y'},
                  {0x9F, 0x9F, 'Y'}, {0xE0, 0xE4, 'a'}, {0xE7, 0xE7, 'c'}, {0xE8, 0xEB, 'e'},
                  {0xEC, 0xEF, 'i'}, {0xF1, 0xF1, 'n'}, {0xF2, 0xF6, 'o'}, {0xF9, 0xFC, 'u'},
                  {0xFD, 0xFD, 'y'}, {0xFF, 0xFF, 'y'}};
    int folded = 0;
    for (const auto& range : ranges)
        for (int b = range.from; b <= range.to; ++b, ++folded)
            EXPECT_EQ(RemoveAcentos(Byte(b)), std::string(1, range.base)) << std::hex << b;
    EXPECT_EQ(folded, 52);
}

TEST(RemoveAcentos, LeavesEveryOtherByteAlone) {
    const std::string folds =
        "\xC0\xC1\xC2\xC3\xC4\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF\xD1\xD2\xD3"
        "\xD4\xD5\xD6\xD9\xDA\xDB\xDC\xDD\x9F\xE0\xE1\xE2\xE3\xE4\xE7\xE8\xE9"
        "\xEA\xEB\xEC\xED\xEE\xEF\xF1\xF2\xF3\xF4\xF5\xF6\xF9\xFA\xFB\xFC\xFD\xFF";
    for (int b = 0; b < 256; ++b) {
        if (folds.find(static_cast<char>(b)) != std::string::npos) continue;
        EXPECT_EQ(RemoveAcentos(Byte(b)), Byte(b)) << std::hex << b;
    }
    // Named: Å Æ Ð × Ø Þ ß å æ ð ÷ ø þ.
    EXPECT_EQ(RemoveAcentos("\xC5\xC6\xD0\xD7\xD8\xDE\xDF\xE5\xE6\xF0\xF7\xF8\xFE"),
              "\xC5\xC6\xD0\xD7\xD8\xDE\xDF\xE5\xE6\xF0\xF7\xF8\xFE");
}

TEST(SearchKey, FoldsThenUpperCases) {
    EXPECT_EQ(app::SearchKey("Jos\xE9 de Alencar"), "JOSE DE ALENCAR");
    EXPECT_EQ(app::SearchKey("Concei\xE7\xE3o"), "CONCEICAO");
    // Å, Æ and Ø stay (upper-cased); Ÿ and Ý fold to Y.
    EXPECT_EQ(app::SearchKey("\xE5s\xE6\xF8"), "\xC5S\xC6\xD8");
    EXPECT_EQ(app::SearchKey("\x9F\xDD\xFF\xFD"), "YYYY");
}

// The type-ahead finds names by binary search, so every collection must list them in
// the order of the reader's own comparison of their search keys.
namespace {

void ExpectInSearchOrder(const std::string& folder) {
    platform::StringList names;
    names.loadFromFile(folder + "/lista_nome.txt");
    ASSERT_GT(names.count(), 1u) << folder;
    for (std::size_t i = 1; i < names.count(); ++i)
        ASSERT_LT(
            platform::AnsiCompareText(app::SearchKey(names.at(i - 1)), app::SearchKey(names.at(i))),
            0)
            << "line " << i << " of " << folder;
}

}  // namespace

TEST(CollectionOrder, BundledNamesAreInSearchOrder) {
    ExpectInSearchOrder(VULTARIA_COLLECTION);
}

TEST(CollectionOrder, GeneratedNamesAreInSearchOrder) {
    const std::string folder = ::testing::TempDir() + "vultaria-generated";
    const std::string command = "python3 " VULTARIA_SOURCE
                                "/tools/collection/generate.py --count 3000 --no-pages --out " +
                                folder + " >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    ExpectInSearchOrder(folder);
    std::filesystem::remove_all(folder);
}
