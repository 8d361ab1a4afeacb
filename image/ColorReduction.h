#pragma once
// Colour reduction for screens of 8 bits a pixel or fewer: a picture becomes one
// palette index a pixel, on a fixed palette, its colours chosen by Floyd-Steinberg
// error diffusion (or plain nearest colour). Besides the screen's palettes, a
// 216-colour cube and an octree palette made for the picture are at hand.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "image/DibBitmap.h"
#include "platform/Bitmap.h"
#include "platform/Errors.h"
#include "platform/Types.h"

// What the pictures are fitted to: the screen's colour depth and, on 8-bit screens,
// the palette every picture there shares (entries 0x00BBGGRR).
struct ScreenColors {
    int depth = 24;
    const std::array<platform::TColor, 256>* sharedPalette = nullptr;
};

// The colour reduction's errors (the picture then counts as missing).
class GIFException : public platform::Exception {
  public:
    using platform::Exception::Exception;
};

class EOutOfMemory : public platform::Exception {
  public:
    using platform::Exception::Exception;
};

namespace reduction_messages {
inline constexpr const char* kBitmapNotValid = "Bitmap image is not valid";
inline constexpr const char* kInvalidPixelFormat = "Invalid pixel format";
inline constexpr const char* kNoDib = "Image has no DIB";
inline constexpr const char* kCreateDibFailed = "Failed to create DIB from Bitmap";
inline constexpr const char* kOutOfMemory = "Failed to allocate memory for GIF DIB";
inline constexpr const char* kScanLineOutOfRange = "Scan line index out of range";
}  // namespace reduction_messages

enum PaletteKind : int {
    pkDefault = 1,    // the screen's own colours, for screens below 8 bits
    pkNetscape = 3,   // the 216-colour cube
    pkShared = 4,     // the shared palette of 8-bit screens
    pkOptimized = 5,  // 256 colours worked out from the picture
};
enum DitherKind : int { dkNearest = 0, dkFloydSteinberg = 1 };

// The 16 colours of a screen below 8 bits; entries 0x00RRGGBB.
const std::vector<std::uint32_t>& DefaultPalette();
// Red, green and blue each 0, 51, ..., 255, red outermost; entries 0x00RRGGBB.
std::vector<std::uint32_t> NetscapePalette();

// Rows of a picture in one pixel format, converted once when the picture has another.
class TDIBReader {
  public:
    // Throws GIFException for a null picture or a format other than 1, 4, 8 or 24 bits
    // (only the picture's own format and 24 bits can be read).
    TDIBReader(const DibBitmap& source, int bitsPerPixel);
    const std::uint8_t* ScanLine(int y) const;
    int Width() const { return source_.width(); }
    int Height() const { return source_.height(); }

  private:
    const DibBitmap& source_;
    DibBitmap converted_;
    bool useConverted_ = false;
};

// A block of rows written in one pixel format, then turned into a bitmap.
class TDIBWriter {
  public:
    // Throws GIFException for a bad format, EOutOfMemory when the block cannot be had.
    TDIBWriter(int width, int height, int bitsPerPixel);
    std::uint8_t* ScanLine(int y);
    platform::Bitmap Finish(const std::vector<std::uint32_t>& palette) const;

  private:
    DibBitmap block_;
};

// Palette index of the colour nearest to red, green, blue, and that entry's colour.
class TColorLookup {
  public:
    virtual ~TColorLookup() = default;
    virtual int Lookup(int red, int green, int blue, int& r, int& g, int& b) = 0;
    int ColorCount = 0;
};

// A palette with an inverse table of 5 bits a channel: each cell remembers the entry
// chosen for the first colour that fell into it.
class TFastColorLookup : public TColorLookup {
  public:
    explicit TFastColorLookup(const std::vector<std::uint32_t>& palette);
    int Lookup(int red, int green, int blue, int& r, int& g, int& b) override;

