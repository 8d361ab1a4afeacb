// Pages with forms in a real viewer: the user types into the page's own widgets, clicks
// them, submits, goes back and forward, scrolls and zooms, and the controls stay usable
// and where the page draws them.

#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "layout/FormControls.h"
#include "layout/ImageObj.h"
#include "platform/qt/QtFormControlWindow.h"
#include "tests/viewer/ViewerTestSupport.h"
#include "viewer/Cursors.h"

namespace {

struct Submitted {
    std::string action;
    std::vector<std::string> pairs;
};

class ViewerFormPageTest : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        viewer->OnFormSubmit = [this](THTMLViewer*, const std::string& action, const std::string&,
                                      const std::string&, const std::string&,
                                      const platform::StringList& results) {
            submitted.push_back({action, results.lines()});
        };
        viewer->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer.get()));
    }

    void Show(const std::string& html) {
        viewer->LoadFromString(html);
        Paint();
    }
    // What a paint event does, now.
    void Paint() {
        viewer->PaintPanel()->repaint();
        QApplication::processEvents();
    }
    template <typename W>
    W* Widget(std::size_t index = 0) {
        const auto& controls = viewer->Document().allControls;
        std::size_t seen = 0;
        for (TFormControlObj* control : controls) {
            auto* window = dynamic_cast<platform::QtFormControlWindow*>(control->PlatformControl());
            if (!window) continue;
            if (auto* widget = qobject_cast<W*>(window->widget()); widget && seen++ == index)
                return widget;
        }
        return nullptr;
    }
    // Every shown control's place, in the order of the page.
    std::vector<QRect> Places() {
        std::vector<QRect> places;
        for (TFormControlObj* control : viewer->Document().allControls) {
            auto* window = dynamic_cast<platform::QtFormControlWindow*>(control->PlatformControl());
            if (window && window->isVisible()) places.push_back(window->widget()->geometry());
        }
        return places;
    }
    // Where a page painted from scratch puts them.
    std::vector<QRect> PlacesPaintedAfresh() {
        viewer->Repaint();
        Paint();
        return Places();
    }

    std::vector<Submitted> submitted;
};

TEST_F(ViewerFormPageTest, WhatTheUserTypesIsSubmittedByEnterOrTheButton) {
    Show(
        "<form action=\"busca.htm\"><input name=nome> <textarea name=obs></textarea>"
        "<input type=submit name=ir value=Ir></form>");
    QLineEdit* edit = Widget<QLineEdit>();
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->isVisible());
    EXPECT_EQ(edit->parentWidget(), viewer->PaintPanel());
    edit->setFocus();
    QTest::keyClicks(edit, "Anita Garibaldi");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(submitted.empty()) << "raised after the key, not inside it";
    QApplication::processEvents();
    ASSERT_EQ(submitted.size(), 1u);
    EXPECT_EQ(submitted[0].action, "busca.htm");
    EXPECT_EQ(submitted[0].pairs, (std::vector<std::string>{"nome=Anita Garibaldi", "obs="}));

    auto* memo = Widget<QPlainTextEdit>();
    ASSERT_NE(memo, nullptr);
    QTest::keyClicks(memo, "linha");
    QTest::keyClick(memo, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(submitted.size(), 1u) << "Enter in a text area submits nothing";

    QPushButton* button = Widget<QPushButton>();
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(submitted.size(), 2u);
    EXPECT_EQ(submitted[1].pairs,
              (std::vector<std::string>{"nome=Anita Garibaldi", "obs=linha\r\n", "ir=Ir"}));
}

