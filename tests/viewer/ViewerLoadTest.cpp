// Loading pages into the viewer: files, strings, pictures and text; anchors; the events
// of a load; meta refresh; what a failed load leaves; the viewer's properties.

#include <cmath>
#include <vector>

#include <QTest>
#include "html/Urls.h"
#include "layout/FontObj.h"
#include "layout/ImageObj.h"
#include "layout/Section.h"
#include "platform/CodePage.h"

#include "tests/viewer/ViewerTestSupport.h"

namespace {

using Stage = TProgressStage;

TImageObj* FirstImage(TSectionList& document) {
    for (TSectionBase* item : document.ItemsByPosition())
        if (TSection* section = item->AsSection())
            for (auto& object : section->InlineObjects())
                if (auto* image = dynamic_cast<TImageObj*>(object.get())) return image;
    return nullptr;
}

}  // namespace

TEST_F(ViewerTest, AMissingFileKeepsThePageShown) {
    const std::string first = Write("first.htm", TallPage(900));
    viewer->LoadFromFile(first);
    viewer->ScrollToY(200);
    const int height = viewer->DocHeight();
    const std::size_t items = viewer->Document().ItemsByPosition().size();
    bool processing = false;
    viewer->OnProcessing = [&](THTMLViewer*, bool on) { processing = on; };

    const std::string missing = (folder / "nowhere.htm").string();
    try {
        viewer->LoadFromFile(missing + "#b3");
        FAIL() << "a missing file must be reported";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.message(), "Can't locate file: " + missing);
    }
    EXPECT_EQ(viewer->CurrentFile(), first);
    EXPECT_EQ(viewer->DocHeight(), height);
    EXPECT_EQ(viewer->Document().ItemsByPosition().size(), items);
    EXPECT_EQ(viewer->VerticalOffset(), 200);
    EXPECT_FALSE(viewer->Busy());
    EXPECT_FALSE(processing) << "the busy state ends with the failed load";
    EXPECT_FALSE(QApplication::overrideCursor()) << "the hourglass is gone";
}

TEST_F(ViewerTest, AnchorsAreFoundWhateverTheirCase) {
    const std::string page = Write("page.htm", TallPage(2000));
    viewer->LoadFromFile(page + "#B7");
    EXPECT_EQ(viewer->VerticalOffset(), 700);
    // Another page, and a name the page does not have: the top.
    const std::string other = Write("other.htm", TallPage(2000));
    viewer->LoadFromFile(other + "#nothing");
    EXPECT_EQ(viewer->VerticalOffset(), 0);
    EXPECT_EQ(viewer->CurrentFile(), other);
    // Within the page; a leading "#" is dropped.
    EXPECT_TRUE(viewer->ScrollToAnchor("#b12"));
    EXPECT_EQ(viewer->VerticalOffset(), 1200);
    EXPECT_FALSE(viewer->ScrollToAnchor(""));
    EXPECT_FALSE(viewer->ScrollToAnchor("#b99"));
    EXPECT_EQ(viewer->VerticalOffset(), 1200);
    // An anchor near the end shows as much as the page allows.
    EXPECT_TRUE(viewer->ScrollToAnchor("b19"));
    EXPECT_EQ(viewer->VerticalOffset(), viewer->DocHeight() - SurfaceHeight());
}

TEST_F(ViewerTest, ReloadingTheSameFileKeepsThePlace) {
    const std::string page = Write("page.htm", TallPage(3000));
    viewer->LoadFromFile(page);
    viewer->ScrollToY(1234);
    viewer->LoadFromFile(page);
    EXPECT_EQ(viewer->VerticalOffset(), 1234);
    // A different file starts at the top, and so does a string without a name.
    viewer->LoadFromFile(Write("b.htm", TallPage(3000)));
    EXPECT_EQ(viewer->VerticalOffset(), 0);
    viewer->ScrollToY(500);
    viewer->LoadFromString(TallPage(3000), "");
    EXPECT_EQ(viewer->CurrentFile(), "");
    EXPECT_EQ(viewer->VerticalOffset(), 0);
    viewer->ScrollToY(500);
    viewer->LoadFromString(TallPage(3000), "");
    EXPECT_EQ(viewer->VerticalOffset(), 0) << "an unnamed string always shows its top";
    // A string standing for a file: the same name keeps the place, an anchor moves to it.
    viewer->LoadFromString(TallPage(3000), page);
    viewer->ScrollToY(800);
    viewer->LoadFromString(TallPage(3000), page);
    EXPECT_EQ(viewer->VerticalOffset(), 800);
    viewer->LoadFromString(TallPage(3000), page + "#b20");
    EXPECT_EQ(viewer->VerticalOffset(), 2000);
    EXPECT_EQ(viewer->CurrentFile(), page);
}

