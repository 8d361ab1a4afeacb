// What layout reads out of a property set: enumerations, line height and indent,
// background placement, and the box conversions to pixels.

#include <gtest/gtest.h>

#include "style/Properties.h"

namespace {

TEST(Queries, AlignmentFloatClearAndVerticalAlign) {
    EXPECT_EQ(AlignmentFromWord("AbsMiddle"), 2);
    EXPECT_EQ(AlignmentFromWord("CENTER"), 2);
    EXPECT_EQ(AlignmentFromWord("justify"), 7);
    EXPECT_EQ(AlignmentFromWord("texttop"), 0);
    TProperties props;
    int align = -1;
    EXPECT_FALSE(props.GetVerticalAlign(align));
    props[piVerticalAlign] = "text-top";
    EXPECT_TRUE(props.GetVerticalAlign(align));
    EXPECT_EQ(align, 1);
    props[piVerticalAlign] = "super";
    EXPECT_TRUE(props.GetVerticalAlign(align));
    EXPECT_EQ(align, 9);
    props[piVerticalAlign] = "Middle";  // exact words only
    align = -1;
    EXPECT_FALSE(props.GetVerticalAlign(align));
    EXPECT_EQ(align, -1);
    props[piFloat] = "right";
    EXPECT_TRUE(props.GetFloat(align));
    EXPECT_EQ(align, 6);
    props[piFloat] = "none";
    EXPECT_TRUE(props.GetFloat(align));
    EXPECT_EQ(align, 0);
    props[piFloat] = 5;
    EXPECT_FALSE(props.GetFloat(align));
    int clear = -1;
    EXPECT_FALSE(props.GetClear(clear));
    props[piClear] = "both";
    EXPECT_TRUE(props.GetClear(clear));
    EXPECT_EQ(clear, 3);
}

TEST(Queries, SmallEnumerations) {
    TProperties props;
    EXPECT_EQ(props.GetListStyleType(), 0);
    props[piListStyleType] = "square";
    EXPECT_EQ(props.GetListStyleType(), 7);
    props[piListStyleType] = "upper-roman";
    EXPECT_EQ(props.GetListStyleType(), 9);
    props[piListStyleType] = "hebrew";
    EXPECT_EQ(props.GetListStyleType(), 0);
    props[piListStyleImage] = "url('dot.png')";
    EXPECT_EQ(props.GetListStyleImage(), "dot.png");
    EXPECT_EQ(props.GetPosition(), 0);
    props[piPosition] = "relative";
    EXPECT_EQ(props.GetPosition(), 2);
    EXPECT_EQ(props.GetVisibility(), 2);
    props[piVisibility] = 1;
    EXPECT_EQ(props.GetVisibility(), 1);
    props[piVisibility] = "hidden";  // only the stored integer counts
    EXPECT_EQ(props.GetVisibility(), 2);
    EXPECT_EQ(props.GetZIndex(), 0);
    props[piZIndex] = "7";
    EXPECT_EQ(props.GetZIndex(), 7);
    props[piZIndex] = "top";
    EXPECT_EQ(props.GetZIndex(), 0);
    EXPECT_FALSE(props.IsDisplayNone());
    props[piDisplay] = "none";
    EXPECT_TRUE(props.IsDisplayNone());
    props[piTextTransform] = "uppercase";
    EXPECT_EQ(props.GetTextTransform(), 0);
    props[piTextTransform] = 2;
    EXPECT_EQ(props.GetTextTransform(), 2);
    props[piPageBreakBefore] = "always";
    props[piPageBreakInside] = "avoid";
    const TPageBreaks breaks = props.GetPageBreaks();
    EXPECT_TRUE(breaks.Before && breaks.AvoidInside && !breaks.After);
    props[piBorderStyle] = "groove";
    EXPECT_EQ(props.GetBorderStyle(), 4);
}

TEST(Queries, ColoursNeedToHaveBeenAssigned) {
    TProperties props;
    props[piBackgroundColor] = 0x00FF00;
    props[piColor] = 0x0000FF;
    EXPECT_EQ(props.GetBackgroundColor(), platform::clNone);
    EXPECT_EQ(props.GetAssignedColor(), platform::clNone);
    props.Assigned[piBackgroundColor] = props.Assigned[piColor] = true;
    EXPECT_EQ(props.GetBackgroundColor(), 0x00FF00u);
    EXPECT_EQ(props.GetAssignedColor(), 0x0000FFu);
    props[piColor] = "red";
    EXPECT_EQ(props.GetAssignedColor(), platform::clNone);
}

TEST(Queries, BackgroundImage) {
    TProperties props;
    std::string url = "kept";
    EXPECT_FALSE(props.GetBackgroundImage(url));
    props[piBackgroundImage] = "none";
    EXPECT_TRUE(props.GetBackgroundImage(url));
    EXPECT_EQ(url, "");
    props[piBackgroundImage] = "url(b.gif)";
    EXPECT_TRUE(props.GetBackgroundImage(url));
    EXPECT_EQ(url, "b.gif");
    props[piBackgroundImage] = "b.gif";
    EXPECT_FALSE(props.GetBackgroundImage(url));
    EXPECT_EQ(url, "b.gif");
}

TEST(Queries, LineHeightAndTextIndent) {
    TProperties props;
    props.EmPixels = 16;
    props.ExPixels = 8;
    EXPECT_EQ(props.GetLineHeight(15), -1);
    props[piLineHeight] = "2";
    EXPECT_EQ(props.GetLineHeight(15), 30);
    props[piLineHeight] = "1.5";
    EXPECT_EQ(props.GetLineHeight(15), 22);  // 22.5 to even
    props[piLineHeight] = "24px";
    EXPECT_EQ(props.GetLineHeight(15), 24);
    props[piLineHeight] = "150%";
    EXPECT_EQ(props.GetLineHeight(15), 24);
    props[piLineHeight] = "normal";
    EXPECT_EQ(props.GetLineHeight(15), 0);

    bool percent = false;
    EXPECT_EQ(props.GetTextIndent(percent), 0);
    props[piTextIndent] = "2em";
    EXPECT_EQ(props.GetTextIndent(percent), 32);
    EXPECT_FALSE(percent);
    props[piTextIndent] = "1ex";  // ex is taken as em here
    EXPECT_EQ(props.GetTextIndent(percent), 16);
    props[piTextIndent] = "10%";
    EXPECT_EQ(props.GetTextIndent(percent), 10);
    EXPECT_TRUE(percent);
}

TBackgroundPosition Position(const char* text, const char* repeat = nullptr,
                             const char* attachment = nullptr) {
    TProperties props;
    if (text) props[piBackgroundPosition] = text;
    if (repeat) props[piBackgroundRepeat] = repeat;
    if (attachment) props[piBackgroundAttachment] = attachment;
    TBackgroundPosition position;
    props.GetBackgroundPosition(16, 8, position);
    return position;
}

TEST(Queries, BackgroundPosition) {
    auto p = Position("top left");
    EXPECT_EQ(p.Horizontal.Kind, 3);
    EXPECT_EQ(p.Vertical.Kind, 0);
    p = Position("left top");
    EXPECT_EQ(p.Horizontal.Kind, 3);
    EXPECT_EQ(p.Vertical.Kind, 0);
    p = Position("50%");
    EXPECT_EQ(p.Horizontal.Kind, 5);
    EXPECT_EQ(p.Horizontal.Value, 50);
    EXPECT_EQ(p.Vertical.Kind, 1);
    p = Position("right 10px");
    EXPECT_EQ(p.Horizontal.Kind, 4);
    EXPECT_EQ(p.Vertical.Kind, 6);
    EXPECT_EQ(p.Vertical.Value, 10);
    p = Position("2em left");  // the first word was the vertical one
    EXPECT_EQ(p.Horizontal.Kind, 3);
    EXPECT_EQ(p.Vertical.Kind, 6);
    EXPECT_EQ(p.Vertical.Value, 32);
    p = Position("bottom");  // alone: the horizontal axis is centred
    EXPECT_EQ(p.Vertical.Kind, 2);
    EXPECT_EQ(p.Horizontal.Kind, 1);
    p = Position("center  25%");
    EXPECT_EQ(p.Horizontal.Kind, 1);
    EXPECT_EQ(p.Vertical.Kind, 5);
    EXPECT_EQ(p.Vertical.Value, 25);
    p = Position(nullptr, "no-repeat", "fixed");
    EXPECT_EQ(p.Horizontal.Kind, 6);
    EXPECT_EQ(p.Horizontal.Value, 0);
    EXPECT_EQ(p.Vertical.Kind, 6);
    EXPECT_FALSE(p.Horizontal.Repeat || p.Vertical.Repeat);
    EXPECT_TRUE(p.Horizontal.Fixed && p.Vertical.Fixed);
    p = Position(nullptr, "repeat-x");
    EXPECT_TRUE(p.Horizontal.Repeat);
    EXPECT_FALSE(p.Vertical.Repeat);
    p = Position(nullptr, "repeat-y");
    EXPECT_FALSE(p.Horizontal.Repeat);
    EXPECT_TRUE(p.Vertical.Repeat);
}

class BoxTest : public ::testing::Test {
protected:
    TVMarginArray Array() {
        TVMarginArray vm;
        props.GetMarginArray(vm);
        return vm;
    }
    int At(PropIndex index) const { return box[BoxSlot(index)]; }
    TProperties props;
    TBoxNumbers box{};
    int autoCount = -1;
};

TEST_F(BoxTest, FreshPropertiesGiveTheDefaults) {
    ConvertMarginArray(Array(), 600, 400, 16, 8, autoCount, box);
    EXPECT_EQ(At(piBackgroundColor), static_cast<int>(platform::clNone));
    EXPECT_EQ(At(piMarginLeft), 0);
    EXPECT_EQ(At(piPaddingTop), 0);
    EXPECT_EQ(At(piBorderTopWidth), 0);  // no border style, so no border
    EXPECT_EQ(At(piWidth), AutoValue);
    EXPECT_EQ(At(piTop), AutoValue);
    EXPECT_EQ(At(piHeight), 0);
    EXPECT_EQ(autoCount, 1);
}

TEST_F(BoxTest, AutoMarginsAndWidthCount) {
    props[piMarginLeft] = "auto";
    props[piMarginRight] = "auto";
    ConvertMarginArray(Array(), 600, 400, 16, 8, autoCount, box);
    EXPECT_EQ(autoCount, 3);
    EXPECT_EQ(At(piMarginLeft), AutoValue);
    props[piWidth] = "50%";
    props[piHeight] = "25%";
    props[piPaddingLeft] = "2em";
    props[piLeft] = "bogus";
    props[piBackgroundColor] = 0x123;
    ConvertMarginArray(Array(), 600, 400, 16, 8, autoCount, box);
    EXPECT_EQ(autoCount, 2);
    EXPECT_EQ(At(piWidth), 300);
    EXPECT_EQ(At(piHeight), 100);
    EXPECT_EQ(At(piPaddingLeft), 32);
    EXPECT_EQ(At(piLeft), AutoValue);
    EXPECT_EQ(At(piBackgroundColor), 0x123);
}

TEST_F(BoxTest, AnUnsetBorderWidthIsMediumOnlyWhereTheSideHasAStyle) {
    ConvertMarginArray(Array(), 600, 400, 16, 8, autoCount, box);
    EXPECT_EQ(At(piBorderTopWidth), 0) << "no style: no border";
    props[piBorderTopStyle] = "solid";
    ConvertMarginArray(Array(), 600, 400, 16, 8, autoCount, box);
    EXPECT_EQ(At(piBorderTopWidth), 4);
    EXPECT_EQ(At(piBorderLeftWidth), 0);
}

TEST_F(BoxTest, BorderWidthsNeedAStyle) {
    props[piBorderTopWidth] = "thick";
    props[piBorderRightWidth] = "thin";
    props[piBorderBottomWidth] = "3px";
    props[piBorderLeftWidth] = "wide";
    ConvertMarginArray(Array(), 600, 400, 16, 8, autoCount, box);
    EXPECT_EQ(At(piBorderTopWidth), 0);
    props[piBorderTopStyle] = "solid";
    props[piBorderRightStyle] = "dotted";
    props[piBorderBottomStyle] = "double";
    props[piBorderLeftStyle] = "ridge";
    ConvertMarginArray(Array(), 600, 400, 16, 8, autoCount, box);
    EXPECT_EQ(At(piBorderTopWidth), 6);
    EXPECT_EQ(At(piBorderRightWidth), 2);
    EXPECT_EQ(At(piBorderBottomWidth), 3);
    EXPECT_EQ(At(piBorderLeftWidth), 4);  // an unknown word gives the medium width
    EXPECT_EQ(At(piBorderTopStyle), 1);
    EXPECT_EQ(At(piBorderLeftStyle), 5);
    props[piBorderTopStyle] = "none";
    ConvertMarginArray(Array(), 600, 400, 16, 8, autoCount, box);
    EXPECT_EQ(At(piBorderTopWidth), 0);
}

TEST_F(BoxTest, VerticalMarginsAndParagraphSpace) {
    props[piMarginTop] = ParagraphSpace;
    props[piMarginBottom] = "1em";
    bool top = false, bottom = true;
    ConvertVerticalMargins(Array(), 600, 16, 8, box, top, bottom);
    EXPECT_EQ(At(piMarginTop), 14);
    EXPECT_TRUE(top);
    EXPECT_EQ(At(piMarginBottom), 16);
    EXPECT_FALSE(bottom);
    props[piMarginTop] = NoValue;
    props[piMarginBottom] = 7;
    ConvertVerticalMargins(Array(), 600, 16, 8, box, top, bottom);
    EXPECT_EQ(At(piMarginTop), 0);
    EXPECT_EQ(At(piMarginBottom), 7);
    EXPECT_FALSE(top);
}

TEST_F(BoxTest, CellPaddings) {
    props[piPaddingTop] = "10%";
    props[piPaddingRight] = "3px";
    props[piPaddingBottom] = 5;
    ConvertPaddings(Array(), 16, 8, box);
    EXPECT_EQ(At(piPaddingTop), -10);
    EXPECT_EQ(At(piPaddingRight), 3);
    EXPECT_EQ(At(piPaddingBottom), 5);
    EXPECT_EQ(At(piPaddingLeft), -1);
}

TEST_F(BoxTest, InlineMargins) {
    props[piMarginLeft] = "5px";
    props[piWidth] = "50%";
    props[piHeight] = "tall";
    box[BoxSlot(piPaddingTop)] = 99;
    ConvertInlineMargins(Array(), 200, box, 16, 8);
    EXPECT_EQ(At(piMarginLeft), 5);
    EXPECT_EQ(At(piMarginTop), NoValue);
    EXPECT_EQ(At(piWidth), 100);
    EXPECT_EQ(At(piHeight), AutoValue);
    EXPECT_EQ(At(piPaddingTop), 99);  // other slots are left alone
}

}  // namespace
