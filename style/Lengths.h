#pragma once
// Lengths in pixels and font sizes in points, read from style text.

#include <string>
#include <string_view>

class PropValue;

// Lengths a page gives are kept within this many pixels either way once resolved, so
// that the sums layout makes of a handful of them cannot overflow an int.
inline constexpr int kMaxLengthPixels = 1 << 24;
inline int BoundedLength(int pixels) {
    return pixels < -kMaxLengthPixels  ? -kMaxLengthPixels
           : pixels > kMaxLengthPixels ? kMaxLengthPixels
                                       : pixels;
}

// A length in screen pixels. Units: in, cm, mm, pt, px, pc, em, ex, %; a bare number
// is a multiple of Base when Relative, else pixels; an unknown unit gives Default.
int LengthToPixels(std::string_view text, bool relative, int base, int emPixels, int exPixels,
                   int defaultValue);
// A font size in points, relative units against the parent's size, keywords against
// the document's default size.
double LengthToPoints(std::string_view text, double parentPoints);

// The document's default font size in points (set when the default sheet is built);
// the keywords "small", "large"... scale it.
double DefaultPointSize();
void SetDefaultPointSize(double points);

// The address inside a url(...) value; empty for anything else.
std::string UrlFromValue(const PropValue& value);
