// Printing and counting printer pages on a recording printer: the page geometry, page
// ranges, the margin bands, header, footer and page events, stopping, the printer's
// state messages, page recordings, and what the print copy shares with the page.

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "layout/SectionBase.h"
#include "platform/CodePage.h"
#include "platform/RecordingPrinters.h"
#include "tests/viewer/ViewerTestSupport.h"
#include "viewer/MetaFilePrinter.h"
#include "viewer/Pagination.h"
#include "viewer/Printer.h"

namespace {

// The recording printer's page: A4 at 600 dpi, 100 pixels out of reach on each side.
// With margins of 2 cm (472 pixels) and 96 logical units per inch the content box is
// 643 x 972 logical units at (60, 60); the printable part is 762 x 1091.
constexpr int kLeftL = 60, kTopL = 60, kWidthL = 643, kHeightL = 972;

// `parts` blocks of `height` pixels, each beginning with the line "Trecho N".
std::string Trechos(int parts, int height) {
    std::string html = "<html><head><title>Trechos</title></head><body style=\"margin:0\">";
    for (int i = 1; i <= parts; ++i)
        html += "<div style=\"height:" + std::to_string(height) + "px;margin:0\">Trecho " +
                std::to_string(i) + "</div>";
    return html + "</body></html>";
}

// The x of every line of text drawn on a page, by its text.
std::map<std::string, int> TextsOn(const std::vector<std::string>& page) {
    static const std::regex text(R"re(^text (-?\d+),(-?\d+) .*"(.*)"$)re");
    std::map<std::string, int> found;
    for (const std::string& line : page) {
        std::smatch match;
        if (std::regex_match(line, match, text)) found[match[3]] = std::stoi(match[1]);
    }
    return found;
}

bool Has(const std::vector<std::string>& lines, const std::string& wanted) {
    return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

bool HasPrefix(const std::vector<std::string>& lines, const std::string& prefix) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
}

// An item that ends every page where the page begins, as a faulty item might.
class StuckItem : public TSectionBase {
  public:
    StuckItem(TSectionList* document, int height) : TSectionBase(document) { flowHeight = height; }
    std::unique_ptr<TSectionBase> CreatePrintCopy(TSectionList* document) const override {
        return std::make_unique<StuckItem>(document, flowHeight);
    }
    int Draw(platform::Canvas&, const platform::Rect& clip, IndentManager&, int, int,
             int) override {
        if (ownerDocument && ownerDocument->isPrinting)
            ownerDocument->pageBottomY = ownerDocument->scrollY + clip.top;
        return layoutY + flowHeight;
    }
};

}  // namespace

class PrintingTest : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        auto service = std::make_unique<platform::RecordingPrinters>();
        printers = service.get();
        previousPrinters = platform::InstallPrinters(std::move(service));
        previousCurrent = SetPrinter(nullptr);
    }
    void TearDown() override {
        SetPrinter(std::move(previousCurrent));
        platform::InstallPrinters(std::move(previousPrinters));
        ViewerTest::TearDown();
    }

    void Show(const std::string& html) { viewer->LoadFromString(html, Write("page.htm", html)); }

    const platform::RecordingPrinters::Job& OnlyJob() {
        EXPECT_EQ(printers->jobs.size(), 1u);
        static const platform::RecordingPrinters::Job none;
        return printers->jobs.empty() ? none : printers->jobs.front();
    }

    platform::RecordingPrinters* printers = nullptr;
    std::unique_ptr<platform::PrinterService> previousPrinters;
    std::unique_ptr<TvwPrinter> previousCurrent;
};

