// Blocks, list items and rules: boxes, margins, markers and borders.

#include "LayoutTestSupport.h"

#include "html/Attributes.h"
#include "platform/Screen.h"

using layouttest::DocumentBuilder;
using layouttest::ExpectMatchesFile;

namespace {

int GapBetween(const std::string& bottom, const std::string& top) {
    DocumentBuilder b;
    b.OpenBody();
    TBlock& first = b.OpenBlock("div", "margin-bottom: " + bottom);
    b.Text(u"a");
    b.Close();
    TBlock& second = b.OpenBlock("div", "margin-top: " + top);
    b.Text(u"b");
    b.Close();
    b.Close();
    b.Layout(200);
    return second.topY - (first.topY + 16);
}

}  // namespace

TEST(MarginCollapsing, PositiveAndNegativeMargins) {
    EXPECT_EQ(20, GapBetween("20px", "10px"));
    EXPECT_EQ(5, GapBetween("-5px", "10px"));
    EXPECT_EQ(-10, GapBetween("-5px", "-10px"));
}

TEST(MarginCollapsing, ParagraphSpaceAtTheStartOfCells) {
    DocumentBuilder b;
    b.OpenBody();
    TSection& first = b.Paragraph(u"first in the body keeps its margin");
    b.OpenBlock("ul");
    b.OpenItem(symUL, 1, 1);
    TSection& inItem = b.Paragraph(u"first in an item");
    b.Close();
    b.Close();
    b.Close();
    b.Layout(400);
    EXPECT_EQ(14, first.topY);
    auto* paragraph = dynamic_cast<TBlock*>(b.doc.items[0].get());
    ASSERT_NE(nullptr, paragraph);
    auto* itemBlock = dynamic_cast<TBlockLI*>(
        dynamic_cast<TBlock*>(paragraph->content.items[1].get())->content.items[0].get());
    ASSERT_NE(nullptr, itemBlock);
    EXPECT_EQ(itemBlock->topY, inItem.topY);
}

TEST(Blocks, BoxesWidthsAndPositioning) {
    DocumentBuilder b;
    b.OpenBody();
    b.OpenBlock("div", "width: 100px; margin-left: auto; margin-right: auto; border-style: solid; border-width: 2px; padding: 3px");
    b.Text(u"centred");
    b.Close();
    b.OpenBlock("div", "margin-left: auto; margin-right: auto");
    b.Text(u"fills the width");
    b.Close();
    b.OpenBlock("div", "width: 60px; margin-left: auto");
    b.Text(u"right");
    b.Close();
    b.OpenBlock("div", "position: relative; top: 5px; left: 7px");
    b.Text(u"shifted");
    b.Close();
    b.OpenBlock("div", "position: absolute; top: 300px; left: 20px; width: 50px");
    b.Text(u"away");
    b.Close();
    b.OpenBlock("div", "display: none");
    b.Text(u"hidden");
    b.Close();
    b.OpenBlock("div", "height: 50px");
    b.Text(u"tall");
    b.Close();
    b.Paragraph(u"last");
    b.Close();
    b.Layout(300);
    ExpectMatchesFile(b.Dump(), "blocks.txt");
}

TEST(Borders, EveryStyleIsPainted) {
    DocumentBuilder b;
    b.OpenBody();
    for (const char* style : {"solid", "inset", "outset", "groove", "ridge", "dashed", "dotted", "double", "none"}) {
        b.OpenBlock("div", std::string("border-style: ") + style +
                               "; border-width: 6px; border-color: #808080; background-color: #FFFF00; margin: 4px");
        b.Text(u"x");
        b.Close();
    }
    b.Close();
    b.Layout(100);
    ExpectMatchesFile(b.Draw(100, 600), "borders.log");
}

TEST(Borders, MixedSidesStrokeSeparately) {
    platform::RecordingCanvas canvas;
    TBorderSides sides;
    for (int k = 0; k < 4; ++k) sides.styles[k] = 6;  // dashed all round: one closed path
    PaintStyleBorders(canvas, {0, 0, 40, 30}, {4, 4, 36, 26}, sides, platform::clNone);
    ASSERT_EQ(1u, canvas.log().size());
    EXPECT_EQ("polyline 2,28 2,2 38,2 38,28 closed pen=#000000/dash/4/square", canvas.log()[0]);
    canvas.clearLog();
    sides.styles[2] = 7;  // a dotted right side splits the path
    sides.colors[3] = 0xFF;
    PaintStyleBorders(canvas, {0, 0, 40, 30}, {4, 4, 36, 26}, sides, 0xFFFFFF);
    ExpectMatchesFile(canvas.logText(), "borders_mixed.log");
}

