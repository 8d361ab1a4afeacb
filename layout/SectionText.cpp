#include "layout/SectionText.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/CodePage.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr std::size_t kMaxChars = 0x7FFFFFFF;  // what the 31 bits of capacity hold

// Every page's text goes through this, so it takes 16 characters a step where the
// processor can (as does the widening back, platform::WidenBytes).
// Writes the low bytes of `text` to `to`; false if some character is beyond U+00FF
// (what was written is then of no use).
bool NarrowInto(std::u16string_view text, unsigned char* to) {
    const char16_t* from = text.data();
    const std::size_t count = text.size();
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF00));
    for (; i + 16 <= count; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i + 8));
        const __m128i beyond = _mm_and_si128(_mm_or_si128(a, b), high);
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(beyond, _mm_setzero_si128())) != 0xFFFF) return false;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), _mm_packus_epi16(a, b));
    }
#endif
    char16_t any = 0;
    for (; i < count; ++i) {
        any |= from[i];
        to[i] = static_cast<unsigned char>(from[i]);
    }
    return any < 0x100;
}

}  // namespace

TSectionText::TSectionText(const TSectionText& other) {
    *this = other;
}

TSectionText& TSectionText::operator=(const TSectionText& other) {
    if (this == &other) return *this;
    data_.reset();
    size_ = 0;
    capacity_ = 0;
    wide_ = other.wide_;
    if (other.size_ > 0) {
        Reallocate(other.size_, other.wide_);
        std::memcpy(data_.get(), other.data_.get(), other.size_ * other.CharBytes());
        size_ = other.size_;
    }
    return *this;
}

TSectionText::TSectionText(TSectionText&& other) noexcept
    : data_(std::move(other.data_)),
      size_(other.size_),
      capacity_(other.capacity_),
      wide_(other.wide_) {
    other.size_ = 0;
    other.capacity_ = 0;
    other.wide_ = 0;
}

TSectionText& TSectionText::operator=(TSectionText&& other) noexcept {
    if (this == &other) return *this;
    data_ = std::move(other.data_);
    size_ = other.size_;
    capacity_ = other.capacity_;
    wide_ = other.wide_;
    other.size_ = 0;
    other.capacity_ = 0;
    other.wide_ = 0;
    return *this;
}

void TSectionText::Reallocate(std::size_t room, bool wide) {
    if (room > kMaxChars)
        throw std::length_error("A text section cannot hold that many characters");
    room = std::max<std::size_t>(room, size_);
    std::unique_ptr<std::byte[]> moved;
    if (room > 0) moved = std::make_unique_for_overwrite<std::byte[]>(room * (wide ? 2 : 1));
    if (size_ > 0) {
        if (wide == static_cast<bool>(wide_)) {
            std::memcpy(moved.get(), data_.get(), size_ * CharBytes());
        } else {  // only ever widened: a wide text never becomes narrow again
            platform::WidenBytes(Narrow(), size_, reinterpret_cast<char16_t*>(moved.get()));
        }
    }
    data_ = std::move(moved);
    capacity_ = static_cast<std::uint32_t>(room);
    wide_ = wide;
}

void TSectionText::append(std::u16string_view text) {
    if (text.empty()) return;
    const std::size_t needed = size_ + text.size();
    if (needed > capacity_) {
        // Most sections get their text in one piece: the first is given just its room,
        // so that finishing has nothing to give back. Text that comes on arrives a word
        // or a character at a time: it grows in large steps.
        const std::size_t room =
            size_ == 0 ? needed
                       : std::min(std::max<std::size_t>(needed + needed / 2, 64), kMaxChars);
        Reallocate(std::max(room, needed), wide_);
    }
    if (!wide_ && !NarrowInto(text, Narrow() + size_)) Reallocate(capacity_, true);
    if (wide_) std::memcpy(Wide() + size_, text.data(), text.size() * 2);
    size_ = static_cast<std::uint32_t>(needed);
}

void TSectionText::Set(std::size_t i, char16_t c) {
    if (!wide_ && c >= 0x100) Reallocate(capacity_, true);
    if (wide_)
        Wide()[i] = c;
    else
        Narrow()[i] = static_cast<unsigned char>(c);
}

void TSectionText::erase(std::size_t pos, std::size_t count) {
    if (pos >= size_) return;
    count = std::min<std::size_t>(count, size_ - pos);
    const std::size_t bytes = CharBytes();
    std::memmove(data_.get() + pos * bytes, data_.get() + (pos + count) * bytes,
                 (size_ - pos - count) * bytes);
    size_ -= static_cast<std::uint32_t>(count);
}

