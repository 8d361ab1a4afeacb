#pragma once
// Small value types shared by every layer: colours, points, sizes and rectangles.

#include <cstdint>

namespace platform {

// 0x00BBGGRR. The top byte carries flags: 0x02 marks a colour parsed from text
// (palette-relative RGB), 0x80 a system colour whose index is in the low byte.
using TColor = std::uint32_t;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clPaletteFlag = 0x02000000;
inline constexpr TColor clSystemFlag = 0x80000000;

// System colour indexes as the collection's style sheets name them.
enum SystemColor : int {
    colorScrollBar = 0,
    colorBackground = 1,
    colorActiveCaption = 2,
    colorInactiveCaption = 3,
    colorMenu = 4,
    colorWindow = 5,
    colorWindowFrame = 6,
    colorMenuText = 7,
    colorWindowText = 8,
    colorCaptionText = 9,
    colorActiveBorder = 10,
    colorInactiveBorder = 11,
    colorAppWorkspace = 12,
    colorHighlight = 13,
    colorHighlightText = 14,
    colorButtonFace = 15,
    colorButtonShadow = 16,
    colorGrayText = 17,
    colorButtonText = 18,
    colorInactiveCaptionText = 19,
    colorButtonHighlight = 20,
    color3DDarkShadow = 21,
    color3DLight = 22,
    colorInfoText = 23,
    colorInfoBackground = 24,
};

inline constexpr TColor SystemColorValue(SystemColor index) {
    return clSystemFlag | static_cast<TColor>(index);
}

inline constexpr TColor RGBColor(int red, int green, int blue) {
    return static_cast<TColor>(red & 0xFF) | (static_cast<TColor>(green & 0xFF) << 8) |
           (static_cast<TColor>(blue & 0xFF) << 16);
}

// The plain 0x00BBGGRR value of any colour: system colours are looked up in a fixed
// table (the same on every machine, so drawing is reproducible), flags are dropped.
// clNone gives white.
TColor ColorToRGB(TColor color);

inline int RedOf(TColor rgb) { return static_cast<int>(rgb & 0xFF); }
inline int GreenOf(TColor rgb) { return static_cast<int>((rgb >> 8) & 0xFF); }
inline int BlueOf(TColor rgb) { return static_cast<int>((rgb >> 16) & 0xFF); }
// The 0x00RRGGBB pixel value bitmaps hold for a colour.
inline std::uint32_t PixelOf(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return static_cast<std::uint32_t>(RedOf(rgb)) << 16 | static_cast<std::uint32_t>(GreenOf(rgb)) << 8 |
           static_cast<std::uint32_t>(BlueOf(rgb));
}

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Right and bottom are exclusive, as on the screen.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool intersects(const Rect& other) const {
        return left < other.right && other.left < right && top < other.bottom &&
               other.top < bottom;
    }
    Rect intersected(const Rect& other) const;
    Rect translated(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace platform
