#include <gtest/gtest.h>

#include <filesystem>

#include "image/GifDecoder.h"
#include "image/GifImage.h"
#include "platform/RecordingCanvas.h"
#include "tests/image/PictureFiles.h"

using namespace test_pictures;

namespace {

// LZW codes without any string entries: roots only, with a clear code before the
// table would widen the codes, so every code has minimum + 1 bits.
std::string RootCodes(const std::vector<int>& codes, int minimum, bool leadingClear = true,
                      bool end = true) {
    const int clear = 1 << minimum, width = minimum + 1;
    const int perClear = (1 << width) - clear - 2;
    std::string out;
    std::uint32_t buffer = 0;
    int count = 0;
    auto emit = [&](int code) {
        buffer |= static_cast<std::uint32_t>(code) << count;
        count += width;
        while (count >= 8) {
            out += static_cast<char>(buffer & 0xFF);
            buffer >>= 8;
            count -= 8;
        }
    };
    if (leadingClear) emit(clear);
    int sinceClear = 0;
    for (int code : codes) {
        if (sinceClear == perClear) {
            emit(clear);
            sinceClear = 0;
        }
        emit(code);
        ++sinceClear;
    }
    if (end) emit(clear + 1);
    if (count) out += static_cast<char>(buffer & 0xFF);
    return out;
}

std::string SubBlocks(const std::string& data) {
    std::string out;
    for (std::size_t i = 0; i < data.size(); i += 255) {
        const std::string piece = data.substr(i, 255);
        out += static_cast<char>(piece.size());
        out += piece;
    }
    return out + '\0';
}

std::string Le16(int v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

// Signature and screen with a global table of four colours: black, red, green, blue.
std::string Start(int width, int height, const std::string& signature = "GIF89a") {
    return signature + Le16(width) + Le16(height) + "\x91" + std::string(2, '\0') +
           std::string("\0\0\0\xFF\0\0\0\xFF\0\0\0\xFF", 12);
}

std::string Control(int delay, int disposal = 0, int transparent = -1) {
    const int flags = disposal << 2 | (transparent >= 0 ? 1 : 0);
    return std::string("\x21\xF9\x04", 3) + static_cast<char>(flags) + Le16(delay) +
           static_cast<char>(transparent >= 0 ? transparent : 0) + '\0';
}

// An image block of indexes 0..3, code size 2.
std::string Frame(int left, int top, int width, int height, const std::vector<int>& indexes,
                  bool interlaced = false) {
    return "\x2C" + Le16(left) + Le16(top) + Le16(width) + Le16(height) +
           (interlaced ? "\x40" : std::string(1, '\0')) + "\x02" + SubBlocks(RootCodes(indexes, 2));
}

std::string Loop(int count) {
    return std::string("\x21\xFF\x0BNETSCAPE2.0\x03\x01", 16) + Le16(count) + '\0';
}

// The message TGif fails with, or "".
std::string ReadError(const std::string& bytes) {
    return ErrorOf([&] { TGif().Read(bytes); });
}

std::unique_ptr<TGIFImage> Gif(const std::string& bytes) {
    bool notAnimated = false;
    return CreateGifFromStream(notAnimated, bytes);
}

// A clock the tests move by hand.
struct FakeClock {
    FakeClock() {
        SetAnimationClock([this] { return now; });
    }
    ~FakeClock() { SetAnimationClock(nullptr); }
    std::int64_t now = 1000;
};

const std::vector<int> kFourPixels{0, 1, 2, 3};

}  // namespace

// Pictures from the tests' own encoder: every frame composed as drawn, with its mask.
TEST(GifDecoder, MatchesTheIndependentEncoderFrameByFrame) {
    int pictures = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PictureFolder("gif"))) {
        if (entry.path().extension() != ".gif") continue;
        const std::string stem = entry.path().stem().string();
        SCOPED_TRACE(stem);
        bool notAnimated = false;
        auto image = CreateGifFromStream(notAnimated, ReadFile(entry.path()));
        ASSERT_TRUE(image);
        const Netpbm expected = ReadNetpbm(entry.path().parent_path() / (stem + ".ppm"));
        const ThtBitmap& strip = image->FrameStrip();
        ASSERT_EQ(strip.width(), expected.width);
        ASSERT_EQ(strip.height(), expected.height);
        EXPECT_EQ(image->Width * image->FrameCount, expected.width);
        EXPECT_EQ(notAnimated, image->FrameCount == 1);
        for (int y = 0; y < expected.height; ++y)
            for (int x = 0; x < expected.width; ++x)
                ASSERT_EQ(strip.pixel(x, y), expected.at(x, y)) << x << "," << y;
        const auto maskFile = entry.path().parent_path() / (stem + ".pgm");
        ASSERT_EQ(std::filesystem::exists(maskFile), strip.UsesMask);
        if (strip.UsesMask) {
            const Netpbm mask = ReadNetpbm(maskFile);
            for (int y = 0; y < mask.height; ++y)
                for (int x = 0; x < mask.width; ++x)
                    ASSERT_EQ(strip.MaskBitmap->pixel(x, y) != 0, mask.at(x, y) != 0)
                        << "mask " << x << "," << y;
        }
        ++pictures;
    }
    EXPECT_EQ(pictures, 8);
}

