#include "image/PictureLoader.h"

#include <cctype>
#include <exception>
#include <string>
#include <vector>

#include "image/Bmp.h"
#include "image/ImageErrors.h"
#include "image/Jpeg.h"
#include "image/PngImage.h"

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

// "GIF8", in either case as the decoder takes it.
bool IsGif(std::string_view bytes) {
    if (bytes.size() < 4) return false;
    for (std::size_t i = 0; i < 4; ++i)
        if (std::toupper(static_cast<unsigned char>(bytes[i])) != "GIF8"[i]) return false;
    return true;
}

platform::Bitmap TrueColorCopy(const platform::Bitmap& bitmap) {
    if (bitmap.format() == platform::Bitmap::Format::Rgb32) return bitmap;
    platform::Bitmap out(bitmap.width(), bitmap.height());
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) out.row32(y)[x] = bitmap.pixel(x, y);
    return out;
}

// Pictures read from files are device-independent: on palette screens they are
// reduced to the screen's palette.
platform::Bitmap FitToScreen(platform::Bitmap bitmap, const ScreenColors& screen) {
    if (screen.depth > 8) return bitmap;
    const DibBitmap dib = DibBitmap::FromBitmap(bitmap);
    std::optional<platform::Bitmap> reduced = ReduceToScreen(&dib, screen);
    return reduced ? std::move(*reduced) : std::move(bitmap);
}