TEST_F(ViewerFormPageTest, ACheckBoxClickedIsSubmittedChecked) {
    Show(
        "<form><input type=checkbox name=aviso> <input type=checkbox name=mais value=sim checked>"
        "<input type=submit></form>");
    QCheckBox* box = Widget<QCheckBox>();
    ASSERT_NE(box, nullptr);
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::mouseClick(Widget<QCheckBox>(1), Qt::LeftButton);
    QTest::mouseClick(Widget<QPushButton>(), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(submitted.size(), 1u);
    EXPECT_EQ(submitted[0].pairs, std::vector<std::string>{"aviso=on"});
}

TEST_F(ViewerFormPageTest, AnImageInputSubmitsWhereItWasClickedAndShowsTheHand) {
    Write("ponto.bmp", kDotBmp);
    viewer->LoadFromString(
        "<form action=mapa.htm><input name=q value=x>"
        "<input type=image name=mapa src=ponto.bmp width=40 height=30></form>",
        (folder / "page.htm").string());
    Paint();
    TImageFormControlObj* input = nullptr;
    for (TFormControlObj* control : viewer->Document().allControls)
        if (auto* image = dynamic_cast<TImageFormControlObj*>(control)) input = image;
    ASSERT_NE(input, nullptr);
    ASSERT_NE(input->image, nullptr);
    const platform::Rect box = input->image->HitBox();
    const QPoint at(box.left + 5, box.top + 7 - viewer->Document().scrollY);
    QTest::mouseMove(viewer->PaintPanel(), at);
    EXPECT_EQ(viewer->PaintPanel()->cursor().shape(), HandCursor().shape());
    QTest::mouseClick(viewer->PaintPanel(), Qt::LeftButton, {}, at);
    QApplication::processEvents();
    ASSERT_EQ(submitted.size(), 1u);
    EXPECT_EQ(submitted[0].action, "mapa.htm");
    EXPECT_EQ(submitted[0].pairs, (std::vector<std::string>{"q=x", "mapa.x=5", "mapa.y=7"}));
}

TEST_F(ViewerFormPageTest, BackAndForwardBringTheValuesBack) {
    viewer->SetHistoryMaxCount(5);
    const std::string form =
        Write("form.htm",
              "<form><input name=nome><input type=checkbox name=aviso>"
              "<select name=uf><option>SP<option>RJ<option>BA</select></form>");
    const std::string other = Write("other.htm", "<p>outra");
    viewer->LoadFromFile(form);
    Paint();
    QTest::keyClicks(Widget<QLineEdit>(), "Bertha");
    QTest::mouseClick(Widget<QCheckBox>(), Qt::LeftButton);
    Widget<QComboBox>()->setFocus();
    QTest::keyClick(Widget<QComboBox>(), Qt::Key_Down);
    ASSERT_EQ(Widget<QComboBox>()->currentText(), "RJ");
    viewer->LoadFromFile(other);
    EXPECT_TRUE(viewer->Document().allControls.empty());

    viewer->SetHistoryIndex(1);  // back
    Paint();
    ASSERT_EQ(viewer->CurrentFile(), form);
    EXPECT_EQ(Widget<QLineEdit>()->text(), "Bertha");
    EXPECT_TRUE(Widget<QCheckBox>()->isChecked());
    EXPECT_EQ(Widget<QComboBox>()->currentText(), "RJ");

    QTest::keyClicks(Widget<QLineEdit>(), " Lutz");
    viewer->SetHistoryIndex(0);  // forward
    viewer->SetHistoryIndex(1);  // and back again
    Paint();
    EXPECT_EQ(Widget<QLineEdit>()->text(), "Bertha Lutz")
        << "what it held when left the second time";

    // A page loaded anew, not through the history, starts from its own values.
    viewer->LoadFromFile(other);
    viewer->LoadFromFile(form);
    Paint();
    EXPECT_EQ(Widget<QLineEdit>()->text(), "");
}

TEST_F(ViewerFormPageTest, ScrolledControlsGoAndComeWhereThePageIsDrawn) {
    Show(TallPage(100, "<form><input name=top></form>") + "<p>" + std::string(40, 'x') +
         TallPage(1500) + "<form><input name=bottom></form>" + TallPage(200));
    QLineEdit* top = Widget<QLineEdit>(0);
    QLineEdit* bottom = Widget<QLineEdit>(1);
    ASSERT_TRUE(top && bottom);
    EXPECT_TRUE(top->isVisible());
    EXPECT_FALSE(bottom->isVisible());
    EXPECT_EQ(bottom->x(), -4000);

    // Line by line, as the bar's arrow and the keys scroll (the surface moves its
    // contents and paints the strip uncovered).
    for (int i = 0; i < 12; ++i) {
        viewer->VScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        Paint();
        const std::vector<QRect> places = Places();
        EXPECT_EQ(places, PlacesPaintedAfresh()) << "after step " << i;
    }
    // The one typed into goes out of view too; the page stays where it was scrolled to.
    viewer->VScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    Paint();
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer.get()));
    top->setFocus();
    QTRY_VERIFY(top->hasFocus());
    viewer->VScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    Paint();
    const int end = viewer->VerticalOffset();
    EXPECT_GT(end, 1000);
    EXPECT_FALSE(top->isVisible()) << "scrolled out of view";
    EXPECT_FALSE(bottom->hasFocus());
    EXPECT_TRUE(viewer->hasFocus()) << "the viewer keeps the keys";
    EXPECT_EQ(top->x(), -4000);
    ASSERT_TRUE(bottom->isVisible()) << "scrolled into view";
    const QRect shown = bottom->geometry();
    EXPECT_TRUE(viewer->PaintPanel()->rect().contains(shown));
    EXPECT_EQ(Places(), PlacesPaintedAfresh());
    EXPECT_EQ(bottom->geometry(), shown);
    EXPECT_EQ(viewer->VerticalOffset(), end);

    // Page by page back up: the one at the top comes back to its place.
    for (int i = 0; i < 12; ++i) {
        viewer->VScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
        Paint();
        const std::vector<QRect> places = Places();
        EXPECT_EQ(places, PlacesPaintedAfresh()) << "after page " << i;
    }
    EXPECT_TRUE(top->isVisible());
    EXPECT_FALSE(bottom->isVisible());
}

