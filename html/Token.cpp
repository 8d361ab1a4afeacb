#include "html/Token.h"

#include "platform/CodePage.h"

namespace {
constexpr std::size_t InitialRoom = 300;

bool IsLeadByte(unsigned char c, int codePage) {
    switch (codePage) {
        case 932:
            return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        case 936:
        case 949:
        case 950:
            return c >= 0x81 && c <= 0xFE;
        case 1361:
            return (c >= 0x84 && c <= 0xD3) || (c >= 0xD8 && c <= 0xDE) || (c >= 0xE0 && c <= 0xF9);
        default:
            return false;
    }
}

// Length of a well-formed UTF-8 sequence at `index`, 0 when it is not one (the converter
// then gives one replacement character for the first byte alone).
int Utf8SequenceLength(std::string_view bytes, std::size_t index) {
    const auto c = static_cast<unsigned char>(bytes[index]);
    int extra;
    std::uint32_t cp, min;
    if (c < 0x80) return 1;
    if ((c & 0xE0) == 0xC0)
        extra = 1, cp = c & 0x1F, min = 0x80;
    else if ((c & 0xF0) == 0xE0)
        extra = 2, cp = c & 0x0F, min = 0x800;
    else if ((c & 0xF8) == 0xF0)
        extra = 3, cp = c & 0x07, min = 0x10000;
    else
        return 0;
    if (index + static_cast<std::size_t>(extra) >= bytes.size()) return 0;
    for (int j = 1; j <= extra; ++j) {
        const auto t = static_cast<unsigned char>(bytes[index + j]);
        if ((t & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (t & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return extra + 1;
}
}  // namespace

int MultibyteCharLength(std::string_view bytes, std::size_t index, int codePage) {
    if (index >= bytes.size()) return 0;
    if (codePage == platform::CP_UTF8) {
        const int n = Utf8SequenceLength(bytes, index);
        return n == 0 ? 1 : n;
    }
    if (IsLeadByte(static_cast<unsigned char>(bytes[index]), codePage) && index + 1 < bytes.size())
        return 2;
    return 1;
}

TCharCollection::TCharCollection() {
    Chars.reserve(InitialRoom);
    Positions.reserve(InitialRoom);
}

void TCharCollection::Append(const TCharCollection& other) {
    Chars += other.Chars;
    Positions.insert(Positions.end(), other.Positions.begin(), other.Positions.end());
}

TokenObj::TokenObj() {
    chars_.reserve(InitialRoom);
    positions_.reserve(InitialRoom);
}

void TokenObj::AppendWideChar(char16_t ch, std::int32_t position) {
    chars_.push_back(ch);
    positions_.push_back(position);
}

void TokenObj::AppendConverted(const TCharCollection& collection, int codePage) {
    const std::string_view bytes = collection.Chars;
    if (bytes.empty()) return;
    const std::size_t before = chars_.size();
    platform::AppendUtf16(bytes, codePage, chars_);
    if (chars_.size() == before) {
        codePage = platform::CP_ACP;
        platform::AppendUtf16(bytes, codePage, chars_);
    }
    if (chars_.size() - before == bytes.size()) {
        positions_.insert(positions_.end(), collection.Positions.begin(),
                          collection.Positions.end());
        return;
    }
    // Multibyte text: walk the characters; a character beyond the basic plane takes two
    // units, both at its first byte.
    positions_.reserve(chars_.size());
    std::size_t i = 0;
    while (i < bytes.size() && positions_.size() < chars_.size()) {
        const int length = MultibyteCharLength(bytes, i, codePage);
        const std::int32_t position = collection.Positions[i];
        positions_.push_back(position);
        if (codePage == platform::CP_UTF8 && length == 4 && positions_.size() < chars_.size())
            positions_.push_back(position);
        i += static_cast<std::size_t>(length);
    }
    // A converter that read a broken sequence differently leaves units without a
    // character of their own: they share the position of the last byte.
    const std::int32_t last = collection.Positions.back();
    while (positions_.size() < chars_.size()) positions_.push_back(last);
}

void TokenObj::Clear() {
    chars_.clear();
    positions_.clear();
}
