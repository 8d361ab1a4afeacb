#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <regex>

#include "image/ImageErrors.h"
#include "image/PngImage.h"
#include "tests/image/PictureFiles.h"

using namespace test_pictures;

namespace {

std::string Message(std::string_view text) {
    return "Portable Network Graphics format handler error\r\n" + std::string(text);
}

// The message a load fails with, or "" when it loads.
std::string LoadError(const std::string& bytes) {
    return ErrorOf([&] { TPNGImage().LoadFromStream(bytes); });
}

// One 8-bit RGB row of `width` pixels, unfiltered.
std::string RgbRow(int width, int seed) {
    std::string row(1, '\0');
    for (int i = 0; i < width * 3; ++i) row += static_cast<char>(seed * 40 + i * 7);
    return row;
}

const std::string kRgbPicture = Png(Header(2, 2, 8, 2), RgbRow(2, 1) + RgbRow(2, 2));

}  // namespace

// Every colour type and bit depth, interlaced and not, from the pictures the tests'
// own encoder wrote: each decodes to the pixels it was drawn with.
TEST(PngDecoder, MatchesTheIndependentEncoderForEveryColourTypeAndDepth) {
    const std::regex name(R"(c(\d)_d(\d+)_(\d+)x(\d+)(_i)?)");
    int pictures = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PictureFolder("png"))) {
        if (entry.path().extension() != ".png") continue;
        const std::string stem = entry.path().stem().string();
        SCOPED_TRACE(stem);
        std::smatch m;
        ASSERT_TRUE(std::regex_match(stem, m, name));
        const int colorType = std::stoi(m[1]), depth = std::stoi(m[2]);
        TPNGImage image;
        image.LoadFromStream(ReadFile(entry.path()));
        const Netpbm expected = ReadNetpbm(entry.path().parent_path() / (stem + ".ppm"));
        const DibBitmap& bitmap = image.Bitmap();
        ASSERT_EQ(bitmap.width(), expected.width);
        ASSERT_EQ(bitmap.height(), expected.height);
        const int bits = colorType == 2 || colorType == 6 ? 24
                         : depth == 1                     ? 1
                         : depth <= 4                     ? 4
                                                          : 8;
        EXPECT_EQ(bitmap.bitsPerPixel(), bits);
        for (int y = 0; y < expected.height; ++y)
            for (int x = 0; x < expected.width; ++x)
                ASSERT_EQ(bitmap.pixel(x, y), expected.at(x, y)) << "at " << x << "," << y;
        ++pictures;
    }
    EXPECT_EQ(pictures, 75);
}

TEST(PngDecoder, SubByteAndWideSamples) {
    // A 2-bit palette of four colours: a 4-bit bitmap whose values are 0, 5, 10, 15.
    const std::string palette =
        Chunk("PLTE", std::string("\x10\x20\x30\x40\x50\x60\x70\x80\x90\xA0\xB0\xC0", 12));
    TPNGImage twoBit;
    twoBit.LoadFromStream(
        Png(Header(4, 1, 2, 3), std::string("\0\x1B", 2), palette));  // 00 01 10 11
    ASSERT_EQ(twoBit.Bitmap().bitsPerPixel(), 4);
    EXPECT_EQ(twoBit.Bitmap().row(0)[0], 0x05);
    EXPECT_EQ(twoBit.Bitmap().row(0)[1], 0xAF);
    EXPECT_EQ(twoBit.Bitmap().pixel(1, 0), 0x405060u);
    EXPECT_EQ(twoBit.Bitmap().pixel(3, 0), 0xA0B0C0u);

    // 16-bit RGB from the high bytes; RGBA loses its alpha.
    TPNGImage wide;
    wide.LoadFromStream(Png(Header(1, 1, 16, 2), std::string("\0\x12\xFF\x34\x00\x56\x01", 7)));
    ASSERT_EQ(wide.Bitmap().bitsPerPixel(), 24);
    EXPECT_EQ(wide.Bitmap().pixel(0, 0), 0x123456u);
    TPNGImage alpha;
    alpha.LoadFromStream(
        Png(Header(2, 1, 8, 6), std::string("\0\x11\x22\x33\x00\x44\x55\x66\xFF", 9)));
    ASSERT_EQ(alpha.Bitmap().bitsPerPixel(), 24);
    EXPECT_EQ(alpha.Bitmap().pixel(0, 0), 0x112233u) << "fully transparent, still its colour";
    EXPECT_EQ(alpha.Bitmap().pixel(1, 0), 0x445566u);

    // 16-bit grey and grey with alpha keep the grey sample's high byte.
    TPNGImage grey;
    grey.LoadFromStream(
        Png(Header(2, 1, 16, 4), std::string("\0\x80\x01\xFF\xFF\x07\x00\x00\x00", 9)));
    EXPECT_EQ(grey.Bitmap().row(0)[0], 0x80);
    EXPECT_EQ(grey.Bitmap().row(0)[1], 0x07);
    EXPECT_EQ(grey.Bitmap().pixel(1, 0), 0x070707u);
}

