// Decoding a large true-colour PNG and a photo-like GIF with our decoders, and the
// same files with the reference libraries, from memory into a new picture a canvas
// can take: blue-green-red rows for the PNG, one 32-bit word a pixel for the GIF.
//
// The pictures are made once at start-up, deterministically: with the reference
// encoders when they are at hand (so the files are as an everyday tool writes them),
// else with our own PNG writer (and no GIF).

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "image/GifDecoder.h"
#include "image/GifImage.h"
#include "image/PngImage.h"

#ifdef VULTARIA_REFERENCE_DECODERS
#include <gif_lib.h>
#include <png.h>
#endif

namespace {

constexpr int kPngSize = 2000;
constexpr int kGifWidth = 800;
constexpr int kGifHeight = 600;

// A photograph's worth of detail: smooth light and shade, edges, and sensor noise.
void PhotoPixel(int x, int y, int width, int height, std::mt19937& noise, std::uint8_t rgb[3]) {
    const double u = static_cast<double>(x) / width, v = static_cast<double>(y) / height;
    const double sky = 0.5 + 0.5 * std::sin(6.0 * u + 2.0 * v);
    const double hill = v > 0.55 + 0.1 * std::sin(9.0 * u) ? 1.0 : 0.0;
    const double ripple = 0.5 + 0.5 * std::sin(40.0 * u * v + 3.0 * u);
    std::uniform_int_distribution<int> jitter(-6, 6);
    const double base[3] = {
        hill ? 60 + 80 * ripple : 90 + 120 * sky,
        hill ? 110 + 60 * ripple : 140 + 90 * sky,
        hill ? 40 + 30 * sky : 200 + 50 * ripple,
    };
    for (int c = 0; c < 3; ++c)
        rgb[c] = static_cast<std::uint8_t>(
            std::clamp(static_cast<int>(base[c]) + jitter(noise), 0, 255));
}

#ifdef VULTARIA_REFERENCE_DECODERS

struct MemoryReader {
    const std::string* bytes;
    std::size_t at = 0;
};

void PngRead(png_structp png, png_bytep out, png_size_t count) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (reader->at + count > reader->bytes->size()) png_error(png, "read past the end");
    std::memcpy(out, reader->bytes->data() + reader->at, count);
    reader->at += count;
}

void PngWrite(png_structp png, png_bytep data, png_size_t count) {
    static_cast<std::string*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), count);
}

std::string ReferencePng(const std::vector<std::uint8_t>& rgb) {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) throw std::runtime_error("libpng could not write");
    png_set_write_fn(png, &out, PngWrite, nullptr);
    png_set_IHDR(png, info, kPngSize, kPngSize, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < kPngSize; ++y)
        png_write_row(
            png, const_cast<png_bytep>(rgb.data() + static_cast<std::size_t>(y) * kPngSize * 3));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

int GifReadBytes(GifFileType* gif, GifByteType* out, int count) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const std::size_t n =
        std::min<std::size_t>(static_cast<std::size_t>(count), reader->bytes->size() - reader->at);
    std::memcpy(out, reader->bytes->data() + reader->at, n);
    reader->at += n;
    return static_cast<int>(n);
}

int GifWriteBytes(GifFileType* gif, const GifByteType* data, int count) {
    static_cast<std::string*>(gif->UserData)
        ->append(reinterpret_cast<const char*>(data), static_cast<std::size_t>(count));
    return count;
}

// 256 colours: a 6 x 7 x 6 cube and four greys, the photograph dithered onto them.
std::string ReferenceGif() {
    std::vector<GifColorType> colours;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 7; ++g)
            for (int b = 0; b < 6; ++b)
                colours.push_back({static_cast<GifByteType>(r * 51),
                                   static_cast<GifByteType>(g * 42),
                                   static_cast<GifByteType>(b * 51)});
    for (int i = 0; i < 4; ++i)
        colours.push_back({static_cast<GifByteType>(40 + 50 * i),
                           static_cast<GifByteType>(40 + 50 * i),
                           static_cast<GifByteType>(40 + 50 * i)});
    std::mt19937 noise(7);
    std::vector<GifByteType> indexes(static_cast<std::size_t>(kGifWidth) * kGifHeight);
    for (int y = 0; y < kGifHeight; ++y)
        for (int x = 0; x < kGifWidth; ++x) {
            std::uint8_t rgb[3];
            PhotoPixel(x, y, kGifWidth, kGifHeight, noise, rgb);
            // Dithered onto the cube with a random threshold, as a photograph's
            // reduction to 256 colours leaves it: noisy and hard to pack.
            std::uniform_int_distribution<int> threshold(-40, 40);
            auto level = [&](int value, int step, int levels) {
                return std::clamp((value + threshold(noise) * step / 51 + step / 2) / step, 0,
                                  levels - 1);
            };
            indexes[static_cast<std::size_t>(y) * kGifWidth + x] = static_cast<GifByteType>(
                level(rgb[0], 51, 6) * 42 + level(rgb[1], 42, 7) * 6 + level(rgb[2], 51, 6));
        }
    std::string out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, GifWriteBytes, &error);
    ColorMapObject* map = GifMakeMapObject(256, colours.data());
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, kGifWidth, kGifHeight, 8, 0, map);
    EGifPutImageDesc(gif, 0, 0, kGifWidth, kGifHeight, false, nullptr);
    for (int y = 0; y < kGifHeight; ++y)
        EGifPutLine(gif, indexes.data() + static_cast<std::size_t>(y) * kGifWidth, kGifWidth);
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

#endif

