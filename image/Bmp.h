#pragma once
// Windows and OS/2 bitmap files: 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed,
// run-length encoded (4 and 8 bits) or with bit-field masks, stored bottom-up or
// top-down. The result is always a 32-bit picture.

#include <string_view>

#include "platform/Bitmap.h"

// Throws EInvalidGraphicOperation when the file is not a bitmap we can read.
platform::Bitmap DecodeBmp(std::string_view bytes);
