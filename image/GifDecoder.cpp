#include "image/GifDecoder.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "image/ImageErrors.h"

namespace {

constexpr std::array<std::string_view, 26> kErrorTexts{
    "no error",
    "Invalid GIF Signature Code",
    "No Local or Global Color Table for Image",
    "Unknown Graphics Extension Type",
    "Unknown Graphics Operation Code",
    "Invalid Extension Block Size",
    "[special message]",
    "Invalid Extension Block Terminator",
    "Invalid Integer Size",
    "No GIF Terminator Found",
    "Extension Block Out-Of-Order With Image Data",
    "Invalid Image Descriptor Index",
    "Invalid LZW Code Size",
    "Invalid LZW Data Format",
    "LZW Code Overflow",
    "Value Out Of Range",
    "NIL Pointer assigned",
    "Invalid Color Table Size",
    "No Image Description",
    "Invalid Bitmap Image",
    "Invalid Color Table Index",
    "Invalid Interlace Pass",
    "Invalid Bitmap",
    "Too Many Colors In Bitmap",
    "Unexpected end of file",
    "next message",
};

constexpr int kTableSize = 4096;  // LZW codes are at most 12 bits
constexpr std::uint64_t kFrameCost = 1024;

// Where decoded pixels go: along the row, then down by 1, or for interlaced images by
// 8, 8, 4 and 2 in the four passes. Pixels past the last row are dropped.
class PixelCursor {
  public:
    explicit PixelCursor(TGifImageRecord& image)
        : pixels_(image.pixels.data()),
          width_(static_cast<std::size_t>(image.width)),
          height_(image.height),
          interlaced_(image.interlaced),
          done_(image.width <= 0 || image.height <= 0) {}

    void Put(const std::uint8_t* bytes, std::size_t count) {
        while (count > 0 && !done_) {
            const std::size_t n = std::min(count, width_ - column_);
            std::memcpy(pixels_ + static_cast<std::size_t>(row_) * width_ + column_, bytes, n);
            column_ += n;
            bytes += n;
            count -= n;
            if (column_ == width_) {
                column_ = 0;
                NextRow();
            }
        }
    }

  private:
    void NextRow() {
        if (!interlaced_) {
            done_ = ++row_ >= height_;
            return;
        }
        switch (pass_) {
            case 1:
            case 2:
                row_ += 8;
                break;
            case 3:
                row_ += 4;
                break;
            case 4:
                row_ += 2;
                break;
            default:
                GifError(gifInvalidInterlacePass);
        }
        // Past the last row the next pass starts; after the fourth, the picture is full.
        while (!done_ && row_ >= height_) {
            ++pass_;
            if (pass_ == 2)
                row_ = 4;
            else if (pass_ == 3)
                row_ = 2;
            else if (pass_ == 4)
                row_ = 1;
            else
                done_ = true;
        }
    }

    std::uint8_t* pixels_;
    std::size_t width_;
    int height_;
    bool interlaced_;
    bool done_;
    std::size_t column_ = 0;
    int row_ = 0;
    int pass_ = 1;
};

}  // namespace

std::string_view GifErrorText(int number) {
    if (number < 0 || number >= static_cast<int>(kErrorTexts.size()))
        return kErrorTexts[gifValueOutOfRange];
    return kErrorTexts[static_cast<std::size_t>(number)];
}

void GifError(int number, std::string_view special) {
    const std::string_view text =
        number == gifSpecialMessage && !special.empty() ? special : GifErrorText(number);
    throw EInvalidGraphicOperation("TGif: " + std::string(text));
}

const TGifExtension* TGifImageRecord::GraphicControl() const {
    for (const TGifExtension& extension : extensions)
        if (extension.label == TGifExtension::kGraphicControl) return &extension;
    return nullptr;
}

// The file in memory, read front to back; every short read is error 24.
class TGif::Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    bool AtEnd() const { return at_ >= bytes_.size(); }
    int Byte() {
        if (at_ >= bytes_.size()) GifError(gifUnexpectedEndOfFile);
        return static_cast<unsigned char>(bytes_[at_++]);
    }
    // Between blocks a missing byte reads as 0, which ends the file.
    int ByteOrZero() { return AtEnd() ? 0 : Byte(); }
    int Integer(int size) {
        if (size == 1) return Byte();
        if (size == 2) {
            const int low = Byte();
            return low | Byte() << 8;
        }
        GifError(gifInvalidIntegerSize);
    }
    std::string_view Bytes(std::size_t count) {
        if (bytes_.size() - at_ < count) GifError(gifUnexpectedEndOfFile);
        const std::string_view piece = bytes_.substr(at_, count);
        at_ += count;
        return piece;
    }
    // Data sub-blocks: a length byte and that many bytes, until a length of 0.
    template <typename Each>
    void SubBlocks(Each each) {
        for (int length = Byte(); length != 0; length = Byte())
            each(Bytes(static_cast<std::size_t>(length)));
    }

  private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

