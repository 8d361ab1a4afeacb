// The viewer under the mouse and the keyboard: links followed and covered, selections by
// dragging and double clicks, the automatic scroll, the middle-button mode, the keys, the
// wheel, Tab through links, and the clipboard.

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>
#include <QWheelEvent>

#include <vector>

#include "layout/FontObj.h"
#include "layout/PanelObj.h"
#include "platform/qt/QtDialogs.h"
#include "tests/viewer/ViewerTestSupport.h"
#include "viewer/Cursors.h"

namespace {

// Waits for at least `ms` while events are handled.
void Wait(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        QTest::qSleep(5);
    }
}

}  // namespace

class ViewerInputTest : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        viewer->SetBorderStyle(THTMLBorderStyle::htNone);
        viewer->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer.get()));
    }

    // Loads a page and paints it, so hit tests know where everything was drawn.
    void Show(const std::string& html, const std::string& name = "page.htm") {
        viewer->LoadFromFile(Write(name, html));
        viewer->PaintPanel()->repaint();
    }

    QWidget* Surface() { return viewer->PaintPanel(); }

    // The first cursor position of `text` in the page.
    int PositionOf(const std::u16string& text) {
        return viewer->Document().SearchForward(0, text, true);
    }

    // A point on the paint surface inside the character at a cursor position.
    QPoint At(int position) {
        int x = 0, y = 0;
        EXPECT_TRUE(
            viewer->Document().PointOfCursor(&platform::Screen().measuringCanvas(), position, x, y))
            << "position " << position;
        return {x + 1, y - viewer->Document().scrollY + 3};
    }
    QPoint At(const std::u16string& text) { return At(PositionOf(text)); }

    void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers keys = {}) {
        QTest::mouseClick(Surface(), button, keys, at);
    }
    // A double click as the mouse gives it: press, release, the second press reported as a
    // double click, release.
    void DoubleClick(QPoint at) {
        QTest::mousePress(Surface(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(Surface(), Qt::LeftButton, {}, at);
        QMouseEvent second(QEvent::MouseButtonDblClick, at, Surface()->mapToGlobal(at),
                           Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Surface(), &second);
        QTest::mouseRelease(Surface(), Qt::LeftButton, {}, at);
    }
};

TEST_F(ViewerInputTest, AClickOnALinkRaisesOneHotSpotClick) {
    Write("other.htm", "<p>other page");
    Show("<p>Read <a href=other.htm>the other page</a> now.");
    std::vector<std::string> clicks;
    viewer->OnHotSpotClick = [&](THTMLViewer* sender, const std::string& src, bool& handled) {
        EXPECT_FALSE(handled);
        EXPECT_EQ(sender, viewer.get());
        clicks.push_back(src);
        handled = true;
    };
    Click(At(u"other"));
    EXPECT_EQ(clicks, (std::vector<std::string>{"other.htm"}));
    EXPECT_EQ(viewer->CurrentFile(), (folder / "page.htm").string())
        << "handled: the viewer follows nothing";
    // A click on plain text is no link click.
    Click(At(u"Read"));
    EXPECT_EQ(clicks.size(), 1u);
    // Not handled, the viewer follows the link itself.
    viewer->OnHotSpotClick = nullptr;
    Click(At(u"other"));
    EXPECT_EQ(viewer->CurrentFile(), (folder / "other.htm").string());
}

TEST_F(ViewerInputTest, ADragReleasedOverALinkFollowsNothing) {
    Show("<p>Read <a href=other.htm>the other page</a> now.");
    int clicks = 0;
    viewer->OnHotSpotClick = [&](THTMLViewer*, const std::string&, bool&) { ++clicks; };
    QTest::mousePress(Surface(), Qt::LeftButton, {}, At(u"Read"));
    QTest::mouseMove(Surface(), At(u"other"));
    QTest::mouseRelease(Surface(), Qt::LeftButton, {}, At(u"other"));
    EXPECT_EQ(clicks, 0);
    EXPECT_GT(viewer->SelLength(), 0);
    EXPECT_EQ(viewer->SelText().substr(0, 4), u"Read");
}

TEST_F(ViewerInputTest, ASelectionMadeRightToLeftReadsNegativeAndRestores) {
    Show("<p>alpha beta gamma delta");
    QTest::mousePress(Surface(), Qt::LeftButton, {}, At(u"delta"));
    QTest::mouseMove(Surface(), At(u"beta"));
    QTest::mouseRelease(Surface(), Qt::LeftButton, {}, At(u"beta"));
    const int start = viewer->SelStart(), length = viewer->SelLength();
    EXPECT_EQ(start, PositionOf(u"delta")) << "the caret stays where the drag began";
    EXPECT_EQ(length, -(PositionOf(u"delta") - PositionOf(u"beta")));
    EXPECT_EQ(viewer->SelText(), u"beta gamma ");
    const int begin = viewer->Document().selStart, end = viewer->Document().selEnd;
    viewer->SetSelStart(0);
    EXPECT_EQ(viewer->SelLength(), 0);
    viewer->SetSelStart(start);
    viewer->SetSelLength(length);
    EXPECT_EQ(viewer->Document().selStart, begin);
    EXPECT_EQ(viewer->Document().selEnd, end);
    // Shift extends from the caret.
    Click(At(u"alpha"), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(viewer->Document().selStart, PositionOf(u"alpha"));
    EXPECT_EQ(viewer->Document().selEnd, PositionOf(u"delta"));
    // Left to right reads positive.
    QTest::mousePress(Surface(), Qt::LeftButton, {}, At(u"alpha"));
    QTest::mouseMove(Surface(), At(u"gamma"));
    QTest::mouseRelease(Surface(), Qt::LeftButton, {}, At(u"gamma"));
    EXPECT_EQ(viewer->SelStart(), PositionOf(u"alpha"));
    EXPECT_EQ(viewer->SelLength(), PositionOf(u"gamma") - PositionOf(u"alpha"));
}

TEST_F(ViewerInputTest, NothingSelectedCopiesNothing) {
    auto previous = platform::InstallDialogs(std::make_unique<platform::QtDialogs>());
    QGuiApplication::clipboard()->setText("kept");
    Show("<p>Some text to copy, with a <b>bold</b> word.");
    EXPECT_EQ(viewer->SelText(), u"");
    viewer->CopyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
    viewer->SelectAll();
    viewer->CopyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Some text to copy, with a bold word.");
    EXPECT_EQ(viewer->SelText(), u"Some text to copy, with a bold word.");
    platform::InstallDialogs(std::move(previous));
}

TEST_F(ViewerInputTest, NoSelectKeepsEverythingUnselected) {
    Show("<p>alpha beta gamma");
    viewer->SetNoSelect(true);
    viewer->SelectAll();
    EXPECT_EQ(viewer->SelText(), u"");
    QTest::mousePress(Surface(), Qt::LeftButton, {}, At(u"alpha"));
    QTest::mouseMove(Surface(), At(u"gamma"));
    QTest::mouseRelease(Surface(), Qt::LeftButton, {}, At(u"gamma"));
    EXPECT_EQ(viewer->SelText(), u"");
    DoubleClick(At(u"beta"));
    EXPECT_EQ(viewer->SelText(), u"");
    EXPECT_EQ(viewer->Document().selStart, -1);
}

TEST_F(ViewerInputTest, LinksAreFollowedByTheirExtensions) {
    Write("pic.PnG", kDotBmp);
    Write("notes.txt", "text");
    Write("long.HTMLX", "<p>long extension");
    Show(
        "<p><a href=pic.PnG>picture</a> <a href=notes.txt>notes</a> <a href=long.HTMLX>long</a> "
        "<a href=nothing.htm>nothing</a>");
    Click(At(u"notes"));
    EXPECT_EQ(viewer->CurrentFile(), (folder / "page.htm").string()) << "a .txt link does nothing";
    Click(At(u"picture"));
    EXPECT_EQ(viewer->CurrentFile(), (folder / "pic.PnG").string());
    EXPECT_EQ(viewer->CurrentFileKind(), 2);
    Show("<p><a href=long.HTMLX>long</a> <a href=nothing.htm>nothing</a>");
    Click(At(u"long"));
    EXPECT_EQ(viewer->CurrentFile(), (folder / "long.HTMLX").string())
        << "its first five characters say HTML";
    EXPECT_EQ(viewer->CurrentFileKind(), 0);
    // A link to a file that is not there is reported, and the page stays.
    Show("<p><a href=nothing.htm>nothing</a>");
    Click(At(u"nothing"));
    ASSERT_EQ(recorded->messages.size(), 1u);
    EXPECT_EQ(viewer->CurrentFile(), (folder / "page.htm").string());
}

TEST_F(ViewerInputTest, AnchorLinksScrollTheSamePage) {
    viewer->SetHistoryMaxCount(5);
    Show(TallPage(3000, "<a href=#b20>down</a> <a href=page.htm#b25>self</a>"));
    Click(At(u"down"));
    EXPECT_EQ(viewer->VerticalOffset(), viewer->Document().anchors->Find("B20")->GetTopY());
    EXPECT_EQ(viewer->HistoryFiles.size(), 2u) << "the jump is a step of the history";
    EXPECT_EQ(viewer->VisitedList.at(0), (folder / "page.htm").string() + "#b20");
    viewer->ScrollToY(0);
    viewer->PaintPanel()->repaint();
    Click(At(u"self"));
    EXPECT_EQ(viewer->VerticalOffset(), viewer->Document().anchors->Find("B25")->GetTopY());
}

TEST_F(ViewerInputTest, DoubleClicksSelectWholeWords) {
    Show("<p>Filha de Concei\xE7\xE3o, ele (dizem) viveu.");
    std::vector<int> doubles;
    viewer->OnMouseDouble = [&](THTMLViewer*, Qt::MouseButton, Qt::KeyboardModifiers, int x, int) {
        doubles.push_back(x);
    };
    DoubleClick(At(u"ei\u00E7\u00E3o"));
    EXPECT_EQ(viewer->SelText(), u"Concei\u00E7\u00E3o");
    EXPECT_EQ(viewer->CaretIndex(), PositionOf(u"Concei"));
    viewer->SetSelStart(0);
    DoubleClick(At(u"(dizem"));
    EXPECT_EQ(viewer->SelText(), u"") << "a bracket is no word";
    DoubleClick(At(u", ele"));
    EXPECT_EQ(viewer->SelText(), u"");
    DoubleClick(At(u"izem"));
    EXPECT_EQ(viewer->SelText(), u"dizem");
    EXPECT_EQ(doubles.size(), 4u);
}

TEST_F(ViewerInputTest, CoveringAndLeavingLinks) {
    Show("<p>Plain <a href=other.htm>a link</a> plain again.");
    std::vector<std::string> covered;
    viewer->OnHotSpotCovered = [&](THTMLViewer*, const std::string& src) {
        covered.push_back(src);
    };
    QTest::mouseMove(Surface(), At(u"link"));
    EXPECT_EQ(covered, (std::vector<std::string>{"other.htm"}));
    EXPECT_EQ(viewer->LinkUnderMouse(), "other.htm");
    EXPECT_EQ(Surface()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(viewer->LeaveTimer()->isActive());
    QTest::mouseMove(Surface(), At(u"again"));
    EXPECT_EQ(covered, (std::vector<std::string>{"other.htm", ""}));
    EXPECT_NE(Surface()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_FALSE(viewer->LeaveTimer()->isActive());

    // Out of the control: the leave timer notices within its 200 ms.
    QTest::mouseMove(Surface(), At(u"link"));
    ASSERT_EQ(covered.size(), 3u);
    QCursor::setPos(viewer->mapToGlobal(QPoint(-50, -50)));
    Wait(450);
    EXPECT_EQ(covered, (std::vector<std::string>{"other.htm", "", "other.htm", ""}));
    EXPECT_EQ(viewer->LinkUnderMouse(), "");
}

TEST_F(ViewerInputTest, OverTextTheTextCursorShows) {
    Show("<p>Some text here");
    QTest::mouseMove(Surface(), At(u"text"));
    EXPECT_EQ(Surface()->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(Surface()->cursor().pixmap().cacheKey(), viewer->cursor().pixmap().cacheKey());
    QTest::mouseMove(Surface(), QPoint(390, 280));
    EXPECT_EQ(Surface()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ViewerInputTest, OneWheelNotchAtThreeLinesIs48Pixels) {
    const int lines = QApplication::wheelScrollLines();
    QApplication::setWheelScrollLines(3);
    Show(TallPage(3000));
    const QPoint at(50, 50);
    QWheelEvent down(at, Surface()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewer.get(), &down);
    EXPECT_EQ(viewer->VerticalOffset(), 48);
    QWheelEvent up(at, Surface()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewer.get(), &up);
    QApplication::sendEvent(viewer.get(), &up);
    EXPECT_EQ(viewer->VerticalOffset(), 0);
    // A handler that takes the wheel keeps the page still.
    viewer->OnMouseWheel = [](THTMLViewer*, Qt::KeyboardModifiers, int, int, int, bool& handled) {
        handled = true;
    };
    QApplication::sendEvent(viewer.get(), &down);
    EXPECT_EQ(viewer->VerticalOffset(), 0);
    QApplication::setWheelScrollLines(lines);
}

TEST_F(ViewerInputTest, KeysScrollThePage) {
    Show(TallPage(3000) + "<img src=none width=900 height=10 border=0>");
    const int page = SurfaceHeight() - 16;
    QTest::keyClick(viewer.get(), Qt::Key_Down);
    EXPECT_EQ(viewer->VerticalOffset(), 16);
    QTest::keyClick(viewer.get(), Qt::Key_PageDown);
    EXPECT_EQ(viewer->VerticalOffset(), 16 + page);
    QTest::keyClick(viewer.get(), Qt::Key_Up);
    EXPECT_EQ(viewer->VerticalOffset(), page);
    QTest::keyClick(viewer.get(), Qt::Key_End);
    EXPECT_EQ(viewer->VerticalOffset(), viewer->DocHeight() - SurfaceHeight());
    QTest::keyClick(viewer.get(), Qt::Key_PageDown);
    EXPECT_EQ(viewer->VerticalOffset(), viewer->DocHeight() - SurfaceHeight());
    QTest::keyClick(viewer.get(), Qt::Key_Home);
    EXPECT_EQ(viewer->VerticalOffset(), 0);
    QTest::keyClick(viewer.get(), Qt::Key_PageUp);
    EXPECT_EQ(viewer->VerticalOffset(), 0);
    QTest::keyClick(viewer.get(), Qt::Key_Right);
    EXPECT_EQ(viewer->HScrollBar()->Position(), 15);
    QTest::keyClick(viewer.get(), Qt::Key_Left);
    QTest::keyClick(viewer.get(), Qt::Key_Left);
    EXPECT_EQ(viewer->HScrollBar()->Position(), 0);
}

TEST_F(ViewerInputTest, DraggingBelowTheControlScrollsAndSelects) {
    std::string html = "<html><body style=\"margin:0\">";
    for (int i = 0; i < 200; ++i)
        html += "<p>Line number " + std::to_string(i) + " of the page</p>";
    Show(html);
    QTest::mousePress(Surface(), Qt::LeftButton, {}, At(u"Line number 1 "));
    // Far below the control: steps of 128 at most every 100 ms.
    QTest::mouseMove(Surface(), QPoint(40, viewer->height() + 40));
    Wait(350);
    const int scrolled = viewer->VerticalOffset();
    EXPECT_TRUE(viewer->AutoScrolling());
    EXPECT_GE(scrolled, 128 * 2);
    EXPECT_LE(scrolled, 128 * 5);
    EXPECT_EQ(scrolled % 128, 0);
    EXPECT_GT(viewer->SelLength(), 0);
    const int length = viewer->SelLength();
    QTest::mouseRelease(Surface(), Qt::LeftButton, {}, QPoint(40, viewer->height() + 40));
    EXPECT_FALSE(viewer->AutoScrolling());
    Wait(250);
    EXPECT_EQ(viewer->VerticalOffset(), scrolled) << "the release ends the scroll";
    EXPECT_GE(viewer->SelLength(), length);
    // Just above the top: 16 a step, back up.
    QTest::mousePress(Surface(), Qt::LeftButton, {}, QPoint(40, 40));
    QTest::mouseMove(Surface(), QPoint(40, -5));
    Wait(250);
    EXPECT_LT(viewer->VerticalOffset(), scrolled);
    EXPECT_EQ((scrolled - viewer->VerticalOffset()) % 16, 0);
    QTest::mouseRelease(Surface(), Qt::LeftButton, {}, QPoint(40, -5));
}

TEST_F(ViewerInputTest, TheMiddleButtonScrollsByDistance) {
    Show(TallPage(5000));
    QTest::mousePress(Surface(), Qt::MiddleButton, {}, QPoint(100, 100));
    QTest::mouseRelease(Surface(), Qt::MiddleButton, {}, QPoint(100, 100));
    EXPECT_TRUE(viewer->MiddleScrollMode()) << "a click without moving keeps the mode on";
    EXPECT_EQ(Surface()->cursor().pixmap().toImage(), UpDownCursor().pixmap().toImage());
    QTest::mouseMove(Surface(), QPoint(100, 110));
    Wait(150);
    EXPECT_EQ(viewer->VerticalOffset(), 0) << "within 20 pixels nothing moves";
    QTest::mouseMove(Surface(), QPoint(100, 175));
    Wait(350);
    const int far = viewer->VerticalOffset();
    EXPECT_GE(far, 64);
    EXPECT_EQ(far % 32, 0);
    QTest::mouseMove(Surface(), QPoint(100, 70));
    Wait(250);
    EXPECT_LT(viewer->VerticalOffset(), far);
    EXPECT_EQ((far - viewer->VerticalOffset()) % 8, 0);
    // Any press ends the mode.
    QTest::mousePress(Surface(), Qt::LeftButton, {}, QPoint(100, 70));
    EXPECT_FALSE(viewer->MiddleScrollMode());
    QTest::mouseRelease(Surface(), Qt::LeftButton, {}, QPoint(100, 70));
    const int stopped = viewer->VerticalOffset();
    Wait(250);
    EXPECT_EQ(viewer->VerticalOffset(), stopped);
    // A key ends it too.
    QTest::mousePress(Surface(), Qt::MiddleButton, {}, QPoint(100, 100));
    QTest::keyClick(viewer.get(), Qt::Key_A);
    EXPECT_FALSE(viewer->MiddleScrollMode());
}

TEST_F(ViewerInputTest, TabReachesLinksAndEnterFollowsThem) {
    Write("first.htm", "<p>first");
    Write("second.htm", "<p>second");
    Show(TallPage(1500, "<a href=first.htm>first link</a>") +
         "<p><a href=second.htm>second link</a>");
    std::vector<std::string> clicks;
    viewer->OnHotSpotClick = [&](THTMLViewer*, const std::string& src, bool& handled) {
        clicks.push_back(src);
        handled = true;
    };
    std::vector<TFontObj*> stops;
    for (TFontObj* run : viewer->Document().linkRuns)
        if (run->TabStop()) stops.push_back(run);
    ASSERT_EQ(stops.size(), 2u);
    viewer->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer.get()));
    viewer->setFocus();
    QTest::keyClick(viewer.get(), Qt::Key_Tab);
    EXPECT_TRUE(stops[0]->TabStop()->hasFocus());
    EXPECT_TRUE(stops[0]->hasFocus);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(stops[1]->TabStop()->hasFocus());
    EXPECT_FALSE(stops[0]->hasFocus);
    EXPECT_GT(viewer->VerticalOffset(), 0) << "the focused link is scrolled into view";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(clicks.empty()) << "followed once the key has been handled";
    QApplication::processEvents();
    EXPECT_EQ(clicks, (std::vector<std::string>{"second.htm"}));
    // Keys other than Enter still scroll the page.
    const int offset = viewer->VerticalOffset();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(viewer->VerticalOffset(), offset - 16);
}

TEST_F(ViewerInputTest, RightClicksTellWhatIsUnderTheMouse) {
    Show("<p>Plain words <a href=other.htm target=_top>linked words</a>.");
    std::vector<TRightClickParameters> clicks;
    viewer->OnRightClick = [&](THTMLViewer*, TRightClickParameters& parameters) {
        EXPECT_FALSE(viewer->LeaveTimer()->isActive());
        clicks.push_back(parameters);
    };
    Click(At(u"ords linked"), Qt::RightButton);
    Click(At(u"linked"), Qt::RightButton);
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0].WordAtMouse, u"words");
    EXPECT_EQ(clicks[0].LinkURL, "");
    EXPECT_EQ(clicks[1].WordAtMouse, u"linked");
    EXPECT_EQ(clicks[1].LinkURL, "other.htm");
    EXPECT_EQ(clicks[1].LinkTarget, "_top");
    EXPECT_EQ(clicks[1].ImageObj, nullptr);
    EXPECT_TRUE(viewer->LeaveTimer()->isActive());
}

TEST_F(ViewerInputTest, PicturesReportMovesAndClicks) {
    Write("dot.bmp", kDotBmp);
    Show("<p>Before <img src=dot.bmp width=40 height=30 border=0> after.");
    std::vector<std::pair<int, int>> overs, clicks;
    viewer->OnImageOver = [&](THTMLViewer*, TFloatingObj* obj, Qt::KeyboardModifiers, int x,
                              int y) {
        EXPECT_NE(obj, nullptr);
        overs.emplace_back(x, y);
    };
    viewer->OnImageClick = [&](THTMLViewer*, TFloatingObj*, Qt::MouseButton, Qt::KeyboardModifiers,
                               int x, int y) { clicks.emplace_back(x, y); };
    const int image = PositionOf(u" after") - 1;
    int x = 0, y = 0;
    viewer->Document().PointOfCursor(&platform::Screen().measuringCanvas(), image, x, y);
    TFloatingObj* object = nullptr;
    int ix = 0, iy = 0;
    // Find the picture's top left corner through the document's own hit test.
    int px = x, py = y;
    for (py = y; py < y + 60 && !viewer->Document().HitTestImage(px + 5, py, object, ix, iy);
         ++py) {
    }
    ASSERT_NE(object, nullptr);
    const QPoint inside(px + 5 + 10 - ix, py - iy + 12);
    QTest::mouseMove(Surface(), inside);
    QTest::mouseClick(Surface(), Qt::LeftButton, {}, inside);
    ASSERT_FALSE(overs.empty());
    EXPECT_EQ(overs.back(), std::make_pair(10, 12));
    EXPECT_EQ(clicks, (std::vector<std::pair<int, int>>{{10, 12}}));
}

// ---- What a review found ----

TEST_F(ViewerInputTest, AHandlerThatShowsAnotherPageEndsTheClick) {
    // A picture on the first page; a linked picture in the same place on the next.
    Write("dot.bmp", kDotBmp);
    const std::string picture = "<img src=dot.bmp width=100 height=100 border=0>";
    const std::string next =
        Write("next.htm", "<body style=margin:0><a href=third.htm>" + picture + "</a>");
    Write("third.htm", "<p>third");
    const std::string first = Write("first.htm", "<body style=margin:0>" + picture);
    const auto showNext = [&](THTMLViewer* sender) {
        if (sender->CurrentFile() == first) sender->LoadFromFile(next);
    };
    // One click on the first page shows the next one, and nothing more.
    const auto clickOnFirst = [&](Qt::MouseButton button) {
        viewer->LoadFromFile(first);
        viewer->PaintPanel()->repaint();
        Click(QPoint(10, 10), button);
        return fs::path(viewer->CurrentFile()).filename().string();
    };
    int rightClicks = 0;
    viewer->OnRightClick = [&](THTMLViewer*, TRightClickParameters&) { ++rightClicks; };
    viewer->OnImageClick = [&](THTMLViewer* sender, TFloatingObj*, Qt::MouseButton,
                               Qt::KeyboardModifiers, int, int) { showNext(sender); };
    EXPECT_EQ(clickOnFirst(Qt::LeftButton), "next.htm") << "from the picture's click";
    EXPECT_EQ(clickOnFirst(Qt::RightButton), "next.htm") << "from the picture's right click";
    EXPECT_EQ(rightClicks, 0) << "the picture right-clicked has gone with its page";
    viewer->OnImageClick = nullptr;
    viewer->OnMouseUp = [&](THTMLViewer* sender, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
        showNext(sender);
    };
    EXPECT_EQ(clickOnFirst(Qt::LeftButton), "next.htm") << "from the release";
    viewer->OnMouseUp = nullptr;
    viewer->OnMouseDown = [&](THTMLViewer* sender, Qt::MouseButton, Qt::KeyboardModifiers, int,
                              int) { showNext(sender); };
    EXPECT_EQ(clickOnFirst(Qt::LeftButton), "next.htm") << "from the press";
    // Such a press still ends the middle-button mode.
    viewer->OnMouseDown = [&](THTMLViewer* sender, Qt::MouseButton button, Qt::KeyboardModifiers,
                              int, int) {
        if (button == Qt::LeftButton) showNext(sender);
    };
    viewer->LoadFromFile(first);
    QTest::mousePress(Surface(), Qt::MiddleButton, {}, QPoint(10, 10));
    QTest::mouseRelease(Surface(), Qt::MiddleButton, {}, QPoint(10, 10));
    ASSERT_TRUE(viewer->MiddleScrollMode());
    QTest::mousePress(Surface(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(viewer->MiddleScrollMode());
    QTest::mouseRelease(Surface(), Qt::LeftButton, {}, QPoint(10, 10));
}

TEST_F(ViewerInputTest, EnterOnALinkFollowsThatLinkWhateverTheMouseDoesMeanwhile) {
    Show("<p><a href=a.htm>first link</a> and plain text");
    std::vector<std::string> clicks;
    viewer->OnHotSpotClick = [&](THTMLViewer*, const std::string& src, bool& handled) {
        clicks.push_back(src);
        handled = true;
    };
    viewer->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer.get()));
    viewer->setFocus();
    QTest::keyClick(viewer.get(), Qt::Key_Tab);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(QApplication::focusWidget(), &enter);
    // The mouse moves onto empty space before the follow runs.
    const QPointF away(390, 290);
    QMouseEvent move(QEvent::MouseMove, away, Surface()->mapToGlobal(away), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(Surface(), &move);
    QApplication::processEvents();
    EXPECT_EQ(clicks, (std::vector<std::string>{"a.htm"}));
}

TEST_F(ViewerInputTest, KeysReachTheViewerOnceWhileALinkHasTheFocus) {
    Show("<p><a href=a.htm>first link</a>");
    int downs = 0, presses = 0, ups = 0;
    viewer->OnKeyDown = [&](THTMLViewer*, int&, Qt::KeyboardModifiers) { ++downs; };
    viewer->OnKeyPress = [&](THTMLViewer*, char16_t&) { ++presses; };
    viewer->OnKeyUp = [&](THTMLViewer*, int&, Qt::KeyboardModifiers) { ++ups; };
    viewer->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer.get()));
    viewer->setFocus();
    QTest::keyClick(viewer.get(), Qt::Key_Tab);
    downs = presses = ups = 0;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(ups, 1);
}

TEST_F(ViewerInputTest, AQuickSecondMiddleClickEndsTheScrollMode) {
    Show(TallPage(2000));
    QTest::mousePress(Surface(), Qt::MiddleButton, {}, QPoint(100, 100));
    QTest::mouseRelease(Surface(), Qt::MiddleButton, {}, QPoint(100, 100));
    ASSERT_TRUE(viewer->MiddleScrollMode());
    // Qt reports the second press as a double click.
    QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(100, 100),
                      Surface()->mapToGlobal(QPointF(100, 100)), Qt::MiddleButton, Qt::MiddleButton,
                      Qt::NoModifier);
    QApplication::sendEvent(Surface(), &twice);
    EXPECT_FALSE(viewer->MiddleScrollMode());
}

