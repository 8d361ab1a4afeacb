#include "app/Catalogue.h"

#include <array>

#include "platform/Text.h"

namespace app {

namespace {

std::array<unsigned char, 256> BuildFoldingTable() {
    std::array<unsigned char, 256> table{};
    for (int b = 0; b < 256; ++b) table[b] = static_cast<unsigned char>(b);
    auto fold = [&table](int from, int to, char base) {
        for (int b = from; b <= to; ++b) table[b] = static_cast<unsigned char>(base);
    };
    fold(0xC0, 0xC4, 'A');
    fold(0xC7, 0xC7, 'C');
    fold(0xC8, 0xCB, 'E');
    fold(0xCC, 0xCF, 'I');
    fold(0xD1, 0xD1, 'N');
    fold(0xD2, 0xD6, 'O');
    fold(0xD9, 0xDC, 'U');
    fold(0xDD, 0xDD, 'Y');
    fold(0x9F, 0x9F, 'Y');
    fold(0xE0, 0xE4, 'a');
    fold(0xE7, 0xE7, 'c');
    fold(0xE8, 0xEB, 'e');
    fold(0xEC, 0xEF, 'i');
    fold(0xF1, 0xF1, 'n');
    fold(0xF2, 0xF6, 'o');
    fold(0xF9, 0xFC, 'u');
    fold(0xFD, 0xFD, 'y');
    fold(0xFF, 0xFF, 'y');
    return table;
}

}  // namespace

std::string RemoveAcentos(std::string_view text) {
    static const auto table = BuildFoldingTable();
    std::string out(text);
    for (auto& c : out) c = static_cast<char>(table[static_cast<unsigned char>(c)]);
    return out;
}

std::string SearchKey(std::string_view name) {
    return platform::AnsiUpperCase(RemoveAcentos(name));
}

}  // namespace app
