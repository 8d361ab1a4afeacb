#include <gtest/gtest.h>

#include "platform/CodePage.h"

using platform::FromUtf16;
using platform::ToUtf16;

TEST(CodePage, Windows1252MapsItsOwnLettersAndPassesUndefinedBytesThrough) {
    EXPECT_EQ(ToUtf16("Jos\xE9 \x80 \x93x\x94", 1252), u"José € “x”");
    // 0x81, 0x8D, 0x8F, 0x90 and 0x9D are undefined: they stand for themselves.
    EXPECT_EQ(ToUtf16("\x81\x8D\x8F\x90\x9D", 1252), u"\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(FromUtf16(u"\u0081é€", 1252), "\x81\xE9\x80");
    // 0 and 1 mean the application's own code page, unknown ones too.
    EXPECT_EQ(ToUtf16("\xE7", 0), u"ç");
    EXPECT_EQ(ToUtf16("\xE7", 12345), u"ç");
}

TEST(CodePage, EveryByteOfEverySingleByteCodePageRoundTrips) {
    for (int cp : {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257}) {
        std::string all;
        for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
        const std::u16string wide = ToUtf16(all, cp);
        ASSERT_EQ(wide.size(), 256u) << cp;
        EXPECT_EQ(FromUtf16(wide, cp), all) << "code page " << cp;
    }
}

// Appending takes sixteen bytes a step: a letter beyond ASCII anywhere in a step or in
// the bytes after the last whole one must still be looked up, after what was there.
TEST(CodePage, AppendingFindsALetterBeyondAsciiAnywhere) {
    for (std::size_t length : {1u, 15u, 16u, 17u, 33u, 47u}) {
        for (std::size_t at = 0; at <= length; ++at) {
            std::string bytes(length, 'a');
            std::u16string expected(length, u'a');
            for (std::size_t i = 0; i < length; ++i) {
                bytes[i] = static_cast<char>('a' + i % 26);
                expected[i] = static_cast<char16_t>(u'a' + i % 26);
            }
            if (at < length) {
                bytes[at] = '\x80';
                expected[at] = u'\u20AC';
            }
            std::u16string out = u"ok";
            platform::AppendUtf16(bytes, 1252, out);
            ASSERT_EQ(out, u"ok" + expected) << length << " bytes, the euro at " << at;
        }
    }
}

TEST(CodePage, CharactersACodePageCannotHoldBecomeQuestionMarks) {
    EXPECT_EQ(FromUtf16(u"a\u4E2Db", 1252), "a?b");
    EXPECT_EQ(FromUtf16(u"a\U0001F600b", 1252), "a?b");
    EXPECT_EQ(FromUtf16(u"a\u4E2Db", 1251), "a?b");
}

TEST(CodePage, ShiftJisAndOtherDoubleByteCodePages) {
    // "日本" in Shift_JIS.
    EXPECT_EQ(ToUtf16("\x93\xFA\x96\x7B", 932), u"日本");
    EXPECT_EQ(FromUtf16(u"日本", 932), "\x93\xFA\x96\x7B");
    // A lead byte cut short at the end is not dropped silently.
    EXPECT_EQ(ToUtf16("A\x93", 932), u"A\uFFFD");
    EXPECT_EQ(ToUtf16("\xC4\xE3", 936), u"你");
    EXPECT_EQ(ToUtf16("\xB0\xA1", 949), u"가");
}

TEST(CodePage, Utf8DecodesAndReplacesBrokenSequences) {
    EXPECT_EQ(ToUtf16("Jos\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", 65001), u"José € \U0001F600");
    EXPECT_EQ(ToUtf16("a\xC3", 65001), u"a\uFFFD");
    EXPECT_EQ(ToUtf16("a\xFF" "b", 65001), u"a\uFFFDb");
    EXPECT_EQ(ToUtf16("\xC0\xAF", 65001), u"\uFFFD\uFFFD");  // an overlong '/' is refused
    EXPECT_EQ(ToUtf16("\xED\xA0\x80", 65001), u"\uFFFD\uFFFD\uFFFD");  // an encoded surrogate
    EXPECT_EQ(FromUtf16(u"José \U0001F600", 65001), "Jos\xC3\xA9 \xF0\x9F\x98\x80");
    EXPECT_EQ(FromUtf16(u"\xD800x", 65001), "\xEF\xBF\xBDx");
}