TEST(GifDecoder, SignatureInEitherCaseScreenAndTables) {
    for (const char* signature : {"GIF89a", "gif89a", "GIF87a", "Gif87A"})
        EXPECT_EQ(ReadError(Start(2, 2, signature) + Frame(0, 0, 2, 2, kFourPixels) + ";"), "")
            << signature;
    EXPECT_EQ(ReadError(Start(2, 2, "GIF88a") + Frame(0, 0, 2, 2, kFourPixels)),
              "TGif: Invalid GIF Signature Code");
    EXPECT_EQ(ReadError("GIF"), "TGif: Invalid GIF Signature Code");

    TGif gif;
    gif.Read(Start(300, 2) + Frame(0, 0, 2, 2, kFourPixels));
    EXPECT_EQ(gif.Screen().width, 300) << "16-bit little-endian";
    EXPECT_TRUE(gif.Screen().globalTable);
    EXPECT_EQ(gif.Screen().colorResolution, 2);
    EXPECT_EQ(gif.Screen().globalTableSize, 4);
    EXPECT_EQ(gif.ColorTable(gif.Screen().globalTableNumber).colors[1],
              platform::RGBColor(255, 0, 0));
    EXPECT_EQ(gif.Image(0).pixels, (std::vector<std::uint8_t>{0, 1, 2, 3}));

    // A local table wins over the global one; without either the image fails.
    const std::string local = "\x2C" + Le16(0) + Le16(0) + Le16(1) + Le16(1) + "\x80" +
                              "\x10\x20\x30\x40\x50\x60" + "\x02" + SubBlocks(RootCodes({1}, 2));
    auto image = Gif(Start(1, 1) + local);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->FrameStrip().pixel(0, 0), 0x405060u);
    const std::string noTables = std::string("GIF89a") + Le16(1) + Le16(1) + std::string(3, '\0');
    EXPECT_EQ(ReadError(noTables + Frame(0, 0, 1, 1, {0})),
              "TGif: No Local or Global Color Table for Image");
    // Only the lists' own entries can be had.
    EXPECT_THROW(gif.Image(1), std::exception);
    EXPECT_THROW(gif.ColorTable(5), std::exception);
}

