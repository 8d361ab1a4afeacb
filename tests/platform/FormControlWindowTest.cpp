// The form control windows on Qt: what the document sets reads back, what the user does
// is reported (and only that), keys go where a page's controls need them.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include <memory>
#include <vector>

#include "platform/qt/QtFormControlWindow.h"
#include "platform/qt/QtTabStopWindow.h"

namespace {

using platform::FormControlKind;
using platform::QtFormControlWindow;

// Stands for the viewer: keeps the keys sent on to it.
class KeyTarget : public QWidget {
  public:
    std::vector<int> keys;

  protected:
    void keyPressEvent(QKeyEvent* event) override { keys.push_back(event->key()); }
};

class FormControlWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        surface = std::make_unique<KeyTarget>();
        surface->resize(400, 300);
        surface->show();
    }

    std::unique_ptr<QtFormControlWindow> Make(FormControlKind kind, double* scale = nullptr) {
        std::function<double()> zoom;
        if (scale) zoom = [scale] { return *scale; };
        auto window =
            std::make_unique<QtFormControlWindow>(kind, surface.get(), surface.get(), zoom);
        window->onChange = [this] { ++changes; };
        window->onClick = [this] { ++clicks; };
        window->onActivate = [this] { ++activations; };
        window->onArrowKey = [this](int dx, int dy) { arrows.emplace_back(dx, dy); };
        window->onFocusChange = [this](bool in) { focus.push_back(in); };
        return window;
    }
    // Shown on the surface, where the user can reach it.
    static void Place(QtFormControlWindow& window, int x, int y, int w, int h) {
        window.setBounds({x, y, x + w, y + h});
        window.setVisible(true);
    }

    std::unique_ptr<KeyTarget> surface;
    int changes = 0, clicks = 0, activations = 0;
    std::vector<std::pair<int, int>> arrows;
    std::vector<bool> focus;
};

TEST_F(FormControlWindowTest, NewWindowsWaitHiddenOffTheSurfaceAndSurviveTheirParent) {
    for (FormControlKind kind :
         {FormControlKind::Edit, FormControlKind::Memo, FormControlKind::Button,
          FormControlKind::CheckBox, FormControlKind::RadioButton, FormControlKind::ListBox,
          FormControlKind::ComboBox}) {
        auto window = Make(kind);
        EXPECT_EQ(window->kind(), kind);
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(window->bounds().left, -4000);
        EXPECT_EQ(window->widget()->parentWidget(), surface.get());
        EXPECT_FALSE(window->setFocus()) << "a hidden control takes no focus";
    }
    auto edit = Make(FormControlKind::Edit);
    surface.reset();
    EXPECT_EQ(edit->widget(), nullptr);
    edit->setText(u"after");
    edit->setBounds({0, 0, 10, 10});
    EXPECT_TRUE(edit->text().empty());
    EXPECT_FALSE(edit->isVisible());
}

TEST_F(FormControlWindowTest, EditsKeepTheirTextLengthAndEcho) {
    auto edit = Make(FormControlKind::Edit);
    auto* line = static_cast<QLineEdit*>(edit->widget());
    const std::u16string longText(40000, u'x');
    edit->setText(longText);
    EXPECT_EQ(edit->text(), longText) << "no limit unless the page sets one";
    edit->setMaxLength(5);
    edit->setText(u"S\u00E3o Paulo");
    EXPECT_EQ(edit->text(), u"S\u00E3o P");
    edit->setPassword(true);
    EXPECT_EQ(line->echoMode(), QLineEdit::Password);
    EXPECT_EQ(edit->text(), u"S\u00E3o P") << "the text itself is kept";
    EXPECT_EQ(line->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, line), '*');
    edit->setMaxLength(0);
    Place(*edit, 10, 10, 120, 22);
    QTest::keyClicks(line, "123");
    EXPECT_EQ(edit->text(), u"S\u00E3o P123");
    EXPECT_EQ(changes, 3) << "one change per key typed";
    EXPECT_EQ(activations, 0);
}