TEST_F(ViewerTest, ALoadRaisesItsEventsInOrder) {
    std::vector<std::string> events;
    viewer->OnProcessing = [&](THTMLViewer* sender, bool on) {
        EXPECT_EQ(sender, viewer.get());
        events.push_back(on ? "busy" : "idle");
    };
    viewer->OnProgress = [&](THTMLViewer*, Stage stage, int percent) {
        if (stage != Stage::psRunning)
            events.push_back("progress " + std::to_string(int(stage)) + " " +
                             std::to_string(percent));
    };
    viewer->OnSoundRequest = [&](THTMLViewer*, const std::string& src, int loop, bool terminate) {
        events.push_back("sound '" + src + "' " + std::to_string(loop) +
                         (terminate ? " stop" : ""));
    };
    viewer->OnParseBegin = [&](THTMLViewer*, std::string& source) {
        events.push_back("parse begin");
        source = "<title>Replaced</title><p>new text";
    };
    viewer->OnParseEnd = [&](THTMLViewer*) { events.push_back("parse end"); };
    viewer->LoadFromFile(Write("a.htm", "<title>Original</title><p>old"));
    EXPECT_EQ(events,
              (std::vector<std::string>{"busy", "progress 0 0", "parse begin", "sound '' 0 stop",
                                        "parse end", "progress 2 100", "idle"}));
    EXPECT_EQ(viewer->PageTitle(), "Replaced");
    EXPECT_EQ(viewer->SourceText(), "<title>Replaced</title><p>new text");

    // Text files and pictures: no sound request; a picture has no source to hand over.
    events.clear();
    viewer->LoadTextFile(Write("a.txt", "line one\r\nline two\r\n"));
    EXPECT_EQ(events, (std::vector<std::string>{"busy", "progress 0 0", "parse begin", "parse end",
                                                "progress 2 100", "idle"}));
    EXPECT_EQ(viewer->CurrentFileKind(), 1);
    events.clear();
    viewer->LoadImageFile(Write("pic.bmp", "not really a picture"));
    EXPECT_EQ(events, (std::vector<std::string>{"busy", "progress 0 0", "progress 2 100", "idle"}));
    EXPECT_EQ(viewer->CurrentFileKind(), 2);
    EXPECT_EQ(viewer->SourceText(), "");
    ASSERT_EQ(viewer->Document().Count(), 1);

    // Clear stops any background sound too, and leaves the file name.
    events.clear();
    viewer->Clear();
    EXPECT_EQ(events, (std::vector<std::string>{"sound '' 0 stop"}));
    EXPECT_EQ(viewer->CurrentFile(), (folder / "pic.bmp").string());
    EXPECT_EQ(viewer->DocHeight(), 0);
}

TEST_F(ViewerTest, APictureIsShownAloneWhateverItsName) {
    // The picture is shown through a one-image page: its name must survive being quoted,
    // and it is a file's full name, never a link to expand (no % escapes, no server root).
    // A host that is asked for pictures first and supplies none leaves them to be read.
    std::vector<std::string> asked;
    viewer->SetOnImageRequest(
        [&](const std::string& name, TImageStream&) { asked.push_back(name); });
    for (const std::string name : {"a&b \"c\".bmp", "a%41b.bmp"}) {
        for (const std::string root : {"", "/srv/root"}) {
            viewer->SetServerRoot(root);
            const std::string path = Write(name, kDotBmp);
            viewer->LoadImageFile(path);
            EXPECT_EQ(viewer->CurrentFile(), path);
            TImageObj* image = FirstImage(viewer->Document());
            ASSERT_NE(image, nullptr);
            EXPECT_EQ(image->source, path) << name << " under the root \"" << root << "\"";
            EXPECT_FALSE(image->IsPlaceholder()) << name << " under the root \"" << root << "\"";
            EXPECT_EQ(asked.back(), path);
        }
    }
}