TEST(GifDecoder, BlocksExtensionsAndTheirErrors) {
    const std::string frame = Frame(0, 0, 2, 2, kFourPixels);
    // The end: ';', a 0 byte, or no byte at all.
    EXPECT_EQ(ReadError(Start(2, 2) + frame), "");
    EXPECT_EQ(ReadError(Start(2, 2) + frame + std::string(1, '\0') + "garbage"), "");
    EXPECT_EQ(ReadError(Start(2, 2) + frame + "?"), "TGif: Unknown Graphics Operation Code");
    EXPECT_EQ(ReadError(Start(2, 2) + ";"), "TGif: No Image Description");
    EXPECT_EQ(ReadError(Start(2, 2) + std::string("\x21\xF9\x05", 3) + frame),
              "TGif: Invalid Extension Block Size");
    EXPECT_EQ(ReadError(Start(2, 2) + std::string("\x21\xF9\x04\0\0\0\0\x07", 8) + frame),
              "TGif: Invalid Extension Block Terminator");
    EXPECT_EQ(ReadError(Start(2, 2) + std::string("\x21\x01\x0B", 3) + frame),
              "TGif: Invalid Extension Block Size");
    EXPECT_EQ(ReadError(Start(2, 2) + std::string("\x21\xFF\x0A", 3) + frame),
              "TGif: Invalid Extension Block Size");
    // Label 0xF8 fails the whole picture.
    EXPECT_EQ(ReadError(Start(2, 2) + std::string("\x21\xF8\x00", 3) + frame),
              "TGif: unknown extension: 00F8");
    EXPECT_FALSE(Gif(Start(2, 2) + frame + std::string("\x21\xF8\x00", 3) + frame));

    // Plain text and comments are read and kept with the image that follows.
    const std::string plainText = std::string("\x21\x01\x0C", 3) + Le16(1) + Le16(2) + Le16(3) +
                                  Le16(4) + "\x05\x06\x07\x08" + SubBlocks("words");
    TGif gif;
    gif.Read(Start(2, 2) + plainText + "\x21\xFE" + SubBlocks("a comment") + Control(7) + frame +
             "\x21\xFE" + SubBlocks("after the last image") + ";");
    ASSERT_EQ(gif.Image(0).extensions.size(), 3u);
    const TGifExtension& text = gif.Image(0).extensions[0];
    EXPECT_EQ(text.gridHeight, 4);
    EXPECT_EQ(text.backgroundIndex, 8);
    EXPECT_EQ(text.data, std::vector<std::string>{"words"});
    EXPECT_EQ(gif.Image(0).extensions[1].data, std::vector<std::string>{"a comment"});
    EXPECT_EQ(gif.Image(0).GraphicControl()->delay, 7);
    EXPECT_EQ(gif.LoopCount(), -1);

    // A comment cut short after the first image ends the file; before any, it fails.
    const std::string cut = std::string("\x21\xFE\x09", 3) + "cut";
    auto ended = Gif(Start(2, 2) + frame + cut);
    ASSERT_TRUE(ended);
    EXPECT_EQ(ended->FrameCount, 1);
    EXPECT_EQ(ReadError(Start(2, 2) + cut), "TGif: Unexpected end of file");
    // Other data cut short always fails.
    EXPECT_EQ(ReadError(Start(2, 2) + frame + plainText.substr(0, 20)),
              "TGif: Unexpected end of file");
    EXPECT_EQ(ReadError(Start(2, 2) + frame.substr(0, frame.size() - 2)),
              "TGif: Unexpected end of file");
    EXPECT_EQ(ReadError(Start(2, 2).substr(0, 15)), "TGif: Unexpected end of file");
}

