// The main window on a collection: start-up from nothing to a shown, painted window and
// the memory the catalogues take; one key of type-ahead; a full search up to the written
// results page, and from Enter to the results shown. Give the smaller collection first:
// the first start-up in the process also pays for loading fonts.
//
//   bench_app --collection NAME=FOLDER [--collection NAME=FOLDER ...] [benchmark flags]

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>

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
#include "app/Search.h"
#include "platform/Files.h"
#include "viewer/HtmlViewer.h"
#include "viewer/PaintPanel.h"

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

std::unique_ptr<app::TformMain> ShownWindow(const std::string& folder) {
    auto form = std::make_unique<app::TformMain>(folder, std::make_unique<app::TformStatus>());
    form->show();
    form->activateWindow();
    QTest::qWaitForWindowActive(form.get());
    QApplication::processEvents();
    return form;
}

// One key typed into the search box, alternating between two names far apart.
void TypeAhead(benchmark::State& state, const std::string& folder) {
    auto form = ShownWindow(folder);
    form->editSearch->setFocus();
    bool flip = false;
    for (auto _ : state) {
        form->editSearch->setText(flip ? "joaquim" : "sebastia");
        flip = !flip;
    }
    state.counters["row"] = form->GridNomes->row();
}

// The scan, the page text and the file, as the search does them.
void SearchToFile(benchmark::State& state, const std::string& folder, const std::string& key) {
    auto form = ShownWindow(folder);
    const std::string path = folder + "/search.html";
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string page = app::SearchResultsPage(form->listBusca, form->listNomes,
                                                        form->listArquivos, form->listAtuacao, key);
        platform::WriteWholeFile(path, page);
        bytes = page.size();
    }
    state.counters["page_bytes"] = static_cast<double>(bytes);
}

// Enter in the search box until the results are painted.
void SearchShown(benchmark::State& state, const std::string& folder, const QString& text) {
    auto form = ShownWindow(folder);
    form->editSearch->setText(text);
    form->editSearch->setFocus();
    for (auto _ : state) {
        QTest::keyClick(form->editSearch, Qt::Key_Return);
        form->viewer->PaintPanel()->repaint();
    }
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
            benchmark::RegisterBenchmark(("TypeAhead/" + name).c_str(), [folder](
                                                                            benchmark::State& s) {
                TypeAhead(s, folder);
            })->Unit(benchmark::kMicrosecond);
            // A common name stops at 100 hits; a key found nowhere scans every name.
            for (const char* key : {"JOSE", "XYZQ"}) {
                benchmark::RegisterBenchmark(
                    ("SearchToFile/" + name + "/" + key).c_str(),
                    [folder, key](benchmark::State& s) { SearchToFile(s, folder, key); })
                    ->Unit(benchmark::kMillisecond);
                benchmark::RegisterBenchmark(("SearchShown/" + name + "/" + key).c_str(),
                                             [folder, key](benchmark::State& s) {
                                                 SearchShown(s, folder, QString(key).toLower());
                                             })
                    ->Unit(benchmark::kMillisecond);
            }
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