TEST_F(ViewerTest, TheMetaRefreshIsReportedAfterTheLoad) {
    std::vector<std::pair<int, std::string>> refreshes;
    std::vector<std::string> metas;
    bool busyDuringRefresh = true;
    viewer->OnMeta = [&](THTMLViewer*, const std::string& httpEq, const std::string& name,
                         const std::string& content) {
        metas.push_back(httpEq + "|" + name + "|" + content);
    };
    viewer->OnMetaRefresh = [&](THTMLViewer* sender, int delay, const std::string& url) {
        busyDuringRefresh = sender->Busy();
        refreshes.emplace_back(delay, url);
    };
    viewer->LoadFromFile(
        Write("a.htm", "<meta http-equiv=REFRESH content=\"0; URL=next.htm\"><p>x"));
    EXPECT_EQ(refreshes, (std::vector<std::pair<int, std::string>>{{1, "next.htm"}}));
    EXPECT_FALSE(busyDuringRefresh);
    EXPECT_EQ(metas, (std::vector<std::string>{"REFRESH||0; URL=next.htm"}));

    refreshes.clear();
    viewer->LoadFromString("<meta http-equiv=refresh content=\"7\"><p>x");
    viewer->LoadFromString("<meta http-equiv=refresh content=\"soon;url=x.htm\"><p>x");
    viewer->LoadFromString("<meta http-equiv=expires content=\"3;url=x.htm\"><p>x");
    viewer->LoadFromString("<p>no meta");
    EXPECT_EQ(refreshes, (std::vector<std::pair<int, std::string>>{{7, ""}}));
    EXPECT_EQ(viewer->MetaRefreshDelay(), 0) << "each load starts without a refresh";
}

TEST_F(ViewerTest, PropertiesKeepToTheirRanges) {
    EXPECT_EQ(viewer->PrintScale(), 1.0);
    viewer->SetPrintScale(10);
    EXPECT_EQ(viewer->PrintScale(), 4.0);
    viewer->SetPrintScale(0.1);
    EXPECT_EQ(viewer->PrintScale(), 0.25);
    viewer->SetPrintScale(std::nan(""));
    EXPECT_EQ(viewer->PrintScale(), 0.25) << "no number changes nothing";
    EXPECT_EQ(viewer->ImageCacheCount(), 5);
    viewer->SetImageCacheCount(50);
    EXPECT_EQ(viewer->ImageCacheCount(), 20);
    viewer->SetImageCacheCount(-3);
    EXPECT_EQ(viewer->ImageCacheCount(), 0);
    viewer->SetVisitedMaxCount(-4);
    EXPECT_EQ(viewer->VisitedMaxCount(), 0);
    viewer->SetServerRoot("  /srv/site/  ");
    EXPECT_EQ(viewer->ServerRoot(), "/srv/site");
    viewer->SetDefPreFontName("Liberation Mono With A Name Longer Than Thirty-Two");
    EXPECT_EQ(viewer->Document().preFontName, "Liberation Mono With A Name Long");
    viewer->SetDefPreFontName("LIBERATION MONO WITH A NAME LONGER THAN THIRTY-TWO");
    EXPECT_EQ(viewer->DefPreFontName(), "Liberation Mono With A Name Longer Than Thirty-Two")
        << "a name equal but for case changes nothing";

    // The defaults as the viewer is made.
    THTMLViewer fresh;
    EXPECT_EQ(fresh.size(), QSize(150, 150));
    EXPECT_EQ(fresh.DefFontName(), "Times New Roman");
    EXPECT_EQ(fresh.DefFontSize(), 12);
    EXPECT_EQ(fresh.MarginWidth(), 10);
    EXPECT_EQ(fresh.MarginHeight(), 5);
    EXPECT_EQ(fresh.VisitedMaxCount(), 50);
    EXPECT_EQ(fresh.HistoryMaxCount(), 0);
    EXPECT_EQ(fresh.ScrollBars(), TScrollStyle::ssBoth);
    EXPECT_EQ(fresh.BorderStyle(), THTMLBorderStyle::htFocused);
    EXPECT_EQ(fresh.htOptions(),
              ThtmlViewerOptions(htPrintTableBackground | htPrintMonochromeBlack));
    EXPECT_TRUE(fresh.Document().printBackgrounds);
    EXPECT_TRUE(fresh.Document().printMonoBlack);
    EXPECT_TRUE(fresh.ViewImages());
    EXPECT_EQ(fresh.DefHotSpotColor(), platform::RGBColor(0, 0, 255));
    EXPECT_EQ(fresh.DefVisitedLinkColor(), platform::RGBColor(0x80, 0, 0x80));
    EXPECT_EQ(fresh.DefBackground(), platform::SystemColorValue(platform::colorButtonFace));
    EXPECT_EQ(fresh.PrintMarginLeft, 2.0);
    EXPECT_FALSE(fresh.VScrollBar()->isVisibleTo(&fresh));
    EXPECT_FALSE(fresh.HScrollBar()->isVisibleTo(&fresh));
    EXPECT_FALSE(fresh.LeaveTimer()->isActive());
    EXPECT_EQ(fresh.LeaveTimer()->interval(), 200);
}