TEST(Lists, MarkersOfEveryStyle) {
    DocumentBuilder b;
    b.OpenBody();
    b.OpenBlock("ol");
    for (char type : {'1', 'a', 'A', 'i', 'I'}) {
        b.OpenItem(symOL, 1, type == 'a' ? 27 : (type == 'i' ? 21 : 3), type);
        b.Text(u"item");
        b.Close();
    }
    b.Close();
    b.OpenBlock("ul");
    for (int level = 1; level <= 4; ++level) {
        b.OpenItem(symUL, level, 1);
        b.Text(u"nested");
        b.Close();
    }
    b.Close();
    b.OpenItem(symP, 0, 1);  // outside a list: a disc and a 16-pixel margin
    b.Text(u"loose");
    b.Close();
    b.OpenBlock("dl");
    b.OpenItem(symDL, 1, 1);
    b.Text(u"no marker");
    b.Close();
    b.Close();
    b.Close();
    b.Layout(300);
    ExpectMatchesFile(b.Dump(), "lists.txt");
    ExpectMatchesFile(b.Draw(300, 400), "lists.log");
}

TEST(Lists, ListStyleNoneHidesTheMarkers) {
    DocumentBuilder b;
    b.OpenBody();
    for (const char* style : {"list-style-type: none", "list-style: none", "list-style: square"}) {
        b.OpenBlock("ul", style);
        b.OpenItem(symUL, 1, 1);
        b.Text(u"menu");
        b.Close();
        b.Close();
    }
    b.Close();
    b.Layout(300);
    const std::string log = b.Draw(300, 400);
    EXPECT_EQ(log.find("ellipse"), std::string::npos) << log;
    EXPECT_EQ(log.find("rectangle"), log.rfind("rectangle")) << "one square, for the last list\n"
                                                             << log;
    EXPECT_NE(log.find("rectangle"), std::string::npos) << log;
}

TEST(Lists, MarkerTextEdges) {
    EXPECT_EQ(u"z.", TBlockLI::MarkerText(4, 27));
    EXPECT_EQ(u"a.", TBlockLI::MarkerText(4, 0));
    EXPECT_EQ(u"XX.", TBlockLI::MarkerText(9, 21));
    EXPECT_EQ(u"iv.", TBlockLI::MarkerText(5, 4));
    EXPECT_EQ(u"-3.", TBlockLI::MarkerText(2, -3));
}

TEST(Lists, MarkerFarOutsideTheRectangleIsNotDrawn) {
    DocumentBuilder b;
    b.OpenBody();
    b.OpenBlock("ul");
    for (int i = 0; i < 20; ++i) {
        b.OpenItem(symUL, 1, i + 1);
        b.Text(u"entry");
        b.Close();
    }
    b.Close();
    b.Close();
    b.Layout(200);
    const std::string log = b.Draw(200, 40);
    int discs = 0;
    for (std::size_t at = log.find("ellipse"); at != std::string::npos; at = log.find("ellipse", at + 1)) ++discs;
    EXPECT_EQ(5, discs) << log;  // rows within 50 pixels of the 40-pixel rectangle
}

namespace {

void AddAttribute(TAttributeList& list, THtmlSymbol symbol, const std::string& value) {
    auto attribute = std::make_unique<TAttribute>();
    attribute->Symbol = symbol;
    attribute->StrValue = value;
    attribute->IntValue = std::atoi(value.c_str());
    list.Add(std::move(attribute));
}

// An HR tag with the given SIZE, WIDTH and COLOR attributes ("" for none).
THRBlock& Rule(DocumentBuilder& b, const std::string& style, const std::string& size,
               const std::string& width, const std::string& color) {
    TAttributeList attributes;
    if (!size.empty()) AddAttribute(attributes, symSize, size);
    if (!width.empty()) AddAttribute(attributes, symWidth, width);
    if (!color.empty()) AddAttribute(attributes, symColor, color);
    TProperties& props = b.Push("hr", style);
    auto line = std::make_unique<THorzLine>(&b.doc, props, &attributes);
    auto block = std::make_unique<THRBlock>(&b.doc, std::move(line), props, &b.Cell(), &attributes);
    THRBlock& result = *block;
    b.Add(std::move(block));
    b.Pop();
    return result;
}

}  // namespace

