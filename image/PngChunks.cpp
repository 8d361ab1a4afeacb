#include "image/PngChunks.h"

#include <algorithm>
#include <cmath>

#include "image/PngImage.h"

EPNGImageException::EPNGImageException(std::string_view text)
    : platform::Exception("Portable Network Graphics format handler error\r\n" +
                          std::string(text)) {}

namespace {

// The CRC table, and seven more derived from it so that eight bytes are taken a step:
// entry n of table k is the CRC of byte n followed by k zero bytes.
using CrcTables = std::array<std::array<std::uint32_t, 256>, 8>;
const CrcTables& CrcTable() {
    static const CrcTables tables = [] {
        CrcTables t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[0][n] = c;
        }
        for (std::size_t k = 1; k < 8; ++k)
            for (std::size_t n = 0; n < 256; ++n)
                t[k][n] = (t[k - 1][n] >> 8) ^ t[0][t[k - 1][n] & 0xFF];
        return t;
    }();
    return tables;
}

void Put32(std::string& out, std::uint32_t value) {
    out += static_cast<char>(value >> 24);
    out += static_cast<char>(value >> 16);
    out += static_cast<char>(value >> 8);
    out += static_cast<char>(value);
}

constexpr std::array<TChunkClassEntry, 7> kChunkClasses{{
    {ChunkTypeOf("IEND"), ChunkClass::IEND},
    {ChunkTypeOf("IHDR"), ChunkClass::IHDR},
    {ChunkTypeOf("gAMA"), ChunkClass::GAMA},
    {ChunkTypeOf("IDAT"), ChunkClass::IDAT},
    {ChunkTypeOf("PLTE"), ChunkClass::PLTE},
    {ChunkTypeOf("tEXt"), ChunkClass::TEXT},
    {ChunkTypeOf("tRNS"), ChunkClass::TRNS},
}};
// Known to the reader, kept as plain bytes.
constexpr std::uint32_t kTimeChunk = ChunkTypeOf("tIME");

}  // namespace

std::uint32_t PngCrc(std::uint32_t crc, const unsigned char* data, std::size_t size) {
    const CrcTables& t = CrcTable();
    for (; size >= 8; size -= 8, data += 8) {
        const std::uint32_t low =
            crc ^ (std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8 |
                   std::uint32_t{data[2]} << 16 | std::uint32_t{data[3]} << 24);
        crc = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^
              t[4][low >> 24] ^ t[3][data[4]] ^ t[2][data[5]] ^ t[1][data[6]] ^ t[0][data[7]];
    }
    for (; size > 0; --size, ++data) crc = t[0][(crc ^ *data) & 0xFF] ^ (crc >> 8);
    return crc;
}

std::uint32_t PngChunkCrc(std::uint32_t type, std::string_view data) {
    const unsigned char name[4] = {
        static_cast<unsigned char>(type >> 24), static_cast<unsigned char>(type >> 16),
        static_cast<unsigned char>(type >> 8), static_cast<unsigned char>(type)};
    std::uint32_t crc = PngCrc(0xFFFFFFFFu, name, 4);
    crc = PngCrc(crc, reinterpret_cast<const unsigned char*>(data.data()), data.size());
    return crc ^ 0xFFFFFFFFu;
}

std::string ChunkTypeName(std::uint32_t type) {
    std::string name(4, ' ');
    for (int i = 0; i < 4; ++i) name[i] = static_cast<char>(type >> (24 - 8 * i));
    return name;
}

int ChunkClassCount() {
    return static_cast<int>(kChunkClasses.size());
}

const TChunkClassEntry& ChunkClassAt(int index) {
    if (index < 0 || index >= ChunkClassCount())
        throw EPNGImageException(png_messages::kChunkClassIndexOutOfRange);
    return kChunkClasses[static_cast<std::size_t>(index)];
}

ChunkClass ChunkClassOf(std::uint32_t type) {
    for (const TChunkClassEntry& entry : kChunkClasses)
        if (entry.type == type) return entry.chunkClass;
    return ChunkClass::Plain;
}

bool IsKnownChunkType(std::uint32_t type) {
    return type == kTimeChunk || ChunkClassOf(type) != ChunkClass::Plain;
}