TEST_F(ViewerTest, OptionsReachTheDocument) {
    viewer->SethtOptions(htOverLinksActive | htShowDummyCaret);
    EXPECT_TRUE(viewer->Document().hoverLinksOn);
    EXPECT_TRUE(viewer->Document().showCaret);
    EXPECT_FALSE(viewer->Document().printBackgrounds);
    EXPECT_FALSE(viewer->Document().printMonoBlack);
    // Hover stays on across loads: it is handed to each new page with the defaults.
    viewer->LoadFromString("<a href=x.htm>link</a>");
    EXPECT_TRUE(viewer->Document().hoverLinksOn);
    viewer->SethtOptions(0);
    viewer->LoadFromString("<a href=x.htm>link</a>");
    EXPECT_FALSE(viewer->Document().hoverLinksOn);
}

TEST_F(ViewerTest, LinksAreUnderlinedUnlessTheOptionSaysNot) {
    const auto linkUnderlined = [&] {
        EXPECT_EQ(viewer->Document().linkRuns.size(), 1u);
        return !viewer->Document().linkRuns.empty() &&
               viewer->Document().linkRuns[0]->font.underline();
    };
    viewer->LoadFromString("<a href=x.htm>link</a>");
    EXPECT_TRUE(linkUnderlined());
    viewer->SethtOptions(htNoLinkUnderline);
    viewer->LoadFromString("<a href=x.htm>link</a>");
    EXPECT_FALSE(linkUnderlined());
    // A page's own rule still wins over the default.
    viewer->LoadFromString("<style>a {text-decoration: underline}</style><a href=x.htm>link</a>");
    EXPECT_TRUE(linkUnderlined());
    viewer->SethtOptions(0);
    viewer->LoadFromString("<a href=x.htm>link</a>");
    EXPECT_TRUE(linkUnderlined());
}

TEST_F(ViewerTest, BusyIgnoresLoadsAndChanges) {
    const std::string page = Write("a.htm", "<p>first");
    std::string nested;
    viewer->OnParseEnd = [&](THTMLViewer* sender) {
        // While a load runs, nothing else may start or change.
        sender->LoadFromFile(Write("b.htm", "<p>second"));
        sender->LoadFromString("<p>third");
        sender->Clear();
        sender->Relayout();
        sender->SetDefBackground(platform::RGBColor(1, 2, 3));
        sender->SetViewImages(false);
        nested = sender->CurrentFile();
    };
    viewer->LoadFromFile(page);
    EXPECT_EQ(nested, page);
    EXPECT_EQ(viewer->CurrentFile(), page);
    EXPECT_NE(viewer->DefBackground(), platform::RGBColor(1, 2, 3));
    EXPECT_TRUE(viewer->ViewImages());
    // Empty names do nothing at all.
    viewer->OnParseEnd = nullptr;
    viewer->LoadFromFile("");
    EXPECT_EQ(viewer->CurrentFile(), page);
}

