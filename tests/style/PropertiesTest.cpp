// One element's property set: creation, inheritance, presentational attributes,
// style attribute declarations, fonts and character sets.

#include <gtest/gtest.h>

#include "StyleTestSupport.h"
#include "platform/Screen.h"
#include "style/Lengths.h"
#include "style/Properties.h"

namespace {

TEST(Properties, FreshSetHasNoValueInTheBoxAndZeroZIndex) {
    TProperties props;
    for (int i = 0; i < PropCount; ++i) {
        const PropValue& v = props.Values[i];
        if (i >= piMarginTop && i <= piLeft) EXPECT_EQ(v, PropValue(NoValue)) << i;
        else if (i == piZIndex) EXPECT_EQ(v, PropValue(0));
        else EXPECT_TRUE(v.isEmpty()) << i;
        EXPECT_FALSE(props.Assigned[i]);
    }
    EXPECT_EQ(props.FontBackground, platform::clNone);
    EXPECT_EQ(PropertyName(piDisplay), std::string("display"));
    PropIndex index;
    EXPECT_TRUE(PropertyIndexFromName("border-left-style", index));
    EXPECT_EQ(index, piBorderLeftStyle);
    EXPECT_FALSE(PropertyIndexFromName("Color", index));  // names are exact
}

TEST(Properties, InheritCopiesInheritedValuesOnly) {
    TProperties parent;
    for (int i = 0; i < PropCount; ++i) parent.Values[i] = "v" + std::to_string(i);
    parent.ElementTag = "div";
    parent.FontBackground = 0x123;
    parent.EmPixels = 17;
    parent.TextCodePage = 1251;
    parent.ElementTitle = "t";
    TProperties child;
    child.Inherit(parent);
    for (int i : {0, 1, 2, 3, 4, 5, 7, 34, 35, 42, 43, 44, 47, 51})
        EXPECT_EQ(child.Values[i], parent.Values[i]) << i;
    for (int i : {6, 8, 9, 36, 37, 38, 39, 40, 41, 45, 46, 48, 49, 50, 52})
        EXPECT_TRUE(child.Values[i].isEmpty()) << i;
    for (int i = piMarginTop; i <= piLeft; ++i) EXPECT_EQ(child.Values[i], PropValue(NoValue)) << i;
    EXPECT_EQ(child.FontBackground, 0x123u);
    EXPECT_EQ(child.EmPixels, 17);
    EXPECT_EQ(child.ExPixels, 8);
    EXPECT_EQ(child.TextCodePage, 1251);
    EXPECT_EQ(child.ElementTitle, "t");
    EXPECT_FALSE(child.LinkFonts);

    // A span passes everything on.
    parent.ElementTag = "span";
    TProperties spanChild;
    spanChild.Inherit(parent);
    EXPECT_EQ(spanChild.Values, parent.Values);
}

// Sets are reset and copied a whole range of values at a time: every string must stay
// counted, so that a value outlives the set it was copied from, and a reset set must be
// bit for bit a fresh one (the box pool compares values as bytes).
TEST(Properties, ResetAndCopyKeepEveryTextCountedAndLeaveNoStaleBits) {
    auto parent = std::make_unique<TProperties>();
    for (int i = 0; i < PropCount; ++i)
        parent->Values[i] = i % 2 ? PropValue("v" + std::to_string(i)) : PropValue(i);
    parent->ElementTag = "span";
    TProperties child;
    child.Inherit(*parent);  // a span passes every value on
    child.Copy(child);       // copying onto itself keeps its texts
    parent->Reset();
    parent.reset();
    for (int i = 0; i < PropCount; ++i)
        EXPECT_EQ(child.Values[i].toText(), i % 2 ? "v" + std::to_string(i) : std::to_string(i))
            << i;

    const TProperties fresh;
    child.Reset();
    EXPECT_TRUE(PropValue::SameBits(child.Values.data(), fresh.Values.data(), PropCount));
    child.Values[piColor] = PropValue("red");
    child.Values[piColor].clear();
    PropValue moved(std::string("gone"));
    PropValue taker(std::move(moved));
    EXPECT_TRUE(PropValue::SameBits(&child.Values[piColor], &fresh.Values[piColor], 1));
    EXPECT_TRUE(PropValue::SameBits(&moved, &fresh.Values[piColor], 1));
}

TEST(Properties, SameBitsOnlyForTheSameKindAndValueOrTheSameText) {
    const PropValue five(5), otherFive(5), six(6), real(5.0), text("2em");
    const PropValue copy = text, apart(std::string("2em"));
    EXPECT_TRUE(PropValue::SameBits(&five, &otherFive, 1));
    EXPECT_FALSE(PropValue::SameBits(&five, &six, 1));
    EXPECT_FALSE(PropValue::SameBits(&five, &real, 1));
    EXPECT_TRUE(PropValue::SameBits(&text, &copy, 1));
    // The same letters held apart are the same value, though not the same bits.
    EXPECT_FALSE(PropValue::SameBits(&text, &apart, 1));
    EXPECT_TRUE(text.SameIdentity(apart));
}

TEST(Properties, HasMarginArrayTellsWhetherTheBoxIsExactlyThatArray) {
    TProperties props;
    props.AssignPropertyByName("border-top-style", "dashed");
    props.AssignPropertyByName("margin-left", "2em");
    props.AssignPropertyByName("width", "50%");
    TVMarginArray vm;
    props.GetMarginArray(vm);
    EXPECT_TRUE(props.HasMarginArray(vm));
    EXPECT_EQ(vm[BoxSlot(piBorderTopStyle)].toInteger(), BorderStyleFromWord("dashed"));

    TVMarginArray other = vm;
    other[BoxSlot(piBorderLeftStyle)] = PropValue(BorderStyleFromWord("solid"));
    EXPECT_FALSE(props.HasMarginArray(other));
    other = vm;
    other[BoxSlot(piLeft)] = PropValue(1);
    EXPECT_FALSE(props.HasMarginArray(other));
    other = vm;
    other[BoxSlot(piBackgroundColor)] = PropValue(0);
    EXPECT_FALSE(props.HasMarginArray(other));
    props.AssignPropertyByName("border-top-style", "solid");
    EXPECT_FALSE(props.HasMarginArray(vm));
}

TEST(Properties, AttributesDoNotOverrideStyleRules) {
    TStyleList styles;
    styletest::BuildUsualDefaults(styles);
    TProperties rule;
    rule[piTextAlign] = "right";
    TProperties props;
    MergeEntry(rule, props);
    props.SetFromAttribute(piTextAlign, "center");
    EXPECT_EQ(props[piTextAlign], PropValue("right"));
    props.SetFromAttribute(piColor, 0x00FF00);
    EXPECT_EQ(props[piColor], PropValue(0x00FF00));
    EXPECT_TRUE(props.Assigned[piColor]);
    props.SetFromAttribute(piColor, 0x0000FF);  // the first attribute already assigned it
    EXPECT_EQ(props[piColor], PropValue(0x00FF00));
}

TEST(Properties, StyleAttributeDeclarations) {
    TProperties props;
    props.AssignPropertyByName("border-style", "dashed");
    for (PropIndex i : {piBorderStyle, piBorderTopStyle, piBorderRightStyle, piBorderBottomStyle,
                        piBorderLeftStyle})
        EXPECT_EQ(props[i], PropValue("dashed"));
    props.AssignPropertyByName("border-top-style", "none");
    EXPECT_EQ(props[piBorderStyle], PropValue("dashed"));  // "none" on one side keeps the rest
    props.AssignPropertyByName("border-left-style", "solid");
    EXPECT_EQ(props[piBorderStyle], PropValue("solid"));

    props.AssignPropertyByName("color", "nonsense");
    EXPECT_EQ(props[piColor], PropValue(0));
    props.AssignPropertyByName("background-color", "nonsense");
    EXPECT_EQ(props[piBackgroundColor], PropValue(static_cast<int>(platform::clNone)));
    props.AssignPropertyByName("border-color", "#102030");
    EXPECT_EQ(props[piBorderRightColor], PropValue(0x02302010));
    props.AssignPropertyByName("border-color", "nonsense");
    EXPECT_EQ(props[piBorderColor], PropValue(0x02302010));
    props.AssignPropertyByName("border-top-color", "nonsense");
    EXPECT_EQ(props[piBorderTopColor], PropValue(0x02302010));

    props.AssignPropertyByName("visibility", "hidden");
    EXPECT_EQ(props[piVisibility], PropValue(1));
    props.AssignPropertyByName("visibility", "collapse");
    EXPECT_EQ(props[piVisibility], PropValue(1));
    props.AssignPropertyByName("text-transform", "uppercase");
    EXPECT_EQ(props[piTextTransform], PropValue(1));
    props.AssignPropertyByName("text-transform", "capitalize");
    EXPECT_EQ(props[piTextTransform], PropValue(0));
    props.AssignPropertyByName("font-size", "12pt");
    EXPECT_EQ(props[piFontSize], PropValue("12pt"));
    props.AssignPropertyByName("margin-top", "3px");
    EXPECT_EQ(props[piMarginTop], PropValue("3px"));
    props.AssignPropertyByName("unknown", "3px");
}

TEST(Properties, FontInfoFromTheValues) {
    TProperties props;
    props[piFontFamily] = "NoSuchFace, monospace";
    props[piFontSize] = 10.5;
    props[piColor] = 0x0000FF;
    props[piFontStyle] = "oblique";
    props[piTextDecoration] = "line-through";
    props.FontBackground = 0x00FFFF;
    ThtFontInfo info;
    for (const auto& [weight, bold] : std::vector<std::pair<std::string, bool>>{
             {"bolder", true}, {"bold", true}, {"550", false}, {"600", true}, {"normal", false}}) {
        props[piFontWeight] = weight;
        props.FillFontInfo(info);
        EXPECT_EQ((info.Style & platform::fsBold) != 0, bold) << weight;
    }
    EXPECT_EQ(info.Name, "Courier New");
    EXPECT_DOUBLE_EQ(info.Size, 10.5);
    EXPECT_EQ(info.Color, 0x0000FFu);
    EXPECT_EQ(info.BackgroundColor, 0x00FFFFu);
    EXPECT_EQ(info.Style, platform::fsItalic | platform::fsStrikeOut);
    // A family with no installed face leaves the name as it was.
    props[piFontFamily] = "NoSuchFace";
    props.FillFontInfo(info);
    EXPECT_EQ(info.Name, "Courier New");
}

TEST(Properties, GetFontMeasuresEmAndEx) {
    TProperties props;
    props[piFontFamily] = "Arial";
    props[piFontSize] = 12.0;
    props[piFontWeight] = "bold";
    props[piTextDecoration] = "underline";
    props.SetFromAttribute(piBackgroundColor, 0x00FF00);
    props.SetFontBackground();
    const TMyFont font = props.GetFont();
    EXPECT_EQ(font.face, "Arial");
    EXPECT_EQ(font.height, -16);  // 12 points at 96 dots per inch
    EXPECT_EQ(font.style, platform::fsBold | platform::fsUnderline);
    EXPECT_EQ(font.BackgroundColor, 0x00FF00u);
    // The box fonts of the test screen have no internal leading: em is the height.
    EXPECT_EQ(props.EmPixels, 16);
    EXPECT_EQ(props.ExPixels, 8);
    // Later calls hand out copies of the one cached font.
    props[piFontSize] = 30.0;
    EXPECT_EQ(props.GetFont(), font);

    // Absurd sizes stay within what a font can be.
    TProperties huge;
    huge[piFontSize] = 1e300;
    EXPECT_EQ(huge.GetFont().height, -10000);
}

TEST(Properties, CharsetsAndCodePages) {
    TProperties props;
    props.SetCharset(204);
    EXPECT_EQ(props.FontCharset, 204);
    EXPECT_EQ(props.TextCodePage, 1251);
    props.SetCharset(1);  // the default set stays "default", its code page is ANSI's
    EXPECT_EQ(props.FontCharset, 1);
    EXPECT_EQ(props.TextCodePage, 1252);
    props.SetUtf8();
    EXPECT_EQ(props.TextCodePage, 65001);
    EXPECT_EQ(props.FontCharset, 0);
    props.LinkFonts = std::make_unique<TFontInfoArray>();
    props.SetCharset(161);
    for (int slot = 0; slot < 4; ++slot) EXPECT_EQ((*props.LinkFonts)[slot].FontCharset, 161);
    EXPECT_EQ(props.TextCodePage, 1253);
}

TEST(Properties, InitFromDefaultTakesTheDefaultEntry) {
    TStyleList styles;
    styles.BuildDefaults("Verdana", "Courier New", 10, 0x111111, 1, 2, 3, false, 238, 8, 9);
    TProperties base;
    base.InitFromDefault(*styles.DefaultProps());
    EXPECT_EQ(base.ElementTag, "default");
    EXPECT_EQ(base[piFontFamily], PropValue("Verdana"));
    EXPECT_EQ(base[piFontSize], PropValue(10.0));
    EXPECT_EQ(base[piMarginLeft], PropValue(8));
    EXPECT_EQ(base[piMarginTop], PropValue(9));
    EXPECT_EQ(base.FontCharset, 238);
    EXPECT_EQ(base.TextCodePage, 1250);
    EXPECT_DOUBLE_EQ(DefaultPointSize(), 10);
    EXPECT_EQ(styles.Find("::link")->Values[piTextDecoration], PropValue("none"));
    EXPECT_EQ(styles.Find("::link")->Values[piColor], PropValue(0x02000001));
    EXPECT_EQ(styles.Find("textarea")->Values[piFontFamily], PropValue("Courier New"));
    EXPECT_EQ(styles.Find("select")->Values[piFontFamily], PropValue("MS sans serif, sans-serif"));
    EXPECT_EQ(styles.Find("h6")->Values[piFontSize], PropValue(10.0 / 12 * 8));
    styletest::BuildUsualDefaults(styles);
}

}  // namespace
