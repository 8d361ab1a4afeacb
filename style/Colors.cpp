#include "style/Colors.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "style/ValueText.h"

namespace {

struct NamedColor {
    std::string_view name;
    platform::TColor color;
};

// Named colours as #RRGGBB written the other way round (0x00BBGGRR), without the
// palette flag, then the system colours of the desktop theme.
constexpr NamedColor kNamedColors[] = {
    {"transparent", platform::clNone},
    {"black", 0x00000000},
    {"maroon", 0x00000080},
    {"green", 0x00008000},
    {"olive", 0x00008080},
    {"navy", 0x00800000},
    {"purple", 0x00800080},
    {"teal", 0x00808000},
    {"gray", 0x00808080},
    {"silver", 0x00C0C0C0},
    {"red", 0x000000FF},
    {"lime", 0x0000FF00},
    {"yellow", 0x0000FFFF},
    {"blue", 0x00FF0000},
    {"fuchsia", 0x00FF00FF},
    {"aqua", 0x00FFFF00},
    {"white", 0x00FFFFFF},
    {"aliceblue", 0x00FFF8F0},
    {"antiquewhite", 0x00D7EBFA},
    {"aquamarine", 0x00D4FF7F},
    {"azure", 0x00FFFFF0},
    {"beige", 0x00DCF5F5},
    {"bisque", 0x00C4E4FF},
    {"blanchedalmond", 0x00CDEBFF},
    {"blueviolet", 0x00E22B8A},
    {"brown", 0x002A2AA5},
    {"burlywood", 0x0087B8DE},
    {"cadetblue", 0x00A09E5F},
    {"chartreuse", 0x0000FF7F},
    {"chocolate", 0x001E69D2},
    {"coral", 0x00507FFF},
    {"cornflowerblue", 0x00ED9564},
    {"cornsilk", 0x00DCF8FF},
    {"crimson", 0x003614DC},
    {"cyan", 0x00FFFF00},
    {"darkblue", 0x008B0000},
    {"darkcyan", 0x008B8B00},
    {"darkgoldenrod", 0x000B86B8},
    {"darkgray", 0x00A9A9A9},
    {"darkgreen", 0x00006400},
    {"darkkhaki", 0x006BB7BD},
    {"darkmagenta", 0x008B008B},
    {"darkolivegreen", 0x002F6B55},
    {"darkorange", 0x00008CFF},
    {"darkorchid", 0x00CC3299},
    {"darkred", 0x0000008B},
    {"darksalmon", 0x007A96E9},
    {"darkseagreen", 0x008FBC8F},
    {"darkslateblue", 0x008B3D48},
    {"darkslategray", 0x004F4F2F},
    {"darkturquoise", 0x00D1CE00},
    {"darkviolet", 0x00D30094},
    {"deeppink", 0x009314FF},
    {"deepskyblue", 0x00FFBF00},
    {"dimgray", 0x00696969},
    {"dodgerblue", 0x00FF901E},
    {"firebrick", 0x002222B2},
    {"floralwhite", 0x00F0FAFF},
    {"forestgreen", 0x00228B22},
    {"gainsboro", 0x00DCDCDC},
    {"ghostwhite", 0x00FFF8F8},
    {"gold", 0x0000D7FF},
    {"goldenrod", 0x0020A5DA},
    {"greenyellow", 0x002FFFAD},
    {"honeydew", 0x00F0FFF0},
    {"hotpink", 0x00B469FF},
    {"indianred", 0x005C5CCD},
    {"indigo", 0x0082004B},
    {"ivory", 0x00F0FFFF},
    {"khaki", 0x008CE6F0},
    {"lavender", 0x00FAE6E6},
    {"lavenderblush", 0x00F5F0FF},
    {"lawngreen", 0x0000FC7C},
    {"lemonchiffon", 0x00CDFAFF},
    {"lightblue", 0x00E6D8AD},
    {"lightcoral", 0x008080F0},
    {"lightcyan", 0x00FFFFE0},
    {"lightgoldenrodyellow", 0x00D2FAFA},
    {"lightgreen", 0x0090EE90},
    {"lightgray", 0x00D3D3D3},
    {"lightpink", 0x00C1B6FF},
    {"lightsalmon", 0x007AA0FF},
    {"lightseagreen", 0x00AAB220},
    {"lightskyblue", 0x00FACE87},
    {"lightslategray", 0x00998877},
    {"lightsteelblue", 0x00DEC4B0},
    {"lightyellow", 0x00E0FFFF},
    {"limegreen", 0x0032CD32},
    {"linen", 0x00E6F0FA},
    {"magenta", 0x00FF00FF},
    {"mediumaquamarine", 0x00AACD66},
    {"mediumblue", 0x00CD0000},
    {"mediumorchid", 0x00D355BA},
    {"mediumpurple", 0x00DB7093},
    {"mediumseagreen", 0x0071B33C},
    {"mediumslateblue", 0x00EE687B},
    {"mediumspringgreen", 0x009AFA00},
    {"mediumturquoise", 0x00CCD148},
    {"mediumvioletred", 0x008515C7},
    {"midnightblue", 0x00701919},
    {"mintcream", 0x00FAFFF5},
    {"mistyrose", 0x00E1E4FF},
    {"moccasin", 0x00B5E4FF},
    {"navajowhite", 0x00ADDEFF},
    {"oldlace", 0x00E6F5FD},
    {"olivedrab", 0x00238E6B},
    {"orange", 0x0000A5FF},
    {"orangered", 0x000045FF},
    {"orchid", 0x00D670DA},
    {"palegoldenrod", 0x00AAE8EE},
    {"palegreen", 0x0098FB98},
    {"paleturquoise", 0x00EEEEAF},
    {"palevioletred", 0x009370DB},
    {"papayawhip", 0x00D5EFFF},
    {"peachpuff", 0x00B9DAFF},
    {"peru", 0x003F85CD},
    {"pink", 0x00CBC0FF},
    {"plum", 0x00DDA0DD},
    {"powderblue", 0x00E6E0B0},
    {"rosybrown", 0x008F8FBC},
    {"royalblue", 0x00E16941},
    {"saddlebrown", 0x0013458B},
    {"salmon", 0x007280FA},
    {"sandybrown", 0x0060A4F4},
    {"seagreen", 0x00578B2E},
    {"seashell", 0x00EEF5FF},
    {"sienna", 0x002D52A0},
    {"skyblue", 0x00EBCE87},
    {"slateblue", 0x00CD5A6A},
    {"slategray", 0x00908070},
    {"snow", 0x00FAFAFF},
    {"springgreen", 0x007FFF00},
    {"steelblue", 0x00B48246},
    {"tan", 0x008CB4D2},
    {"thistle", 0x00D8BFD8},
    {"tomato", 0x004763FF},
    {"turquoise", 0x00D0E040},
    {"violet", 0x00EE82EE},
    {"wheat", 0x00B3DEF5},
    {"whitesmoke", 0x00F5F5F5},
    {"yellowgreen", 0x0032CD9A},
    {"grey", 0x00808080},
    {"darkgrey", 0x00A9A9A9},
    {"darkslategrey", 0x004F4F2F},
    {"dimgrey", 0x00696969},
    {"lightgrey", 0x00D3D3D3},
    {"lightslategrey", 0x00998877},
    {"slategrey", 0x00908070},
    {"background", platform::clSystemFlag + 1},
    {"activecaption", platform::clSystemFlag + 2},
    {"inactivecaption", platform::clSystemFlag + 3},
    {"menu", platform::clSystemFlag + 4},
    {"window", platform::clSystemFlag + 5},
    {"windowframe", platform::clSystemFlag + 6},
    {"menutext", platform::clSystemFlag + 7},
    {"windowtext", platform::clSystemFlag + 8},
    {"captiontext", platform::clSystemFlag + 9},
    {"activeborder", platform::clSystemFlag + 10},
    {"inactiveborder", platform::clSystemFlag + 11},
    {"appworkSpace", platform::clSystemFlag + 12},
    {"highlight", platform::clSystemFlag + 13},
    {"hightlighttext", platform::clSystemFlag + 14},
    {"buttonface", platform::clSystemFlag + 15},
    {"buttonshadow", platform::clSystemFlag + 16},
    {"graytext", platform::clSystemFlag + 17},
    {"buttontext", platform::clSystemFlag + 18},
    {"inactivecaptiontext", platform::clSystemFlag + 19},
    {"buttonhighlight", platform::clSystemFlag + 20},
    {"threeddarkshadow", platform::clSystemFlag + 21},
    {"threedlightshadow", platform::clSystemFlag + 20},
    {"infotext", platform::clSystemFlag + 23},
    {"infobackground", platform::clSystemFlag + 24},
    {"scrollbar", platform::clSystemFlag + 0},
    {"threedface", platform::clSystemFlag + 15},
    {"threedhighlight", platform::clSystemFlag + 22},
    {"threedshadow", platform::clSystemFlag + 16},
};

struct SortedColor {
    std::string name;  // lower case
    platform::TColor color;
};

// Sorted once, on first use, by lower-case name (one system colour is spelt with a
// capital; the search ignores case).
const std::vector<SortedColor>& SortedNames() {
    static const std::vector<SortedColor> sorted = [] {
        std::vector<SortedColor> names;
        for (const auto& entry : kNamedColors) names.push_back({LowerAscii(entry.name), entry.color});
        std::stable_sort(names.begin(), names.end(),
                         [](const SortedColor& a, const SortedColor& b) { return a.name < b.name; });
        return names;
    }();
    return sorted;
}

// The last colour text that parsed, and its colour. The key starts as text no
// colour can be written as, so the first call never hits.
std::string cacheKey = "\x01";
platform::TColor cacheColor = 0;

int ReadComponent(std::string_view part) {
    const std::string text = Trim(part);
    int value = 0;
    if (text.find('%') != std::string::npos) {
        std::string number;
        for (char c : text)
            if (c != '%') number += c;
        double percent = 0;
        if (!ReadReal(number, percent)) percent = 0;
        value = RoundToInt(percent * 2.55);
    } else if (!ReadInteger(text, value)) {
        value = 0;
    }
    return std::clamp(value, 0, 255);
}

bool ReadHex(std::string_view text, std::uint32_t& value) {
    if (text.empty()) return false;
    std::uint64_t result = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return false;
        result = result * 16 + digit;
        if (result > 0xFFFFFFFFull) return false;
    }
    value = static_cast<std::uint32_t>(result);
    return true;
}

