#include "html/Symbols.h"

#include <array>
#include <string>
#include <unordered_map>

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

template <std::size_t N>
std::unordered_map<std::string_view, THtmlSymbol> IndexOf(const std::array<NameEntry, N>& table) {
    std::unordered_map<std::string_view, THtmlSymbol> index;
    for (const auto& entry : table) index.emplace(entry.name, entry.symbol);  // first wins
    return index;
}

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
    static const auto index = IndexOf(TagTable);
    const auto it = index.find(upperName);
    return it == index.end() ? symUnknownTag : it->second;
}

THtmlSymbol LookupAttribute(std::string_view upperName) {
    if (upperName.size() > 16) return symUnknownAttr;
    static const auto index = IndexOf(AttributeTable);
    const auto it = index.find(upperName);
    return it == index.end() ? symUnknownAttr : it->second;
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
