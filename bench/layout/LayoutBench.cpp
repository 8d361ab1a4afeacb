// Layout and drawing of long documents of paragraphs with real fonts: layout time for
// 100 KB, 1 MB and 5 MB of text, and the time to draw one viewport at the top and at
// the end of the 5 MB document (which should cost the same).

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

#include "layout/Block.h"
#include "layout/Document.h"
#include "layout/Section.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtScreen.h"
#include "style/PropStack.h"

namespace {

constexpr int kWidth = 800;
constexpr int kViewportHeight = 600;

const char16_t* const kWords[] = {u"nasceu", u"em", u"Ouro", u"Preto", u"e", u"estudou", u"direito",
                                  u"na", u"faculdade", u"de", u"São", u"Paulo,", u"onde", u"conheceu",
                                  u"os", u"poetas", u"da", u"sua", u"geração;", u"publicou", u"livros",
                                  u"artigos", u"crônicas", u"e", u"traduções."};

// A document of paragraphs of about 600 characters each, `bytes` characters in all.
std::unique_ptr<TSectionList> BuildDocument(std::size_t bytes) {
    auto doc = std::make_unique<TSectionList>();
    doc->SetDefaults("Times New Roman", "Courier New", 12, 0, 0xFF0000, 0x800080, 0x0000FF, false,
                     0xFFFFFF, 1, 10, 5);
    TPropStack stack;
    stack.Reset(*doc->styleSheet);
    TProperties& bodyProps = stack.PushProperties(*doc->styleSheet, "body", "", "", nullptr, "", "");
    auto body = std::make_unique<TBodyBlock>(doc.get(), bodyProps, doc.get(), nullptr);
    TBlockCell& cell = body->content;
    doc->Add(std::move(body));
    std::size_t total = 0;
    unsigned word = 0;
    int source = 0;
    while (total < bytes) {
        TProperties& props = stack.PushProperties(*doc->styleSheet, "p", "", "", nullptr, "", "");
        auto block = std::make_unique<TBlock>(doc.get(), props, &cell, nullptr);
        auto section =
            std::make_unique<TSection>(doc.get(), true, props, nullptr, &block->content, nullptr);
        std::u16string text;
        while (text.size() < 600) {
            text += kWords[word++ % (sizeof kWords / sizeof kWords[0])];
            text += u' ';
        }
        std::vector<std::int32_t> positions(text.size());
        for (auto& p : positions) p = source++;
        section->AppendText(text, positions.data(), 0, false);
        total += text.size();
        block->content.Add(std::move(section));
        cell.Add(std::move(block));
        stack.PopTop();
    }
    return doc;
}

struct Prepared {
    std::unique_ptr<TSectionList> doc;
    int height = 0;
};

Prepared& LaidOut(std::size_t bytes) {
    static std::map<std::size_t, Prepared> cache;
    Prepared& p = cache[bytes];
    if (!p.doc) {
        p.doc = BuildDocument(bytes);
        platform::QtCanvas canvas(nullptr);
        int scrollWidth = 0, cursor = 0;
        p.height = p.doc->LayoutCell(canvas, 0, kWidth, kViewportHeight, scrollWidth, cursor);
    }
    return p;
}

void Layout(benchmark::State& state) {
    const std::size_t bytes = static_cast<std::size_t>(state.range(0)) * 1024;
    auto doc = BuildDocument(bytes);
    platform::QtCanvas canvas(nullptr);
    int height = 0;
    for (auto _ : state) {
        int scrollWidth = 0, cursor = 0;
        height = doc->LayoutCell(canvas, 0, kWidth, kViewportHeight, scrollWidth, cursor);
    }
    state.counters["height_px"] = height;
    // Megabytes of text laid out per second; 1000 / this is milliseconds per megabyte.
    state.counters["mb_per_s"] = benchmark::Counter(static_cast<double>(bytes) / (1024.0 * 1024.0),
                                                    benchmark::Counter::kIsIterationInvariantRate);
}

void DrawViewport(benchmark::State& state, bool atEnd) {
    Prepared& p = LaidOut(5 * 1024 * 1024);
    QImage image(kWidth, kViewportHeight, QImage::Format_RGB32);
    const int scroll = atEnd ? p.height - kViewportHeight : 0;
    p.doc->SetScrollY(scroll);
    for (auto _ : state) {
        image.fill(Qt::white);
        platform::QtCanvas canvas(&image);
        p.doc->Draw(canvas, {0, 0, kWidth, kViewportHeight}, kWidth, 0, 0, 0, 0);
    }
    state.counters["scroll_px"] = scroll;
}

}  // namespace

BENCHMARK(Layout)->Arg(100)->Arg(1024)->Arg(5 * 1024)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawViewport, top, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawViewport, end, true)->Unit(benchmark::kMillisecond);

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
