// The document as a whole: layout errors, edges of the indent manager, objects
// among the text, print copies, position lookups and the shared palette.

#include "LayoutTestSupport.h"

#include "platform/RecordingDialogs.h"

using layouttest::DocumentBuilder;
using layouttest::ExpectMatchesFile;
using layouttest::FakeImage;

namespace {

class ThrowingItem : public TSectionBase {
public:
    using TSectionBase::TSectionBase;
    int Layout(platform::Canvas&, int, int, int, int, int, int, IndentManager&, int&, int&) override {
        throw EProcessError("Tabela com colunas demais");
    }
};

// Laid out once, it fails the next time (as a table too wide for a narrower window).
class ThrowingLaterItem : public TSectionBase {
  public:
    using TSectionBase::TSectionBase;
    int Layout(platform::Canvas&, int, int Y, int, int, int, int, IndentManager&, int&,
               int&) override {
        if (laidOut_) throw EProcessError("Tabela com colunas demais");
        laidOut_ = true;
        topY = Y;
        flowBottomY = paintBottomY = Y + 10;
        return 10;
    }

  private:
    bool laidOut_ = false;
};

}  // namespace

TEST(LayoutErrors, TheFailingItemIsDroppedAndReported) {
    auto dialogs = std::make_unique<platform::RecordingDialogs>();
    platform::RecordingDialogs* recorded = dialogs.get();
    auto previous = platform::InstallDialogs(std::move(dialogs));
    {
        DocumentBuilder b;
        b.Text(u"before");
        b.Add(std::make_unique<ThrowingItem>(&b.doc));
        b.Text(u"after");
        b.Flush();
        EXPECT_EQ(3, b.doc.Count());
        EXPECT_EQ(32, b.Layout(200));
        EXPECT_EQ(2, b.doc.Count());
        ASSERT_EQ(1u, recorded->messages.size());
        EXPECT_EQ(u"Tabela com colunas demais", recorded->messages[0].text);
        EXPECT_EQ(platform::MessageIcon::Error, recorded->messages[0].icon);
    }
    platform::InstallDialogs(std::move(previous));
}

// The page's list of items in document order must not keep an item a later layout
// dropped.
TEST(LayoutErrors, AnItemDroppedAtALaterLayoutLeavesTheListOfItems) {
    auto previous = platform::InstallDialogs(std::make_unique<platform::RecordingDialogs>());
    {
        DocumentBuilder b;
        b.Text(u"before");
        b.Add(std::make_unique<ThrowingLaterItem>(&b.doc));
        b.Text(u"after");
        b.Layout(200);
        ASSERT_EQ(3u, b.doc.ItemsByPosition().size());
        b.Layout(150);
        EXPECT_EQ(2, b.doc.Count());
        const auto& items = b.doc.ItemsByPosition();
        ASSERT_EQ(2u, items.size());
        EXPECT_EQ(b.doc.items[0].get(), items[0]);
        EXPECT_EQ(b.doc.items[1].get(), items[1]);
        int top = 0, index = 0;
        EXPECT_EQ(b.doc.items[1].get(), b.doc.ItemAtY(10000, top, index));
    }
    platform::InstallDialogs(std::move(previous));
}