TEST(PngDecoder, InterlacedPicturesFillOnlyTheirPassesColumns) {
    // 1 x 1: pass 1 alone holds the picture; the data has nothing more to read.
    TPNGImage one;
    one.LoadFromStream(Png(Header(1, 1, 8, 0, 1), std::string("\0\x9C", 2)));
    EXPECT_EQ(one.Bitmap().pixel(0, 0), 0x9C9C9Cu);

    // A 1-bit picture of 8 x 2: pass 1 column 0, pass 2 column 4, pass 4 column 2 and 6,
    // pass 6 odd columns, pass 7 the second row. Each pass changes only its bits.
    const std::string raw = std::string("\0\x80", 2)     // pass 1: column 0 set
                            + std::string("\0\x00", 2)   // pass 2: column 4 clear
                            + std::string("\0\xC0", 2)   // pass 4: columns 2 and 6 set
                            + std::string("\0\xA0", 2)   // pass 6: columns 1, 5 set, 3, 7 clear
                            + std::string("\0\xA5", 2);  // pass 7: row 1
    TPNGImage bits;
    bits.LoadFromStream(Png(Header(8, 2, 1, 0, 1), raw));
    EXPECT_EQ(bits.Bitmap().row(0)[0], 0xE6);  // 1110 0110
    EXPECT_EQ(bits.Bitmap().row(1)[0], 0xA5);
}

TEST(PngDecoder, FiltersUndoAgainstTheRowAboveAndTheLeftPixel) {
    // Two rows of one grey pixel pair, 8 bits: Sub, then Up, Average and Paeth rows.
    auto decode = [](const std::string& raw, int rows) {
        TPNGImage image;
        image.LoadFromStream(Png(Header(2, static_cast<std::uint32_t>(rows), 8, 0), raw));
        std::string out;
        for (int y = 0; y < rows; ++y)
            for (int x = 0; x < 2; ++x) out += static_cast<char>(image.Bitmap().row(y)[x]);
        return out;
    };
    EXPECT_EQ(decode(std::string("\x01\x10\x05", 3), 1), std::string("\x10\x15", 2));
    EXPECT_EQ(decode(std::string("\x00\x10\x20\x02\x01\x02", 6), 2),
              std::string("\x10\x20\x11\x22", 4));
    // Average: (left + above) / 2, left of the row counting 0.
    EXPECT_EQ(decode(std::string("\x00\x10\x20\x03\x01\x02", 6), 2),
              std::string("\x10\x20\x09\x16", 4));
    // Paeth: the first byte has only "above" (0x10); the second picks above (0x20).
    EXPECT_EQ(decode(std::string("\x00\x10\x20\x04\x01\x02", 6), 2),
              std::string("\x10\x20\x11\x22", 4));
    // Paeth ties: above wins over upper-left (left 0x28, above 0x10, upper-left 0x20),
    // left wins over upper-left (left 0x10, above 0x28, upper-left 0x20).
    EXPECT_EQ(decode(std::string("\x00\x20\x10\x04\x08\x01", 6), 2),
              std::string("\x20\x10\x28\x11", 4));
    EXPECT_EQ(decode(std::string("\x00\x20\x28\x04\xF0\x01", 6), 2),
              std::string("\x20\x28\x10\x11", 4));
    // 16-bit grey: Sub looks two bytes back.
    TPNGImage wide;
    wide.LoadFromStream(Png(Header(2, 1, 16, 0), std::string("\x01\x10\x00\x01\x00", 5)));
    EXPECT_EQ(wide.Bitmap().row(0)[1], 0x11);
}

