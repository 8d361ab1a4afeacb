#include "image/Bmp.h"

#include <array>
#include <cstdint>
#include <vector>

#include "image/ImageErrors.h"

namespace {

[[noreturn]] void Fail(const char* what) { throw EInvalidGraphicOperation(std::string("Bitmap: ") + what); }

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    std::size_t size() const { return bytes_.size(); }
    std::uint8_t u8(std::size_t at) const {
        if (at >= bytes_.size()) Fail("file too short");
        return static_cast<std::uint8_t>(bytes_[at]);
    }
    std::uint16_t u16(std::size_t at) const { return static_cast<std::uint16_t>(u8(at) | (u8(at + 1) << 8)); }
    std::uint32_t u32(std::size_t at) const {
        return static_cast<std::uint32_t>(u16(at)) | (static_cast<std::uint32_t>(u16(at + 2)) << 16);
    }
    std::int32_t i32(std::size_t at) const { return static_cast<std::int32_t>(u32(at)); }

private:
    std::string_view bytes_;
};

enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

// One channel of a bit-field pixel: where it sits and how to widen it to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    explicit Channel(std::uint32_t m = 0) : mask(m) {
        if (!mask) return;
        while (!((mask >> shift) & 1)) ++shift;
        while (shift + bits < 32 && ((mask >> (shift + bits)) & 1)) ++bits;
    }
    std::uint32_t read(std::uint32_t pixel) const {
        if (!bits) return 0;
        const std::uint32_t value = (pixel & mask) >> shift;
        const std::uint32_t max = bits >= 32 ? 0xFFFFFFFFu : ((1u << bits) - 1);
        return static_cast<std::uint32_t>((static_cast<std::uint64_t>(value) * 255 + max / 2) / max);
    }
};

std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return (r << 16) | (g << 8) | b; }

}  // namespace

