// The viewer's own history of files and its list of visited links.

#include "layout/FontObj.h"
#include "tests/viewer/ViewerTestSupport.h"

class ViewerHistoryTest : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        viewer->OnHistoryChange = [this](THTMLViewer*) { ++changes; };
        a = Write("a.htm", "<title>A</title>" + TallPage(2000));
        b = Write("b.htm", "<title>B</title>" + TallPage(2000));
        c = Write("c.htm", "<title>C</title>" + TallPage(2000));
    }
    int changes = 0;
    std::string a, b, c;
};

TEST_F(ViewerHistoryTest, NothingIsKeptWithALengthOfZero) {
    viewer->LoadFromFile(a);
    viewer->LoadFromFile(b);
    EXPECT_TRUE(viewer->HistoryFiles.empty());
    EXPECT_EQ(changes, 0);
}

TEST_F(ViewerHistoryTest, EachNewFileGoesToTheFrontWithThePlaceTheOldOneWasLeftAt) {
    viewer->SetHistoryMaxCount(3);
    viewer->LoadFromFile(a);
    EXPECT_EQ(viewer->HistoryFiles, (std::vector<std::string>{a}));
    EXPECT_EQ(viewer->HistoryTitles, (std::vector<std::string>{"A"}));
    viewer->ScrollToY(300);
    const std::int64_t leftAt = viewer->LayoutPosition();
    viewer->LoadFromFile(b);
    EXPECT_EQ(viewer->HistoryFiles, (std::vector<std::string>{b, a}));
    EXPECT_EQ(viewer->HistoryTitles, (std::vector<std::string>{"B", "A"}));
    EXPECT_EQ(viewer->HistoryPositions[1]->ScrollPos, leftAt);
    EXPECT_EQ(viewer->HistoryPositions[0]->DocKind, 0);
    EXPECT_EQ(viewer->HistoryCursor, 0);
    viewer->LoadFromFile(c);
    viewer->LoadImageFile(Write("d.bmp", "BM"));
    EXPECT_EQ(viewer->HistoryFiles.size(), 3u) << "cut to the length";
    EXPECT_EQ(viewer->HistoryFiles[0], (folder / "d.bmp").string());
    EXPECT_EQ(viewer->HistoryPositions[0]->DocKind, 2);
    EXPECT_EQ(viewer->HistoryFiles[2], b);
    EXPECT_EQ(changes, 4);

    // The same file again is no new entry; nor is a failed load.
    viewer->LoadImageFile((folder / "d.bmp").string());
    EXPECT_EQ(changes, 4);
    EXPECT_THROW(viewer->LoadFromFile(Write("x.htm", "") + ".missing"), EInOutError);
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(viewer->HistoryFiles.size(), 3u);
}

// Another spelling of the file shown, or the file with an anchor, is the same file: no
// entry, and the entry of the page keeps the place it was first left at.
TEST_F(ViewerHistoryTest, TheSameFileUnderAnotherNameIsNoNewEntry) {
    viewer->SetHistoryMaxCount(3);
    viewer->LoadFromFile(a);
    viewer->ScrollToY(300);
    viewer->LoadFromFile(b);
    const std::int64_t leftAt = viewer->HistoryPositions[1]->ScrollPos;
    viewer->ScrollToY(500);
    viewer->LoadFromFile((folder / "." / "b.htm").string());
    viewer->LoadFromFile(b + "#nowhere");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(viewer->HistoryFiles, (std::vector<std::string>{b, a}));
    EXPECT_EQ(viewer->HistoryPositions[1]->ScrollPos, leftAt);
    // Then another file: the place on B it was left at goes with B's entry.
    viewer->ScrollToY(700);
    const std::int64_t leftB = viewer->LayoutPosition();
    viewer->LoadFromFile(c);
    EXPECT_EQ(viewer->HistoryFiles, (std::vector<std::string>{c, b, a}));
    EXPECT_EQ(viewer->HistoryPositions[1]->ScrollPos, leftB);
}