TEST(IndentManagerEdges, QueriesOverEdgesAndFloats) {
    IndentManager m;
    m.SetEdges(0, 300);
    int owner = 0;
    m.currentOwner = &owner;
    const int left = m.PushLeftEdge(20, 0);
    m.PushRightEdge(280, 0);
    m.PlaceFloatBlock(10, 70, kFloatLeft, 40);   // a left float to x 70 from y 10 to 50
    m.PlaceFloatBlock(30, 200, kFloatRight, 50);  // a right float from x 200, y 30 to 80
    EXPECT_EQ(20, m.LeftEdgeAt(5));
    EXPECT_EQ(70, m.LeftEdgeAt(10));
    EXPECT_EQ(20, m.LeftEdgeAt(50));
    EXPECT_EQ(200, m.RightEdgeAt(30));
    EXPECT_EQ(280, m.RightEdgeAt(80));
    EXPECT_EQ(80, m.LowestFloatBottom());
    EXPECT_EQ(50, m.NextFloatEndY(20));
    EXPECT_EQ(80, m.NextFloatEndY(50));
    EXPECT_EQ(90, m.NextFloatEndY(90));
    EXPECT_EQ(50, m.ClearY(1, 0));
    EXPECT_EQ(80, m.ClearY(3, 0));
    int l = 0, r = 0;
    m.FloatBottoms(l, r);
    EXPECT_EQ(51, l);
    EXPECT_EQ(81, r);
    // Edges of another block do not apply while this one is laid out.
    int other = 0;
    m.currentOwner = &other;
    EXPECT_EQ(70, m.LeftEdgeAt(10));
    EXPECT_EQ(0, m.LeftEdgeAt(5));
    m.currentOwner = &owner;
    m.PopLeftEdge(left);
    EXPECT_EQ(0, m.LeftEdgeAt(5));
}

TEST(InlineObjects, ImagesAmongTheText) {
    DocumentBuilder b;
    b.OpenBody();
    b.OpenBlock("p");
    TSection& s = b.Text(u"before ");
    s.PlaceObject(std::make_unique<FakeImage>(20, 40, kAlignBottom), 0);
    b.Append(s, u" middle ");
    s.PlaceObject(std::make_unique<FakeImage>(10, 30, kAlignMiddle), 0);
    b.Append(s, u" and ");
    s.PlaceObject(std::make_unique<FakeImage>(30, 30, kFloatRight), 0);
    b.Append(s, u" floating text that wraps beside the picture");
    b.Close();
    b.Close();
    EXPECT_EQ(std::u16string::npos, s.textBuffer.str().find(u"\x04 f"))
        << "space after a float is dropped";
    b.Layout(200);
    ExpectMatchesFile(b.Dump() + b.Draw(200, 300), "objects.log");
}

TEST(InlineObjects, MiddleImagesFillTheRoomTheirLineMadeForThem) {
    DocumentBuilder b;
    b.OpenBody();
    TSection& s = b.Text(u"gj ");
    auto picture = std::make_unique<FakeImage>(10, 31, kAlignMiddle);
    picture->gapTop = 6;
    picture->gapBottom = 2;
    s.PlaceObject(std::move(picture), 0);
    b.Append(s, u" gj");
    b.Close();
    b.Layout(300);
    ASSERT_EQ(1u, s.lines.size());
    const LineRec& line = s.lines[0];
    const int top = s.topY;  // the picture with its gaps is the tallest thing on the line
    const int bottom = top + line.Height();
    const std::string log = b.Draw(300, 300);
    EXPECT_NE(log.find("rectangle 24," + std::to_string(top + 6) + ",34," +
                       std::to_string(bottom - 2) + " "),
              std::string::npos)
        << log;
}

TEST(InlineObjects, FloatsStayDrawnWhileTheirFirstLineIsScrolledAway) {
    DocumentBuilder b;
    b.OpenBody();
    // A portrait that starts the paragraph, and one placed after the first line.
    TSection& s = b.Text(u"");
    s.PlaceObject(std::make_unique<FakeImage>(30, 60, kFloatLeft), 0);
    b.Append(s, u"first line ");
    s.PlaceObject(std::make_unique<FakeImage>(20, 60, kFloatRight), 0);
    b.Append(s, u"and the rest");
    b.Close();
    b.Layout(300);
    ASSERT_GE(s.lines.size(), 1u);
    const int lineHeight = s.lines[0].Height();
    ASSERT_LT(lineHeight, 30);
    // Scrolled past the first line's text: both pictures still show their lower part.
    const std::string log = b.Draw(300, 200, lineHeight + 4);
    EXPECT_NE(log.find("rectangle 0,"), std::string::npos) << log;
    EXPECT_NE(log.find("rectangle 280,"), std::string::npos) << log;
}

