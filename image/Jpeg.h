#pragma once
// JPEG pictures through libjpeg: baseline and progressive, colour, greyscale and CMYK.

#include <string_view>

#include "platform/Bitmap.h"

// Throws EInvalidGraphicOperation for a corrupt or truncated picture.
platform::Bitmap DecodeJpeg(std::string_view bytes);
