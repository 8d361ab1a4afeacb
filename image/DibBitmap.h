#pragma once
// A picture held device-independently: rows of packed pixels in one of the formats
// decoders produce and the colour reduction reads (1, 4 or 8 bits of palette index,
// or 24 bits stored blue, green, red), top row first, each row padded to a multiple
// of 4 bytes. Canvases draw platform bitmaps; ToBitmap makes one.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Bitmap.h"

class DibBitmap {
  public:
    DibBitmap() = default;
    // Zero-filled. Throws EInvalidGraphicOperation for a format other than 1, 4, 8 or
    // 24 bits, or a size the decoders refuse.
    DibBitmap(int width, int height, int bitsPerPixel);

    int width() const { return width_; }
    int height() const { return height_; }
    int bitsPerPixel() const { return bitsPerPixel_; }
    bool isNull() const { return width_ <= 0 || height_ <= 0; }
    std::size_t stride() const { return stride_; }

    // Throws EInvalidGraphicOperation("Scan line index out of range") outside the picture.
    std::uint8_t* ScanLine(int y);
    const std::uint8_t* ScanLine(int y) const;
    // The same without the check, for loops that already keep inside.
    std::uint8_t* row(int y) { return bits_.data() + static_cast<std::size_t>(y) * stride_; }
    const std::uint8_t* row(int y) const {
        return bits_.data() + static_cast<std::size_t>(y) * stride_;
    }

    // Entries 0x00RRGGBB; an index past the end shows black.
    std::vector<std::uint32_t>& palette() { return palette_; }
    const std::vector<std::uint32_t>& palette() const { return palette_; }

    // The palette index of a pixel (formats of 8 bits or fewer).
    int index(int x, int y) const;
    // 0x00RRGGBB of a pixel, whatever the format.
    std::uint32_t pixel(int x, int y) const;

    // One palette index a pixel for 8 bits or fewer (the palette copied), else one
    // 0x00RRGGBB word a pixel.
    platform::Bitmap ToBitmap() const;
    // 8 bits for an indexed bitmap, 24 for a true-colour one.
    static DibBitmap FromBitmap(const platform::Bitmap& bitmap);

  private:
    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 0;
    std::size_t stride_ = 0;
    std::vector<std::uint8_t> bits_;
    std::vector<std::uint32_t> palette_;
};