TEST(PngDecoder, ChunksTheReaderKeepsJoinsAndRefuses) {
    // Two data chunks decode as one.
    const std::string data = Compress(RgbRow(2, 1) + RgbRow(2, 2));
    const std::string split = kSignature + Header(2, 2, 8, 2) + Chunk("IDAT", data.substr(0, 5)) +
                              Chunk("IDAT", data.substr(5)) + Chunk("IEND", "");
    TPNGImage joined, whole;
    joined.LoadFromStream(split);
    whole.LoadFromStream(kRgbPicture);
    EXPECT_EQ(joined.Bitmap().pixel(1, 1), whole.Bitmap().pixel(1, 1));
    int dataChunks = 0;
    for (int i = 0; i < joined.Chunks().Count(); ++i)
        dataChunks += joined.Chunks().Item(i).Class() == ChunkClass::IDAT;
    EXPECT_EQ(dataChunks, 1) << "later data chunks are not kept on their own";

    // Unknown ancillary chunks load (kept as plain chunks); unknown critical ones fail.
    TPNGImage ancillary;
    ancillary.LoadFromStream(
        Png(Header(2, 2, 8, 2), RgbRow(2, 1) + RgbRow(2, 2), Chunk("prVt", "abc")));
    EXPECT_EQ(ancillary.Chunks().Item(1).TypeName(), "prVt");
    EXPECT_EQ(ancillary.Chunks().Item(1).Class(), ChunkClass::Plain);
    EXPECT_EQ(LoadError(Png(Header(2, 2, 8, 2), RgbRow(2, 1) + RgbRow(2, 2), Chunk("CRIT", "abc"))),
              Message(png_messages::kUnknownCriticalChunk));
    // tIME is known: critical-looking or not, it is kept as plain bytes.
    EXPECT_EQ(
        LoadError(Png(Header(2, 2, 8, 2), RgbRow(2, 1) + RgbRow(2, 2), Chunk("tIME", "1234567"))),
        "");

    // No end chunk after complete chunks loads; a chunk cut short does not.
    const std::string noEnd = kRgbPicture.substr(0, kRgbPicture.size() - 12);
    EXPECT_EQ(LoadError(noEnd), "");
    EXPECT_EQ(LoadError(noEnd.substr(0, noEnd.size() - 1)), "Stream read error");
    // Chunks after the end are never read.
    EXPECT_EQ(LoadError(kRgbPicture + "garbage after the end"), "");
}

TEST(PngDecoder, EveryFormatErrorHasItsMessage) {
    const std::string rows = RgbRow(2, 1) + RgbRow(2, 2);
    EXPECT_EQ(LoadError("\x89PNG\r\n\x1A\r" + kRgbPicture.substr(8)),
              Message(png_messages::kInvalidHeader));
    EXPECT_EQ(LoadError("\x89PNG"), Message(png_messages::kInvalidHeader));
    std::string badCrc = kRgbPicture;
    badCrc[8 + 8 + 13] ^= 1;  // the header's CRC
    EXPECT_EQ(LoadError(badCrc), Message(png_messages::kInvalidCrc));
    std::string badData = kRgbPicture;
    badData[8 + 25 + 8 + 2] ^= 0x40;  // a byte of the data: its CRC no longer matches
    EXPECT_EQ(LoadError(badData), Message(png_messages::kInvalidCrc));
    EXPECT_EQ(LoadError(kSignature + Chunk("gAMA", BigEndian(45455)) + Header(2, 2, 8, 2) +
                        Chunk("IDAT", Compress(rows)) + Chunk("IEND", "")),
              Message(png_messages::kIhdrNotFirst));
    EXPECT_EQ(LoadError(kSignature + Chunk("IHDR", "short") + Chunk("IDAT", Compress(rows))),
              Message(png_messages::kIhdrNotFirst));
    EXPECT_EQ(LoadError(kSignature + Header(2, 2, 8, 2) + Chunk("IEND", "")),
              Message(png_messages::kNoImageData));
    EXPECT_EQ(LoadError(Png(Header(2, 2, 8, 2), rows, Chunk("PLTE", "abcd"))),
              Message(png_messages::kInvalidPalette));
    EXPECT_EQ(LoadError(Png(Header(2, 1, 8, 3), std::string(3, '\0'))),
              Message(png_messages::kMissingPalette));
    EXPECT_EQ(LoadError(Png(Header(2, 2, 8, 5), rows)), Message(png_messages::kUnknownColorType));
    EXPECT_EQ(LoadError(Png(Header(2, 2, 8, 2, 2), rows)),
              Message(png_messages::kUnknownInterlace));
    EXPECT_EQ(LoadError(Png(Header(2, 2, 4, 2), rows)), Message(png_messages::kUnknownBitDepth));
    EXPECT_EQ(LoadError(Png(Header(2, 2, 3, 0), rows)), Message(png_messages::kUnknownBitDepth));
    // A filter byte of 5.
    std::string filter5 = rows;
    filter5[1 + 6] = 5;
    EXPECT_EQ(LoadError(Png(Header(2, 2, 8, 2), filter5)), Message(png_messages::kUnknownFilter));
}