std::unique_ptr<TChunk> CreateChunk(ChunkClass chunkClass, TChunkList* owner, std::uint32_t type) {
    std::unique_ptr<TChunk> chunk;
    switch (chunkClass) {
        case ChunkClass::IEND:
            chunk = std::make_unique<TChunkIEND>(owner);
            break;
        case ChunkClass::IHDR:
            chunk = std::make_unique<TChunkIHDR>(owner);
            break;
        case ChunkClass::GAMA:
            chunk = std::make_unique<TChunkGAMA>(owner);
            break;
        case ChunkClass::IDAT:
            chunk = std::make_unique<TChunkIDAT>(owner);
            break;
        case ChunkClass::PLTE:
            chunk = std::make_unique<TChunkPLTE>(owner);
            break;
        case ChunkClass::TEXT:
            chunk = std::make_unique<TChunkTEXT>(owner);
            break;
        case ChunkClass::TRNS:
            chunk = std::make_unique<TChunkTRNS>(owner);
            break;
        case ChunkClass::Plain:
            chunk = std::make_unique<TChunk>(owner, type);
            break;
    }
    chunk->ChunkType = type;
    return chunk;
}

// ---------------------------------------------------------------- TChunk

TPNGImage* TChunk::Image() const {
    return Owner ? Owner->Owner : nullptr;
}

void TChunk::AssignFrom(const TChunk& other) {
    ChunkType = other.ChunkType;
    Data = other.Data;
}

void TChunk::SaveTo(std::string& stream) const {
    Put32(stream, static_cast<std::uint32_t>(Data.size()));
    Put32(stream, ChunkType);
    stream += Data;
    Put32(stream, PngChunkCrc(ChunkType, Data));
}

// ---------------------------------------------------------------- IHDR

TChunkIHDR::TChunkIHDR(TChunkList* owner) : TChunk(owner, ChunkTypeOf("IHDR")) {
    Data.assign(13, '\0');
}

std::uint32_t TChunkIHDR::Get32(std::size_t at) const {
    if (Data.size() < at + 4) return 0;
    auto b = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(Data[at + i]));
    };
    return b(0) << 24 | b(1) << 16 | b(2) << 8 | b(3);
}

int TChunkIHDR::Get8(std::size_t at) const {
    return at < Data.size() ? static_cast<unsigned char>(Data[at]) : 0;
}

void TChunkIHDR::Set32(std::size_t at, std::uint32_t value) {
    if (Data.size() < 13) Data.resize(13, '\0');
    for (int i = 0; i < 4; ++i) Data[at + i] = static_cast<char>(value >> (24 - 8 * i));
}

void TChunkIHDR::Set8(std::size_t at, int value) {
    if (Data.size() < 13) Data.resize(13, '\0');
    Data[at] = static_cast<char>(value);
}

void TChunkIHDR::SetWidth(std::uint32_t value) {
    if (value == Width() && IsComplete()) return;
    Set32(0, value);
    if (TPNGImage* image = Image()) image->ResizePicture(Width(), Height());
}

void TChunkIHDR::SetSize(std::uint32_t width, std::uint32_t height) {
    if (width == Width() && height == Height() && IsComplete()) return;
    Set32(0, width);
    Set32(4, height);
    if (TPNGImage* image = Image()) image->ResizePicture(width, height);
}

void TChunkIHDR::SetHeight(std::uint32_t value) {
    if (value == Height() && IsComplete()) return;
    Set32(4, value);
    if (TPNGImage* image = Image()) image->ResizePicture(Width(), Height());
}

// ---------------------------------------------------------------- IDAT

void TChunkIDAT::Decode() {
    if (TPNGImage* image = Image()) image->DecodeImageData(*this);
}

// ---------------------------------------------------------------- gAMA

TChunkGAMA::TChunkGAMA(TChunkList* owner) : TChunk(owner, ChunkTypeOf("gAMA")) {
    SetGamma(1);
}

std::uint32_t TChunkGAMA::Gamma() const {
    if (Data.size() < 4) return 0;
    auto b = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(Data[i]));
    };
    return b(0) << 24 | b(1) << 16 | b(2) << 8 | b(3);
}

