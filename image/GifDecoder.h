#pragma once
// The GIF file format: signature, logical screen, colour tables, extensions and image
// blocks, with every image's LZW data decompressed into one colour index a pixel.
// TGif lives only while a picture is read; GifImage.h builds the picture from it.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Types.h"

// The texts of the decoder's errors, by number ("TGif: " and the text is what the
// invalid-graphic-operation exception carries).
enum GifErrorNumber : int {
    gifNoError = 0,
    gifInvalidSignature = 1,
    gifNoColorTable = 2,
    gifUnknownExtensionType = 3,
    gifUnknownOperationCode = 4,
    gifInvalidExtensionBlockSize = 5,
    gifSpecialMessage = 6,
    gifInvalidExtensionBlockTerminator = 7,
    gifInvalidIntegerSize = 8,
    gifNoTerminator = 9,
    gifExtensionOutOfOrder = 10,
    gifInvalidImageIndex = 11,
    gifInvalidLzwCodeSize = 12,
    gifInvalidLzwData = 13,
    gifLzwCodeOverflow = 14,
    gifValueOutOfRange = 15,
    gifNilPointer = 16,
    gifInvalidColorTableSize = 17,
    gifNoImageDescription = 18,
    gifInvalidBitmapImage = 19,
    gifInvalidColorTableIndex = 20,
    gifInvalidInterlacePass = 21,
    gifInvalidBitmap = 22,
    gifTooManyColors = 23,
    gifUnexpectedEndOfFile = 24,
    gifNextMessage = 25,
};
std::string_view GifErrorText(int number);
// Throws EInvalidGraphicOperation("TGif: " + the number's text, or `special` for 6).
[[noreturn]] void GifError(int number, std::string_view special = {});

struct TGifScreen {
    int width = 0;
    int height = 0;
    bool globalTable = false;
    int colorResolution = 0;  // bits
    bool sorted = false;
    int globalTableSize = 0;
    int backgroundIndex = 0;
    int aspect = 0;
    int globalTableNumber = -1;  // in the table list
};

struct TGifColorTable {
    int count = 0;
    std::array<platform::TColor, 256> colors{};  // R + G*256 + B*65536
};

// One extension block, by its label.
struct TGifExtension {
    static constexpr int kGraphicControl = 0xF9;
    static constexpr int kComment = 0xFE;
    static constexpr int kPlainText = 0x01;
    static constexpr int kApplication = 0xFF;

    int label = 0;
    // Graphic control.
    int disposal = 0;
    bool userInput = false;
    bool transparent = false;
    int delay = 0;  // hundredths of a second
    int transparentIndex = 0;
    // Plain text.
    int gridLeft = 0, gridTop = 0, gridWidth = 0, gridHeight = 0;
    int cellWidth = 0, cellHeight = 0, foregroundIndex = 0, backgroundIndex = 0;
    // Application.
    std::string identifier;      // 8 bytes
    std::string authentication;  // 3 bytes
    // Comment, plain text and application data, one string a sub-block.
    std::vector<std::string> data;
};

struct TGifImageRecord {
    int number = 0;
    int left = 0, top = 0, width = 0, height = 0;
    bool localTable = false;
    bool interlaced = false;
    bool sorted = false;
    int tableSize = 0;
    int tableNumber = -1;
    int minimumCodeSize = 0;
    std::vector<TGifExtension> extensions;  // those read since the image before
    std::vector<std::uint8_t> pixels;       // width x height colour indexes, row by row

    // The first graphic control extension, if any.
    const TGifExtension* GraphicControl() const;
};

class TGif {
  public:
    // Throws EInvalidGraphicOperation with the decoder's message for a file it cannot
    // read, and when the images together would pass the largest picture accepted.
    void Read(std::string_view file);

    int ImageCount() const { return static_cast<int>(images_.size()); }
    // Throw error 11 or 15 outside the lists.
    const TGifImageRecord& Image(int index) const;
    const TGifColorTable& ColorTable(int number) const;
    const TGifScreen& Screen() const { return screen_; }
    int LoopCount() const { return loopCount_; }  // -1 without a NETSCAPE extension

  private:
    class Reader;
    void ReadScreen(Reader& in);
    int ReadColorTable(Reader& in, int size);
    TGifExtension ReadExtension(Reader& in, bool& cutComment);
    void ReadImage(Reader& in);
    void Decompress(TGifImageRecord& image, const std::string& data);

    TGifScreen screen_;
    std::vector<TGifColorTable> tables_;
    std::vector<TGifImageRecord> images_;
    std::vector<TGifExtension> waiting_;
    int loopCount_ = -1;
    std::uint64_t pixelBudget_ = 0;
};
