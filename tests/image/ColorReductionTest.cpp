#include <gtest/gtest.h>

#include <set>

#include "image/ColorReduction.h"
#include "image/ImageErrors.h"

namespace {

// A 24-bit picture from a colour function.
template <typename Colour>
DibBitmap Picture(int width, int height, Colour colour) {
    DibBitmap bitmap(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = colour(x, y);
            std::uint8_t* p = bitmap.row(y) + 3 * x;
            p[0] = static_cast<std::uint8_t>(c);
            p[1] = static_cast<std::uint8_t>(c >> 8);
            p[2] = static_cast<std::uint8_t>(c >> 16);
        }
    return bitmap;
}

std::uint32_t Rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 |
           static_cast<std::uint32_t>(b);
}

std::array<platform::TColor, 256> TestSharedPalette() {
    std::array<platform::TColor, 256> shared{};
    for (int i = 0; i < 256; ++i) shared[static_cast<std::size_t>(i)] = platform::RGBColor(i, i, i);
    return shared;
}

}  // namespace

TEST(ColorLookup, FastLookupCellsAndNearestColour) {
    TFastColorLookup lookup({Rgb(0, 0, 0), Rgb(255, 0, 0), Rgb(250, 2, 3), Rgb(0, 0, 200)});
    EXPECT_EQ(lookup.ColorCount, 4);
    int r, g, b;
    // Entry 2 shares entry 1's cell: the first entry keeps it.
    EXPECT_EQ(lookup.Lookup(250, 2, 3, r, g, b), 1);
    EXPECT_EQ(r, 255);
    // Otherwise the smallest sum of differences; ties keep the earlier entry.
    EXPECT_EQ(lookup.Lookup(10, 10, 150, r, g, b), 3);
    EXPECT_EQ(b, 200);
    EXPECT_EQ(lookup.Lookup(100, 0, 100, r, g, b), 0) << "entries 0 and 3 are both 200 away";
    // The answer is kept for the whole cell: a colour there later gets the same entry,
    // though entry 3 is nearer to it.
    EXPECT_EQ(lookup.Lookup(96, 7, 103, r, g, b), 0);

    TNetscapeColorLookup cube;
    EXPECT_EQ(cube.ColorCount, 216);
    EXPECT_EQ(cube.Lookup(0, 100, 255, r, g, b), 5 + 2 * 6);
    EXPECT_EQ(g, 102);
    EXPECT_EQ(cube.Lookup(47, 48, 255, r, g, b), 0 * 36 + 1 * 6 + 5);
    const auto palette = NetscapePalette();
    ASSERT_EQ(palette.size(), 216u);
    EXPECT_EQ(palette[5 + 2 * 6], Rgb(0, 102, 255));
    EXPECT_EQ(palette[215], Rgb(255, 255, 255));
}

TEST(FloydSteinberg, PalettesColoursPassUnchangedAndLeaveNoError) {
    // Exact palette colours in a pattern: each pixel takes its own entry, so no error
    // reaches its neighbours.
    const auto& palette = DefaultPalette();
    const DibBitmap picture = Picture(17, 9, [&](int x, int y) {
        return palette[static_cast<std::size_t>((x * 3 + y * 5) % 16)];
    });
    const platform::Bitmap reduced = ReduceColors(picture, pkDefault, dkFloydSteinberg);
    ASSERT_EQ(reduced.format(), platform::Bitmap::Format::Indexed8);
    ASSERT_EQ(reduced.palette(), palette);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 17; ++x)
            ASSERT_EQ(reduced.row8(y)[x], (x * 3 + y * 5) % 16) << x << "," << y;
}

