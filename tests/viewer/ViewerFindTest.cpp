// Finding text in the page and zooming it.

#include <QImage>
#include <QTest>

#include "tests/viewer/ViewerTestSupport.h"

class ViewerFindTest : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        viewer->SetBorderStyle(THTMLBorderStyle::htNone);
        viewer->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer.get()));
    }
    // The page's text at a match.
    std::u16string TextAt(int position, int length) {
        std::u16string text;
        for (int i = 0; i < length; ++i) {
            char16_t c = 0;
            TSectionBase* holder = nullptr;
            viewer->Document().CharAtCursor(position + i, c, holder);
            text += c;
        }
        return text;
    }
};

TEST_F(ViewerFindTest, MatchesIgnoreCaseAndAccents) {
    viewer->LoadFromString(
        "<p>Jos\xE9 e JOS\xC9 e Jose, mas n\xE3o Josu\xE9.<p>Outro par\xE1grafo com jose.");
    EXPECT_EQ(viewer->FindAll(u"jose"), 4);
    EXPECT_EQ(viewer->FindCurrent(), -1) << "none is current until asked";
    std::vector<std::u16string> found;
    for (int position : viewer->FindMatches()) found.push_back(TextAt(position, 4));
    EXPECT_EQ(found, (std::vector<std::u16string>{u"Jos\u00E9", u"JOS\u00C9", u"Jose", u"jose"}));
    EXPECT_EQ(viewer->FindAll(u"JOS\u00C9"), 4) << "the key is folded too";
    EXPECT_EQ(viewer->FindAll(u"nao"), 1);
    EXPECT_EQ(viewer->FindAll(u"xyz"), 0);
    EXPECT_EQ(viewer->FindAll(u""), 0);
    EXPECT_FALSE(viewer->FindNext(false));
}

TEST_F(ViewerFindTest, StepsGoRoundBothEndsAndSelectTheMatch) {
    viewer->LoadFromString(TallPage(3000, "<p>alfa um</p>") + "<p>alfa dois</p><p>alfa tres</p>");
    ASSERT_EQ(viewer->FindAll(u"alfa"), 3);
    EXPECT_TRUE(viewer->FindGo(viewer->FindFirstInView()));
    EXPECT_EQ(viewer->FindCurrent(), 0);
    EXPECT_EQ(viewer->SelText(), u"alfa");
    EXPECT_TRUE(viewer->FindNext(false));
    EXPECT_EQ(viewer->FindCurrent(), 1);
    EXPECT_GT(viewer->VerticalOffset(), 0) << "the match is scrolled into view";
    EXPECT_EQ(viewer->SelText(), u"alfa");
    viewer->FindNext(false);
    viewer->FindNext(false);
    EXPECT_EQ(viewer->FindCurrent(), 0) << "past the last comes the first";
    viewer->FindNext(true);
    EXPECT_EQ(viewer->FindCurrent(), 2) << "before the first comes the last";
    // From the view: the first match at or after its top.
    viewer->ScrollToY(viewer->DocHeight());
    viewer->FindAll(u"alfa");
    EXPECT_EQ(viewer->FindFirstInView(), 1);
}

TEST_F(ViewerFindTest, EveryMatchIsMarkedAndTheMarksGoWithTheNextPage) {
    const std::string page =
        "<body bgcolor=#ffffff><p>" + std::string(6, ' ') + "palavra aqui palavra ali";
    viewer->LoadFromString(page);
    viewer->PaintPanel()->repaint();
    const QImage before = viewer->PaintPanel()->grab().toImage();
    ASSERT_EQ(viewer->FindAll(u"palavra"), 2);
    viewer->FindGo(0);
    viewer->PaintPanel()->repaint();
    const QImage marked = viewer->PaintPanel()->grab().toImage();
    int yellow = 0;
    for (int y = 0; y < marked.height(); ++y)
        for (int x = 0; x < marked.width(); ++x) {
            const QColor c = marked.pixelColor(x, y);
            if (c.red() > 200 && c.green() > 160 && c.blue() < 60) ++yellow;
        }
    EXPECT_GT(yellow, 30) << "the second match is marked";
    EXPECT_NE(before, marked);
    // Another page: no marks, no matches.
    viewer->LoadFromString(page);
    EXPECT_EQ(viewer->FindMatchCount(), 0);
    viewer->PaintPanel()->repaint();
    EXPECT_EQ(viewer->PaintPanel()->grab().toImage(), before);
}

