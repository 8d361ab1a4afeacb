#pragma once
// The general picture loader: BMP, PNG and JPEG from memory or a file, with the
// transparency mask a page asks for, fitted to the screen's colours. GIF pictures have
// their own decoder; LoadAnyPicture takes them too.

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "image/ColorReduction.h"
#include "image/GifImage.h"
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
    // An animated GIF: its frames; the bitmap and mask are then its first frame.
    std::shared_ptr<const TGIFImage> animation;
};

// What the chunks before a PNG's pixels say about transparency.
struct PngTransparency {
    int colorType = -1;
    bool transparent = false;
    std::optional<std::uint32_t> transparentColor;  // 0x00RRGGBB, as the file has it
    // A palette picture's first entry less than half opaque; the alpha of each entry.
    std::optional<int> transparentIndex;
    std::vector<std::uint8_t> paletteAlpha;
};
PngTransparency ScanPngChunks(std::string_view bytes);

// Nothing for a stream that is missing, too short, of an unknown or unsupported type
// (GIF among them), or broken. On screens of 8 bits or fewer the picture comes on the
// screen's palette.
std::optional<LoadedPicture> LoadPicture(std::string_view bytes, int transparency,
                                         const ScreenColors& screen = {});
std::optional<LoadedPicture> LoadPictureFile(std::string_view path, int transparency,
                                             const ScreenColors& screen = {});

// Any picture the reader shows, typed by its first bytes. A GIF of one frame becomes a
// bitmap with its own mask (or, without one, the corner mask when asked); an animated
// one keeps its frames as well.
std::optional<LoadedPicture> LoadAnyPicture(std::string_view bytes, int transparency,
                                            const ScreenColors& screen = {});
std::optional<LoadedPicture> LoadAnyPictureFile(std::string_view path, int transparency,
                                                const ScreenColors& screen = {});

// Masks the pixels of that colour and turns them black, ready to be drawn through the
// mask.
void ApplyTransparentColor(LoadedPicture& picture, std::uint32_t transparentRgb);

// Masks the pixels less than half opaque and turns them black.
void ApplyAlphaMask(LoadedPicture& picture, const std::vector<std::uint8_t>& alpha);

// White where the picture has the colour, black elsewhere.
platform::Bitmap MakeMask(const platform::Bitmap& picture, std::uint32_t transparentRgb);
// The same for the colour of the lower-left pixel, as TRANSP asks.
platform::Bitmap MakeCornerMask(const platform::Bitmap& picture);
