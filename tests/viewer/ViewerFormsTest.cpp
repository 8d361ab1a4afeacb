// The viewer as host of a page's form controls: their windows, the submitted forms
// raised once the click is over, the control events, and moving through the history.

#include <QLineEdit>

#include "platform/qt/QtFormControlWindow.h"
#include "tests/viewer/ViewerTestSupport.h"

namespace {

class ViewerFormsTest : public ViewerTest {};

TEST_F(ViewerFormsTest, ControlWindowsLiveOnThePaintSurfaceAtThePagesZoom) {
    std::unique_ptr<platform::FormControlWindow> window =
        viewer->CreateFormControlWindow(platform::FormControlKind::Edit);
    auto* qt = dynamic_cast<platform::QtFormControlWindow*>(window.get());
    ASSERT_NE(qt, nullptr);
    EXPECT_EQ(qt->widget()->parentWidget(), viewer->PaintPanel());
    EXPECT_NE(qobject_cast<QLineEdit*>(qt->widget()), nullptr);
    window->setBounds({10, 20, 110, 40});
    EXPECT_EQ(qt->widget()->geometry(), QRect(10, 20, 100, 20));
    viewer->SetZoom(150);
    window->setBounds({10, 20, 110, 40});
    EXPECT_EQ(qt->widget()->geometry(), QRect(15, 30, 150, 30));
    EXPECT_EQ(window->bounds(), (platform::Rect{10, 20, 110, 40}));
}

TEST_F(ViewerFormsTest, ASubmittedFormIsRaisedAfterTheEventThatSubmittedIt) {
    EXPECT_FALSE(viewer->HandlesFormSubmit()) << "no one to take it, nothing gathered";
    std::vector<std::string> seen;
    viewer->OnFormSubmit = [&](THTMLViewer* sender, const std::string& action,
                               const std::string& target, const std::string& encType,
                               const std::string& method, const platform::StringList& results) {
        EXPECT_EQ(sender, viewer.get());
        seen = {action, target, encType, method};
        for (std::size_t i = 0; i < results.count(); ++i) seen.emplace_back(results.at(i));
    };
    EXPECT_TRUE(viewer->HandlesFormSubmit());
    platform::StringList results;
    results.add("nome=Anita");
    results.add("uf=SC");
    viewer->FormSubmitted("busca.htm", "_self", "", "Get", results);
    results.clear();
    EXPECT_TRUE(seen.empty()) << "not while the submitting click is handled";
    QApplication::processEvents();
    EXPECT_EQ(seen,
              (std::vector<std::string>{"busca.htm", "_self", "", "Get", "nome=Anita", "uf=SC"}));

    // Gone before the posted call runs: nothing is raised.
    viewer->FormSubmitted("x", "", "", "Get", results);
    viewer.reset();
    QApplication::processEvents();
}

TEST_F(ViewerFormsTest, ControlEventsReachTheirHandlersWithTheControl) {
    viewer->LoadFromString("<input name=a>");
    ASSERT_EQ(viewer->Document().allControls.size(), 1u);
    TFormControlObj& control = *viewer->Document().allControls[0];
    std::vector<std::string> calls;
    const auto note = [&](const char* what) {
        return [&calls, what](THTMLViewer*, TFormControlObj* c, const std::string& script) {
            calls.push_back(std::string(what) + ":" + script + (c ? "" : " without control"));
        };
    };
    // Nothing assigned: nothing happens.
    std::string file = "start";
    viewer->FileBrowse(control, file);
    viewer->ObjectClick(control, "a()");
    EXPECT_EQ(file, "start");

    viewer->OnObjectClick = note("click");
    viewer->OnObjectFocus = note("focus");
    viewer->OnObjectBlur = note("blur");
    viewer->OnObjectChange = note("change");
    viewer->OnFileBrowse = [&](THTMLViewer*, TFormControlObj* c, std::string& name) {
        EXPECT_EQ(c, &control);
        name += ".txt";
    };
    viewer->ObjectClick(control, "a()");
    viewer->ObjectFocus(control, "b()");
    viewer->ObjectBlur(control, "");
    viewer->ObjectChange(control, "d()");
    viewer->FileBrowse(control, file);
    EXPECT_EQ(calls, (std::vector<std::string>{"click:a()", "focus:b()", "blur:", "change:d()"}));
    EXPECT_EQ(file, "start.txt");
}

TEST_F(ViewerFormsTest, MovingThroughTheHistoryShowsEachEntryWhereItWasLeft) {
    int changes = 0;
    viewer->OnHistoryChange = [&](THTMLViewer*) { ++changes; };
    const std::string a = Write("a.htm", "<title>A</title>" + TallPage(2000));
    const std::string b = Write("b.htm", "<title>B</title>" + TallPage(2000));
    viewer->SetHistoryMaxCount(5);
    viewer->LoadFromFile(a);
    viewer->ScrollToY(300);
    viewer->LoadFromFile(b);
    viewer->ScrollToY(700);
    ASSERT_EQ(viewer->HistoryFiles, (std::vector<std::string>{b, a}));
    const int before = changes;

    viewer->SetHistoryIndex(1);
    EXPECT_EQ(viewer->CurrentFile(), a);
    EXPECT_EQ(viewer->VerticalOffset(), 300);
    EXPECT_EQ(viewer->HistoryIndex(), 1);
    EXPECT_EQ(viewer->HistoryFiles.size(), 2u) << "going back makes no entry";
    EXPECT_EQ(changes, before + 1);
    viewer->ScrollToY(500);
    viewer->SetHistoryIndex(0);
    EXPECT_EQ(viewer->CurrentFile(), b);
    EXPECT_EQ(viewer->VerticalOffset(), 700) << "forward again, where B was left";
    viewer->SetHistoryIndex(1);
    EXPECT_EQ(viewer->VerticalOffset(), 500) << "and A where it was left the second time";

    // Out of range or the entry shown: nothing moves.
    viewer->SetHistoryIndex(2);
    viewer->SetHistoryIndex(-1);
    viewer->SetHistoryIndex(1);
    EXPECT_EQ(viewer->CurrentFile(), a);
    EXPECT_EQ(changes, before + 3);

    // A new page from an older entry drops the entries ahead of it, as before.
    viewer->LoadFromFile(Write("c.htm", "<title>C</title>"));
    EXPECT_EQ(viewer->HistoryTitles, (std::vector<std::string>{"C", "A"}));
}

}  // namespace
