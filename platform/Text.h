#pragma once
// Locale text services: Windows-1252 upper- and lower-casing by table, UTF-16 casing,
// and the case-insensitive comparison the sorted lists rely on (Brazilian Portuguese
// collation). All give the same answer on every machine.

#include <string>
#include <string_view>

namespace platform {

// Upper-cases the letters of Windows-1252, accented ones included (é -> É, ÿ -> Ÿ,
// š -> Š); ß, µ and every other byte are left alone.
std::string AnsiUpperCase(std::string_view text);
std::string AnsiLowerCase(std::string_view text);

// ASCII-only lower-casing, for keywords of HTML and style text.
std::string AsciiLowerCase(std::string_view text);

// Locale-aware, case-insensitive comparison of two Windows-1252 strings:
// < 0, 0 or > 0. Accents still count (a < á < b); case does not.
int AnsiCompareText(std::string_view a, std::string_view b);
inline bool AnsiSameText(std::string_view a, std::string_view b) {
    return AnsiCompareText(a, b) == 0;
}

// Upper- and lower-casing of UTF-16 text by Brazilian Portuguese rules (every script
// Unicode cases: accented Greek, Vietnamese, full-width Latin...), the same on every
// machine. The result has the text's length, character for character.
std::u16string UpperCaseUtf16(std::u16string_view text);
std::u16string LowerCaseUtf16(std::u16string_view text);

// The same comparison on UTF-16 text.
int CompareTextUtf16(std::u16string_view a, std::u16string_view b);

}  // namespace platform