TEST_F(ViewerTest, ImageCacheAgesWithLoads) {
    // The cache is made on the first load with the age limit, and a change reaches it at once.
    EXPECT_EQ(viewer->ImageCache(), nullptr);
    viewer->LoadFromString("<p>x");
    ASSERT_NE(viewer->ImageCache(), nullptr);
    EXPECT_EQ(viewer->ImageCache()->ageLimit(), 5);
    viewer->SetImageCacheCount(2);
    EXPECT_EQ(viewer->ImageCache()->ageLimit(), 2);
}

TEST_F(ViewerTest, LinkPathsExpandAgainstThePage) {
    const std::string page = Write("sub/page.htm", "<p>x");
    viewer->LoadFromFile(page);
    const std::string sub = (folder / "sub").string();
    EXPECT_EQ(viewer->ExpandLinkPath("other.htm"), sub + "/other.htm");
    EXPECT_EQ(viewer->ExpandLinkPath(" ../up.htm "), folder.string() + "/up.htm");
    EXPECT_EQ(viewer->ExpandLinkPath("deep\\x.htm"), sub + "/deep/x.htm");
    EXPECT_EQ(viewer->ExpandLinkPath("http://example.org/a.htm"), "http://example.org/a.htm");
    EXPECT_EQ(viewer->ExpandLinkPath("file:///tmp/a%20b.htm"), "/tmp/a b.htm");
    EXPECT_EQ(viewer->ExpandLinkPath("/abs/a.htm"), "/abs/a.htm");
    EXPECT_EQ(viewer->ExpandLinkPath("\\abs\\a.htm"), "/abs/a.htm");
    viewer->SetServerRoot("/srv/root/");
    EXPECT_EQ(viewer->ExpandLinkPath("/abs/a.htm"), "/srv/root/abs/a.htm");
    EXPECT_EQ(viewer->ExpandLinkPath("\\abs\\a.htm"), "/srv/root/abs/a.htm");
    EXPECT_EQ(viewer->ExpandLinkPath("//host/share/a.htm"), "//host/share/a.htm");
    // A BASE changes where relative names start.
    viewer->LoadFromFile(
        Write("sub/based.htm", "<base href=\"file:///elsewhere/dir/page.htm\"><p>x"));
    EXPECT_EQ(viewer->DocBase(), "file:///elsewhere/dir/page.htm");
    EXPECT_EQ(viewer->ExpandLinkPath("rel.htm"), "/elsewhere/dir/rel.htm");
    viewer->LoadFromFile(Write("sub/web.htm", "<base href=\"http://example.org/bios/\"><p>x"));
    EXPECT_EQ(viewer->ExpandLinkPath("rel.htm"), "http://example.org/bios/rel.htm");
    viewer->LoadFromFile(Write("sub/dos.htm", "<base href=\"DosPath\"><p>x"));
    EXPECT_EQ(viewer->ExpandLinkPath("rel.htm"), "rel.htm");
    // The next page without a BASE is back to its own folder.
    viewer->LoadFromFile(page);
    EXPECT_EQ(viewer->DocBase(), "");
    EXPECT_EQ(viewer->ExpandLinkPath("other.htm"), sub + "/other.htm");
}

TEST_F(ViewerTest, PicturesOfAPageComeFromItsFolderOrItsBase) {
    Write("pics/dot.bmp", kDotBmp);
    Write("elsewhere/dot.bmp", kDotBmp);
    viewer->LoadFromFile(Write("pics/page.htm", "<img src=dot.bmp>"));
    TImageObj* image = FirstImage(viewer->Document());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->source, (folder / "pics/dot.bmp").string());
    EXPECT_FALSE(image->IsPlaceholder());
    // A BASE read before the picture moves where it is looked for.
    viewer->LoadFromFile(Write(
        "pics/based.htm",
        "<base href=\"file://" + (folder / "elsewhere/x.htm").string() + "\"><img src=dot.bmp>"));
    image = FirstImage(viewer->Document());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->source, (folder / "elsewhere/dot.bmp").string());
}

