// Printing on real fonts into PDF files, the way the reader prints when the system has
// no printer, and the render tool's --pdf: the pages counted are the pages written,
// text lands inside the margins, and a print that fails or stops leaves the file that
// was there alone.

#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/RecordingDialogs.h"
#include "platform/qt/QtPrinters.h"
#include "platform/qt/QtScreen.h"
#include "tests/support/ScratchFolder.h"
#include "tests/viewer/PrintedPdf.h"
#include "viewer/HtmlViewer.h"
#include "viewer/Printer.h"

namespace fs = std::filesystem;

namespace {

const std::string kBiography =
    std::string(VULTARIA_COLLECTION) + "/dados/literatura/erico_verissimo.htm";

// Paragraphs enough for a few A4 pages.
std::string LongPage() {
    std::string html = "<html><head><title>Longa</title></head><body>";
    for (int i = 1; i <= 120; ++i)
        html += "<p>Par\xE1grafo " + std::to_string(i) +
                ": em 1930 mudou-se para Porto Alegre, onde passou a trabalhar na Revista do "
                "Globo e na Editora Globo.</p>";
    return html + "</body></html>";
}

}  // namespace

class PdfPrintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = ScratchFolder("vultaria-pdf");
        fs::create_directories(folder);
        previousScreen = platform::InstallScreen(std::make_unique<platform::QtScreen>());
        previousDialogs = platform::InstallDialogs(std::make_unique<platform::RecordingDialogs>());
        previousPrinters = platform::InstallPrinters(std::make_unique<platform::QtPrinters>());
        previousCurrent = SetPrinter(nullptr);
        PrintTo(folder / "print.pdf");
        viewer = std::make_unique<THTMLViewer>();
        viewer->resize(800, 600);
    }
    void TearDown() override {
        viewer.reset();
        SetPrinter(std::move(previousCurrent));
        platform::InstallPrinters(std::move(previousPrinters));
        platform::InstallDialogs(std::move(previousDialogs));
        platform::InstallScreen(std::move(previousScreen));
        fs::remove_all(folder);
    }

    // What the print dialog leaves behind when "print to file" is chosen, on A4.
    void PrintTo(const fs::path& file) {
        platform::PrinterSettings& settings = platform::Printers().settings;
        settings = {};
        settings.outputFile = file.string();
        settings.paperWidthMm = 210;
        settings.paperHeightMm = 297;
    }
    std::vector<std::string> LeftOvers() {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            if (entry.path().filename().string().find(".tmp-") != std::string::npos)
                names.push_back(entry.path().string());
        return names;
    }

    fs::path folder;
    std::unique_ptr<platform::ScreenServices> previousScreen;
    std::unique_ptr<platform::DialogService> previousDialogs;
    std::unique_ptr<platform::PrinterService> previousPrinters;
    std::unique_ptr<TvwPrinter> previousCurrent;
    std::unique_ptr<THTMLViewer> viewer;
};

TEST_F(PdfPrintTest, ABiographyPrintsAsManyPagesAsCounted) {
    viewer->LoadFromFile(kBiography);
    const int normal = viewer->NumPrinterPages();
    EXPECT_GE(normal, 1);
    viewer->SetPrintScale(4.0);
    const int pages = viewer->NumPrinterPages();
    ASSERT_GE(pages, 3 * normal) << "four times as large";
    viewer->Print(0, pages);
    const PdfInfo info = ReadPdfInfo((folder / "print.pdf").string());
    EXPECT_EQ(info.pages, pages);
    EXPECT_TRUE(info.pageSize.startsWith("595 x 842")) << info.pageSize.toStdString();
    EXPECT_TRUE(LeftOvers().empty());

    // At 72 dpi the 2 cm margins are 56 pixels: ink inside them on every page, none in
    // them (no header or footer is set).
    for (int page = 1; page <= pages; ++page) {
        SCOPED_TRACE(page);
        const QImage image = RenderPdfPage((folder / "print.pdf").string(), page, 72);
        ASSERT_EQ(image.size(), QSize(595, 842));
        EXPECT_GT(InkIn(image, QRect(58, 58, 595 - 116, 842 - 116)), 200);
        EXPECT_EQ(InkIn(image, QRect(0, 0, 595, 54)), 0) << "top margin";
        EXPECT_EQ(InkIn(image, QRect(0, 842 - 54, 595, 54)), 0) << "bottom margin";
        EXPECT_EQ(InkIn(image, QRect(0, 0, 54, 842)), 0) << "left margin";
        EXPECT_EQ(InkIn(image, QRect(595 - 54, 0, 54, 842)), 0) << "right margin";
    }
    // The first page begins with the name, four times as large (a heading of about half
    // an inch on paper, below its own margin): the upper part of the content is dark.
    const QImage first = RenderPdfPage((folder / "print.pdf").string(), 1, 72);
    EXPECT_GT(InkIn(first, QRect(58, 58, 479, 200)), 1000);
}

