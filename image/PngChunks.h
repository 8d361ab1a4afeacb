#pragma once
// A PNG file held as its list of chunks, so that a loaded picture can also be written
// back. Each chunk type we understand has a class of its own; every other type is kept
// as plain bytes.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Errors.h"

class TPNGImage;
class TChunkList;

// Every error of the PNG reader and writer. The message is the handler's heading, a
// line break and one of the texts below.
class EPNGImageException : public platform::Exception {
  public:
    explicit EPNGImageException(std::string_view text);
};

namespace png_messages {
inline constexpr std::string_view kInvalidHeader =
    "Invalid Portable Graphics Network image, it has an invalid file header.";
inline constexpr std::string_view kUnknownCriticalChunk =
    "The currently being loaded image contains critical(s) chunk(s) not reconized by the "
    "decoder.";
inline constexpr std::string_view kInvalidCrc = "Can't read the PNG image, it has corrupted data. ";
inline constexpr std::string_view kIhdrNotFirst =
    "This PNG image is invalid, the IHDR chunk is either not present or it isn't the first "
    "chunk.";
inline constexpr std::string_view kNoImageData =
    "The current image being loaded has no data and could not be loaded.";
inline constexpr std::string_view kInvalidPalette =
    "The current image being loaded has an invalid palette!";
inline constexpr std::string_view kMissingPalette =
    "The current image requeries a palette but it is not avaliable.";
inline constexpr std::string_view kUnknownColorType =
    "Could not read the image because it has an unknown color type.";
inline constexpr std::string_view kUnknownFilter =
    "The image could not be loaded because it uses an unknown set of filter types.";
inline constexpr std::string_view kUnknownInterlace = "The image has an unknown interlace method.";
inline constexpr std::string_view kChunkIndexOutOfRange =
    "The chunk index especified is out of the range.";
inline constexpr std::string_view kChunkClassIndexOutOfRange =
    "The chunk class index especified is  out of range.";
inline constexpr std::string_view kChunkNotInList =
    "The especified chunk is not inside the chunk list containing the method being used. The "
    "funcion could not be completed.";
inline constexpr std::string_view kTransparencyNotRgb =
    "Can not get transparency information because the current image color type is not RGB "
    "(value 3)";
// Ours: a bit depth that no colour type has.
inline constexpr std::string_view kUnknownBitDepth =
    "The image could not be loaded because it has an unknown bit depth.";
}  // namespace png_messages

// The standard CRC-32 of PNG chunks (polynomial 0xEDB88320), over the type and data.
std::uint32_t PngCrc(std::uint32_t crc, const unsigned char* data, std::size_t size);
std::uint32_t PngChunkCrc(std::uint32_t type, std::string_view data);

// A chunk type is its four letters in file order, read as one big-endian number.
constexpr std::uint32_t ChunkTypeOf(const char (&name)[5]) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(name[0])) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(name[1])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(name[2])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(name[3]));
}
std::string ChunkTypeName(std::uint32_t type);
// Critical chunks have an upper-case first letter (bit 5 of the first byte clear).
inline bool IsCriticalChunk(std::uint32_t type) {
    return (type & 0x20000000u) == 0;
}

enum class ChunkClass { Plain, IEND, IHDR, GAMA, IDAT, PLTE, TEXT, TRNS };

class TChunk {
  public:
    TChunk(TChunkList* owner, std::uint32_t type) : ChunkType(type), Owner(owner) {}
    virtual ~TChunk() = default;

    virtual ChunkClass Class() const { return ChunkClass::Plain; }
    // Works out what the data says (the gamma tables, the picture itself).
    virtual void Decode() {}
    // Type and data of another chunk.
    virtual void AssignFrom(const TChunk& other);
    // Length, type, data and CRC.
    virtual void SaveTo(std::string& stream) const;

    std::string TypeName() const { return ChunkTypeName(ChunkType); }
    TPNGImage* Image() const;

    std::uint32_t ChunkType;
    std::string Data;
    TChunkList* Owner;
};

class TChunkIEND : public TChunk {
  public:
    explicit TChunkIEND(TChunkList* owner) : TChunk(owner, ChunkTypeOf("IEND")) {}
    ChunkClass Class() const override { return ChunkClass::IEND; }
};

// Width and height (4 bytes each, big-endian), bit depth, colour type, compression,
// filter and interlace method (1 byte each).
class TChunkIHDR : public TChunk {
  public:
    explicit TChunkIHDR(TChunkList* owner);
    ChunkClass Class() const override { return ChunkClass::IHDR; }

