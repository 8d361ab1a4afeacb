#include <gtest/gtest.h>

#include "platform/Text.h"

using platform::AnsiCompareText;
using platform::AnsiUpperCase;

TEST(AnsiCase, UpperCasesEveryWindows1252Letter) {
    EXPECT_EQ(AnsiUpperCase("abc xyz"), "ABC XYZ");
    // à..þ (but not ÷) become À..Þ.
    for (int c = 0xE0; c <= 0xFE; ++c) {
        const std::string small(1, static_cast<char>(c));
        const std::string expected(1, static_cast<char>(c == 0xF7 ? c : c - 0x20));
        EXPECT_EQ(AnsiUpperCase(small), expected) << std::hex << c;
    }
    EXPECT_EQ(AnsiUpperCase("\x9A\x9C\x9E\xFF"), "\x8A\x8C\x8E\x9F");  // š œ ž ÿ
    // ß and µ have no capital in the code page; digits and signs stay.
    EXPECT_EQ(AnsiUpperCase("\xDF\xB5 1-2\xF7"), "\xDF\xB5 1-2\xF7");
    EXPECT_EQ(platform::AnsiLowerCase("JOS\xC9 \x9F"), "jos\xE9 \xFF");
}

TEST(AnsiCompare, IgnoresCaseButNotAccents) {
    EXPECT_EQ(AnsiCompareText("jose", "JOSE"), 0);
    EXPECT_EQ(AnsiCompareText("Jos\xE9", "JOS\xC9"), 0);
    EXPECT_LT(AnsiCompareText("JOSE", "JOS\xC9"), 0);
    EXPECT_LT(AnsiCompareText("JOS\xC9", "JOSF"), 0);
    EXPECT_LT(AnsiCompareText("ANA", "ANT"), 0);
    EXPECT_GT(AnsiCompareText("ZE", "ANT"), 0);
    // A shorter name sorts before the longer one it starts.
    EXPECT_LT(AnsiCompareText("JOSE", "JOSE SILVA"), 0);
    // A blank sorts before letters.
    EXPECT_LT(AnsiCompareText("JOSE SILVA", "JOSEANE"), 0);
}

TEST(Utf16Case, EveryScriptMapsAndTheLengthHolds) {
    using platform::LowerCaseUtf16;
    using platform::UpperCaseUtf16;
    EXPECT_EQ(UpperCaseUtf16(u"tiếng việt"), u"TIẾNG VIỆT");
    EXPECT_EQ(UpperCaseUtf16(u"άθήνα ώρα"), u"ΆΘΉΝΑ ΏΡΑ");
    EXPECT_EQ(LowerCaseUtf16(u"ＡＢＣ ÇÃO"), u"ａｂｃ ção");
    EXPECT_EQ(LowerCaseUtf16(u"ΆΘΉΝΑ"), u"άθήνα");
    // Mappings that would change the length keep each character in its place.
    const std::u16string street = u"straße ŉ";
    EXPECT_EQ(UpperCaseUtf16(street).size(), street.size());
    EXPECT_EQ(UpperCaseUtf16(street).substr(0, 4), u"STRA");
    EXPECT_EQ(LowerCaseUtf16(u"İ").size(), 1u);
    // Characters beyond the first plane map too.
    EXPECT_EQ(LowerCaseUtf16(u"\U00010400"), u"\U00010428");
}