TEST(PageGeometry, MarginsScaleAndUnits) {
    platform::RecordingPrinters printers;
    TPrintOptions options;
    TPageGeometry g = TPageGeometry::Of(printers.page, options);
    // 2.0 / 2.54 x 600 = 472.44, cut to 472 on every side.
    EXPECT_EQ(g.marginLeft, 472);
    EXPECT_EQ(g.marginRight, 472);
    EXPECT_EQ(g.marginTop, 472);
    EXPECT_EQ(g.marginBottom, 472);
    EXPECT_EQ(g.left, 372) << "the margin less the strip the printer cannot reach";
    EXPECT_EQ(g.width, 4961 - 2 * 472) << "the sheet less both margins";
    EXPECT_EQ(g.height, 7016 - 2 * 472);
    EXPECT_EQ(g.logicalPerInch, 96);
    EXPECT_EQ(g.leftL, kLeftL);
    EXPECT_EQ(g.topL, kTopL);
    EXPECT_EQ(g.widthL, kWidthL);
    EXPECT_EQ(g.heightL, kHeightL);
    EXPECT_EQ(g.pageWidthL, 762);
    EXPECT_EQ(g.pageHeightL, 1091);
    EXPECT_EQ(g.MappingAt({0, -1032}),
              (platform::Mapping{{96, 96}, {600, 600}, {0, 0}, {0, -1032}}));

    // Twice the scale: logical units twice as large, half as many across the page.
    options.scale = 2.0;
    g = TPageGeometry::Of(printers.page, options);
    EXPECT_EQ(g.logicalPerInch, 48);
    EXPECT_EQ(g.widthL, 321);
    EXPECT_EQ(g.heightL, 486);

    // Rounding half to even, and a strip that would come out negative counts as none.
    options.scale = 4.0;
    options.screenPixelsPerInch = 90;  // 22.5
    platform::PrinterPage odd = printers.page;
    odd.dpiY = 300;
    odd.printableWidth = odd.physicalWidth;  // and still an offset of 100
    g = TPageGeometry::Of(odd, options);
    EXPECT_EQ(g.logicalPerInch, 22);
    EXPECT_EQ(g.unprintableRight, 0);
    EXPECT_EQ(g.pageWidthL, MulDiv(odd.printableWidth, 22, 300)) << "the page width goes by dpiY";
}

TEST(PageGeometry, MulDivRoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(1, 1, 2), 1);
    EXPECT_EQ(MulDiv(-1, 1, 2), -1);
    EXPECT_EQ(MulDiv(5, 2, 4), 3);
    EXPECT_EQ(MulDiv(7, 1, 3), 2);
    EXPECT_EQ(MulDiv(-7, 1, 3), -2);
    EXPECT_EQ(MulDiv(3, 4, 0), -1);
    EXPECT_EQ(MulDiv(1 << 30, 1 << 30, 1 << 30), 1 << 30) << "no overflow on the way";
}

TEST_F(PrintingTest, AllPagesFromPageZero) {
    Show(Trechos(10, 480));
    ASSERT_EQ(viewer->NumPrinterPages(), 5);
    printers->calls.clear();
    viewer->Print(0, 5);
    const auto& job = OnlyJob();
    EXPECT_EQ(job.name, "Trechos");
    EXPECT_TRUE(job.ended);
    ASSERT_EQ(job.pages.size(), 5u);
    EXPECT_EQ(printers->calls,
              (std::vector<std::string>{"print Recording printer", "start Trechos", "new page",
                                        "new page", "new page", "new page", "end"}));
    EXPECT_EQ(TextsOn(job.pages[0]).at("Trecho 1"), kLeftL);
    EXPECT_EQ(TextsOn(job.pages[4]).count("Trecho 10"), 1u);
    // Each part is on exactly one page.
    int seen = 0;
    for (const auto& page : job.pages) seen += static_cast<int>(TextsOn(page).size());
    EXPECT_EQ(seen, 10);
}