bool Remember(const std::string& key, platform::TColor color, platform::TColor& out) {
    cacheKey = key;
    cacheColor = color;
    out = color;
    return true;
}

}  // namespace

bool ColorFromName(std::string_view name, platform::TColor& color) {
    const std::string key = LowerAscii(name);
    const auto& names = SortedNames();
    const auto it = std::lower_bound(names.begin(), names.end(), key,
                                     [](const SortedColor& a, const std::string& b) { return a.name < b; });
    if (it == names.end() || it->name != key) return false;
    color = it->color;
    return true;
}

int NamedColorCount() { return static_cast<int>(std::size(kNamedColors)); }

bool ParseColor(std::string_view text, bool needHash, platform::TColor& color) {
    const std::string s = LowerAscii(TrimView(text));
    if (s == cacheKey) {
        color = cacheColor;
        return true;
    }
    if (!s.empty() && s[0] != '#' && !Contains(s, "rgb(")) {
        platform::TColor named;
        if (ColorFromName(s, named)) return Remember(s, named, color);
    }
    const std::size_t rgb = s.find("rgb");
    if (rgb != std::string::npos) {
        const std::string_view rest = std::string_view(s).substr(rgb + 3);
        const std::size_t open = rest.find('(');
        const std::size_t close = rest.find(')');
        if (open == std::string_view::npos || close == std::string_view::npos) return false;
        const std::string_view inside =
            close > open ? rest.substr(open + 1, close - open - 1) : std::string_view();
        std::string_view parts[3];
        const std::size_t comma1 = inside.find(',');
        if (comma1 == std::string_view::npos) {
            parts[0] = inside;
        } else {
            parts[0] = inside.substr(0, comma1);
            const std::string_view tail = inside.substr(comma1 + 1);
            const std::size_t comma2 = tail.find(',');
            if (comma2 == std::string_view::npos) {
                parts[1] = tail;
            } else {
                parts[1] = tail.substr(0, comma2);
                parts[2] = tail.substr(comma2 + 1);
            }
        }
        const int r = ReadComponent(parts[0]);
        const int g = ReadComponent(parts[1]);
        const int b = ReadComponent(parts[2]);
        return Remember(s, platform::RGBColor(r, g, b) | platform::clPaletteFlag, color);
    }
    const std::size_t hash = s.rfind('#');
    if (hash == std::string::npos && needHash) return false;
    std::string digits = Trim(hash == std::string::npos ? std::string_view(s)
                                                        : std::string_view(s).substr(hash + 1));
    if (!digits.empty() && digits.size() <= 3) {
        std::string doubled;
        for (char c : digits) doubled += std::string(2, c);
        digits = doubled;
    }
    std::uint32_t n = 0;
    if (!ReadHex(digits, n)) return false;
    const int rr = (n >> 16) & 0xFF, gg = (n >> 8) & 0xFF, bb = n & 0xFF;
    return Remember(s, platform::RGBColor(rr, gg, bb) | platform::clPaletteFlag, color);
}
