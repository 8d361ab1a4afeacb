#include "image/PngImage.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "image/ImageErrors.h"
#include "image/PngFilters.h"

namespace {

constexpr unsigned char kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

std::uint32_t BigEndian32(const unsigned char* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// Inflates a zlib stream held in memory into the caller's buffers, a piece at a time,
// so that no more is ever inflated than the picture needs.
class Inflater {
  public:
    explicit Inflater(std::string_view data) {
        stream_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
        stream_.avail_in = static_cast<uInt>(data.size());
        if (inflateInit(&stream_) != Z_OK) throw EZDecompressionError("Could not start inflating");
    }
    ~Inflater() { inflateEnd(&stream_); }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    void Read(std::uint8_t* out, std::size_t size) {
        stream_.next_out = out;
        stream_.avail_out = static_cast<uInt>(size);
        while (stream_.avail_out > 0) {
            if (ended_) throw EZDecompressionError("The picture's data ends early");
            const int result = inflate(&stream_, Z_NO_FLUSH);
            if (result == Z_STREAM_END) {
                ended_ = true;
            } else if (result == Z_BUF_ERROR && stream_.avail_in == 0) {
                throw EZDecompressionError("The picture's data ends early");
            } else if (result != Z_OK) {
                throw EZDecompressionError(stream_.msg ? stream_.msg : "Invalid compressed data");
            }
        }
    }

    // Whether the data goes on past what was read: a picture's data that inflates to
    // more than the picture is refused. Only one more byte is ever inflated to tell.
    bool ProducesMore() {
        std::uint8_t byte = 0;
        stream_.next_out = &byte;
        stream_.avail_out = 1;
        while (!ended_ && stream_.avail_out == 1) {
            const int result = inflate(&stream_, Z_NO_FLUSH);
            if (result == Z_STREAM_END) ended_ = true;
            // A damaged or missing end after the picture costs nothing.
            else if (result != Z_OK)
                return false;
        }
        return stream_.avail_out == 0;
    }

  private:
    z_stream stream_{};
    bool ended_ = false;
};

// How the rows of a picture are stored in the file and in the bitmap.
struct Layout {
    int colorType = 0;
    int depth = 0;
    int samples = 1;       // per pixel
    std::size_t unit = 1;  // bytes per complete pixel, at least 1: what Sub and Paeth look back
    int outBits = 8;       // the bitmap's bits per pixel
    const std::array<std::uint8_t, 256>* gamma = nullptr;  // for true-colour samples

    std::size_t RowBytes(std::uint64_t pixels) const {
        return static_cast<std::size_t>((pixels * static_cast<std::uint64_t>(samples * depth) + 7) /
                                        8);
    }
};

bool ValidDepth(int colorType, int depth) {
    switch (colorType) {
        case 0:
        case 3:
        case 4:
            return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
        case 2:
        case 6:
            return depth == 8 || depth == 16;
        default:
            return false;
    }
}

// Sub (1), Average (3) or Paeth (4) for pixels of U bytes: the pixel to the left (and
// the one above it) is kept in registers rather than read back from the row just
// written.
template <std::size_t U, int Filter>
void UnfilterPixels(std::uint8_t* row, const std::uint8_t* above, std::size_t size) {
    std::uint8_t left[U] = {};
    std::uint8_t upperLeft[U] = {};
    for (std::size_t i = 0; i + U <= size; i += U) {
        for (std::size_t k = 0; k < U; ++k) {
            const std::uint8_t b = above[i + k];
            std::uint8_t predicted;
            if constexpr (Filter == 1)
                predicted = left[k];
            else if constexpr (Filter == 3)
                predicted = static_cast<std::uint8_t>((left[k] + b) >> 1);
            else
                predicted = PaethPredictor(left[k], b, upperLeft[k]);
            left[k] = row[i + k] = static_cast<std::uint8_t>(row[i + k] + predicted);
            if constexpr (Filter == 4) upperLeft[k] = b;
        }
    }
}

template <std::size_t U>
void UnfilterPixels(int filter, std::uint8_t* row, const std::uint8_t* above, std::size_t size) {
    if (filter == 1)
        UnfilterPixels<U, 1>(row, above, size);
    else if (filter == 3)
        UnfilterPixels<U, 3>(row, above, size);
    else
        UnfilterPixels<U, 4>(row, above, size);
}

// Undoes one row's filter in place. `row` and `above` have `unit` zero bytes before
// them, so the bytes left of the row read as 0.
void Unfilter(int filter, std::uint8_t* row, const std::uint8_t* above, std::size_t size,
              std::size_t unit) {
    if (filter < 0 || filter > 4) throw EPNGImageException(png_messages::kUnknownFilter);
    if (filter == 0) return;
    if (filter == 2) {
        for (std::size_t i = 0; i < size; ++i)
            row[i] = static_cast<std::uint8_t>(row[i] + above[i]);
        return;
    }
    // Rows of whole pixels, the usual sizes.
    if (size % unit == 0) {
        switch (unit) {
            case 1:
                return UnfilterPixels<1>(filter, row, above, size);
            case 2:
                return UnfilterPixels<2>(filter, row, above, size);
            case 3:
                return UnfilterPixels<3>(filter, row, above, size);
            case 4:
                return UnfilterPixels<4>(filter, row, above, size);
            case 6:
                return UnfilterPixels<6>(filter, row, above, size);
            case 8:
                return UnfilterPixels<8>(filter, row, above, size);
            default:
                break;
        }
    }
    // Offsets below zero reach the zero bytes in front of both rows.
    const std::uint8_t* left = row - unit;
    const std::uint8_t* leftAbove = above - unit;
    for (std::size_t i = 0; i < size; ++i) {
        const int a = left[i], b = above[i], c = leftAbove[i];
        const int predicted = filter == 1   ? a
                              : filter == 3 ? (a + b) >> 1
                                            : PaethPredictor(a, b, c);
        row[i] = static_cast<std::uint8_t>(row[i] + predicted);
    }
}

// The value of sample `index` of a row packed at `depth` bits (below 8).
int SubByteSample(const std::uint8_t* row, std::size_t index, int depth) {
    const std::size_t bit = index * static_cast<std::size_t>(depth);
    const int shift = 8 - depth - static_cast<int>(bit & 7);
    return (row[bit >> 3] >> shift) & ((1 << depth) - 1);
}

void PutIndex(std::uint8_t* row, int bits, std::size_t x, int value) {
    if (bits == 8) {
        row[x] = static_cast<std::uint8_t>(value);
    } else if (bits == 4) {
        std::uint8_t& b = row[x >> 1];
        b = (x & 1) ? static_cast<std::uint8_t>((b & 0xF0) | (value & 0x0F))
                    : static_cast<std::uint8_t>((b & 0x0F) | (value << 4));
    } else {
        std::uint8_t& b = row[x >> 3];
        const int bit = 7 - static_cast<int>(x & 7);
        b = static_cast<std::uint8_t>((b & ~(1 << bit)) | ((value & 1) << bit));
    }
}

// One unfiltered row of `pixels` pixels into the bitmap's format.
void ConvertRow(const Layout& layout, const std::uint8_t* in, std::uint8_t* out,
                std::size_t pixels) {
    const int depth = layout.depth;
    if (layout.outBits == 24) {
        // Red, green, blue (and alpha, dropped) into blue, green, red: the high byte of
        // 16-bit samples.
        const std::size_t step = static_cast<std::size_t>(layout.samples) * (depth / 8);
        const std::size_t sample = depth / 8;
        const std::uint8_t* p = in;
        if (layout.gamma) {
            const auto& g = *layout.gamma;
            for (std::size_t x = 0; x < pixels; ++x, p += step, out += 3) {
                out[0] = g[p[2 * sample]];
                out[1] = g[p[sample]];
                out[2] = g[p[0]];
            }
        } else {
            for (std::size_t x = 0; x < pixels; ++x, p += step, out += 3) {
                out[0] = p[2 * sample];
                out[1] = p[sample];
                out[2] = p[0];
            }
        }
        return;
    }
    if (layout.samples == 1 && (depth == 1 || depth == 4 || depth == 8)) {
        std::memcpy(out, in, layout.RowBytes(pixels));
        return;
    }
    if (depth >= 8) {
        // The first (grey or index) sample's high byte.
        const std::size_t step = static_cast<std::size_t>(layout.samples) * (depth / 8);
        for (std::size_t x = 0; x < pixels; ++x) out[x] = in[x * step];
        return;
    }
    // Grey or index samples below a byte: two-bit values are spread over four bits.
    const int scale = ((1 << layout.outBits) - 1) / ((1 << depth) - 1);
    for (std::size_t x = 0; x < pixels; ++x) {
        const int value = SubByteSample(in, x * static_cast<std::size_t>(layout.samples), depth);
        PutIndex(out, layout.outBits, x, layout.outBits == depth ? value : value * scale);
    }
}

// The alpha samples of a row (the high byte of 16-bit ones), one byte a pixel.
void AlphaOfRow(const Layout& layout, const std::uint8_t* in, std::uint8_t* out,
                std::size_t pixels) {
    const std::size_t sample = static_cast<std::size_t>(layout.depth / 8);
    const std::size_t step = static_cast<std::size_t>(layout.samples) * sample;
    const std::size_t at = static_cast<std::size_t>(layout.samples - 1) * sample;
    for (std::size_t x = 0; x < pixels; ++x) out[x] = in[x * step + at];
}

// The pixels of an interlace pass's reduced row go to their columns of the scan line;
// other columns keep what earlier passes wrote.
void ScatterRow(const Layout& layout, const std::uint8_t* reduced, std::uint8_t* line,
                std::size_t pixels, std::size_t start, std::size_t step) {
    switch (layout.outBits) {
        case 24:
            for (std::size_t i = 0, x = start; i < pixels; ++i, x += step)
                std::memcpy(line + 3 * x, reduced + 3 * i, 3);
            return;
        case 8:
            for (std::size_t i = 0, x = start; i < pixels; ++i, x += step) line[x] = reduced[i];
            return;
        default:
            for (std::size_t i = 0, x = start; i < pixels; ++i, x += step) {
                const int value = layout.outBits == 4
                                      ? ((i & 1) ? reduced[i >> 1] & 0x0F : reduced[i >> 1] >> 4)
                                      : (reduced[i >> 3] >> (7 - (i & 7))) & 1;
                PutIndex(line, layout.outBits, x, value);
            }
            return;
    }
}

struct Pass {
    int row, column, rowStep, columnStep;
};
constexpr Pass kAdam7[7] = {{0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4}, {0, 2, 4, 4},
                            {2, 0, 4, 2}, {0, 1, 2, 2}, {1, 0, 2, 1}};

std::uint64_t PassSize(std::uint64_t size, int start, int step) {
    return (size + static_cast<std::uint64_t>(step - start - 1)) / static_cast<std::uint64_t>(step);
}

// Deflate cannot pack more than about 1032 bytes into one, so data that would have to
// inflate further than this cannot hold the picture: refused before anything is
// allocated for it.
constexpr std::uint64_t kMostInflatedPerByte = 1040;

// Two-byte values spread so that the four colours of a 2-bit picture stand at 0, 5,
// 10 and 15 of a 4-bit palette; the entries between repeat the colour below them.
std::vector<std::uint32_t> WidenTwoBitPalette(const std::vector<std::uint32_t>& palette) {
    std::vector<std::uint32_t> wide(16, 0);
    for (int i = 0; i < 16; ++i) {
        const auto source = static_cast<std::size_t>(i / 5);
        wide[static_cast<std::size_t>(i)] = source < palette.size() ? palette[source] : 0;
    }
    return wide;
}

}  // namespace

TPNGImage::TPNGImage() : chunks_(this) {}

TChunkIHDR* TPNGImage::Header() const {
    return static_cast<TChunkIHDR*>(chunks_.FirstOfClass(ChunkClass::IHDR));
}

std::uint32_t TPNGImage::TransparentColor() const {
    const TChunkIHDR* header = Header();
    if (header && header->ColorType() != 2)
        throw EPNGImageException(png_messages::kTransparencyNotRgb);
    return transparentColor_;
}

void TPNGImage::SetTransparentColor(std::uint32_t rgb) {
    transparent_ = true;
    transparentColor_ = rgb & 0x00FFFFFF;
}

void TPNGImage::ResizePicture(std::uint32_t width, std::uint32_t height) {
    if (static_cast<std::uint32_t>(bitmap_.width()) == width &&
        static_cast<std::uint32_t>(bitmap_.height()) == height)
        return;
    if (width == 0 || height == 0) {
        bitmap_ = DibBitmap();
        return;
    }
    const int bits = bitmap_.isNull() ? 24 : bitmap_.bitsPerPixel();
    DibBitmap resized(static_cast<int>(std::min<std::uint32_t>(width, 0x7FFFFFFF)),
                      static_cast<int>(std::min<std::uint32_t>(height, 0x7FFFFFFF)), bits);
    resized.palette() = bitmap_.palette();
    // What fits of the old picture stays, as when a bitmap is resized.
    if (!bitmap_.isNull() && bitmap_.bitsPerPixel() == bits) {
        const int rows = std::min(bitmap_.height(), resized.height());
        const std::size_t bytes = std::min(bitmap_.stride(), resized.stride());
        for (int y = 0; y < rows; ++y) std::memcpy(resized.row(y), bitmap_.row(y), bytes);
    }
    bitmap_ = std::move(resized);
}

void TPNGImage::LoadFromStream(std::string_view stream) {
    chunks_.Clear();
    bitmap_ = DibBitmap();
    transparent_ = false;
    transparentColor_ = 0;
    alpha_.clear();

    if (stream.size() < 8 || std::memcmp(stream.data(), kSignature, 8) != 0)
        throw EPNGImageException(png_messages::kInvalidHeader);
    ReadChunks(stream.substr(8));

    const TChunkIHDR* header = Header();
    if (chunks_.Count() == 0 || &chunks_.Item(0) != header || !header->IsComplete())
        throw EPNGImageException(png_messages::kIhdrNotFirst);
    if (!chunks_.FirstOfClass(ChunkClass::IDAT))
        throw EPNGImageException(png_messages::kNoImageData);

    for (int i = 0; i < chunks_.Count(); ++i) chunks_.Item(i).Decode();

    const TChunk* transparency = chunks_.FirstOfClass(ChunkClass::TRNS);
    if (transparency && header->ColorType() == 2 && transparency->Data.size() >= 6) {
        // One 16-bit sample a channel: the byte the picture shows is the high one of a
        // 16-bit picture and the low one otherwise, seen through the same gamma.
        const auto& data = transparency->Data;
        const std::size_t at = header->BitDepth() == 16 ? 0 : 1;
        auto sample = [&](int channel) {
            std::uint8_t value = static_cast<std::uint8_t>(data[2 * channel + at]);
            if (const TChunkGAMA* gamma = GammaInEffect(*chunks_.FirstOfClass(ChunkClass::IDAT)))
                value = gamma->GammaDecode[value];
            return std::uint32_t{value};
        };
        SetTransparentColor(sample(0) << 16 | sample(1) << 8 | sample(2));
    }
}

void TPNGImage::ReadChunks(std::string_view stream) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(stream.data());
    std::size_t at = 0;
    TChunk* firstData = nullptr;
    while (at < stream.size()) {
        if (stream.size() - at < 8) throw EReadError("Stream read error");
        const std::uint32_t length = BigEndian32(bytes + at);
        const std::uint32_t type = BigEndian32(bytes + at + 4);
        if (length > stream.size() - at - 8 || stream.size() - at - 8 - length < 4)
            throw EReadError("Stream read error");
        if (IsCriticalChunk(type) && !IsKnownChunkType(type))
            throw EPNGImageException(png_messages::kUnknownCriticalChunk);
        const std::string_view data = stream.substr(at + 8, length);
        if (BigEndian32(bytes + at + 8 + length) != PngChunkCrc(type, data))
            throw EPNGImageException(png_messages::kInvalidCrc);
        at += 12 + static_cast<std::size_t>(length);

        if (type == ChunkTypeOf("IDAT") && firstData) {
            // Later data chunks continue the first one.
            firstData->Data.append(data);
            continue;
        }
        TChunk& chunk = chunks_.AddOfType(type);
        if (chunk.Class() == ChunkClass::IDAT) {
            // Room for the data chunks that follow, so they are joined in one go.
            std::size_t total = 0;
            for (std::size_t next = at - 12 - length; stream.size() - next >= 12;) {
                const std::uint32_t size = BigEndian32(bytes + next);
                if (size > stream.size() - next - 12) break;
                if (BigEndian32(bytes + next + 4) == type) total += size;
                next += 12 + static_cast<std::size_t>(size);
            }
            chunk.Data.reserve(total);
            firstData = &chunk;
        }
        chunk.Data.assign(data);
        if (chunk.Class() == ChunkClass::IEND) break;
    }
}

