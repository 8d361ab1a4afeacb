// The value readers: colours, lengths, font sizes, url(...) values and font families.

#include <gtest/gtest.h>

#include "platform/Screen.h"
#include "style/Colors.h"
#include "style/Fonts.h"
#include "style/Lengths.h"
#include "style/PropValue.h"

namespace {

using platform::TColor;

// Parses with a fresh cache, so one case cannot answer for another.
bool Parse(const std::string& text, bool needHash, TColor& color) {
    TColor ignored;
    ParseColor("#123457", true, ignored);  // a text no case below uses
    return ParseColor(text, needHash, color);
}

TColor Color(const std::string& text, bool needHash = false) {
    TColor color = 0xDEADBEEF;
    EXPECT_TRUE(Parse(text, needHash, color)) << text;
    return color;
}

bool Fails(const std::string& text, bool needHash) {
    TColor color = 0xDEADBEEF;
    return !Parse(text, needHash, color) && color == 0xDEADBEEF;
}

TEST(ParseColor, HexFormsCarryThePaletteFlag) {
    EXPECT_EQ(Color("#abc"), 0x02CCBBAAu);
    EXPECT_EQ(Color("abc"), 0x02CCBBAAu);
    EXPECT_EQ(Color("#aabbcc"), 0x02CCBBAAu);
    EXPECT_EQ(Color("  #AABBCC "), 0x02CCBBAAu);
    EXPECT_EQ(Color("#f0c"), 0x02CC00FFu);
    // Everything up to the last "#" is dropped; only the low 24 bits count.
    EXPECT_EQ(Color("x#y#102030"), 0x02302010u);
    EXPECT_EQ(Color("#ff102030"), 0x02302010u);
    EXPECT_TRUE(Fails("abc", true));
    EXPECT_TRUE(Fails("#", false));
    EXPECT_TRUE(Fails("#12345g", false));
    EXPECT_TRUE(Fails("#123456789", false));
    EXPECT_TRUE(Fails("", false));
}

TEST(ParseColor, RgbFormsArePercentagesOrClampedIntegers) {
    EXPECT_EQ(Color("rgb(100%, 0, 20%)"), platform::RGBColor(255, 0, 51) | platform::clPaletteFlag);
    EXPECT_EQ(Color("rgb(300,-5,10)"), platform::RGBColor(255, 0, 10) | platform::clPaletteFlag);
    EXPECT_EQ(Color("RGB( 1 , 2 , 3 )"), platform::RGBColor(1, 2, 3) | platform::clPaletteFlag);
    // Parts that do not read count as 0; a missing third part too.
    EXPECT_EQ(Color("rgb(x, 1.5, )"), platform::RGBColor(0, 0, 0) | platform::clPaletteFlag);
    EXPECT_EQ(Color("rgb(7,8)"), platform::RGBColor(7, 8, 0) | platform::clPaletteFlag);
    EXPECT_TRUE(Fails("rgb 1,2,3", false));
    EXPECT_TRUE(Fails("rgb(1,2,3", false));
}

TEST(ParseColor, NamesAndSystemColours) {
    EXPECT_EQ(NamedColorCount(), 176);
    EXPECT_EQ(Color("red"), 0x000000FFu);
    EXPECT_EQ(Color("  red  "), 0x000000FFu);
    EXPECT_EQ(Color("RED", true), 0x000000FFu);
    EXPECT_EQ(Color("transparent"), platform::clNone);
    EXPECT_EQ(Color("crimson"), 0x003614DCu);
    EXPECT_EQ(Color("lightgoldenrodyellow"), 0x00D2FAFAu);
    EXPECT_EQ(Color("slategrey"), 0x00908070u);
    EXPECT_EQ(Color("windowtext"), 0x80000008u);
    EXPECT_EQ(Color("AppWorkspace"), 0x8000000Cu);
    EXPECT_EQ(Color("threedlightshadow"), 0x80000014u);  // the same index as buttonhighlight
    EXPECT_EQ(Color("scrollbar"), 0x80000000u);
    // A name that is also hex digits is the name; a non-name falls through to hex.
    EXPECT_EQ(Color("beige"), 0x00DCF5F5u);
    EXPECT_EQ(Color("bead"), 0x02ADBE00u);
}

TEST(ParseColor, RemembersTheLastColourEvenWhenAHashIsRequired) {
    TColor color;
    ASSERT_TRUE(ParseColor("ABC", false, color));
    color = 0;
    EXPECT_TRUE(ParseColor("abc", true, color));  // the same text again: cached
    EXPECT_EQ(color, 0x02CCBBAAu);
    EXPECT_FALSE(ParseColor("abd", true, color));
    // A failure does not replace the remembered colour.
    EXPECT_TRUE(ParseColor(" abc", true, color));
}

TEST(LengthToPixels, UnitsAtNinetySixDots) {
    EXPECT_EQ(LengthToPixels("2em", false, 0, 16, 8, -1), 32);
    EXPECT_EQ(LengthToPixels("1.5ex", false, 0, 16, 8, -1), 12);
    EXPECT_EQ(LengthToPixels("50%", false, 300, 16, 8, -1), 150);
    EXPECT_EQ(LengthToPixels("12", false, 300, 16, 8, -1), 12);
    EXPECT_EQ(LengthToPixels("12", true, 3, 16, 8, -1), 36);
    EXPECT_EQ(LengthToPixels("1in", false, 0, 16, 8, -1), 96);
    EXPECT_EQ(LengthToPixels("2.54cm", false, 0, 16, 8, -1), 96);
    EXPECT_EQ(LengthToPixels("25.4mm", false, 0, 16, 8, -1), 96);
    EXPECT_EQ(LengthToPixels("12pt", false, 0, 16, 8, -1), 16);
    EXPECT_EQ(LengthToPixels("1pc", false, 0, 16, 8, -1), 16);
    EXPECT_EQ(LengthToPixels("12 pt", false, 0, 16, 8, -1), 16);  // the unit is trimmed
    EXPECT_EQ(LengthToPixels("-3px", false, 0, 16, 8, -1), -3);
    EXPECT_EQ(LengthToPixels("12furlongs", false, 0, 16, 8, -7), -7);
    EXPECT_EQ(LengthToPixels("PX", false, 0, 16, 8, -7), -7);  // units are compared exactly
    EXPECT_EQ(LengthToPixels("px", false, 0, 16, 8, -7), 0);   // no number reads as 0
    EXPECT_EQ(LengthToPixels("", true, 50, 16, 8, -7), 0);
    // An exponent is not an em: "2e1px" is 2 followed by the unknown unit "e1px".
    EXPECT_EQ(LengthToPixels("2e1px", false, 0, 16, 8, -7), -7);
    EXPECT_EQ(LengthToPixels("2e1", false, 0, 16, 8, -7), 20);
}

TEST(LengthToPixels, HalvesRoundToEvenAndHugeValuesSaturate) {
    EXPECT_EQ(LengthToPixels("2.5px", false, 0, 16, 8, -1), 2);
    EXPECT_EQ(LengthToPixels("3.5px", false, 0, 16, 8, -1), 4);
    EXPECT_EQ(LengthToPixels("-2.5px", false, 0, 16, 8, -1), -2);
    EXPECT_EQ(LengthToPixels("2.51px", false, 0, 16, 8, -1), 3);
    EXPECT_EQ(LengthToPixels("1e300in", false, 0, 16, 8, -1), -1);  // "e300in" is no unit
    EXPECT_EQ(LengthToPixels("99999999999999px", false, 0, 16, 8, -1), 2147483647);
    EXPECT_EQ(LengthToPixels("-99999999999999px", false, 0, 16, 8, -1), -2147483647 - 1);
}

TEST(LengthToPixels, FollowsTheScreenResolution) {
    platform::SetScreenOverride(platform::ScreenInfo{1024, 768, 120, 24});
    EXPECT_EQ(LengthToPixels("1in", false, 0, 16, 8, -1), 120);
    EXPECT_DOUBLE_EQ(LengthToPoints("20px", 10), 12);
    platform::SetScreenOverride(std::nullopt);
}

TEST(LengthToPoints, RelativeUnitsAndKeywords) {
    SetDefaultPointSize(12);
    EXPECT_DOUBLE_EQ(LengthToPoints("150%", 10), 15);
    EXPECT_DOUBLE_EQ(LengthToPoints("2em", 10), 20);
    EXPECT_DOUBLE_EQ(LengthToPoints("2ex", 10), 10);
    EXPECT_DOUBLE_EQ(LengthToPoints("1in", 10), 72);
    EXPECT_DOUBLE_EQ(LengthToPoints("2pc", 10), 24);
    EXPECT_DOUBLE_EQ(LengthToPoints("16px", 10), 12);
    EXPECT_DOUBLE_EQ(LengthToPoints("16", 10), 12);
    EXPECT_DOUBLE_EQ(LengthToPoints("larger", 10), 12.5);
    EXPECT_DOUBLE_EQ(LengthToPoints("smaller", 10), 7.5);
    EXPECT_DOUBLE_EQ(LengthToPoints("xx-small", 10), 8);
    EXPECT_DOUBLE_EQ(LengthToPoints("x-small", 10), 10);
    EXPECT_DOUBLE_EQ(LengthToPoints("small", 10), 12);
    EXPECT_DOUBLE_EQ(LengthToPoints("medium", 10), 14.4);
    EXPECT_DOUBLE_EQ(LengthToPoints("large", 10), 18);
    EXPECT_DOUBLE_EQ(LengthToPoints("x-large", 10), 24);
    EXPECT_DOUBLE_EQ(LengthToPoints("xx-large", 10), 36);
    // The unit is not trimmed here, so "12 pt" is not a size and gives the default.
    EXPECT_DOUBLE_EQ(LengthToPoints("12 pt", 10), 12);
    EXPECT_DOUBLE_EQ(LengthToPoints("huge", 10), 12);
    SetDefaultPointSize(10);
    EXPECT_DOUBLE_EQ(LengthToPoints("x-large", 30), 20);
    SetDefaultPointSize(12);
}

TEST(UrlFromValue, TakesTheAddressOutOfUrlForms) {
    EXPECT_EQ(UrlFromValue(PropValue("url(a.gif)")), "a.gif");
    EXPECT_EQ(UrlFromValue(PropValue("url(\"a b.gif\")")), "a b.gif");
    EXPECT_EQ(UrlFromValue(PropValue("url('x')")), "x");
    EXPECT_EQ(UrlFromValue(PropValue("url(\"\")")), "\"\"");  // too short to unquote
    EXPECT_EQ(UrlFromValue(PropValue("url(unclosed")), "unclosed");
    EXPECT_EQ(UrlFromValue(PropValue("none url(b.png) repeat")), "b.png");
    EXPECT_EQ(UrlFromValue(PropValue("a.gif")), "");
    EXPECT_EQ(UrlFromValue(PropValue(5)), "");
    EXPECT_EQ(UrlFromValue(PropValue()), "");
}

TEST(ResolveFontName, FirstInstalledFaceOfTheList) {
    EXPECT_EQ(ResolveFontName("NoSuchFace, monospace"), "Courier New");
    EXPECT_EQ(ResolveFontName("'Nope', \"Georgia\", Arial"), "Georgia");
    EXPECT_EQ(ResolveFontName("SERIF"), "Times New Roman");
    EXPECT_EQ(ResolveFontName(" sans-serif "), "Arial");
    EXPECT_EQ(ResolveFontName("cursive"), "Lucida Handwriting");
    EXPECT_EQ(ResolveFontName("NoSuchFace"), "");
    EXPECT_EQ(ResolveFontName(""), "");
    EXPECT_EQ(ResolveFontName(",,,"), "");
}

TEST(CodePageFromCharset, KnownSetsOnly) {
    int page = -1;
    EXPECT_TRUE(CodePageFromCharset(0, page));
    EXPECT_EQ(page, 1252);
    EXPECT_TRUE(CodePageFromCharset(204, page));
    EXPECT_EQ(page, 1251);
    EXPECT_TRUE(CodePageFromCharset(77, page));
    EXPECT_EQ(page, 2);
    page = -1;
    EXPECT_FALSE(CodePageFromCharset(99, page));
    EXPECT_EQ(page, -1);
}

}  // namespace
