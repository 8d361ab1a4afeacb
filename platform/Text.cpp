#include "platform/Text.h"

#include <QCollator>
#include <QLocale>
#include <QString>

#include <array>

#include "platform/CodePage.h"

namespace platform {

namespace {

struct CaseTables {
    std::array<unsigned char, 256> upper{};
    std::array<unsigned char, 256> lower{};
    CaseTables() {
        for (int b = 0; b < 256; ++b) upper[b] = lower[b] = static_cast<unsigned char>(b);
        auto pair = [this](int small, int capital) {
            upper[small] = static_cast<unsigned char>(capital);
            lower[capital] = static_cast<unsigned char>(small);
        };
        for (int c = 'a'; c <= 'z'; ++c) pair(c, c - 0x20);
        for (int c = 0xE0; c <= 0xFE; ++c)
            if (c != 0xF7) pair(c, c - 0x20);  // not the division sign
        pair(0x9A, 0x8A);                      // š Š
        pair(0x9C, 0x8C);                      // œ Œ
        pair(0x9E, 0x8E);                      // ž Ž
        pair(0xFF, 0x9F);                      // ÿ Ÿ
    }
};

const CaseTables& Tables() {
    static const CaseTables tables;
    return tables;
}

std::string Map(std::string_view text, const std::array<unsigned char, 256>& table) {
    std::string out(text);
    for (auto& c : out) c = static_cast<char>(table[static_cast<unsigned char>(c)]);
    return out;
}

QCollator& Collator() {
    static QCollator collator = [] {
        QCollator c(QLocale(QLocale::Portuguese, QLocale::Brazil));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setNumericMode(false);
        c.setIgnorePunctuation(false);
        return c;
    }();
    return collator;
}

QString ToQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

const QLocale& UsersLocale() {
    static const QLocale locale(QLocale::Portuguese, QLocale::Brazil);
    return locale;
}

// Cases the text with the locale's mapping when that keeps every character in place;
// otherwise (ß to SS and the like) code point by code point, each to its single
// counterpart, so that offsets into the text still hold.
std::u16string MapCase(std::u16string_view text, bool upper) {
    if (text.empty()) return {};
    const QString source = ToQString(text);
    const QString mapped = upper ? UsersLocale().toUpper(source) : UsersLocale().toLower(source);
    if (mapped.size() == source.size()) return mapped.toStdU16String();
    std::u16string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        char32_t c = out[i];
        const bool pair =
            QChar::isHighSurrogate(c) && i + 1 < out.size() && QChar::isLowSurrogate(out[i + 1]);
        if (pair) c = QChar::surrogateToUcs4(out[i], out[i + 1]);
        const char32_t m = upper ? QChar::toUpper(c) : QChar::toLower(c);
        if (pair) {
            if (QChar::requiresSurrogates(m)) {
                out[i] = QChar::highSurrogate(m);
                out[i + 1] = QChar::lowSurrogate(m);
            }
            ++i;
        } else if (!QChar::requiresSurrogates(m)) {
            out[i] = static_cast<char16_t>(m);
        }
    }
    return out;
}

}  // namespace

std::u16string UpperCaseUtf16(std::u16string_view text) {
    return MapCase(text, true);
}
std::u16string LowerCaseUtf16(std::u16string_view text) {
    return MapCase(text, false);
}

std::string AnsiUpperCase(std::string_view text) { return Map(text, Tables().upper); }
std::string AnsiLowerCase(std::string_view text) { return Map(text, Tables().lower); }

std::string AsciiLowerCase(std::string_view text) {
    std::string out(text);
    for (auto& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 0x20);
    return out;
}

int CompareTextUtf16(std::u16string_view a, std::u16string_view b) {
    const int r = Collator().compare(ToQString(a), ToQString(b));
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int AnsiCompareText(std::string_view a, std::string_view b) {
    return CompareTextUtf16(ToUtf16(a, CP_ACP), ToUtf16(b, CP_ACP));
}

}  // namespace platform
