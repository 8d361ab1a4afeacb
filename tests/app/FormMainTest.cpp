#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSplitter>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/FocusLabel.h"
#include "app/FormMain.h"
#include "app/FormStatus.h"
#include "app/NameGrid.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/RecordingDialogs.h"
#include "platform/StringList.h"
#include "tests/app/AppTestSupport.h"

namespace fs = std::filesystem;

namespace {

void Write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

class FormMainTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = apptest::ScratchFolder("vultaria-app");
        fs::create_directories(folder / "dados");
    }
    void TearDown() override {
        form.reset();
        fs::remove_all(folder);
    }

    void WriteCatalogues(const std::string& names, const std::string& pages,
                         const std::string& activities) {
        Write(folder / "lista_nome.txt", names);
        Write(folder / "filemd5.txt", pages);
        Write(folder / "lista_atuacao.txt", activities);
    }

    app::TformMain& Start() {
        auto status = std::make_unique<app::TformStatus>();
        status->show();
        statusWindow = status.get();
        form = std::make_unique<app::TformMain>(folder.string(), std::move(status));
        return *form;
    }

    // The cell as the grid paints it.
    QImage PaintCell(int row, bool selected) {
        QImage image(169, 15, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        form->GridNomesDrawCell(painter, row, QRect(0, 0, 169, 15), selected);
        return image;
    }

    static int DarkPixels(const QImage& image, const QColor& background) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) != background) ++count;
        return count;
    }

    apptest::WindowTestEnvironment environment;
    platform::RecordingDialogs* recorded = environment.recorded;
    fs::path folder;
    app::TformStatus* statusWindow = nullptr;
    std::unique_ptr<app::TformMain> form;
};

}  // namespace

TEST(MainWindowGeometry, FollowsTheScreen) {
    using app::MainWindowGeometry;
    auto g = MainWindowGeometry({1024, 768, 96, 24});
    EXPECT_FALSE(g.maximized);
    EXPECT_EQ(g.width, 921);
    EXPECT_EQ(g.height, 691);
    g = MainWindowGeometry({1280, 1024, 96, 24});
    EXPECT_EQ(g.width, 1152);
    EXPECT_EQ(g.height, 921);
    g = MainWindowGeometry({800, 600, 96, 24});
    EXPECT_FALSE(g.maximized);
    EXPECT_EQ(g.width, 720);
    EXPECT_EQ(g.height, 540);
    g = MainWindowGeometry({640, 480, 96, 24});
    EXPECT_TRUE(g.maximized);
    EXPECT_EQ(g.height, 432);
    // Either dimension below the limit maximises.
    EXPECT_TRUE(MainWindowGeometry({1024, 599, 96, 24}).maximized);
    EXPECT_TRUE(MainWindowGeometry({799, 768, 96, 24}).maximized);
}

TEST_F(FormMainTest, ReadsTheThreeCataloguesIntoParallelLists) {
    WriteCatalogues(
        "Ab\xEDlio\r\nJos\xE9 \xC1lvares\rZ\xE9lia\n\x9F"
        "bsen",
        "a\\abilio.htm\r\nb\\jose.htm\r\nc\\zelia.htm\r\nd\\y.htm\r\n",
        "poeta\r\n<i>jurista</i>\r\natriz\r\n\r\n");
    app::TformMain& main = Start();
    EXPECT_EQ(main.PastaBase, folder.string() + "/");
    EXPECT_EQ(main.PastaDados, folder.string() + "/dados/");
    ASSERT_EQ(main.listNomes.count(), 4u);
    EXPECT_EQ(main.listNomes.at(1), "Jos\xE9 \xC1lvares");
    EXPECT_EQ(main.listBusca.lines(),
              (std::vector<std::string>{"ABILIO", "JOSE ALVARES", "ZELIA", "YBSEN"}));
    EXPECT_EQ(main.listArquivos.at(2), "c\\zelia.htm");
    EXPECT_EQ(main.listAtuacao.count(), 4u);
    EXPECT_EQ(main.GridNomes->rowCount(), 4);
    EXPECT_TRUE(recorded->messages.empty());
    EXPECT_FALSE(statusWindow->isVisible());
    EXPECT_EQ(main.windowTitle(), "Vultaria");
    EXPECT_EQ(main.size(), QSize(921, 691));
}