TEST(PngDecoder, OversizedCutAndOverlongDataAreRefusedWithBoundedWork) {
    // A header claiming more than 64 megapixels is refused before anything is allocated.
    EXPECT_NE(LoadError(Png(Header(10000, 10000, 8, 2), "x")).find("too large"), std::string::npos);
    EXPECT_NE(LoadError(Png(Header(0, 5, 8, 2), "x")).find("no size"), std::string::npos);
    // A large picture whose data cannot possibly inflate to fill it.
    EXPECT_EQ(LoadError(Png(Header(4000, 4000, 8, 2), std::string(100, '\0'))),
              "The picture's data ends early");
    // Cut short: the rows run out.
    EXPECT_EQ(LoadError(Png(Header(2, 2, 8, 2), RgbRow(2, 1))), "The picture's data ends early");
    // A decompression bomb: data that inflates far past the picture's size.
    EXPECT_EQ(LoadError(Png(Header(2, 2, 8, 2),
                            RgbRow(2, 1) + RgbRow(2, 2) + std::string(20'000'000, '\0'))),
              "The picture's data is longer than the picture");
    // Not zlib data at all.
    EXPECT_NE(LoadError(kSignature + Header(2, 2, 8, 2) + Chunk("IDAT", "not compressed") +
                        Chunk("IEND", "")),
              "");
}

TEST(PngDecoder, GammaTablesAndWhereTheyApply) {
    TChunkGAMA gamma(nullptr);
    EXPECT_EQ(gamma.Gamma(), 1u) << "a new one holds 1";
    gamma.SetGamma(100000);
    gamma.Decode();
    for (int i : {0, 1, 64, 128, 254, 255})
        EXPECT_EQ(gamma.GammaDecode[i], std::lround(255 * std::pow(i / 255.0, 1 / 2.2))) << i;
    // The inverse: the last value to land on an entry holds it.
    EXPECT_EQ(gamma.GammaEncode[gamma.GammaDecode[1]], 1);
    EXPECT_EQ(gamma.GammaEncode[255], 255);
    // Before the data, it brightens true-colour samples and palettes; after, it is too late.
    const std::string gama = Chunk("gAMA", BigEndian(100000));
    TPNGImage before, after, palette;
    before.LoadFromStream(Png(Header(1, 1, 8, 2), std::string("\0\x40\x80\xFF", 4), gama));
    EXPECT_EQ(before.Bitmap().pixel(0, 0), std::uint32_t{gamma.GammaDecode[0x40]} << 16 |
                                               std::uint32_t{gamma.GammaDecode[0x80]} << 8 | 0xFF);
    after.LoadFromStream(Png(Header(1, 1, 8, 2), std::string("\0\x40\x80\xFF", 4), "", gama));
    EXPECT_EQ(after.Bitmap().pixel(0, 0), 0x4080FFu);
    palette.LoadFromStream(
        Png(Header(1, 1, 8, 3), std::string(2, '\0'), Chunk("PLTE", "\x40\x40\x40") + gama));
    EXPECT_EQ(palette.Bitmap().pixel(0, 0) & 0xFF, gamma.GammaDecode[0x40]);
    // A gamma of 0 says nothing.
    TPNGImage zero;
    zero.LoadFromStream(
        Png(Header(1, 1, 8, 2), std::string("\0\x40\x80\xFF", 4), Chunk("gAMA", BigEndian(0))));
    EXPECT_EQ(zero.Bitmap().pixel(0, 0), 0x4080FFu);
}