TEST(Rules, WidthsAlignmentAndColours) {
    DocumentBuilder b;
    b.OpenBody();
    Rule(b, "", "", "", "");
    const THRBlock& big = Rule(b, "", "30", "100", "red");  // SIZE above 20 keeps 2
    Rule(b, "text-align: left", "4", "50%", "");
    Rule(b, "text-align: right", "3", "40", "");
    Rule(b, "", "", "150%", "");                             // ignored: above 100%
    Rule(b, "margin-left: 190px", "", "", "");  // never narrower than 15
    b.Close();
    b.Layout(200);
    EXPECT_EQ(2, big.line->thickness);
    EXPECT_EQ(0x0000FFu, big.line->ruleColor & 0xFFFFFF);
    ExpectMatchesFile(b.Dump(), "rules.txt");
    ExpectMatchesFile(b.Draw(200, 200), "rules.log");
}

TEST(Blocks, BlocksGivenTheSameBoxShareItAndChangeOnlyTheirOwn) {
    DocumentBuilder b;
    b.OpenBody();
    TBlock& first = b.OpenBlock("div", "margin: 4px 10%; border: 2px dashed");
    b.Text(u"a");
    b.Close();
    TBlock& second = b.OpenBlock("div", "margin: 4px 10%; border: 2px dashed");
    b.Text(u"b");
    b.Close();
    TBlock& other = b.OpenBlock("div", "margin: 4px 11%; border: 2px dashed");
    b.Text(u"c");
    b.Close();
    b.Close();
    EXPECT_EQ(&first.boxSpecs.All(), &second.boxSpecs.All());
    EXPECT_NE(&first.boxSpecs.All(), &other.boxSpecs.All());

    // A change to one block's box leaves the blocks it shared it with alone.
    first.boxSpecs.Set(BoxSlot(piMarginLeft), PropValue(30));
    EXPECT_EQ(first.boxSpecs[BoxSlot(piMarginLeft)].toInteger(), 30);
    EXPECT_EQ(second.boxSpecs[BoxSlot(piMarginLeft)].toText(), "10%");
    b.Layout(200);
    EXPECT_EQ(first.contentLeftX - second.contentLeftX, 30 - 20);
    EXPECT_EQ(other.contentLeftX - second.contentLeftX, 2);

    // A print copy keeps the box it was laid out with.
    TSectionList copy(b.doc, true);
    ASSERT_FALSE(copy.items.empty());
    b.doc.Clear();
    EXPECT_EQ(b.doc.boxSpecPool.Size(), 0u);
    int scrollWidth = 0, cursor = 0;
    EXPECT_GT(copy.LayoutCell(b.canvas, 0, 200, 600, scrollWidth, cursor), 0);
}

TEST(BoxSpecPool, EqualBoxesShareOneCopyHoweverLongAgoTheyCame) {
    TBoxSpecPool pool;
    auto specs = [](PropValue first) {
        TVMarginArray array;
        array[0] = std::move(first);
        array[5] = PropValue(std::string("10%"));
        return array;
    };
    std::vector<const TVMarginArray*> shared;
    for (int i = 0; i < 7; ++i) shared.push_back(&pool.Share(specs(PropValue(i))).All());
    EXPECT_EQ(pool.Size(), 7u);
    EXPECT_EQ(&pool.Share(specs(PropValue(6))).All(), shared[6]);  // just shared
    EXPECT_EQ(&pool.Share(specs(PropValue(0))).All(), shared[0]);  // long ago
    EXPECT_EQ(&pool.Share(specs(PropValue(3))).All(), shared[3]);
    EXPECT_EQ(&pool.Share(specs(PropValue(0))).All(), shared[0]);
    EXPECT_EQ(pool.Size(), 7u);
    // A text of the same letters is the same value; a real is not the integer it equals,
    // and 0.0 and -0.0 keep apart as the pool's key does.
    EXPECT_NE(&pool.Share(specs(PropValue(0.0))).All(), shared[0]);
    const TVMarginArray* negative = &pool.Share(specs(PropValue(-0.0))).All();
    EXPECT_NE(negative, &pool.Share(specs(PropValue(0.0))).All());
    EXPECT_EQ(pool.Size(), 9u);
    TVMarginArray other = specs(PropValue(2));
    other[5] = PropValue(std::string("11%"));
    EXPECT_NE(&pool.Share(other).All(), shared[2]);
    // After a clear nothing old is handed out.
    const TBoxSpecs kept = pool.Share(specs(PropValue(1)));
    pool.Clear();
    EXPECT_EQ(pool.Size(), 0u);
    EXPECT_NE(&pool.Share(specs(PropValue(1))).All(), &kept.All());
    EXPECT_EQ(pool.Size(), 1u);
}