TEST(FloydSteinberg, ErrorsSpreadSerpentineInIntegers) {
    // Worked out by hand-following the rules: 7/16 ahead, 3/16, 5/16 and 1/16 below,
    // each row walked the other way.
    const std::vector<std::uint32_t> palette{Rgb(0, 0, 0), Rgb(128, 128, 128), Rgb(255, 255, 255),
                                             Rgb(255, 0, 0), Rgb(0, 0, 255)};
    const DibBitmap picture = Picture(
        6, 4, [](int x, int y) { return Rgb(100 + 20 * x - 15 * y, 60 + 30 * y, 200 - 25 * x); });
    TFastColorLookup lookup(palette);
    TFloydSteinbergEngine engine(6, lookup);
    const int expected[4][6] = {
        {1, 4, 1, 1, 3, 1}, {4, 1, 1, 1, 1, 1}, {1, 1, 1, 1, 1, 3}, {1, 4, 1, 1, 1, 1}};
    const std::vector<int> firstColumns{0, 5, 0, 5};
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(engine.Column(), firstColumns[static_cast<std::size_t>(y)]);
        for (int n = 0; n < 6; ++n) {
            const int x = engine.Column();
            const std::uint32_t c = picture.pixel(x, y);
            int r, g, b;
            EXPECT_EQ(engine.Dither(static_cast<int>(c >> 16), static_cast<int>((c >> 8) & 0xFF),
                                    static_cast<int>(c & 0xFF), r, g, b),
                      expected[y][x])
                << x << "," << y;
        }
        engine.NextLine();
    }
    // The plain engine walks the same way.
    TFastColorLookup greys(DefaultPalette());
    TDitherEngine plain(6, greys);
    int r, g, b;
    plain.Dither(90, 90, 90, r, g, b);
    EXPECT_EQ(plain.Column(), 1);
    plain.NextLine();
    EXPECT_EQ(plain.Column(), 5);
    EXPECT_EQ(plain.Direction(), -1);
}

TEST(FloydSteinberg, MidGreyOnTheDefaultPaletteDithersToTheSameAverage) {
    const DibBitmap grey = Picture(40, 40, [](int, int) { return Rgb(96, 96, 96); });
    const platform::Bitmap reduced = ReduceColors(grey, pkDefault, dkFloydSteinberg);
    std::set<int> used;
    long long sum = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            used.insert(reduced.row8(y)[x]);
            sum += reduced.pixel(x, y) & 0xFF;
        }
    EXPECT_GE(used.size(), 2u) << "a pattern, not one flat colour";
    EXPECT_NEAR(static_cast<double>(sum) / 1600, 96.0, 2.0);
    // Nearest colour alone gives one flat grey.
    const platform::Bitmap flat = ReduceColors(grey, pkDefault, dkNearest);
    EXPECT_EQ(flat.pixel(13, 27), Rgb(128, 128, 128));
    EXPECT_EQ(flat.pixel(0, 0), flat.pixel(39, 39));
}