TEST_F(ViewerFormPageTest, SidewaysScrollResizeAndZoomKeepControlsOnTheirPlace) {
    Show(
        "<table width=1500><tr><td>texto <input name=a> mais <input type=checkbox name=b>"
        "</table>");
    QLineEdit* edit = Widget<QLineEdit>();
    ASSERT_NE(edit, nullptr);
    const QRect start = edit->geometry();
    const int startFont = edit->font().pixelSize();
    ASSERT_GT(startFont, 0) << "the page's font";
    ASSERT_TRUE(viewer->HScrollBar()->isVisible());
    viewer->HScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    Paint();
    const int moved = viewer->HScrollBar()->Position();
    ASSERT_GT(moved, 0);
    EXPECT_EQ(edit->geometry(), start.translated(-moved, 0));
    EXPECT_EQ(Places(), PlacesPaintedAfresh());
    viewer->HScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    Paint();
    EXPECT_EQ(edit->geometry(), start);

    viewer->resize(300, 200);
    Paint();
    EXPECT_EQ(Places(), PlacesPaintedAfresh()) << "after a resize";

    viewer->SetZoom(200);
    Paint();
    const QRect zoomed = edit->geometry();
    EXPECT_NEAR(zoomed.width(), 2 * start.width(), 2);
    EXPECT_NEAR(zoomed.height(), 2 * start.height(), 2);
    EXPECT_NEAR(zoomed.left(), 2 * start.left(), 2);
    EXPECT_NEAR(edit->font().pixelSize(), 2 * startFont, 1);
    viewer->SetZoom(100);
    Paint();
    EXPECT_EQ(edit->geometry(), start);
}

TEST_F(ViewerFormPageTest, ARepaintTakesTheControlsAwayUntilThePaintPutsThemBack) {
    Show("<input name=a> <input name=b>");
    QLineEdit* a = Widget<QLineEdit>(0);
    QLineEdit* b = Widget<QLineEdit>(1);
    ASSERT_TRUE(a && b);
    const QRect placeA = a->geometry(), placeB = b->geometry();
    ASSERT_TRUE(QTest::qWaitForWindowActive(viewer.get()));
    b->setFocus();
    QTRY_VERIFY(b->hasFocus());
    viewer->Repaint();
    EXPECT_FALSE(a->isVisible());
    EXPECT_TRUE(b->isVisible()) << "the one typed into keeps its place and the focus";
    EXPECT_TRUE(b->hasFocus());
    Paint();
    EXPECT_TRUE(a->isVisible());
    EXPECT_EQ(a->geometry(), placeA);
    EXPECT_EQ(b->geometry(), placeB);
}

TEST_F(ViewerFormPageTest, HugeControlsStillLoadShowAndSubmit) {
    std::string options;
    for (int i = 0; i < 100000; ++i) options += "<option>n" + std::to_string(i);
    // One word of 2 MB: broken at word boundaries, it would take minutes to show.
    const std::string text(2 * 1024 * 1024, 'a');
    Show("<form><select name=c>" + options + "</select><select name=l size=4 multiple>" + options +
         "</select><textarea name=t wrap=hard cols=20>" + text +
         "</textarea><input name=e maxlength=2000000000 value=abc>"
         "<input name=f maxlength=-5 value=def><input type=submit></form>");
    auto* combo = Widget<QComboBox>();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 100000);
    EXPECT_EQ(Widget<QLineEdit>(0)->text(), "abc");
    EXPECT_EQ(Widget<QLineEdit>(1)->text(), "def");
    QTest::mouseClick(Widget<QPushButton>(), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(submitted.size(), 1u);
    ASSERT_GE(submitted[0].pairs.size(), 2u);
    EXPECT_EQ(submitted[0].pairs[0], "c=n0");
}

}  // namespace