TEST_F(FormMainTest, AnEmptyNameFileGivesOneEmptyRow) {
    WriteCatalogues("", "", "");
    app::TformMain& main = Start();
    EXPECT_EQ(main.listNomes.count(), 0u);
    EXPECT_EQ(main.GridNomes->rowCount(), 1);
    const QColor base = main.GridNomes->palette().color(QPalette::Base);
    EXPECT_EQ(DarkPixels(PaintCell(0, false), base), 0) << "nothing is written in the empty row";
}

TEST_F(FormMainTest, AMissingCatalogueIsReportedAndStartUpStillEnds) {
    Write(folder / "lista_nome.txt", "Ab\xEDlio\r\n");
    Write(folder / "lista_atuacao.txt", "poeta\r\n");
    app::TformMain& main = Start();
    ASSERT_EQ(recorded->messages.size(), 1u);
    const auto& message = recorded->messages.front();
    EXPECT_EQ(message.caption, u"Vultaria");
    EXPECT_EQ(message.icon, platform::MessageIcon::Error);
    EXPECT_NE(message.text.find(u"filemd5.txt"), std::u16string::npos);
    EXPECT_FALSE(statusWindow->isVisible()) << "the status window must not stay up";
    EXPECT_EQ(main.listNomes.count(), 0u);
    EXPECT_EQ(main.listBusca.count(), 0u);
    EXPECT_EQ(main.GridNomes->rowCount(), 1);
    EXPECT_FALSE(fs::exists(folder / "principal.txt")) << "the home page is not built";
}

TEST_F(FormMainTest, ACatalogueThatIsAFolderIsReportedByName) {
    fs::create_directories(folder / "lista_nome.txt");
    Write(folder / "filemd5.txt", "a.htm\r\n");
    Write(folder / "lista_atuacao.txt", "poeta\r\n");
    app::TformMain& main = Start();
    ASSERT_EQ(recorded->messages.size(), 1u);
    EXPECT_NE(recorded->messages.front().text.find(u"lista_nome.txt"), std::u16string::npos)
        << platform::Utf16ToUtf8(recorded->messages.front().text);
    EXPECT_EQ(main.listNomes.count(), 0u);
}

TEST_F(FormMainTest, CrOnlyAndMissingFinalLineEndReadTheSame) {
    WriteCatalogues("Ana\rBeto\rCaio", "a.htm\rb.htm\rc.htm\r", "x\ry\rz");
    app::TformMain& main = Start();
    EXPECT_EQ(main.listNomes.lines(), (std::vector<std::string>{"Ana", "Beto", "Caio"}));
    EXPECT_EQ(main.GridNomes->rowCount(), 3);
}

TEST_F(FormMainTest, GridCellsUseTheSelectionColoursAndWriteTheName) {
    WriteCatalogues("Ana\r\nBeto\r\n", "a\r\nb\r\n", "x\r\ny\r\n");
    Start();
    const QPalette& palette = form->GridNomes->palette();
    const QImage plain = PaintCell(1, false);
    const QImage selected = PaintCell(1, true);
    // The corners are background; somewhere in between is the name.
    EXPECT_EQ(plain.pixelColor(168, 0), palette.color(QPalette::Base));
    EXPECT_EQ(selected.pixelColor(168, 0), palette.color(QPalette::Highlight));
    EXPECT_GT(DarkPixels(plain, palette.color(QPalette::Base)), 10);
    EXPECT_GT(DarkPixels(selected, palette.color(QPalette::Highlight)), 10);
    // A row past the names is only filled.
    EXPECT_EQ(DarkPixels(PaintCell(5, true), palette.color(QPalette::Highlight)), 0);
}

TEST_F(FormMainTest, LabelsGrowAndDarkenUnderTheMouse) {
    WriteCatalogues("", "", "");
    app::TformMain& main = Start();
    for (app::TFocusLabel* label :
         {main.labelCopiar, main.labelImprimir, main.labelCreditos, main.labelSair, main.labelOK}) {
        SCOPED_TRACE(label->objectName().toStdString());
        main.labelImparcialidadeMouseEnter(label);
        EXPECT_EQ(label->font().pixelSize(), 20);  // 15 points
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 0, 0));
        EXPECT_TRUE(label->font().bold());
        main.labelImparcialidadeMouseLeave(label);
        EXPECT_EQ(label->font().pixelSize(), 17);  // 13 points
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0x37, 0x31, 0x34));
    }
    EXPECT_EQ(main.labelCreditos->hint(), "creditos.html");
}