TEST(GifDecoder, LzwCodesAndTheirLimits) {
    auto pixels = [](const std::string& codeSizeAndData, int width, int height) {
        TGif gif;
        gif.Read(Start(width, height) + "\x2C" + Le16(0) + Le16(0) + Le16(width) + Le16(height) +
                 std::string(1, '\0') + codeSizeAndData);
        return gif.Image(0).pixels;
    };
    // Strings through the table: 1 1 1 1 1 coded as 1, 6 (1 1), 7 (1 1 1) with code 7
    // the one being defined (its string is the previous one and its own first byte).
    // Codes (3 bits): clear 4, 1, 6, 7, end 5.
    auto pack = [](const std::vector<int>& codes, const std::vector<int>& widths) {
        std::string out;
        std::uint32_t buffer = 0;
        int count = 0;
        for (std::size_t i = 0; i < codes.size(); ++i) {
            buffer |= static_cast<std::uint32_t>(codes[i]) << count;
            count += widths[i];
            while (count >= 8) {
                out += static_cast<char>(buffer & 0xFF);
                buffer >>= 8;
                count -= 8;
            }
        }
        if (count) out += static_cast<char>(buffer & 0xFF);
        return out;
    };
    EXPECT_EQ(pixels("\x02" + SubBlocks(pack({4, 1, 6, 7, 5}, {3, 3, 3, 3, 4})), 6, 1),
              (std::vector<std::uint8_t>{1, 1, 1, 1, 1, 1}));
    // A code above the next free one is an error; right after a clear one at or above
    // it counts as 0.
    EXPECT_EQ(ReadError(Start(2, 2) + "\x2C" + Le16(0) + Le16(0) + Le16(2) + Le16(2) +
                        std::string(1, '\0') + "\x02" + SubBlocks(pack({4, 1, 7}, {3, 3, 3}))),
              "TGif: Invalid LZW Data Format");
    EXPECT_EQ(pixels("\x02" + SubBlocks(pack({4, 7, 3, 5}, {3, 3, 3, 3})), 2, 1),
              (std::vector<std::uint8_t>{0, 3}));
    // An end code right after a clear code.
    EXPECT_EQ(ReadError(Start(2, 2) + "\x2C" + Le16(0) + Le16(0) + Le16(2) + Le16(2) +
                        std::string(1, '\0') + "\x02" + SubBlocks(pack({4, 4, 5}, {3, 3, 3}))),
              "TGif: Invalid LZW Data Format");
    // Code sizes 1 to 12 only.
    EXPECT_EQ(ReadError(Start(2, 2) + "\x2C" + Le16(0) + Le16(0) + Le16(2) + Le16(2) +
                        std::string(1, '\0') + "\x0C" + SubBlocks("abc")),
              "TGif: Invalid LZW Code Size");
    // No leading clear code: the table starts cleared.
    EXPECT_EQ(pixels("\x02" + SubBlocks(RootCodes({3, 2, 1}, 2, false)), 3, 1),
              (std::vector<std::uint8_t>{3, 2, 1}));
    // Data that stops early leaves the rest 0; data past the image is dropped.
    EXPECT_EQ(pixels("\x02" + SubBlocks(RootCodes({3, 2}, 2, true, false)), 4, 1),
              (std::vector<std::uint8_t>{3, 2, 0, 0}));
    EXPECT_EQ(pixels("\x02" + SubBlocks(RootCodes({1, 2, 3, 1, 2, 3, 1}, 2)), 2, 2),
              (std::vector<std::uint8_t>{1, 2, 3, 1}));
    // Eight-bit codes with a clear every so often.
    std::vector<int> ramp;
    for (int i = 0; i < 600; ++i) ramp.push_back(i % 256);
    const auto wide = pixels("\x08" + SubBlocks(RootCodes(ramp, 8)), 600, 1);
    EXPECT_EQ(wide[255], 255);
    EXPECT_EQ(wide[599], 599 % 256);
}

TEST(GifDecoder, InterlacedRowsComeInFourPasses) {
    // Row r of the data holds the value r: ten rows land at 0, 8, 4, 2, 6, 1, 3, 5, 7, 9.
    std::vector<int> codes;
    for (int r = 0; r < 10; ++r) codes.push_back(r % 4);
    TGif gif;
    gif.Read(std::string("GIF89a") + Le16(1) + Le16(10) + "\x80" + std::string(2, '\0') +
             std::string(6, '\0') + "\x2C" + Le16(0) + Le16(0) + Le16(1) + Le16(10) + "\x40" +
             "\x02" + SubBlocks(RootCodes(codes, 2)));
    const std::vector<int> rowOfData{0, 8, 4, 2, 6, 1, 3, 5, 7, 9};
    for (int r = 0; r < 10; ++r)
        EXPECT_EQ(gif.Image(0).pixels[rowOfData[r]], r % 4) << "data row " << r;
    // One row: every later pass is empty.
    auto one = Gif(Start(2, 1) + Frame(0, 0, 2, 1, {1, 2, 3, 3, 3, 3}, true));
    ASSERT_TRUE(one);
    EXPECT_EQ(one->FrameStrip().pixel(1, 0), 0x00FF00u);
}