TEST_F(ViewerFindTest, ZoomStepsAndLimits) {
    EXPECT_EQ(viewer->Zoom(), 100);
    std::vector<int> up;
    for (int zoom = 50; zoom < 300;) up.push_back(zoom = THTMLViewer::ZoomStep(zoom, 1));
    EXPECT_EQ(up, (std::vector<int>{60, 70, 80, 90, 100, 110, 120, 130, 140, 150, 175, 200, 225,
                                    250, 275, 300}));
    EXPECT_EQ(THTMLViewer::ZoomStep(300, 1), 300);
    EXPECT_EQ(THTMLViewer::ZoomStep(50, -1), 50);
    EXPECT_EQ(THTMLViewer::ZoomStep(175, -1), 150);
    EXPECT_EQ(THTMLViewer::ZoomStep(115, -1), 110);
    viewer->SetZoom(1000);
    EXPECT_EQ(viewer->Zoom(), 300);
    viewer->SetZoom(10);
    EXPECT_EQ(viewer->Zoom(), 50);
}

TEST_F(ViewerFindTest, ZoomScalesThePageAndKeepsTheTextAtTheTop) {
    std::string html = "<html><body>";
    for (int i = 0; i < 80; ++i)
        html += "<p id=p" + std::to_string(i) + ">Paragraph " + std::to_string(i) +
                " with enough words to take a couple of lines in a narrow view</p>";
    const std::string page = Write("page.htm", html);
    viewer->LoadFromFile(page);
    const int width = viewer->Document().indentManager.cellWidth;
    ASSERT_TRUE(viewer->ScrollToAnchor("p40"));
    TIDObject* paragraph = viewer->Document().anchors->Find("P40");
    viewer->SetZoom(200);
    EXPECT_EQ(viewer->Document().indentManager.cellWidth, width / 2)
        << "laid out for half the width";
    EXPECT_EQ(viewer->PageHeight(), SurfaceHeight() / 2);
    EXPECT_EQ(viewer->VerticalOffset(), paragraph->GetTopY()) << "the same paragraph at the top";
    // The zoom stays for the next page.
    viewer->SetZoom(150);
    viewer->LoadFromFile(Write("other.htm", html));
    EXPECT_EQ(viewer->Zoom(), 150);
    EXPECT_EQ(viewer->Document().indentManager.cellWidth, width * 100 / 150);
    // Back to 100 %, the same place again.
    ASSERT_TRUE(viewer->ScrollToAnchor("p60"));
    viewer->SetZoom(100);
    EXPECT_EQ(viewer->VerticalOffset(), viewer->Document().anchors->Find("P60")->GetTopY());
}

TEST_F(ViewerFindTest, AZoomedPageIsPaintedLarger) {
    viewer->LoadFromString(
        "<body bgcolor=#ffffff style=\"margin:0\"><img src=none width=20 height=20 border=0>");
    const auto darkRows = [&] {
        viewer->PaintPanel()->repaint();
        const QImage shot = viewer->PaintPanel()->grab().toImage();
        int rows = 0;
        for (int y = 0; y < shot.height(); ++y) {
            bool dark = false;
            for (int x = 0; x < 80 && !dark; ++x) dark = shot.pixelColor(x, y).lightness() < 200;
            rows += dark;
        }
        return rows;
    };
    const int normal = darkRows();
    ASSERT_GT(normal, 10);
    viewer->SetZoom(200);
    EXPECT_GE(darkRows(), normal * 2 - 2);
    EXPECT_LE(darkRows(), normal * 2 + 2);
}
