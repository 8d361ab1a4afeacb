#include "style/StyleParser.h"

#include <array>
#include <vector>

#include "style/Colors.h"
#include "style/Lengths.h"
#include "style/Properties.h"
#include "style/PropValue.h"
#include "style/StyleList.h"
#include "style/ValueText.h"

namespace {

constexpr int kEnd = 26;

bool IsBlank(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
bool IsLetter(int c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(int c) { return c >= '0' && c <= '9'; }
bool IsNameChar(int c) { return c == '-' || IsDigit(c) || IsLetter(c); }
bool IsSelectorChar(int c) {
    return IsBlank(c) || c == '#' || c == '-' || c == '.' || IsDigit(c) || c == ':' ||
           IsLetter(c) || c == '_';
}

// ---- Values -----------------------------------------------------------------

using Store = std::function<void(std::string_view name, const std::string& value)>;

// Splits a shorthand value into at most `maxWords` words. Quoted stretches belong
// to their word, blanks included; "12pt/14pt" gives "12pt" and "/14pt".
std::vector<std::string> SplitWords(std::string_view value, std::size_t maxWords) {
    std::string text = Trim(value);
    for (char& c : text)
        if (IsBlank(static_cast<unsigned char>(c))) c = ' ';
    std::string squeezed;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ' && !squeezed.empty() && squeezed.back() == ' ') continue;
        if (text[i] == ' ' && !squeezed.empty() && squeezed.back() == ',') continue;
        squeezed += text[i];
    }
    std::vector<std::string> words;
    auto finish = [&](std::string& word) {
        if (word.empty()) return;
        const std::size_t slash = word.find('/', 1);
        if (slash != std::string::npos) {
            words.push_back(word.substr(0, slash));
            if (words.size() < maxWords) words.push_back(word.substr(slash));
        } else {
            words.push_back(word);
        }
        word.clear();
    };
    std::string word;
    for (std::size_t i = 0; i < squeezed.size() && words.size() < maxWords; ++i) {
        const char c = squeezed[i];
        if (c == '"' || c == '\'') {
            const std::size_t close = squeezed.find(c, i + 1);
            const std::size_t end = close == std::string::npos ? squeezed.size() : close + 1;
            word.append(squeezed, i, end - i);
            i = end - 1;
        } else if (c == ' ') {
            finish(word);
        } else {
            word += c;
        }
    }
    if (words.size() < maxWords) finish(word);
    return words;
}

// Moves url(...) items (or, without any, rgb(...) items) out of `text`.
std::vector<std::string> TakeParenthesised(std::string& text, std::size_t maxItems) {
    std::vector<std::string> items;
    while (items.size() < maxItems) {
        std::size_t start = text.find("url(");
        if (start == std::string::npos) start = text.find("rgb(");
        if (start == std::string::npos) break;
        const std::size_t close = text.find(')');
        if (close == std::string::npos || close < start) break;
        items.push_back(text.substr(start, close - start + 1));
        text.erase(start, close - start + 1);
    }
    return items;
}

bool IsColor(const std::string& word) {
    platform::TColor color;
    return ParseColor(word, true, color);
}

bool IsBorderStyleWord(std::string_view word) {
    for (const char* style : {"none", "solid", "dashed", "dotted", "double", "groove", "inset",
                              "outset", "ridge"})
        if (word == style) return true;
    return false;
}

int FontWord(std::string_view word) {
    static constexpr const char* kWords[] = {
        "italic", "oblique", "normal",  "bolder", "lighter", "bold",    "small-caps", "larger",
        "smaller", "xx-small", "x-small", "small", "medium", "large", "x-large",    "xx-large"};
    for (int i = 0; i < 16; ++i)
        if (word == kWords[i]) return i;
    return -1;
}

int ShorthandNumber(std::string_view name) {
    static constexpr const char* kNames[] = {
        "margin", "padding", "border-width", "border", "border-top", "border-right",
        "border-bottom", "border-left", "font", "background", "list-style", "border-color",
        "border-style"};
    for (int i = 0; i < 13; ++i)
        if (name == kNames[i]) return i;
    return -1;
}

void ExpandFourSides(int shorthand, const std::string& value, const Store& store) {
    static constexpr std::array<PropIndex, 5> kFirst = {piMarginTop, piPaddingTop, piBorderTopWidth,
                                                        piBorderTopColor, piBorderTopStyle};
    const int group = shorthand <= 2 ? shorthand : shorthand - 8;  // 11 -> 3, 12 -> 4
    const std::vector<std::string> w = SplitWords(value, 4);
    if (w.empty()) return;
    std::string top = w[0], right = w[0], bottom = w[0], left = w[0];
    if (w.size() == 2) right = left = w[1];
    if (w.size() == 3) right = left = w[1], bottom = w[2];
    if (w.size() >= 4) right = w[1], bottom = w[2], left = w[3];
    const int first = kFirst[group];
    store(PropertyName(static_cast<PropIndex>(first)), top);
    store(PropertyName(static_cast<PropIndex>(first + 1)), right);
    store(PropertyName(static_cast<PropIndex>(first + 2)), bottom);
    store(PropertyName(static_cast<PropIndex>(first + 3)), left);
}

void ExpandBorder(const std::string& name, const std::string& value, const Store& store) {
    std::string rest = value;
    for (const std::string& item : TakeParenthesised(rest, 7))
        if (IsColor(item)) store(name + "-color", item);
    for (const std::string& word : SplitWords(rest, 7)) {
        if (IsColor(word)) {
            store(name + "-color", word);
        } else if (IsBorderStyleWord(word)) {
            store(name + "-style", word);
        } else if (name == "border") {
            for (const char* side : {"border-top-width", "border-right-width", "border-bottom-width",
                                     "border-left-width"})
                store(side, word);
        } else {
            store(name + "-width", word);
        }
    }
}

void ExpandFont(const std::string& value, const Store& store) {
    for (const std::string& word : SplitWords(value, 7)) {
        const int number = FontWord(word);
        if (word[0] == '/') store("line-height", word.substr(1));
        else if (number >= 0 && number <= 1) store("font-style", word);
        else if (number >= 2 && number <= 5) store("font-weight", word);
        else if (number == 6) store("font-variant", word);
        else if (number >= 7) store("font-size", word);
        else if (!IsDigit(static_cast<unsigned char>(word[0]))) store("font-family", word);
        else store("font-size", word);
    }
}

void ExpandBackground(const std::string& value, const std::string& basePath, const Store& store) {
    std::string rest = value;
    for (const std::string& item : TakeParenthesised(rest, 7)) {
        if (Contains(item, "rgb(")) store("background-color", item);
        else if (Contains(item, "url("))
            store("background-image", basePath.empty() ? item : MakeUrlAbsolute(item, basePath));
    }
    std::vector<std::string> words = SplitWords(rest, 7);
    auto pass = [&words](auto&& uses, auto&& use) {
        for (std::string& word : words) {
            if (!word.empty() && uses(word)) {
                use(word);
                word.clear();
            }
        }
    };
    pass([](const std::string& w) { return IsColor(w); },
         [&](const std::string& w) { store("background-color", w); });
    pass([](const std::string& w) { return w == "none"; },
         [&](const std::string& w) { store("background-image", w); });
    pass([](const std::string& w) { return Contains(w, "repeat"); },
         [&](const std::string& w) { store("background-repeat", w); });
    pass([](const std::string& w) { return w == "fixed" || w == "scroll"; },
         [&](const std::string& w) { store("background-attachment", w); });
    std::vector<std::string> left;
    for (const std::string& word : words)
        if (!word.empty()) left.push_back(word);
    if (left.empty()) return;
    std::string position = left.back();
    if (left.size() >= 2) position = left[left.size() - 2] + " " + position;
    store("background-position", position);
}

void ExpandListStyle(const std::string& value, const std::string& basePath, const Store& store) {
    for (const std::string& word : SplitWords(value, 7)) {
        if (Contains(word, "url("))
            store("list-style-image", basePath.empty() ? word : MakeUrlAbsolute(word, basePath));
        else
            store("list-style-type", word);
    }
}

// One declaration: shorthands are spread over the properties they stand for.
void StoreDeclarationText(const std::string& name, const std::string& rawValue,
                          const std::string& basePath, const Store& store) {
    const std::string v3 = LowerAscii(TrimView(rawValue));
    std::string v2 = v3;
    if (v3.size() > 1 && (v3.front() == '"' || v3.front() == '\'') && v3.back() == v3.front())
        v2 = v3.substr(1, v3.size() - 2);
    const int shorthand = ShorthandNumber(name);
    switch (shorthand) {
        case 0: case 1: case 2: case 11: case 12:
            ExpandFourSides(shorthand, v2, store);
            return;
        case 3: case 4: case 5: case 6: case 7:
            ExpandBorder(name, v2, store);
            return;
        case 8:
            ExpandFont(v3, store);
            return;
        case 9:
            ExpandBackground(v2, basePath, store);
            return;
        case 10:
            ExpandListStyle(v2, basePath, store);
            return;
        default:
            if (!basePath.empty() && Contains(v2, "url(")) v2 = MakeUrlAbsolute(v2, basePath);
            store(name, v2);
    }
}

// ---- URLs -------------------------------------------------------------------

bool IsFullUrl(const std::string& url) {
    const std::string head = url.substr(0, url.find('?'));
    const std::size_t scheme = head.find("://");
    const std::size_t slash = head.find('/');
    if (scheme != std::string::npos && scheme < slash) return true;
    return Contains(LowerAscii(head), "mailto:");
}

// The base's directory (it is one already when it ends in "/"), then the relative
// address with "./" and "../" worked out.
std::string PlainResolve(const std::string& basePath, const std::string& address) {
    if (IsFullUrl(address)) return address;
    std::string base = basePath;
    const std::size_t scheme = base.find("://");
    const std::size_t hostEnd = scheme == std::string::npos ? 0 : base.find('/', scheme + 3);
    std::size_t root = hostEnd == std::string::npos ? base.size() : hostEnd;
    if (base.empty() || base.back() != '/') base += '/';
    if (root >= base.size()) root = base.size() - 1;
    std::string path;
    if (!address.empty() && address[0] == '/') path = base.substr(0, root) + address;
    else path = base + address;
    for (std::size_t at; (at = path.find("/./")) != std::string::npos;) path.erase(at, 2);
    for (std::size_t at; (at = path.find("/../")) != std::string::npos;) {
        const std::size_t previous = path.rfind('/', at == 0 ? 0 : at - 1);
        if (at <= root || previous == std::string::npos || previous < root) {
            path.erase(at + 1, 3);
            continue;
        }
        path.erase(previous, at + 3 - previous);
    }
    return path;
}

TUrlResolver& Resolver() {
    static TUrlResolver resolver = PlainResolve;
    return resolver;
}

// ---- Readers ----------------------------------------------------------------

// The character source of a style sheet, with comments taken out.
class SheetReader {
public:
    SheetReader(TStyleList& styles, const TNextChar& next, const std::string& basePath)
        : styles_(styles), next_(next), basePath_(basePath) {}

    void Run(char& ch);

private:
    int Raw() {
        int c;
        if (pushed_ >= 0) {
            c = pushed_;
            pushed_ = -1;
        } else if (ended_) {
            c = kEnd;
        } else {
            c = static_cast<unsigned char>(next_());
            if (c == kEnd) ended_ = true;
        }
        return c == '\r' ? ' ' : c;
    }
    void Next();
    void SkipBlanks() {
        while (IsBlank(ch_)) Next();
    }
    void ReadSelectors();
    void ReadDeclarations();
    void SkipAtRule();
    std::string MakeKey(const std::string& selector);

    TStyleList& styles_;
    const TNextChar& next_;
    const std::string& basePath_;
    int ch_ = ' ';
    int pushed_ = -1;
    bool ended_ = false;
    std::vector<std::string> keys_;
};

void SheetReader::Next() {
    for (;;) {
        ch_ = Raw();
        if (ch_ != '/') return;
        const int after = Raw();
        if (after != '*') {
            pushed_ = after;
            return;
        }
        // A comment: it ends at "*/", or at a "<" or the end, which then stand.
        int previous = 0;
        for (;;) {
            const int c = Raw();
            if (c == kEnd || c == '<') {
                ch_ = c;
                return;
            }
            if (previous == '*' && c == '/') break;
            previous = c;
        }
    }
}

void SheetReader::Run(char& ch) {
    pushed_ = static_cast<unsigned char>(ch);
    if (pushed_ == '\r') pushed_ = ' ';
    if (pushed_ == kEnd) ended_ = true;
    ch_ = ' ';
    while (IsBlank(ch_) || ch_ == '!' || ch_ == '-' || ch_ == '<' || ch_ == '>') Next();
    while (ch_ != kEnd && ch_ != '<') {
        if (ch_ == '@') {
            SkipAtRule();
        } else {
            keys_.clear();
            ReadSelectors();
            ReadDeclarations();
        }
        while (IsBlank(ch_) || ch_ == '-' || ch_ == '>') Next();
    }
    ch = static_cast<char>(ch_ >= 'a' && ch_ <= 'z' ? ch_ - 'a' + 'A' : ch_);
}

std::string SheetReader::MakeKey(const std::string& selector) {
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start < selector.size()) {
        std::size_t blank = selector.find(' ', start);
        if (blank == std::string::npos) blank = selector.size();
        if (blank > start) words.push_back(selector.substr(start, blank - start));
        start = blank + 1;
    }
    if (words.size() <= 1) return selector;
    std::string key = words.back() + " " + std::to_string(words.size() - 1) + styles_.NextSequence();
    for (std::size_t i = words.size() - 1; i-- > 0;) key += words[i] + " ";
    return key;
}

void SheetReader::ReadSelectors() {
    do {
        if (ch_ == ',') Next();
        SkipBlanks();
        std::string text;
        while (IsSelectorChar(ch_)) {
            text += IsBlank(ch_) ? ' ' : static_cast<char>(ch_);
            Next();
        }
        keys_.push_back(MakeKey(LowerAscii(TrimView(text))));
    } while (ch_ == ',');
    while (ch_ != kEnd && ch_ != '<' && ch_ != '{') Next();
}

void SheetReader::ReadDeclarations() {
    if (ch_ != '{') return;
    Next();
    const Store store = [this](std::string_view name, const std::string& value) {
        for (const std::string& key : keys_) styles_.StoreDeclaration(key, name, value);
    };
    for (;;) {
        SkipBlanks();
        std::string name;
        while (IsNameChar(ch_)) {
            name += static_cast<char>(ch_);
            Next();
        }
        name = LowerAscii(TrimView(name));
        SkipBlanks();
        if (ch_ == ':' || ch_ == '=') {
            Next();
            std::string value;
            while (ch_ != kEnd && ch_ != ';' && ch_ != '<' && ch_ != '}') {
                value += static_cast<char>(ch_);
                Next();
            }
            StoreDeclarationText(name, value, basePath_, store);
        }
        SkipBlanks();
        if (ch_ == ';') Next();
        while (ch_ != kEnd && ch_ != '-' && !IsDigit(ch_) && ch_ != '<' && !IsLetter(ch_) &&
               ch_ != '}')
            Next();
        if (ch_ == kEnd || ch_ == '<' || ch_ == '}') break;
    }
    if (ch_ == '}') Next();
}

void SheetReader::SkipAtRule() {
    while (ch_ != kEnd && ch_ != ';' && ch_ != '<' && ch_ != '{') Next();
    if (ch_ == ';') {
        Next();
        return;
    }
    if (ch_ != '{') return;
    // Nested blocks are counted rather than recursed into, so no depth of braces
    // can exhaust the stack.
    long depth = 0;
    while (ch_ != kEnd && ch_ != '<') {
        if (ch_ == '{') ++depth;
        else if (ch_ == '}' && --depth == 0) {
            Next();
            return;
        }
        Next();
    }
}

}  // namespace

