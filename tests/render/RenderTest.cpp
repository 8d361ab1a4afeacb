// The renderer end to end, on real fonts: every page of the bundled collection builds,
// lays out and paints, and what it shows is where the page says.

#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>

#include "layout/FontObj.h"
#include "platform/RecordingDialogs.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtScreen.h"
#include "tools/render/PageRenderer.h"

namespace fs = std::filesystem;

namespace {

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous = platform::InstallScreen(std::make_unique<platform::QtScreen>());
        auto recording = std::make_unique<platform::RecordingDialogs>();
        dialogs = recording.get();
        previousDialogs = platform::InstallDialogs(std::move(recording));
    }
    void TearDown() override {
        platform::InstallScreen(std::move(previous));
        platform::InstallDialogs(std::move(previousDialogs));
    }
    std::unique_ptr<platform::ScreenServices> previous;
    std::unique_ptr<platform::DialogService> previousDialogs;
    platform::RecordingDialogs* dialogs = nullptr;
    platform::QtCanvas measuring{nullptr};
};

int InkRows(const QImage& image, QRgb background) {
    int rows = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background) {
                ++rows;
                break;
            }
    return rows;
}

}  // namespace

TEST_F(RenderTest, EveryBundledPageRenders) {
    int pages = 0;
    for (const auto& entry : fs::recursive_directory_iterator(VULTARIA_COLLECTION)) {
        const std::string path = entry.path().string();
        if (!entry.is_regular_file() || (entry.path().extension() != ".htm" && entry.path().extension() != ".html"))
            continue;
        SCOPED_TRACE(path);
        PageRenderer renderer(measuring);
        renderer.LoadFile(path, false);
        const int height = renderer.Layout(640);
        EXPECT_GT(height, 40);
        const QImage image = renderer.Paint();
        ASSERT_EQ(image.width(), 640);
        EXPECT_GT(InkRows(image, image.pixel(0, 0)), height / 4) << "a page with text shows ink on many rows";
        EXPECT_FALSE(renderer.Text().empty());
        ++pages;
    }
    EXPECT_GE(pages, 50);
    EXPECT_TRUE(dialogs->messages.empty()) << "no layout error was reported";
}

TEST_F(RenderTest, PicturesAreDrawnWhereTheLayoutPlacedThem) {
    PageRenderer renderer(measuring);
    renderer.LoadFile(std::string(VULTARIA_COLLECTION) + "/dados/artes/candido_portinari.htm", false);
    renderer.Layout(700);
    const QImage image = renderer.Paint();
    // The JPEG floats right: many distinct colours in the right third, none of the
    // page background's.
    int sky = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 2 * 700 / 3; x < 700; ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() > 180 && c.red() < 160) ++sky;
        }
    EXPECT_GT(sky, 500) << "the blue sky of the picture";
}

TEST_F(RenderTest, TextComesOutAsTheCopyGivesIt) {
    PageRenderer renderer(measuring);
    renderer.LoadHtml("<h1>T\xEDtulo</h1><p>Um <b>par\xE1grafo</b>.<p>Outro", "/tmp/");
    renderer.Layout(400);
    // A paragraph is followed by an empty line; the last one ends the text.
    EXPECT_EQ(renderer.Text(), "Título\r\nUm parágrafo.\r\n\r\nOutro");
}

TEST_F(RenderTest, PlainTextKeepsItsLines) {
    const std::string file = ::testing::TempDir() + "vultaria-plain.txt";
    {
        std::FILE* out = std::fopen(file.c_str(), "wb");
        std::fputs("linha um\r\n  linha <dois>\r\n", out);
        std::fclose(out);
    }
    PageRenderer renderer(measuring);
    renderer.LoadFile(file, true);
    renderer.Layout(400);
    EXPECT_NE(renderer.Text().find("  linha <dois>"), std::string::npos) << renderer.Text();
    fs::remove(file);
}

TEST_F(RenderTest, LinksAreUnderlinedUnlessTheViewerSaysNot) {
    const std::string page =
        "<a href=x.htm>plain</a> <a href=y.htm style='text-decoration: underline'>own</a>";
    PageRenderer underlined(measuring);
    underlined.LoadHtml(page, "/tmp/");
    ASSERT_EQ(underlined.document().linkRuns.size(), 2u);
    EXPECT_TRUE(underlined.document().linkRuns[0]->font.underline())
        << "the render tool underlines links";
    TDocumentDefaults defaults;
    defaults.linkUnderline = false;
    PageRenderer plain(measuring, defaults);
    plain.LoadHtml(page, "/tmp/");
    ASSERT_EQ(plain.document().linkRuns.size(), 2u);
    EXPECT_FALSE(plain.document().linkRuns[0]->font.underline());
    EXPECT_TRUE(plain.document().linkRuns[1]->font.underline())
        << "the page's own rule still applies";
}

TEST_F(RenderTest, FormControlsShowAsTheyPrint) {
    // No windows here: each control is drawn as its printed picture, framed in the
    // shadow grey, and the dump lists it.
    auto shadowPixels = [](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) == 0xA0A0A0) ++count;
        return count;
    };
    PageRenderer renderer(measuring);
    renderer.LoadHtml(
        "<p>Nome: <input name=nome value=Maria> <input type=checkbox checked>"
        "<select><option>um</select><textarea>texto</textarea><input type=submit>",
        "/tmp/");
    renderer.Layout(600);
    EXPECT_GT(shadowPixels(renderer.Paint()), 100);
    const std::string dump = renderer.Dump();
    for (const char* kind : {"edit", "checkbox", "combobox", "textarea", "submit"})
        EXPECT_NE(dump.find(std::string("control ") + kind), std::string::npos) << kind << "\n"
                                                                                << dump;
    PageRenderer plain(measuring);
    plain.LoadHtml("<p>Nome: Maria", "/tmp/");
    plain.Layout(600);
    EXPECT_EQ(shadowPixels(plain.Paint()), 0);
}