TEST_F(PdfPrintTest, APageRangeOfALongPage) {
    viewer->LoadFromString(LongPage(), (folder / "longa.htm").string());
    const int pages = viewer->NumPrinterPages();
    ASSERT_GE(pages, 4);
    viewer->Print(2, 3);
    EXPECT_EQ(ReadPdfInfo((folder / "print.pdf").string()).pages, 2);
    // Page 2 of the print is the third page: not the same ink as the first.
    const QImage second = RenderPdfPage((folder / "print.pdf").string(), 2, 36);
    EXPECT_GT(InkIn(second, second.rect()), 500);
}

TEST_F(PdfPrintTest, AStoppedOrFailedPrintLeavesTheOldFile) {
    viewer->LoadFromFile(kBiography);
    std::ofstream(folder / "print.pdf", std::ios::binary) << "last week's print";
    viewer->OnPrintPage = [](THTMLViewer*, int page, bool& stop) {
        if (page == 0) stop = true;
    };
    viewer->Print(0, 1);
    EXPECT_EQ(platform::ReadWholeFile((folder / "print.pdf").string()), "last week's print");
    EXPECT_TRUE(LeftOvers().empty());
    viewer->OnPrintPage = nullptr;

    // A folder that is not there: the error says which file, and nothing is written.
    PrintTo(folder / "missing" / "print.pdf");
    try {
        viewer->Print(0, 1);
        ADD_FAILURE() << "printed into a missing folder";
    } catch (const EPrinter& error) {
        EXPECT_NE(std::string(error.what()).find("missing/print.pdf"), std::string::npos)
            << error.what();
    }
    EXPECT_FALSE(fs::exists(folder / "missing"));

    // No printer chosen and no file: nothing can be printed, but pages can be counted.
    platform::Printers().settings.outputFile.clear();
    if (platform::Printers().defaultPrinterName().empty()) {
        EXPECT_THROW(viewer->Print(0, 1), EPrinter);
        EXPECT_GE(viewer->NumPrinterPages(), 1);
    }

    // And a print that works replaces the old file.
    PrintTo(folder / "print.pdf");
    viewer->Print(0, 1);
    EXPECT_EQ(ReadPdfInfo((folder / "print.pdf").string()).pages, 1);
}

TEST_F(PdfPrintTest, TheRenderToolPrintsTheSamePages) {
    const fs::path page = folder / "longa.htm";
    std::ofstream(page, std::ios::binary) << LongPage();
    viewer->LoadFromFile(page.string());
    const int pages = viewer->NumPrinterPages();
    QProcess tool;
    tool.start(QString::fromStdString(platform::ExecutableDirectory() + "vultaria-render"),
               {QString::fromStdString(page.string()), "--pdf",
                QString::fromStdString((folder / "tool.pdf").string())});
    ASSERT_TRUE(tool.waitForFinished(120000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    const PdfInfo info = ReadPdfInfo((folder / "tool.pdf").string());
    EXPECT_EQ(info.pages, pages);
    EXPECT_TRUE(info.pageSize.startsWith("595 x 842"));
    // Same pages, same ink.
    viewer->Print(0, pages);
    for (int p : {1, pages}) {
        const QImage mine = RenderPdfPage((folder / "print.pdf").string(), p, 36);
        const QImage theirs = RenderPdfPage((folder / "tool.pdf").string(), p, 36);
        EXPECT_EQ(mine, theirs) << "page " << p;
    }
    tool.start(QString::fromStdString(platform::ExecutableDirectory() + "vultaria-render"),
               {QString::fromStdString(page.string()), "--pdf",
                QString::fromStdString((folder / "none" / "tool.pdf").string())});
    ASSERT_TRUE(tool.waitForFinished(120000));
    EXPECT_EQ(tool.exitCode(), 1) << "a file that cannot be written is an error";
}
