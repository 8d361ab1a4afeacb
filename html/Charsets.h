#pragma once
// Character set names as pages write them (META, FONT CHARSET) mapped to font character
// sets, and the two Japanese encodings that are turned into Shift_JIS before reading.

#include <string>
#include <string_view>

// Font character set numbers.
enum : int {
    ANSI_CHARSET = 0,
    DEFAULT_CHARSET = 1,
    SYMBOL_CHARSET = 2,
    SHIFTJIS_CHARSET = 128,
    HANGEUL_CHARSET = 129,
    JOHAB_CHARSET = 130,
    GB2312_CHARSET = 134,
    CHINESEBIG5_CHARSET = 136,
    GREEK_CHARSET = 161,
    TURKISH_CHARSET = 162,
    VIETNAMESE_CHARSET = 163,
    HEBREW_CHARSET = 177,
    ARABIC_CHARSET = 178,
    BALTIC_CHARSET = 186,
    RUSSIAN_CHARSET = 204,
    THAI_CHARSET = 222,
    EASTEUROPE_CHARSET = 238,
    OEM_CHARSET = 255,
};

struct TCharsetMatch {
    bool found = false;
    int charset = ANSI_CHARSET;
    bool eucJp = false;  // the name asked for EUC-JP: the text must be converted
};

// The first row of the table whose substring occurs in the lower-cased name. The reader's
// CharsetFromName adds the EUC-JP conversion of the document.
TCharsetMatch FindCharset(std::string_view name);

// True when the text holds one of the escapes that switch ISO-2022-JP to double bytes.
bool HasIso2022JpEscape(std::string_view text);

// ISO-2022-JP to Shift_JIS. The escapes are dropped, so the result is shorter.
std::string Iso2022JpToShiftJis(std::string_view text);

// EUC-JP to Shift_JIS in place, from byte `from` on; every byte keeps its offset.
void EucJpToShiftJis(std::string& text, std::size_t from = 0);
