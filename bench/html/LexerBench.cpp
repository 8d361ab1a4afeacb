// Reader throughput on two generated 1 MB pages: one mostly running text (biography
// prose in Windows-1252 with a few tags and references), one mostly tags (tables of
// short cells with attributes). Bytes per second is the page size over the time to
// read every symbol.

#include <benchmark/benchmark.h>

#include <string>

#include "html/Lexer.h"

namespace {

constexpr std::size_t PageSize = 1 << 20;

std::string TextHeavyPage() {
    const std::string paragraph =
        "<P>Jos\xE9 Bonif\xE1"
        "cio de Andrada e Silva nasceu em Santos, em 13 de junho de 1763, "
        "e estudou em Coimbra, onde se formou em Filosofia Natural e em Leis. Viajou pela Europa "
        "estudando mineralogia &mdash; descreveu v\xE1rios minerais novos &amp; trabalhou nas "
        "minas da Su\xE9"
        "cia e da Noruega.\r\n  Voltou ao Brasil em 1819 e teve papel decisivo "
        "na <B>Independ\xEAncia</B>, sendo chamado o Patriarca da Independ\xEAncia. Foi ministro, "
        "deputado constituinte e tutor do jovem imperador D. Pedro II.</P>\r\n";
    std::string page = "<HTML><HEAD><TITLE>Biografia</TITLE></HEAD><BODY>\r\n";
    while (page.size() < PageSize) page += paragraph;
    page.resize(PageSize);
    return page;
}

std::string TagHeavyPage() {
    const std::string row =
        "<TR><TD ALIGN=left WIDTH=\"25%\" CLASS=nome><A HREF=\"dados/p123.htm\">Nome</A></TD>"
        "<TD VALIGN=top BGCOLOR=#EEEEEE><IMG SRC=img/f.gif WIDTH=16 HEIGHT=16 BORDER=0 ALT=\"\">"
        "</TD><TD><FONT SIZE=-1 FACE=Arial>1822</FONT></TD></TR>\r\n";
    std::string page = "<HTML><BODY><TABLE BORDER CELLPADDING=2 CELLSPACING=0>\r\n";
    while (page.size() < PageSize) page += row;
    page.resize(PageSize);
    return page;
}

void ReadAll(benchmark::State& state, const std::string& page) {
    THtmlReader reader;
    reader.CurrentCodePage = [] { return 1252; };
    reader.PrepareDocument(page);
    std::size_t symbols = 0;
    for (auto _ : state) {
        reader.ResetReadPosition();
        reader.NextChar();
        do {
            reader.NextSymbol();
            ++symbols;
        } while (reader.Sy != symEof);
        benchmark::DoNotOptimize(symbols);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(page.size()));
}

void BM_LexerTextHeavy(benchmark::State& state) {
    static const std::string page = TextHeavyPage();
    ReadAll(state, page);
}
BENCHMARK(BM_LexerTextHeavy)->Unit(benchmark::kMillisecond);

void BM_LexerTagHeavy(benchmark::State& state) {
    static const std::string page = TagHeavyPage();
    ReadAll(state, page);
}
BENCHMARK(BM_LexerTagHeavy)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
