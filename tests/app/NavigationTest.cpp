// Finding and reading biographies in the real main window: type-ahead, the search and
// its results page, the name list, links, back and forward, credits and the home page.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/FindBar.h"
#include "app/FocusLabel.h"
#include "app/FormMain.h"
#include "app/FormStatus.h"
#include "app/NameGrid.h"
#include "app/Search.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/RecordingDialogs.h"
#include "platform/Screen.h"
#include "platform/Text.h"
#include "platform/qt/QtFormControlWindow.h"
#include "tests/app/AppTestSupport.h"
#include "viewer/HtmlViewer.h"
#include "viewer/PaintPanel.h"

namespace fs = std::filesystem;

namespace {

void Write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Read(const fs::path& path) {
    return platform::ReadWholeFile(path.string());
}

constexpr const char* kResultsHead =
    "<head><title>Resultado da Busca</title><link rel=\"stylesheet\" type=\"text/css\" "
    "href=\"main.css\" "
    "/></head>\r\n";

}  // namespace

class NavigationTest : public ::testing::Test {
  protected:
    void SetUp() override { folder = apptest::ScratchFolder("vultaria-nav"); }
    void TearDown() override {
        form.reset();
        fs::remove_all(folder);
    }

    // The main window on a copy of the bundled collection (or on what the test wrote).
    app::TformMain& Start(bool bundled = true) {
        if (bundled) fs::copy(VULTARIA_COLLECTION, folder, fs::copy_options::recursive);
        form =
            std::make_unique<app::TformMain>(folder.string(), std::make_unique<app::TformStatus>());
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return *form;
    }

    void WriteCatalogues(const std::string& names, const std::string& pages,
                         const std::string& activities) {
        Write(folder / "lista_nome.txt", names);
        Write(folder / "filemd5.txt", pages);
        Write(folder / "lista_atuacao.txt", activities);
        fs::create_directories(folder / "dados");
    }

    std::string Page(const std::string& relative) { return folder.string() + "/dados/" + relative; }
    std::string Current() { return form->viewer->CurrentFile(); }
    std::vector<std::string> Back() { return form->listVolta.lines(); }
    std::vector<std::string> Forward() { return form->listVai.lines(); }

    // The row the name list shows for a page of the catalogue.
    int RowOf(const std::string& page) {
        for (std::size_t i = 0; i < form->listArquivos.count(); ++i)
            if (form->listArquivos.at(i) == page) return static_cast<int>(i);
        ADD_FAILURE() << page << " is not in the catalogue";
        return 0;
    }
    // A click on a row of the name list, as the user makes it.
    void ClickRow(int row) {
        // Scrolled into view while the list has no focus, so the move itself shows nothing.
        form->editSearch->setFocus();
        form->GridNomes->setRow(row);
        const QPoint at(20, (row - form->GridNomes->topRow()) * form->GridNomes->rowHeight() + 5);
        QTest::mouseClick(form->GridNomes->viewport(), Qt::LeftButton, {}, at);
    }
    void Type(const QString& text) {
        form->editSearch->setFocus();
        form->editSearch->setText(text);
    }

    apptest::WindowTestEnvironment environment;
    platform::RecordingDialogs* recorded = environment.recorded;
    fs::path folder;
    std::unique_ptr<app::TformMain> form;
};

TEST_F(NavigationTest, TheHomePageShowsAtStartUp) {
    app::TformMain& main = Start();
    EXPECT_EQ(Current(), folder.string() + "/principal.txt");
    EXPECT_GT(main.viewer->DocHeight(), 100);
    EXPECT_TRUE(Back().empty());
}

