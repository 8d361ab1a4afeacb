#pragma once
// Case mapping of UTF-16 text for text-transform and case-blind search: Latin
// (with Latin-1 and Latin Extended-A accents), Greek and Cyrillic letters. The same
// answer on every machine, whatever its locale.

#include <string>
#include <string_view>

char16_t LowerChar(char16_t c);
char16_t UpperChar(char16_t c);
std::u16string LowerCaseText(std::u16string_view text);
std::u16string UpperCaseText(std::u16string_view text);