void SetStyleUrlResolver(TUrlResolver resolver) {
    Resolver() = resolver ? std::move(resolver) : TUrlResolver(PlainResolve);
}

std::string MakeUrlAbsolute(const std::string& value, const std::string& basePath) {
    std::string address = UrlFromValue(PropValue(value));
    if (Contains(basePath, "://")) {
        if (!IsFullUrl(address)) address = Resolver()(basePath, address);
    } else {
        std::string lower = LowerAscii(address);
        if (lower.rfind("file:///", 0) == 0) address.erase(0, 8);
        else if (lower.rfind("file://", 0) == 0) address.erase(0, 7);
        for (char& c : address) {
            if (c == '|') c = ':';
            else if (c == '/') c = '\\';
        }
        const bool rooted = (address.size() >= 2 && address[1] == ':') ||
                            address.rfind("\\\\", 0) == 0;
        if (!rooted) address = basePath + address;
    }
    return "url(" + address + ")";
}

void ParseStyleSheet(TStyleList& styles, char& ch, const TNextChar& nextChar,
                     const std::string& basePath) {
    SheetReader reader(styles, nextChar, basePath);
    reader.Run(ch);
}

void ParseStyleSheetText(TStyleList& styles, std::string_view text, const std::string& basePath) {
    std::size_t at = 0;
    const TNextChar next = [&]() -> char { return at < text.size() ? text[at++] : StyleEndOfText; };
    char ch = next();
    ParseStyleSheet(styles, ch, next, basePath);
}

void ParseStyleAttribute(std::string_view text, TProperties& props) {
    const std::string lowered = LowerAscii(text);
    std::size_t at = 0;
    int ch = 0;
    auto next = [&] {
        ch = at < lowered.size() ? static_cast<unsigned char>(lowered[at++]) : kEnd;
        if (ch == '\r') ch = ' ';
    };
    const Store store = [&props](std::string_view name, const std::string& value) {
        props.AssignPropertyByName(name, value);
    };
    auto skipBlanks = [&] {
        while (IsBlank(ch)) next();
    };
    next();
    while (ch != kEnd) {
        skipBlanks();
        std::string name;
        while (IsNameChar(ch)) {
            name += static_cast<char>(ch);
            next();
        }
        name = Trim(name);
        skipBlanks();
        if (ch == ':' || ch == '=') {
            next();
            std::string value;
            while (ch != kEnd && ch != ';') {
                value += static_cast<char>(ch);
                next();
            }
            StoreDeclarationText(name, value, std::string(), store);
        }
        skipBlanks();
        if (ch == ';') next();
        while (ch != kEnd && ch != '-' && !IsDigit(ch) && !IsLetter(ch)) next();
    }
}