platform::Bitmap DecodeBmp(std::string_view bytes) {
    const Reader in(bytes);
    if (in.size() < 26 || in.u8(0) != 'B' || in.u8(1) != 'M') Fail("not a bitmap file");
    const std::uint32_t dataOffset = in.u32(10);
    const std::uint32_t headerSize = in.u32(14);

    std::int64_t width = 0, height = 0;
    int bitCount = 0;
    std::uint32_t compression = kRgb, colorsUsed = 0;
    std::size_t paletteEntrySize = 4;
    std::array<std::uint32_t, 4> masks{};
    std::size_t afterHeader = 14 + headerSize;
    if (headerSize == 12) {  // the OS/2 core header
        width = in.u16(18);
        height = in.u16(20);
        bitCount = in.u16(24);
        paletteEntrySize = 3;
    } else if (headerSize >= 40 && headerSize <= 124) {
        width = in.i32(18);
        height = in.i32(22);
        bitCount = in.u16(28);
        compression = in.u32(30);
        colorsUsed = in.u32(46);
        if (compression == kBitFields || compression == kAlphaBitFields) {
            const std::size_t at = 14 + 40;
            const int count = compression == kAlphaBitFields ? 4 : 3;
            for (int i = 0; i < count; ++i) masks[i] = in.u32(at + 4 * i);
            if (headerSize == 40) afterHeader += 4 * count;
        }
    } else {
        Fail("unknown header");
    }

    const bool topDown = height < 0;
    if (topDown) height = -height;
    CheckPictureSize(width, height);
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);

    switch (bitCount) {
        case 1: case 4: case 8: case 16: case 24: case 32: break;
        default: Fail("unsupported pixel size");
    }
    const bool rle = compression == kRle8 || compression == kRle4;
    if (compression == kRle8 && bitCount != 8) Fail("RLE8 needs 8 bits per pixel");
    if (compression == kRle4 && bitCount != 4) Fail("RLE4 needs 4 bits per pixel");
    if ((compression == kBitFields || compression == kAlphaBitFields) && bitCount != 16 && bitCount != 32)
        Fail("bit fields need 16 or 32 bits per pixel");
    if (compression != kRgb && !rle && compression != kBitFields && compression != kAlphaBitFields)
        Fail("unsupported compression");
    if (rle && topDown) Fail("run-length pictures cannot be top-down");

    // The colour table.
    std::vector<std::uint32_t> palette;
    if (bitCount <= 8) {
        std::uint32_t count = colorsUsed ? colorsUsed : (1u << bitCount);
        if (count > 256) count = 256;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::size_t at = afterHeader + i * paletteEntrySize;
            if (at + 3 > in.size() || at + 3 > dataOffset) break;  // a short table: the rest is black
            palette.push_back(Rgb(in.u8(at + 2), in.u8(at + 1), in.u8(at)));
        }
        palette.resize(std::size_t{1} << bitCount, 0);
    }

    if (dataOffset >= in.size()) Fail("no pixel data");
    const std::size_t stride = ((static_cast<std::size_t>(w) * bitCount + 31) / 32) * 4;
    // Only the padding after the last row may be missing; a shorter file is truncated.
    const std::size_t lastRowBytes = (static_cast<std::size_t>(w) * bitCount + 7) / 8;
    if (!rle && h > 0 && dataOffset + stride * static_cast<std::size_t>(h - 1) + lastRowBytes > in.size())
        Fail("pixel data cut short");

    platform::Bitmap out(w, h);
    auto rowFor = [&](int fileRow) { return topDown ? fileRow : h - 1 - fileRow; };

    if (rle) {
        // Absent pixels (skipped by deltas or an early end) stay black.
        std::size_t at = dataOffset;
        int x = 0, row = 0;
        auto put = [&](int index) {
            if (x < w && row < h) out.row32(rowFor(row))[x] = palette[static_cast<std::size_t>(index)];
            ++x;
        };
        while (at + 1 < in.size() && row < h) {
            const int count = in.u8(at), value = in.u8(at + 1);
            at += 2;
            if (count > 0) {
                for (int i = 0; i < count; ++i)
                    put(bitCount == 8 ? value : (i % 2 == 0 ? value >> 4 : value & 0x0F));
            } else if (value == 0) {
                x = 0;
                ++row;
            } else if (value == 1) {
                break;
            } else if (value == 2) {
                if (at + 1 >= in.size()) break;
                x += in.u8(at);
                row += in.u8(at + 1);
                at += 2;
            } else {
                const int n = value;
                const std::size_t length = bitCount == 8 ? n : (n + 1) / 2;
                for (int i = 0; i < n; ++i) {
                    const std::size_t byteAt = at + (bitCount == 8 ? i : i / 2);
                    if (byteAt >= in.size()) Fail("run-length data cut short");
                    const int b = in.u8(byteAt);
                    put(bitCount == 8 ? b : (i % 2 == 0 ? b >> 4 : b & 0x0F));
                }
                at += (length + 1) & ~std::size_t{1};
            }
        }
        return out;
    }

    const Channel red(bitCount == 16 && !masks[0] ? 0x7C00 : (masks[0] ? masks[0] : 0x00FF0000));
    const Channel green(bitCount == 16 && !masks[1] ? 0x03E0 : (masks[1] ? masks[1] : 0x0000FF00));
    const Channel blue(bitCount == 16 && !masks[2] ? 0x001F : (masks[2] ? masks[2] : 0x000000FF));
    for (int fileRow = 0; fileRow < h; ++fileRow) {
        const std::size_t rowAt = dataOffset + stride * static_cast<std::size_t>(fileRow);
        std::uint32_t* target = out.row32(rowFor(fileRow));
        for (int x = 0; x < w; ++x) {
            switch (bitCount) {
                case 1: case 4: case 8: {
                    const std::size_t bit = static_cast<std::size_t>(x) * bitCount;
                    const std::size_t at = rowAt + bit / 8;
                    if (at >= in.size()) break;
                    const int shift = 8 - bitCount - static_cast<int>(bit % 8);
                    target[x] = palette[(in.u8(at) >> shift) & ((1 << bitCount) - 1)];
                    break;
                }
                case 16: {
                    const std::size_t at = rowAt + 2 * static_cast<std::size_t>(x);
                    if (at + 1 >= in.size()) break;
                    const std::uint32_t p = in.u16(at);
                    target[x] = Rgb(red.read(p), green.read(p), blue.read(p));
                    break;
                }
                case 24: {
                    const std::size_t at = rowAt + 3 * static_cast<std::size_t>(x);
                    if (at + 2 >= in.size()) break;
                    target[x] = Rgb(in.u8(at + 2), in.u8(at + 1), in.u8(at));
                    break;
                }
                case 32: {
                    const std::size_t at = rowAt + 4 * static_cast<std::size_t>(x);
                    if (at + 3 >= in.size()) break;
                    const std::uint32_t p = in.u32(at);
                    target[x] = Rgb(red.read(p), green.read(p), blue.read(p));
                    break;
                }
            }
        }
    }
    return out;
}
