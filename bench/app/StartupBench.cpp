// Start-up of the main window on a collection: from nothing to a shown, painted
// window, and the memory the catalogues take. Give the smaller collection first: the
// first start-up in the process also pays for loading fonts.
//
//   bench_startup --collection NAME=FOLDER [--collection NAME=FOLDER ...] [benchmark flags]

#include <QApplication>
#include <QLabel>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "app/Catalogue.h"
#include "app/FormMain.h"
#include "app/FormStatus.h"
#include "app/NameGrid.h"

namespace {

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

std::uintmax_t CatalogueBytes(const std::string& folder) {
    std::uintmax_t total = 0;
    for (const char* file : {app::kNamesFile, app::kPagesFile, app::kActivitiesFile})
        total += std::filesystem::file_size(std::filesystem::path(folder) / file);
    return total;
}

void StartUp(benchmark::State& state, const std::string& folder) {
    // Memory is read on the first start-up only: later ones reuse what the allocator
    // kept from the one before.
    long grownKb = -1;
    int paintedRows = 0;
    for (auto _ : state) {
        auto status = std::make_unique<app::TformStatus>();
        status->lStatus->setText("Aguarde. Iniciando base de dados...");
        status->show();
        QApplication::processEvents();
        const long before = ResidentKilobytes();
        auto form = std::make_unique<app::TformMain>(folder, std::move(status));
        form->show();
        const QPixmap painted = form->grab();  // lays out and paints everything
        benchmark::DoNotOptimize(painted);
        static std::map<std::string, long> firstGrowth;
        if (!firstGrowth.count(folder)) firstGrowth[folder] = ResidentKilobytes() - before;
        grownKb = firstGrowth[folder];
        paintedRows = form->GridNomes->lastPaintedRowCount();
        state.PauseTiming();
        form.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    const double catalogueKb = CatalogueBytes(folder) / 1024.0;
    state.counters["catalogue_kb"] = catalogueKb;
    state.counters["rss_growth_kb"] = static_cast<double>(grownKb);
    state.counters["growth_ratio"] = grownKb / catalogueKb;
    state.counters["rows_painted"] = paintedRows;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication application(argc, argv);
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--collection" && i + 1 < argc) {
            const std::string spec = argv[++i];
            const auto eq = spec.find('=');
            const std::string name = spec.substr(0, eq);
            const std::string folder = spec.substr(eq + 1);
            benchmark::RegisterBenchmark(("StartUp/" + name).c_str(),
                                         [folder](benchmark::State& s) { StartUp(s, folder); })
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1);
        } else {
            rest.push_back(argv[i]);
        }
    }
    int count = static_cast<int>(rest.size());
    benchmark::Initialize(&count, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