const TChunkGAMA* TPNGImage::GammaInEffect(const TChunk& before) const {
    // Only a gamma chunk ahead of the data counts, and a gamma of 0 means nothing.
    for (int i = 0; i < chunks_.Count(); ++i) {
        const TChunk& chunk = chunks_.Item(i);
        if (&chunk == &before) break;
        if (chunk.Class() == ChunkClass::GAMA) {
            const auto& gamma = static_cast<const TChunkGAMA&>(chunk);
            return gamma.decoded && gamma.Gamma() != 0 ? &gamma : nullptr;
        }
    }
    return nullptr;
}

void TPNGImage::DecodeImageData(const TChunkIDAT& data) {
    const TChunkIHDR* header = Header();
    if (!header || !header->IsComplete()) throw EPNGImageException(png_messages::kIhdrNotFirst);
    Layout layout;
    layout.colorType = header->ColorType();
    layout.depth = header->BitDepth();
    switch (layout.colorType) {
        case 0:
        case 3:
            layout.samples = 1;
            break;
        case 2:
            layout.samples = 3;
            break;
        case 4:
            layout.samples = 2;
            break;
        case 6:
            layout.samples = 4;
            break;
        default:
            throw EPNGImageException(png_messages::kUnknownColorType);
    }
    if (!ValidDepth(layout.colorType, layout.depth))
        throw EPNGImageException(png_messages::kUnknownBitDepth);
    const int interlace = header->InterlaceMethod();
    if (interlace != 0 && interlace != 1) throw EPNGImageException(png_messages::kUnknownInterlace);
    const std::uint64_t width = header->Width(), height = header->Height();
    CheckPictureSize(static_cast<std::int64_t>(width), static_cast<std::int64_t>(height));

    if (layout.colorType == 3)
        layout.unit = 1;
    else if (layout.colorType == 0)
        layout.unit = layout.depth == 16 ? 2 : 1;
    else
        layout.unit =
            std::max<std::size_t>(1, static_cast<std::size_t>(layout.depth * layout.samples / 8));
    layout.outBits = layout.samples >= 3 ? 24 : layout.depth == 1 ? 1 : layout.depth <= 4 ? 4 : 8;

    const TChunkGAMA* gamma = GammaInEffect(data);
    std::vector<std::uint32_t> palette;
    if (layout.colorType == 3) {
        const auto* plte = static_cast<const TChunkPLTE*>(chunks_.FirstOfClass(ChunkClass::PLTE));
        if (!plte) throw EPNGImageException(png_messages::kMissingPalette);
        if (plte->Data.size() % 3 != 0) throw EPNGImageException(png_messages::kInvalidPalette);
        palette = plte->Palette();
        if (gamma) {
            for (std::uint32_t& entry : palette) {
                const auto& g = gamma->GammaDecode;
                entry = std::uint32_t{g[(entry >> 16) & 0xFF]} << 16 |
                        std::uint32_t{g[(entry >> 8) & 0xFF]} << 8 | g[entry & 0xFF];
            }
        }
    } else if (layout.colorType == 0 || layout.colorType == 4) {
        const int entries = layout.depth == 16 ? 256 : 1 << layout.depth;
        palette.resize(static_cast<std::size_t>(entries));
        for (int i = 0; i < entries; ++i) {
            // i x 255 / (entries - 1), rounded.
            int level = (i * 255 + (entries - 1) / 2) / (entries - 1);
            if (gamma) level = gamma->GammaDecode[static_cast<std::size_t>(level)];
            const auto v = static_cast<std::uint32_t>(level);
            palette[static_cast<std::size_t>(i)] = v << 16 | v << 8 | v;
        }
    } else if (gamma) {
        layout.gamma = &gamma->GammaDecode;
    }
    if (layout.depth == 2 && layout.samples < 3) palette = WidenTwoBitPalette(palette);

    // All the rows with their filter bytes: what the data must inflate to.
    std::uint64_t rawSize = 0;
    if (interlace == 0) {
        rawSize = height * (1 + layout.RowBytes(width));
    } else {
        for (const Pass& pass : kAdam7) {
            const std::uint64_t w = PassSize(width, pass.column, pass.columnStep);
            const std::uint64_t h = PassSize(height, pass.row, pass.rowStep);
            if (w && h) rawSize += h * (1 + layout.RowBytes(w));
        }
    }
    if (rawSize > static_cast<std::uint64_t>(data.Data.size()) * kMostInflatedPerByte + 1024)
        throw EZDecompressionError("The picture's data ends early");

    DibBitmap picture(static_cast<int>(width), static_cast<int>(height), layout.outBits);
    picture.palette() = std::move(palette);

    // Colour types 4 and 6 keep their alpha apart from the picture, for the loader.
    const bool hasAlpha = (layout.colorType == 4 || layout.colorType == 6) && layout.depth >= 8;
    std::vector<std::uint8_t> alpha(hasAlpha ? static_cast<std::size_t>(width * height) : 0);

    Inflater inflater(data.Data);
    const std::size_t unit = layout.unit;
    const std::size_t fullRow = layout.RowBytes(width);
    // Room for `unit` zero bytes ahead of each row.
    std::vector<std::uint8_t> rowA(unit + fullRow, 0), rowB(unit + fullRow, 0);
    const int w = static_cast<int>(width), h = static_cast<int>(height);

    if (interlace == 0) {
        std::uint8_t* above = rowA.data() + unit;
        std::uint8_t* row = rowB.data() + unit;
        for (int y = 0; y < h; ++y) {
            // The filter byte lands in the last padding byte, which goes back to 0.
            inflater.Read(row - 1, fullRow + 1);
            const int filter = row[-1];
            row[-1] = 0;
            Unfilter(filter, row, above, fullRow, unit);
            ConvertRow(layout, row, picture.row(y), width);
            if (hasAlpha)
                AlphaOfRow(layout, row, alpha.data() + static_cast<std::size_t>(y) * width, width);
            std::swap(row, above);
            if (OnProgress) OnProgress("Drawing...", (y + 1) * 100 / h, {0, y, w, y + 1});
        }
    } else {
        std::vector<std::uint8_t> reduced(picture.stride(), 0);
        std::vector<std::uint8_t> reducedAlpha(hasAlpha ? width : 0);
        for (int p = 0; p < 7; ++p) {
            const Pass& pass = kAdam7[p];
            const std::uint64_t passWidth = PassSize(width, pass.column, pass.columnStep);
            const std::uint64_t passHeight = PassSize(height, pass.row, pass.rowStep);
            if (passWidth && passHeight) {
                const std::size_t rowBytes = layout.RowBytes(passWidth);
                std::fill(rowA.begin(), rowA.end(), 0);
                std::uint8_t* above = rowA.data() + unit;
                std::uint8_t* row = rowB.data() + unit;
                for (std::uint64_t r = 0; r < passHeight; ++r) {
                    inflater.Read(row - 1, rowBytes + 1);
                    const int filter = row[-1];
                    row[-1] = 0;
                    Unfilter(filter, row, above, rowBytes, unit);
                    ConvertRow(layout, row, reduced.data(), passWidth);
                    const auto y =
                        static_cast<int>(static_cast<std::uint64_t>(pass.row) + r * pass.rowStep);
                    ScatterRow(layout, reduced.data(), picture.row(y), passWidth,
                               static_cast<std::size_t>(pass.column),
                               static_cast<std::size_t>(pass.columnStep));
                    if (hasAlpha) {
                        AlphaOfRow(layout, row, reducedAlpha.data(), passWidth);
                        std::uint8_t* line = alpha.data() + static_cast<std::size_t>(y) * width;
                        for (std::uint64_t i = 0; i < passWidth; ++i)
                            line[pass.column + i * pass.columnStep] = reducedAlpha[i];
                    }
                    std::swap(row, above);
                }
            }
            if (OnProgress) OnProgress("Drawing...", 100 * p / 6, {0, 0, w, h});
        }
    }
    if (inflater.ProducesMore())
        throw EZDecompressionError("The picture's data is longer than the picture");
    bitmap_ = std::move(picture);
    alpha_ = std::move(alpha);
}

void TPNGImage::Assign(const TPNGImage& source) {
    if (&source == this) return;
    chunks_.Clear();
    for (int i = 0; i < source.chunks_.Count(); ++i) {
        const TChunk& chunk = source.chunks_.Item(i);
        chunks_.AddOfType(chunk.ChunkType).AssignFrom(chunk);
        // The gamma tables come with the chunk.
        if (chunk.Class() == ChunkClass::GAMA && static_cast<const TChunkGAMA&>(chunk).decoded)
            static_cast<TChunkGAMA&>(chunks_.Item(i)).Decode();
    }
    filterSet_ = source.filterSet_;
    bitmap_ = source.bitmap_;
    transparent_ = source.transparent_;
    transparentColor_ = source.transparentColor_;
    alpha_ = source.alpha_;
}
