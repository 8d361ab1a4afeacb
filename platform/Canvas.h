#pragma once
// The drawing and measuring surface the renderer paints on: the screen buffer, a
// printer page, a page-counting device, or a recording canvas in tests. Its model is
// the classic device context: a current font, text colour and background mode, a
// pen for outlines, a brush for fills, a clip rectangle and a logical-to-device
// mapping. All coordinates are logical pixels.

#include <string_view>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Font.h"
#include "platform/Types.h"

namespace platform {

enum class PenStyle { Solid, Dash, Dot, Clear };
// How the open ends of a stroke and of each dash finish: flat at the point, a square
// or a half circle of half the pen's width beyond it.
enum class PenCap { Flat, Square, Round };
enum class BrushStyle { Solid, Clear };
enum class BackgroundMode { Transparent, Opaque };
enum class TextAlign { Top, Baseline };

struct Pen {
    TColor color = 0;
    PenStyle style = PenStyle::Solid;
    int width = 1;
    PenCap cap = PenCap::Flat;
    friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
    TColor color = 0x00FFFFFF;
    BrushStyle style = BrushStyle::Solid;
    friend bool operator==(const Brush&, const Brush&) = default;
};

struct DeviceCaps {
    int dpiX = 96;
    int dpiY = 96;
    int bitsPerPixel = 24;
    int planes = 1;
    int numColors = -1;  // -1: more than 256
    int width = 0;       // device pixels
    int height = 0;
};

// Logical units map to device units: the window origin (logical units) is taken off,
// the rest is scaled by viewport / window on each axis, then the viewport origin is
// added (device units).
struct Mapping {
    Size windowExtent{1, 1};
    Size viewportExtent{1, 1};
    Point viewportOrigin{0, 0};
    Point windowOrigin{0, 0};
    friend bool operator==(const Mapping&, const Mapping&) = default;
};

class Canvas {
public:
    virtual ~Canvas() = default;

    // Fonts and text measurement. Extents are sums of whole-pixel advances, without
    // kerning, so a run measures the same in pieces as whole.
    virtual void setFont(const FontSpec& font) = 0;
    virtual const FontSpec& font() const = 0;
    virtual TextMetrics textMetrics() = 0;
    virtual Size textExtent(std::u16string_view text) = 0;
    // How many leading characters of `text` fit into maxWidth, and their extent.
    virtual Size textExtentFit(std::u16string_view text, int maxWidth, int& fitCount) = 0;
    // The advance of each character of `text`, into advances[0 .. text.size()).
    virtual void textAdvances(std::u16string_view text, int* advances) = 0;

    // Text output. y is the top of the text or its baseline, by the text alignment.
    // Justification spreads extraPixels over the next breakCount spaces drawn (one
    // pixel more on the first extraPixels % breakCount of them) until reset with (0, 0).
    virtual void setTextColor(TColor color) = 0;
    virtual void setBackgroundColor(TColor color) = 0;
    virtual void setBackgroundMode(BackgroundMode mode) = 0;
    virtual void setTextAlign(TextAlign align) = 0;
    virtual void setTextJustification(int extraPixels, int breakCount) = 0;
    virtual void textOut(int x, int y, std::u16string_view text) = 0;

    // Shapes. Outlines use the pen, fills the brush; right and bottom are exclusive.
    virtual void setPen(const Pen& pen) = 0;
    virtual void setBrush(const Brush& brush) = 0;
    virtual void moveTo(int x, int y) = 0;
    virtual void lineTo(int x, int y) = 0;  // the end point itself is not drawn
    // One stroke through the points, its corners mitred, its ends (when not closed
    // back to the first point) and its dashes finished with the pen's cap. Canvases
    // that cannot join strokes draw it line by line.
    virtual void polyline(const std::vector<Point>& points, bool closed) {
        if (points.empty()) return;
        moveTo(points.front().x, points.front().y);
        for (std::size_t i = 1; i < points.size(); ++i) lineTo(points[i].x, points[i].y);
        if (closed) lineTo(points.front().x, points.front().y);
    }
    virtual void rectangle(const Rect& r) = 0;
    virtual void fillRect(const Rect& r, TColor color) = 0;  // no outline
    virtual void ellipse(const Rect& bounds) = 0;
    virtual void polygon(const std::vector<Point>& points) = 0;  // winding fill
    virtual void focusRect(const Rect& r) = 0;

    // Pictures. The mask, when given, is a bitmap of the same size whose white
    // pixels leave the destination as it is.
    virtual void drawBitmap(const Bitmap& bitmap, const Rect& source, const Rect& dest,
                            const Bitmap* mask = nullptr) = 0;

    // Clipping: one rectangle in logical units; save/restore nest.
    virtual void intersectClipRect(const Rect& r) = 0;
    virtual Rect clipBox() const = 0;
    virtual void save() = 0;
    virtual void restore() = 0;

    virtual void setMapping(const Mapping& mapping) = 0;
    virtual Mapping mapping() const = 0;

    virtual DeviceCaps deviceCaps() const = 0;
};

}  // namespace platform
