// Writing a PNG picture back: the chunk list is brought in line with the bitmap, then
// each chunk writes itself. The reader never needs this; tests round-trip through it.

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "image/ImageErrors.h"
#include "image/PngFilters.h"
#include "image/PngImage.h"

namespace {

constexpr char kSignature[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1A', '\n'};

// The row filtered with one filter type; `row` and `above` have `unit` zero bytes
// before them.
void FilterRow(int filter, const std::uint8_t* row, const std::uint8_t* above, std::size_t size,
               std::size_t unit, std::uint8_t* out) {
    // The bytes to the left, counted from the same place: an offset below zero reaches
    // the zero bytes in front.
    const std::uint8_t* left = row - unit;
    const std::uint8_t* leftAbove = above - unit;
    for (std::size_t i = 0; i < size; ++i) {
        int predicted = 0;
        switch (filter) {
            case 1:
                predicted = left[i];
                break;
            case 2:
                predicted = above[i];
                break;
            case 3:
                predicted = (left[i] + above[i]) >> 1;
                break;
            case 4:
                predicted = PaethPredictor(left[i], above[i], leftAbove[i]);
                break;
            default:
                break;
        }
        out[i] = static_cast<std::uint8_t>(row[i] - predicted);
    }
}

// How many positions start five equal bytes in a row: long runs pack best.
std::size_t RunScore(const std::uint8_t* bytes, std::size_t size) {
    std::size_t score = 0, run = 1;
    for (std::size_t i = 1; i <= size; ++i) {
        if (i < size && bytes[i] == bytes[i - 1]) {
            ++run;
            continue;
        }
        if (run >= 5) score += run - 4;
        run = 1;
    }
    return score;
}

void Deflate(z_stream& stream, const std::uint8_t* data, std::size_t size, int flush,
             std::string& out) {
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(size);
    std::uint8_t buffer[16384];
    do {
        stream.next_out = buffer;
        stream.avail_out = sizeof buffer;
        if (deflate(&stream, flush) == Z_STREAM_ERROR)
            throw EZDecompressionError("Could not compress");
        out.append(reinterpret_cast<const char*>(buffer), sizeof buffer - stream.avail_out);
    } while (stream.avail_out == 0 || stream.avail_in > 0);
}

}  // namespace

void TPNGImage::PrepareForSaving() {
    // The header, first, describes the bitmap as it will be written.
    int headerIndex = chunks_.IndexOfClass(ChunkClass::IHDR);
    if (headerIndex < 0) {
        chunks_.Add(ChunkClass::IHDR);
        headerIndex = chunks_.Count() - 1;
    }
    if (headerIndex != 0) chunks_.Move(headerIndex, 0);
    auto& header = static_cast<TChunkIHDR&>(chunks_.Item(0));
    const int bits = bitmap_.bitsPerPixel();
    const bool paletted = bits == 1 || bits == 4 || bits == 8;
    header.SetSize(static_cast<std::uint32_t>(bitmap_.width()),
                   static_cast<std::uint32_t>(bitmap_.height()));
    header.SetColorType(paletted ? 3 : 2);
    header.SetBitDepth(paletted ? bits : 8);
    header.SetCompressionMethod(0);
    header.SetFilterMethod(0);
    header.SetInterlaceMethod(0);

    if (auto* gamma = static_cast<TChunkGAMA*>(chunks_.FirstOfClass(ChunkClass::GAMA)))
        gamma->Decode();
    const auto* gamma = static_cast<const TChunkGAMA*>(chunks_.FirstOfClass(ChunkClass::GAMA));
    const bool encodeGamma = gamma && gamma->Gamma() != 0;

    // Data chunks: exactly one, ahead of the end.
    for (int i = chunks_.Count() - 1; i >= 0; --i) {
        TChunk& chunk = chunks_.Item(i);
        if (chunk.Class() == ChunkClass::IDAT && i != chunks_.IndexOfClass(ChunkClass::IDAT))
            chunks_.Remove(chunk);
    }
    if (chunks_.IndexOfClass(ChunkClass::IDAT) < 0) chunks_.Add(ChunkClass::IDAT);
    const int end = chunks_.IndexOfClass(ChunkClass::IEND);
    if (end < 0) {
        chunks_.Add(ChunkClass::IEND);
    } else if (end != chunks_.Count() - 1) {
        chunks_.Move(end, chunks_.Count() - 1);
    }

    // A chunk that must come before the data.
    auto ensureBeforeData = [&](ChunkClass chunkClass) -> TChunk& {
        int index = chunks_.IndexOfClass(chunkClass);
        if (index < 0) {
            chunks_.Add(chunkClass);
            index = chunks_.Count() - 1;
        }
        const int data = chunks_.IndexOfClass(ChunkClass::IDAT);
        if (index > data) {
            chunks_.Move(index, data);
            index = data;
        }
        return chunks_.Item(index);
    };

    // A palette bitmap writes its own palette (through the gamma it will be read with).
    if (paletted) {
        std::vector<std::uint32_t> entries = bitmap_.palette();
        entries.resize(std::clamp<std::size_t>(entries.size(), 1, std::size_t{1} << bits), 0);
        if (encodeGamma) {
            const auto& g = gamma->GammaEncode;
            for (std::uint32_t& e : entries)
                e = std::uint32_t{g[(e >> 16) & 0xFF]} << 16 |
                    std::uint32_t{g[(e >> 8) & 0xFF]} << 8 | g[e & 0xFF];
        }
        static_cast<TChunkPLTE&>(ensureBeforeData(ChunkClass::PLTE)).SetPalette(entries);
    }

    // Transparency: a true-colour key in 16-bit samples, or for a palette the alpha of
    // each entry up to the transparent one.
    std::string transparency;
    if (transparent_) {
        std::uint32_t key = transparentColor_;
        if (encodeGamma) {
            const auto& g = gamma->GammaEncode;
            key = std::uint32_t{g[(key >> 16) & 0xFF]} << 16 |
                  std::uint32_t{g[(key >> 8) & 0xFF]} << 8 | g[key & 0xFF];
        }
        if (!paletted) {
            for (int shift : {16, 8, 0}) {
                transparency += '\0';
                transparency += static_cast<char>(key >> shift);
            }
        } else {
            const auto& palette = bitmap_.palette();
            const auto found = std::find(palette.begin(), palette.end(), transparentColor_);
            if (found != palette.end() && found - palette.begin() < (1 << bits)) {
                transparency.assign(static_cast<std::size_t>(found - palette.begin()), '\xFF');
                transparency += '\0';
            }
        }
    }
    if (!transparency.empty()) {
        ensureBeforeData(ChunkClass::TRNS).Data = transparency;
        for (int i = chunks_.Count() - 1; i > chunks_.IndexOfClass(ChunkClass::TRNS); --i)
            if (chunks_.Item(i).Class() == ChunkClass::TRNS) chunks_.Remove(chunks_.Item(i));
        // After the palette, where a reader looks for it.
        const int plte = chunks_.IndexOfClass(ChunkClass::PLTE),
                  trns = chunks_.IndexOfClass(ChunkClass::TRNS);
        if (plte > trns) chunks_.Move(trns, plte);
    } else {
        while (TChunk* chunk = chunks_.FirstOfClass(ChunkClass::TRNS)) chunks_.Remove(*chunk);
    }
}

std::string TPNGImage::EncodeImageData() const {
    const int bits = bitmap_.bitsPerPixel();
    const std::size_t width = static_cast<std::size_t>(bitmap_.width());
    const std::size_t rowBytes = (width * static_cast<std::size_t>(bits) + 7) / 8;
    const std::size_t unit = bits == 24 ? 3 : 1;
    const auto* gamma = static_cast<const TChunkGAMA*>(chunks_.FirstOfClass(ChunkClass::GAMA));
    const bool encodeGamma = gamma && gamma->Gamma() != 0 && gamma->decoded;

    std::vector<std::uint8_t> rowA(unit + rowBytes, 0), rowB(unit + rowBytes, 0);
    std::uint8_t* above = rowA.data() + unit;
    std::uint8_t* row = rowB.data() + unit;
    std::vector<std::uint8_t> best(1 + rowBytes), candidate(rowBytes);

    z_stream stream{};
    if (deflateInit(&stream, Z_DEFAULT_COMPRESSION) != Z_OK)
        throw EZDecompressionError("Could not compress");
    std::string out;
    try {
        for (int y = 0; y < bitmap_.height(); ++y) {
            const std::uint8_t* line = bitmap_.row(y);
            if (bits == 24) {
                for (std::size_t x = 0; x < width; ++x) {
                    const std::uint8_t* p = line + 3 * x;
                    std::uint8_t* q = row + 3 * x;
                    q[0] = p[2], q[1] = p[1], q[2] = p[0];
                    if (encodeGamma)
                        for (int c = 0; c < 3; ++c) q[c] = gamma->GammaEncode[q[c]];
                }
            } else {
                std::memcpy(row, line, rowBytes);
            }
            // The filter with the most long runs; ties keep the earlier one.
            std::size_t bestScore = 0;
            bool chosen = false;
            for (int filter = 0; filter < 5; ++filter) {
                if (!(filterSet_ & (1 << filter))) continue;
                FilterRow(filter, row, above, rowBytes, unit, candidate.data());
                const std::size_t score = RunScore(candidate.data(), rowBytes);
                if (!chosen || score > bestScore) {
                    chosen = true;
                    bestScore = score;
                    best[0] = static_cast<std::uint8_t>(filter);
                    std::copy(candidate.begin(), candidate.end(), best.begin() + 1);
                }
            }
            Deflate(stream, best.data(), best.size(), Z_NO_FLUSH, out);
            std::swap(row, above);
        }
        Deflate(stream, nullptr, 0, Z_FINISH, out);
    } catch (...) {
        deflateEnd(&stream);
        throw;
    }
    deflateEnd(&stream);
    return out;
}

void TPNGImage::SaveToStream(std::string& stream) {
    if (bitmap_.isNull()) throw EInvalidGraphicOperation("No picture to save");
    PrepareForSaving();
    stream.append(kSignature, sizeof kSignature);
    for (int i = 0; i < chunks_.Count(); ++i) {
        TChunk& chunk = chunks_.Item(i);
        // Chunks whose type ends in a lower-case letter are not written.
        if (chunk.ChunkType & 0x20) continue;
        if (chunk.Class() == ChunkClass::IDAT) chunk.Data = EncodeImageData();
        chunk.SaveTo(stream);
    }
}