const TGifImageRecord& TGif::Image(int index) const {
    if (index < 0 || index >= ImageCount()) GifError(gifInvalidImageIndex);
    return images_[static_cast<std::size_t>(index)];
}

const TGifColorTable& TGif::ColorTable(int number) const {
    if (number < 0 || number >= static_cast<int>(tables_.size())) GifError(gifValueOutOfRange);
    return tables_[static_cast<std::size_t>(number)];
}

void TGif::Read(std::string_view file) {
    screen_ = {};
    tables_.clear();
    images_.clear();
    waiting_.clear();
    loopCount_ = -1;
    pixelBudget_ = kMaxPicturePixels;

    Reader in(file);
    if (file.size() < 6) GifError(gifInvalidSignature);
    std::string signature(in.Bytes(6));
    for (char& c : signature) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (signature != "GIF87A" && signature != "GIF89A") GifError(gifInvalidSignature);
    ReadScreen(in);

    for (;;) {
        const int introducer = in.ByteOrZero();
        if (introducer == 0 || introducer == 0x3B) break;
        if (introducer == 0x2C) {
            ReadImage(in);
        } else if (introducer == 0x21) {
            bool cutComment = false;
            TGifExtension extension = ReadExtension(in, cutComment);
            if (cutComment) break;
            waiting_.push_back(std::move(extension));
        } else {
            GifError(gifUnknownOperationCode);
        }
    }
    if (images_.empty()) GifError(gifNoImageDescription);
    waiting_.clear();  // extensions after the last image belong to nothing
}

void TGif::ReadScreen(Reader& in) {
    screen_.width = in.Integer(2);
    screen_.height = in.Integer(2);
    const int packed = in.Byte();
    screen_.globalTable = (packed & 0x80) != 0;
    screen_.colorResolution = ((packed >> 4) & 7) + 1;
    screen_.sorted = (packed & 0x08) != 0;
    screen_.globalTableSize = 1 << ((packed & 7) + 1);
    screen_.backgroundIndex = in.Byte();
    screen_.aspect = in.Byte();
    if (screen_.globalTable)
        screen_.globalTableNumber = ReadColorTable(in, screen_.globalTableSize);
}

int TGif::ReadColorTable(Reader& in, int size) {
    TGifColorTable table;
    table.count = size;
    const std::string_view rgb = in.Bytes(static_cast<std::size_t>(size) * 3);
    for (int i = 0; i < size; ++i) {
        auto c = [&](int k) {
            return static_cast<unsigned char>(rgb[static_cast<std::size_t>(3 * i + k)]);
        };
        table.colors[static_cast<std::size_t>(i)] = platform::RGBColor(c(0), c(1), c(2));
    }
    tables_.push_back(table);
    return static_cast<int>(tables_.size()) - 1;
}

TGifExtension TGif::ReadExtension(Reader& in, bool& cutComment) {
    TGifExtension extension;
    extension.label = in.Byte();
    auto keep = [&](std::string_view block) { extension.data.emplace_back(block); };
    switch (extension.label) {
        case TGifExtension::kGraphicControl: {
            if (in.Byte() != 4) GifError(gifInvalidExtensionBlockSize);
            const int packed = in.Byte();
            extension.disposal = (packed >> 2) & 7;
            extension.userInput = (packed & 2) != 0;
            extension.transparent = (packed & 1) != 0;
            extension.delay = in.Integer(2);
            extension.transparentIndex = in.Integer(1);
            if (in.Byte() != 0) GifError(gifInvalidExtensionBlockTerminator);
            break;
        }
        case TGifExtension::kComment:
            // A comment cut short after an image ends the file; before any, it fails it.
            try {
                in.SubBlocks(keep);
            } catch (const EInvalidGraphicOperation&) {
                if (images_.empty()) throw;
                cutComment = true;
            }
            break;
        case TGifExtension::kPlainText:
            if (in.Byte() != 12) GifError(gifInvalidExtensionBlockSize);
            extension.gridLeft = in.Integer(2);
            extension.gridTop = in.Integer(2);
            extension.gridWidth = in.Integer(2);
            extension.gridHeight = in.Integer(2);
            extension.cellWidth = in.Integer(1);
            extension.cellHeight = in.Integer(1);
            extension.foregroundIndex = in.Integer(1);
            extension.backgroundIndex = in.Integer(1);
            in.SubBlocks(keep);
            break;
        case TGifExtension::kApplication:
            if (in.Byte() != 11) GifError(gifInvalidExtensionBlockSize);
            extension.identifier = in.Bytes(8);
            extension.authentication = in.Bytes(3);
            in.SubBlocks(keep);
            if (extension.identifier == "NETSCAPE" && !extension.data.empty() &&
                extension.data[0].size() == 3)
                loopCount_ = static_cast<unsigned char>(extension.data[0][1]) |
                             static_cast<unsigned char>(extension.data[0][2]) << 8;
            break;
        default: {
            char text[40];
            std::snprintf(text, sizeof text, "unknown extension: %04X", extension.label);
            GifError(gifSpecialMessage, text);
        }
    }
    return extension;
}