void TChunkGAMA::SetGamma(std::uint32_t value) {
    Data.clear();
    Put32(Data, value);
}

void TChunkGAMA::Decode() {
    const double g = Gamma() / 100000.0;
    GammaDecode.fill(0);
    GammaEncode.fill(0);
    for (int i = 0; i < 256; ++i) {
        const double v = std::round(255.0 * std::pow(i / 255.0, 1.0 / (g * 2.2)));
        const int value = static_cast<int>(std::clamp(v, 0.0, 255.0));
        GammaDecode[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value);
        GammaEncode[static_cast<std::size_t>(value)] = static_cast<std::uint8_t>(i);
    }
    decoded = true;
}

// ---------------------------------------------------------------- PLTE

void TChunkPLTE::Decode() {
    if (Data.size() % 3 != 0) throw EPNGImageException(png_messages::kInvalidPalette);
}

std::vector<std::uint32_t> TChunkPLTE::Palette() const {
    const std::size_t count = std::min<std::size_t>(Data.size() / 3, 256);
    std::vector<std::uint32_t> entries(count);
    for (std::size_t i = 0; i < count; ++i) {
        auto c = [&](std::size_t k) {
            return static_cast<std::uint32_t>(static_cast<unsigned char>(Data[3 * i + k]));
        };
        entries[i] = c(0) << 16 | c(1) << 8 | c(2);
    }
    return entries;
}

void TChunkPLTE::SetPalette(const std::vector<std::uint32_t>& entries) {
    Data.clear();
    for (std::uint32_t entry : entries) {
        Data += static_cast<char>(entry >> 16);
        Data += static_cast<char>(entry >> 8);
        Data += static_cast<char>(entry);
    }
}

// ---------------------------------------------------------------- tEXt

TChunkTEXT::TChunkTEXT(TChunkList* owner) : TChunk(owner, ChunkTypeOf("tEXt")) {
    Data.assign(2, '\0');
}

std::string TChunkTEXT::Keyword() const {
    return Data.substr(0, Data.find('\0'));
}

std::string TChunkTEXT::Text() const {
    const std::size_t zero = Data.find('\0');
    if (zero == std::string::npos) return {};
    std::string text = Data.substr(zero + 1);
    // A new chunk holds two zero bytes: no keyword, no text.
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

void TChunkTEXT::SetText(const std::string& keyword, const std::string& text) {
    Data = keyword + '\0' + text;
}

// ---------------------------------------------------------------- TChunkList

TChunk& TChunkList::Item(int index) const {
    if (index < 0 || index >= Count())
        throw EPNGImageException(png_messages::kChunkIndexOutOfRange);
    return *items_[static_cast<std::size_t>(index)];
}

int TChunkList::IndexOfClass(ChunkClass chunkClass) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i]->Class() == chunkClass) return static_cast<int>(i);
    return -1;
}

TChunk* TChunkList::FirstOfClass(ChunkClass chunkClass) const {
    const int index = IndexOfClass(chunkClass);
    return index < 0 ? nullptr : items_[static_cast<std::size_t>(index)].get();
}

TChunk& TChunkList::Add(ChunkClass chunkClass) {
    std::uint32_t type = 0;
    for (const TChunkClassEntry& entry : kChunkClasses)
        if (entry.chunkClass == chunkClass) type = entry.type;
    items_.push_back(CreateChunk(chunkClass, this, type));
    return *items_.back();
}

TChunk& TChunkList::AddOfType(std::uint32_t type) {
    items_.push_back(CreateChunk(ChunkClassOf(type), this, type));
    return *items_.back();
}

void TChunkList::Remove(TChunk& chunk) {
    const auto it =
        std::find_if(items_.begin(), items_.end(),
                     [&](const std::unique_ptr<TChunk>& item) { return item.get() == &chunk; });
    if (it == items_.end()) throw EPNGImageException(png_messages::kChunkNotInList);
    items_.erase(it);
}

void TChunkList::Move(int from, int to) {
    if (from < 0 || from >= Count() || to < 0 || to >= Count())
        throw EPNGImageException(png_messages::kChunkIndexOutOfRange);
    auto chunk = std::move(items_[static_cast<std::size_t>(from)]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(chunk));
}