  private:
    std::vector<std::uint32_t> palette_;
    std::vector<std::int16_t> inverse_;
};

// The 216-colour cube, worked out without a table.
class TNetscapeColorLookup : public TColorLookup {
  public:
    TNetscapeColorLookup() { ColorCount = 216; }
    int Lookup(int red, int green, int blue, int& r, int& g, int& b) override;
};

// Walks a row's columns one way, the next row the other way, and picks each
// pixel's palette index: as is (the plain engine) or with diffused error.
class TDitherEngine {
  public:
    TDitherEngine(int width, TColorLookup& lookup) : lookup_(lookup), width_(width) {}
    virtual ~TDitherEngine() = default;
    int Column() const { return column_; }
    int Direction() const { return direction_; }
    virtual int Dither(int red, int green, int blue, int& r, int& g, int& b);
    // The end of a row: turn round.
    virtual void NextLine();

  protected:
    TColorLookup& lookup_;
    int width_;
    int column_ = 0;
    int direction_ = 1;
};

// Floyd-Steinberg in integers: 7/16 of a pixel's error to the next pixel, 3/16, 5/16
// and 1/16 to the row below, serpentine.
class TFloydSteinbergEngine : public TDitherEngine {
  public:
    TFloydSteinbergEngine(int width, TColorLookup& lookup);
    int Dither(int red, int green, int blue, int& r, int& g, int& b) override;
    void NextLine() override;

  private:
    std::array<std::vector<int>, 3> errors_;  // a row of width + 2 cells a channel
    int cell_ = 0;
    std::array<int, 3> current_{};
    std::array<int, 3> carried_{};
    std::array<int, 3> nextCarried_{};
};

// An octree of colours with at most `maxColors` leaves: each leaf sums the colours
// that reach it, and the deepest nodes merge when there are too many.
class TColorQuantizer {
  public:
    TColorQuantizer(int maxColors, int colorBits);
    ~TColorQuantizer();
    void AddColor(int red, int green, int blue);
    // The leaves' average colours, 0x00RRGGBB.
    std::vector<std::uint32_t> Palette() const;
    int LeafCount() const { return leafCount_; }

  private:
    struct TOctreeNode;
    void Reduce();

    std::unique_ptr<TOctreeNode> root_;
    std::vector<std::vector<TOctreeNode*>> reducible_;
    int maxColors_;
    int colorBits_;
    int leafCount_ = 0;
};

// Every row of a picture through an engine, each walked the way the engine goes:
// `pixel(x, y, r, g, b)` reads a pixel, `store(x, y, index)` keeps its palette index.
template <typename Pixel, typename Store>
void DitherRows(TDitherEngine& engine, int width, int height, Pixel pixel, Store store) {
    for (int y = 0; y < height; ++y) {
        for (int n = 0; n < width; ++n) {
            const int x = engine.Column();
            int red, green, blue, r, g, b;
            pixel(x, y, red, green, blue);
            store(x, y, engine.Dither(red, green, blue, r, g, b));
        }
        engine.NextLine();
    }
}

// The palette pictures take on this screen: the default one below 8 bits, the shared
// one at 8 (entries 0x00RRGGBB).
std::vector<std::uint32_t> ScreenPalette(const ScreenColors& screen);

// The picture as one palette index a pixel on the palette of that kind, its colours
// chosen by the dither kind. Kind 4 without a shared palette takes the default one.
platform::Bitmap ReduceColors(const DibBitmap& bitmap, int paletteKind, int ditherKind,
                              const ScreenColors& screen = {});

// For the screen: a device-independent picture is reduced onto the default palette
// (screens below 8 bits) or the shared one, by Floyd-Steinberg; a picture already in
// the screen's own form is copied as it is. None for no picture or an empty one.
std::optional<platform::Bitmap> ReduceToScreen(const DibBitmap* bitmap, const ScreenColors& screen);
std::optional<platform::Bitmap> ReduceToScreen(const platform::Bitmap* bitmap);
