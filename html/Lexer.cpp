#include "html/Lexer.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "html/Anchors.h"
#include "html/Charsets.h"
#include "html/Entities.h"
#include "platform/CodePage.h"
#include "style/ValueText.h"

namespace {

constexpr unsigned char CR = 13;
constexpr unsigned char LF = 10;
constexpr unsigned char TAB = 9;
constexpr std::size_t MaxTagName = 255;
constexpr std::size_t MaxEntityName = 11;
constexpr std::size_t MaxReferenceBytes = 11;

inline bool IsLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
inline bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
inline bool IsHexDigit(unsigned char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
inline int HexValue(unsigned char c) {
    if (IsDigit(c)) return c - '0';
    return (c | 0x20) - 'a' + 10;
}
inline unsigned char AsciiUpper(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c;
}

// Code pages where a byte from 0x80 up is not a character on its own.
bool IsMultibyteCodePage(int codePage) {
    switch (codePage) {
        case 932:
        case 936:
        case 949:
        case 950:
        case 1361:
        case platform::CP_UTF8:
            return true;
        default:
            return false;
    }
}

// A code point as UTF-16: one unit, two for a character beyond the basic plane, the
// replacement character beyond Unicode.
std::u16string CodeToUtf16(std::uint32_t code) {
    if (code <= 0xFFFF) return std::u16string(1, static_cast<char16_t>(code));
    if (code > 0x10FFFF) return u"\uFFFD";
    code -= 0x10000;
    return {static_cast<char16_t>(0xD800 + (code >> 10)),
            static_cast<char16_t>(0xDC00 + (code & 0x3FF))};
}

}  // namespace

bool ReadDecimalNumber(std::string_view text, std::int32_t& value) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < n && IsDigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t expDigits = 0;
        while (i < n && IsDigit(static_cast<unsigned char>(text[i]))) ++i, ++expDigits;
        if (expDigits == 0) return false;
    }
    if (i != n) return false;
    // Never strtod: it reads the decimal separator of the process locale, and under
    // pt_BR "51.5" would stop at the point.
    double d = 0;
    ReadReal(text, d);
    const double r = std::nearbyint(d);  // the default rounding: halves to the even neighbour
    if (!(r >= std::numeric_limits<std::int32_t>::min()))
        value = std::numeric_limits<std::int32_t>::min();
    else if (r > std::numeric_limits<std::int32_t>::max())
        value = std::numeric_limits<std::int32_t>::max();
    else
        value = static_cast<std::int32_t>(r);
    return true;
}

// One character reference as read: its kind, its code and every character read for it
// (kept as literal text when nothing was recognised).
struct THtmlReader::Reference {
    enum Kind { Nothing, Numeric, Named } kind = Nothing;
    std::uint32_t code = 0;
    std::int32_t position = 0;
    std::string raw;
    std::vector<std::int32_t> rawPositions;
};

THtmlReader::THtmlReader() = default;

// ---------------------------------------------------------------- the document text

TPreparedEncoding THtmlReader::PrepareDocument(std::string text) {
    const std::size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    Converted = false;
    start_ = 0;
    TPreparedEncoding result = TPreparedEncoding::AsWritten;
    if (text.size() > 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        start_ = 3;
        result = TPreparedEncoding::Utf8ByteOrder;
    } else if (HasIso2022JpEscape(text)) {
        text = Iso2022JpToShiftJis(text);
        Converted = true;
        result = TPreparedEncoding::ShiftJis;
    }
    document_ = std::move(text);
    ResetReadPosition();
    return result;
}

void THtmlReader::ResetReadPosition() {
    position_ = start_;
    include_.clear();
    includePosition_ = 0;
    inInclude_ = false;
    lineEnd_ = 0;
    inComment_ = false;
    CharPos = -1;
    CurChar = UpperChar = ' ';
    Sy = symEof;
    HeadingLevel = 0;
    TagPos = 0;
    Token.Clear();
    Attributes.Clear();
}

bool THtmlReader::CharsetFromName(std::string_view name, int& charset) {
    const TCharsetMatch match = FindCharset(name);
    if (!match.found) return false;
    if (match.eucJp && !Converted) {
        // Same length, same offsets: the read pointer stays where it is.
        EucJpToShiftJis(document_);
        Converted = true;
    }
    charset = match.charset;
    return true;
}

int THtmlReader::CodePage() const {
    return CurrentCodePage ? CurrentCodePage() : platform::CP_ACP;
}

