#pragma once
// The named character references of HTML 4.01 (Latin-1, symbols and specials).

#include <string_view>

inline constexpr int EntityCount = 252;

// The code point of a character reference name, matched case-sensitively ("Agrave" and
// "agrave" differ); -1 when there is no such name.
int LookupEntity(std::string_view name);
