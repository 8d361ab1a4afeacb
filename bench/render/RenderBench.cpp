// vultaria-render's work in process, on real fonts: build, lay out at 800 pixels and
// paint the whole page, for a biography of the bundled collection and for a generated
// 1 MB page; and the build alone of that page with real fonts measuring.

#include <QGuiApplication>

#include <memory>

#include <benchmark/benchmark.h>

#include "bench/support/GeneratedPage.h"
#include "platform/Files.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtScreen.h"
#include "tools/render/PageRenderer.h"

namespace {

void Render(benchmark::State& state, const std::string& html, const std::string& folder) {
    platform::QtCanvas measuring(nullptr);
    for (auto _ : state) {
        PageRenderer renderer(measuring);
        renderer.LoadHtml(html, folder);
        renderer.Layout(800);
        const QImage image = renderer.Paint();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * html.size()));
}

void Build(benchmark::State& state, const std::string& html, const std::string& folder) {
    platform::QtCanvas measuring(nullptr);
    for (auto _ : state) {
        auto renderer = std::make_unique<PageRenderer>(measuring);
        renderer->LoadHtml(html, folder);
        state.PauseTiming();  // freeing the page is not building it
        renderer.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * html.size()));
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    platform::InstallScreen(std::make_unique<platform::QtScreen>());
    const std::string folder = std::string(VULTARIA_COLLECTION) + "/dados/literatura/";
    const std::string biography = platform::ReadWholeFile(folder + "erico_verissimo.htm");
    const std::string generated = GeneratedPage(1 << 20);
    benchmark::RegisterBenchmark("Render/BundledBiography",
                                 [&](benchmark::State& s) { Render(s, biography, folder); })
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Render/Generated1MB",
                                 [&](benchmark::State& s) { Render(s, generated, folder); })
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Build/Generated1MB",
                                 [&](benchmark::State& s) { Build(s, generated, folder); })
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
