// What the style list works out once and keeps (which rules reach which names, the
// fonts of link states, resolved font families) must follow every change of the
// rules, and reused property sets must come back empty.

#include <gtest/gtest.h>

#include <memory>

#include "StyleTestSupport.h"
#include "platform/Screen.h"
#include "style/PropStack.h"
#include "style/StyleParser.h"

namespace {

class Derived : public ::testing::Test {
  protected:
    void SetUp() override {
        styletest::BuildUsualDefaults(styles);
        stack.Reset(styles);
    }
    TProperties& Open(const std::string& tag, const std::string& cls = "",
                      const std::string& pseudo = "") {
        return stack.PushProperties(styles, tag, cls, "", nullptr, "", pseudo);
    }
    TStyleList styles;
    TPropStack stack;
};

TEST_F(Derived, RulesStoredAfterAnElementWasStyledReachTheNextOne) {
    ParseStyleSheetText(styles, "p { color: red }", "");
    EXPECT_EQ(Open("p")[piColor], PropValue(0x0000FF));
    stack.PopTop();

    // A new declaration under the same key, and a rule under a new key.
    ParseStyleSheetText(styles, "p { font-weight: bold } p.note { color: #00ff00 }", "");
    const TProperties& plain = Open("p");
    EXPECT_EQ(plain[piColor], PropValue(0x0000FF));
    EXPECT_EQ(plain[piFontWeight], PropValue("bold"));
    stack.PopTop();
    EXPECT_EQ(Open("p", "note")[piColor],
              PropValue(0x0200FF00));  // hex colours carry the palette flag
}

TEST_F(Derived, LinkStatesFollowWhatTheLinkInherits) {
    ParseStyleSheetText(styles, "p.big { font-size: 20pt }", "");
    Open("p");
    const TFontInfoArray normal = *Open("a", "", "link").LinkFonts;
    stack.PopTop();
    stack.PopTop();
    Open("p", "big");
    const TFontInfoArray big = *Open("a", "", "link").LinkFonts;
    // Same names, so the second link may take remembered states: only if they came
    // from the same inherited size.
    EXPECT_DOUBLE_EQ(normal[TFontInfoArray::Visited].Size, 12);
    EXPECT_DOUBLE_EQ(big[TFontInfoArray::Visited].Size, 20);
    EXPECT_DOUBLE_EQ(big[TFontInfoArray::Hover].Size, 20);
    EXPECT_DOUBLE_EQ(big[TFontInfoArray::VisitedHover].Size, 20);
}

TEST_F(Derived, LinkStatesFollowChangedRules) {
    Open("p");
    const TFontInfoArray before = *Open("a", "", "link").LinkFonts;
    EXPECT_EQ(before[TFontInfoArray::Visited].Color,
              styletest::kVisitedColor | platform::clPaletteFlag);
    stack.PopTop();

    // A document that sets a link colour (BODY VLINK) changes a stored rule.
    styles.FindForChange("::visited")->Values[piColor] = 0x00ABCDEF;
    const TFontInfoArray recoloured = *Open("a", "", "link").LinkFonts;
    EXPECT_EQ(recoloured[TFontInfoArray::Visited].Color, 0x00ABCDEFu);
    stack.PopTop();

    // A later style sheet adds to the rules of a state.
    ParseStyleSheetText(styles, "a:visited { font-weight: bold }", "");
    const TFontInfoArray bolder = *Open("a", "", "link").LinkFonts;
    EXPECT_TRUE(bolder[TFontInfoArray::Visited].Style & platform::fsBold);
    EXPECT_FALSE(bolder[TFontInfoArray::Hover].Style & platform::fsBold);
    stack.PopTop();
    ParseStyleSheetText(styles, "a:visited { font-style: italic }", "");
    EXPECT_TRUE((*Open("a", "", "link").LinkFonts)[TFontInfoArray::Visited].Style &
                platform::fsItalic);
}

TEST_F(Derived, DescendantHoverRulesApplyOnlyWhereTheirAncestorsAre) {
    ParseStyleSheetText(styles, "div a:hover { color: #00ff00 }", "");
    Open("p");
    const TFontInfoArray outside = *Open("a", "", "link").LinkFonts;
    stack.PopTop();
    stack.PopTop();
    Open("div");
    const TFontInfoArray inside = *Open("a", "", "link").LinkFonts;
    stack.PopTop();
    stack.PopTop();
    Open("p");
    const TFontInfoArray outsideAgain = *Open("a", "", "link").LinkFonts;
    EXPECT_EQ(inside[TFontInfoArray::Hover].Color, 0x0200FF00u);
    EXPECT_NE(outside[TFontInfoArray::Hover].Color, 0x0200FF00u);
    EXPECT_EQ(outsideAgain[TFontInfoArray::Hover].Color, outside[TFontInfoArray::Hover].Color);
}

TEST_F(Derived, AClosedElementLeavesNothingInTheNextOne) {
    auto style = std::make_unique<TProperties>();
    style->AssignPropertyByName("background-color", "#123456");
    TProperties& first = stack.PushProperties(styles, "div", "x", "y", style.get(), "a title", "");
    first.SetFromAttribute(piBorderTopWidth, 5);
    first.GetFont();
    stack.PopTop();

    TProperties& second = Open("span");
    EXPECT_TRUE(second[piBackgroundColor].isEmpty());
    EXPECT_FALSE(second.Assigned[piBackgroundColor]);
    EXPECT_FALSE(second.Assigned[piBorderTopWidth]);
    EXPECT_EQ(second[piBorderTopWidth], PropValue(NoValue));
    EXPECT_EQ(second.ElementClass, "");
    EXPECT_EQ(second.ElementId, "");
    EXPECT_EQ(second.ElementTitle, "");
    EXPECT_EQ(second.StyleAttrProps, nullptr);
}

TEST_F(Derived, FontsFollowTheirValuesAndTheScreen) {
    ParseStyleSheetText(styles, "p.red { color: red } p.blue { color: blue }", "");
    const TMyFont red = Open("p", "red").GetFont();
    stack.PopTop();
    const TMyFont blue = Open("p", "blue").GetFont();
    stack.PopTop();
    EXPECT_EQ(red.Color, 0x0000FFu);
    EXPECT_EQ(blue.Color, 0xFF0000u);
    EXPECT_EQ(Open("p", "red").GetFont().Color, 0x0000FFu);
    stack.PopTop();

    // The same values on a screen of another resolution make another font.
    platform::ScreenInfo dense;
    dense.pixelsPerInch = 192;
    platform::SetScreenOverride(dense);
    const TMyFont sharp = Open("p", "red").GetFont();
    platform::SetScreenOverride(std::nullopt);
    EXPECT_EQ(sharp.height, 2 * red.height);
}

TEST(PropertiesReset, ASetReadyForReuseEqualsANewOne) {
    TProperties used;
    used.ElementTag = "a";
    used.ElementClass = "c";
    used.ElementId = "i";
    used.ElementPseudo = "link";
    used.ElementTitle = "t";
    used.InsideLink = true;
    used.StyleAttrProps = &used;
    used.FontBackground = 0x123456;
    used.FontCharset = 0;
    used.TextCodePage = 65001;
    used.GetFont();
    used.LinkFonts = std::make_unique<TFontInfoArray>();
    for (int i = 0; i < PropCount; ++i) {
        used.Values[i] = PropValue("x");
        used.Assigned[i] = true;
    }
    used.Reset();

    const TProperties fresh;
    EXPECT_FALSE(used.CachedFont);
    EXPECT_EQ(used.InsideLink, fresh.InsideLink);
    for (auto [a, b] : {std::pair{&used.ElementTag, &fresh.ElementTag},
                        {&used.ElementClass, &fresh.ElementClass},
                        {&used.ElementId, &fresh.ElementId},
                        {&used.ElementPseudo, &fresh.ElementPseudo},
                        {&used.ElementTitle, &fresh.ElementTitle}})
        EXPECT_EQ(*a, *b);
    EXPECT_EQ(used.StyleAttrProps, fresh.StyleAttrProps);
    EXPECT_EQ(used.FontBackground, fresh.FontBackground);
    EXPECT_EQ(used.FontCharset, fresh.FontCharset);
    EXPECT_EQ(used.TextCodePage, fresh.TextCodePage);
    EXPECT_EQ(used.EmPixels, fresh.EmPixels);
    EXPECT_EQ(used.ExPixels, fresh.ExPixels);
    EXPECT_EQ(used.Values, fresh.Values);
    EXPECT_EQ(used.Assigned, fresh.Assigned);
    EXPECT_FALSE(used.LinkFonts);
}

// A screen with only the faces it is given.
class FacesScreen : public platform::FixedScreen {
  public:
    explicit FacesScreen(std::vector<std::string> faces) : faces_(std::move(faces)) {}
    bool isFontInstalled(std::string_view face) const override {
        for (const auto& f : faces_)
            if (f == face) return true;
        return false;
    }

  private:
    std::vector<std::string> faces_;
};

TEST(ResolveFontName, AnswersFollowTheInstalledScreen) {
    auto previous =
        platform::InstallScreen(std::make_unique<FacesScreen>(std::vector<std::string>{"Verdana"}));
    EXPECT_EQ(ResolveFontName("Verdana, Arial"), "Verdana");
    EXPECT_EQ(ResolveFontName("Verdana, Arial"), "Verdana");
    platform::InstallScreen(std::make_unique<FacesScreen>(std::vector<std::string>{"Arial"}));
    EXPECT_EQ(ResolveFontName("Verdana, Arial"), "Arial");
    EXPECT_EQ(ResolveFontName("Verdana"), "");
    platform::InstallScreen(std::move(previous));
}

}  // namespace