TEST(GifImage, FramesComposeOverTheOneBeforeWithDisposalAndTransparency) {
    // Frame 1 fills 2 x 2; frame 2 is transparent where its index is 0 and is then
    // disposed to the background; frame 3 draws one pixel.
    const std::string bytes = Start(2, 2) + Loop(0) + Control(0) + Frame(0, 0, 2, 2, {1, 1, 1, 1}) +
                              Control(2, 2, 0) + Frame(0, 0, 2, 1, {0, 2}) + Control(5, 1) +
                              Frame(1, 1, 1, 1, {3}) + Frame(5, 5, 1, 1, {2}) + ";";
    bool notAnimated = true;
    auto image = CreateGifFromStream(notAnimated, bytes);
    ASSERT_TRUE(image);
    EXPECT_FALSE(notAnimated);
    EXPECT_TRUE(image->Animated());
    EXPECT_EQ(image->FrameCount, 4);
    EXPECT_TRUE(image->IsTransparent);
    EXPECT_EQ(image->LoopCount, 0);
    const ThtBitmap& strip = image->FrameStrip();
    ASSERT_EQ(strip.width(), 8);
    ASSERT_TRUE(strip.UsesMask);
    auto masked = [&](int x, int y) { return strip.MaskBitmap->pixel(x, y) == 0xFFFFFFu; };
    // Frame 2: its transparent pixel shows frame 1 (red), the other is green.
    EXPECT_EQ(strip.pixel(2, 0), 0xFF0000u);
    EXPECT_EQ(strip.pixel(3, 0), 0x00FF00u);
    EXPECT_FALSE(masked(2, 0));
    // Frame 3: frame 2's area shows the page; the rest of frame 2's picture stays.
    EXPECT_TRUE(masked(4, 0));
    EXPECT_TRUE(masked(5, 0));
    EXPECT_FALSE(masked(4, 1));
    EXPECT_EQ(strip.pixel(5, 1), 0x0000FFu);
    EXPECT_FALSE(masked(5, 1));
    // Frame 4 lies outside the screen: a copy of frame 3.
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) {
            EXPECT_EQ(strip.pixel(6 + x, y), strip.pixel(4 + x, y));
            EXPECT_EQ(masked(6 + x, y), masked(4 + x, y));
        }

    // Delays: 0 and 2 hundredths give 30 ms, 5 give 50; no control extension, 30.
    const TgfFrameList& frames = image->Frames();
    EXPECT_EQ(frames[0].delay, 30);
    EXPECT_EQ(frames[1].delay, 30);
    EXPECT_EQ(frames[2].delay, 50);
    EXPECT_EQ(frames[3].delay, 30);
    EXPECT_EQ(frames[1].disposal, 2);
    EXPECT_EQ(frames[2].left, 1);
    EXPECT_EQ(frames[2].width, 1);

    // Frame 1 alone, as a plain bitmap with its mask.
    EXPECT_EQ(image->FirstFrameBitmap().width(), 2);
    EXPECT_EQ(image->FirstFrameBitmap().pixel(1, 1), 0xFF0000u);
    ASSERT_NE(image->FirstFrameMask(), nullptr);
    EXPECT_EQ(image->FirstFrameMask()->width(), 2);
    EXPECT_EQ(image->FrameMask(3)->pixel(0, 0), 0xFFFFFFu);

    // Without transparency there is no mask at all.
    auto opaque = Gif(Start(2, 2) + Frame(0, 0, 2, 2, kFourPixels) + Frame(0, 0, 1, 1, {2}));
    ASSERT_TRUE(opaque);
    EXPECT_FALSE(opaque->FrameStrip().UsesMask);
    EXPECT_EQ(opaque->FirstFrameMask(), nullptr);
}