TEST_F(NavigationTest, TypeAheadMovesTheListButLoadsNothing) {
    app::TformMain& main = Start();
    int expected = 0;
    while (expected < static_cast<int>(main.listBusca.count()) &&
           platform::AnsiCompareText(main.listBusca.at(static_cast<std::size_t>(expected)), "ANT") <
               0)
        ++expected;
    Type("ant");
    EXPECT_EQ(main.GridNomes->row(), expected);
    EXPECT_EQ(Current(), folder.string() + "/principal.txt") << "type-ahead never loads a page";
    EXPECT_TRUE(Back().empty());
    Type("   ");
    EXPECT_EQ(main.GridNomes->row(), expected) << "blanks move nothing";
    Type("zzzz");
    EXPECT_EQ(main.GridNomes->row(), 0) << "past the end: the first row";
    // Accents are not folded in the key, case is: the first key at or after "ÉRICO".
    Type(QString::fromUtf8("érico"));
    int accented = 0;
    while (platform::AnsiCompareText(main.listBusca.at(static_cast<std::size_t>(accented)),
                                     "\xC9RICO") < 0)
        ++accented;
    EXPECT_EQ(main.GridNomes->row(), accented);
    EXPECT_NE(accented, expected);
}

TEST(TypeAhead, BinarySearchFindsTheFirstAtOrAfter) {
    platform::StringList keys;
    keys.setText("ANA\r\nBETO\r\nBETO\r\nCAIO\r\n");
    EXPECT_EQ(app::TypeAheadRow(keys, "A"), 0);
    EXPECT_EQ(app::TypeAheadRow(keys, "BETO"), 1);
    EXPECT_EQ(app::TypeAheadRow(keys, "BF"), 3);
    EXPECT_EQ(app::TypeAheadRow(keys, "beto"), 1) << "case does not count";
    EXPECT_EQ(app::TypeAheadRow(keys, "ZZ"), 4);
    platform::StringList none;
    EXPECT_EQ(app::TypeAheadRow(none, "A"), 0);
}

TEST_F(NavigationTest, TheResultsPageIsWrittenByteForByte) {
    WriteCatalogues(
        "Jos\xE9 Bonif\xE1"
        "cio\r\nJosefina\r\nMaria Jos\xE9\r\nPedro\r\n",
        "pol\\jose.htm\r\nart\\josefina.htm\r\nmus\\maria.htm\r\nx\\pedro.htm\r\n",
        "<i>estadista</i>\r\natriz\r\ncantora\r\nnada\r\n");
    app::TformMain& main = Start(false);
    Type("jose");
    main.labelOKClick();
    EXPECT_EQ(Read(folder / "search.html"),
              std::string(kResultsHead) + "<h1>Resultado da Busca</h1>\r\n" +
                  "<p><li><a href=\"pol\\jose.htm\">Jos\xE9 Bonif\xE1"
                  "cio</a></li><i>estadista</i>\r\n"
                  "<p><li><a href=\"art\\josefina.htm\">Josefina</a></li>atriz\r\n"
                  "<p><li><a href=\"mus\\maria.htm\">Maria Jos\xE9</a></li>cantora\r\n");
    EXPECT_EQ(Current(), folder.string() + "/search.html");
    EXPECT_EQ(Back(), (std::vector<std::string>{folder.string() + "/principal.txt"}));
    EXPECT_EQ(main.viewer->PageTitle(), "Resultado da Busca");

    // Blanks typed around the name are part of the key.
    Type(" jose");
    main.labelOKClick();
    EXPECT_NE(Read(folder / "search.html").find("Maria Jos\xE9"), std::string::npos);
    EXPECT_EQ(Read(folder / "search.html").find("Josefina"), std::string::npos);
}

