// The viewer on real fonts, offscreen, at 1280 x 1024: loading a page until its first
// screen is painted (a bundled biography, generated pages of 1 MB and 5 MB); one wheel
// notch of scrolling until the uncovered strip is painted, at the top of the 5 MB page and
// at its end; finding a word in the 5 MB page and the next match; one zoom step.
//
//   bench_viewer [benchmark flags]
//   bench_viewer --memory     the memory the 5 MB page takes in the viewer, then exits

#include <QApplication>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "bench/support/GeneratedPage.h"
#include "platform/Files.h"
#include "platform/qt/QtScreen.h"
#include "viewer/HtmlViewer.h"
#include "viewer/PaintPanel.h"

namespace {

long StatusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::string(field).size()));
    return 0;
}

std::unique_ptr<THTMLViewer> MakeViewer() {
    auto viewer = std::make_unique<THTMLViewer>();
    viewer->resize(1280, 1024);
    viewer->show();
    QApplication::processEvents();
    return viewer;
}

// Everything the load asked to be painted is painted.
void Settle() {
    QCoreApplication::sendPostedEvents();
    QApplication::processEvents();
}

void Load(benchmark::State& state, const std::string& path) {
    auto viewer = MakeViewer();
    for (auto _ : state) {
        viewer->LoadFromFile(path);
        viewer->PaintPanel()->repaint();
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
}

void WheelNotch(benchmark::State& state, const std::string& path, bool atEnd) {
    auto viewer = MakeViewer();
    viewer->LoadFromFile(path);
    const int last = viewer->DocHeight() - viewer->PaintPanel()->height();
    const int base = atEnd ? last - 48 * 64 : 0;
    int notch = 0;
    viewer->ScrollToY(base);
    Settle();
    const QPoint at(200, 200);
    for (auto _ : state) {
        // Down the page 64 notches, then back to where it started.
        const int direction = (notch / 64) % 2 == 0 ? -120 : 120;
        ++notch;
        QWheelEvent wheel(at, viewer->mapToGlobal(at), QPoint(), QPoint(0, direction), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewer.get(), &wheel);
        Settle();
    }
    state.counters["offset"] = viewer->VerticalOffset();
}

// All matches of a word found and the first one shown.
void FindAll(benchmark::State& state, const std::string& path) {
    auto viewer = MakeViewer();
    viewer->LoadFromFile(path);
    int count = 0;
    for (auto _ : state) {
        count = viewer->FindAll(u"obra");
        viewer->FindGo(viewer->FindFirstInView());
        viewer->PaintPanel()->repaint();
    }
    state.counters["matches"] = count;
}

void FindNext(benchmark::State& state, const std::string& path) {
    auto viewer = MakeViewer();
    viewer->LoadFromFile(path);
    viewer->FindAll(u"obra");
    Settle();
    for (auto _ : state) {
        viewer->FindNext(false);
        Settle();  // paints what changed
    }
}

// One step of zoom, alternating in and out, until the view is painted.
void ZoomStep(benchmark::State& state, const std::string& path) {
    auto viewer = MakeViewer();
    viewer->LoadFromFile(path);
    bool in = true;
    for (auto _ : state) {
        viewer->SetZoom(in ? 110 : 100);
        in = !in;
        viewer->PaintPanel()->repaint();
    }
}

std::string WritePage(const std::filesystem::path& folder, const std::string& name,
                      std::size_t size) {
    const std::filesystem::path path = folder / name;
    std::ofstream(path, std::ios::binary) << GeneratedPage(size);
    return path.string();
}

int Memory(const std::string& page) {
    auto viewer = MakeViewer();
    viewer->LoadFromString("<p>empty");
    viewer->PaintPanel()->repaint();
    const long before = StatusKilobytes("VmRSS:");
    viewer->LoadFromFile(page);
    viewer->PaintPanel()->repaint();
    viewer->ScrollToY(viewer->DocHeight());
    viewer->PaintPanel()->repaint();
    const long peak = StatusKilobytes("VmHWM:");
    const long after = StatusKilobytes("VmRSS:");
    std::printf(
        "5 MB page in the viewer: resident %.1f MB over an empty viewer (peak %.1f MB over it); "
        "page %d px high\n",
        (after - before) / 1024.0, (peak - before) / 1024.0, viewer->DocHeight());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication application(argc, argv);
    platform::InstallQtServices();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("vultaria-bench-viewer-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string page1 = WritePage(folder, "generated1.htm", 1 << 20);
    const std::string page5 = WritePage(folder, "generated5.htm", 5 << 20);
    if (argc > 1 && std::string(argv[1]) == "--memory") {
        const int result = Memory(page5);
        std::filesystem::remove_all(folder);
        return result;
    }
    const std::string biography =
        std::string(VULTARIA_COLLECTION) + "/dados/literatura/erico_verissimo.htm";

    benchmark::RegisterBenchmark("Viewer/LoadBundledBiography", [&](benchmark::State& s) {
        Load(s, biography);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Viewer/LoadGenerated1MB", [&](benchmark::State& s) {
        Load(s, page1);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Viewer/LoadGenerated5MB", [&](benchmark::State& s) {
        Load(s, page5);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Viewer/WheelNotchTop5MB", [&](benchmark::State& s) {
        WheelNotch(s, page5, false);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Viewer/WheelNotchEnd5MB", [&](benchmark::State& s) {
        WheelNotch(s, page5, true);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Viewer/FindAll5MB", [&](benchmark::State& s) {
        FindAll(s, page5);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Viewer/FindNext5MB", [&](benchmark::State& s) {
        FindNext(s, page5);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Viewer/ZoomStep1MB", [&](benchmark::State& s) {
        ZoomStep(s, page1);
    })->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(folder);
    return 0;
}