TEST_F(PrintingTest, PagesTwoToThreeOfFiveStartTwoSheets) {
    Show(Trechos(10, 480));
    ASSERT_EQ(viewer->NumPrinterPages(), 5);
    viewer->Print(2, 3);
    const auto& job = OnlyJob();
    ASSERT_EQ(job.pages.size(), 2u);
    EXPECT_EQ(std::count(printers->calls.begin(), printers->calls.end(), "new page"), 1);
    // The first page is laid out and drawn beside the paper, then page 2 on the sheet.
    const auto first = TextsOn(job.pages[0]);
    EXPECT_GE(first.at("Trecho 1"), kWidthL * 3 + kLeftL);
    EXPECT_GE(first.at("Trecho 2"), kWidthL * 3 + kLeftL);
    EXPECT_EQ(first.at("Trecho 3"), kLeftL);
    EXPECT_EQ(first.at("Trecho 4"), kLeftL);
    const auto second = TextsOn(job.pages[1]);
    EXPECT_EQ(second.count("Trecho 5"), 1u);
    EXPECT_EQ(second.count("Trecho 7"), 0u) << "page 4 is not printed";
    // Header and footer belong to printed pages only.
    std::vector<int> headers;
    viewer->OnPrintHeader = [&](THTMLViewer*, platform::Canvas&, int page, int, int, bool&) {
        headers.push_back(page);
    };
    viewer->Print(2, 3);
    EXPECT_EQ(headers, (std::vector<int>{2, 3}));
}

TEST_F(PrintingTest, PageRangesAtTheEdges) {
    Show(Trechos(10, 480));
    viewer->Print(0, 99);
    EXPECT_EQ(printers->jobs.back().pages.size(), 5u) << "the document ends the job";
    viewer->Print(4, 4);
    ASSERT_EQ(printers->jobs.back().pages.size(), 1u);
    EXPECT_EQ(TextsOn(printers->jobs.back().pages[0]).count("Trecho 7"), 1u);
    // Nothing is printed: the job is dropped, not sent as a blank sheet.
    viewer->Print(6, 9);
    EXPECT_TRUE(printers->jobs.back().aborted);
    viewer->Print(1, 0);
    EXPECT_TRUE(printers->jobs.back().aborted);
    EXPECT_EQ(printers->calls.back(), "abort");
}

TEST_F(PrintingTest, ShortAndExactDocumentsCountOnePage) {
    Show("<p>Short");
    EXPECT_EQ(viewer->NumPrinterPages(), 1);
    // Exactly one page high: no blank page after it.
    Show(Trechos(2, kHeightL / 2));
    EXPECT_EQ(viewer->NumPrinterPages(), 1);
    viewer->Print(0, 9);
    EXPECT_EQ(OnlyJob().pages.size(), 1u);
    // Counting only records: nothing reached the printer while counting.
    EXPECT_EQ(std::count(printers->calls.begin(), printers->calls.end(), "start Trechos"), 1);
}

TEST_F(PrintingTest, TheCountMatchesThePrint) {
    std::string html = "<body style=\"margin:0\">";
    for (int i = 1; i <= 200; ++i)
        html += "<p style=\"margin:0 0 7px 0\">Line " + std::to_string(i) + " of a long page</p>";
    Show(html);
    for (double scale : {1.0, 2.0, 0.5}) {
        viewer->SetPrintScale(scale);
        const int pages = viewer->NumPrinterPages();
        viewer->Print(0, pages);
        EXPECT_EQ(static_cast<int>(printers->jobs.back().pages.size()), pages) << scale;
        int lines = 0;
        for (const auto& page : printers->jobs.back().pages)
            lines += static_cast<int>(TextsOn(page).size());
        EXPECT_EQ(lines, 200) << "every line on one page, scale " << scale;
    }
    viewer->SetPrintScale(1.0);
    const int normal = viewer->NumPrinterPages();
    viewer->SetPrintScale(2.0);
    EXPECT_GE(viewer->NumPrinterPages(), 2 * normal - 1) << "twice as large, twice the pages";
    viewer->SetPrintScale(2.0);
    viewer->Print(1, 1);
    EXPECT_TRUE(
        Has(printers->jobs.back().pages[0], "mapping window 48x48 viewport 600x600 origin 0,0"));
}

