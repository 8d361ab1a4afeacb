#pragma once
// Text as the reader collects it: bytes with the source position of each
// (TCharCollection), then UTF-16 with the source position of each unit (TokenObj).
// Positions let selection, search and anchors point back into the source.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TCharCollection {
  public:
    TCharCollection();

    void Add(char byte, std::int32_t position) {
        Chars.push_back(byte);
        Positions.push_back(position);
    }
    void Append(const TCharCollection& other);
    void Clear() {
        Chars.clear();
        Positions.clear();
    }
    int Count() const { return static_cast<int>(Chars.size()); }
    const std::string& AsString() const { return Chars; }

    std::string Chars;
    std::vector<std::int32_t> Positions;
};

class TokenObj {
  public:
    TokenObj();

    void AppendWideChar(char16_t ch, std::int32_t position);
    // Converts the collected bytes in `codePage` in one call and appends the result, each
    // unit with the position of the first byte of its character.
    void AppendConverted(const TCharCollection& collection, int codePage);
    void Clear();

    int Count() const { return static_cast<int>(chars_.size()); }
    const std::u16string& AsWideString() const { return chars_; }
    const std::vector<std::int32_t>& Positions() const { return positions_; }
    char16_t CharAt(int index) const { return chars_[static_cast<std::size_t>(index)]; }

  private:
    std::u16string chars_;
    std::vector<std::int32_t> positions_;
};

// Bytes of one character starting at `bytes[index]` in a multibyte code page (1 for
// single-byte pages and for a lead byte with nothing after it).
int MultibyteCharLength(std::string_view bytes, std::size_t index, int codePage);
