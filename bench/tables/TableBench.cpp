// Tables with real fonts at 800 pixels: a generated 1 MB page of tables (rows of 3 to
// 8 cells with text and links, some holding a small table of their own) built and
// laid out, and one table of 1,000, 10,000 and 100,000 rows laid out, which should
// cost in proportion to the rows. Building the row tables is left out of their time.

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "html/Builder.h"
#include "layout/Document.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtScreen.h"

namespace {

constexpr int kWidth = 800;
constexpr int kViewportHeight = 600;

const char* const kWords[] = {"Machado",  "de",       "Assis",    "romance", "1881",  "poesia",
                              "crônicas", "Memórias", "Póstumas", "Brás",    "Cubas", "Dom",
                              "Casmurro", "conto",    "teatro",   "ensaio",  "Rio",   "Janeiro"};
constexpr int kWordCount = sizeof kWords / sizeof kWords[0];

// A cell's text: a few words, every third cell a link.
std::string CellText(unsigned& n) {
    std::string text;
    const int words = 1 + static_cast<int>(n % 4);
    for (int w = 0; w < words; ++w)
        text += std::string(w ? " " : "") + kWords[(n + static_cast<unsigned>(w) * 7) % kWordCount];
    if (n % 3 == 0) text = "<a href=\"obra" + std::to_string(n) + ".htm\">" + text + "</a>";
    ++n;
    return text;
}

std::string TablesPage(std::size_t bytes) {
    std::string page =
        "<html><head><title>Obras</title><style>td { padding: 3px } th { background-color: #E1CEB9 "
        "}"
        "</style></head><body>\r\n";
    unsigned n = 0;
    int table = 0;
    while (page.size() < bytes) {
        page += "<h2>Tabela " + std::to_string(++table) +
                "</h2>\r\n<table border=1 cellspacing=0 cellpadding=4>\r\n";
        for (int row = 0; row < 40 && page.size() < bytes; ++row) {
            const int cells = 3 + static_cast<int>((n + static_cast<unsigned>(row)) % 6);
            page += "<tr>";
            for (int c = 0; c < cells; ++c) {
                page += row == 0 ? "<th>" : "<td>";
                if (row > 0 && c == 1 && row % 10 == 5)
                    page += "<table border><tr><td>" + CellText(n) + "<td>" + CellText(n) +
                            "<tr><td>" + CellText(n) + "<td>" + CellText(n) + "</table>";
                else
                    page += CellText(n);
            }
            page += "</tr>\r\n";
        }
        page += "</table>\r\n";
    }
    return page + "</body></html>\r\n";
}

std::string RowsPage(int rows) {
    std::string page = "<html><body><table border=1 cellpadding=3>\r\n";
    unsigned n = 0;
    for (int r = 0; r < rows; ++r)
        page += "<tr><td>" + std::to_string(1900 + r % 100) + "<td>" + CellText(n) + "<td>" +
                CellText(n) + "</tr>\r\n";
    return page + "</table></body></html>\r\n";
}

std::unique_ptr<TSectionList> Build(const std::string& page) {
    auto doc = std::make_unique<TSectionList>();
    doc->SetDefaults("Times New Roman", "Courier New", 12, 0, 0xFF0000, 0x800080, 0x0000FF, false,
                     0xFFFFFF, 1, 5, 10);
    ParseHtml(page, *doc);
    return doc;
}

// Freeing a document is no part of what is measured.
void Discard(benchmark::State& state, std::unique_ptr<TSectionList>& doc) {
    state.PauseTiming();
    doc.reset();
    state.ResumeTiming();
}

void BuildAndLayoutPage(benchmark::State& state) {
    const std::string page = TablesPage(1 << 20);
    platform::QtCanvas canvas(nullptr);
    int height = 0;
    for (auto _ : state) {
        auto doc = Build(page);
        int scrollWidth = 0, cursor = 0;
        height = doc->LayoutCell(canvas, 0, kWidth, kViewportHeight, scrollWidth, cursor);
        Discard(state, doc);
    }
    state.counters["height_px"] = height;
    state.counters["page_kb"] = static_cast<double>(page.size()) / 1024.0;
}

void BuildPage(benchmark::State& state) {
    const std::string page = TablesPage(1 << 20);
    for (auto _ : state) {
        auto doc = Build(page);
        benchmark::DoNotOptimize(doc->items.size());
        Discard(state, doc);
    }
}

// A fresh document each time (nothing measured before), laid out once.
void LayoutRows(benchmark::State& state) {
    const std::string page = RowsPage(static_cast<int>(state.range(0)));
    platform::QtCanvas canvas(nullptr);
    int height = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = Build(page);
        state.ResumeTiming();
        int scrollWidth = 0, cursor = 0;
        height = doc->LayoutCell(canvas, 0, kWidth, kViewportHeight, scrollWidth, cursor);
        Discard(state, doc);
    }
    state.counters["height_px"] = height;
    state.counters["us_per_row"] = benchmark::Counter(
        static_cast<double>(state.range(0)),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(BuildPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BuildAndLayoutPage)->Unit(benchmark::kMillisecond);
BENCHMARK(LayoutRows)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication application(argc, argv);
    platform::InstallQtServices();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
