// The viewer against its window: which scroll bars show, the width the page is laid out
// at, scrolling and its limits, the place kept across a re-layout, painting only what
// was uncovered, backgrounds, and pages far higher than 32767 pixels.

#include <QAbstractSlider>
#include <QBuffer>
#include <QFrame>
#include <QImage>
#include <QTest>

#include "tests/viewer/ViewerTestSupport.h"

namespace {

// A page `width` x `height` pixels: one picture placeholder of that size, no margins.
std::string BoxPage(int width, int height) {
    return "<html><body style=\"margin:0\"><img src=none style=\"margin:0\" border=0 width=" +
           std::to_string(width) + " height=" + std::to_string(height) + "></body></html>";
}

// A BMP file of `width` x `height` pixels of one colour.
std::string SolidBmp(int width, int height, QColor color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes.toStdString();
}

}  // namespace

class ViewerBarsTest : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        // No border: the control's size is the page's room.
        viewer->SetBorderStyle(THTMLBorderStyle::htNone);
        viewer->resize(300, 200);
        bar = viewer->ScrollBarWidth();
    }
    bool VerticalShown() const { return viewer->VScrollBar()->isVisibleTo(viewer.get()); }
    bool HorizontalShown() const { return viewer->HScrollBar()->isVisibleTo(viewer.get()); }
    int bar = 0;
};

TEST_F(ViewerBarsTest, APageThatFitsShowsNoBar) {
    ASSERT_GT(bar, 0);
    viewer->LoadFromString(BoxPage(300, 199));
    EXPECT_FALSE(VerticalShown());
    EXPECT_FALSE(HorizontalShown());
    EXPECT_EQ(SurfaceWidth(), 300);
    EXPECT_EQ(SurfaceHeight(), 200);
}

TEST_F(ViewerBarsTest, APageJustHigherThanTheControlGetsTheVerticalBar) {
    viewer->LoadFromString(BoxPage(100, 200));
    EXPECT_TRUE(VerticalShown());
    EXPECT_FALSE(HorizontalShown());
    EXPECT_EQ(SurfaceWidth(), 300 - bar);
    EXPECT_EQ(viewer->Document().indentManager.cellWidth, 300 - bar) << "laid out beside the bar";
    EXPECT_EQ(viewer->VScrollBar()->Max(), 200);
    EXPECT_EQ(viewer->VScrollBar()->PageSize(), 201);
    EXPECT_EQ(viewer->VScrollBar()->LargeChange(), 200 - 16);
}

TEST_F(ViewerBarsTest, APageJustLowerButWiderGetsBothBarsWithBoth) {
    // 190 high fits, but not once the horizontal bar takes its height.
    viewer->LoadFromString(BoxPage(320, 200 - bar + 1));
    EXPECT_TRUE(VerticalShown());
    EXPECT_TRUE(HorizontalShown());
    EXPECT_EQ(SurfaceHeight(), 200 - bar);
    EXPECT_EQ(SurfaceWidth(), 300 - bar);
    EXPECT_EQ(viewer->HScrollBar()->Max(), 320);
    EXPECT_EQ(viewer->HScrollBar()->LargeChange(), 300 - bar - 20);
    // With only vertical bars allowed, the width is no reason for a bar.
    viewer->SetScrollBars(TScrollStyle::ssVertical);
    EXPECT_FALSE(VerticalShown());
    EXPECT_FALSE(HorizontalShown());
}

TEST_F(ViewerBarsTest, NoneNeverShowsABarAndUsesTheWholeWidth) {
    viewer->SetScrollBars(TScrollStyle::ssNone);
    viewer->LoadFromString(BoxPage(900, 5000));
    EXPECT_FALSE(VerticalShown());
    EXPECT_FALSE(HorizontalShown());
    EXPECT_EQ(SurfaceWidth(), 300);
    EXPECT_EQ(SurfaceHeight(), 200);
    std::string words;
    for (int i = 0; i < 600; ++i) words += "word ";
    viewer->LoadFromString("<p>" + words);
    EXPECT_EQ(viewer->DocWidth(), 300) << "a long page is laid out at the full width too";
    // Horizontal only: the page is as wide as the control, and only the width counts.
    viewer->SetScrollBars(TScrollStyle::ssHorizontal);
    viewer->LoadFromString(BoxPage(900, 5000));
    EXPECT_FALSE(VerticalShown());
    EXPECT_TRUE(HorizontalShown());
}