// ---------------------------------------------------------------- characters

void THtmlReader::ReportProgress() {
    if (PreScan || !OnProgress || document_.empty()) return;
    OnProgress(static_cast<int>(static_cast<long long>(position_) * ProgressBase /
                                static_cast<long long>(document_.size())));
}

unsigned char THtmlReader::ReadRawCharSlow() {
    if (inInclude_) {
        if (includePosition_ < include_.size())
            return static_cast<unsigned char>(include_[includePosition_++]);
        inInclude_ = false;
        include_.clear();
        includePosition_ = 0;
    }
    if (position_ >= document_.size()) return EofChar;
    const auto c = static_cast<unsigned char>(document_[position_++]);
    ++CharPos;
    if ((position_ & 4095) == 0) ReportProgress();
    return c;
}

unsigned char THtmlReader::PeekRawChar() const {
    if (inInclude_ && includePosition_ < include_.size())
        return static_cast<unsigned char>(include_[includePosition_]);
    if (position_ >= document_.size()) return EofChar;
    return static_cast<unsigned char>(document_[position_]);
}

// After "<!--": on to the "--" (any number of dashes, then blanks) that a '>' follows.
void THtmlReader::SkipCommentBody(bool fromCurrent) {
    bool first = true;
    for (;;) {
        if (!(first && fromCurrent)) ReadChar();
        first = false;
        while (CurChar != '-') {
            if (CurChar == EofChar) throw EParseError("Open Comment at End of HTML File");
            ReadChar();
        }
        ReadChar();
        if (CurChar != '-') {
            first = true;
            fromCurrent = true;  // this character may itself start the next dash
            continue;
        }
        while (CurChar == '-') ReadChar();
        while (CurChar == ' ' || CurChar == CR) ReadChar();
        if (CurChar == '>') return;
        first = true;
        fromCurrent = true;
    }
}

void THtmlReader::OpenMarkup() {
    while (!NoCommentMode && PeekRawChar() == '!') {
        ReadRawChar();  // the '!'
        // A reference in an include parameter reads on with NextChar, so a comment can
        // open inside a comment: the outer one must stay open when the inner one ends.
        const bool outerComment = inComment_;
        inComment_ = true;
        ReadChar();
        if (CurChar == '-' && PeekRawChar() == '-') {
            ReadChar();
            if (OnInclude && PeekRawChar() == '#') {
                ReadChar();
                ReadInclude();
            } else {
                SkipCommentBody(false);
            }
        } else {
            while (CurChar != '>') {
                if (CurChar == EofChar) throw EParseError("Open Comment at End of HTML File");
                ReadChar();
            }
        }
        inComment_ = outerComment;
        ReadChar();
        if (UpperChar != '<') return;
    }
}

void THtmlReader::SkipBlanks() {
    while (CurChar == ' ' || CurChar == CR) NextChar();
}

// At the '#' of "<!--#": command and parameters, the rest of the comment, then the text
// the host gives for it is read next.
void THtmlReader::ReadInclude() {
    // The token is left alone: the comment may stand inside a run of text whose first
    // part is already in it.
    const auto isNameChar = [](unsigned char c) { return IsLetter(c) || IsDigit(c) || c == '_'; };
    ReadChar();
    std::string command;
    while (isNameChar(CurChar)) {
        command += static_cast<char>(CurChar);
        ReadChar();
    }
    platform::StringList params;
    for (;;) {
        while (CurChar == ' ' || CurChar == CR) ReadChar();
        if (!IsLetter(CurChar)) break;
        std::string name;
        while (isNameChar(CurChar)) {
            name += static_cast<char>(CurChar);
            ReadChar();
        }
        while (CurChar == ' ' || CurChar == CR) ReadChar();
        std::string value;
        if (CurChar == '=') {
            ReadChar();
            while (CurChar == ' ' || CurChar == CR) ReadChar();
            if (CurChar == '"' || CurChar == '\'') {
                const unsigned char quote = CurChar;
                ReadChar();
                while (CurChar != quote && CurChar != EofChar) {
                    if (CurChar == '&') {
                        value += ReadEntityToString(platform::CP_ACP);
                        continue;
                    }
                    value += CurChar == CR ? ' ' : static_cast<char>(CurChar);
                    ReadChar();
                }
                if (CurChar == quote) ReadChar();
            } else {
                while (CurChar != ' ' && CurChar != CR && CurChar != '-' && CurChar != '>' &&
                       CurChar != EofChar) {
                    value += static_cast<char>(CurChar);
                    ReadChar();
                }
            }
        }
        params.add(name + "=" + value);
    }
    SkipCommentBody(true);

    std::string result;
    OnInclude(command, params, result);
    if (result.empty()) return;
    if (inInclude_) result.append(include_, includePosition_);
    include_ = std::move(result);
    includePosition_ = 0;
    inInclude_ = true;
}

