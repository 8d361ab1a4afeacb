#pragma once
// The general picture loader: BMP, PNG and JPEG from memory or a file, with the
// transparency mask a page asks for. GIF pictures have their own decoder.

#include <cstdint>
#include <optional>
#include <string_view>

#include "image/Jpeg.h"
#include "platform/Bitmap.h"

// How a picture is transparent.
enum PictureTransparency : int {
    NotTransparent = 0,
    LowerLeftCorner = 1,  // the colour of the lower-left pixel, as TRANSP asks
    MaskSupplied = 2,
    TransparentColor = 3,  // a colour the file itself names
};

struct LoadedPicture {
    platform::Bitmap bitmap;
    // Same size as the bitmap; white where the page shows through.
    std::optional<platform::Bitmap> mask;
    int transparency = NotTransparent;
};

// What the chunks before a PNG's pixels say about transparency.
struct PngTransparency {
    int colorType = -1;
    bool transparent = false;
    std::optional<std::uint32_t> transparentColor;  // 0x00RRGGBB
};
PngTransparency ScanPngChunks(std::string_view bytes);

// Nothing for a stream that is missing, too short, of an unknown or unsupported type,
// or broken.
// JPEG pictures are decoded for the screen as `jpeg` says.
std::optional<LoadedPicture> LoadPicture(std::string_view bytes, int transparency,
                                         const JpegOutput& jpeg = {});
std::optional<LoadedPicture> LoadPictureFile(std::string_view path, int transparency,
                                             const JpegOutput& jpeg = {});

// Masks the pixels of that colour and turns them black, ready to be drawn through the
// mask.
void ApplyTransparentColor(LoadedPicture& picture, std::uint32_t transparentRgb);

// White where the picture has the colour, black elsewhere.
platform::Bitmap MakeMask(const platform::Bitmap& picture, std::uint32_t transparentRgb);