TEST_F(NavigationTest, NoResultGivesTheHints) {
    WriteCatalogues("Ana\r\n", "a.htm\r\n", "x\r\n");
    app::TformMain& main = Start(false);
    const std::string expected =
        std::string(kResultsHead) + "<h1>Resultado da Busca</h1>\r\n" +
        "<p>Nenhum resultado foi encontrado.<br>\r\n"
        "<h5>Dicas para uma boa busca</h5><li>Se voc\xEA optou por fazer a pesquisa por um apelido "
        "ou pseudonimo e "
        "n\xE3o obteve resultado.<br>Tente procurar pelo nome verdadeiro</li>\r\n"
        "<br><li>Pesquise por apenas um trecho do nome desejado (Ex. Antonio, pesquise por "
        "\"Ant\").</li>\r\n";
    Type("xyz");
    main.labelOKClick();
    EXPECT_EQ(Read(folder / "search.html"), expected);
    Type("");
    main.labelOKClick();
    EXPECT_EQ(Read(folder / "search.html"), expected) << "an empty key finds nothing";
    EXPECT_EQ(Back().size(), 2u) << "every search is a step of the history";
}

TEST_F(NavigationTest, AHundredHitsAndTheNotice) {
    const std::string notice =
        "<h1>Resultado da Busca</h1><i><p>O programa encontrou um n\xFAmero muito grande de "
        "biografias para a sua "
        "pesquisa.<br>Uma pesquisa mais detalhada pode trazer melhores resultados.</i>\r\n";
    std::string names, pages, activities;
    for (int i = 0; i < 100; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Silva %03d", i);
        names += std::string(name) + "\r\n";
        pages += "p" + std::to_string(i) + ".htm\r\n";
        activities += "\r\n";
    }
    // The hundredth hit is the last name: no notice.
    WriteCatalogues(names, pages, activities);
    app::TformMain& main = Start(false);
    Type("silva");
    main.labelOKClick();
    std::string page = Read(folder / "search.html");
    EXPECT_EQ(page.find("<i><p>O programa"), std::string::npos);
    EXPECT_NE(page.find("Silva 099"), std::string::npos);

    // One name more, which would not even match: the notice, and still 100 hits.
    form.reset();
    WriteCatalogues(names + "Zeca\r\n", pages + "z.htm\r\n", activities + "\r\n");
    app::TformMain& again = Start(false);
    Type("silva");
    again.labelOKClick();
    page = Read(folder / "search.html");
    EXPECT_EQ(page.substr(std::string(kResultsHead).size(), notice.size()), notice);
    std::size_t hits = 0;
    for (std::size_t at = page.find("<li>"); at != std::string::npos;
         at = page.find("<li>", at + 1))
        ++hits;
    EXPECT_EQ(hits, 100u);
}

TEST_F(NavigationTest, AHitBeyondTheCatalogueIsReported) {
    WriteCatalogues("Ana\r\nBia\r\n", "a.htm\r\n", "x\r\ny\r\n");
    app::TformMain& main = Start(false);
    const std::string before = Current();
    Type("bia");
    main.labelOKClick();
    ASSERT_EQ(recorded->messages.size(), 1u);
    EXPECT_EQ(recorded->messages[0].text, u"List index out of bounds (1)");
    EXPECT_EQ(recorded->messages[0].caption, u"Vultaria");
    EXPECT_FALSE(fs::exists(folder / "search.html")) << "no page is written";
    EXPECT_EQ(Current(), before);
}

TEST_F(NavigationTest, EnterInTheSearchBoxSearchesAndKeepsTheFocus) {
    app::TformMain& main = Start();
    Type("carlos");
    int returns = 0;
    QObject::connect(main.editSearch, &QLineEdit::returnPressed, [&] { ++returns; });
    QTest::keyClick(main.editSearch, Qt::Key_Return);
    EXPECT_EQ(returns, 0) << "the key goes no further than the search";
    EXPECT_EQ(Current(), folder.string() + "/search.html");
    EXPECT_TRUE(main.editSearch->hasFocus());
    EXPECT_NE(Read(folder / "search.html").find("Carlos Drummond de Andrade"), std::string::npos);
    EXPECT_EQ(Back().size(), 1u);
}