TEST_F(ViewerTest, AttributeTextsOfMultibytePagesReadAsText) {
    // "Próxima" in UTF-8: the placeholder and the hint show the letters, not their bytes.
    viewer->LoadFromString(
        "<meta http-equiv=content-type content=\"text/html; charset=utf-8\"><img src=none.png "
        "alt=\"Pr\xC3\xB3xima\" title=\"S\xC3\xA9rie\">");
    TImageObj* image = FirstImage(viewer->Document());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->altText, "Pr\xC3\xB3xima");
    EXPECT_EQ(image->hintText, "S\xC3\xA9rie");
    // A Windows-1252 page says the same in its own bytes.
    viewer->LoadFromString("<img src=none.png alt=\"Pr\xF3xima\">");
    image = FirstImage(viewer->Document());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->altText, "Pr\xC3\xB3xima");
}

TEST_F(ViewerTest, ParserEventsReachTheViewersHandlers) {
    std::vector<std::string> seen;
    viewer->OnLink = [&](THTMLViewer* sender, const std::string& rel, const std::string& rev,
                         const std::string& href) {
        EXPECT_EQ(sender, viewer.get());
        seen.push_back("link " + rel + " " + rev + " " + href);
    };
    viewer->OnInclude = [&](THTMLViewer*, const std::string& command,
                            const platform::StringList& params, std::string& text) {
        seen.push_back("include " + command + " " + std::string(params.at(0)));
        text = "<b>included</b>";
    };
    viewer->OnScript = [&](THTMLViewer*, const std::string& name, const std::string& language,
                           const std::string& script) {
        seen.push_back("script " + language + " " + script);
    };
    viewer->OnhtStreamRequest = [&](THTMLViewer*, const std::string& src, std::string& stream) {
        seen.push_back("stream " + src);
        stream = "p { color: #ff0000 }";
        return true;
    };
    viewer->LoadFromString(
        "<link rel=stylesheet rev=made href=look.css><!--#insert name=x--><script "
        "language=js>go()</script><p>text");
    // The include is read as the text is, ahead of the tags around it.
    EXPECT_EQ(seen, (std::vector<std::string>{"include insert name=x", "stream look.css",
                                              "link stylesheet made look.css", "script js go()"}));
    EXPECT_EQ(viewer->SelText(), u"");
    viewer->SelectAll();
    EXPECT_EQ(viewer->SelText(), u"included\r\ntext");
    // A picture is shown with none of them.
    seen.clear();
    viewer->LoadImageFile(Write("pic.bmp", kDotBmp));
    EXPECT_TRUE(seen.empty());
}

namespace {

// An animated picture that only counts what the document asks of it.
class CountingAnimation : public TAnimatedPicture {
  public:
    void Rewind() override { ++rewinds; }
    void Stop() override {}
    void Start() override {}
    void Advance() override { ++advances; }
    int rewinds = 0;
    int advances = 0;
};

}  // namespace

TEST_F(ViewerTest, TheViewerRunsTheAnimationTimer) {
    viewer->LoadFromString("<p>animated");
    EXPECT_FALSE(viewer->AnimationTimer()->isActive()) << "no animated pictures, no timer";
    CountingAnimation picture;
    viewer->Document().animatedImages.push_back(&picture);
    viewer->Relayout();
    ASSERT_TRUE(viewer->AnimationTimer()->isActive());
    EXPECT_EQ(viewer->AnimationTimer()->interval(), 50);
    EXPECT_EQ(picture.rewinds, 1);
    picture.drawn = true;
    QTest::qWait(80);
    EXPECT_GE(picture.advances, 1);
    EXPECT_EQ(viewer->AnimationTimer()->interval(), 40) << "after the first tick";
    viewer->Document().animatedImages.clear();
    viewer->Clear();
    EXPECT_FALSE(viewer->AnimationTimer()->isActive());
}

TEST_F(ViewerTest, AnErrorAfterThePageWasClearedStillShowsWhatWasBuilt) {
    viewer->LoadFromFile(Write("first.htm", TallPage(2000)));
    const std::string second = Write("second.htm", "<p>second page");
    viewer->OnParseBegin = [](THTMLViewer*, std::string&) {
        throw platform::Exception("reading failed");
    };
    EXPECT_THROW(viewer->LoadFromFile(second), platform::Exception);
    EXPECT_FALSE(viewer->Busy());
    EXPECT_EQ(viewer->CurrentFile(), second);
    EXPECT_EQ(viewer->VerticalOffset(), 0);
    EXPECT_LT(viewer->DocHeight(), 2000) << "the old page is gone, laid out empty";
    EXPECT_FALSE(QApplication::overrideCursor());
}

