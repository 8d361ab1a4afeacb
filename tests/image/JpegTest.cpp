#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "image/ImageErrors.h"
#include "image/Jpeg.h"

namespace {

// A width x height JPEG whose left half is red and right half blue.
std::string EncodeJpeg(int width, int height, bool progressive, bool grey = false) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * info.input_components);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < width; ++x) {
            if (grey) {
                row[x] = x < width / 2 ? 40 : 220;
            } else {
                unsigned char* p = &row[static_cast<std::size_t>(x) * 3];
                p[0] = x < width / 2 ? 255 : 0;
                p[1] = 0;
                p[2] = x < width / 2 ? 0 : 255;
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string out(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);
    return out;
}

bool Near(std::uint32_t rgb, int r, int g, int b) {
    auto close = [](int a, int b) { return std::abs(a - b) <= 24; };
    return close((rgb >> 16) & 0xFF, r) && close((rgb >> 8) & 0xFF, g) && close(rgb & 0xFF, b);
}

}  // namespace

TEST(Jpeg, BaselineAndProgressiveDecodeToTheSameColours) {
    for (bool progressive : {false, true}) {
        SCOPED_TRACE(progressive ? "progressive" : "baseline");
        const platform::Bitmap b = DecodeJpeg(EncodeJpeg(32, 16, progressive));
        ASSERT_EQ(b.width(), 32);
        ASSERT_EQ(b.height(), 16);
        EXPECT_TRUE(Near(b.pixel(2, 8), 255, 0, 0)) << std::hex << b.pixel(2, 8);
        EXPECT_TRUE(Near(b.pixel(29, 8), 0, 0, 255)) << std::hex << b.pixel(29, 8);
    }
}

TEST(Jpeg, GreyPicturesBecomeGreyPixels) {
    const platform::Bitmap b = DecodeJpeg(EncodeJpeg(16, 8, false, true));
    EXPECT_TRUE(Near(b.pixel(1, 4), 40, 40, 40));
    EXPECT_TRUE(Near(b.pixel(14, 4), 220, 220, 220));
}

TEST(Jpeg, TruncatedAndCorruptPicturesAreRefused) {
    const std::string good = EncodeJpeg(64, 64, false);
    EXPECT_THROW(DecodeJpeg(good.substr(0, good.size() / 2)), EInvalidGraphicOperation);
    EXPECT_THROW(DecodeJpeg(good.substr(0, 40)), EInvalidGraphicOperation);
    EXPECT_THROW(DecodeJpeg("\xFF\xD8 not a picture at all"), EInvalidGraphicOperation);
    EXPECT_THROW(DecodeJpeg(""), EInvalidGraphicOperation);
    const std::string progressive = EncodeJpeg(64, 64, true);
    EXPECT_THROW(DecodeJpeg(progressive.substr(0, progressive.size() - 30)), EInvalidGraphicOperation);
    // Cut short but closed with an end-of-image marker: the data stops at the marker with
    // blocks still to come.
    for (const std::string& whole : {good, progressive}) {
        const std::string closed = whole.substr(0, whole.size() / 2) + "\xFF\xD9";
        EXPECT_THROW(DecodeJpeg(closed), EInvalidGraphicOperation);
    }
    EXPECT_NO_THROW(DecodeJpeg(good));
    EXPECT_NO_THROW(DecodeJpeg(progressive));
}

TEST(Jpeg, AHeaderClaimingAHugePictureIsRefusedBeforeDecoding) {
    std::string file = EncodeJpeg(8, 8, false);
    // The start-of-frame segment holds the height and width as 16-bit numbers.
    const auto frame = file.find("\xFF\xC0");
    ASSERT_NE(frame, std::string::npos);
    file[frame + 5] = file[frame + 6] = file[frame + 7] = file[frame + 8] = '\xFF';  // 65535 x 65535
    EXPECT_THROW(DecodeJpeg(file), EInvalidGraphicOperation);
}

TEST(Jpeg, PaletteScreensGetOneIndexAPixel) {
    // The screen's shared palette (0x00BBGGRR), with pure red and blue among its
    // entries.
    std::array<platform::TColor, 256> shared{};
    for (int i = 0; i < 256; ++i) shared[i] = static_cast<platform::TColor>(i * 0x010101);
    shared[7] = 0x0000FF;    // red
    shared[200] = 0xFF0000;  // blue
    const platform::Bitmap colour = DecodeJpeg(EncodeJpeg(32, 16, false), {true, &shared});
    ASSERT_EQ(colour.format(), platform::Bitmap::Format::Indexed8);
    ASSERT_EQ(colour.palette().size(), 256u);
    EXPECT_EQ(colour.palette()[7], 0xFF0000u) << "palette entries are 0x00RRGGBB";
    EXPECT_EQ(colour.row8(8)[2], 7);
    EXPECT_EQ(colour.row8(8)[29], 200);

    // Without a shared palette (a 16-colour screen) the picture gets one of its own.
    const platform::Bitmap own = DecodeJpeg(EncodeJpeg(32, 16, true), {true, nullptr});
    ASSERT_EQ(own.format(), platform::Bitmap::Format::Indexed8);
    EXPECT_TRUE(Near(own.pixel(2, 8), 255, 0, 0)) << std::hex << own.pixel(2, 8);
    EXPECT_TRUE(Near(own.pixel(29, 8), 0, 0, 255)) << std::hex << own.pixel(29, 8);

    // Greyscale pictures keep their greys.
    const platform::Bitmap grey = DecodeJpeg(EncodeJpeg(16, 8, false, true), {true, &shared});
    ASSERT_EQ(grey.format(), platform::Bitmap::Format::Indexed8);
    EXPECT_TRUE(Near(grey.pixel(1, 4), 40, 40, 40));
    EXPECT_TRUE(Near(grey.pixel(14, 4), 220, 220, 220));
}