TEST_F(ViewerBarsTest, ShowVScrollKeepsTheBarAndItsRoom) {
    viewer->SethtOptions(htShowVScroll);
    viewer->LoadFromString(BoxPage(100, 50));
    EXPECT_TRUE(VerticalShown());
    EXPECT_FALSE(viewer->VScrollBar()->isEnabled()) << "nothing to scroll";
    EXPECT_EQ(SurfaceWidth(), 300 - bar);
    viewer->LoadFromString("<p>short");
    EXPECT_LE(viewer->DocWidth(), 300 - bar);
    viewer->LoadFromString(BoxPage(100, 1000));
    EXPECT_TRUE(viewer->VScrollBar()->isEnabled());
    // Switched off again, the bar goes with the room it took.
    viewer->SethtOptions(0);
    viewer->LoadFromString(BoxPage(100, 50));
    EXPECT_FALSE(VerticalShown());
    EXPECT_EQ(SurfaceWidth(), 300);
}

TEST_F(ViewerBarsTest, ALongSourceIsLaidOutOnceBesideTheBar) {
    const std::string filler = "<!--" + std::string(10000, '-') + "-->";
    int layouts = 0;
    viewer->OnProgress = [&](THTMLViewer*, TProgressStage, int) {};
    const int before = viewer->Document().layoutCycleCount;
    viewer->LoadFromString(filler + BoxPage(100, 50));
    layouts = viewer->Document().layoutCycleCount - before;
    EXPECT_EQ(layouts, 1);
    EXPECT_FALSE(VerticalShown()) << "the page is short after all";
    // A short source that needs the bar is laid out twice: without, then beside it.
    const int again = viewer->Document().layoutCycleCount;
    viewer->LoadFromString(BoxPage(100, 500));
    EXPECT_EQ(viewer->Document().layoutCycleCount - again, 2);
}

TEST_F(ViewerBarsTest, TheBorderTakesAPixelOnEachSide) {
    viewer->SetBorderStyle(THTMLBorderStyle::htSingle);
    viewer->LoadFromString(BoxPage(100, 50));
    EXPECT_EQ(viewer->PaintPanel()->pos(), QPoint(1, 1));
    EXPECT_EQ(SurfaceWidth(), 298);
    EXPECT_EQ(SurfaceHeight(), 198);
    EXPECT_TRUE(viewer->BorderPanel()->isVisibleTo(viewer.get()));
    // A change of style moves the page at once.
    viewer->SetBorderStyle(THTMLBorderStyle::htNone);
    EXPECT_EQ(viewer->PaintPanel()->pos(), QPoint(0, 0));
    EXPECT_EQ(SurfaceWidth(), 300);
    EXPECT_FALSE(viewer->BorderPanel()->isVisibleTo(viewer.get()));
    viewer->SetBorderStyle(THTMLBorderStyle::htSingle);
    EXPECT_EQ(viewer->PaintPanel()->pos(), QPoint(1, 1));
    EXPECT_EQ(SurfaceWidth(), 298);
}

TEST_F(ViewerTest, ScrollingStaysInsideThePage) {
    viewer->LoadFromString(TallPage(1000));
    const int last = viewer->DocHeight() - SurfaceHeight();
    ASSERT_GT(last, 0);
    viewer->ScrollToY(-50);
    EXPECT_EQ(viewer->VerticalOffset(), 0);
    viewer->ScrollToY(100000);
    EXPECT_EQ(viewer->VerticalOffset(), last);
    EXPECT_EQ(viewer->Document().scrollY, last);
    viewer->SetVerticalOffset(-1);
    EXPECT_EQ(viewer->VerticalOffset(), 0);
    viewer->SetVerticalOffset(123);
    EXPECT_EQ(viewer->Document().scrollY, 123);

    // The bar's own steps: 16 a line, the large change a page, the ends.
    QScrollBar* bar = viewer->VScrollBar();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(viewer->VerticalOffset(), 139);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(viewer->VerticalOffset(), std::max(0, 139 - (SurfaceHeight() - 16)));
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(viewer->VerticalOffset(), last);
    EXPECT_EQ(viewer->Document().scrollY, last);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(viewer->VerticalOffset(), 0);
    bar->setSliderPosition(77);
    EXPECT_EQ(viewer->Document().scrollY, 77) << "dragging the thumb scrolls as it goes";
}