TEST_F(NavigationTest, TheNameListShowsBiographies) {
    app::TformMain& main = Start();
    const std::string home = Current();
    ClickRow(3);
    const std::string third = Page(std::string(main.listArquivos.at(3)));
    EXPECT_EQ(platform::NormalizeSeparators(Current()), platform::NormalizeSeparators(third));
    EXPECT_EQ(Back(), (std::vector<std::string>{home}));
    // The same row again shows it again and pushes it again.
    ClickRow(3);
    EXPECT_EQ(Back().size(), 2u);
    EXPECT_EQ(Back()[1], Current());
    // Keys move the row and show each biography.
    QTest::keyClick(main.GridNomes, Qt::Key_Down);
    EXPECT_EQ(main.GridNomes->row(), 4);
    EXPECT_EQ(platform::NormalizeSeparators(Current()),
              platform::NormalizeSeparators(Page(std::string(main.listArquivos.at(4)))));
    QTest::keyClick(main.GridNomes, Qt::Key_PageDown);
    EXPECT_GT(main.GridNomes->row(), 5);
    EXPECT_EQ(Back().size(), 4u);
    // Without the focus the list shows nothing (type-ahead moves it).
    main.editSearch->setFocus();
    const std::string shown = Current();
    main.GridNomes->setRow(0);
    EXPECT_EQ(Current(), shown);
}

TEST_F(NavigationTest, BackTwiceAndForwardOnce) {
    app::TformMain& main = Start();
    const std::string home = Current();
    const int a = 1, b = 2, c = 3;
    ClickRow(a);
    const std::string pageA = Current();
    ClickRow(b);
    const std::string pageB = Current();
    ClickRow(c);
    const std::string pageC = Current();
    EXPECT_EQ(Back(), (std::vector<std::string>{home, pageA, pageB}));
    main.imageVoltaClick();
    EXPECT_EQ(Current(), pageB);
    EXPECT_EQ(Forward(), (std::vector<std::string>{pageC}));
    main.imageVoltaClick();
    EXPECT_EQ(Current(), pageA);
    EXPECT_EQ(Forward(), (std::vector<std::string>{pageC, pageB}));
    EXPECT_EQ(Back(), (std::vector<std::string>{home}));
    main.imageVaiClick();
    EXPECT_EQ(Current(), pageB);
    EXPECT_EQ(Forward(), (std::vector<std::string>{pageC}));
    EXPECT_EQ(Back(), (std::vector<std::string>{home, pageA}));
    // The pictures are the buttons.
    QTest::mouseClick(main.imageVolta, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Current(), pageA);
}

TEST_F(NavigationTest, BackWithNothingToGoBackToDoesNothing) {
    app::TformMain& main = Start();
    main.imageVoltaClick();
    EXPECT_TRUE(Forward().empty());
    main.imageVaiClick();
    EXPECT_TRUE(Back().empty());
    // A missing page is skipped, and its entry goes all the same.
    main.listVolta.add(folder.string() + "/gone.htm");
    const std::string shown = Current();
    main.imageVoltaClick();
    EXPECT_EQ(Current(), shown);
    EXPECT_TRUE(Back().empty());
    EXPECT_EQ(Forward(), (std::vector<std::string>{shown}));
}