TEST_F(FormControlWindowTest, OnlyTheUsersChangesAreReported) {
    auto edit = Make(FormControlKind::Edit);
    auto memo = Make(FormControlKind::Memo);
    auto list = Make(FormControlKind::ListBox);
    auto combo = Make(FormControlKind::ComboBox);
    auto box = Make(FormControlKind::CheckBox);
    edit->setText(u"a");
    memo->setText(u"one\r\ntwo");
    for (auto* w : {list.get(), combo.get()}) {
        w->addItem(u"Recife");
        w->addItem(u"Olinda");
        w->addItem(u"Natal");
    }
    list->setMultiSelect(true);
    list->setItemSelected(0, true);
    list->setItemSelected(2, true);
    combo->setCurrentIndex(1);
    box->setChecked(true);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(clicks, 0);

    EXPECT_EQ(memo->text(), u"one\r\ntwo") << "line ends CR LF both ways";
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_TRUE(combo->isItemSelected(1));
    EXPECT_FALSE(combo->isItemSelected(0));
    EXPECT_TRUE(list->isItemSelected(0));
    EXPECT_FALSE(list->isItemSelected(1));
    EXPECT_TRUE(list->isItemSelected(2)) << "a multiple list keeps both";
    EXPECT_TRUE(box->isChecked());

    Place(*memo, 0, 0, 200, 80);
    QTest::keyClicks(memo->widget(), "x");
    EXPECT_EQ(changes, 1);
    Place(*combo, 0, 100, 120, 24);
    QTest::keyClick(combo->widget(), Qt::Key_Down);
    EXPECT_EQ(combo->currentIndex(), 2);
    EXPECT_EQ(changes, 2);
    Place(*list, 200, 0, 120, 80);
    auto* listWidget = static_cast<QListWidget*>(list->widget());
    QApplication::processEvents();
    const QRect row = listWidget->visualItemRect(listWidget->item(1));
    QTest::mouseClick(listWidget->viewport(), Qt::LeftButton, Qt::ControlModifier, row.center());
    EXPECT_TRUE(list->isItemSelected(1));
    EXPECT_TRUE(list->isItemSelected(0)) << "Ctrl+click adds to the selection";
    EXPECT_EQ(changes, 3);

    // A single-choice list keeps one; clearing empties it quietly.
    list->setMultiSelect(false);
    list->setItemSelected(1, true);
    EXPECT_FALSE(list->isItemSelected(0));
    EXPECT_EQ(list->currentIndex(), 1);
    list->clearItems();
    EXPECT_EQ(list->itemCount(), 0);
    EXPECT_EQ(changes, 3);
}

TEST_F(FormControlWindowTest, ListsTakeManySelectionsAtOnceAndOfferTheirFirstItem) {
    auto list = Make(FormControlKind::ListBox);
    list->setMultiSelect(true);
    constexpr int kCount = 100000;
    for (int i = 0; i < kCount; ++i) list->addItem(u"op\u00E7\u00E3o");
    for (int i = 0; i < kCount; ++i)
        if (i != 500) list->setItemSelected(i, true);
    int selected = 0;
    for (int i = 0; i < kCount; ++i) selected += list->isItemSelected(i);
    EXPECT_EQ(selected, kCount - 1);
    Place(*list, 0, 0, 120, 80);
    auto* widget = static_cast<QListWidget*>(list->widget());
    EXPECT_EQ(widget->selectionModel()->selectedIndexes().size(), kCount - 1)
        << "the widget shows them all";
    EXPECT_FALSE(widget->item(500)->isSelected());
    EXPECT_EQ(changes, 0);

    // Reset with nothing chosen by the page: the first item, in either kind of list.
    for (bool multi : {true, false}) {
        list->clearItems();
        list->setMultiSelect(multi);
        for (int i = 0; i < 3; ++i) list->addItem(u"x");
        list->setCurrentIndex(0);
        EXPECT_TRUE(list->isItemSelected(0)) << multi;
        EXPECT_EQ(list->currentIndex(), 0);
        list->setVisible(true);
        EXPECT_TRUE(widget->item(0)->isSelected()) << multi;
    }
}

TEST_F(FormControlWindowTest, AWindowMayGoFromInsideItsOwnEvents) {
    // A handler that loads another page takes the page's controls with it.
    std::unique_ptr<QtFormControlWindow> button = Make(FormControlKind::Button);
    std::unique_ptr<QtFormControlWindow> box = Make(FormControlKind::CheckBox);
    std::unique_ptr<QtFormControlWindow> edit = Make(FormControlKind::Edit);
    Place(*button, 0, 0, 80, 26);
    Place(*box, 0, 30, 16, 16);
    Place(*edit, 0, 50, 100, 22);
    QPointer<QWidget> buttonWidget = button->widget();
    button->onClick = [&] { button.reset(); };
    box->onClick = [&] { box.reset(); };
    edit->onActivate = [&] { edit.reset(); };
    QTest::mouseClick(buttonWidget, Qt::LeftButton);
    QTest::mouseClick(box->widget(), Qt::LeftButton);
    QTest::keyClick(edit->widget(), Qt::Key_Return);
    EXPECT_FALSE(button || box || edit);
    ASSERT_TRUE(buttonWidget);
    EXPECT_FALSE(buttonWidget->isVisible()) << "gone from the page at once";
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(buttonWidget) << "and freed once its events are over";
}