TEST_F(ViewerHistoryTest, EntriesAheadOfTheCursorAreDropped) {
    viewer->SetHistoryMaxCount(5);
    viewer->LoadFromFile(a);
    viewer->LoadFromFile(b);
    viewer->LoadFromFile(c);
    // As if the reader had gone back two steps to A.
    viewer->HistoryCursor = 2;
    viewer->LoadFromFile(b);
    EXPECT_EQ(viewer->HistoryFiles, (std::vector<std::string>{b, c}));
    EXPECT_EQ(viewer->HistoryTitles, (std::vector<std::string>{"B", "C"}));
    EXPECT_EQ(viewer->HistoryCursor, 0);
}

TEST_F(ViewerHistoryTest, LengthChangesAndClearing) {
    viewer->SetHistoryMaxCount(4);
    viewer->LoadFromFile(a);
    viewer->LoadFromFile(b);
    const int before = changes;
    viewer->SetHistoryMaxCount(-1);
    EXPECT_EQ(viewer->HistoryMaxCount(), 4) << "a negative length changes nothing";
    viewer->SetHistoryMaxCount(6);
    EXPECT_EQ(viewer->HistoryFiles.size(), 2u) << "a longer history keeps its entries";
    viewer->SetHistoryMaxCount(1);
    EXPECT_TRUE(viewer->HistoryFiles.empty()) << "a shorter one starts again";
    EXPECT_EQ(changes, before + 1);
    viewer->ClearHistory();
    EXPECT_EQ(changes, before + 1) << "clearing an empty history reports nothing";
}

TEST_F(ViewerHistoryTest, AnAnchorInThePageMakesAnEntryWhenThePlaceChanged) {
    viewer->SetHistoryMaxCount(5);
    viewer->LoadFromFile(a);
    const std::int64_t top = viewer->LayoutPosition();
    ASSERT_TRUE(viewer->ScrollToAnchor("b10"));
    viewer->SaveHistoryEntry(a, "A", 0, nullptr, top);
    EXPECT_EQ(viewer->HistoryFiles, (std::vector<std::string>{a, a}));
    EXPECT_EQ(viewer->HistoryPositions[1]->ScrollPos, top);
    EXPECT_NE(viewer->HistoryPositions[0]->ScrollPos, top);
    // The same place again makes none.
    viewer->SaveHistoryEntry(a, "A", 0, nullptr, viewer->LayoutPosition());
    EXPECT_EQ(viewer->HistoryFiles.size(), 2u);
}

TEST_F(ViewerHistoryTest, ARefreshHandlerThatLoadsAtOnceFindsTheHistoryInItsOrder) {
    viewer->SetHistoryMaxCount(10);
    const std::string refreshing =
        Write("r.htm", "<meta http-equiv=refresh content=\"0;url=c.htm\"><p>refreshing");
    viewer->LoadFromFile(a);
    viewer->OnMetaRefresh = [](THTMLViewer* sender, int, const std::string& url) {
        sender->LoadFromFile(sender->ExpandLinkPath(url));
    };
    viewer->LoadFromFile(refreshing);
    EXPECT_EQ(viewer->CurrentFile(), c);
    EXPECT_EQ(viewer->HistoryFiles, (std::vector<std::string>{c, refreshing, a}));
    EXPECT_EQ(viewer->HistoryCursor, 0);
    // Going back through the history to the page that refreshes: raised once the cursor
    // stands on its entry.
    std::vector<int> cursors;
    viewer->OnMetaRefresh = [&](THTMLViewer* sender, int, const std::string&) {
        cursors.push_back(sender->HistoryCursor);
    };
    viewer->SetHistoryIndex(1);
    EXPECT_EQ(viewer->CurrentFile(), refreshing);
    EXPECT_EQ(cursors, std::vector<int>{1});
}