// ---------------------------------------------------------------- character references

THtmlReader::Reference THtmlReader::ReadReference() {
    Reference ref;
    ref.position = CharPos;
    ref.rawPositions.reserve(16);  // room for the longest name
    const auto keep = [&] {
        ref.raw += static_cast<char>(CurChar);
        ref.rawPositions.push_back(CharPos);
        NextChar();
    };
    keep();  // '&'
    if (CurChar == '#') {
        keep();
        std::uint32_t code = 0;
        if (CurChar == 'x' || CurChar == 'X') {
            keep();
            if (!IsHexDigit(CurChar)) return ref;
            while (IsHexDigit(CurChar)) {
                code = code * 16 + static_cast<std::uint32_t>(HexValue(CurChar));
                NextChar();
            }
        } else if (IsDigit(CurChar)) {
            while (IsDigit(CurChar)) {
                code = code * 10 + static_cast<std::uint32_t>(CurChar - '0');
                NextChar();
            }
        } else {
            return ref;
        }
        if (CurChar == ';') NextChar();
        ref.kind = Reference::Numeric;
        ref.code = code;
        return ref;
    }
    // A name: letters and digits. Anything else after '&' stays where it is, so the
    // closing quote of an attribute value is never taken as part of a name.
    if (!IsLetter(CurChar) && !IsDigit(CurChar)) return ref;
    std::string name;
    name += static_cast<char>(CurChar);
    keep();
    while (name.size() < MaxEntityName && (IsLetter(CurChar) || IsDigit(CurChar))) {
        name += static_cast<char>(CurChar);
        keep();
    }
    const int code = LookupEntity(name);
    if (code < 0) return ref;
    if (CurChar == ';') NextChar();
    ref.kind = Reference::Named;
    ref.code = static_cast<std::uint32_t>(code);
    return ref;
}

void THtmlReader::AddReferenceToText(const Reference& ref, TCharCollection& collection,
                                     int codePage) {
    const auto addUnits = [&](const std::u16string& units) {
        Token.AppendConverted(collection, codePage);
        collection.Clear();
        for (char16_t u : units) Token.AppendWideChar(u, ref.position);
    };
    switch (ref.kind) {
        case Reference::Nothing:
            for (std::size_t i = 0; i < ref.raw.size(); ++i)
                collection.Add(ref.raw[i], ref.rawPositions[i]);
            return;
        case Reference::Named:
            addUnits(CodeToUtf16(ref.code));
            return;
        case Reference::Numeric:
            if (ref.code < 32) {
                collection.Add('?', ref.position);
            } else if (ref.code <= 255) {
                // A byte of the document's code page; in a multibyte page a byte from 0x80 up
                // means nothing alone, so it is read as the Latin character it names there.
                if (ref.code >= 0x80 && IsMultibyteCodePage(codePage))
                    addUnits(platform::ToUtf16(std::string(1, static_cast<char>(ref.code)),
                                               platform::CP_ACP));
                else
                    collection.Add(static_cast<char>(ref.code), ref.position);
            } else {
                addUnits(CodeToUtf16(ref.code));
            }
            return;
    }
}

std::string THtmlReader::ReadEntityToString(int codePage) {
    std::string out;
    do {
        const Reference ref = ReadReference();
        if (ref.kind == Reference::Nothing) {
            out += ref.raw;
            break;  // the character after the text kept is not a reference
        }
        if (ref.kind == Reference::Numeric && ref.code < 32) {
            out += '?';
        } else if (ref.kind == Reference::Numeric && ref.code <= 255 &&
                   !(ref.code >= 0x80 && IsMultibyteCodePage(codePage))) {
            out += static_cast<char>(ref.code);
        } else {
            std::u16string units =
                ref.code <= 255 && ref.kind == Reference::Numeric
                    ? platform::ToUtf16(std::string(1, static_cast<char>(ref.code)),
                                        platform::CP_ACP)
                    : CodeToUtf16(ref.code);
            std::string bytes = platform::FromUtf16(units, codePage);
            if (bytes.size() > MaxReferenceBytes) bytes.resize(MaxReferenceBytes);
            out += bytes;
        }
    } while (CurChar == '&');
    return out;
}