TEST_F(ViewerTest, APageFarHigherThan32767PixelsScrollsToItsEnd) {
    viewer->LoadFromString(TallPage(100000));
    EXPECT_EQ(viewer->DocHeight(), 100000 + 0);
    viewer->VScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(viewer->VerticalOffset(), 100000 - SurfaceHeight());
    EXPECT_TRUE(viewer->ScrollToAnchor("b999"));
    EXPECT_EQ(viewer->VerticalOffset(), 100000 - SurfaceHeight());
    EXPECT_TRUE(viewer->ScrollToAnchor("b500"));
    EXPECT_EQ(viewer->VerticalOffset(), 50000);
    EXPECT_EQ(viewer->Document().scrollY, 50000);
}

TEST_F(ViewerTest, AZoomedPageTooHighForScreenPixelsStillScrollsToItsEnd) {
    viewer->LoadFromString(
        "<body style=\"margin:0\"><div style=\"height:8000000px;margin:0\"></div>");
    ASSERT_EQ(viewer->DocHeight(), 8000000);
    viewer->SetZoom(300);
    EXPECT_TRUE(viewer->VScrollBar()->isVisibleTo(viewer.get()));
    viewer->VScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(viewer->VerticalOffset(), 8000000 - viewer->PageHeight());
}

TEST_F(ViewerTest, APageStepInATinyViewerStillGoesDown) {
    viewer->resize(200, 10);
    viewer->LoadFromString(TallPage(1000));
    viewer->ScrollToY(500);
    viewer->VScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_GT(viewer->VerticalOffset(), 500);
}

TEST_F(ViewerTest, ClearShowsTheTopOfAnEmptyPage) {
    viewer->LoadFromString(TallPage(3000));
    viewer->ScrollToY(1000);
    viewer->Clear();
    EXPECT_EQ(viewer->VerticalOffset(), 0);
    EXPECT_EQ(viewer->Document().scrollY, 0) << "hit tests read the page from its top";
}

TEST_F(ViewerTest, ThePlaceSurvivesARelayoutAtAnotherWidth) {
    std::string html = "<html><body style=\"margin:0\">";
    for (int i = 0; i < 60; ++i)
        html += "<p id=p" + std::to_string(i) + ">Paragraph " + std::to_string(i) +
                " with words enough to fill a few lines when the view is narrow</p>";
    viewer->show();
    viewer->LoadFromString(html);
    ASSERT_TRUE(viewer->ScrollToAnchor("p30"));
    TIDObject* paragraph = viewer->Document().anchors->Find("P30");
    ASSERT_NE(paragraph, nullptr);
    const int wideY = paragraph->GetTopY();
    EXPECT_EQ(viewer->VerticalOffset(), wideY);

    viewer->resize(250, 300);  // narrower: every paragraph takes more lines
    const int narrowY = paragraph->GetTopY();
    EXPECT_GT(narrowY, wideY);
    EXPECT_EQ(viewer->VerticalOffset(), narrowY) << "the same paragraph stays at the top";

    // Read and written back, a position lands in the same place.
    viewer->ScrollToY(narrowY + 7);
    const std::int64_t position = viewer->LayoutPosition();
    viewer->ScrollToY(0);
    viewer->SetLayoutPosition(position);
    EXPECT_EQ(viewer->VerticalOffset(), narrowY + 7);
    // A position naming an item the page does not have changes nothing.
    viewer->SetLayoutPosition(std::int64_t(1000000) << 32);
    EXPECT_EQ(viewer->VerticalOffset(), narrowY + 7);
}