TEST_F(ViewerHistoryTest, AHandlerThatLoadsDuringAStepBackHasTheLastWord) {
    // The page shown by the handler makes its own entry, which drops the one stepped to.
    viewer->SetHistoryMaxCount(2);
    viewer->LoadFromFile(a);
    viewer->LoadFromFile(b);
    bool armed = true;
    viewer->OnProcessing = [&](THTMLViewer* sender, bool busy) {
        if (!busy && armed && sender->CurrentFile() == a) {
            armed = false;
            sender->LoadFromFile(c);
        }
    };
    viewer->SetHistoryIndex(1);
    EXPECT_EQ(viewer->CurrentFile(), c);
    EXPECT_EQ(viewer->HistoryFiles, (std::vector<std::string>{c, a}));
    EXPECT_EQ(viewer->HistoryCursor, 0);
}

class ViewerVisitedTest : public ViewerTest {
  protected:
    // The link runs of the page shown, visited or not, by their targets.
    std::vector<std::pair<std::string, bool>> Links() {
        std::vector<std::pair<std::string, bool>> links;
        for (TFontObj* run : viewer->Document().linkRuns)
            links.emplace_back(run->LinkTarget().Url, bool{run->isVisited});
        return links;
    }
};

TEST_F(ViewerVisitedTest, AnchorsVisitedAreRememberedAndMarked) {
    const std::string page = Write(
        "page.htm",
        TallPage(800,
                 "<a href=#b3>three</a> <a href=other.htm>other</a> <a href=\"#B3\">again</a>"));
    viewer->LoadFromFile(page);
    ASSERT_EQ(Links().size(), 3u);
    ASSERT_TRUE(viewer->ScrollToAnchor("b3"));
    EXPECT_EQ(viewer->VisitedList.count(), 1u);
    EXPECT_EQ(viewer->VisitedList.at(0), page + "#b3");
    EXPECT_EQ(Links(), (std::vector<std::pair<std::string, bool>>{
                           {"#b3", true}, {"other.htm", false}, {"#B3", true}}))
        << "links compare ignoring case";
    // Remembered links are marked on the next load of a page with them.
    viewer->RememberVisited((folder / "other.htm").string());
    viewer->LoadFromString("<p>nothing");
    viewer->LoadFromFile(page);
    EXPECT_EQ(Links(), (std::vector<std::pair<std::string, bool>>{
                           {"#b3", true}, {"other.htm", true}, {"#B3", true}}));
}

TEST_F(ViewerVisitedTest, TheListIsNewestFirstAndBounded) {
    viewer->SetVisitedMaxCount(3);
    for (const char* url : {"/x/1.htm", "/x/2.htm", "/x/3.htm", "/x/4.htm"})
        viewer->RememberVisited(url);
    EXPECT_EQ(viewer->VisitedList.lines(),
              (std::vector<std::string>{"/x/4.htm", "/x/3.htm", "/x/2.htm"}));
    viewer->RememberVisited("/X/2.HTM");
    EXPECT_EQ(viewer->VisitedList.lines(),
              (std::vector<std::string>{"/X/2.HTM", "/x/4.htm", "/x/3.htm"}))
        << "one met again moves to the front";
    viewer->RememberVisited("/x/2.htm");
    EXPECT_EQ(viewer->VisitedList.count(), 3u);
    EXPECT_EQ(viewer->VisitedList.at(0), "/X/2.HTM") << "already first: nothing changes";
    viewer->SetVisitedMaxCount(2);
    EXPECT_EQ(viewer->VisitedList.count(), 2u);
}

TEST_F(ViewerVisitedTest, ALengthOfZeroForgetsAndUnmarksEverything) {
    const std::string page = Write("page.htm", TallPage(500, "<a href=#b1>one</a>"));
    viewer->LoadFromFile(page);
    ASSERT_TRUE(viewer->ScrollToAnchor("b1"));
    ASSERT_TRUE(Links()[0].second);
    viewer->SetVisitedMaxCount(0);
    EXPECT_TRUE(viewer->VisitedList.empty());
    EXPECT_FALSE(Links()[0].second);
    ASSERT_TRUE(viewer->ScrollToAnchor("b1"));
    EXPECT_TRUE(viewer->VisitedList.empty()) << "nothing is remembered any more";
    EXPECT_FALSE(Links()[0].second);
}
