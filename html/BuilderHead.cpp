// Elements that describe the page rather than show in it: TITLE, META, LINK, STYLE,
// BGSOUND, SCRIPT and BASE.

#include <exception>
#include <string_view>

#include "html/Builder.h"
#include "html/BuilderSupport.h"
#include "html/Urls.h"
#include "layout/Document.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "style/StyleParser.h"

namespace {

std::string AttributeText(const TAttributeList& attributes, THtmlSymbol symbol) {
    const TAttribute* a = attributes.FindAttribute(symbol);
    return a ? a->StrValue : std::string();
}

// The folder part of a file name, with its separator.
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool IsLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Every line break (CR, LF or CR LF) as CR LF.
std::string WithCrLfBreaks(std::string_view text) {
    std::string result;
    result.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            result += "\r\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            result += c;
        }
    }
    return result;
}

}  // namespace

void THtmlBuilder::ParseTitle() {
    std::u16string title;
    Next();
    while (Sy() == symText) {
        title += reader_.Token.AsWideString();
        Next();
    }
    result_.Title = platform::FromUtf16(title, platform::CP_ACP);
}

void THtmlBuilder::ParseBase() {
    if (const TAttribute* href = reader_.Attributes.FindAttribute(symHref)) {
        result_.BaseUrl = href->StrValue;
        if (events_.OnBase) events_.OnBase(result_.BaseUrl);
    }
    if (const TAttribute* target = reader_.Attributes.FindAttribute(symTarget))
        result_.BaseTarget = target->StrValue;
    Next();
}

void THtmlBuilder::ParseMeta() {
    const std::string httpEquiv = AttributeText(reader_.Attributes, symHttpEq);
    const std::string name = AttributeText(reader_.Attributes, symName);
    const std::string content = AttributeText(reader_.Attributes, symContent);
    // The charset is honoured whether or not a viewer shows the document: pages are also
    // built headless for export, and their text must read the same there.
    if (platform::AsciiLowerCase(httpEquiv) == "content-type") {
        int charset = 0;
        if (reader_.CharsetFromName(content, charset))
            Top().SetCharset(charset);
        else if (platform::AsciiLowerCase(content).find("utf-8") != std::string::npos)
            Top().SetUtf8();
    }
    if (events_.MetaHandler) events_.MetaHandler(httpEquiv, name, content);
    Next();
}

void THtmlBuilder::ParseLinkTag() {
    const std::string href = AttributeText(reader_.Attributes, symHref);
    const std::string rel = AttributeText(reader_.Attributes, symRel);
    const std::string rev = AttributeText(reader_.Attributes, symRev);
    if (platform::AsciiLowerCase(rel) == "stylesheet" && !href.empty()) {
        try {
            std::string sheet;
            std::string basePath;
            bool fromFile = true;
            if (events_.OnStreamRequest) {
                if (events_.OnExpandName) {
                    const std::string expanded = events_.OnExpandName(href);
                    basePath = UrlDirectory(expanded);
                    events_.OnStreamRequest(expanded, sheet);
                    fromFile = false;
                } else {
                    fromFile = !events_.OnStreamRequest(href, sheet);
                }
            }
            if (fromFile) {
                const std::string name =
                    events_.ExpandName ? events_.ExpandName(href) : UrlToLocalPath(href);
                basePath = FolderOf(name);
                sheet = platform::ReadWholeFile(name);
            }
            if (!sheet.empty()) {
                // Line ends count as one CR each, tabs as spaces, as in the page itself:
                // with the breaks made CR LF first, skipping LF leaves one CR for each,
                // whichever way the file ends its lines.
                sheet = WithCrLfBreaks(sheet);
                std::size_t at = 0;
                const TNextChar next = [&sheet, &at]() -> char {
                    while (at < sheet.size() && sheet[at] == '\n') ++at;
                    if (at >= sheet.size()) return StyleEndOfText;
                    const char c = sheet[at++];
                    return c == '\t' ? ' ' : c;
                };
                char ch = next();
                ParseStyleSheet(*doc_.styleSheet, ch, next, basePath);
            }
        } catch (const std::exception&) {
            // A sheet that cannot be fetched or read leaves the page in its own style.
        }
    }
    if (events_.OnLink) events_.OnLink(rel, rev, href);
    Next();
}

void THtmlBuilder::ParseStyle() {
    // The reader left the tag's '>' as the current character; the sheet reader takes the
    // characters from there up to the '<' of the end tag.
    char ch = static_cast<char>(reader_.CurChar);
    const TNextChar next = [this]() -> char {
        reader_.ReadChar();
        return static_cast<char>(reader_.CurChar);
    };
    ParseStyleSheet(*doc_.styleSheet, ch, next, "");
    const unsigned char c = reader_.CurChar;
    reader_.UpperChar = c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c;
    Next();
}

void THtmlBuilder::ParseBgSound() {
    const TAttribute* src = reader_.Attributes.FindAttribute(symSrc);
    if (events_.OnSoundRequest && src) {
        const TAttribute* loop = reader_.Attributes.FindAttribute(symLoop);
        events_.OnSoundRequest(src->StrValue, loop ? loop->IntValue : 1, false);
    }
    Next();
}

void THtmlBuilder::ParseScript() {
    const bool deliver = static_cast<bool>(events_.OnScript);
    const std::string language = AttributeText(reader_.Attributes, symLanguage);
    const std::string name = AttributeText(reader_.Attributes, symName);
    const bool savedNoComment = reader_.NoCommentMode;
    if (deliver) reader_.NoCommentMode = true;
    std::string script;
    const auto advance = [this] { reader_.NextChar(); };
    while (reader_.CurChar != THtmlReader::EofChar) {
        const unsigned char c = reader_.CurChar;
        if (c == '\r') {
            script += "\r\n";
            advance();
            continue;
        }
        if (c != '<') {
            script += static_cast<char>(c);
            advance();
            continue;
        }
        // A tag: "</SCRIPT" ends the content, any other is kept as written.
        advance();
        bool end = false;
        if (reader_.CurChar == '/') {
            end = true;
            advance();
        }
        std::string tagName;
        while (IsLetter(reader_.CurChar) && tagName.size() < 255) {
            tagName += static_cast<char>(reader_.CurChar);
            advance();
        }
        if (end && platform::AsciiLowerCase(tagName) == "script") {
            while (reader_.CurChar != '>' && reader_.CurChar != THtmlReader::EofChar) advance();
            if (reader_.CurChar == '>') advance();
            break;
        }
        script += end ? "</" : "<";
        script += tagName;
        if (tagName.empty()) continue;
        while (reader_.CurChar != THtmlReader::EofChar) {
            const unsigned char t = reader_.CurChar;
            script += t == '\r' ? ' ' : static_cast<char>(t);
            advance();
            if (t == '>') break;
        }
    }
    reader_.NoCommentMode = savedNoComment;
    if (deliver) events_.OnScript(name, language, script);
    Next();
}
