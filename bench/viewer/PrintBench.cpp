// Counting printer pages on real fonts, offscreen: NumPrinterPages for a bundled
// biography and for a generated page of 1 MB, and printing that page into a PDF file.
// With no printer installed the page is A4 at 1200 dpi (the PDF file's), otherwise the
// default printer's.
//
//   bench_printing [benchmark flags]

#include <QApplication>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "bench/support/GeneratedPage.h"
#include "platform/Printers.h"
#include "platform/qt/QtScreen.h"
#include "viewer/HtmlViewer.h"

namespace {

std::unique_ptr<THTMLViewer> ViewerWith(const std::string& path) {
    auto viewer = std::make_unique<THTMLViewer>();
    viewer->resize(1280, 1024);
    viewer->LoadFromFile(path);
    return viewer;
}

void Count(benchmark::State& state, const std::string& path) {
    auto viewer = ViewerWith(path);
    int pages = 0;
    for (auto _ : state) pages = viewer->NumPrinterPages();
    state.counters["pages"] = pages;
}

void PrintToPdf(benchmark::State& state, const std::string& path, const std::string& pdf) {
    auto viewer = ViewerWith(path);
    platform::PrinterSettings& settings = platform::Printers().settings;
    settings = {};
    settings.outputFile = pdf;
    settings.paperWidthMm = 210;
    settings.paperHeightMm = 297;
    const int pages = viewer->NumPrinterPages();
    for (auto _ : state) viewer->Print(0, pages);
    state.counters["pages"] = pages;
    state.counters["PDF bytes"] = static_cast<double>(std::filesystem::file_size(pdf));
    settings = {};
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication application(argc, argv);
    platform::InstallQtServices();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("vultaria-bench-printing-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string page1 = (folder / "generated1.htm").string();
    std::ofstream(page1, std::ios::binary) << GeneratedPage(1 << 20);
    const std::string biography =
        std::string(VULTARIA_COLLECTION) + "/dados/literatura/erico_verissimo.htm";
    const std::string pdf = (folder / "print.pdf").string();

    benchmark::RegisterBenchmark("Printing/NumPrinterPagesBundledBiography",
                                 [&](benchmark::State& s) { Count(s, biography); })
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Printing/NumPrinterPagesGenerated1MB", [&](benchmark::State& s) {
        Count(s, page1);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Printing/PrintToPdfGenerated1MB", [&](benchmark::State& s) {
        PrintToPdf(s, page1, pdf);
    })->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(folder);
    return 0;
}
