#pragma once
// PNG pictures: every colour type and bit depth, interlaced or not, into a
// device-independent bitmap (1, 4, 8 or 24 bits a pixel; alpha is dropped). The file
// is kept as its chunk list, so a loaded picture can be written back.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "image/DibBitmap.h"
#include "image/PngChunks.h"
#include "platform/Types.h"

// zlib's complaint while inflating the picture's data (corrupt or cut short).
class EZDecompressionError : public platform::Exception {
  public:
    using platform::Exception::Exception;
};

// A stream that ends in the middle of a chunk.
class EReadError : public platform::Exception {
  public:
    using platform::Exception::Exception;
};

// The filter types the writer may try for a row, as bits of TPNGImage::FilterSet.
enum PngFilterBits : std::uint8_t {
    kFilterNone = 1,
    kFilterSub = 2,
    kFilterUp = 4,
    kFilterAverage = 8,
    kFilterPaeth = 16,
};

class TPNGImage {
  public:
    TPNGImage();
    TPNGImage(const TPNGImage&) = delete;
    TPNGImage& operator=(const TPNGImage&) = delete;

    // Throws EPNGImageException (or the inflater's EZDecompressionError, or EReadError for
    // a chunk cut short) when the bytes are no PNG picture we can read.
    void LoadFromStream(std::string_view stream);
    void SaveToStream(std::string& stream);
    // The chunks (recreated by class), the filter set and the picture of another image.
    void Assign(const TPNGImage& source);

    TChunkList& Chunks() { return chunks_; }
    const TChunkList& Chunks() const { return chunks_; }
    // The header, or none before one is read or made.
    TChunkIHDR* Header() const;

    DibBitmap& Bitmap() { return bitmap_; }
    const DibBitmap& Bitmap() const { return bitmap_; }
    void SetBitmap(DibBitmap bitmap) { bitmap_ = std::move(bitmap); }

    // A true-colour picture's transparent colour (0x00RRGGBB), from its transparency
    // chunk as the picture shows it. Reading it throws for a header of another colour
    // type.
    bool Transparent() const { return transparent_; }
    std::uint32_t TransparentColor() const;
    void SetTransparentColor(std::uint32_t rgb);
    void ClearTransparency() { transparent_ = false; }

    // Filters the writer may try; None is always among them.
    std::uint8_t FilterSet() const { return filterSet_; }
    void SetFilterSet(std::uint8_t filters) {
        filterSet_ = static_cast<std::uint8_t>(filters | kFilterNone);
    }

    // Raised after each row, or each interlace pass, that is complete: the text
    // "Drawing...", how far the picture is (percent) and the rectangle now drawn.
    std::function<void(const std::string& text, int percent, const platform::Rect& done)>
        OnProgress;

    // The alpha of a picture with an alpha channel, one byte a pixel row by row (the
    // high byte of 16-bit samples); empty for other pictures. The bitmap has none.
    const std::vector<std::uint8_t>& Alpha() const { return alpha_; }

    // Used by the chunks.
    void DecodeImageData(const TChunkIDAT& data);
    void ResizePicture(std::uint32_t width, std::uint32_t height);

  private:
    void ReadChunks(std::string_view stream);
    const TChunkGAMA* GammaInEffect(const TChunk& before) const;
    void PrepareForSaving();
    std::string EncodeImageData() const;

    TChunkList chunks_;
    DibBitmap bitmap_;
    std::uint8_t filterSet_ = kFilterNone | kFilterSub | kFilterAverage | kFilterPaeth;
    bool transparent_ = false;
    std::uint32_t transparentColor_ = 0;
    std::vector<std::uint8_t> alpha_;
};
