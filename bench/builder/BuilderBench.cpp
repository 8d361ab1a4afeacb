// Build throughput: a generated 1 MB biography page (headings, paragraphs with phrase
// elements, links, lists and a little preformatted text) read and built into a
// document, without layout (freeing the document is left out of the time). Bytes per
// second is the page size over the build time.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "html/Builder.h"
#include "layout/Document.h"

namespace {

constexpr std::size_t PageSize = 1 << 20;

std::string BiographyPage() {
    const std::string chapter =
        "<H2>Juventude</H2>\r\n<P>Jos\xE9 Bonif\xE1"
        "cio de Andrada e Silva nasceu em <A HREF=\"santos.htm\">Santos</A>, em 13 de junho de "
        "1763, e estudou em Coimbra, onde se formou em <I>Filosofia Natural</I> e em Leis. Viajou "
        "pela Europa estudando mineralogia &mdash; descreveu v\xE1rios minerais novos &amp; "
        "trabalhou nas minas da Su\xE9"
        "cia e da Noruega.\r\n<P CLASS=nota>Voltou ao Brasil em 1819 e teve papel decisivo na "
        "<B>Independ\xEAncia</B>, sendo chamado o <FONT SIZE=+1>Patriarca</FONT> da "
        "Independ\xEAncia.<BR>Foi ministro, deputado constituinte e tutor do jovem imperador.\r\n"
        "<UL><LI>Ministro do Reino<LI>Deputado<LI><A HREF=\"pedro2.htm\">Tutor de D. Pedro II</A>"
        "</UL>\r\n<PRE>1763  nascimento\r\n1838  morte</PRE>\r\n";
    std::string page =
        "<HTML><HEAD><TITLE>Biografia</TITLE><STYLE>P.nota { font-style: italic }</STYLE>"
        "</HEAD><BODY>\r\n";
    while (page.size() < PageSize) page += chapter;
    page.resize(PageSize);
    return page;
}

void BM_BuildBiographyPage(benchmark::State& state) {
    const std::string page = BiographyPage();
    for (auto _ : state) {
        auto document = std::make_unique<TSectionList>();
        document->SetDefaults("Times New Roman", "Courier New", 12, 0, 0xFF0000, 0x800080,
                              0x0000FF, false, 0xFFFFFF, 1, 5, 10);
        ParseHtml(page, *document);
        benchmark::DoNotOptimize(document->items.size());
        // Freeing the document is not part of building it.
        state.PauseTiming();
        document.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_BuildBiographyPage)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
