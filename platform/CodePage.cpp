#include "platform/CodePage.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <map>
#include <memory>
#include <unordered_map>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {

namespace {

const char* IconvName(int codePage) {
    switch (codePage) {
        case 874: return "CP874";
        case 932: return "CP932";
        case 936: return "CP936";
        case 949: return "CP949";
        case 950: return "CP950";
        case 1250: return "CP1250";
        case 1251: return "CP1251";
        case 1252: return "CP1252";
        case 1253: return "CP1253";
        case 1254: return "CP1254";
        case 1255: return "CP1255";
        case 1256: return "CP1256";
        case 1257: return "CP1257";
        case 1258: return "CP1258";
        case 1361: return "JOHAB";
        default: return nullptr;
    }
}

bool IsSingleByte(int codePage) { return codePage == 874 || (codePage >= 1250 && codePage <= 1258); }

int Normalize(int codePage) {
    if (codePage == 0 || codePage == 1) return CP_ACP;
    if (codePage == CP_UTF8 || IconvName(codePage)) return codePage;
    return CP_ACP;
}

class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (ok()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }
    void reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t cd_;
};

// The 256 characters of a single-byte code page. Bytes the code page leaves undefined
// stand for themselves (U+0081 for 0x81), as the pages' own system read them.
struct SingleByteTable {
    std::array<char16_t, 256> toUnicode{};
    std::unordered_map<char16_t, char> fromUnicode;
};

const SingleByteTable& TableFor(int codePage) {
    static std::map<int, std::unique_ptr<SingleByteTable>> tables;
    auto& slot = tables[codePage];
    if (slot) return *slot;
    slot = std::make_unique<SingleByteTable>();
    Iconv cd("UTF-16LE", IconvName(codePage));
    for (int b = 0; b < 256; ++b) {
        char16_t result = static_cast<char16_t>(b);
        if (cd.ok() && b >= 0x80) {
            cd.reset();
            char in = static_cast<char>(b);
            char* inPtr = &in;
            std::size_t inLeft = 1;
            char out[8];
            char* outPtr = out;
            std::size_t outLeft = sizeof out;
            if (iconv(cd.get(), &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1)) {
                iconv(cd.get(), nullptr, nullptr, &outPtr, &outLeft);  // flush a held base letter
                if (outPtr - out >= 2)
                    result = static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                                                   (static_cast<unsigned char>(out[1]) << 8));
            }
        }
        slot->toUnicode[b] = result;
    }
    for (int b = 255; b >= 0; --b) slot->fromUnicode[slot->toUnicode[b]] = static_cast<char>(b);
    return *slot;
}

std::u16string DecodeUtf8(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            out.push_back(c);
            ++i;
            continue;
        }
        int extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if ((c & 0xE0) == 0xC0) {
            extra = 1, cp = c & 0x1F, min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, cp = c & 0x0F, min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, cp = c & 0x07, min = 0x10000;
        } else {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        std::size_t j = 1;
        for (; j <= static_cast<std::size_t>(extra); ++j) {
            if (i + j >= n || (p[i + j] & 0xC0) != 0x80) break;
            cp = (cp << 6) | (p[i + j] & 0x3F);
        }
        if (j <= static_cast<std::size_t>(extra) || cp < min || cp > 0x10FFFF ||
            (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(u'\uFFFD');  // one replacement per byte that starts nothing valid
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += extra + 1;
    }
    return out;
}

std::string EncodeUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;  // a lone surrogate
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

// Multibyte code pages through iconv, one invalid byte at a time replaced.
std::u16string DecodeMultibyte(std::string_view bytes, int codePage) {
    static std::map<int, std::unique_ptr<Iconv>> converters;
    auto& cd = converters[codePage];
    if (!cd) cd = std::make_unique<Iconv>("UTF-16LE", IconvName(codePage));
    std::u16string out;
    if (!cd->ok()) return out;
    cd->reset();
    std::string buffer(bytes.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t r = iconv(cd->get(), &in, &inLeft, &outPtr, &outLeft);
        const std::size_t produced = (outPtr - buffer.data()) / 2;
        for (std::size_t k = 0; k < produced; ++k)
            out.push_back(static_cast<char16_t>(static_cast<unsigned char>(buffer[2 * k]) |
                                                (static_cast<unsigned char>(buffer[2 * k + 1]) << 8)));
        if (r != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) continue;
        // An undefined or cut-short sequence: a lone byte below 0x100 stands for itself,
        // anything else for the replacement character.
        const unsigned char bad = static_cast<unsigned char>(*in);
        out.push_back(bad < 0x80 ? static_cast<char16_t>(bad) : u'\uFFFD');
        ++in;
        --inLeft;
        cd->reset();
    }
    return out;
}

std::string EncodeMultibyte(std::u16string_view text, int codePage) {
    static std::map<int, std::unique_ptr<Iconv>> converters;
    auto& cd = converters[codePage];
    if (!cd) cd = std::make_unique<Iconv>(IconvName(codePage), "UTF-16LE");
    std::string out;
    if (!cd->ok()) return out;
    cd->reset();
    std::string input(text.size() * 2, '\0');
    for (std::size_t k = 0; k < text.size(); ++k) {
        input[2 * k] = static_cast<char>(text[k] & 0xFF);
        input[2 * k + 1] = static_cast<char>(text[k] >> 8);
    }
    std::string buffer(text.size() * 4 + 16, '\0');
    char* in = input.data();
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t r = iconv(cd->get(), &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer.data(), outPtr - buffer.data());
        if (r != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) continue;
        out.push_back('?');
        const auto unit = static_cast<unsigned char>(in[1]);
        const std::size_t skip = (unit >= 0xD8 && unit <= 0xDB && inLeft >= 4) ? 4 : 2;
        in += std::min(skip, inLeft);
        inLeft -= std::min(skip, inLeft);
        cd->reset();
    }
    return out;
}

}  // namespace