TEST(ColorReduction, PaletteKindsAndSourceFormats) {
    const auto shared = TestSharedPalette();
    const DibBitmap ramp =
        Picture(64, 4, [](int x, int y) { return Rgb(x * 4, y * 60, 255 - x * 4); });
    // The shared palette, copied.
    const platform::Bitmap onShared =
        ReduceColors(ramp, pkShared, dkNearest, ScreenColors{8, &shared});
    ASSERT_EQ(onShared.palette().size(), 256u);
    EXPECT_EQ(onShared.palette()[200], Rgb(200, 200, 200));
    // The cube.
    const platform::Bitmap onCube = ReduceColors(ramp, pkNetscape, dkNearest);
    EXPECT_EQ(onCube.palette().size(), 216u);
    EXPECT_EQ(onCube.pixel(0, 0), Rgb(0, 0, 255));
    // An octree palette of the picture's own: few colours come through exactly.
    const DibBitmap few = Picture(30, 30, [](int x, int y) {
        return (x / 10 + y / 10) % 2 ? Rgb(12, 200, 99) : Rgb(250, 3, 77);
    });
    const platform::Bitmap onOwn = ReduceColors(few, pkOptimized, dkFloydSteinberg);
    EXPECT_EQ(onOwn.palette().size(), 2u);
    for (int y = 0; y < 30; y += 7)
        for (int x = 0; x < 30; x += 7) EXPECT_EQ(onOwn.pixel(x, y), few.pixel(x, y));
    // Many colours merge into at most 256, close to the picture.
    const DibBitmap many =
        Picture(128, 128, [](int x, int y) { return Rgb(x * 2, y * 2, (x + y) & 0xFF); });
    const platform::Bitmap merged = ReduceColors(many, pkOptimized, dkNearest);
    EXPECT_LE(merged.palette().size(), 256u);
    EXPECT_GT(merged.palette().size(), 64u);
    long long error = 0;
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 128; ++x) {
            const std::uint32_t a = many.pixel(x, y), b = merged.pixel(x, y);
            for (int shift : {0, 8, 16})
                error += std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                  static_cast<int>((b >> shift) & 0xFF));
        }
    EXPECT_LT(error / (128 * 128 * 3), 20);

    // 1-, 4- and 8-bit pictures are read through their palettes.
    DibBitmap indexed(9, 2, 4);
    indexed.palette() = {Rgb(0, 0, 0), Rgb(255, 0, 0), Rgb(0, 0, 255)};
    indexed.row(1)[4] = 0x20;  // pixel 8 of row 1
    const platform::Bitmap fromFour = ReduceColors(indexed, pkDefault, dkFloydSteinberg);
    EXPECT_EQ(fromFour.pixel(8, 1), Rgb(0, 0, 255));
    EXPECT_EQ(fromFour.pixel(7, 1), 0u);
    DibBitmap bits(10, 1, 1);
    bits.palette() = {Rgb(0, 0, 0), Rgb(255, 255, 255)};
    bits.row(0)[1] = 0x40;  // pixel 9
    EXPECT_EQ(ReduceColors(bits, pkDefault, dkFloydSteinberg).pixel(9, 0), Rgb(255, 255, 255));
}

TEST(ColorReduction, ForTheScreenAndItsErrors) {
    const auto shared = TestSharedPalette();
    const DibBitmap picture = Picture(5, 5, [](int x, int) { return Rgb(x * 60, 0, 0); });
    // Below 8 bits the default palette; at 8 bits the shared one.
    const auto fourBit = ReduceToScreen(&picture, ScreenColors{4, nullptr});
    ASSERT_TRUE(fourBit);
    EXPECT_EQ(fourBit->palette(), DefaultPalette());
    const auto eightBit = ReduceToScreen(&picture, ScreenColors{8, &shared});
    ASSERT_TRUE(eightBit);
    EXPECT_EQ(eightBit->palette().size(), 256u);
    EXPECT_EQ(eightBit->format(), platform::Bitmap::Format::Indexed8);
    // Nothing to reduce gives nothing.
    EXPECT_FALSE(ReduceToScreen(static_cast<const DibBitmap*>(nullptr), ScreenColors{8, &shared}));
    const DibBitmap empty;
    EXPECT_FALSE(ReduceToScreen(&empty, ScreenColors{8, &shared}));
    // A bitmap already in the screen's form is copied as it is.
    platform::Bitmap device(3, 2);
    device.row32(1)[2] = 0x123456;
    const auto copy = ReduceToScreen(&device);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->format(), platform::Bitmap::Format::Rgb32);
    EXPECT_EQ(copy->pixel(2, 1), 0x123456u);
    EXPECT_FALSE(ReduceToScreen(static_cast<const platform::Bitmap*>(nullptr)));

    // The texts of the helpers' errors.
    try {
        ReduceColors(empty, pkDefault, dkFloydSteinberg);
        FAIL();
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Bitmap image is not valid");
    }
    try {
        TDIBReader reader(picture, 16);
        FAIL();
    } catch (const GIFException& e) {
        EXPECT_STREQ(e.what(), "Invalid pixel format");
    }
    EXPECT_THROW(TDIBWriter(4, 4, 32), GIFException);
    TDIBWriter writer(4, 4, 8);
    try {
        writer.ScanLine(4);
        FAIL();
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_STREQ(e.what(), "Scan line index out of range");
    }
    const TDIBReader reader(picture, 24);
    EXPECT_THROW(reader.ScanLine(-1), EInvalidGraphicOperation);
}