TEST_F(ViewerInputTest, ALineScrollKeepsEmbeddedPanelsInView) {
    Show(
        "<body style=\"margin:0\"><div style=\"height:100px;margin:0\"></div><panel name=p "
        "width=50 height=50>"
        "<div style=\"height:3000px;margin:0\"></div>");
    ASSERT_EQ(viewer->Document().panels.size(), 1u);
    const platform::PanelWindow& panel = viewer->Document().panels[0]->Panel();
    ASSERT_TRUE(panel.isVisible());
    viewer->VScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QApplication::processEvents();
    EXPECT_EQ(viewer->PaintPanel()->lastPaintRect().height(), 16) << "still a strip";
    EXPECT_TRUE(panel.isVisible());
    // Scrolled far away, the panel goes.
    viewer->ScrollToY(2000);
    QApplication::processEvents();
    EXPECT_FALSE(panel.isVisible());
}

TEST_F(ViewerInputTest, AfterAHorizontalScrollTheLinkUnderThePointerIsTheOneDrawnThere) {
    // A picture 1500 wide ahead of each link pushes it past the window; one link in plain
    // text, one in a table cell.
    Show(
        "<body style=\"margin:0\"><p style=\"margin:0\"><nobr><img src=none.gif width=1500 "
        "height=20><a href=text.htm>text link</a></nobr>"
        "<table cellspacing=0 cellpadding=0 border=0><tr><td><img src=none.gif width=1500 "
        "height=20><td nowrap><a href=cell.htm>cell link</a></table>");
    ASSERT_GT(viewer->HScrollBar()->Max(), 1500);
    viewer->HScrollBar()->SetPosition(1400);
    const int scrolled = viewer->HScrollBar()->Position();  // as far as the bar goes
    ASSERT_GT(scrolled, 1000);
    viewer->PaintPanel()->repaint();
    for (int row : {0, 1}) {
        SCOPED_TRACE(row ? "in a table cell" : "in plain text");
        const int y = 20 * row + 10;
        QTest::mouseMove(Surface(), QPoint(1500 - scrolled + 10, y));
        EXPECT_EQ(viewer->LinkUnderMouse(), row ? "cell.htm" : "text.htm");
        QTest::mouseMove(Surface(), QPoint(1500 - scrolled - 30, y));
        EXPECT_EQ(viewer->LinkUnderMouse(), "") << "over the picture, left of the link";
    }
}