const std::string& PngFile() {
    static const std::string file = [] {
        std::mt19937 noise(3);
        std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kPngSize) * kPngSize * 3);
        for (int y = 0; y < kPngSize; ++y)
            for (int x = 0; x < kPngSize; ++x)
                PhotoPixel(x, y, kPngSize, kPngSize, noise,
                           rgb.data() + (static_cast<std::size_t>(y) * kPngSize + x) * 3);
#ifdef VULTARIA_REFERENCE_DECODERS
        return ReferencePng(rgb);
#else
        DibBitmap bitmap(kPngSize, kPngSize, 24);
        for (int y = 0; y < kPngSize; ++y)
            for (int x = 0; x < kPngSize; ++x) {
                const std::uint8_t* p =
                    rgb.data() + (static_cast<std::size_t>(y) * kPngSize + x) * 3;
                std::uint8_t* q = bitmap.row(y) + 3 * x;
                q[0] = p[2], q[1] = p[1], q[2] = p[0];
            }
        TPNGImage image;
        image.SetBitmap(std::move(bitmap));
        std::string out;
        image.SaveToStream(out);
        return out;
#endif
    }();
    return file;
}

void BM_PngOurs(benchmark::State& state) {
    const std::string& file = PngFile();
    for (auto _ : state) {
        TPNGImage image;
        image.LoadFromStream(file);
        benchmark::DoNotOptimize(image.Bitmap().row(kPngSize - 1));
    }
    state.SetLabel(std::to_string(file.size()) + " bytes");
}
BENCHMARK(BM_PngOurs)->Unit(benchmark::kMillisecond);

#ifdef VULTARIA_REFERENCE_DECODERS

void BM_PngReference(benchmark::State& state) {
    const std::string& file = PngFile();
    for (auto _ : state) {
        // A new picture each time, as our decoder makes one.
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kPngSize) * kPngSize * 3);
        std::vector<png_bytep> rows(kPngSize);
        for (int y = 0; y < kPngSize; ++y)
            rows[static_cast<std::size_t>(y)] =
                pixels.data() + static_cast<std::size_t>(y) * kPngSize * 3;
        MemoryReader reader{&file};
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        if (setjmp(png_jmpbuf(png))) {
            state.SkipWithError("libpng failed");
            break;
        }
        png_set_read_fn(png, &reader, PngRead);
        png_read_info(png, info);
        png_set_bgr(png);  // the same rows as ours
        png_read_image(png, rows.data());
        png_read_end(png, nullptr);
        png_destroy_read_struct(&png, &info, nullptr);
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BM_PngReference)->Unit(benchmark::kMillisecond);

const std::string& GifFile() {
    static const std::string file = ReferenceGif();
    return file;
}

void BM_GifOurs(benchmark::State& state) {
    const std::string& file = GifFile();
    for (auto _ : state) {
        bool notAnimated = false;
        auto gif = CreateGifFromStream(notAnimated, file);
        if (!gif) {
            state.SkipWithError("no picture");
            break;
        }
        benchmark::DoNotOptimize(gif->FrameStrip().row32(kGifHeight - 1));
    }
    state.SetLabel(std::to_string(file.size()) + " bytes");
}
BENCHMARK(BM_GifOurs)->Unit(benchmark::kMillisecond);

// The codes alone, without colours.
void BM_GifOursIndexesOnly(benchmark::State& state) {
    const std::string& file = GifFile();
    for (auto _ : state) {
        TGif gif;
        gif.Read(file);
        benchmark::DoNotOptimize(gif.Image(0).pixels.data());
    }
}
BENCHMARK(BM_GifOursIndexesOnly)->Unit(benchmark::kMillisecond);

// The file read whole by the reference library; none when it fails.
GifFileType* ReferenceSlurp(const std::string& file, MemoryReader& reader) {
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, GifReadBytes, &error);
    if (gif && DGifSlurp(gif) == GIF_OK) return gif;
    if (gif) DGifCloseFile(gif, &error);
    return nullptr;
}

void BM_GifReference(benchmark::State& state) {
    const std::string& file = GifFile();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kGifWidth) * kGifHeight);
    for (auto _ : state) {
        MemoryReader reader{&file};
        GifFileType* gif = ReferenceSlurp(file, reader);
        if (!gif) {
            state.SkipWithError("giflib failed");
            break;
        }
        // The frame's indexes into colours, as a canvas takes them.
        const SavedImage& image = gif->SavedImages[0];
        const ColorMapObject* map =
            image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
        std::uint32_t colours[256] = {};
        for (int i = 0; i < map->ColorCount; ++i)
            colours[i] = std::uint32_t{map->Colors[i].Red} << 16 |
                         std::uint32_t{map->Colors[i].Green} << 8 | map->Colors[i].Blue;
        const std::size_t count =
            static_cast<std::size_t>(image.ImageDesc.Width) * image.ImageDesc.Height;
        for (std::size_t i = 0; i < count; ++i) pixels[i] = colours[image.RasterBits[i]];
        int error = 0;
        DGifCloseFile(gif, &error);
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BM_GifReference)->Unit(benchmark::kMillisecond);

void BM_GifReferenceIndexesOnly(benchmark::State& state) {
    const std::string& file = GifFile();
    for (auto _ : state) {
        MemoryReader reader{&file};
        GifFileType* gif = ReferenceSlurp(file, reader);
        if (!gif) {
            state.SkipWithError("giflib failed");
            break;
        }
        benchmark::DoNotOptimize(gif->SavedImages[0].RasterBits);
        int error = 0;
        DGifCloseFile(gif, &error);
    }
}
BENCHMARK(BM_GifReferenceIndexesOnly)->Unit(benchmark::kMillisecond);

#endif

}  // namespace

BENCHMARK_MAIN();
