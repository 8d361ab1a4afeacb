// Style borders: the nine border styles painted between a border box and a padding
// box, for blocks and table cells alike.

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "layout/Block.h"

namespace {

using platform::Point;
using platform::TColor;

TColor Darkened(TColor color) {
    const TColor rgb = platform::ColorToRGB(color);
    auto scale = [](int channel) { return static_cast<int>(std::lround(channel * 0.75)); };
    return platform::RGBColor(scale(platform::RedOf(rgb)), scale(platform::GreenOf(rgb)),
                              scale(platform::BlueOf(rgb)));
}

TColor Solid(TColor color) { return platform::clPaletteFlag | platform::ColorToRGB(color); }

// Corners of a box in side order: (left, bottom), (left, top), (right, top), (right, bottom).
std::array<Point, 4> Corners(const platform::Rect& r) {
    return {Point{r.left, r.bottom}, Point{r.left, r.top}, Point{r.right, r.top}, Point{r.right, r.bottom}};
}

void Fill(platform::Canvas& canvas, TColor color, std::vector<Point> points) {
    canvas.setPen({color, platform::PenStyle::Clear, 1});
    canvas.setBrush({color, platform::BrushStyle::Solid});
    canvas.polygon(points);
}

enum : int { kNone = 0, kSolid, kInset, kOutset, kGroove, kRidge, kDashed, kDotted, kDouble };

}  // namespace

void PaintStyleBorders(platform::Canvas& canvas, platform::Rect border, platform::Rect padding,
                       const TBorderSides& sides, TColor background) {
    // Very tall boxes stay within what the platform can draw.
    border.top = std::max(border.top, -200);
    padding.top = std::max(padding.top, -200);
    border.bottom = std::min(border.bottom, 5000);
    padding.bottom = std::min(padding.bottom, 5000);
    const int widths[4] = {padding.left - border.left, padding.top - border.top,
                           border.right - padding.right, border.bottom - padding.bottom};
    bool anyMiddle = false, anyDouble = false, anyGaps = false;
    for (int style : sides.styles) {
        anyMiddle |= style == kGroove || style == kRidge || style == kDashed || style == kDotted;
        anyDouble |= style == kDouble;
        anyGaps |= style == kDashed || style == kDotted || style == kDouble;
    }
    const auto O = Corners(border);
    const auto I = Corners(padding);
    std::array<Point, 4> M{}, D1{}, D2{};
    if (anyMiddle)
        M = Corners({(border.left + padding.left) / 2, (border.top + padding.top) / 2,
                     (border.right + padding.right) / 2, (border.bottom + padding.bottom) / 2});
    if (anyDouble) {
        int d[4];
        for (int k = 0; k < 4; ++k) d[k] = widths[k] / 3 + (widths[k] % 3 == 2 ? 1 : 0);
        D1 = Corners({border.left + d[0], border.top + d[1], border.right - d[2], border.bottom - d[3]});
        D2 = Corners({padding.left - d[0], padding.top - d[1], padding.right + d[2], padding.bottom + d[3]});
    }
    if (background != platform::clNone && anyGaps) {
        // The ring between the boxes, so that the gaps of dashes and double lines show it.
        const TColor ring = Solid(background);
        canvas.fillRect({border.left, border.top, border.right, padding.top}, ring);
        canvas.fillRect({border.left, padding.bottom, border.right, border.bottom}, ring);
        canvas.fillRect({border.left, padding.top, padding.left, padding.bottom}, ring);
        canvas.fillRect({padding.right, padding.top, border.right, padding.bottom}, ring);
    }
    for (int k = 0; k < 4; ++k) {
        const int n = (k + 1) % 4;
        const TColor color = Solid(sides.colors[k]);
        const TColor dark = platform::clPaletteFlag | Darkened(sides.colors[k]);
        const bool leftOrTop = k <= 1;
        switch (sides.styles[k]) {
            case kSolid:
                Fill(canvas, color, {O[k], O[n], I[n], I[k]});
                break;
            case kInset:
                Fill(canvas, leftOrTop ? dark : color, {O[k], O[n], I[n], I[k]});
                break;
            case kOutset:
                Fill(canvas, leftOrTop ? color : dark, {O[k], O[n], I[n], I[k]});
                break;
            case kGroove:
                Fill(canvas, leftOrTop ? dark : color, {O[k], O[n], M[n], M[k]});
                Fill(canvas, leftOrTop ? color : dark, {M[k], M[n], I[n], I[k]});
                break;
            case kRidge:
                Fill(canvas, leftOrTop ? color : dark, {O[k], O[n], M[n], M[k]});
                Fill(canvas, leftOrTop ? dark : color, {M[k], M[n], I[n], I[k]});
                break;
            case kDouble:
                Fill(canvas, color, {O[k], O[n], D1[n], D1[k]});
                Fill(canvas, color, {D2[k], D2[n], I[n], I[k]});
                break;
            default:
                break;
        }
    }
    // Dashed and dotted sides: consecutive sides alike are stroked as one path.
    for (int k = 0; k < 4;) {
        const int style = sides.styles[k];
        if (style != kDashed && style != kDotted) {
            ++k;
            continue;
        }
        const int start = k;
        while (k + 1 < 4 && sides.styles[k + 1] == style && sides.colors[k + 1] == sides.colors[start] &&
               widths[k + 1] == widths[start])
            ++k;
        const TColor color = Solid(sides.colors[start]);
        canvas.setPen({color, style == kDashed ? platform::PenStyle::Dash : platform::PenStyle::Dot,
                       std::max(1, widths[start]),
                       style == kDashed ? platform::PenCap::Square : platform::PenCap::Round});
        canvas.setBrush({color, platform::BrushStyle::Solid});
        // One joined stroke along the middle line; all four sides alike close it.
        const bool closed = start == 0 && k == 3;
        std::vector<Point> path{M[start]};
        for (int s = start; s <= (closed ? 2 : k); ++s) path.push_back(M[(s + 1) % 4]);
        canvas.polyline(path, closed);
        ++k;
    }
}
