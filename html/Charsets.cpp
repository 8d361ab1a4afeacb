#include "html/Charsets.h"

#include <array>

#include "platform/Text.h"

namespace {

struct CharsetRow {
    std::string_view part;
    int charset;
};

// Searched in this order; the first substring found wins.
constexpr std::array<CharsetRow, 46> CharsetRows{{
    {"1252", ANSI_CHARSET},
    {"8859-1", ANSI_CHARSET},
    {"1253", GREEK_CHARSET},
    {"8859-7", GREEK_CHARSET},
    {"1250", EASTEUROPE_CHARSET},
    {"8859-2", EASTEUROPE_CHARSET},
    {"1251", RUSSIAN_CHARSET},
    {"8859-5", RUSSIAN_CHARSET},
    {"koi", RUSSIAN_CHARSET},
    {"866", RUSSIAN_CHARSET},
    {"1254", TURKISH_CHARSET},
    {"8859-3", TURKISH_CHARSET},
    {"8859-9", TURKISH_CHARSET},
    {"1257", BALTIC_CHARSET},
    {"8859-4", BALTIC_CHARSET},
    {"932", SHIFTJIS_CHARSET},
    {"949", HANGEUL_CHARSET},
    {"936", GB2312_CHARSET},
    {"950", CHINESEBIG5_CHARSET},
    {"1255", HEBREW_CHARSET},
    {"1256", ARABIC_CHARSET},
    {"1258", VIETNAMESE_CHARSET},
    {"874", THAI_CHARSET},
    {"ansi", ANSI_CHARSET},
    {"default", DEFAULT_CHARSET},
    {"symbol", SYMBOL_CHARSET},
    {"shiftjis", SHIFTJIS_CHARSET},
    {"shift_jis", SHIFTJIS_CHARSET},
    {"x-sjis", SHIFTJIS_CHARSET},
    {"hangeul", HANGEUL_CHARSET},
    {"gb2312", GB2312_CHARSET},
    {"big5", CHINESEBIG5_CHARSET},
    {"oem", OEM_CHARSET},
    {"johab", JOHAB_CHARSET},
    {"hebrew", HEBREW_CHARSET},
    {"arabic", ARABIC_CHARSET},
    {"greek", GREEK_CHARSET},
    {"turkish", TURKISH_CHARSET},
    {"vietnamese", VIETNAMESE_CHARSET},
    {"thai", THAI_CHARSET},
    {"easteurope", EASTEUROPE_CHARSET},
    {"russian", RUSSIAN_CHARSET},
    {"euc-kr", HANGEUL_CHARSET},
    {"5601", HANGEUL_CHARSET},
    {"euc-jp", SHIFTJIS_CHARSET},
    {"8859-15", ANSI_CHARSET},
}};

// JIS X 0208 row and cell (0x21-0x7E each) to the Shift_JIS byte pair.
void JisToShiftJis(unsigned j1, unsigned j2, unsigned char& s1, unsigned char& s2) {
    s1 = static_cast<unsigned char>(((j1 + 1) >> 1) + (j1 >= 0x21 && j1 <= 0x5E ? 0x70 : 0xB0));
    if (j1 & 1)
        s2 = static_cast<unsigned char>(j2 + 0x1F + (j2 >= 0x60 ? 1 : 0));
    else
        s2 = static_cast<unsigned char>(j2 + 0x7E);
}

}  // namespace

TCharsetMatch FindCharset(std::string_view name) {
    const std::string lower = platform::AsciiLowerCase(name);
    for (const auto& row : CharsetRows) {
        if (lower.find(row.part) != std::string::npos)
            return {true, row.charset, row.part == "euc-jp"};
    }
    return {};
}

bool HasIso2022JpEscape(std::string_view text) {
    // One pass over the page for both escapes.
    for (std::size_t at = text.find('\x1B'); at != std::string_view::npos;
         at = text.find('\x1B', at + 1)) {
        const std::string_view escape = text.substr(at, 3);
        if (escape == "\x1B$@" || escape == "\x1B$B") return true;
    }
    return false;
}

std::string Iso2022JpToShiftJis(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool doubleBytes = false;
    std::size_t i = 0;
    const auto at = [&](std::size_t k) { return static_cast<unsigned>(text[k]) & 0x7F; };
    while (i < text.size()) {
        const unsigned c = at(i);
        if (c == 0x1B && i + 2 < text.size()) {
            const unsigned a = at(i + 1), b = at(i + 2);
            if (a == '(' && (b == 'B' || b == 'J')) {
                doubleBytes = false;
                i += 3;
                continue;
            }
            if (a == '$' && (b == '@' || b == 'B')) {
                doubleBytes = true;
                i += 3;
                continue;
            }
        }
        // Control characters (a line end the writer left in double-byte mode) and a
        // last lone byte are copied as they are.
        if (doubleBytes && c > 0x20 && i + 1 < text.size()) {
            unsigned char s1, s2;
            JisToShiftJis(c, at(i + 1), s1, s2);
            out.push_back(static_cast<char>(s1));
            out.push_back(static_cast<char>(s2));
            i += 2;
            continue;
        }
        out.push_back(static_cast<char>(c));
        ++i;
    }
    return out;
}

void EucJpToShiftJis(std::string& text, std::size_t from) {
    bool leadPending = false;
    std::size_t leadAt = 0;
    for (std::size_t i = from; i < text.size(); ++i) {
        const unsigned c = static_cast<unsigned char>(text[i]);
        if (c > 160) {
            if (!leadPending) {
                leadPending = true;
                leadAt = i;
            } else {
                unsigned char s1, s2;
                JisToShiftJis(static_cast<unsigned char>(text[leadAt]) & 0x7F, c & 0x7F, s1, s2);
                text[leadAt] = static_cast<char>(s1);
                text[i] = static_cast<char>(s2);
                leadPending = false;
            }
        } else {
            leadPending = false;
        }
    }
}
