// The style engine's two hot paths: working out one element's properties against a
// large style sheet, and reading style sheet text.

#include <benchmark/benchmark.h>

#include <string>

#include "style/PropStack.h"
#include "style/StyleList.h"
#include "style/StyleParser.h"

namespace {

// A sheet like a generated site's: tag, class, id, pseudo-class and descendant rules,
// `rules` in all.
std::string MakeSheet(int rules) {
    static const char* kTags[] = {"p", "div", "span", "td", "li", "h2", "a", "em", "ul", "table"};
    std::string sheet;
    for (int i = 0; i < rules; ++i) {
        const std::string n = std::to_string(i);
        const char* tag = kTags[i % 10];
        switch (i % 5) {
            case 0: sheet += "." + std::string("c") + n + " { color: #" + std::to_string(100000 + i) + "; margin: 1px 2px }\n"; break;
            case 1: sheet += std::string(tag) + ".k" + n + " { font: italic bold 12pt/14pt arial }\n"; break;
            case 2: sheet += "#id" + n + " { border: 1px solid red; padding: 2px }\n"; break;
            case 3: sheet += "div.s" + n + " " + tag + " { background: url(img/b" + n + ".gif) no-repeat left top }\n"; break;
            case 4: sheet += "a.l" + n + ":hover, " + tag + "#x" + n + " { text-decoration: underline; color: rgb(10%, 20, 30) }\n"; break;
        }
    }
    return sheet;
}

struct Document {
    Document() {
        styles.BuildDefaults("Arial", "Courier New", 12, 0, 0xFF0000, 0x800080, 0x0000FF, true, 1, 10, 15);
        ParseStyleSheetText(styles, MakeSheet(500), "c:\\site\\");
        stack.Reset(styles);
        stack.PushProperties(styles, "body", "", "", nullptr, "", "");
        stack.PushProperties(styles, "div", "s3", "main", nullptr, "", "");
        stack.PushProperties(styles, "div", "c10", "", nullptr, "", "");
        stack.PushProperties(styles, "ul", "", "", nullptr, "", "");
        stack.PushProperties(styles, "li", "k4", "", nullptr, "", "");
    }
    TStyleList styles;
    TPropStack stack;
};

// One element opened and closed five levels deep: inherit, cascade, descendant scans.
void BM_ApplyStylesPerElement(benchmark::State& state) {
    Document doc;
    struct Element { const char* tag; const char* cls; const char* id; };
    static const Element kElements[] = {
        {"p", "c15", ""}, {"span", "", ""}, {"td", "k41", "id42"}, {"em", "", ""}, {"p", "", ""},
        {"h2", "s8", ""}, {"div", "c200", "x9"}, {"li", "", ""}};
    std::size_t i = 0;
    for (auto _ : state) {
        const Element& e = kElements[i++ % std::size(kElements)];
        benchmark::DoNotOptimize(&doc.stack.PushProperties(doc.styles, e.tag, e.cls, e.id, nullptr, "", ""));
        doc.stack.PopTop();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ApplyStylesPerElement);

// A link also works out the fonts of its visited and hover states.
void BM_ApplyStylesLink(benchmark::State& state) {
    Document doc;
    for (auto _ : state) {
        benchmark::DoNotOptimize(&doc.stack.PushProperties(doc.styles, "a", "l4", "", nullptr, "", "link"));
        doc.stack.PopTop();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ApplyStylesLink);

void BM_ParseStyleSheet100KB(benchmark::State& state) {
    std::string sheet;
    while (sheet.size() < 100 * 1024) sheet += MakeSheet(500) + "/* next part */\n@media print { p { color: red } }\n";
    for (auto _ : state) {
        TStyleList styles;
        ParseStyleSheetText(styles, sheet, "c:\\site\\");
        benchmark::DoNotOptimize(styles.Count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sheet.size()));
}
BENCHMARK(BM_ParseStyleSheet100KB);

}  // namespace

BENCHMARK_MAIN();
