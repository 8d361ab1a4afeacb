#pragma once
// Font descriptions and the metrics a canvas reports for them.

#include <cstdint>
#include <string>

#include "platform/Interned.h"

namespace platform {

enum FontStyle : std::uint8_t {
    fsBold = 1,
    fsItalic = 2,
    fsUnderline = 4,
    fsStrikeOut = 8,
};

// Character sets by their Windows numbers: 0 ANSI, 1 default, 2 symbol, 128 Shift_JIS,
// 129 Hangul, 130 Johab, 134 GB2312, 136 Big5, 161 Greek, 162 Turkish, 163 Vietnamese,
// 177 Hebrew, 178 Arabic, 186 Baltic, 204 Cyrillic, 222 Thai, 238 Eastern Europe.
inline constexpr std::uint8_t ANSI_CHARSET = 0;
inline constexpr std::uint8_t DEFAULT_CHARSET = 1;

// The character set a font reports when created with `requested`: the default set
// reads as ANSI, the sets above are honoured, anything else falls back to ANSI.
std::uint8_t ReportedCharset(int requested);

struct FontSpec {
    Interned face;  // empty: the platform's default face
    // Pixels. Negative: the character (em) height; positive: the cell height,
    // internal leading included; 0: a default size.
    int height = -12;
    std::uint8_t style = 0;  // FontStyle bits
    std::uint8_t charset = DEFAULT_CHARSET;

    bool bold() const { return style & fsBold; }
    bool italic() const { return style & fsItalic; }
    bool underline() const { return style & fsUnderline; }
    bool strikeOut() const { return style & fsStrikeOut; }
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

struct TextMetrics {
    int height = 0;  // ascent + descent
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;  // height - em size
    int externalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
    int overhang = 0;  // extra width of synthesised italic/bold
    std::uint8_t charset = ANSI_CHARSET;
};

}  // namespace platform
