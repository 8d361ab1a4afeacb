#include "image/PictureLoader.h"

#include <exception>
#include <filesystem>
#include <vector>

#include "image/Bmp.h"
#include "image/ImageErrors.h"
#include "image/Jpeg.h"
#include "platform/Files.h"

namespace {

enum class Kind { Unknown, Bmp, Png, Jpeg };

Kind KindOf(std::string_view bytes) {
    auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (at(0) == 'B' && at(1) == 'M') return Kind::Bmp;
    if (at(0) == 0x89 && at(1) == 'P' && at(2) == 'N' && at(3) == 'G') return Kind::Png;
    if (at(0) == 0xFF && at(1) == 0xD8) return Kind::Jpeg;
    return Kind::Unknown;
}

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at) {
    auto b = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])); };
    return (b(0) << 24) | (b(1) << 16) | (b(2) << 8) | b(3);
}

}  // namespace

PngTransparency ScanPngChunks(std::string_view bytes) {
    PngTransparency result;
    std::string_view palette;
    std::size_t at = 8;
    while (at + 8 <= bytes.size()) {
        const std::uint32_t length = BigEndian32(bytes, at);
        const std::string_view type = bytes.substr(at + 4, 4);
        if (length > bytes.size() - (at + 8)) break;  // a chunk longer than the file
        const std::string_view data = bytes.substr(at + 8, length);
        if (type == "IHDR") {
            if (data.size() < 13) break;
            result.colorType = static_cast<unsigned char>(data[9]);
            if (result.colorType != 2 && result.colorType != 3) break;
        } else if (type == "PLTE") {
            palette = data;
        } else if (type == "tRNS") {
            result.transparent = true;
            if (result.colorType == 3) {
                // The transparent colour is the first palette entry whose alpha is 0
                // (the one with the least alpha when none is fully transparent). The
                // data holds one alpha per entry from the first on, so the entry whose
                // index is the data's length is one it leaves opaque: taking that one
                // would punch holes in the picture and keep its background.
                std::size_t chosen = 0;
                for (std::size_t i = 0; i < data.size(); ++i)
                    if (static_cast<unsigned char>(data[i]) < static_cast<unsigned char>(data[chosen])) chosen = i;
                if (3 * chosen + 2 < palette.size()) {
                    auto c = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(palette[3 * chosen + i])); };
                    result.transparentColor = (c(0) << 16) | (c(1) << 8) | c(2);
                }
            } else if (data.size() >= 6) {
                // Truecolour: one 16-bit sample per channel; the low byte is the 8-bit value.
                auto s = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(data[2 * i + 1])); };
                result.transparentColor = (s(0) << 16) | (s(1) << 8) | s(2);
            }
            break;
        } else if (type == "IEND") {
            break;
        }
        // Other chunks (IDAT, gamma, text...) are passed over: most files put gAMA,
        // cHRM or pHYs before tRNS, and stopping at them would lose the transparency.
        at += 12 + static_cast<std::size_t>(length);
    }
    return result;
}

platform::Bitmap MakeMask(const platform::Bitmap& picture, std::uint32_t transparentRgb) {
    platform::Bitmap mask(picture.width(), picture.height(), platform::Bitmap::Format::Indexed8);
    mask.palette() = {0x000000, 0xFFFFFF};
    for (int y = 0; y < picture.height(); ++y) {
        std::uint8_t* row = mask.row8(y);
        for (int x = 0; x < picture.width(); ++x) row[x] = picture.pixel(x, y) == (transparentRgb & 0xFFFFFF) ? 1 : 0;
    }
    return mask;
}

void ApplyTransparentColor(LoadedPicture& picture, std::uint32_t transparentRgb) {
    picture.mask = MakeMask(picture.bitmap, transparentRgb);
    for (int y = 0; y < picture.bitmap.height(); ++y) {
        const std::uint8_t* maskRow = picture.mask->row8(y);
        std::uint32_t* row = picture.bitmap.row32(y);
        for (int x = 0; x < picture.bitmap.width(); ++x)
            if (maskRow[x]) row[x] = 0;
    }
}

std::optional<LoadedPicture> LoadPicture(std::string_view bytes, int transparency,
                                         const JpegOutput& jpeg) {
    if (bytes.size() < 20) return std::nullopt;
    try {
        LoadedPicture picture;
        picture.transparency = transparency;
        std::optional<std::uint32_t> fileTransparentColor;
        switch (KindOf(bytes)) {
            case Kind::Jpeg:
                picture.transparency = NotTransparent;
                picture.bitmap = DecodeJpeg(bytes, jpeg);
                break;
            case Kind::Bmp:
                picture.bitmap = DecodeBmp(bytes);
                break;
            case Kind::Png: {
                const PngTransparency scan = ScanPngChunks(bytes);
                if (scan.transparent) {
                    picture.transparency = TransparentColor;
                    fileTransparentColor = scan.transparentColor;
                }
                // PNG pixels are not decoded yet: such a picture counts as missing.
                return std::nullopt;
            }
            case Kind::Unknown:
                return std::nullopt;
        }
        if (picture.bitmap.isNull()) return std::nullopt;
        if (picture.transparency == LowerLeftCorner) {
            picture.mask = MakeMask(picture.bitmap, picture.bitmap.pixel(0, picture.bitmap.height() - 1));
        } else if (picture.transparency == TransparentColor && fileTransparentColor) {
            ApplyTransparentColor(picture, *fileTransparentColor);
        }
        return picture;
    } catch (const std::exception&) {
        return std::nullopt;  // broken or oversized: the caller shows the error picture
    }
}

std::optional<LoadedPicture> LoadPictureFile(std::string_view path, int transparency,
                                             const JpegOutput& jpeg) {
    if (!platform::FileExists(path)) return std::nullopt;
    try {
        // No picture we accept needs more bytes than this; a larger file is not read.
        std::error_code error;
        const auto size = std::filesystem::file_size(platform::ResolveExistingPath(path), error);
        if (error || size > kMaxPictureFileBytes) return std::nullopt;
        return LoadPicture(platform::ReadWholeFile(path), transparency, jpeg);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}
