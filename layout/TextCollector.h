#pragma once
// Where copying the selection sends its text: pieces of text and line ends, then a
// final call that gives the number of characters.

#include <string>
#include <string_view>

class TTextCollector {
public:
    virtual ~TTextCollector() = default;
    virtual void AddText(std::u16string_view text) = 0;
    virtual void AddLineEnd() { AddText(u"\r\n"); }
    virtual int Finish() = 0;
};

// Only counts.
class SelTextCount : public TTextCollector {
public:
    void AddText(std::u16string_view text) override { count_ += static_cast<int>(text.size()); }
    int Finish() override { return count_; }

private:
    int count_ = 0;
};

// Copies into the caller's buffer, up to its size.
class SelTextBuf : public TTextCollector {
public:
    SelTextBuf(std::u16string& buffer, int bufferSize) : buffer_(buffer), size_(bufferSize) {
        if (size_ >= 1) buffer_.clear();
    }
    void AddText(std::u16string_view text) override {
        const int room = size_ - static_cast<int>(buffer_.size());
        if (room > 0) buffer_.append(text.substr(0, static_cast<std::size_t>(room)));
    }
    int Finish() override { return static_cast<int>(buffer_.size()); }

private:
    std::u16string& buffer_;
    int size_;
};

// Gathers up to a length and puts the text on the clipboard at the end.
class ClipBuffer : public TTextCollector {
public:
    explicit ClipBuffer(int length) : length_(length) {}
    void AddText(std::u16string_view text) override {
        const int room = length_ - static_cast<int>(text_.size());
        if (room > 0) text_.append(text.substr(0, static_cast<std::size_t>(room)));
    }
    int Finish() override;
    const std::u16string& Text() const { return text_; }

private:
    int length_;
    std::u16string text_;
};
