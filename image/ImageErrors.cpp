#include "image/ImageErrors.h"

#include <string>

void CheckPictureSize(std::int64_t width, std::int64_t height) {
    if (width <= 0 || height <= 0)
        throw EInvalidGraphicOperation("Picture of no size");
    if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxPicturePixels)
        throw EInvalidGraphicOperation("Picture too large: " + std::to_string(width) + " x " +
                                       std::to_string(height));
}
