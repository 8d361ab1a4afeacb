#include "html/Symbols.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

struct NameEntry {
    const char* name;
    THtmlSymbol symbol;
};

// Table order is the numbering of the start symbols: the first 52 have end symbols at
// symHtmlEnd + index.
constexpr std::array<NameEntry, 73> TagTable{{
    {"HTML", symHtml},
    {"TITLE", symTitle},
    {"BODY", symBody},
    {"HEAD", symHead},
    {"B", symB},
    {"I", symI},
    {"H", symH},
    {"EM", symEm},
    {"STRONG", symStrong},
    {"U", symU},
    {"CITE", symCite},
    {"VAR", symVar},
    {"TT", symTT},
    {"CODE", symCode},
    {"KBD", symKbd},
    {"SAMP", symSamp},
    {"OL", symOL},
    {"UL", symUL},
    {"DIR", symDir},
    {"MENU", symMenu},
    {"DL", symDL},
    {"A", symA},
    {"ADDRESS", symAddress},
    {"BLOCKQUOTE", symBlockquote},
    {"PRE", symPre},
    {"CENTER", symCenter},
    {"TABLE", symTable},
    {"TD", symTD},
    {"TH", symTH},
    {"CAPTION", symCaption},
    {"FORM", symForm},
    {"TEXTAREA", symTextArea},
    {"SELECT", symSelect},
    {"OPTION", symOption},
    {"FONT", symFont},
    {"SUB", symSub},
    {"SUP", symSup},
    {"BIG", symBig},
    {"SMALL", symSmall},
    {"P", symP},
    {"MAP", symMap},
    {"FRAMESET", symFrameset},
    {"NOFRAMES", symNoFrames},
    {"SCRIPT", symScript},
    {"DIV", symDiv},
    {"S", symS},
    {"STRIKE", symStrike},
    {"TR", symTR},
    {"NOBR", symNoBr},
    {"STYLE", symStyle},
    {"SPAN", symSpan},
    {"COLGROUP", symColGroup},
    {"LI", symLI},
    {"BR", symBR},
    {"HR", symHR},
    {"DD", symDD},
    {"DT", symDT},
    {"IMG", symImg},
    {"BASE", symBase},
    {"BUTTON", symButton},
    {"INPUT", symInput},
    {"SELECTED", symSelected},
    {"BASEFONT", symBaseFont},
    {"AREA", symArea},
    {"FRAME", symFrame},
    {"PAGE", symPage},
    {"BGSOUND", symBgSound},
    {"WRAP", symWrap},
    {"META", symMeta},
    {"PANEL", symPanel},
    {"WBR", symWbr},
    {"LINK", symLink},
    {"COL", symCol},
}};

constexpr std::array<NameEntry, 80> AttributeTable{{
    {"HREF", symHref},
    {"NAME", symName},
    {"SRC", symSrc},
    {"ALT", symAlt},
    {"ALIGN", symAlign},
    {"TEXT", symText},
    {"BGCOLOR", symBgColor},
    {"LINK", symLink},
    {"BACKGROUND", symBackground},
    {"COLSPAN", symColSpan},
    {"ROWSPAN", symRowSpan},
    {"BORDER", symBorder},
    {"CELLPADDING", symCellPadding},
    {"CELLSPACING", symCellSpacing},
    {"VALIGN", symVAlign},
    {"WIDTH", symWidth},
    {"START", symStart},
    {"VALUE", symValue},
    {"TYPE", symType},
    {"CHECKBOX", symCheckbox},
    {"RADIO", symRadio},
    {"METHOD", symMethod},
    {"ACTION", symAction},
    {"CHECKED", symChecked},
    {"SIZE", symSize},
    {"MAXLENGTH", symMaxLength},
    {"COLS", symCols},
    {"ROWS", symRows},
    {"MULTIPLE", symMultiple},
    {"VALUE", symValue},
    {"SELECTED", symSelected},
    {"FACE", symFace},
    {"COLOR", symColor},
    {"TRANSP", symTransp},
    {"CLEAR", symClear},
    {"ISMAP", symIsMap},
    {"BORDERCOLOR", symBorderColor},
    {"USEMAP", symUseMap},
    {"SHAPE", symShape},
    {"COORDS", symCoords},
    {"NOHREF", symNoHref},
    {"HEIGHT", symHeight},
    {"PLAIN", symPlain},
    {"TARGET", symTarget},
    {"NORESIZE", symNoResize},
    {"SCROLLING", symScrolling},
    {"HSPACE", symHSpace},
    {"LANGUAGE", symLanguage},
    {"FRAMEBORDER", symFrameBorder},
    {"MARGINWIDTH", symMarginWidth},
    {"MARGINHEIGHT", symMarginHeight},
    {"LOOP", symLoop},
    {"ONCLICK", symOnClick},
    {"WRAP", symWrap},
    {"NOSHADE", symNoShade},
    {"HTTP-EQUIV", symHttpEq},
    {"CONTENT", symContent},
    {"ENCTYPE", symEncType},
    {"VLINK", symVLink},
    {"OLINK", symOLink},
    {"ACTIVE", symActive},
    {"VSPACE", symVSpace},
    {"CLASS", symClass},
    {"ID", symID},
    {"STYLE", symStyle},
    {"REL", symRel},
    {"REV", symRev},
    {"NOWRAP", symNoWrap},
    {"BORDERCOLORLIGHT", symBorderColorLight},
    {"BORDERCOLORDARK", symBorderColorDark},
    {"CHARSET", symCharset},
    {"RATIO", symRatio},
    {"TITLE", symTitle},
    {"ONFOCUS", symOnFocus},
    {"ONBLUR", symOnBlur},
    {"ONCHANGE", symOnChange},
    {"SPAN", symSpan},
    {"TABINDEX", symTabIndex},
    {"BGPROPERTIES", symBgProperties},
    {"DISABLED", symDisabled},
}};