TEST_F(ViewerTest, ResizingBelowThePageShowsItsTop) {
    viewer->show();
    viewer->LoadFromString(TallPage(400));
    viewer->ScrollToY(150);
    viewer->resize(400, 600);
    EXPECT_EQ(viewer->VerticalOffset(), 0);
    EXPECT_FALSE(viewer->VScrollBar()->isVisibleTo(viewer.get()));
}

TEST_F(ViewerTest, ViewImagesRelaysOutInPlace) {
    Write("dot.bmp", kDotBmp);
    viewer->LoadFromFile(
        Write("page.htm", TallPage(3000, "<img src=dot.bmp>",
                                   "<style>body { background-image: url(dot.bmp) }</style>")));
    ASSERT_NE(viewer->Document().backgroundBitmap, nullptr);
    viewer->ScrollToY(1500);
    std::vector<bool> busy;
    viewer->OnProcessing = [&](THTMLViewer*, bool on) { busy.push_back(on); };
    viewer->SetViewImages(false);
    EXPECT_FALSE(viewer->ViewImages());
    EXPECT_FALSE(viewer->Document().showImages);
    EXPECT_EQ(busy, (std::vector<bool>{true, false}));
    EXPECT_EQ(viewer->VerticalOffset(), 1500);
    // Back on, the page's background picture is looked up again.
    viewer->Document().backgroundBitmap.reset();
    viewer->SetViewImages(true);
    EXPECT_NE(viewer->Document().backgroundBitmap, nullptr);
    EXPECT_EQ(viewer->VerticalOffset(), 1500);
    viewer->SetViewImages(true);
    EXPECT_EQ(busy.size(), 4u) << "setting the same value again does nothing";
}

class ViewerPaintTest : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        viewer->SetBorderStyle(THTMLBorderStyle::htNone);
        viewer->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer.get()));
    }
    QImage Grab() { return viewer->PaintPanel()->grab().toImage(); }
};

TEST_F(ViewerPaintTest, ALineScrollPaintsOnlyTheUncoveredStrip) {
    viewer->LoadFromString(TallPage(5000, "", "<style>div { background: #00ff00 }</style>"));
    QApplication::processEvents();
    const int before = viewer->PaintPanel()->paintCount();
    ASSERT_GT(before, 0);
    viewer->VScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QApplication::processEvents();
    EXPECT_EQ(viewer->PaintPanel()->paintCount(), before + 1);
    EXPECT_EQ(viewer->PaintPanel()->lastPaintRect(),
              QRect(0, SurfaceHeight() - 16, SurfaceWidth(), 16));
    EXPECT_EQ(viewer->VerticalOffset(), 16);
}

TEST_F(ViewerPaintTest, ThePageBackgroundPaintsUnderTheText) {
    viewer->LoadFromString("<body bgcolor=#123456><p>text");
    QApplication::processEvents();
    const QImage shot = Grab();
    EXPECT_EQ(shot.pixelColor(shot.width() - 2, shot.height() - 2), QColor(0x12, 0x34, 0x56));
    // A page without a colour of its own shows the viewer's.
    viewer->SetDefBackground(platform::RGBColor(0xF7, 0xF3, 0xEF));
    viewer->LoadFromString("<p>text");
    QApplication::processEvents();
    EXPECT_EQ(Grab().pixelColor(SurfaceWidth() - 2, SurfaceHeight() - 2), QColor(0xF7, 0xF3, 0xEF));
}