TEST_F(FormMainTest, GridFollowsThePanelAndTheSplitter) {
    WriteCatalogues("Ana\r\n", "a\r\n", "x\r\n");
    app::TformMain& main = Start();
    main.show();
    QApplication::processEvents();
    EXPECT_EQ(main.GridNomes->height(), main.panelBusca->height() - 85 - 10);
    main.resize(main.width(), main.height() - 100);
    QApplication::processEvents();
    EXPECT_EQ(main.GridNomes->height(), main.panelBusca->height() - 85 - 10);
    main.Splitter1->setSizes({260, main.Splitter1->width() - 263});
    main.Splitter1Moved();
    EXPECT_EQ(main.GridNomes->width(), main.panelBusca->width() - 12);
}

TEST_F(FormMainTest, HomePageIsWrittenFromTheTemplate) {
    WriteCatalogues("", "", "");
    Write(folder / "principal.htm", "<p>Hoje: ##DATA\n##HORA</p>\r\nfim");
    Start();
    const std::string page = platform::ReadWholeFile((folder / "principal.txt").string());
    EXPECT_EQ(page.find("##"), std::string::npos) << page;
    EXPECT_EQ(page.substr(page.size() - 5), "fim\r\n");
    EXPECT_EQ(std::count(page.begin(), page.end(), '\n'), 3);
    EXPECT_EQ(std::count(page.begin(), page.end(), '\r'), 3);
}

TEST_F(FormMainTest, AMissingTemplateGivesAnEmptyHomePage) {
    WriteCatalogues("", "", "");
    Start();
    EXPECT_EQ(platform::ReadWholeFile((folder / "principal.txt").string()), "");
}

TEST_F(FormMainTest, SmallScreensMaximiseTheWindow) {
    WriteCatalogues("", "", "");
    platform::SetScreenOverride(platform::ScreenInfo{640, 480, 96, 24});
    app::TformMain& main = Start();
    EXPECT_TRUE(main.windowState() & Qt::WindowMaximized);
    platform::SetScreenOverride(platform::ScreenInfo{800, 600, 96, 24});
    form.reset();
    app::TformMain& again = Start();
    EXPECT_FALSE(again.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(again.size(), QSize(720, 540));
}

// The real window on a copy of the bundled collection.
TEST_F(FormMainTest, ShowsTheBundledCollection) {
    fs::remove_all(folder);
    fs::copy(VULTARIA_COLLECTION, folder, fs::copy_options::recursive);
    app::TformMain& main = Start();
    ASSERT_TRUE(recorded->messages.empty())
        << platform::Utf16ToUtf8(recorded->messages.front().text);
    ASSERT_GE(main.listNomes.count(), 40u);
    EXPECT_EQ(main.listNomes.count(), main.listArquivos.count());
    EXPECT_EQ(main.listNomes.count(), main.listAtuacao.count());
    EXPECT_EQ(main.GridNomes->rowCount(), static_cast<int>(main.listNomes.count()));
    main.show();
    QApplication::processEvents();
    const QImage grid = main.GridNomes->viewport()->grab().toImage();
    const int visible = main.GridNomes->viewport()->height() / 15;
    EXPECT_LE(main.GridNomes->lastPaintedRowCount(), visible + 1) << "only visible rows are drawn";
    EXPECT_GE(main.GridNomes->lastPaintedRowCount(),
              std::min<int>(visible, main.listNomes.count()));
    // Each visible row has its name written in it.
    const QColor base = main.GridNomes->palette().color(QPalette::Base);
    const QColor highlight = main.GridNomes->palette().color(QPalette::Highlight);
    for (int row = 0; row < std::min(visible, 10); ++row) {
        const QImage cell = grid.copy(0, row * 15, grid.width(), 15);
        EXPECT_GT(DarkPixels(cell, row == 0 ? highlight : base), 10) << "row " << row;
    }
    EXPECT_TRUE(fs::exists(folder / "principal.txt"));
}
