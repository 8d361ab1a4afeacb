#include <gtest/gtest.h>

#include <filesystem>

#include "image/PictureLoader.h"
#include "platform/Files.h"

namespace {

std::string Chunk(const std::string& type, const std::string& data) {
    std::string out;
    const auto n = static_cast<std::uint32_t>(data.size());
    out += static_cast<char>(n >> 24);
    out += static_cast<char>(n >> 16);
    out += static_cast<char>(n >> 8);
    out += static_cast<char>(n);
    return out + type + data + std::string(4, '\0');  // the CRC is not checked here
}

std::string Png(int colorType, const std::string& chunks) {
    const std::string header = std::string("\0\0\0\x04\0\0\0\x04\x08", 9) + static_cast<char>(colorType) + std::string(3, '\0');
    return std::string("\x89PNG\r\n\x1A\n", 8) + Chunk("IHDR", header) + chunks + Chunk("IEND", "");
}

std::string Collection(const std::string& relative) { return std::string(VULTARIA_COLLECTION) + "/" + relative; }

}  // namespace

TEST(PngChunkScan, FindsTheTransparentColour) {
    const std::string palette = Chunk("PLTE", std::string("\x10\x20\x30\xFF\x00\x00\x00\xFF\x00", 9));
    // The second entry is fully transparent, the first opaque.
    PngTransparency scan = ScanPngChunks(Png(3, palette + Chunk("tRNS", std::string("\xFF\x00", 2))));
    EXPECT_EQ(scan.colorType, 3);
    EXPECT_TRUE(scan.transparent);
    EXPECT_EQ(scan.transparentColor, 0xFF0000u);
    // Gamma and text chunks before the transparency do not hide it.
    scan = ScanPngChunks(Png(3, Chunk("gAMA", "abcd") + palette + Chunk("tEXt", "x") + Chunk("tRNS", std::string(1, '\0'))));
    EXPECT_EQ(scan.transparentColor, 0x102030u);
    // Truecolour: 16-bit samples.
    scan = ScanPngChunks(Png(2, Chunk("tRNS", std::string("\x00\x0A\x00\x0B\x00\x0C", 6))));
    EXPECT_EQ(scan.transparentColor, 0x0A0B0Cu);
    // No transparency chunk; alpha pictures end the scan at the header.
    EXPECT_FALSE(ScanPngChunks(Png(3, palette)).transparent);
    EXPECT_FALSE(ScanPngChunks(Png(6, Chunk("tRNS", "x"))).transparent);
    // A chunk claiming more bytes than the file holds ends the scan safely.
    EXPECT_FALSE(ScanPngChunks(Png(3, std::string("\x7F\xFF\xFF\xFFtRNS", 8))).transparent);
}

TEST(PictureLoader, TypesByFirstBytesAndRefusesWhatItCannotRead) {
    EXPECT_FALSE(LoadPicture("", NotTransparent));
    EXPECT_FALSE(LoadPicture("BM short", NotTransparent));
    EXPECT_FALSE(LoadPicture("GIF89a and more than twenty bytes", NotTransparent));
    EXPECT_FALSE(LoadPicture("BM followed by garbage bytes....", NotTransparent));
    EXPECT_FALSE(LoadPictureFile(Collection("dados/imagens/nao_existe.bmp"), NotTransparent));
}

TEST(PictureLoader, LoadsTheBundledBmpAndJpegPictures) {
    for (const char* name : {"capitular.bmp", "bola.bmp", "ceu.jpg", "cafe.jpg"}) {
        SCOPED_TRACE(name);
        const auto picture = LoadPictureFile(Collection(std::string("dados/imagens/") + name), NotTransparent);
        ASSERT_TRUE(picture);
        EXPECT_GT(picture->bitmap.width(), 8);
        EXPECT_GT(picture->bitmap.height(), 8);
        EXPECT_FALSE(picture->mask);
        EXPECT_EQ(picture->transparency, NotTransparent);
    }
}

TEST(PictureLoader, CornerTransparencyMasksTheLowerLeftColour) {
    auto picture = LoadPictureFile(Collection("dados/imagens/bola.bmp"), LowerLeftCorner);
    ASSERT_TRUE(picture);
    ASSERT_TRUE(picture->mask);
    const platform::Bitmap& bitmap = picture->bitmap;
    const std::uint32_t corner = bitmap.pixel(0, bitmap.height() - 1);
    for (int y = 0; y < bitmap.height(); ++y)
        for (int x = 0; x < bitmap.width(); ++x)
            ASSERT_EQ(picture->mask->pixel(x, y) == 0xFFFFFF, bitmap.pixel(x, y) == corner) << x << "," << y;
    EXPECT_EQ(picture->transparency, LowerLeftCorner);
}

TEST(PictureLoader, ATransparentColourTurnsBlackBehindItsMask) {
    LoadedPicture picture;
    picture.bitmap = platform::Bitmap(2, 1);
    picture.bitmap.row32(0)[0] = 0x00FF00;
    picture.bitmap.row32(0)[1] = 0x123456;
    ApplyTransparentColor(picture, 0x00FF00);
    ASSERT_TRUE(picture.mask);
    EXPECT_EQ(picture.mask->pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(picture.mask->pixel(1, 0), 0u);
    EXPECT_EQ(picture.bitmap.pixel(0, 0), 0u);
    EXPECT_EQ(picture.bitmap.pixel(1, 0), 0x123456u);
}
