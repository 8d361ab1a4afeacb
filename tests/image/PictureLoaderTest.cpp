#include <gtest/gtest.h>

#include <filesystem>

#include "image/PictureLoader.h"
#include "platform/Files.h"
#include "tests/image/PictureFiles.h"

namespace {

using test_pictures::Chunk;

// The chunks ahead of a 4 x 4 picture's data, for the transparency scan.
std::string ScanOf(int colorType, const std::string& chunks) {
    return test_pictures::kSignature + test_pictures::Header(4, 4, 8, colorType) + chunks +
           Chunk("IEND", "");
}

std::string Collection(const std::string& relative) { return std::string(VULTARIA_COLLECTION) + "/" + relative; }

}  // namespace

TEST(PngChunkScan, FindsTheTransparentColour) {
    const std::string palette = Chunk("PLTE", std::string("\x10\x20\x30\xFF\x00\x00\x00\xFF\x00", 9));
    // The second entry is fully transparent, the first opaque.
    PngTransparency scan =
        ScanPngChunks(ScanOf(3, palette + Chunk("tRNS", std::string("\xFF\x00", 2))));
    EXPECT_EQ(scan.colorType, 3);
    EXPECT_TRUE(scan.transparent);
    EXPECT_EQ(scan.transparentColor, 0xFF0000u);
    // Gamma and text chunks before the transparency do not hide it.
    scan = ScanPngChunks(ScanOf(3, Chunk("gAMA", "abcd") + palette + Chunk("tEXt", "x") +
                                       Chunk("tRNS", std::string(1, '\0'))));
    EXPECT_EQ(scan.transparentColor, 0x102030u);
    // Only an entry less than half opaque makes the picture transparent: the first one.
    EXPECT_FALSE(ScanPngChunks(ScanOf(3, palette + Chunk("tRNS", "\xFF\xC8"))).transparent);
    scan = ScanPngChunks(ScanOf(3, palette + Chunk("tRNS", std::string("\xFF\x90\x40\x00", 4))));
    EXPECT_TRUE(scan.transparent);
    EXPECT_EQ(scan.transparentIndex, 2);
    EXPECT_EQ(scan.transparentColor, 0x00FF00u);
    // Truecolour: 16-bit samples.
    scan = ScanPngChunks(ScanOf(2, Chunk("tRNS", std::string("\x00\x0A\x00\x0B\x00\x0C", 6))));
    EXPECT_EQ(scan.transparentColor, 0x0A0B0Cu);
    // No transparency chunk; alpha pictures end the scan at the header.
    EXPECT_FALSE(ScanPngChunks(ScanOf(3, palette)).transparent);
    EXPECT_FALSE(ScanPngChunks(ScanOf(6, Chunk("tRNS", "x"))).transparent);
    // A chunk claiming more bytes than the file holds ends the scan safely.
    EXPECT_FALSE(ScanPngChunks(ScanOf(3, std::string("\x7F\xFF\xFF\xFFtRNS", 8))).transparent);
}

TEST(PictureLoader, TypesByFirstBytesAndRefusesWhatItCannotRead) {
    EXPECT_FALSE(LoadPicture("", NotTransparent));
    EXPECT_FALSE(LoadPicture("BM short", NotTransparent));
    EXPECT_FALSE(LoadPicture("GIF89a and more than twenty bytes", NotTransparent));
    EXPECT_FALSE(LoadAnyPicture("GIF89a and more than twenty bytes", NotTransparent));
    // A GIF goes to its own decoder, whatever the case of its signature; the general
    // loader leaves it alone.
    std::string lower = platform::ReadWholeFile(Collection("dados/imagens/retrato.gif"));
    lower.replace(0, 3, "gif");
    EXPECT_FALSE(LoadPicture(lower, NotTransparent));
    EXPECT_TRUE(LoadAnyPicture(lower, NotTransparent));
    EXPECT_FALSE(LoadPicture("BM followed by garbage bytes....", NotTransparent));
    EXPECT_FALSE(LoadPictureFile(Collection("dados/imagens/nao_existe.bmp"), NotTransparent));
}