// Blocks ask the pool with their properties: the same box gives the same copy whether it
// is one of the last few, long ago, or the same letters held in another text.
TEST(BoxSpecPool, PropertiesWithTheSameBoxGetTheSameCopy) {
    TBoxSpecPool pool;
    auto props = [](int left, const char* width) {
        auto made = std::make_unique<TProperties>();
        made->AssignPropertyByName("margin-left", std::to_string(left) + "px");
        made->AssignPropertyByName("width", width);
        made->AssignPropertyByName("border-bottom-style", "dotted");
        return made;
    };
    const auto first = props(1, "10%");
    const TVMarginArray* firstCopy = &pool.Share(*first).All();
    EXPECT_TRUE(first->HasMarginArray(*firstCopy));
    EXPECT_EQ(&pool.Share(*first).All(), firstCopy);
    EXPECT_EQ(&pool.Share(*props(1, "10%")).All(), firstCopy);  // equal texts held apart
    for (int i = 2; i < 8; ++i) EXPECT_NE(&pool.Share(*props(i, "10%")).All(), firstCopy);
    EXPECT_EQ(&pool.Share(*first).All(), firstCopy);  // long ago
    EXPECT_NE(&pool.Share(*props(1, "20%")).All(), firstCopy);
    TVMarginArray array;
    first->GetMarginArray(array);
    EXPECT_EQ(&pool.Share(array).All(), firstCopy);
    EXPECT_EQ(pool.Size(), 8u);
}

// A shared box remembers its last conversion; asked again for another base, font or
// screen resolution it must convert anew, and the box's own vertical margins stay.
TEST(BoxSpecPool, ASharedBoxIsConvertedAgainForAnotherBaseFontOrResolution) {
    TBoxSpecPool pool;
    TVMarginArray array;
    array[BoxSlot(piPaddingLeft)] = PropValue(std::string("10%"));
    array[BoxSlot(piMarginLeft)] = PropValue(std::string("2em"));
    array[BoxSlot(piPaddingRight)] = PropValue(std::string("1in"));
    const TBoxSpecs first = pool.Share(array), second = pool.Share(array);
    ASSERT_EQ(&first.All(), &second.All());
    auto check = [&](const TBoxSpecs& specs, int base, int em, int padLeft, int marginLeft,
                     int padRight) {
        TBoxNumbers box{}, expected{};
        box[BoxSlot(piMarginTop)] = expected[BoxSlot(piMarginTop)] = 7;
        box[BoxSlot(piMarginBottom)] = expected[BoxSlot(piMarginBottom)] = 9;
        int autoCount = -1, expectedAuto = -2;
        specs.Convert(base, 0, em, em / 2, autoCount, box);
        ConvertMarginArray(array, base, 0, em, em / 2, expectedAuto, expected);
        EXPECT_EQ(expected, box) << base << " " << em;
        EXPECT_EQ(expectedAuto, autoCount);
        EXPECT_EQ(padLeft, box[BoxSlot(piPaddingLeft)]);
        EXPECT_EQ(marginLeft, box[BoxSlot(piMarginLeft)]);
        EXPECT_EQ(padRight, box[BoxSlot(piPaddingRight)]);
        EXPECT_EQ(7, box[BoxSlot(piMarginTop)]);
        EXPECT_EQ(9, box[BoxSlot(piMarginBottom)]);
    };
    platform::SetScreenOverride(platform::ScreenInfo{1024, 768, 96, 24});
    check(first, 400, 16, 40, 32, 96);
    check(second, 200, 16, 20, 32, 96);
    check(first, 200, 20, 20, 40, 96);
    check(second, 400, 16, 40, 32, 96);
    platform::SetScreenOverride(platform::ScreenInfo{1024, 768, 192, 24});
    check(first, 400, 16, 40, 32, 192);
    platform::SetScreenOverride(std::nullopt);
}
