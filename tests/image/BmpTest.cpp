#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "image/Bmp.h"
#include "image/ImageErrors.h"

namespace {

// Builds a bitmap file field by field.
class BmpBuilder {
public:
    BmpBuilder& u8(int v) {
        bytes_.push_back(static_cast<char>(v));
        return *this;
    }
    BmpBuilder& u16(int v) { return u8(v & 0xFF).u8((v >> 8) & 0xFF); }
    BmpBuilder& u32(std::int64_t v) { return u16(static_cast<int>(v & 0xFFFF)).u16(static_cast<int>((v >> 16) & 0xFFFF)); }
    BmpBuilder& bytes(std::initializer_list<int> values) {
        for (int v : values) u8(v);
        return *this;
    }
    // "BM", file size (unchecked), reserved, where the pixels start.
    BmpBuilder& fileHeader(std::uint32_t dataOffset) { return u8('B').u8('M').u32(0).u32(0).u32(dataOffset); }
    // The 40-byte information header.
    BmpBuilder& infoHeader(std::int32_t width, std::int32_t height, int bits, int compression = 0, int colors = 0) {
        return u32(40).u32(width).u32(height).u16(1).u16(bits).u32(compression).u32(0).u32(2835).u32(2835).u32(colors).u32(0);
    }
    std::string str() const { return bytes_; }

private:
    std::string bytes_;
};

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

}  // namespace

TEST(Bmp, TwentyFourBitsBottomUpWithRowPadding) {
    // 2 x 2: rows are 6 bytes + 2 of padding, the bottom row first, pixels as B G R.
    const std::string file = BmpBuilder()
                                 .fileHeader(54)
                                 .infoHeader(2, 2, 24)
                                 .bytes({0, 0, 255, 0, 255, 0, 0, 0})        // bottom: red, green
                                 .bytes({255, 0, 0, 255, 255, 255, 0, 0})  // top: blue, white
                                 .str();
    const platform::Bitmap b = DecodeBmp(file);
    ASSERT_EQ(b.width(), 2);
    ASSERT_EQ(b.height(), 2);
    EXPECT_EQ(b.pixel(0, 0), kBlue);
    EXPECT_EQ(b.pixel(1, 0), kWhite);
    EXPECT_EQ(b.pixel(0, 1), kRed);
    EXPECT_EQ(b.pixel(1, 1), kGreen);
}

TEST(Bmp, TopDownWhenTheHeightIsNegative) {
    const std::string file = BmpBuilder()
                                 .fileHeader(54)
                                 .infoHeader(1, -2, 24)
                                 .bytes({0, 0, 255, 0})  // first row in the file is the top
                                 .bytes({255, 0, 0, 0})
                                 .str();
    const platform::Bitmap b = DecodeBmp(file);
    EXPECT_EQ(b.pixel(0, 0), kRed);
    EXPECT_EQ(b.pixel(0, 1), kBlue);
}

TEST(Bmp, PalettedPicturesOfOneFourAndEightBits) {
    // 1 bit, 3 x 1: palette black, white; pixels 1 0 1 in the top bits of one byte.
    std::string file = BmpBuilder()
                           .fileHeader(62)
                           .infoHeader(3, 1, 1)
                           .bytes({0, 0, 0, 0, 255, 255, 255, 0})
                           .bytes({0b10100000, 0, 0, 0})
                           .str();
    platform::Bitmap b = DecodeBmp(file);
    EXPECT_EQ(b.pixel(0, 0), kWhite);
    EXPECT_EQ(b.pixel(1, 0), 0u);
    EXPECT_EQ(b.pixel(2, 0), kWhite);

    // 4 bits, 3 x 1, two colours used: indexes 1, 0, 1 as nibbles.
    file = BmpBuilder()
               .fileHeader(62)
               .infoHeader(3, 1, 4, 0, 2)
               .bytes({255, 0, 0, 0, 0, 0, 255, 0})  // blue, red
               .bytes({0x10, 0x10, 0, 0})
               .str();
    b = DecodeBmp(file);
    EXPECT_EQ(b.pixel(0, 0), kRed);
    EXPECT_EQ(b.pixel(1, 0), kBlue);
    EXPECT_EQ(b.pixel(2, 0), kRed);

    // 8 bits with an index past the short palette: black.
    file = BmpBuilder()
               .fileHeader(58)
               .infoHeader(2, 1, 8, 0, 1)
               .bytes({0, 255, 0, 0})  // green
               .bytes({0, 7, 0, 0})
               .str();
    b = DecodeBmp(file);
    EXPECT_EQ(b.pixel(0, 0), kGreen);
    EXPECT_EQ(b.pixel(1, 0), 0u);
}

