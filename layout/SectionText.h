#pragma once
// The characters of a text section. Most pages are Latin-1 throughout, so the text is
// kept at one byte a character until a character beyond U+00FF arrives, and at two from
// then on. Reading gives UTF-16 code units either way; the names follow std::u16string
// for what the two have in common.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class TSectionText {
  public:
    static constexpr std::size_t npos = std::u16string::npos;

    TSectionText() = default;
    TSectionText(const TSectionText& other);
    TSectionText& operator=(const TSectionText& other);
    TSectionText(TSectionText&& other) noexcept;
    TSectionText& operator=(TSectionText&& other) noexcept;
    ~TSectionText() = default;

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    char16_t operator[](std::size_t i) const {
        return wide_ ? Wide()[i] : static_cast<char16_t>(Narrow()[i]);
    }
    char16_t front() const { return (*this)[0]; }
    char16_t back() const { return (*this)[size_ - 1]; }
    // Two bytes a character (some character is beyond U+00FF, or was).
    bool IsWide() const { return wide_; }
    // Of the runs of characters between the separators `a` and `b` (and the ends), the
    // first that is not empty and the longest: their lengths.
    void RunsBetween(char16_t a, char16_t b, std::size_t& first, std::size_t& longest) const;

    void append(std::u16string_view text);
    TSectionText& operator+=(std::u16string_view text) {
        append(text);
        return *this;
    }
    void Set(std::size_t i, char16_t c);
    // Removes `count` characters from `pos` (at most to the end).
    void erase(std::size_t pos, std::size_t count);
    // Shortens the text to `n` characters; a longer `n` changes nothing.
    void Truncate(std::size_t n);
    std::size_t capacity() const { return capacity_; }
    void shrink_to_fit();

    std::size_t find(char16_t c, std::size_t from = 0) const;
    // Whether some character is `a` or `b`, or `pair` follows itself somewhere.
    bool ContainsAnyOrPair(char16_t a, char16_t b, char16_t pair) const;
    std::u16string str() const { return substr(0, size_); }
    std::u16string substr(std::size_t start, std::size_t count = npos) const;
    // The characters [start, start + count) as UTF-16: the text itself when it is wide,
    // else widened into `scratch`. Valid while neither changes.
    std::u16string_view View(std::size_t start, std::size_t count, std::u16string& scratch) const;

  private:
    const unsigned char* Narrow() const {
        return reinterpret_cast<const unsigned char*>(data_.get());
    }
    unsigned char* Narrow() { return reinterpret_cast<unsigned char*>(data_.get()); }
    const char16_t* Wide() const { return reinterpret_cast<const char16_t*>(data_.get()); }
    char16_t* Wide() { return reinterpret_cast<char16_t*>(data_.get()); }
    std::size_t CharBytes() const { return wide_ ? 2 : 1; }
    // Moves the text into a buffer of `room` characters, `wide` or not.
    void Reallocate(std::size_t room, bool wide);

    // 16 bytes in all: a page has a section for every paragraph and list item.
    std::unique_ptr<std::byte[]> data_;
    std::uint32_t size_ = 0;
    std::uint32_t capacity_ : 31 = 0;
    std::uint32_t wide_ : 1 = 0;
};