TEST(GifImage, AnimationAdvancesOnTimeLoopsAndStops) {
    FakeClock clock;
    const std::string frames =
        Control(5) + Frame(0, 0, 1, 1, {1}) + Control(0) + Frame(0, 0, 1, 1, {2});
    auto looping = Gif(Start(1, 1) + Loop(2) + frames);
    ASSERT_TRUE(looping);
    EXPECT_EQ(looping->LoopCount, 2);
    platform::RecordingCanvas canvas;
    looping->Draw(canvas, 10, 20, 30, 40);
    EXPECT_NE(canvas.logText().find("from 0,0,1,1 to 10,20,40,60"), std::string::npos)
        << canvas.logText();

    std::vector<platform::Rect> repaints;
    auto invalidate = [&](const platform::Rect& r) { repaints.push_back(r); };
    EXPECT_FALSE(looping->AdvanceIfDue(invalidate)) << "not animating yet";
    looping->SetAnimating(true);
    EXPECT_EQ(looping->FrameInterval(), 50);
    clock.now += 49;
    EXPECT_FALSE(looping->AdvanceIfDue(invalidate));
    clock.now += 1;
    EXPECT_TRUE(looping->AdvanceIfDue(invalidate));
    EXPECT_EQ(looping->CurrentFrame(), 2);
    ASSERT_EQ(repaints.size(), 1u);
    EXPECT_EQ(repaints[0], (platform::Rect{10, 20, 40, 60})) << "only the picture is repainted";
    EXPECT_EQ(looping->FrameInterval(), 30);
    canvas.clearLog();
    looping->Draw(canvas, 10, 20, 30, 40);
    EXPECT_NE(canvas.logText().find("from 1,0,2,1"), std::string::npos) << canvas.logText();
    // Loop count 2: two passes, then it stops on the last frame.
    std::vector<int> shown;
    for (int tick = 0; tick < 10; ++tick) {
        clock.now += 50;
        looping->AdvanceIfDue(invalidate);
        shown.push_back(looping->CurrentFrame());
    }
    EXPECT_EQ(shown, (std::vector<int>{1, 2, 2, 2, 2, 2, 2, 2, 2, 2}));
    EXPECT_FALSE(looping->Animating());

    // Without a loop count it goes on forever.
    auto forever = Gif(Start(1, 1) + frames);
    ASSERT_TRUE(forever);
    EXPECT_EQ(forever->LoopCount, 0);
    forever->SetAnimating(true);
    int changes = 0;
    for (int tick = 0; tick < 40; ++tick) {
        clock.now += 50;
        changes += forever->AdvanceIfDue(nullptr);
    }
    EXPECT_EQ(changes, 40);
    EXPECT_TRUE(forever->Animating());

    // One frame never advances, however long it waits.
    bool notAnimated = false;
    auto still = CreateGifFromStream(notAnimated, Start(1, 1) + Frame(0, 0, 1, 1, {1}));
    ASSERT_TRUE(still);
    EXPECT_TRUE(notAnimated);
    EXPECT_FALSE(still->Animated());
    still->SetAnimating(true);
    clock.now += 100000;
    EXPECT_FALSE(still->AdvanceIfDue(invalidate));
    EXPECT_EQ(still->CurrentFrame(), 1);

    // Choosing a frame wraps at both ends.
    forever->SetCurrentFrame(2);
    EXPECT_EQ(forever->CurrentFrame(), 2);
    forever->SetCurrentFrame(3);
    EXPECT_EQ(forever->CurrentFrame(), 1);
    forever->SetCurrentFrame(0);
    EXPECT_EQ(forever->CurrentFrame(), 2);
}

TEST(GifImage, CopiesShareTheStripAndKeepTheirOwnState) {
    FakeClock clock;
    auto source =
        Gif(Start(2, 1) + Control(3, 0, 0) + Frame(0, 0, 2, 1, {0, 1}) + Frame(0, 0, 2, 1, {2, 3}));
    ASSERT_TRUE(source);
    source->SetAnimating(true);
    clock.now += 30;
    source->AdvanceIfDue(nullptr);
    auto copy = TGIFImage::CreateShared(*source);
    EXPECT_EQ(&copy->FrameStrip(), &source->FrameStrip());
    EXPECT_TRUE(copy->SharesStrip());
    EXPECT_FALSE(source->SharesStrip());
    EXPECT_EQ(copy->CurrentFrame(), 1);
    EXPECT_EQ(copy->PassesDone(), 1);
    EXPECT_FALSE(copy->Animating());
    EXPECT_TRUE(copy->Frames()[0].isCopy);
    EXPECT_FALSE(source->Frames()[0].isCopy);
    EXPECT_EQ(copy->Width, 2);
    EXPECT_TRUE(copy->IsTransparent);
    // The strip outlives the image it came from.
    const platform::Bitmap* strip = &copy->FrameStrip();
    source.reset();
    platform::RecordingCanvas canvas;
    copy->Draw(canvas, 0, 0, 2, 1);
    EXPECT_NE(canvas.logText().find("bitmap 4x1 from 0,0,2,1 to 0,0,2,1 masked"), std::string::npos)
        << canvas.logText();
    EXPECT_EQ(&copy->FrameStrip(), strip);
    // An invisible image draws nothing but still remembers where it stands.
    copy->Visible = false;
    canvas.clearLog();
    copy->Draw(canvas, 5, 5, 2, 1);
    EXPECT_EQ(canvas.logText(), "");
    EXPECT_EQ(copy->LastDestination(), (platform::Rect{5, 5, 7, 6}));
}