void TGif::ReadImage(Reader& in) {
    TGifImageRecord image;
    image.number = ImageCount() + 1;
    image.extensions = std::move(waiting_);
    waiting_.clear();
    image.left = in.Integer(2);
    image.top = in.Integer(2);
    image.width = in.Integer(2);
    image.height = in.Integer(2);
    const int packed = in.Byte();
    image.localTable = (packed & 0x80) != 0;
    image.interlaced = (packed & 0x40) != 0;
    image.sorted = (packed & 0x20) != 0;
    image.tableSize = 1 << ((packed & 7) + 1);
    if (image.localTable)
        image.tableNumber = ReadColorTable(in, image.tableSize);
    else if (screen_.globalTableNumber >= 0)
        image.tableNumber = screen_.globalTableNumber;
    else
        GifError(gifNoColorTable);
    image.minimumCodeSize = in.Byte();
    std::string data;
    in.SubBlocks([&](std::string_view block) { data.append(block); });

    // Every frame's pixels are kept until the picture is built: together they may not
    // pass the largest picture accepted. Each frame also costs a little of its own, so
    // that a flood of empty frames is refused too.
    const auto area =
        static_cast<std::uint64_t>(image.width) * static_cast<std::uint64_t>(image.height);
    if (area + kFrameCost > pixelBudget_)
        throw EInvalidGraphicOperation("TGif: the images are too large");
    pixelBudget_ -= area + kFrameCost;
    image.pixels.assign(static_cast<std::size_t>(area), 0);
    Decompress(image, data);
    images_.push_back(std::move(image));
}

void TGif::Decompress(TGifImageRecord& image, const std::string& data) {
    const int minimum = image.minimumCodeSize;
    if (minimum + 1 < 1 || minimum + 1 > 12) GifError(gifInvalidLzwCodeSize);
    const int clearCode = 1 << minimum;
    const int endCode = clearCode + 1;

    // One entry a code: the code before it and the byte it adds. Root codes stand for
    // themselves.
    std::array<std::uint16_t, kTableSize> prefix{};
    std::array<std::uint8_t, kTableSize> suffix{};
    for (int i = 0; i < clearCode; ++i)
        suffix[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    std::array<std::uint8_t, kTableSize> stack{};

    // The table starts as a clear code leaves it, so data without a leading clear code
    // decodes too.
    int codeSize = minimum + 1;
    int nextFree = endCode + 1;
    int limit = 1 << codeSize;
    bool afterClear = true;
    int previous = 0;
    std::uint8_t previousFirst = 0;

    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
    const std::uint64_t totalBits = static_cast<std::uint64_t>(data.size()) * 8;
    std::uint64_t usedBits = 0;
    std::size_t at = 0;
    std::uint32_t buffer = 0;
    int buffered = 0;
    PixelCursor cursor(image);

    auto addEntry = [&](std::uint8_t first) {
        if (nextFree >= kTableSize) return;  // a full table takes no more entries
        prefix[static_cast<std::size_t>(nextFree)] = static_cast<std::uint16_t>(previous);
        suffix[static_cast<std::size_t>(nextFree)] = first;
        ++nextFree;
        if (nextFree >= limit && codeSize < 12) {
            limit <<= 1;
            ++codeSize;
        }
    };
    // The string of a code onto the stack; returns where it starts.
    auto expand = [&](int code) {
        std::size_t top = stack.size();
        while (code >= clearCode && top > 1) {
            stack[--top] = suffix[static_cast<std::size_t>(code)];
            code = prefix[static_cast<std::size_t>(code)];
        }
        stack[--top] = static_cast<std::uint8_t>(code);
        return top;
    };

    while (usedBits < totalBits) {
        // Codes come least significant bit first; past the data the bits are 0.
        while (buffered < codeSize) {
            buffer |= static_cast<std::uint32_t>(at < data.size() ? bytes[at] : 0) << buffered;
            ++at;
            buffered += 8;
        }
        int code = static_cast<int>(buffer & ((1u << codeSize) - 1));
        buffer >>= codeSize;
        buffered -= codeSize;
        usedBits += static_cast<std::uint64_t>(codeSize);

        if (code == clearCode) {
            codeSize = minimum + 1;
            nextFree = endCode + 1;
            limit = 1 << codeSize;
            afterClear = true;
            continue;
        }
        if (code == endCode) {
            if (afterClear) GifError(gifInvalidLzwData);
            break;
        }
        if (afterClear) {
            if (code >= nextFree) code = 0;
            const auto byte = static_cast<std::uint8_t>(code);
            cursor.Put(&byte, 1);
            previous = code;
            previousFirst = byte;
            afterClear = false;
            continue;
        }
        std::size_t top;
        if (code < nextFree) {
            top = expand(code);
            addEntry(stack[top]);
        } else if (code == nextFree) {
            addEntry(previousFirst);
            top = expand(code);
        } else {
            GifError(gifInvalidLzwData);
        }
        cursor.Put(stack.data() + top, stack.size() - top);
        previous = code;
        previousFirst = stack[top];
    }
}
