#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/StringList.h"

using platform::StringList;
using Lines = std::vector<std::string>;

TEST(StringListSplit, EveryLineEndCountsOnce) {
    EXPECT_EQ(StringList::SplitLines("a\r\nb\r\nc\r\n"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(StringList::SplitLines("a\rb\rc\r"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(StringList::SplitLines("a\nb\nc\n"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(StringList::SplitLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    // LF CR is two line ends, and so is CR CR.
    EXPECT_EQ(StringList::SplitLines("a\n\rb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(StringList::SplitLines("a\r\rb"), (Lines{"a", "", "b"}));
}

TEST(StringListSplit, FinalLineWithoutEndIsKeptAndEmptyRemainderIsNot) {
    EXPECT_EQ(StringList::SplitLines("first\r\nlast"), (Lines{"first", "last"}));
    EXPECT_EQ(StringList::SplitLines("only"), (Lines{"only"}));
    EXPECT_EQ(StringList::SplitLines("one\r\n"), (Lines{"one"}));
    EXPECT_EQ(StringList::SplitLines(""), Lines{});
    EXPECT_EQ(StringList::SplitLines("\r\n"), (Lines{""}));
    EXPECT_EQ(StringList::SplitLines("\r\n\r\n"), (Lines{"", ""}));
}

TEST(StringListSplit, NulEndsTheText) {
    using namespace std::string_literals;
    EXPECT_EQ(StringList::SplitLines("a\r\nb\0c\r\nd"s), (Lines{"a", "b"}));
    EXPECT_EQ(StringList::SplitLines("\0a\r\n"s), Lines{});
}

TEST(StringListSplit, BytesAboveAsciiAreKept) {
    EXPECT_EQ(StringList::SplitLines("Jos\xE9\r\n\xC9rico"), (Lines{"Jos\xE9", "\xC9rico"}));
}

TEST(StringList, TextWritesEveryLineWithCrLf) {
    StringList list;
    list.setText("a\nb");
    EXPECT_EQ(list.text(), "a\r\nb\r\n");
    list.clear();
    EXPECT_EQ(list.text(), "");
}

TEST(StringList, IndexOutsideTheListNamesTheIndex) {
    StringList list;
    list.add("x");
    EXPECT_EQ(list.at(0), "x");
    try {
        (void)list.at(3);
        FAIL() << "no error for index 3";
    } catch (const platform::EListError& error) {
        EXPECT_STREQ(error.what(), "List index out of bounds (3)");
    }
    EXPECT_THROW(list.removeAt(1), platform::EListError);
    list.insert(1, "y");
    list.insert(0, "w");
    EXPECT_EQ(list.lines(), (Lines{"w", "x", "y"}));
    list.removeLast();
    EXPECT_EQ(list.last(), "x");
}

TEST(StringList, FileRoundTripKeepsBytesAndWritesCrLf) {
    const auto dir = std::filesystem::temp_directory_path() / "vultaria-stringlist";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "list.txt").string();
    StringList list;
    list.setText("Ant\xF4nio\rB\nC");
    list.saveToFile(path);
    EXPECT_EQ(platform::ReadWholeFile(path), "Ant\xF4nio\r\nB\r\nC\r\n");
    StringList again;
    again.loadFromFile(path);
    EXPECT_EQ(again.lines(), list.lines());
    std::filesystem::remove_all(dir);
}