TEST(PictureLoader, LoadsEveryBundledPicture) {
    for (const char* name : {"capitular.bmp", "bola.bmp", "ceu.jpg", "cafe.jpg", "paleta.png",
                             "mapa.png", "retrato.gif"}) {
        SCOPED_TRACE(name);
        const auto picture =
            LoadAnyPictureFile(Collection(std::string("dados/imagens/") + name), NotTransparent);
        ASSERT_TRUE(picture);
        EXPECT_GT(picture->bitmap.width(), 8);
        EXPECT_GT(picture->bitmap.height(), 8);
        EXPECT_FALSE(picture->mask);
        EXPECT_EQ(picture->transparency, NotTransparent);
        EXPECT_FALSE(picture->animation);
    }
    // The seal's clear corners show the page.
    const auto seal = LoadAnyPictureFile(Collection("dados/imagens/selo.png"), NotTransparent);
    ASSERT_TRUE(seal && seal->mask);
    EXPECT_EQ(seal->mask->pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(seal->mask->pixel(36, 36), 0u);
    // A transparent GIF of one frame: a bitmap with its own mask.
    const auto ornament =
        LoadAnyPictureFile(Collection("dados/imagens/ornamento.gif"), LowerLeftCorner);
    ASSERT_TRUE(ornament);
    ASSERT_TRUE(ornament->mask);
    EXPECT_EQ(ornament->transparency, MaskSupplied);
    EXPECT_FALSE(ornament->animation);
    // An animation keeps its frames; its bitmap and mask are the first frame's.
    const auto note = LoadAnyPictureFile(Collection("dados/imagens/nota.gif"), NotTransparent);
    ASSERT_TRUE(note);
    ASSERT_TRUE(note->animation);
    EXPECT_EQ(note->animation->FrameCount, 3);
    EXPECT_EQ(note->bitmap.width(), note->animation->Width);
    ASSERT_TRUE(note->mask);
    EXPECT_EQ(note->mask->width(), note->bitmap.width());
    // TRANSP on a GIF without transparency of its own takes the corner's colour.
    const auto portrait =
        LoadAnyPictureFile(Collection("dados/imagens/retrato.gif"), LowerLeftCorner);
    ASSERT_TRUE(portrait);
    EXPECT_EQ(portrait->transparency, LowerLeftCorner);
    ASSERT_TRUE(portrait->mask);
    EXPECT_EQ(portrait->mask->pixel(0, portrait->bitmap.height() - 1), 0xFFFFFFu);
}

TEST(PictureLoader, PngTransparencyIsTheColourThePictureShows) {
    using test_pictures::BigEndian;
    using test_pictures::Header;
    using test_pictures::Png;
    // A palette picture whose entry 1 is transparent: its pixels are masked and black.
    const std::string palette = Chunk("PLTE", std::string("\x10\x20\x30\x40\x50\x60", 6));
    const std::string rows = std::string("\0\x00\x01\x00", 4);
    auto picture = LoadPicture(
        Png(Header(3, 1, 8, 3), rows, palette + Chunk("tRNS", std::string("\xFF\x00", 2))), 0);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->transparency, TransparentColor);
    ASSERT_TRUE(picture->mask);
    EXPECT_EQ(picture->mask->pixel(1, 0), 0xFFFFFFu);
    EXPECT_EQ(picture->mask->pixel(0, 0), 0u);
    EXPECT_EQ(picture->bitmap.pixel(1, 0), 0u);
    EXPECT_EQ(picture->bitmap.pixel(0, 0), 0x102030u);
    // A palette picture is masked by entry, not by colour: entries 0 and 1 share a colour
    // and only 1 is clear; a nearly clear entry shows the page, a mostly opaque one does not.
    const std::string shared =
        Chunk("PLTE", std::string("\x10\x20\x30\x10\x20\x30\x40\x50\x60\x70\x80\x90", 12));
    picture = LoadPicture(Png(Header(4, 1, 8, 3), std::string("\0\x00\x01\x02\x03", 5),
                              shared + Chunk("tRNS", std::string("\xFF\x00\x0A\xC8", 4))),
                          0);
    ASSERT_TRUE(picture && picture->mask);
    EXPECT_EQ(picture->transparency, TransparentColor);
    EXPECT_EQ(picture->mask->pixel(0, 0), 0u) << "opaque entry of the clear entry's colour";
    EXPECT_EQ(picture->bitmap.pixel(0, 0), 0x102030u);
    EXPECT_EQ(picture->mask->pixel(1, 0), 0xFFFFFFu);
    EXPECT_EQ(picture->mask->pixel(2, 0), 0xFFFFFFu) << "alpha 10";
    EXPECT_EQ(picture->mask->pixel(3, 0), 0u) << "alpha 200";
    EXPECT_EQ(picture->bitmap.pixel(3, 0), 0x708090u);
    // A transparency chunk whose entries are all mostly opaque masks nothing.
    picture = LoadPicture(
        Png(Header(3, 1, 8, 3), rows, palette + Chunk("tRNS", std::string("\xFF\xC8", 2))), 0);
    ASSERT_TRUE(picture);
    EXPECT_FALSE(picture->mask);
    EXPECT_EQ(picture->transparency, NotTransparent);
    EXPECT_EQ(picture->bitmap.pixel(1, 0), 0x405060u);
    // With a gamma chunk the key is compared as the picture shows it, in a true-colour
    // picture and a palette one alike.
    const std::string gamma = Chunk("gAMA", BigEndian(100000));
    picture = LoadPicture(Png(Header(2, 1, 8, 2), std::string("\0\x40\x40\x40\x41\x41\x41", 7),
                              gamma + Chunk("tRNS", std::string("\0\x40\0\x40\0\x40", 6))),
                          0);
    ASSERT_TRUE(picture && picture->mask);
    EXPECT_EQ(picture->mask->pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(picture->mask->pixel(1, 0), 0u);
    picture = LoadPicture(
        Png(Header(3, 1, 8, 3), rows, gamma + palette + Chunk("tRNS", std::string("\xFF\x00", 2))),
        0);
    ASSERT_TRUE(picture && picture->mask);
    EXPECT_EQ(picture->mask->pixel(1, 0), 0xFFFFFFu);
    EXPECT_EQ(picture->mask->pixel(0, 0), 0u);
    // Alpha channels: pixels less than half opaque show the page, whatever the
    // layout of the rows.
    for (int interlace : {0, 1}) {
        picture = LoadPicture(
            Png(Header(3, 1, 8, 6, interlace),
                // Passes 1, 4 and 6 hold columns 0, 2 and 1.
                interlace
                    ? std::string("\0\x10\x20\x30\x00", 5) + std::string("\0\x77\x88\x99\x80", 5) +
                          std::string("\0\x44\x55\x66\x7F", 5)
                    : std::string("\0\x10\x20\x30\x00\x44\x55\x66\x7F\x77\x88\x99\x80", 13)),
            0);
        ASSERT_TRUE(picture && picture->mask) << interlace;
        EXPECT_EQ(picture->transparency, TransparentColor);
        EXPECT_EQ(picture->mask->pixel(0, 0), 0xFFFFFFu);
        EXPECT_EQ(picture->mask->pixel(1, 0), 0xFFFFFFu);
        EXPECT_EQ(picture->mask->pixel(2, 0), 0u);
        EXPECT_EQ(picture->bitmap.pixel(0, 0), 0u) << "black behind the mask";
        EXPECT_EQ(picture->bitmap.pixel(2, 0), 0x778899u);
    }
    picture =
        LoadPicture(Png(Header(2, 1, 16, 4), std::string("\0\x50\0\x00\x10\x60\0\xFF\x00", 9)), 0);
    ASSERT_TRUE(picture && picture->mask);
    EXPECT_EQ(picture->mask->pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(picture->mask->pixel(1, 0), 0u);
    EXPECT_EQ(picture->bitmap.pixel(1, 0), 0x606060u);
    // A broken PNG is no picture.
    EXPECT_FALSE(LoadPicture(Png(Header(3, 1, 8, 3), rows), 0));
}

TEST(PictureLoader, PalettesScreensGetPicturesOnTheirPalette) {
    std::array<platform::TColor, 256> shared{};
    for (int i = 0; i < 256; ++i)
        shared[static_cast<std::size_t>(i)] = platform::RGBColor(i, 255 - i, i / 2);
    for (const char* name : {"paleta.png", "bola.bmp", "ornamento.gif", "nota.gif"}) {
        SCOPED_TRACE(name);
        const std::string path = Collection(std::string("dados/imagens/") + name);
        const auto deep = LoadAnyPictureFile(path, NotTransparent);
        const auto eight = LoadAnyPictureFile(path, NotTransparent, ScreenColors{8, &shared});
        const auto four = LoadAnyPictureFile(path, NotTransparent, ScreenColors{4, nullptr});
        ASSERT_TRUE(deep && eight && four);
        EXPECT_EQ(eight->bitmap.format(), platform::Bitmap::Format::Indexed8);
        ASSERT_EQ(eight->bitmap.palette().size(), 256u);
        EXPECT_EQ(eight->bitmap.palette()[3], 0x03FC01u);
        EXPECT_EQ(four->bitmap.palette(), DefaultPalette());
        EXPECT_EQ(eight->bitmap.width(), deep->bitmap.width());
        EXPECT_EQ(eight->mask.has_value(), deep->mask.has_value()) << "masks are kept";
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