TEST(Bmp, RunLengthEncodedPictures) {
    // RLE8, 4 x 2, palette red, blue: a run of 3 reds, end of line; an absolute run of
    // 3 (blue, red, blue) padded to a word, end of picture. Missing pixels are black.
    std::string file = BmpBuilder()
                           .fileHeader(62)
                           .infoHeader(4, 2, 8, 1, 2)
                           .bytes({0, 0, 255, 0, 255, 0, 0, 0})
                           .bytes({3, 0, 0, 0})
                           .bytes({0, 3, 1, 0, 1, 0, 0, 1})
                           .str();
    platform::Bitmap b = DecodeBmp(file);
    EXPECT_EQ(b.pixel(0, 1), kRed);
    EXPECT_EQ(b.pixel(2, 1), kRed);
    EXPECT_EQ(b.pixel(3, 1), 0u);
    EXPECT_EQ(b.pixel(0, 0), kBlue);
    EXPECT_EQ(b.pixel(1, 0), kRed);
    EXPECT_EQ(b.pixel(2, 0), kBlue);
    EXPECT_EQ(b.pixel(3, 0), 0u);

    // RLE4, 4 x 1: a run of 4 alternating nibbles 1, 0.
    file = BmpBuilder()
               .fileHeader(62)
               .infoHeader(4, 1, 4, 2, 2)
               .bytes({0, 0, 255, 0, 255, 0, 0, 0})
               .bytes({4, 0x10, 0, 1})
               .str();
    b = DecodeBmp(file);
    EXPECT_EQ(b.pixel(0, 0), kBlue);
    EXPECT_EQ(b.pixel(1, 0), kRed);
    EXPECT_EQ(b.pixel(2, 0), kBlue);

    // A delta past the picture and runs past the edge are clipped, not written.
    file = BmpBuilder()
               .fileHeader(62)
               .infoHeader(2, 2, 8, 1, 2)
               .bytes({0, 0, 255, 0, 255, 0, 0, 0})
               .bytes({200, 1, 0, 2, 250, 250, 9, 1, 0, 1})
               .str();
    b = DecodeBmp(file);
    EXPECT_EQ(b.pixel(0, 1), kBlue);
    EXPECT_EQ(b.pixel(1, 1), kBlue);
}

TEST(Bmp, SixteenAndThirtyTwoBitsWithAndWithoutMasks) {
    // 16 bits, default 5-5-5: pure red 0x7C00, then pure blue 0x001F.
    std::string file = BmpBuilder().fileHeader(54).infoHeader(2, 1, 16).u16(0x7C00).u16(0x001F).str();
    platform::Bitmap b = DecodeBmp(file);
    EXPECT_EQ(b.pixel(0, 0), kRed);
    EXPECT_EQ(b.pixel(1, 0), kBlue);

    // 16 bits with 5-6-5 masks after the header: green 0x07E0.
    file = BmpBuilder().fileHeader(66).infoHeader(1, 1, 16, 3).u32(0xF800).u32(0x07E0).u32(0x001F).u16(0x07E0).u16(0).str();
    b = DecodeBmp(file);
    EXPECT_EQ(b.pixel(0, 0), kGreen);

    // 32 bits, default layout B G R x.
    file = BmpBuilder().fileHeader(54).infoHeader(1, 1, 32).bytes({0x33, 0x22, 0x11, 0xFF}).str();
    b = DecodeBmp(file);
    EXPECT_EQ(b.pixel(0, 0), 0x112233u);
}

TEST(Bmp, TheOldCoreHeader) {
    // 12-byte header: width, height as 16 bits; palette entries of 3 bytes.
    const std::string file = BmpBuilder()
                                 .fileHeader(14 + 12 + 6)
                                 .u32(12).u16(1).u16(1).u16(1).u16(8)
                                 .bytes({0, 0, 0, 0, 0, 255})  // black, red
                                 .bytes({1, 0, 0, 0})
                                 .str();
    EXPECT_EQ(DecodeBmp(file).pixel(0, 0), kRed);
}

TEST(Bmp, BrokenFilesAreRefused) {
    const std::string good = BmpBuilder().fileHeader(54).infoHeader(2, 2, 24).bytes({0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0}).str();
    EXPECT_NO_THROW(DecodeBmp(good));
    // Only the last row's padding may be missing.
    EXPECT_NO_THROW(DecodeBmp(good.substr(0, good.size() - 2)));
    EXPECT_THROW(DecodeBmp(good.substr(0, good.size() - 3)), EInvalidGraphicOperation);
    EXPECT_THROW(DecodeBmp(good.substr(0, 30)), EInvalidGraphicOperation);
    EXPECT_THROW(DecodeBmp("BM"), EInvalidGraphicOperation);
    EXPECT_THROW(DecodeBmp("XX" + good.substr(2)), EInvalidGraphicOperation);
    // A header claiming 100,000 x 100,000 pixels is refused before any allocation.
    EXPECT_THROW(DecodeBmp(BmpBuilder().fileHeader(54).infoHeader(100000, 100000, 24).str()), EInvalidGraphicOperation);
    EXPECT_THROW(DecodeBmp(BmpBuilder().fileHeader(54).infoHeader(0, 5, 24).str()), EInvalidGraphicOperation);
    EXPECT_THROW(DecodeBmp(BmpBuilder().fileHeader(54).infoHeader(-2147483647 - 1, -2147483647 - 1, 24).str()),
                 EInvalidGraphicOperation);
    EXPECT_THROW(DecodeBmp(BmpBuilder().fileHeader(54).infoHeader(1, 1, 7).bytes({0, 0, 0, 0}).str()),
                 EInvalidGraphicOperation);
    // RLE8 needs 8 bits; an absolute run cut short is broken.
    EXPECT_THROW(DecodeBmp(BmpBuilder().fileHeader(54).infoHeader(1, 1, 24, 1).bytes({0, 0, 0, 0}).str()),
                 EInvalidGraphicOperation);
    EXPECT_THROW(DecodeBmp(BmpBuilder().fileHeader(58).infoHeader(8, 1, 8, 1, 1).bytes({0, 0, 0, 0}).bytes({0, 8, 1}).str()),
                 EInvalidGraphicOperation);
}
