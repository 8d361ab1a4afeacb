#include "html/SymbolDump.h"

#include <sstream>

#include "html/Charsets.h"
#include "html/Lexer.h"
#include "platform/CodePage.h"

namespace {

// What the properties would make of a font character set, enough for the tests.
int CodePageOfCharset(int charset, int current) {
    switch (charset) {
        case ANSI_CHARSET:
            return 1252;
        case SHIFTJIS_CHARSET:
            return 932;
        case HANGEUL_CHARSET:
            return 949;
        case GB2312_CHARSET:
            return 936;
        case CHINESEBIG5_CHARSET:
            return 950;
        case RUSSIAN_CHARSET:
            return 1251;
        case GREEK_CHARSET:
            return 1253;
        default:
            return current;
    }
}

std::string Positions(const std::vector<std::int32_t>& positions) {
    std::string out;
    for (std::size_t i = 0; i < positions.size();) {
        std::size_t j = i;
        while (j + 1 < positions.size() && positions[j + 1] == positions[j] + 1) ++j;
        if (!out.empty()) out += ',';
        out += std::to_string(positions[i]);
        if (j > i) out += '-' + std::to_string(positions[j]);
        i = j + 1;
    }
    return out;
}

std::string Quoted(const std::string& bytes) {
    std::string out = "\"";
    for (unsigned char c : bytes) {
        if (c < 32) {
            out += "\\x" + std::string(1, "0123456789ABCDEF"[c >> 4]) + "0123456789ABCDEF"[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

}  // namespace

std::string DumpSymbols(std::string page, const SymbolDumpOptions& options) {
    std::ostringstream out;
    THtmlReader reader;
    int codePage = options.codePage;
    reader.CurrentCodePage = [&codePage] { return codePage; };
    if (!options.includes.empty()) {
        reader.OnInclude = [&](const std::string& command, const platform::StringList& params,
                               std::string& result) {
            std::string key = command;
            if (params.count() > 0) {
                const std::string line(params.at(0));
                key = line.substr(line.find('=') + 1);
            }
            out << "Include " << command;
            for (std::size_t i = 0; i < params.count(); ++i)
                out << ' ' << Quoted(std::string(params.at(i)));
            out << '\n';
            const auto it = options.includes.find(key);
            if (it != options.includes.end()) result = it->second;
        };
    }
    switch (reader.PrepareDocument(std::move(page))) {
        case TPreparedEncoding::Utf8ByteOrder:
            codePage = platform::CP_UTF8;
            break;
        case TPreparedEncoding::ShiftJis:
            codePage = 932;
            break;
        default:
            break;
    }
    try {
        reader.NextChar();
        reader.NextSymbol();
        for (;;) {
            if (reader.Sy == symText) {
                out << "Text " << Quoted(platform::Utf16ToUtf8(reader.Token.AsWideString())) << " @"
                    << Positions(reader.Token.Positions()) << '\n';
            } else {
                out << SymbolName(reader.Sy);
                if (reader.Sy == symH || reader.Sy == symHEnd)
                    out << " level=" << reader.HeadingLevel;
                if (reader.Sy != symEof) out << " @" << reader.TagPos;
                out << '\n';
                for (int i = 0; i < reader.Attributes.Count(); ++i) {
                    const TAttribute& a = reader.Attributes[i];
                    out << "  " << a.AttrName << (a.Symbol == symUnknownAttr ? "?" : "") << '='
                        << Quoted(platform::Utf16ToUtf8(platform::ToUtf16(a.StrValue, codePage)))
                        << " int=" << a.IntValue << '\n';
                }
                // What the builder does with a META or FONT charset.
                if (reader.Sy == symMeta || reader.Sy == symFont) {
                    if (const TAttribute* a = reader.Attributes.FindAttribute(symCharset)) {
                        int charset = 0;
                        if (reader.CharsetFromName(a->StrValue, charset)) {
                            codePage = CodePageOfCharset(charset, codePage);
                            out << "  -> charset " << charset << ", code page " << codePage << '\n';
                        }
                    }
                }
            }
            if (reader.Sy == symEof) break;
            reader.Attributes.Clear();
            reader.NextSymbol();
        }
    } catch (const EParseError& e) {
        out << "EParseError \"" << e.message() << "\"\n";
    }
    return out.str();
}