namespace {

class TimerHost : public TDocumentHost {
  public:
    void SetAnimationTimer(int intervalMs) override { intervals.push_back(intervalMs); }
    std::vector<int> intervals;
};

class StillAnimation : public TAnimatedPicture {
  public:
    void Rewind() override {}
    void Stop() override {}
    void Start() override {}
    void Advance() override {}
};

}  // namespace

TEST(Animation, TheTimerStartsAt50MillisecondsOnceAndKeeps40) {
    TimerHost host;
    DocumentBuilder b(&host);
    b.Text(u"moving");
    StillAnimation picture;
    b.doc.animatedImages.push_back(&picture);
    b.Layout(300);
    ASSERT_FALSE(host.intervals.empty());
    EXPECT_EQ(host.intervals.back(), 50);
    b.doc.AnimationTick();
    EXPECT_EQ(host.intervals.back(), 40);
    b.Layout(200);  // a new width: laid out again, the timer keeps its pace
    EXPECT_EQ(host.intervals.back(), 40);
    b.doc.animatedImages.clear();
}

TEST(PrintCopies, CloneEveryItem) {
    DocumentBuilder b;
    b.OpenBody("background-color: #FFFFFF");
    b.Paragraph(u"some words to print");
    b.OpenBlock("ul");
    b.OpenItem(symUL, 1, 1);
    b.Text(u"an item");
    b.Close();
    b.Close();
    b.Push("pre");
    b.Text<TPreFormated>(u"pre  text");
    b.Pop();
    b.Close();
    b.Layout(300);
    const std::string original = b.Dump();
    TSectionList copy(b.doc, true);
    EXPECT_TRUE(copy.isPrintCopy);
    int scrollWidth = 0, cursor = 0;
    copy.LayoutCell(b.canvas, 0, 300, 600, scrollWidth, cursor);
    EXPECT_EQ(original, DumpLayout(copy, b.canvas));
}

TEST(Positions, ItemAtYFindsTheItemAbove) {
    DocumentBuilder b;
    for (int i = 0; i < 100; ++i) b.Text(u"row");
    b.Layout(200);
    ASSERT_EQ(100u, b.doc.ItemsByPosition().size());
    int top = 0, index = 0;
    EXPECT_EQ(b.doc.items[50].get(), b.doc.ItemAtY(50 * 16 + 3, top, index));
    EXPECT_EQ(50, index);
    EXPECT_EQ(800, top);
    EXPECT_EQ(nullptr, b.doc.ItemAtY(-1, top, index));
}

TEST(Palette, SharedPaletteOfEightBitScreens) {
    std::array<platform::TColor, 256> system{};
    system[0] = 0x123456;
    const auto palette = BuildSharedPalette(system);
    EXPECT_EQ(0x123456u, palette[0]);
    EXPECT_EQ(platform::RGBColor(55, 55, 55), palette[10]);
    EXPECT_EQ(platform::RGBColor(115, 55, 55), palette[11]);  // red is innermost
    EXPECT_EQ(platform::RGBColor(235, 255, 255), palette[224]);
    EXPECT_EQ(platform::RGBColor(135, 135, 135), palette[225]);
    EXPECT_EQ(platform::RGBColor(255, 255, 254), palette[245]);
    SetScreenDepthFromBits(8, 1);
    EXPECT_EQ(8, ScreenDepth());
    EXPECT_NE(nullptr, SharedPalette());
    SetScreenDepthFromBits(32, 1);
    EXPECT_EQ(24, ScreenDepth());
    EXPECT_EQ(nullptr, SharedPalette());
}

TEST(Building, TrailingParagraphMarginIsDropped) {
    DocumentBuilder b;
    TBlock& body = b.OpenBody();
    b.Paragraph(u"one");
    TBlock& list = b.OpenBlock("ul");
    TBlockLI& item = b.OpenItem(symUL, 1, 1);
    TBlock& inner = b.OpenBlock("p");
    b.Text(u"two");
    b.Close();
    b.Close();
    b.Close();
    b.OpenBlock("div", "position: absolute; top: 0px");  // skipped over
    b.Text(u"aside");
    b.Close();
    b.Close();
    ASSERT_TRUE(list.bottomMarginIsParagraph);
    body.content.DropTrailingParagraphMargin();
    EXPECT_EQ(0, list.Box(piMarginBottom));
    EXPECT_EQ(14, inner.Box(piMarginBottom)) << "only list items are searched inside";
    item.content.DropTrailingParagraphMargin();
    EXPECT_EQ(0, inner.Box(piMarginBottom));
}

