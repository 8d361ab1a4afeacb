#include "image/DibBitmap.h"

#include <algorithm>
#include <string>

#include "image/ImageErrors.h"

DibBitmap::DibBitmap(int width, int height, int bitsPerPixel) {
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 24)
        throw EInvalidGraphicOperation("Invalid pixel format: " + std::to_string(bitsPerPixel) +
                                       " bits");
    CheckPictureSize(width, height);
    width_ = width;
    height_ = height;
    bitsPerPixel_ = bitsPerPixel;
    stride_ = (static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32 * 4;
    bits_.assign(stride_ * static_cast<std::size_t>(height), 0);
}

std::uint8_t* DibBitmap::ScanLine(int y) {
    if (y < 0 || y >= height_) throw EInvalidGraphicOperation("Scan line index out of range");
    return row(y);
}

const std::uint8_t* DibBitmap::ScanLine(int y) const {
    if (y < 0 || y >= height_) throw EInvalidGraphicOperation("Scan line index out of range");
    return row(y);
}

int DibBitmap::index(int x, int y) const {
    const std::uint8_t* line = row(y);
    switch (bitsPerPixel_) {
        case 1:
            return (line[x >> 3] >> (7 - (x & 7))) & 1;
        case 4:
            return (x & 1) ? line[x >> 1] & 0x0F : line[x >> 1] >> 4;
        case 8:
            return line[x];
        default:
            return 0;
    }
}

std::uint32_t DibBitmap::pixel(int x, int y) const {
    if (bitsPerPixel_ == 24) {
        const std::uint8_t* p = row(y) + static_cast<std::size_t>(x) * 3;
        return std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
    }
    const auto i = static_cast<std::size_t>(index(x, y));
    return i < palette_.size() ? palette_[i] & 0x00FFFFFF : 0;
}

platform::Bitmap DibBitmap::ToBitmap() const {
    if (isNull()) return {};
    if (bitsPerPixel_ == 24) {
        platform::Bitmap out(width_, height_);
        for (int y = 0; y < height_; ++y) {
            const std::uint8_t* p = row(y);
            std::uint32_t* target = out.row32(y);
            for (int x = 0; x < width_; ++x, p += 3)
                target[x] = std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
        }
        return out;
    }
    platform::Bitmap out(width_, height_, platform::Bitmap::Format::Indexed8);
    out.palette() = palette_;
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* target = out.row8(y);
        if (bitsPerPixel_ == 8) {
            std::copy_n(row(y), width_, target);
        } else {
            for (int x = 0; x < width_; ++x) target[x] = static_cast<std::uint8_t>(index(x, y));
        }
    }
    return out;
}

DibBitmap DibBitmap::FromBitmap(const platform::Bitmap& bitmap) {
    if (bitmap.isNull()) return {};
    if (bitmap.format() == platform::Bitmap::Format::Indexed8) {
        DibBitmap out(bitmap.width(), bitmap.height(), 8);
        out.palette_ = bitmap.palette();
        for (int y = 0; y < out.height_; ++y) std::copy_n(bitmap.row8(y), out.width_, out.row(y));
        return out;
    }
    DibBitmap out(bitmap.width(), bitmap.height(), 24);
    for (int y = 0; y < out.height_; ++y) {
        const std::uint32_t* source = bitmap.row32(y);
        std::uint8_t* p = out.row(y);
        for (int x = 0; x < out.width_; ++x, p += 3) {
            p[0] = static_cast<std::uint8_t>(source[x]);
            p[1] = static_cast<std::uint8_t>(source[x] >> 8);
            p[2] = static_cast<std::uint8_t>(source[x] >> 16);
        }
    }
    return out;
}
