#include "platform/Bitmap.h"

#include <algorithm>

namespace platform {

Bitmap::Bitmap(int width, int height, Format format)
    : width_(std::max(0, width)), height_(std::max(0, height)), format_(format) {
    const auto count = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
    if (format_ == Format::Rgb32)
        rgb_.assign(count, 0);
    else
        indexes_.assign(count, 0);
}

std::uint32_t Bitmap::pixel(int x, int y) const {
    if (format_ == Format::Rgb32) return row32(y)[x] & 0x00FFFFFF;
    const std::uint8_t index = row8(y)[x];
    return index < palette_.size() ? palette_[index] & 0x00FFFFFF : 0;
}

void Bitmap::fill(std::uint32_t rgb) { std::fill(rgb_.begin(), rgb_.end(), rgb); }

}  // namespace platform