TEST(Building, TextTransformAndFontRuns) {
    DocumentBuilder b;
    auto section = std::make_unique<TSection>(&b.doc, true, b.Top(), nullptr, &b.doc, nullptr);
    const std::int32_t positions[6] = {0, 1, 2, 3, 4, 5};
    section->AppendText(u"ação ", positions, 1, false);
    b.Push("b", "font-weight: bold");
    section->StartFontRun(b.Top());
    b.Push("i", "font-style: italic");
    section->StartFontRun(b.Top());  // nothing added since: replaces the bold run's font
    section->AppendText(u"ÉPICO", positions, 2, false);
    section->FinishText();
    EXPECT_EQ(u"AÇÃO épico", section->textBuffer.str());
    ASSERT_EQ(2, section->fontRuns.Count());
    EXPECT_EQ(5, section->fontRuns[1].textOffset);
    EXPECT_TRUE(section->fontRuns[1].font.italic());
    EXPECT_EQ(1, section->fontRuns[1].italicOverhang);  // a tenth of 16 pixels
}

TEST(Links, AllRunsOfALinkHoverTogether) {
    DocumentBuilder b;
    TSection& s = b.Text(u"see ");
    TUrlTarget target;
    target.Assign("x.html", "");
    b.Push("a");
    b.Top().LinkFonts = std::make_unique<TFontInfoArray>();
    (*b.Top().LinkFonts)[TFontInfoArray::Hover].Size = 20;
    (*b.Top().LinkFonts)[TFontInfoArray::Link].Size = 12;
    s.LinkBoundary(true, b.Top(), &target);
    b.Append(s, u"this ");
    b.Push("b", "font-weight: bold");
    s.StartFontRun(b.Top());
    b.Append(s, u"link");
    b.Pop();
    b.Pop();
    s.LinkBoundary(false, b.Top(), nullptr);
    b.Append(s, u" now");
    b.Flush();
    ASSERT_EQ(2u, b.doc.linkRuns.size());
    EXPECT_TRUE(b.doc.linkRuns[0]->hasTabStop);
    EXPECT_FALSE(b.doc.linkRuns[1]->hasTabStop);
    b.doc.linkRuns[1]->SetLinkHovered(b.doc.linkRuns, true);
    EXPECT_TRUE(b.doc.linkRuns[0]->isHovered);
    EXPECT_EQ(-27, b.doc.linkRuns[0]->font.height);  // 20 pt at 96 dpi
    b.doc.linkRuns[0]->SetLinkHovered(b.doc.linkRuns, false);
    EXPECT_EQ(-16, b.doc.linkRuns[1]->font.height);
    EXPECT_FALSE(s.fontRuns[3].IsLink());
}

TEST(Progress, ReportedEveryFiftySections) {
    class Host : public TDocumentHost {
    public:
        void LayoutProgress(int percent) override { reports.push_back(percent); }
        std::vector<int> reports;
    } host;
    DocumentBuilder b(&host);
    for (int i = 0; i < 120; ++i) b.Text(u"line");
    b.Layout(200);
    EXPECT_EQ((std::vector<int>{41, 83}), host.reports);
    b.Layout(200);
    EXPECT_EQ(4u, host.reports.size());
}