TEST_F(FormControlWindowTest, EnterSubmitsFromAnEditOnlyAndPressesAButton) {
    auto edit = Make(FormControlKind::Edit);
    auto memo = Make(FormControlKind::Memo);
    auto button = Make(FormControlKind::Button);
    Place(*edit, 0, 0, 100, 22);
    Place(*memo, 0, 30, 200, 80);
    Place(*button, 0, 120, 80, 26);
    QTest::keyClick(edit->widget(), Qt::Key_Return);
    EXPECT_EQ(activations, 1);
    QTest::keyClick(memo->widget(), Qt::Key_A);
    QTest::keyClick(memo->widget(), Qt::Key_Return);
    QTest::keyClick(memo->widget(), Qt::Key_B);
    EXPECT_EQ(activations, 1) << "Enter in a text area is a new line";
    EXPECT_EQ(memo->text(), u"a\r\nb");
    EXPECT_TRUE(surface->keys.empty()) << "no Enter reaches the viewer either";

    button->setText(u"Enviar");
    EXPECT_EQ(button->text(), u"Enviar");
    QTest::keyClick(button->widget(), Qt::Key_Space);
    EXPECT_EQ(clicks, 1);
    QTest::keyClick(button->widget(), Qt::Key_Return);
    QTRY_COMPARE(clicks, 2);
    QTest::keyClick(button->widget(), Qt::Key_PageDown);
    EXPECT_EQ(surface->keys, std::vector<int>{Qt::Key_PageDown}) << "other keys scroll the page";
}

TEST_F(FormControlWindowTest, BoxesAndRadioButtonsLeaveGroupsAndArrowsToThePage) {
    auto first = Make(FormControlKind::RadioButton);
    auto second = Make(FormControlKind::RadioButton);
    auto box = Make(FormControlKind::CheckBox);
    Place(*first, 0, 0, 16, 16);
    Place(*second, 30, 0, 16, 16);
    Place(*box, 60, 0, 16, 16);
    first->setChecked(true);
    second->setChecked(true);
    EXPECT_TRUE(first->isChecked()) << "Qt does not group them by parent";

    QTest::mouseClick(first->widget(), Qt::LeftButton);
    EXPECT_TRUE(first->isChecked()) << "a click on a checked radio button leaves it checked";
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(box->widget(), Qt::LeftButton);
    EXPECT_TRUE(box->isChecked());
    QTest::keyClick(box->widget(), Qt::Key_Space);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(clicks, 3);

    ASSERT_TRUE(second->setFocus());
    QTest::keyClick(second->widget(), Qt::Key_Right);
    QTest::keyClick(second->widget(), Qt::Key_Up);
    QTest::keyClick(second->widget(), Qt::Key_Left);
    QTest::keyClick(second->widget(), Qt::Key_Down);
    EXPECT_EQ(arrows, (std::vector<std::pair<int, int>>{{1, 0}, {0, -1}, {-1, 0}, {0, 1}}));
    EXPECT_TRUE(surface->keys.empty()) << "a radio button's arrows are its group's";
    QTest::keyClick(second->widget(), Qt::Key_Home);
    EXPECT_EQ(surface->keys, std::vector<int>{Qt::Key_Home});
    surface->keys.clear();
    QTest::keyClick(box->widget(), Qt::Key_Down);
    QTest::keyClick(box->widget(), Qt::Key_PageDown);
    EXPECT_EQ(surface->keys, (std::vector<int>{Qt::Key_Down, Qt::Key_PageDown}))
        << "a check box has no group: its arrows scroll the page";
    EXPECT_EQ(arrows.size(), 4u);
    EXPECT_EQ(changes, 0);
}

TEST_F(FormControlWindowTest, TabOrderRunsThroughLinksAndControlsAlike) {
    surface->setFocusPolicy(Qt::ClickFocus);
    platform::QtTabStopWindow link(surface.get(), surface.get());
    auto edit = Make(FormControlKind::Edit);
    auto box = Make(FormControlKind::CheckBox);
    platform::QtTabStopWindow lastLink(surface.get(), surface.get());
    Place(*edit, 0, 0, 100, 22);
    Place(*box, 0, 30, 16, 16);
    link.placeAfter(nullptr);
    edit->placeAfter(&link);
    box->placeAfter(edit.get());
    lastLink.placeAfter(box.get());
    EXPECT_EQ(surface->nextInFocusChain(), link.widget());
    EXPECT_EQ(link.widget()->nextInFocusChain(), edit->widget());
    EXPECT_EQ(edit->widget()->nextInFocusChain(), box->widget());
    EXPECT_EQ(box->widget()->nextInFocusChain(), lastLink.widget());

    ASSERT_TRUE(QTest::qWaitForWindowActive(surface.get()));
    ASSERT_TRUE(edit->setFocus());
    QTRY_VERIFY(edit->hasFocus());
    QTest::keyClick(edit->widget(), Qt::Key_Tab);
    QTRY_VERIFY(box->hasFocus());
    EXPECT_EQ(focus, (std::vector<bool>{true, false, true}));
    EXPECT_TRUE(surface->keys.empty());
}