// ---------------------------------------------------------------- symbols

void THtmlReader::NextSymbol() {
    Token.Clear();
    if (CurChar == EofChar) {
        Sy = symEof;
    } else if (CurChar == '<') {
        ReadTag();
    } else if (CurChar <= 8) {
        throw EParseError("Not an HTML or Text document");
    } else {
        ReadText();
    }
}

void THtmlReader::ReadTag() {
    TagPos = CharPos;
    const std::int32_t at = CharPos;
    NextChar();
    bool endTag = false;
    if (CurChar == '/') {
        endTag = true;
        NextChar();
    } else if (!IsLetter(CurChar)) {
        Sy = symText;
        Token.AppendWideChar(u'<', at);
        return;
    }
    char name[MaxTagName];
    std::size_t length = 0;
    while (IsLetter(CurChar)) {
        if (length < MaxTagName) name[length++] = static_cast<char>(UpperChar);
        NextChar();
    }
    Sy = LookupTag(std::string_view(name, length));
    if (endTag) Sy = EndSymbolOf(Sy);  // unknown for tags without an end symbol
    HeadingLevel = 0;
    SkipBlanks();
    if ((Sy == symH || Sy == symHEnd) && CurChar >= '1' && CurChar <= '6') {
        HeadingLevel = CurChar - '0';
        NextChar();
    }
    Attributes.Clear();
    Attributes.SetCodePage(CodePage());
    while (ReadAttribute()) {
    }
    while (CurChar != '>' && CurChar != EofChar) NextChar();
    // The style sheet parser starts at the '>' of STYLE.
    if (CurChar == '>' && Sy != symStyle) NextChar();
}

bool THtmlReader::ReadAttribute() {
    SkipBlanks();
    if (!IsLetter(CurChar)) return false;
    auto attribute = std::make_unique<TAttribute>();
    while (IsLetter(CurChar) || IsDigit(CurChar) || CurChar == '-') {
        attribute->AttrName += static_cast<char>(UpperChar);
        NextChar();
    }
    attribute->Symbol = LookupAttribute(attribute->AttrName);
    attribute->IntValue = attribute->Symbol == symBorder ? 1 : 0;
    SkipBlanks();
    if (CurChar == '=') {
        NextChar();
        SkipBlanks();
        std::string& value = attribute->StrValue;
        if (CurChar == '"' || CurChar == '\'') {
            const unsigned char quote = CurChar;
            const int codePage = CodePage();
            NextChar();
            while (CurChar != quote && CurChar != EofChar) {
                if (CurChar == CR) {
                    NextChar();
                } else if (CurChar == '&') {
                    value += ReadEntityToString(codePage);
                } else {
                    value += static_cast<char>(CurChar);
                    NextChar();
                }
            }
            if (CurChar == quote) NextChar();
            std::string_view number = TrimView(value);
            if (!number.empty() && number.back() == '%' && number.find('%') == number.size() - 1)
                number.remove_suffix(1);
            attribute->IntValue = 0;
            if (!number.empty() && (number[0] == '+' || number[0] == '-' || number[0] == '.' ||
                                    IsDigit(static_cast<unsigned char>(number[0]))))
                ReadDecimalNumber(number, attribute->IntValue);
        } else if (CurChar == '+' || CurChar == '-' || IsDigit(CurChar)) {
            while (CurChar != ' ' && CurChar != CR && CurChar != '%' && CurChar != '>' &&
                   CurChar != EofChar) {
                value += static_cast<char>(CurChar);
                NextChar();
            }
            SkipBlanks();
            if (!ReadDecimalNumber(value, attribute->IntValue)) attribute->IntValue = 0;
            if (CurChar == '%') {
                value += '%';
                NextChar();
            }
        } else {
            while (CurChar != ' ' && CurChar != CR && CurChar != '>' && CurChar != EofChar) {
                value += static_cast<char>(CurChar);
                NextChar();
            }
        }
    }
    if (attribute->Symbol == symID && !attribute->StrValue.empty() && !PreScan && Anchors)
        Anchors->AddPositionAnchor(attribute->StrValue, TagPos);
    Attributes.Add(std::move(attribute));
    return true;
}