TEST(GifImage, BadFilesGiveNoPictureAndSizesAreBounded) {
    bool notAnimated = false;
    EXPECT_FALSE(CreateGifFromStream(notAnimated, ""));
    EXPECT_FALSE(CreateGifFromStream(notAnimated, "GIF89a"));
    EXPECT_TRUE(notAnimated);
    EXPECT_FALSE(CreateGifFromFile(
        std::string(VULTARIA_COLLECTION) + "/dados/imagens/nao_existe.gif", notAnimated));
    // A frame claiming 65535 x 65535 pixels is refused before its pixels are allocated.
    EXPECT_EQ(ReadError(Start(65535, 65535) + Frame(0, 0, 65535, 65535, {1})),
              "TGif: the images are too large");
    // So is a strip of small frames on a large screen, and a flood of empty frames.
    std::string many = Start(8000, 8000);
    for (int i = 0; i < 3; ++i) many += Frame(0, 0, 1, 1, {1});
    EXPECT_FALSE(Gif(many));
    std::string empty = Start(1, 1);
    for (int i = 0; i < 70000; ++i) empty += Frame(0, 0, 0, 0, {1});
    EXPECT_EQ(ReadError(empty), "TGif: the images are too large");
    // A screen of no size takes the first frame's.
    auto sized = Gif(Start(0, 0) + Frame(1, 1, 2, 2, kFourPixels));
    ASSERT_TRUE(sized);
    EXPECT_EQ(sized->Width, 3);
    EXPECT_EQ(sized->Height, 3);
    // Every prefix of a real animation: a picture or none, never a crash.
    const std::string animation = ReadFile(PictureFolder("gif") / "animation.gif");
    int pictures = 0;
    for (std::size_t n = 0; n <= animation.size(); ++n)
        pictures += Gif(animation.substr(0, n)) != nullptr;
    EXPECT_GT(pictures, 0);
    EXPECT_TRUE(Gif(animation));
}

TEST(GifImage, PaletteScreensGetTheStripOnTheirPalette) {
    std::array<platform::TColor, 256> shared{};
    for (int i = 0; i < 256; ++i)
        shared[static_cast<std::size_t>(i)] = platform::RGBColor(i, 0, 255 - i);
    shared[0] = platform::RGBColor(255, 0, 0);
    bool notAnimated = false;
    const std::string bytes =
        Start(2, 1) + Control(0, 0, 3) + Frame(0, 0, 2, 1, {1, 3}) + Frame(0, 0, 1, 1, {2});
    auto reduced = CreateGifFromStream(notAnimated, bytes, ScreenColors{8, &shared});
    ASSERT_TRUE(reduced);
    const ThtBitmap& strip = reduced->FrameStrip();
    EXPECT_EQ(strip.format(), platform::Bitmap::Format::Indexed8);
    ASSERT_EQ(strip.palette().size(), 256u);
    EXPECT_EQ(strip.palette()[7], 0x0700F8u);
    EXPECT_EQ(strip.pixel(0, 0), 0xFF0000u) << "red is on the palette";
    ASSERT_TRUE(strip.UsesMask);
    EXPECT_EQ(strip.MaskBitmap->pixel(1, 0), 0xFFFFFFu) << "the mask is kept";
    auto fourBit = CreateGifFromStream(notAnimated, bytes, ScreenColors{4, nullptr});
    ASSERT_TRUE(fourBit);
    EXPECT_EQ(fourBit->FrameStrip().palette().size(), 16u);
}