TEST_F(FormControlWindowTest, ATextAreaShowsItsLinesAsWrapped) {
    auto memo = Make(FormControlKind::Memo);
    const std::u16string text =
        u"Maria Quit\u00E9ria de Jesus, hero\u00EDna da Independ\u00EAncia\r\nBahia";
    memo->setText(text);
    memo->setWrap(platform::MemoWrap::Soft);
    memo->setBounds({0, 0, 90, 200});  // still hidden, as before the first paint
    const std::vector<std::u16string> lines = memo->visualLines();
    EXPECT_GT(lines.size(), 3u);
    std::u16string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) joined += lines[i];
    EXPECT_EQ(joined, u"Maria Quit\u00E9ria de Jesus, hero\u00EDna da Independ\u00EAnciaBahia")
        << "every character once, on its own visual line";
    EXPECT_EQ(lines.back(), u"Bahia");
    memo->setVisible(true);
    QApplication::processEvents();
    EXPECT_EQ(memo->visualLines(), lines) << "the lines shown are the ones worked out";
    auto* edit = static_cast<QPlainTextEdit*>(memo->widget());
    EXPECT_EQ(edit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    memo->setWrap(platform::MemoWrap::Off);
    EXPECT_EQ(memo->visualLines().size(), 2u) << "unwrapped, the text's own lines";
    EXPECT_EQ(edit->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    const platform::Size outer = memo->sizeForClient({100, 50});
    EXPECT_GT(outer.cx, 100 + memo->scrollBarWidth() - 1) << "room for the bar and the frame";
    EXPECT_GT(outer.cy, 50 + memo->scrollBarWidth() - 1);
}

TEST_F(FormControlWindowTest, APageZoomScalesPlaceSizeAndFontButNotTheLayout) {
    double scale = 1.0;
    auto edit = Make(FormControlKind::Edit, &scale);
    platform::FontSpec font;
    font.height = -14;
    edit->setFont(font);
    const int height = edit->naturalHeight();
    EXPECT_GE(height, 14);
    Place(*edit, 10, 20, 100, 20);
    EXPECT_EQ(edit->widget()->geometry(), QRect(10, 20, 100, 20));
    EXPECT_EQ(edit->widget()->font().pixelSize(), 14);

    scale = 2.0;
    Place(*edit, 10, 20, 100, 20);
    EXPECT_EQ(edit->widget()->geometry(), QRect(20, 40, 200, 40));
    EXPECT_EQ(edit->widget()->font().pixelSize(), 28);
    EXPECT_EQ(edit->bounds(), (platform::Rect{10, 20, 110, 40})) << "page pixels back";
    EXPECT_NEAR(edit->naturalHeight(), height, 1) << "the page is laid out alike at any zoom";

    // Asked where it is after the zoom changed, the window first goes where the page is
    // drawn now.
    scale = 1.5;
    EXPECT_EQ(edit->bounds(), (platform::Rect{10, 20, 110, 40}));
    EXPECT_EQ(edit->widget()->geometry(), QRect(15, 30, 150, 30));
    EXPECT_EQ(edit->widget()->font().pixelSize(), 21);

    // The surface moved its children (a scroll): the window reads back where it is.
    scale = 1.0;
    Place(*edit, 10, 20, 100, 20);
    edit->widget()->move(10, 5);
    EXPECT_EQ(edit->bounds(), (platform::Rect{10, 5, 110, 25}));
}

TEST_F(FormControlWindowTest, ASnapshotIsThePictureOfTheButton) {
    auto button = Make(FormControlKind::Button);
    button->setText(u"Enviar");
    button->setBounds({-4000, 0, -3920, 26});
    const std::shared_ptr<platform::Bitmap> picture = button->snapshot();
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width(), 80);
    EXPECT_EQ(picture->height(), 26);
    bool varied = false;
    for (int x = 0; x < picture->width() && !varied; ++x)
        varied = picture->pixel(x, 13) != picture->pixel(0, 13);
    EXPECT_TRUE(varied) << "something is drawn";

    button->setColors(platform::RGBColor(255, 0, 0), platform::RGBColor(0, 0, 255));
    EXPECT_EQ(button->widget()->palette().color(QPalette::ButtonText), QColor(255, 0, 0));
    EXPECT_EQ(button->widget()->palette().color(QPalette::Button), QColor(0, 0, 255));
}

}  // namespace
