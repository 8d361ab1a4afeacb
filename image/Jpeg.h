#pragma once
// JPEG pictures through libjpeg: baseline and progressive, colour, greyscale and CMYK.

#include <array>
#include <string_view>

#include "platform/Bitmap.h"
#include "platform/Types.h"

// What the picture is decoded into: true colour, or for screens of 8 bits or less one
// palette index a pixel. Colour pictures then map onto the screen's shared palette
// (entries 0x00BBGGRR) when there is one, else onto a palette chosen for the picture;
// greyscale pictures get 256 greys.
struct JpegOutput {
    bool indexed = false;
    const std::array<platform::TColor, 256>* sharedPalette = nullptr;
};

// Throws EInvalidGraphicOperation for a corrupt or truncated picture.
platform::Bitmap DecodeJpeg(std::string_view bytes, const JpegOutput& output = {});
