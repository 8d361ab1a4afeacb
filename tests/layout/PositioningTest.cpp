// Positioned blocks are drawn where their offsets put them, box and content together,
// and whatever a relatively positioned block holds moves with it.

#include "LayoutTestSupport.h"

using layouttest::DocumentBuilder;
using layouttest::FakeImage;

namespace {

bool Has(const std::string& log, const std::string& line) {
    return log.find(line + "\n") != std::string::npos;
}

}  // namespace

TEST(Positioning, AnAbsoluteBlockPaintsItsBoxWhereItIsPlaced) {
    DocumentBuilder b;
    b.OpenBody();
    b.OpenBlock("div", "height: 300px");
    b.Text(u"first");
    b.Close();
    b.OpenBlock(
        "div",
        "position: absolute; top: 100px; left: 100px; background: #00ff00; border: 3px solid");
    b.Text(u"abs");
    b.Close();
    b.Close();
    b.Layout(400);
    // Border box 100,100 to 130,122: the three characters of 8 px and a 16 px line.
    std::string log = b.Draw(400, 400);
    EXPECT_TRUE(Has(log, "fill 103,103,127,119 #00FF00")) << log;
    EXPECT_TRUE(Has(log, "text 103,115 baseline font=Times New Roman/16 color=#000000 \"abs\""))
        << log;
    EXPECT_NE(log.find("polygon 100,122 100,100 103,103 103,119"), std::string::npos) << log;
    // Scrolled sideways, box and text move together.
    b.canvas.clearLog();
    b.doc.Draw(b.canvas, {0, 0, 400, 400}, 400, -50, 0, 0, 0);
    log = b.canvas.logText();
    EXPECT_TRUE(Has(log, "fill 53,103,77,119 #00FF00")) << log;
    EXPECT_TRUE(Has(log, "text 53,115 baseline font=Times New Roman/16 color=#000000 \"abs\""))
        << log;
}

TEST(Positioning, ARelativeBlockMovesEverythingItHolds) {
    DocumentBuilder b;
    b.OpenBody();
    b.OpenBlock("div", "position: relative; top: 50px; left: 60px");
    b.Text(u"parent");
    b.OpenBlock("div", "position: absolute; top: 20px; left: 30px; background: #00ff00");
    b.Text(u"child");
    b.Close();
    TProperties& rule = b.Push("hr");
    b.Add(std::make_unique<THRBlock>(&b.doc, std::make_unique<THorzLine>(&b.doc, rule, nullptr),
                                     rule, &b.Cell(), nullptr));
    b.Pop();
    TSection& text = b.Text(u"x");
    text.PlaceObject(std::make_unique<FakeImage>(20, 20, kFloatLeft), 0);
    b.Append(text, u"beside");
    b.Close();
    b.OpenBlock("ul");
    b.OpenItem(symUL, 1, 1, 0, "position: relative; left: 100px; top: 10px");
    b.Text(u"item");
    b.Close();
    b.Close();
    b.Close();
    b.Layout(400);
    const std::string log = b.Draw(400, 400);
    // The parent's content starts at 60,50; the child is 30,20 from there, once.
    EXPECT_TRUE(Has(log, "text 60,62 baseline font=Times New Roman/16 color=#000000 \"parent\""))
        << log;
    EXPECT_TRUE(Has(log, "fill 90,70,130,86 #00FF00")) << log;
    // The rule and the floating picture start at the parent's shifted left edge.
    EXPECT_TRUE(Has(log, "line 60,77-60,76 pen=#A0A0A0/solid/1")) << log;
    EXPECT_NE(log.find("rectangle 60,104,80,124 "), std::string::npos) << log;
    // The item's bullet moves with it: its content starts at 135, not 35.
    EXPECT_NE(log.find("ellipse 120,84,125,89 "), std::string::npos) << log;
}