TEST_F(NavigationTest, LinksInPages) {
    app::TformMain& main = Start();
    ClickRow(RowOf("literatura\\erico_verissimo.htm"));
    const std::string erico = Current();
    bool handled = false;
    // A link to a page of the collection, written with either separator.
    main.viewerHotSpotClick(main.viewer, "literatura/graciliano_ramos.htm", handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(platform::NormalizeSeparators(Current()), Page("literatura/graciliano_ramos.htm"));
    EXPECT_EQ(Back().back(), erico);
    // "#" anywhere: the viewer's own business, nothing pushed.
    const std::size_t depth = Back().size();
    handled = false;
    main.viewerHotSpotClick(main.viewer, "#obras", handled);
    main.viewerHotSpotClick(main.viewer, "../musica/pixinguinha.htm#choro", handled);
    EXPECT_FALSE(handled);
    EXPECT_EQ(Back().size(), depth);
    // "..": pushed, and left to the viewer.
    main.viewerHotSpotClick(main.viewer, "../artes/oscar_niemeyer.htm", handled);
    EXPECT_FALSE(handled);
    EXPECT_EQ(Back().size(), depth + 1);
    EXPECT_TRUE(recorded->shellRequests.empty());
}

TEST_F(NavigationTest, ADotDotLinkClickedIsFollowedByTheViewer) {
    app::TformMain& main = Start();
    ClickRow(RowOf("politica\\juscelino_kubitschek.htm"));
    const std::string before = Current();
    apptest::ClickTextInPage(*main.viewer, u"Oscar Niemeyer");
    EXPECT_EQ(Current(), Page("artes/oscar_niemeyer.htm")) << "relative to the page shown";
    EXPECT_EQ(Back().back(), before);
}

TEST_F(NavigationTest, ExternalLinksGoToTheDesktopOrAreRefused) {
    app::TformMain& main = Start();
    bool handled = false;
    main.viewerHotSpotClick(main.viewer, "https://example.org/bios", handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(recorded->shellRequests, (std::vector<std::string>{"https://example.org/bios"}));
    EXPECT_TRUE(recorded->messages.empty());
    main.viewerHotSpotClick(main.viewer, "mailto:autor@example.org", handled);
    EXPECT_EQ(recorded->shellRequests.size(), 2u);

    // No browser: the message, and the not-found text in the viewer.
    recorded->shellSucceeds = false;
    main.viewerHotSpotClick(main.viewer, "http://example.org/", handled);
    ASSERT_EQ(recorded->messages.size(), 1u);
    EXPECT_EQ(recorded->messages[0].text, u"N\u00E3o existe navegador de internet instalado.");
    EXPECT_EQ(recorded->messages[0].caption, u"Vultaria");
    EXPECT_EQ(recorded->messages[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(main.viewer->SourceText(), "<p><b>Artigo n\xE3o encontrado...</b>");
    EXPECT_EQ(Current(), "");

    // Anything that is not a web or mail address never reaches the desktop.
    recorded->shellSucceeds = true;
    const std::size_t asked = recorded->shellRequests.size();
    for (const char* link : {"file:///usr/bin/xterm", "javascript:alert(1)", "/usr/bin/xterm",
                             "smb://host/share", "naoexiste.htm", "http:"}) {
        SCOPED_TRACE(link);
        handled = false;
        main.viewerHotSpotClick(main.viewer, link, handled);
        EXPECT_TRUE(handled);
        EXPECT_EQ(recorded->shellRequests.size(), asked);
        EXPECT_EQ(recorded->messages.back().text,
                  u"N\u00E3o existe navegador de internet instalado.");
        EXPECT_EQ(main.viewer->SourceText(), "<p><b>Artigo n\xE3o encontrado...</b>");
    }
}

TEST_F(NavigationTest, TheCreditsPage) {
    app::TformMain& main = Start();
    const std::string home = Current();
    QTest::mouseClick(main.labelCreditos, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Current(), folder.string() + "/creditos.html");
    EXPECT_EQ(Back(), (std::vector<std::string>{home}));
    // Without the file, only the push.
    fs::remove(folder / "creditos.html");
    main.labelClick(main.labelCreditos);
    EXPECT_EQ(Current(), folder.string() + "/creditos.html");
    EXPECT_EQ(Back().size(), 2u);
    EXPECT_TRUE(recorded->messages.empty());
}

TEST_F(NavigationTest, TheHomePageKeepsLaterMarkers) {
    WriteCatalogues("", "", "");
    Write(folder / "principal.htm", "<p>##DATA ##DATA</p><p>##HORA ##HORA ##HORA</p>");
    Start(false);
    const std::string page = Read(folder / "principal.txt");
    EXPECT_EQ(std::count(page.begin(), page.end(), '#'), 4) << page;  // one DATA, one HORA left
    EXPECT_NE(page.find(" ##DATA</p>"), std::string::npos);
    EXPECT_NE(page.find(" ##HORA</p>"), std::string::npos);
    EXPECT_EQ(Current(), folder.string() + "/principal.txt");
}

// ---- Finding in the page and zoom, from the keyboard ----

TEST_F(NavigationTest, TheFindBarCountsAndStepsThroughMatches) {
    app::TformMain& main = Start();
    ClickRow(RowOf("literatura\\erico_verissimo.htm"));
    EXPECT_FALSE(main.findBar->isVisible());
    main.viewer->setFocus();
    QTest::keyClick(main.viewer, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(main.findBar->isVisible());
    EXPECT_TRUE(main.findBar->field()->hasFocus());
    EXPECT_EQ(main.findBar->field()->placeholderText(), QString::fromUtf8("Localizar na página"));
    QTest::keyClicks(main.findBar->field(), "erico");
    const int count = main.viewer->FindMatchCount();
    ASSERT_GE(count, 2) << "\xC9rico, twice at least";
    EXPECT_EQ(main.findBar->status()->text(), QString("1 de %1").arg(count));
    QTest::keyClick(main.findBar->field(), Qt::Key_Return);
    EXPECT_EQ(main.findBar->status()->text(), QString("2 de %1").arg(count));
    QTest::keyClick(main.findBar->field(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(main.findBar->field(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(main.findBar->status()->text(), QString("%1 de %1").arg(count))
        << "round to the last";
    QTest::keyClick(main.findBar->field(), Qt::Key_F3);
    EXPECT_EQ(main.findBar->status()->text(), QString("1 de %1").arg(count));
    EXPECT_EQ(main.viewer->SelText(), u"\u00C9rico");
    QTest::keyClicks(main.findBar->field(), "zzz");
    EXPECT_EQ(main.findBar->status()->text(), QString::fromUtf8("Nenhuma ocorrência"));
    // Escape: the bar goes, the viewer has the focus, the match stays selected.
    main.findBar->field()->setText("erico");
    QTest::keyClick(main.findBar->field(), Qt::Key_Escape);
    EXPECT_FALSE(main.findBar->isVisible());
    EXPECT_TRUE(main.viewer->hasFocus());
    EXPECT_EQ(main.viewer->SelText(), u"\u00C9rico");
    EXPECT_EQ(main.viewer->FindMatchCount(), 0) << "no marks once the bar is closed";
    // Opened again, the old text is there, selected.
    QTest::keyClick(main.viewer, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(main.findBar->field()->selectedText(), "erico");
    // Another page clears the matches and the count.
    ClickRow(RowOf("musica\\tom_jobim.htm"));
    EXPECT_EQ(main.viewer->FindMatchCount(), 0);
}

TEST_F(NavigationTest, ZoomKeysStepAndShowTheZoom) {
    app::TformMain& main = Start();
    ClickRow(RowOf("literatura\\erico_verissimo.htm"));
    main.viewer->setFocus();
    EXPECT_FALSE(main.zoomLabel->isVisible());
    QTest::keyClick(main.viewer, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(main.viewer->Zoom(), 110);
    EXPECT_TRUE(main.zoomLabel->isVisible());
    EXPECT_EQ(main.zoomLabel->text(), "110 %");
    QTest::keyClick(main.viewer, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(main.viewer->Zoom(), 120);
    QTest::keyClick(main.viewer, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(main.viewer->Zoom(), 110);
    // Ctrl and the wheel too.
    const QPoint at(50, 50);
    QWheelEvent wheel(at, main.viewer->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(main.viewer, &wheel);
    EXPECT_EQ(main.viewer->Zoom(), 120);
    EXPECT_EQ(main.viewer->VerticalOffset(), 0) << "a zooming wheel does not scroll";
    // Kept for the next page; Ctrl+0 goes back.
    ClickRow(RowOf("musica\\tom_jobim.htm"));
    EXPECT_EQ(main.viewer->Zoom(), 120);
    QTest::keyClick(main.viewer, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(main.viewer->Zoom(), 100);
    EXPECT_FALSE(main.zoomLabel->isVisible());
}

TEST_F(NavigationTest, AFailedSearchIsReportedFromOkButNotFromEnter) {
    WriteCatalogues("Ana\r\nBia\r\n", "a.htm\r\n", "x\r\ny\r\n");
    app::TformMain& main = Start(false);
    Type("bia");
    QTest::keyClick(main.editSearch, Qt::Key_Return);
    EXPECT_TRUE(recorded->messages.empty()) << "Enter fails silently";
    QTest::mouseClick(main.labelOK, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(recorded->messages.size(), 1u);
    EXPECT_EQ(recorded->messages[0].text, u"List index out of bounds (1)");
}

TEST_F(NavigationTest, AListThatCannotTakeTheFocusRunsNoSearch) {
    app::TformMain& main = Start();
    main.GridNomes->hide();
    Type("carlos");
    QTest::keyClick(main.editSearch, Qt::Key_Return);
    EXPECT_EQ(Current(), folder.string() + "/principal.txt");
    EXPECT_TRUE(Back().empty());
}

TEST_F(NavigationTest, ARowWithoutAPageDoesNothing) {
    WriteCatalogues("Ana\r\nBia\r\n", "a.htm\r\n", "x\r\ny\r\n");
    app::TformMain& main = Start(false);
    ClickRow(1);
    EXPECT_TRUE(Back().empty()) << "nothing is pushed for a row past the page list";
    EXPECT_EQ(main.GridNomes->row(), 1);
}

TEST_F(NavigationTest, AHomePageThatCannotBeWrittenIsReported) {
    WriteCatalogues("Ana\r\n", "a.htm\r\n", "x\r\n");
    fs::create_directories(folder / "principal.txt");  // a folder where the page would go
    app::TformMain& main = Start(false);
    ASSERT_EQ(recorded->messages.size(), 1u);
    EXPECT_NE(recorded->messages[0].text.find(u"principal.txt"), std::u16string::npos);
    EXPECT_EQ(main.viewer->CurrentFile(), "");
}

TEST_F(NavigationTest, BackAndForwardBringBackWhatAPagesFormHeld) {
    app::TformMain& main = Start();
    ClickRow(1);
    const std::string formPage = Current();
    Write(formPage, "<form><input name=nome><input type=checkbox name=aviso></form>");
    ClickRow(2);
    main.imageVoltaClick();
    ASSERT_EQ(Current(), formPage);
    const auto edit = [&]() -> QLineEdit* {
        const auto& controls = main.viewer->Document().allControls;
        if (controls.empty()) return nullptr;
        auto* window = dynamic_cast<platform::QtFormControlWindow*>(controls[0]->PlatformControl());
        return window ? qobject_cast<QLineEdit*>(window->widget()) : nullptr;
    };
    ASSERT_NE(edit(), nullptr);
    QTest::keyClicks(edit(), "Anita");
    ClickRow(3);
    main.imageVoltaClick();
    ASSERT_EQ(Current(), formPage);
    EXPECT_EQ(edit()->text(), "Anita");
    QTest::keyClicks(edit(), " Malfatti");
    main.imageVoltaClick();
    main.imageVaiClick();
    EXPECT_EQ(edit()->text(), "Anita Malfatti") << "forward brings them back too";

    // Chosen again from the list, the page starts afresh.
    ClickRow(2);
    ClickRow(1);
    EXPECT_EQ(edit()->text(), "");
}