TEST_F(ViewerPaintTest, AFixedBackgroundStaysWhileTheTextScrolls) {
    // A 2 x 2 picture: red above, blue below, placed once at the top left and fixed.
    const std::string bmp(
        "BM\x46\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x02\0\0\0\x02\0\0\0\x01\0\x18\0\0\0\0\0\x10\0\0\0"
        "\0\0\0\0\0\0\0\0\0\0\0\0"
        "\0\0\0\0"
        "\xFF\0\0\xFF\0\0\0\0"   // bottom row: blue, blue
        "\0\0\xFF\0\0\xFF\0\0",  // top row: red, red
        70);
    Write("bg.bmp", bmp);
    const std::string page = Write(
        "fixed.htm",
        TallPage(3000, "", "<style>body { background: url(bg.bmp) no-repeat fixed; }</style>"));
    viewer->LoadFromFile(page);
    QApplication::processEvents();
    QImage shot = Grab();
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(shot.pixelColor(1, 1), QColor(0, 0, 255));
    EXPECT_TRUE(viewer->BackgroundFixed());
    const int before = viewer->PaintPanel()->paintCount();
    viewer->VScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QApplication::processEvents();
    EXPECT_EQ(viewer->PaintPanel()->lastPaintRect(), viewer->PaintPanel()->rect())
        << "a fixed background repaints the whole surface";
    EXPECT_GT(viewer->PaintPanel()->paintCount(), before);
    shot = Grab();
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(shot.pixelColor(1, 1), QColor(0, 0, 255));

    // Scrolling with the page, the picture leaves the top with it.
    viewer->LoadFromFile(
        Write("scrolls.htm",
              TallPage(3000, "", "<style>body { background: url(bg.bmp) no-repeat; }</style>")));
    QApplication::processEvents();
    EXPECT_FALSE(viewer->BackgroundFixed());
    EXPECT_EQ(Grab().pixelColor(0, 0), QColor(255, 0, 0));
    viewer->ScrollToY(1);
    QApplication::processEvents();
    EXPECT_EQ(Grab().pixelColor(0, 0), QColor(0, 0, 255));
}

TEST_F(ViewerPaintTest, NoBufferForAPaintIsReportedOnce) {
    viewer->LoadFromString("<p>text");
    QImage none;
    std::string message;
    try {
        viewer->PaintPanel()->PaintRect(QRect(0, 0, 10, 10), &none);
    } catch (const EOutOfResources& error) {
        message = error.message();
    }
    EXPECT_EQ(message, "Out of Resources");
    // An empty rectangle needs no buffer.
    EXPECT_NO_THROW(viewer->PaintPanel()->PaintRect(QRect(), &none));

    // Paints that cannot get their buffer say so once, after the paint, until one succeeds.
    TPaintPanel::SetBufferPixelLimit(4);
    viewer->PaintPanel()->repaint();
    viewer->PaintPanel()->repaint();
    QApplication::processEvents();
    ASSERT_EQ(recorded->messages.size(), 1u);
    EXPECT_EQ(recorded->messages[0].text, u"Out of Resources");
    EXPECT_EQ(recorded->messages[0].icon, platform::MessageIcon::Error);
    TPaintPanel::SetBufferPixelLimit(0);
    viewer->PaintPanel()->repaint();
    TPaintPanel::SetBufferPixelLimit(4);
    viewer->PaintPanel()->repaint();
    QApplication::processEvents();
    EXPECT_EQ(recorded->messages.size(), 2u) << "a good paint in between: said again";
    TPaintPanel::SetBufferPixelLimit(0);
}

TEST_F(ViewerPaintTest, TheBorderShowsWhileFocused) {
    viewer->SetBorderStyle(THTMLBorderStyle::htFocused);
    viewer->LoadFromString("<p>text");
    auto* frame = static_cast<QFrame*>(viewer->BorderPanel());
    viewer->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer.get()));
    viewer->clearFocus();
    QApplication::processEvents();
    EXPECT_EQ(frame->frameStyle(), int(QFrame::NoFrame));
    viewer->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(viewer->hasFocus());
    EXPECT_EQ(frame->frameStyle(), int(QFrame::Box | QFrame::Plain));
    viewer->clearFocus();
    QApplication::processEvents();
    EXPECT_FALSE(viewer->hasFocus());
    EXPECT_EQ(frame->frameStyle(), int(QFrame::NoFrame));
    viewer->SetBorderStyle(THTMLBorderStyle::htSingle);
    EXPECT_EQ(frame->frameStyle(), int(QFrame::Box | QFrame::Plain));
    viewer->SetBorderStyle(THTMLBorderStyle::htNone);
    EXPECT_EQ(frame->frameStyle(), int(QFrame::NoFrame));
}

