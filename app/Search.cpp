// The name list and the search box: type-ahead, the full search and its results page,
// and showing the biography of the row chosen.

#include <QLineEdit>

#include "app/Catalogue.h"
#include "app/FormMain.h"
#include "app/NameGrid.h"
#include "app/Search.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "viewer/HtmlViewer.h"

namespace app {

namespace {

constexpr std::size_t kMaxHits = 100;

std::string Trimmed(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
    return std::string(text);
}

}  // namespace

std::string TformMain::SearchText() const {
    const QString text = editSearch->text();
    return platform::FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                                   static_cast<std::size_t>(text.size())),
                               platform::CP_ACP);
}

int TypeAheadRow(const platform::StringList& keys, const std::string& key) {
    int low = 0, high = static_cast<int>(keys.count()) - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const int order = platform::AnsiCompareText(keys.at(static_cast<std::size_t>(middle)), key);
        if (order < 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
            if (order == 0) low = middle;
        }
    }
    return low;
}

void TformMain::editSearchChange() {
    const std::string text = Trimmed(SearchText());
    if (text.empty()) return;
    int row = TypeAheadRow(listBusca, platform::AnsiUpperCase(text));
    if (row >= GridNomes->rowCount()) row = 0;
    if (row != GridNomes->row()) GridNomes->setRow(row);
}

bool TformMain::editSearchKeyPress(int key) {
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    try {
        // The list takes the focus first: a grid that cannot take it runs no search.
        const bool canFocus = GridNomes->isVisible() && GridNomes->isEnabled();
        GridNomes->setFocus(Qt::OtherFocusReason);
        if (canFocus) RunSearch();
    } catch (const std::exception&) {
        // The search just does not happen.
    }
    editSearch->setFocus(Qt::OtherFocusReason);
    return true;
}

std::string SearchResultsPage(const platform::StringList& keys, const platform::StringList& names,
                              const platform::StringList& pages,
                              const platform::StringList& activities, const std::string& key) {
    platform::StringList lines;
    lines.add("<h1>Resultado da Busca</h1>");
    const std::size_t count = keys.count();
    for (std::size_t i = 0; i < count; ++i) {
        if (lines.count() > kMaxHits) {
            std::string text = lines.text();
            const auto heading = text.find("</h1>");
            text.insert(heading + 5,
                        "<i><p>O programa encontrou um n\xFAmero muito grande de biografias para a "
                        "sua pesquisa.<br>"
                        "Uma pesquisa mais detalhada pode trazer melhores resultados.</i>");
            lines.setText(text);
            break;
        }
        if (!key.empty() && keys.at(i).find(key) != std::string_view::npos) {
            std::string line = "<p><li><a href=\"";
            line += pages.at(i);
            line += "\">";
            line += names.at(i);
            line += "</a></li>";
            line += activities.at(i);
            lines.add(line);
        }
    }
    if (lines.count() == 1) {
        lines.add("<p>Nenhum resultado foi encontrado.<br>");
        lines.add(
            "<h5>Dicas para uma boa busca</h5><li>Se voc\xEA optou por fazer a pesquisa por um "
            "apelido ou "
            "pseudonimo e n\xE3o obteve resultado.<br>Tente procurar pelo nome verdadeiro</li>");
        lines.add(
            "<br><li>Pesquise por apenas um trecho do nome desejado (Ex. Antonio, pesquise por "
            "\"Ant\").</li>");
    }
    lines.insert(
        0,
        "<head><title>Resultado da Busca</title><link rel=\"stylesheet\" type=\"text/css\" "
        "href=\"main.css\" /></head>");
    return lines.text();
}

void TformMain::RunSearch() {
    listVolta.add(viewer->CurrentFile());
    KeepFormValues();
    const std::string page =
        SearchResultsPage(listBusca, listNomes, listArquivos, listAtuacao, SearchKey(SearchText()));
    const std::string path = GeneratedPagesFolder + kSearchPageFile;
    platform::WriteWholeFile(path, page);
    viewer->LoadFromFile(path);
}

void TformMain::labelOKClick() {
    try {
        RunSearch();
    } catch (const std::exception& error) {
        ReportError(error);
    }
}

void TformMain::GridNomesClick() {
    if (!GridNomes->hasFocus()) return;
    try {
        const std::string page(listArquivos.at(static_cast<std::size_t>(GridNomes->row())));
        listVolta.add(viewer->CurrentFile());
        KeepFormValues();
        if (platform::FileExists(PastaDados + page)) viewer->LoadFromFile(PastaDados + page);
    } catch (const std::exception&) {
        // A row without a page, or a page that cannot be shown: nothing happens.
    }
}

}  // namespace app
