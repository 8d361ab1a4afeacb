// Reads arbitrary bytes as a page, symbol by symbol, to the end. The first byte picks
// the set-up: whether include comments are answered, and the code page of the text.
// The rest drives what the builder would do with the reader: charset names from META
// and FONT, image maps at MAP, the style sheet's '>' left after STYLE.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "html/Anchors.h"
#include "html/ImageMaps.h"
#include "html/Lexer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t setup = size > 0 ? data[0] : 0;
    std::string text(reinterpret_cast<const char*>(data), size);
    if (!text.empty()) text.erase(0, 1);

    THtmlReader reader;
    TIDNameList anchors;
    reader.Anchors = &anchors;
    int codePage = 1252;
    switch (setup & 3) {
        case 1:
            codePage = 65001;
            break;
        case 2:
            codePage = 932;
            break;
        case 3:
            codePage = 949;
            break;
        default:
            break;
    }
    reader.CurrentCodePage = [&codePage] { return codePage; };
    int includeCalls = 0;
    if (setup & 4) {
        // Answers with the first parameter's value (which may hold more includes), up to
        // a bound, as a host with nested include files would.
        reader.OnInclude = [&includeCalls](const std::string& command,
                                           const platform::StringList& params,
                                           std::string& result) {
            if (++includeCalls > 16) return;
            if (params.count() > 0) {
                const std::string line(params.at(0));
                result = line.substr(line.find('=') + 1);
            } else {
                result = command;
            }
        };
    }
    int progressReports = 0;
    reader.ProgressBase = 100;
    reader.OnProgress = [&progressReports](int) { ++progressReports; };
    reader.PreScan = (setup & 8) != 0;

    if (reader.PrepareDocument(text) == TPreparedEncoding::Utf8ByteOrder) codePage = 65001;
    try {
        reader.NextChar();
        reader.NextSymbol();
        for (int guard = 0; reader.Sy != symEof && guard < 1000000; ++guard) {
            if (reader.Sy == symMeta || reader.Sy == symFont) {
                if (const TAttribute* a = reader.Attributes.FindAttribute(symCharset)) {
                    int charset = 0;
                    reader.CharsetFromName(a->StrValue, charset);
                }
                (void)reader.Attributes.ClassValue();
                (void)reader.Attributes.IdValue();
                (void)reader.Attributes.AsNameValueList();
            } else if (reader.Sy == symMap) {
                std::unique_ptr<TMapItem> map = ParseMap(reader);
                if (map) {
                    std::unique_ptr<TUrlTarget> target;
                    map->HitTest(10, 10, target);
                }
                continue;  // ParseMap has read the next symbol
            } else if (reader.Sy == symTextArea && reader.CurChar == '&') {
                (void)reader.ReadEntityToString(codePage);
            } else if (reader.Sy == symText) {
                (void)reader.Token.AsWideString();
                if (reader.Token.Positions().size() !=
                    static_cast<std::size_t>(reader.Token.Count()))
                    __builtin_trap();
            }
            reader.NextSymbol();
        }
    } catch (const EParseError&) {
        // A page cut inside a comment, or bytes that are not text: the builder keeps what
        // it has.
    }
    return 0;
}