TEST_F(ViewerPaintTest, ARepeatingPageBackgroundCoversAShortPageWindow) {
    Write("dot.bmp", kDotBmp);
    viewer->LoadFromFile(Write("short.htm", "<body background=dot.bmp bgcolor=#ffffff><p>short"));
    ASSERT_LT(viewer->DocHeight(), SurfaceHeight() / 2);
    viewer->PaintPanel()->repaint();
    const QImage shot = Grab();
    EXPECT_EQ(shot.pixelColor(5, shot.height() - 3), QColor(0, 0, 255))
        << "tiled below the text too";
    EXPECT_EQ(shot.pixelColor(shot.width() - 3, 2), QColor(0, 0, 255));
}

TEST_F(ViewerPaintTest, APagePictureWithoutRepeatShowsWholeBelowAShortPage) {
    Write("big.bmp", SolidBmp(100, 100, QColor(255, 0, 0)));
    for (const std::string repeat : {"no-repeat", "repeat-x"}) {
        viewer->LoadFromFile(
            Write(repeat + ".htm", "<style>body { background: #ffffff url(big.bmp) " + repeat +
                                       "; margin: 0 }</style>"
                                       "<body><p style=\"margin:0\">x"));
        ASSERT_LT(viewer->DocHeight(), 50) << repeat;
        viewer->PaintPanel()->repaint();
        const QImage shot = Grab();
        EXPECT_EQ(shot.pixelColor(50, 95), QColor(255, 0, 0)) << repeat << ": the picture's foot";
        EXPECT_EQ(shot.pixelColor(50, 105), QColor(255, 255, 255)) << repeat << ": below it";
        EXPECT_EQ(shot.pixelColor(150, 50),
                  repeat == "repeat-x" ? QColor(255, 0, 0) : QColor(255, 255, 255))
            << repeat;
    }
}

TEST_F(ViewerPaintTest, LineKeysPaintAStripOtherKeysTheWholeView) {
    viewer->LoadFromString(TallPage(5000));
    QApplication::processEvents();
    QTest::keyClick(viewer.get(), Qt::Key_Down);
    QApplication::processEvents();
    EXPECT_EQ(viewer->PaintPanel()->lastPaintRect(),
              QRect(0, SurfaceHeight() - 16, SurfaceWidth(), 16));
    QTest::keyClick(viewer.get(), Qt::Key_Up);
    QApplication::processEvents();
    EXPECT_EQ(viewer->PaintPanel()->lastPaintRect(), QRect(0, 0, SurfaceWidth(), 16));
    QTest::keyClick(viewer.get(), Qt::Key_PageDown);
    QApplication::processEvents();
    EXPECT_EQ(viewer->PaintPanel()->lastPaintRect(), viewer->PaintPanel()->rect());
}

TEST_F(ViewerBarsTest, TheHorizontalBarStepsAndStaysInsideThePage) {
    viewer->LoadFromString(BoxPage(1000, 100));
    ASSERT_TRUE(HorizontalShown());
    QScrollBar* bar = viewer->HScrollBar();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(viewer->HScrollBar()->Position(), 15);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(viewer->HScrollBar()->Position(), 15 + 300 - 20);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(viewer->HScrollBar()->Position(), 1000 - SurfaceWidth());
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(viewer->HScrollBar()->Position(), 0);
    // Zoomed, a page step is the view's width in page pixels, less 20.
    viewer->SetZoom(200);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(viewer->HScrollBar()->Position(), viewer->PageWidth() - 20);
}

TEST_F(ViewerTest, AnItemTallerThan65535PixelsKeepsThePlaceInsideIt) {
    viewer->show();
    viewer->LoadFromString(
        "<html><body style=\"margin:0\"><img src=none width=10 height=90000 border=0 "
        "style=\"margin:0\"><p>after");
    viewer->ScrollToY(70000);
    const std::int64_t position = viewer->LayoutPosition();
    viewer->resize(300, 300);
    viewer->SetLayoutPosition(position);
    EXPECT_EQ(viewer->VerticalOffset(), 70000);
}
