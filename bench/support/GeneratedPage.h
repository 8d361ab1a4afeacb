#pragma once
// A generated biography page of about `size` bytes: chapters of headings, paragraphs with
// links and italics, and short lists, in Windows-1252.

#include <cstddef>
#include <string>

inline std::string GeneratedPage(std::size_t size) {
    const std::string chapter =
        "<h2>Obra</h2><p>Em 1930 mudou-se para Porto Alegre, onde passou a trabalhar na "
        "<a href=\"revista.htm\">Revista do Globo</a> e na Editora Globo, como secret\xE1rio de "
        "reda\xE7\xE3o, tradutor e editor. Ali ajudou a publicar no Brasil muitos autores "
        "estrangeiros. Seu primeiro romance, <i>Clarissa</i>, saiu em 1933.</p>\r\n"
        "<ul><li>O Continente (1949)<li>O Retrato (1951)<li><b>O Arquip\xE9lago</b> "
        "(1961)</ul>\r\n";
    std::string page = "<html><head><title>Gerada</title></head><body>\r\n";
    while (page.size() < size) page += chapter;
    return page;
}
