#pragma once
// Font descriptions used by the style engine: the plain description of a link state,
// the four link states of a link, the font an element draws with, and the lookups
// from family lists and character sets.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Font.h"
#include "platform/Types.h"

struct ThtFontInfo {
    std::string Name;
    double Size = 0;  // points
    std::uint8_t Style = 0;  // platform::FontStyle bits
    platform::TColor Color = 0;
    platform::TColor BackgroundColor = platform::clNone;
    std::uint8_t FontCharset = platform::DEFAULT_CHARSET;
    bool operator==(const ThtFontInfo&) const = default;
};

// The fonts of a link in its four states.
struct TFontInfoArray {
    enum Slot { Link = 0, Visited = 1, Hover = 2, VisitedHover = 3 };
    std::array<ThtFontInfo, 4> Ary;
    ThtFontInfo& operator[](int slot) { return Ary[slot]; }
    const ThtFontInfo& operator[](int slot) const { return Ary[slot]; }
    bool operator==(const TFontInfoArray&) const = default;
};

// The font an element draws its text with: the platform description plus the text
// colour and the background behind the text (clNone: none).
struct TMyFont : platform::FontSpec {
    platform::TColor Color = 0;
    platform::TColor BackgroundColor = platform::clNone;
    bool operator==(const TMyFont&) const = default;
};

// "serif", "monospace", "sans-serif" and "cursive" (any case) become the face that
// stands for them; any other name is returned as it is.
std::string GenericFamilyFace(std::string_view family);
// The first face of a comma-separated family list that is installed on the screen;
// empty when none is.
std::string ResolveFontName(std::string_view familyList);
// The code page of a character set; false when the set is not one we know.
bool CodePageFromCharset(int charset, int& codePage);
