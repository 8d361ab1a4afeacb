#pragma once
// Small text helpers shared by the style readers: trimming, ASCII case, and reading
// numbers the lenient way style values need (leading blanks, sign, fraction,
// exponent), independent of the process locale.

#include <string>
#include <string_view>

// Removes control characters and blanks from both ends.
std::string_view TrimView(std::string_view text);
inline std::string Trim(std::string_view text) { return std::string(TrimView(text)); }
std::string LowerAscii(std::string_view text);
inline bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// Scans a real number from the start of `text`. Returns the index of the first
// character that is not part of it, or npos when the whole text is one number.
// `value` gets what was read (0 when nothing was).
std::size_t ScanReal(std::string_view text, double& value);
// The whole text as a real / a 32-bit integer; false (value untouched) otherwise.
bool ReadReal(std::string_view text, double& value);
bool ReadInteger(std::string_view text, int& value);

// Nearest integer, halves to even, clamped to the int range (NaN gives 0), so that
// absurd lengths in a page cannot overflow.
int RoundToInt(double value);