bool IsCodePageSupported(int codePage) {
    return codePage == 0 || codePage == 1 || codePage == CP_UTF8 || IconvName(codePage) != nullptr;
}

std::u16string ToUtf16(std::string_view bytes, int codePage) {
    codePage = Normalize(codePage);
    if (codePage == CP_UTF8) return DecodeUtf8(bytes);
    if (!IsSingleByte(codePage)) return DecodeMultibyte(bytes, codePage);
    const auto& table = TableFor(codePage);
    std::u16string out(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        out[i] = table.toUnicode[static_cast<unsigned char>(bytes[i])];
    return out;
}

void AppendUtf16(std::string_view bytes, int codePage, std::u16string& out) {
    codePage = Normalize(codePage);
    if (codePage == CP_UTF8 || !IsSingleByte(codePage)) {
        out += ToUtf16(bytes, codePage);
        return;
    }
    // The bytes below 0x80 are ASCII in every single-byte page: widened as they are,
    // then the others looked up.
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t count = bytes.size();
    const std::size_t at = out.size();
    out.resize(at + count);
    char16_t* o = out.data() + at;
    const std::array<char16_t, 256>* table = nullptr;
    auto beyondAscii = [&](unsigned char byte) {
        if (!table) table = &TableFor(codePage).toUnicode;
        return (*table)[byte];
    };
    WidenBytes(in, count, o);
    // Then the few bytes beyond ASCII are looked up, found sixteen a step.
    std::size_t i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= count; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        for (unsigned high = static_cast<unsigned>(_mm_movemask_epi8(v)); high != 0;
             high &= high - 1) {
            const std::size_t k = i + static_cast<std::size_t>(__builtin_ctz(high));
            o[k] = beyondAscii(in[k]);
        }
    }
#endif
    for (; i < count; ++i)
        if (in[i] >= 0x80) o[i] = beyondAscii(in[i]);
}

void WidenBytes(const unsigned char* from, std::size_t count, char16_t* to) {
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= count; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i + 8), _mm_unpackhi_epi8(bytes, zero));
    }
#endif
    for (; i < count; ++i) to[i] = from[i];
}

std::string FromUtf16(std::u16string_view text, int codePage) {
    codePage = Normalize(codePage);
    if (codePage == CP_UTF8) return EncodeUtf8(text);
    if (!IsSingleByte(codePage)) return EncodeMultibyte(text, codePage);
    const auto& table = TableFor(codePage);
    std::string out(text.size(), '\0');
    std::size_t o = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) ++i;  // a pair: one '?'
        auto it = table.fromUnicode.find(c);
        out[o++] = it != table.fromUnicode.end() ? it->second : '?';
    }
    out.resize(o);
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) { return EncodeUtf8(text); }
std::u16string Utf8ToUtf16(std::string_view text) { return DecodeUtf8(text); }

}  // namespace platform