TEST_F(ViewerTest, AHandlerFailingAtTheEndOfALoadLeavesTheViewerReady) {
    // The error reaches the caller, and the viewer takes the next load.
    viewer->OnProgress = [](THTMLViewer*, TProgressStage stage, int) {
        if (stage == TProgressStage::psEnding) throw platform::Exception("progress failed");
    };
    const std::string page = Write("a.htm", "<p>first");
    EXPECT_THROW(viewer->LoadFromString("<p>x"), platform::Exception);
    EXPECT_FALSE(viewer->Busy());
    EXPECT_THROW(viewer->LoadFromFile(page), platform::Exception);
    EXPECT_FALSE(viewer->Busy());
    EXPECT_EQ(viewer->CurrentFile(), page);
    EXPECT_THROW(viewer->LoadFromFile(Write("none.htm", "") + ".missing"), EInOutError)
        << "the first error is the one reported";
    EXPECT_FALSE(viewer->Busy());
    EXPECT_THROW(viewer->Relayout(), platform::Exception);
    EXPECT_FALSE(viewer->Busy());
    EXPECT_FALSE(QApplication::overrideCursor());

    viewer->OnProgress = nullptr;
    viewer->OnProcessing = [](THTMLViewer*, bool busy) {
        if (busy) throw platform::Exception("processing failed");
    };
    EXPECT_THROW(viewer->SetViewImages(false), platform::Exception);
    EXPECT_FALSE(viewer->Busy());
    EXPECT_FALSE(QApplication::overrideCursor());
    viewer->OnProcessing = nullptr;
    viewer->SetViewImages(false);
    EXPECT_FALSE(viewer->ViewImages());
    viewer->LoadFromString("<p>next");
    EXPECT_EQ(viewer->SourceText(), "<p>next");
}

TEST_F(ViewerTest, AFailedLayoutLeavesTheViewerPainting) {
    viewer->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer.get()));
    bool armed = true;
    viewer->OnProgress = [&](THTMLViewer* sender, TProgressStage stage, int) {
        if (armed && stage == TProgressStage::psRunning && sender->NoDraw()) {
            armed = false;
            throw platform::Exception("layout progress failed");
        }
    };
    std::string html;
    for (int i = 0; i < 120; ++i) html += "<p>paragraph " + std::to_string(i);
    EXPECT_THROW(viewer->LoadFromString(html), platform::Exception);
    ASSERT_FALSE(armed) << "the handler failed while the page was laid out";
    EXPECT_FALSE(viewer->NoDraw());
    viewer->OnProgress = nullptr;
    viewer->LoadFromString("<p>next");
    const int before = viewer->PaintPanel()->paintCount();
    viewer->PaintPanel()->repaint();
    EXPECT_EQ(viewer->PaintPanel()->paintCount(), before + 1);
}

TEST_F(ViewerTest, AStringThatFailsToBuildIsShownAsFarAsItWasBuilt) {
    viewer->LoadFromString(TallPage(3000));
    viewer->ScrollToY(2000);
    viewer->OnParseEnd = [](THTMLViewer*) { throw platform::Exception("parse end failed"); };
    EXPECT_THROW(viewer->LoadFromString("<title>Second</title><p>second"), platform::Exception);
    EXPECT_FALSE(viewer->Busy());
    EXPECT_LT(viewer->DocHeight(), 3000) << "laid out again, without the old page";
    EXPECT_EQ(viewer->VerticalOffset(), 0);
    EXPECT_EQ(viewer->PageTitle(), "Second");
}

TEST_F(ViewerTest, AFileUrlIsNeverPutUnderTheServerRoot) {
    viewer->LoadFromFile(Write("page.htm", "<p>x"));
    viewer->SetServerRoot("/srv/root");
    EXPECT_EQ(viewer->ExpandLinkPath("file:///home/ana/a.htm"), "/home/ana/a.htm");
    EXPECT_EQ(viewer->ExpandLinkPath("/home/ana/a.htm"), "/srv/root/home/ana/a.htm");
}
