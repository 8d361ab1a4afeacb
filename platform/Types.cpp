#include "platform/Types.h"

#include <algorithm>
#include <iterator>

namespace platform {

namespace {

// A classic desktop scheme (0x00BBGGRR), fixed so that pages and tests look the same on
// every machine whatever the desktop theme.
constexpr TColor kSystemColors[] = {
    0x00C8C8C8,  // scroll bar
    0x00000000,  // desktop background
    0x00D1B499,  // active caption
    0x00DBCDBF,  // inactive caption
    0x00F0F0F0,  // menu
    0x00FFFFFF,  // window
    0x00646464,  // window frame
    0x00000000,  // menu text
    0x00000000,  // window text
    0x00000000,  // caption text
    0x00B4B4B4,  // active border
    0x00FCF7F4,  // inactive border
    0x00ABABAB,  // application workspace
    0x00D77800,  // highlight
    0x00FFFFFF,  // highlight text
    0x00F0F0F0,  // button face
    0x00A0A0A0,  // button shadow
    0x006D6D6D,  // grey text
    0x00000000,  // button text
    0x00000000,  // inactive caption text
    0x00FFFFFF,  // button highlight
    0x00696969,  // 3D dark shadow
    0x00E3E3E3,  // 3D light
    0x00000000,  // info text
    0x00E1FFFF,  // info background
};

}  // namespace

TColor ColorToRGB(TColor color) {
    if (color == clNone) return 0x00FFFFFF;
    if (color & clSystemFlag) {
        const TColor index = color & 0xFF;
        return index < std::size(kSystemColors) ? kSystemColors[index] : 0;
    }
    return color & 0x00FFFFFF;
}

Rect Rect::intersected(const Rect& other) const {
    Rect r{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
           std::min(bottom, other.bottom)};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

}  // namespace platform