// A picture from a file's bytes; none for a file that is missing, unreadable or
// larger than any picture we accept.
template <typename Load>
std::optional<LoadedPicture> LoadFromFile(std::string_view path, Load load) {
    try {
        const std::optional<std::string> bytes = ReadPictureFile(path);
        return bytes ? load(*bytes) : std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The alpha of each pixel of a palette picture, from its entry's alpha (opaque past the
// transparency chunk's data).
std::vector<std::uint8_t> PaletteAlphaOf(const DibBitmap& bitmap,
                                         const std::vector<std::uint8_t>& entryAlpha) {
    std::vector<std::uint8_t> alpha(static_cast<std::size_t>(bitmap.width()) *
                                    static_cast<std::size_t>(bitmap.height()));
    std::size_t at = 0;
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x) {
            const auto index = static_cast<std::size_t>(bitmap.index(x, y));
            alpha[at++] = index < entryAlpha.size() ? entryAlpha[index] : 255;
        }
    return alpha;
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
                // One alpha per palette entry from the first on; entries past the data
                // are opaque. A pixel shows the page where its entry is less than half
                // opaque, so a chunk with no such entry leaves the picture opaque.
                result.paletteAlpha.assign(data.begin(), data.end());
                std::size_t chosen = data.size();
                for (std::size_t i = 0; i < data.size(); ++i)
                    if (static_cast<unsigned char>(data[i]) < 128) {
                        chosen = i;
                        break;
                    }
                if (chosen == data.size()) {
                    result.transparent = false;
                } else {
                    result.transparentIndex = static_cast<int>(chosen);
                    if (3 * chosen + 2 < palette.size()) {
                        auto c = [&](std::size_t i) {
                            return static_cast<std::uint32_t>(
                                static_cast<unsigned char>(palette[3 * chosen + i]));
                        };
                        result.transparentColor = (c(0) << 16) | (c(1) << 8) | c(2);
                    }
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

platform::Bitmap MakeCornerMask(const platform::Bitmap& picture) {
    return MakeMask(picture, picture.pixel(0, picture.height() - 1));
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
    picture.bitmap = TrueColorCopy(picture.bitmap);
    for (int y = 0; y < picture.bitmap.height(); ++y) {
        const std::uint8_t* maskRow = picture.mask->row8(y);
        std::uint32_t* row = picture.bitmap.row32(y);
        for (int x = 0; x < picture.bitmap.width(); ++x)
            if (maskRow[x]) row[x] = 0;
    }
}

void ApplyAlphaMask(LoadedPicture& picture, const std::vector<std::uint8_t>& alpha) {
    platform::Bitmap& bitmap = picture.bitmap;
    picture.mask =
        platform::Bitmap(bitmap.width(), bitmap.height(), platform::Bitmap::Format::Indexed8);
    picture.mask->palette() = {0x000000, 0xFFFFFF};
    picture.transparency = TransparentColor;
    bitmap = TrueColorCopy(bitmap);
    const std::size_t width = static_cast<std::size_t>(bitmap.width());
    for (int y = 0; y < bitmap.height(); ++y) {
        const std::uint8_t* a = alpha.data() + static_cast<std::size_t>(y) * width;
        std::uint8_t* m = picture.mask->row8(y);
        std::uint32_t* row = bitmap.row32(y);
        for (std::size_t x = 0; x < width; ++x)
            if (a[x] < 128) {
                m[x] = 1;
                row[x] = 0;
            }
    }
}

std::optional<LoadedPicture> LoadPicture(std::string_view bytes, int transparency,
                                         const ScreenColors& screen) {
    if (bytes.size() < 20) return std::nullopt;
    try {
        LoadedPicture picture;
        picture.transparency = transparency;
        std::optional<std::uint32_t> fileTransparentColor;
        bool fitted = false;
        bool alphaMasked = false;
        switch (KindOf(bytes)) {
            case Kind::Jpeg:
                // Decoded straight for the screen.
                picture.transparency = NotTransparent;
                picture.bitmap = DecodeJpeg(
                    bytes, JpegOutput{screen.depth <= 8,
                                      screen.depth == 8 ? screen.sharedPalette : nullptr});
                fitted = true;
                break;
            case Kind::Bmp:
                picture.bitmap = DecodeBmp(bytes);
                break;
            case Kind::Png: {
                const PngTransparency scan = ScanPngChunks(bytes);
                TPNGImage png;
                png.LoadFromStream(bytes);
                if (scan.transparent) {
                    // The colour as the decoded picture shows it (gamma and all).
                    picture.transparency = TransparentColor;
                    fileTransparentColor = scan.transparentColor;
                    if (scan.colorType == 2 && png.Transparent())
                        fileTransparentColor = png.TransparentColor();
                }
                picture.bitmap = png.Bitmap().ToBitmap();
                if (scan.transparent && scan.colorType == 3) {
                    // A palette picture is masked by its pixels' entries, not by a colour:
                    // two entries may share a colour and only one be clear.
                    ApplyAlphaMask(picture, PaletteAlphaOf(png.Bitmap(), scan.paletteAlpha));
                    alphaMasked = true;
                } else if (!png.Alpha().empty() && picture.transparency != LowerLeftCorner) {
                    // The bitmap has no alpha: what is less than half opaque shows the page.
                    ApplyAlphaMask(picture, png.Alpha());
                    alphaMasked = true;
                }
                break;
            }
            case Kind::Unknown:
                return std::nullopt;
        }
        if (picture.bitmap.isNull()) return std::nullopt;
        if (picture.transparency == LowerLeftCorner) {
            picture.mask = MakeCornerMask(picture.bitmap);
        } else if (picture.transparency == TransparentColor && fileTransparentColor &&
                   !alphaMasked) {
            ApplyTransparentColor(picture, *fileTransparentColor);
        }
        if (!fitted) picture.bitmap = FitToScreen(std::move(picture.bitmap), screen);
        return picture;
    } catch (const std::exception&) {
        return std::nullopt;  // broken or oversized: the caller shows the error picture
    }
}

std::optional<LoadedPicture> LoadPictureFile(std::string_view path, int transparency,
                                             const ScreenColors& screen) {
    return LoadFromFile(path, [&](std::string_view bytes) { return LoadPicture(bytes, transparency, screen); });
}

std::optional<LoadedPicture> LoadAnyPicture(std::string_view bytes, int transparency,
                                            const ScreenColors& screen) {
    if (!IsGif(bytes)) return LoadPicture(bytes, transparency, screen);
    try {
        bool notAnimated = true;
        std::unique_ptr<TGIFImage> gif = CreateGifFromStream(notAnimated, bytes, screen);
        if (!gif) return std::nullopt;
        LoadedPicture picture;
        picture.bitmap = gif->FirstFrameBitmap();
        if (const platform::Bitmap* mask = gif->FirstFrameMask()) {
            picture.mask = *mask;
            picture.transparency = MaskSupplied;
        } else if (transparency == LowerLeftCorner) {
            picture.mask = MakeCornerMask(picture.bitmap);
            picture.transparency = LowerLeftCorner;
        }
        if (!notAnimated) picture.animation = std::move(gif);
        return picture;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<LoadedPicture> LoadAnyPictureFile(std::string_view path, int transparency,
                                                const ScreenColors& screen) {
    return LoadFromFile(path, [&](std::string_view bytes) { return LoadAnyPicture(bytes, transparency, screen); });
}