TEST_F(PrintingTest, EveryPieceOfAMixedPageIsPrintedOnce) {
    // Floats, lists, preformatted lines, rules, tables, blocks kept whole and forced page
    // breaks.
    std::string html = "<body style=\"margin:0\">";
    int pieces = 0;
    auto piece = [&] { return "Piece_" + std::to_string(++pieces); };
    std::vector<std::string> breaks;
    for (int i = 0; i < 24; ++i) {
        html += "<div style=\"float:left;width:100px;height:" + std::to_string(20 + 9 * i) +
                "px\">" + piece() + "</div>";
        html += "<p>" + piece() + "</p>";
        html += "<p>" + piece() + "</p>";
        if (i % 5 == 0) {
            breaks.push_back(piece());
            html += "<div style=\"page-break-before:always\">" + breaks.back() + "</div>";
        }
        if (i % 4 == 0) {
            html += "<ol>";
            for (int k = 0; k < 6; ++k) html += "<li>" + piece();
            html += "</ol>";
        }
        if (i % 6 == 0) {
            html += "<pre>" + piece();
            html += "\n" + piece() + "</pre><hr>";
        }
        if (i % 7 == 0)
            html += "<div style=\"page-break-inside:avoid;height:300px\">" + piece() + "</div>";
        if (i % 8 == 3) {
            html += "<table border=1>";
            for (int row = 0; row < 30; ++row) {
                html += "<tr><td>" + piece();
                html += "<td>" + piece() + "</tr>";
            }
            html += "</table>";
        }
    }
    Show(html);
    const int pages = viewer->NumPrinterPages();
    viewer->Print(0, pages);
    ASSERT_EQ(static_cast<int>(OnlyJob().pages.size()), pages);
    // What shows on a page: text whose baseline is above the white band that clears
    // everything below where the page's content ends.
    static const std::regex text(R"re(^text (-?\d+),(-?\d+) .*"(.*)"$)re");
    static const std::regex band(
        R"re(^rectangle \d+,(\d+),\d+,\d+ pen=#FFFFFF/solid/1 brush=#FFFFFF$)re");
    std::map<std::string, int> shown;
    std::map<std::string, std::pair<int, int>> breakPlaces;  // text: its y, the highest y
    for (const auto& page : OnlyJob().pages) {
        int contentEnd = 1 << 30;
        for (const std::string& line : page) {
            std::smatch match;
            if (std::regex_match(line, match, band) && std::stoi(match[1]) > 0)
                contentEnd = std::stoi(match[1]);
        }
        int highest = 1 << 30;
        std::vector<std::pair<std::string, int>> onPage;
        for (const std::string& line : page) {
            std::smatch match;
            if (!std::regex_match(line, match, text) || std::stoi(match[2]) > contentEnd) continue;
            onPage.emplace_back(match[3], std::stoi(match[2]));
            highest = std::min(highest, std::stoi(match[2]));
        }
        for (const auto& [name, y] : onPage) {
            ++shown[name];
            breakPlaces[name] = {y, highest};
        }
    }
    for (int i = 1; i <= pieces; ++i)
        EXPECT_EQ(shown["Piece_" + std::to_string(i)], 1) << "Piece_" << i;
    // A forced break starts its page.
    ASSERT_EQ(breaks.size(), 5u);
    for (const std::string& name : breaks)
        EXPECT_EQ(breakPlaces[name].first, breakPlaces[name].second) << name;
}

TEST_F(PrintingTest, MarginBandsAndClip) {
    Show(Trechos(10, 480));
    viewer->Print(1, 1);
    const auto& page = OnlyJob().pages.at(0);
    // The content's clip, from the device box (0, 371)-(4391, 6446) in logical units.
    EXPECT_TRUE(Has(page, "clip 0,59,703,1032"));
    EXPECT_TRUE(Has(page, "rectangle 60,0,704,59 pen=#FFFFFF/solid/1 brush=#FFFFFF"));
    // Below where the page's content ended (Trecho 3's line was moved on at 960).
    EXPECT_TRUE(Has(page, "rectangle 60,1020,704,1032 pen=#FFFFFF/solid/1 brush=#FFFFFF"));
    // Counting clips to the page itself.
    TMetaFilePrinter recorder;
    recorder.BeginDoc();
    EXPECT_EQ(recorder.PageWidth(), 4761);
    recorder.EndDoc();
}