TEST(PngDecoder, TrueColourTransparencyAndProgress) {
    // The key colour's 16-bit samples: the low byte for 8-bit pictures.
    TPNGImage keyed;
    keyed.LoadFromStream(Png(Header(2, 2, 8, 2), RgbRow(2, 1) + RgbRow(2, 2),
                             Chunk("tRNS", std::string("\0\x11\0\x22\0\x33", 6))));
    EXPECT_TRUE(keyed.Transparent());
    EXPECT_EQ(keyed.TransparentColor(), 0x112233u);
    TPNGImage wide;
    wide.LoadFromStream(Png(Header(1, 1, 16, 2), std::string(7, '\0'),
                            Chunk("tRNS", std::string("\x11\0\x22\0\x33\0", 6))));
    EXPECT_EQ(wide.TransparentColor(), 0x112233u) << "the high byte of 16-bit samples";
    TPNGImage grey;
    grey.LoadFromStream(
        Png(Header(1, 1, 8, 0), std::string(2, '\0'), Chunk("tRNS", std::string(2, '\0'))));
    EXPECT_FALSE(grey.Transparent());
    EXPECT_THROW(grey.TransparentColor(), EPNGImageException);

    std::vector<int> percents;
    TPNGImage image;
    image.OnProgress = [&](const std::string& text, int percent, const platform::Rect& done) {
        EXPECT_EQ(text, "Drawing...");
        percents.push_back(percent);
        EXPECT_EQ(done.width(), 2);
    };
    image.LoadFromStream(kRgbPicture);
    EXPECT_EQ(percents, (std::vector<int>{50, 100}));
    percents.clear();
    image.LoadFromStream(Png(Header(2, 1, 8, 0, 1), std::string("\0\x01\0\x02", 4)));
    EXPECT_EQ(percents, (std::vector<int>{0, 16, 33, 50, 66, 83, 100})) << "one event a pass";
}

TEST(PngChunkList, ListAndRegistryOperations) {
    EXPECT_EQ(ChunkClassCount(), 7);
    EXPECT_EQ(ChunkTypeName(ChunkClassAt(0).type), "IEND");
    EXPECT_EQ(ChunkTypeName(ChunkClassAt(6).type), "tRNS");
    try {
        ChunkClassAt(7);
        FAIL();
    } catch (const EPNGImageException& e) {
        EXPECT_EQ(e.what(), Message(png_messages::kChunkClassIndexOutOfRange));
    }
    TPNGImage image, other;
    TChunkList& list = image.Chunks();
    TChunk& header = list.Add(ChunkClass::IHDR);
    list.Add(ChunkClass::TEXT);
    EXPECT_EQ(list.IndexOfClass(ChunkClass::TEXT), 1);
    EXPECT_EQ(list.IndexOfClass(ChunkClass::PLTE), -1);
    EXPECT_EQ(static_cast<TChunkTEXT&>(list.Item(1)).Data, std::string(2, '\0'));
    list.Move(1, 0);
    EXPECT_EQ(&list.Item(1), &header);
    try {
        list.Item(2);
        FAIL();
    } catch (const EPNGImageException& e) {
        EXPECT_EQ(e.what(), Message(png_messages::kChunkIndexOutOfRange));
    }
    TChunk& stranger = other.Chunks().Add(ChunkClass::IEND);
    try {
        list.Remove(stranger);
        FAIL();
    } catch (const EPNGImageException& e) {
        EXPECT_EQ(e.what(), Message(png_messages::kChunkNotInList));
    }
    list.Remove(header);
    EXPECT_EQ(list.Count(), 1);
    // The CRC of an empty end chunk, as every PNG file carries it.
    EXPECT_EQ(PngChunkCrc(ChunkTypeOf("IEND"), ""), 0xAE426082u);
}

// Saving writes what loading reads back: every independent picture round-trips
// through the writer, whatever filters it may use.
TEST(PngEncoder, RoundTripsEveryPictureWithEachFilterSet) {
    for (const auto& entry : std::filesystem::directory_iterator(PictureFolder("png"))) {
        if (entry.path().extension() != ".png") continue;
        SCOPED_TRACE(entry.path().filename().string());
        TPNGImage original;
        original.LoadFromStream(ReadFile(entry.path()));
        for (std::uint8_t filters : {std::uint8_t{0}, std::uint8_t{27}, std::uint8_t{31}}) {
            TPNGImage copy;
            copy.Assign(original);
            copy.SetFilterSet(filters);
            std::string saved;
            copy.SaveToStream(saved);
            TPNGImage reread;
            reread.LoadFromStream(saved);
            const DibBitmap& a = original.Bitmap();
            const DibBitmap& b = reread.Bitmap();
            ASSERT_EQ(a.width(), b.width());
            ASSERT_EQ(a.height(), b.height());
            for (int y = 0; y < a.height(); ++y)
                for (int x = 0; x < a.width(); ++x)
                    ASSERT_EQ(a.pixel(x, y), b.pixel(x, y)) << x << "," << y;
            EXPECT_EQ(reread.Header()->InterlaceMethod(), 0);
        }
    }
}

