#pragma once
// A short text that many objects hold the same few values of (font faces, element tags):
// one copy of each distinct value lives for the whole run and every holder keeps a
// pointer to it. Copying and comparing are a pointer's work.

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace platform {

class Interned {
  public:
    Interned();  // the empty text
    Interned(std::string_view text);
    Interned(const std::string& text) : Interned(std::string_view(text)) {}
    Interned(const char* text) : Interned(std::string_view(text)) {}

    const std::string& str() const { return *text_; }
    operator const std::string&() const { return *text_; }
    operator std::string_view() const { return *text_; }
    const char* c_str() const { return text_->c_str(); }
    bool empty() const { return text_->empty(); }
    std::size_t size() const { return text_->size(); }

    // Equal texts are one copy, so equality is the pointers'.
    friend bool operator==(const Interned& a, const Interned& b) { return a.text_ == b.text_; }
    friend bool operator==(const Interned& a, std::string_view b) { return *a.text_ == b; }
    friend bool operator==(const Interned& a, const char* b) { return *a.text_ == b; }
    // An order that is fast and fixed for the run, not alphabetical.
    friend bool FastLess(const Interned& a, const Interned& b) { return a.text_ < b.text_; }
    friend std::ostream& operator<<(std::ostream& out, const Interned& a) {
        return out << *a.text_;
    }

  private:
    const std::string* text_;
};

// The few texts interned through it last, found again without the pool's lock and
// hashing: for one owner asking for the same few over and over (the tags of a page's
// elements). Not for sharing between threads.
class RecentInterned {
  public:
    Interned Get(std::string_view text);

  private:
    std::array<Interned, 8> recent_;
    std::uint8_t next_ = 0;
};

}  // namespace platform