void TSectionText::Truncate(std::size_t n) {
    if (n < size_) size_ = static_cast<std::uint32_t>(n);
}

void TSectionText::shrink_to_fit() {
    if (capacity_ > size_) Reallocate(size_, wide_);
}

std::size_t TSectionText::find(char16_t c, std::size_t from) const {
    if (from >= size_) return npos;
    if (wide_) {
        const char16_t* begin = Wide();
        const char16_t* at = std::find(begin + from, begin + size_, c);
        return at == begin + size_ ? npos : static_cast<std::size_t>(at - begin);
    }
    if (c >= 0x100) return npos;
    const void* at = std::memchr(Narrow() + from, c, size_ - from);
    return at ? static_cast<std::size_t>(static_cast<const unsigned char*>(at) - Narrow()) : npos;
}

std::u16string TSectionText::substr(std::size_t start, std::size_t count) const {
    std::u16string result;
    if (start > size_) throw std::out_of_range("TSectionText::substr");
    count = std::min<std::size_t>(count, size_ - start);
    if (wide_) return std::u16string(Wide() + start, count);
    result.resize(count);
    platform::WidenBytes(Narrow() + start, count, result.data());
    return result;
}

std::u16string_view TSectionText::View(std::size_t start, std::size_t count,
                                       std::u16string& scratch) const {
    if (start > size_) start = size_;
    count = std::min<std::size_t>(count, size_ - start);
    if (wide_) return std::u16string_view(Wide() + start, count);
    if (scratch.size() < count) scratch.resize(count);  // only grows: no filling each time
    platform::WidenBytes(Narrow() + start, count, scratch.data());
    return std::u16string_view(scratch.data(), count);
}

bool TSectionText::ContainsAnyOrPair(char16_t a, char16_t b, char16_t pair) const {
    if (wide_) {
        const char16_t* text = Wide();
        for (std::size_t i = 0; i < size_; ++i)
            if (text[i] == a || text[i] == b || (text[i] == pair && i > 0 && text[i - 1] == pair))
                return true;
        return false;
    }
    const unsigned char* text = Narrow();
    auto found = [](unsigned char c, char16_t wanted) { return wanted < 0x100 && c == wanted; };
    std::size_t k = 0;  // the first character not looked at yet
#if defined(__SSE2__)
    if (a < 0x100 && b < 0x100 && pair < 0x100 && size_ >= 17) {
        if (text[0] == a || text[0] == b) return true;
        const __m128i sa = _mm_set1_epi8(static_cast<char>(a)),
                      sb = _mm_set1_epi8(static_cast<char>(b)),
                      sp = _mm_set1_epi8(static_cast<char>(pair));
        // Each step looks at characters i + 1 .. i + 16, each with the one before it.
        std::size_t i = 0;
        for (; i + 17 <= size_; i += 16) {
            const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i + 1));
            const __m128i hit =
                _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(here, sa), _mm_cmpeq_epi8(here, sb)),
                             _mm_and_si128(_mm_cmpeq_epi8(here, sp), _mm_cmpeq_epi8(before, sp)));
            if (_mm_movemask_epi8(hit) != 0) return true;
        }
        k = i + 1;
    }
#endif
    for (; k < size_; ++k) {
        const unsigned char c = text[k];
        if (found(c, a) || found(c, b) || (found(c, pair) && k > 0 && text[k - 1] == c))
            return true;
    }
    return false;
}

void TSectionText::RunsBetween(char16_t a, char16_t b, std::size_t& first,
                               std::size_t& longest) const {
    first = longest = 0;
    std::size_t runStart = 0;
    auto separatorAt = [&](std::size_t i) {
        const std::size_t length = i - runStart;
        if (first == 0) first = length;
        longest = std::max(longest, length);
        runStart = i + 1;
    };
    std::size_t i = 0;
    if (wide_) {
        for (const char16_t* text = Wide(); i < size_; ++i)
            if (text[i] == a || text[i] == b) separatorAt(i);
    } else if (a < 0x100 && b < 0x100) {
        const unsigned char* text = Narrow();
#if defined(__SSE2__)
        const __m128i sa = _mm_set1_epi8(static_cast<char>(a)),
                      sb = _mm_set1_epi8(static_cast<char>(b));
        for (; i + 16 <= size_; i += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
            auto mask = static_cast<unsigned>(
                _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, sa), _mm_cmpeq_epi8(v, sb))));
            for (; mask != 0; mask &= mask - 1)
                separatorAt(i + static_cast<unsigned>(__builtin_ctz(mask)));
        }
#endif
        for (; i < size_; ++i)
            if (text[i] == a || text[i] == b) separatorAt(i);
    }
    separatorAt(size_);
}