TEST(Blocks, PaintOrderAndHiddenBlocks) {
    DocumentBuilder b;
    TBlock& body = b.OpenBody();
    b.Paragraph(u"plain");
    b.OpenBlock("div", "position: relative; z-index: 2");
    b.Text(u"above");
    b.Close();
    b.OpenBlock("div", "position: relative; z-index: -1");
    b.Text(u"below");
    b.Close();
    TBlock& none = b.OpenBlock("div", "display: none");
    b.Text(u"never");
    b.Close();
    b.OpenBlock("div", "visibility: hidden");
    b.Text(u"hidden");
    b.Close();
    b.Close();
    b.Layout(300);
    ASSERT_TRUE(body.paintOrder);
    ASSERT_EQ(5u, body.paintOrder->size());
    EXPECT_EQ(-10, (*body.paintOrder)[0]->zOrderKey);
    EXPECT_EQ(20, (*body.paintOrder)[4]->zOrderKey);
    EXPECT_EQ(-1, none.SearchForward(0, u"never", false));
    EXPECT_EQ(-1, b.doc.SearchForward(0, u"never", false));
    const std::string log = b.Draw(300, 300);
    EXPECT_EQ(std::string::npos, log.find("hidden")) << log;
    EXPECT_LT(log.find("below"), log.find("plain")) << log;
    EXPECT_LT(log.find("plain"), log.find("above")) << log;
}

TEST(Links, FreedSectionsLeaveNoLinkRunsBehind) {
    DocumentBuilder b;
    {
        TUrlTarget target;
        target.Assign("gone.html", "");
        b.Push("a");
        auto dropped = std::make_unique<TSection>(&b.doc, true, b.Top(), &target, &b.doc, nullptr);
        b.Pop();
        EXPECT_EQ(1u, b.doc.linkRuns.size());
        EXPECT_EQ(1u, b.doc.tabOrder.size());
    }  // freed without ever joining the document
    EXPECT_TRUE(b.doc.linkRuns.empty());
    EXPECT_TRUE(b.doc.tabOrder.empty());
    b.Text(u"still here");
    EXPECT_EQ(16, b.Layout(200));  // gives out tab orders: nothing freed is touched
}

TEST(DrawRange, FewAndManyItemsGiveTheSameBandAsAWalkOverAll) {
    // Items in drawing order with their drawn rows; some overlap, one is positioned (it
    // may be drawn anywhere, so every band meets it).
    for (std::size_t count : {3u, 8u, 9u, 40u}) {
        SCOPED_TRACE(count);
        std::vector<std::unique_ptr<TSectionBase>> owned;
        std::vector<TSectionBase*> items;
        for (std::size_t i = 0; i < count; ++i) {
            owned.push_back(std::make_unique<TSectionBase>(nullptr));
            TSectionBase& item = *owned.back();
            item.paintTopY = static_cast<int>(i) * 30 - (i % 4 == 1 ? 25 : 0);
            item.paintBottomY = item.paintTopY + (i % 5 == 2 ? 90 : 20);
            item.zOrderKey = count > 8 && i == count / 2 ? 1 : 0;
            items.push_back(&item);
        }
        TDrawRange range;
        range.Build(items);
        for (int top = -40; top < static_cast<int>(count) * 30 + 40; top += 7) {
            const int bottom = top + 45;
            std::size_t first = 0, last = 0;
            range.Visible(items, top, bottom, first, last);
            // Every item outside [first, last) lies wholly above or below the band.
            for (std::size_t i = 0; i < count; ++i) {
                const TSectionBase& item = *items[i];
                const bool meets =
                    item.zOrderKey != 0 || (item.paintBottomY > top && item.paintTopY < bottom);
                if (meets) EXPECT_TRUE(i >= first && i < last) << "item " << i << " band " << top;
            }
            // And no more: it stops at the first item that can reach the band and after
            // the last one.
            std::size_t expectFirst = 0;
            int reach = INT_MIN;
            for (; expectFirst < count; ++expectFirst) {
                const TSectionBase& item = *items[expectFirst];
                reach = std::max(reach, item.zOrderKey ? INT_MAX : item.paintBottomY);
                if (reach > top) break;
            }
            EXPECT_EQ(first, expectFirst) << "band " << top;
            EXPECT_LE(first, last);
            EXPECT_LE(last, count);
        }
    }
}