TEST_F(PrintingTest, HeaderAndFooter) {
    Show(Trechos(10, 480));
    struct Call {
        int page, w, h;
        platform::Point origin;
        platform::TextAlign align;
    };
    std::vector<Call> headers, footers;
    viewer->OnPrintHeader = [&](THTMLViewer* sender, platform::Canvas& canvas, int page, int w,
                                int h, bool&) {
        EXPECT_EQ(sender, viewer.get());
        headers.push_back({page, w, h, canvas.mapping().windowOrigin,
                           dynamic_cast<TForwardingCanvas&>(canvas).textAlign()});
        canvas.setTextAlign(platform::TextAlign::Baseline);
        canvas.textOut(0, 10, u"Header " + platform::Utf8ToUtf16(std::to_string(page)));
    };
    viewer->OnPrintFooter = [&](THTMLViewer*, platform::Canvas& canvas, int page, int w, int h,
                                bool&) {
        footers.push_back({page, w, h, canvas.mapping().windowOrigin,
                           dynamic_cast<TForwardingCanvas&>(canvas).textAlign()});
        canvas.setPen({0x0000FF, platform::PenStyle::Dash, 3});
        canvas.textOut(0, 0, u"Footer");
    };
    const int pages = viewer->NumPrinterPages();
    EXPECT_EQ(static_cast<int>(headers.size()), pages) << "counting draws them too";
    headers.clear();
    footers.clear();
    viewer->Print(0, 2);
    ASSERT_EQ(headers.size(), 2u);
    ASSERT_EQ(footers.size(), 2u);
    EXPECT_EQ(headers[1].page, 2);
    EXPECT_EQ(headers[0].w, 762);
    EXPECT_EQ(headers[0].h, kTopL);
    EXPECT_EQ(headers[0].origin, (platform::Point{0, 0}));
    EXPECT_EQ(headers[0].align, platform::TextAlign::Top);
    EXPECT_EQ(footers[0].w, 762);
    EXPECT_EQ(footers[0].h, 1091 - kTopL - kHeightL);
    EXPECT_EQ(footers[0].origin, (platform::Point{0, -(kTopL + kHeightL)}));
    EXPECT_EQ(footers[0].align, platform::TextAlign::Baseline) << "as the header left it";
    EXPECT_EQ(headers[1].align, platform::TextAlign::Top)
        << "each page starts again from the default";
    const auto texts = TextsOn(OnlyJob().pages.at(1));
    EXPECT_EQ(texts.count("Header 2"), 1u);
    EXPECT_EQ(texts.count("Footer"), 1u);
}

TEST_F(PrintingTest, PageEventsAndStopping) {
    Show(Trechos(10, 480));
    std::vector<int> events;
    int stopAt = -1;
    viewer->OnPrintPage = [&](THTMLViewer*, int page, bool& stop) {
        events.push_back(page);
        if (page == stopAt) stop = true;
    };
    viewer->Print(0, 3);
    EXPECT_EQ(events, (std::vector<int>{0, 1, 1, 2, 3}));
    viewer->NumPrinterPages();
    EXPECT_EQ(events.size(), 5u) << "counting raises no page events";

    events.clear();
    stopAt = 2;
    viewer->Print(0, 5);
    EXPECT_EQ(events, (std::vector<int>{0, 1, 1, 2}));
    EXPECT_EQ(printers->jobs.back().pages.size(), 2u);
    EXPECT_TRUE(printers->jobs.back().ended);

    // Stopped before the first page: nothing reaches the printer.
    stopAt = 0;
    viewer->Print(0, 5);
    EXPECT_TRUE(printers->jobs.back().aborted);

    // A header can stop the job too, after its page.
    stopAt = -1;
    viewer->OnPrintHeader = [](THTMLViewer*, platform::Canvas&, int page, int, int, bool& stop) {
        stop = page == 2;
    };
    viewer->Print(0, 5);
    EXPECT_EQ(printers->jobs.back().pages.size(), 2u);
}

TEST_F(PrintingTest, NothingToPrint) {
    std::vector<int> events;
    viewer->OnPrintPage = [&](THTMLViewer*, int page, bool&) { events.push_back(page); };
    viewer->Print(0, 5);
    EXPECT_EQ(events, (std::vector<int>{0})) << "told, but nothing to print";
    EXPECT_TRUE(printers->calls.empty());
}