// The names of one table, found by a hash of their bytes in a table of slots at most half
// full. Every tag and attribute of a page is looked up, and their names are short (at
// most 16 letters), so a name is held as two words and compared as two words.
class TNameIndex {
  public:
    template <std::size_t N>
    explicit TNameIndex(const std::array<NameEntry, N>& table) : slots_(64) {
        while (slots_.size() < 2 * N) slots_.resize(2 * slots_.size());
        for (const auto& entry : table) {
            const Key key = KeyOf(entry.name);
            std::size_t i = Start(key);
            while (slots_[i].used && !slots_[i].Holds(key)) i = Next(i);
            if (!slots_[i].used)  // the first of a name wins
                slots_[i] = {key, static_cast<std::uint8_t>(entry.symbol), true};
        }
    }
    // The symbol of `name`, if the table has it.
    std::optional<THtmlSymbol> Find(std::string_view name) const {
        if (name.size() > sizeof(Key::words)) return std::nullopt;
        const Key key = KeyOf(name);
        for (std::size_t i = Start(key); slots_[i].used; i = Next(i))
            if (slots_[i].Holds(key)) return static_cast<THtmlSymbol>(slots_[i].symbol);
        return std::nullopt;
    }

  private:
    struct Key {
        std::uint64_t words[2] = {0, 0};  // the letters, zero after the last
        std::uint64_t length = 0;
    };
    struct Slot {
        Key key;
        std::uint8_t symbol = 0;
        bool used = false;
        bool Holds(const Key& other) const {
            return key.words[0] == other.words[0] && key.words[1] == other.words[1] &&
                   key.length == other.length;
        }
    };
    static_assert(symCount <= 256, "a symbol fits a byte");

    // Built a byte at a time: a copy into the words and a read of them at once would
    // wait for the copy's small writes to reach memory.
    static Key KeyOf(std::string_view name) {
        Key key;
        key.length = name.size();
        const std::size_t count = std::min(name.size(), sizeof key.words);
        for (std::size_t i = 0; i < count; ++i)
            key.words[i / 8] |= std::uint64_t{static_cast<unsigned char>(name[i])} << (8 * (i % 8));
        return key;
    }
    std::size_t Start(const Key& key) const {
        std::uint64_t hash = (key.words[0] * 0x9E3779B97F4A7C15ull) ^
                             (key.words[1] * 0xC2B2AE3D27D4EB4Full) ^ key.length;
        hash ^= hash >> 32;
        hash ^= hash >> 15;
        return static_cast<std::size_t>(hash) & (slots_.size() - 1);
    }
    std::size_t Next(std::size_t i) const { return (i + 1) & (slots_.size() - 1); }

    std::vector<Slot> slots_;  // a power of two in number
};

std::string Lower(const char* name) {
    std::string result(name);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return result;
}

const char* TagNameOf(THtmlSymbol startSymbol) {
    for (const auto& entry : TagTable)
        if (entry.symbol == startSymbol) return entry.name;
    return nullptr;
}

}  // namespace

THtmlSymbol LookupTag(std::string_view upperName) {
    if (upperName.size() > 12) return symUnknownTag;
    static const TNameIndex index(TagTable);
    return index.Find(upperName).value_or(symUnknownTag);
}

THtmlSymbol LookupAttribute(std::string_view upperName) {
    if (upperName.size() > 16) return symUnknownAttr;
    static const TNameIndex index(AttributeTable);
    return index.Find(upperName).value_or(symUnknownAttr);
}

bool HasEndSymbol(THtmlSymbol startSymbol) {
    return startSymbol < TagsWithEndSymbol;
}

bool IsEndSymbol(THtmlSymbol symbol) {
    return symbol >= symHtmlEnd && symbol < symHtmlEnd + TagsWithEndSymbol;
}

const std::string& SymbolToTagName(THtmlSymbol symbol) {
    // Asked for every element a page opens: each name is lowered once.
    static const auto names = [] {
        std::array<std::string, static_cast<std::size_t>(symCol) + 1> lowered;
        for (std::size_t s = 0; s < lowered.size(); ++s) {
            const char* name = TagNameOf(static_cast<THtmlSymbol>(s));
            if (name) lowered[s] = Lower(name);
        }
        return lowered;
    }();
    static const std::string none;
    return symbol <= symCol ? names[static_cast<std::size_t>(symbol)] : none;
}

std::string EndSymbolToTagName(THtmlSymbol symbol) {
    if (!IsEndSymbol(symbol)) return {};
    return Lower(TagTable[symbol - symHtmlEnd].name);
}

THtmlSymbol EndSymbolOf(THtmlSymbol symbol) {
    return HasEndSymbol(symbol) ? static_cast<THtmlSymbol>(symbol + symHtmlEnd) : symUnknownTag;
}

std::string SymbolName(THtmlSymbol symbol) {
    if (IsEndSymbol(symbol)) return "/" + std::string(TagTable[symbol - symHtmlEnd].name);
    if (symbol <= symCol) return TagNameOf(symbol);
    switch (symbol) {
        case symText:
            return "Text";
        case symEof:
            return "Eof";
        case symUnknownTag:
            return "UnknownTag";
        case symUnknownAttr:
            return "UnknownAttr";
        case symLineEnd:
            return "LineEnd";
        case symNoList:
            return "NoList";
        default:
            break;
    }
    for (const auto& entry : AttributeTable)
        if (entry.symbol == symbol) return entry.name;
    return "Reserved";
}