TEST(PngEncoder, HeaderChunksAndFilterChoice) {
    TPNGImage image;
    EXPECT_EQ(image.FilterSet(), 27);
    image.SetFilterSet(0);
    EXPECT_EQ(image.FilterSet(), kFilterNone) << "None is always allowed";
    image.SetFilterSet(27);

    // A 24-bit bitmap: colour type 2, depth 8; the text chunk is never written; a
    // transparent colour becomes a 16-bit key.
    DibBitmap picture(3, 2, 24);
    for (int x = 0; x < 3; ++x) picture.row(1)[3 * x + 2] = static_cast<std::uint8_t>(50 * x);
    image.SetBitmap(picture);
    image.Chunks().Add(ChunkClass::TEXT);
    image.SetTransparentColor(0x102030);
    std::string saved;
    image.SaveToStream(saved);
    TPNGImage reread;
    reread.LoadFromStream(saved);
    EXPECT_EQ(reread.Header()->ColorType(), 2);
    EXPECT_EQ(reread.Header()->BitDepth(), 8);
    EXPECT_EQ(reread.Chunks().IndexOfClass(ChunkClass::TEXT), -1);
    EXPECT_EQ(reread.TransparentColor(), 0x102030u);
    EXPECT_EQ(reread.Bitmap().pixel(2, 1), 0x640000u);
    EXPECT_EQ(reread.Chunks().Item(reread.Chunks().Count() - 1).Class(), ChunkClass::IEND);

    // A 4-bit palette bitmap: colour type 3 depth 4 with its own palette; no
    // transparency chunk once the picture is not transparent.
    DibBitmap indexed(5, 1, 4);
    indexed.palette() = {0x000000, 0x112233, 0x445566};
    indexed.row(0)[0] = 0x12;
    image.SetBitmap(indexed);
    image.ClearTransparency();
    saved.clear();
    image.SaveToStream(saved);
    reread.LoadFromStream(saved);
    EXPECT_EQ(reread.Header()->ColorType(), 3);
    EXPECT_EQ(reread.Header()->BitDepth(), 4);
    EXPECT_EQ(reread.Chunks().IndexOfClass(ChunkClass::TRNS), -1);
    EXPECT_EQ(reread.Bitmap().pixel(0, 0), 0x112233u);
    EXPECT_EQ(reread.Bitmap().pixel(1, 0), 0x445566u);

    // Rows of long runs choose the filter that keeps them; a ramp chooses Sub.
    DibBitmap ramp(40, 2, 8);
    ramp.palette().assign(256, 0);
    for (int x = 0; x < 40; ++x) ramp.row(0)[x] = ramp.row(1)[x] = static_cast<std::uint8_t>(x);
    TPNGImage ramped;
    ramped.SetBitmap(ramp);
    ramped.SetFilterSet(kFilterNone | kFilterSub);
    saved.clear();
    ramped.SaveToStream(saved);
    TPNGImage back;
    back.LoadFromStream(saved);
    const std::string& data = back.Chunks().FirstOfClass(ChunkClass::IDAT)->Data;
    std::string raw(2 * 41, '\0');
    uLongf size = static_cast<uLongf>(raw.size());
    uncompress(reinterpret_cast<Bytef*>(raw.data()), &size,
               reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()));
    EXPECT_EQ(raw[0], 1);
    EXPECT_EQ(raw[41], 1);
}

// Cut at every byte, pictures of each layout fail cleanly or, once only the end chunk
// is missing, load whole.
TEST(PngDecoder, EveryPrefixFailsCleanlyOrLoadsWhole) {
    for (const char* name : {"c3_d2_13x11_i.png", "c6_d16_13x11.png", "c0_d1_9x17.png"}) {
        SCOPED_TRACE(name);
        const std::string file = ReadFile(PictureFolder("png") / name);
        int loaded = 0;
        for (std::size_t n = 0; n < file.size(); ++n) {
            TPNGImage image;
            try {
                image.LoadFromStream(std::string_view(file).substr(0, n));
            } catch (const std::exception&) {
                continue;
            }
            ++loaded;
            EXPECT_GE(n, file.size() - 12) << "only without the end chunk";
            EXPECT_FALSE(image.Bitmap().isNull());
        }
        EXPECT_EQ(loaded, 1);
    }
}