TEST_F(PrintingTest, APageThatDoesNotMoveOnStillEnds) {
    Show("<p>Top");
    viewer->Document().items.push_back(
        std::make_unique<StuckItem>(&viewer->Document(), 3 * kHeightL));
    const int pages = viewer->NumPrinterPages();
    EXPECT_GE(pages, 3);
    EXPECT_LE(pages, 5);
}

TEST_F(PrintingTest, MarginsThatLeaveNoRoom) {
    Show("<p>Text");
    viewer->PrintMarginLeft = viewer->PrintMarginRight = 12.0;
    EXPECT_THROW(viewer->NumPrinterPages(), EPrinter);
    EXPECT_THROW(viewer->Print(0, 1), EPrinter);
    EXPECT_FALSE(printers->jobs.back().ended);
    EXPECT_EQ(printers->calls.back(), "abort") << "the job is dropped on the way out";
}

TEST_F(PrintingTest, PrinterStateMessages) {
    auto message = [](auto&& call) {
        try {
            call();
        } catch (const EPrinter& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    TvwPrinter printer;
    EXPECT_EQ(message([&] { printer.NewPage(); }), "Printer is not currently printing");
    EXPECT_EQ(message([&] { printer.EndDoc(); }), "Printer is not currently printing");
    EXPECT_EQ(message([&] { printer.Abort(); }), "Printer is not currently printing");
    EXPECT_EQ(message([&] { printer.Canvas().textOut(0, 0, u"x"); }),
              "Printer is not currently printing");
    // Measuring needs no document: it makes a context for measuring.
    printer.Canvas().setFont({"Arial", -20});
    EXPECT_EQ(printer.Canvas().textExtent(u"ab").cx, 20);
    EXPECT_EQ(printer.state(), TvwPrinter::kInformation);
    EXPECT_EQ(printer.PageWidth(), 4761);
    EXPECT_EQ(printer.PageHeight(), 6816);

    printer.Title = "A title that is longer than thirty-one characters";
    printer.BeginDoc();
    EXPECT_EQ(printer.state(), TvwPrinter::kDevice);
    EXPECT_EQ(printers->calls.back(), "start A title that is longer than thi");
    EXPECT_EQ(printer.PageNumber(), 1);
    EXPECT_EQ(message([&] { printer.BeginDoc(); }), "Printing in progress");
    EXPECT_EQ(message([&] { printer.SetState(TvwPrinter::kNoContext); }), "Printing in progress");
    printer.Canvas().textOut(5, 6, u"on paper");
    printer.NewPage();
    EXPECT_EQ(printer.PageNumber(), 2);
    printer.EndDoc();
    EXPECT_EQ(printer.PageNumber(), 0);
    EXPECT_FALSE(printer.Printing());
    ASSERT_EQ(printers->jobs.size(), 1u);
    EXPECT_EQ(printers->jobs[0].pages.size(), 2u);
    EXPECT_TRUE(Has(printers->jobs[0].pages[0],
                    "text 5,6 top font=Arial/20 color=#000000 bg=#FFFFFF \"on paper\""))
        << "the font set before the document started is the page's font";

    printer.BeginDoc();
    printer.Abort();
    EXPECT_FALSE(printer.Printing());
    EXPECT_FALSE(printer.Aborted());
    EXPECT_TRUE(printers->jobs[1].aborted);

    // A printer the settings name but the system does not have.
    platform::Printers().settings.printerName = "Gone";
    TvwPrinter missing;
    EXPECT_EQ(message([&] { missing.BeginDoc(); }), "Printer selected is not valid");
    EXPECT_EQ(message([&] { missing.PageWidth(); }), "Printer selected is not valid");
    Show("<p>Text");
    EXPECT_EQ(message([&] { viewer->NumPrinterPages(); }), "Printer selected is not valid");
    EXPECT_EQ(message([&] { viewer->Print(0, 1); }), "Printer selected is not valid");
    platform::Printers().settings.printerName.clear();

    // No printer at all: counting pages is not possible.
    printers->printers.clear();
    printers->defaultPrinter.clear();
    EXPECT_EQ(message([&] { viewer->NumPrinterPages(); }), "Printer not available");

    // A spooler that refuses the document: the error reaches the caller.
    printers->printers = {"Recording printer"};
    printers->defaultPrinter = "Recording printer";
    printers->refuseDocuments = true;
    EXPECT_EQ(message([&] { viewer->Print(0, 1); }), "the recording printer refuses documents");
}

TEST_F(PrintingTest, AJobUsesItsOwnPrinterAsTheCurrentOne) {
    Show(Trechos(4, 480));
    TvwPrinter* before = &CurrentPrinter();
    std::vector<TvwPrinter*> during;
    bool printing = false;
    viewer->OnPrintPage = [&](THTMLViewer*, int page, bool&) {
        if (page == 0) return;
        during.push_back(&CurrentPrinter());
        printing = CurrentPrinter().Printing();
    };
    viewer->Print(0, 2);
    ASSERT_FALSE(during.empty());
    EXPECT_NE(during.front(), before);
    EXPECT_TRUE(printing);
    EXPECT_EQ(&CurrentPrinter(), before) << "the previous printer is back";
}

TEST_F(PrintingTest, PageRecordings) {
    TMetaFilePrinter recorder;
    EXPECT_DOUBLE_EQ(recorder.UnitFactor(), 1.0);
    recorder.Units = TUnits::unCentimeters;
    EXPECT_DOUBLE_EQ(recorder.UnitFactor(), 2.54);
    std::vector<int> counts;
    recorder.OnPageEvent = [&](TMetaFilePrinter*, int pages, bool&) { counts.push_back(pages); };
    recorder.BeginDoc();
    EXPECT_EQ(recorder.PixelsPerInchX(), 600);
    EXPECT_EQ(recorder.PaperWidth(), 4961);
    EXPECT_EQ(recorder.OffsetY(), 100);
    EXPECT_EQ(recorder.Canvas().font(), (platform::FontSpec{"Arial", -13}))
        << "10 points at 96 pixels per inch";
    EXPECT_EQ(recorder.Canvas().brush().style, platform::BrushStyle::Clear);
    recorder.Canvas().textOut(1, 2, u"one");
    recorder.NewPage();
    recorder.Canvas().textOut(1, 2, u"two");
    recorder.NewPage();  // never drawn on
    recorder.EndDoc();
    EXPECT_EQ(counts, (std::vector<int>{1, 2, 3}));
    ASSERT_EQ(recorder.PageCount(), 2) << "the unused last page goes";
    auto& first = dynamic_cast<platform::PrinterRecordingCanvas&>(
        const_cast<platform::PageRecording&>(recorder.Page(0)).canvas());
    EXPECT_EQ(first.log().front(), "fill -100,-100,4861,6916 #FFFFFF") << "the whole sheet";
    EXPECT_TRUE(HasPrefix(first.log(), "text 1,2 top font=Arial/13"));
    EXPECT_TRUE(std::none_of(printers->calls.begin(), printers->calls.end(),
                             [](const std::string& call) { return call.rfind("start", 0) == 0; }))
        << "nothing was spooled";

    // A new document forgets the old pages.
    recorder.BeginDoc();
    recorder.Canvas();
    recorder.EndDoc();
    EXPECT_EQ(recorder.PageCount(), 1);

    printers->printers.clear();
    printers->defaultPrinter.clear();
    EXPECT_THROW(recorder.BeginDoc(), EPrinter);
    printers->pdfWhenNoPrinter = true;
    platform::Printers().settings.outputFile = "/tmp/out.pdf";
    EXPECT_NO_THROW(recorder.BeginDoc()) << "a PDF file counts as a printer";
    recorder.EndDoc();
    platform::Printers().settings.outputFile.clear();
}

TEST_F(PrintingTest, TheCopySharesPicturesAndLeavesThePageAlone) {
    Write("dot.bmp", kDotBmp);
    Show("<body style=\"margin:0\"><p>Before <img src=dot.bmp width=40 height=30> after");
    const std::size_t cached = viewer->ImageCache()->count();
    ASSERT_EQ(cached, 1u);
    viewer->ScrollToY(0);
    const int scroll = viewer->Document().scrollY;
    viewer->Print(0, 1);
    EXPECT_TRUE(HasPrefix(OnlyJob().pages.at(0), "bitmap 1x1 from 0,0,1,1 to "));
    EXPECT_EQ(viewer->ImageCache()->count(), cached);
    TSectionList& page = viewer->Document();
    EXPECT_FALSE(page.isPrinting);
    EXPECT_EQ(page.scrollY, scroll);
    EXPECT_NE(platform::ColorToRGB(page.backgroundColor), 0xFFFFFFu)
        << "the screen keeps its colour";
    // The page can be printed again: the pictures are still there.
    viewer->Print(0, 1);
    EXPECT_TRUE(HasPrefix(printers->jobs.back().pages.at(0), "bitmap 1x1"));
}

TEST_F(PrintingTest, PrintOptionsReachThePrint) {
    Show(
        "<body style=\"margin:0\"><div style=\"background:#00FF00;color:#F0F0F0\">Pale</div>"
        "<p style=\"color:#FF0000\">Red");
    auto lineOf = [&](const std::string& text) {
        for (const std::string& line : printers->jobs.back().pages.at(0))
            if (line.find('"' + text + '"') != std::string::npos) return line;
        return std::string();
    };
    viewer->SethtOptions(htPrintTableBackground | htPrintMonochromeBlack);
    viewer->Print(0, 1);
    EXPECT_TRUE(HasPrefix(printers->jobs.back().pages.at(0), "fill ")) << "a background is printed";
    EXPECT_NE(lineOf("Pale").find("color=#F0F0F0"), std::string::npos);
    EXPECT_NE(lineOf("Red").find("color=#FF0000"), std::string::npos) << "a colour printer";

    viewer->SethtOptions(0);
    viewer->Print(0, 1);
    EXPECT_EQ(
        std::count_if(printers->jobs.back().pages.at(0).begin(),
                      printers->jobs.back().pages.at(0).end(),
                      [](const std::string& l) { return l.find("#00FF00") != std::string::npos; }),
        0)
        << "no background without the option";
    EXPECT_NE(lineOf("Pale").find("color=#A0A0A0"), std::string::npos)
        << "very light text turns grey";

    // A printer with two colours.
    printers->page.numColors = 2;
    printers->page.bitsPerPixel = 1;
    viewer->SethtOptions(htPrintMonochromeBlack);
    viewer->Print(0, 1);
    EXPECT_NE(lineOf("Red").find("color=#000000"), std::string::npos);
    viewer->SethtOptions(0);
    viewer->Print(0, 1);
    EXPECT_NE(lineOf("Red").find("color=#FF0000"), std::string::npos);
}

TEST_F(PrintingTest, ThePagePrintedStaysUntilItIsDone) {
    const std::string page = "<form><input name=a value=um><input type=checkbox name=b>" +
                             Trechos(10, 480) + "<input type=submit></form>";
    Show(page);
    std::vector<int> events;
    viewer->OnPrintPage = [&](THTMLViewer* sender, int number, bool&) {
        events.push_back(number);
        // What a posted link or form, or a handler, may ask for meanwhile.
        if (number == 0) return;
        sender->LoadFromString("<p>outra");
        sender->Clear();
        sender->LoadFromFile(Write("other.htm", "<p>outra"));
    };
    viewer->Print(0, 3);
    EXPECT_EQ(events, (std::vector<int>{0, 1, 1, 2, 3}));
    EXPECT_EQ(viewer->SourceText(), page) << "the page printed was not cleared under the print";
    EXPECT_EQ(viewer->Document().allControls.size(), 3u);
    EXPECT_TRUE(OnlyJob().ended);
    viewer->NumPrinterPages();
    viewer->OnPrintPage = nullptr;
    viewer->LoadFromString("<p>outra");
    EXPECT_EQ(viewer->SourceText(), "<p>outra") << "loads again once printing is over";
}