    bool IsComplete() const { return Data.size() >= 13; }
    std::uint32_t Width() const { return Get32(0); }
    std::uint32_t Height() const { return Get32(4); }
    int BitDepth() const { return Get8(8); }
    int ColorType() const { return Get8(9); }
    int CompressionMethod() const { return Get8(10); }
    int FilterMethod() const { return Get8(11); }
    int InterlaceMethod() const { return Get8(12); }
    // Width and height also resize the image's picture when they change it.
    void SetWidth(std::uint32_t value);
    void SetHeight(std::uint32_t value);
    void SetSize(std::uint32_t width, std::uint32_t height);
    void SetBitDepth(int value) { Set8(8, value); }
    void SetColorType(int value) { Set8(9, value); }
    void SetCompressionMethod(int value) { Set8(10, value); }
    void SetFilterMethod(int value) { Set8(11, value); }
    void SetInterlaceMethod(int value) { Set8(12, value); }

  private:
    std::uint32_t Get32(std::size_t at) const;
    int Get8(std::size_t at) const;
    void Set32(std::size_t at, std::uint32_t value);
    void Set8(std::size_t at, int value);
};

class TChunkIDAT : public TChunk {
  public:
    explicit TChunkIDAT(TChunkList* owner) : TChunk(owner, ChunkTypeOf("IDAT")) {}
    ChunkClass Class() const override { return ChunkClass::IDAT; }
    // Inflates the data into the image's picture.
    void Decode() override;
};

// Gamma x 100000, big-endian, with the tables that undo and redo it.
class TChunkGAMA : public TChunk {
  public:
    explicit TChunkGAMA(TChunkList* owner);
    ChunkClass Class() const override { return ChunkClass::GAMA; }
    void Decode() override;

    std::uint32_t Gamma() const;
    void SetGamma(std::uint32_t value);
    // Built by Decode: file values to display values and back.
    std::array<std::uint8_t, 256> GammaDecode{};
    std::array<std::uint8_t, 256> GammaEncode{};
    bool decoded = false;
};

// Red, green and blue bytes per entry.
class TChunkPLTE : public TChunk {
  public:
    explicit TChunkPLTE(TChunkList* owner) : TChunk(owner, ChunkTypeOf("PLTE")) {}
    ChunkClass Class() const override { return ChunkClass::PLTE; }
    // Throws for data that is not whole entries.
    void Decode() override;
    // The entries as 0x00RRGGBB (at most 256).
    std::vector<std::uint32_t> Palette() const;
    void SetPalette(const std::vector<std::uint32_t>& entries);
};

// A keyword, a zero byte and the text.
class TChunkTEXT : public TChunk {
  public:
    explicit TChunkTEXT(TChunkList* owner);
    ChunkClass Class() const override { return ChunkClass::TEXT; }
    std::string Keyword() const;
    std::string Text() const;
    void SetText(const std::string& keyword, const std::string& text);
};

class TChunkTRNS : public TChunk {
  public:
    explicit TChunkTRNS(TChunkList* owner) : TChunk(owner, ChunkTypeOf("tRNS")) {}
    ChunkClass Class() const override { return ChunkClass::TRNS; }
};

// The chunk types with classes of their own, in registry order.
struct TChunkClassEntry {
    std::uint32_t type;
    ChunkClass chunkClass;
};
int ChunkClassCount();
// Throws for an index outside the registry.
const TChunkClassEntry& ChunkClassAt(int index);
// The class for a type; Plain for "tIME" and for types the registry does not list.
ChunkClass ChunkClassOf(std::uint32_t type);
// Whether the reader knows a type (the registry's types and "tIME").
bool IsKnownChunkType(std::uint32_t type);
std::unique_ptr<TChunk> CreateChunk(ChunkClass chunkClass, TChunkList* owner, std::uint32_t type);

class TChunkList {
  public:
    explicit TChunkList(TPNGImage* owner) : Owner(owner) {}

    int Count() const { return static_cast<int>(items_.size()); }
    // Throws for an index outside the list.
    TChunk& Item(int index) const;
    // The first chunk of a class, or -1.
    int IndexOfClass(ChunkClass chunkClass) const;
    TChunk* FirstOfClass(ChunkClass chunkClass) const;
    // A new, empty chunk of the class (of its registry type) at the end.
    TChunk& Add(ChunkClass chunkClass);
    // A new chunk of a type, of the class the registry gives it.
    TChunk& AddOfType(std::uint32_t type);
    // Throws when the chunk is not in this list.
    void Remove(TChunk& chunk);
    void Move(int from, int to);
    void Clear() { items_.clear(); }

    TPNGImage* Owner;

  private:
    std::vector<std::unique_ptr<TChunk>> items_;
};