// Most of a page's text is plain characters and single blanks: they are taken straight
// from the text, just as NextChar would deliver them one by one, up to the next
// character that needs its care (a line end, more blanks, '<', '&', a control
// character).
namespace {

// Where a run of plain text from `from` ends: at the first character that is a blank,
// a control, '<' or '&', except that a single blank between two plain characters stays
// in the run, as ReadText would keep it. Most of a page's bytes pass here, so sixteen
// are looked at a time where the processor can.
std::size_t PlainRunEnd(const unsigned char* bytes, std::size_t from, std::size_t size) {
    static constexpr auto kPlain = [] {
        std::array<bool, 256> plain{};
        for (int c = ' ' + 1; c < 256; ++c) plain[c] = c != '<' && c != '&';
        return plain;
    }();
    std::size_t end = from;
#if defined(__SSE2__)
    const __m128i lowest = _mm_set1_epi8(' ' + 1), lt = _mm_set1_epi8('<'),
                  amp = _mm_set1_epi8('&'), blank = _mm_set1_epi8(' ');
    auto plain = [&](__m128i v) {
        const __m128i above = _mm_cmpeq_epi8(_mm_max_epu8(v, lowest), v);
        return _mm_andnot_si128(_mm_or_si128(_mm_cmpeq_epi8(v, lt), _mm_cmpeq_epi8(v, amp)), above);
    };
    for (; end + 17 <= size; end += 16) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + end));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + end + 1));
        const __m128i kept =
            _mm_or_si128(plain(here), _mm_and_si128(_mm_cmpeq_epi8(here, blank), plain(next)));
        const auto stops = static_cast<unsigned>(~_mm_movemask_epi8(kept)) & 0xFFFFu;
        if (stops != 0) return end + static_cast<unsigned>(__builtin_ctz(stops));
    }
#endif
    for (; end < size; ++end) {
        if (kPlain[bytes[end]]) continue;
        if (bytes[end] != ' ' || end + 1 >= size || !kPlain[bytes[end + 1]]) break;
    }
    return end;
}

}  // namespace

void THtmlReader::TakePlainRun(TCharCollection& collection) {
    if (inInclude_) return;
    const std::size_t start = position_;
    const auto* bytes = reinterpret_cast<const unsigned char*>(document_.data());
    const std::size_t end = PlainRunEnd(bytes, start, document_.size());
    if (end == start) return;
    const std::size_t count = end - start;
    collection.Chars.append(document_, start, count);
    auto& positions = collection.Positions;
    const std::size_t at = positions.size();
    positions.resize(at + count);
    std::int32_t* out = positions.data() + at;
    const std::int32_t first = CharPos + 1;
    std::size_t i = 0;
#if defined(__SSE2__)
    for (__m128i next = _mm_add_epi32(_mm_set1_epi32(first), _mm_set_epi32(3, 2, 1, 0));
         i + 4 <= count; i += 4, next = _mm_add_epi32(next, _mm_set1_epi32(4)))
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), next);
#endif
    for (; i < count; ++i) out[i] = first + static_cast<std::int32_t>(i);
    CharPos += static_cast<std::int32_t>(count);
    // Progress is told at every multiple of 4096 bytes, as if read one by one.
    for (std::size_t mark = (start | 4095) + 1; mark <= end; mark += 4096) {
        position_ = mark;
        ReportProgress();
    }
    position_ = end;
    lineEnd_ = 0;
}

void THtmlReader::ReadText() {
    Sy = symText;
    const int codePage = CodePage();
    TCharCollection& collection = collection_;
    collection.Clear();
    for (;;) {
        const unsigned char c = CurChar;
        if (c == '<' || c == EofChar || c <= 8) break;
        if (c == ' ' || c == CR || c == LF || c == TAB) {
            collection.Add(' ', CharPos);
            do NextChar();
            while (CurChar == ' ' || CurChar == CR || CurChar == LF || CurChar == TAB);
            continue;
        }
        if (c == '&') {
            if (!PreScan) Token.AppendConverted(collection, codePage);
            collection.Clear();
            AddReferenceToText(ReadReference(), collection, codePage);
            continue;
        }
        collection.Add(static_cast<char>(c), CharPos);
        TakePlainRun(collection);
        NextChar();
    }
    // The pre-scan only counts links: its text is not needed.
    if (!PreScan) Token.AppendConverted(collection, codePage);
    collection.Clear();
}
