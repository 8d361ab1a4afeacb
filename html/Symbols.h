#pragma once
// The symbols of the HTML reader: one byte shared by tag and attribute names, plus the
// few that stand for text, end of text and the like. Tags listed first have both a start
// and an end symbol; attributes that share a name with a tag use the tag's symbol.

#include <cstdint>
#include <string>
#include <string_view>

// clang-format off
enum THtmlSymbol : std::uint8_t {
    // Tags with a start and an end symbol, in table order.
    symHtml, symTitle, symBody, symHead, symB, symI, symH, symEm, symStrong, symU,
    symCite, symVar, symTT, symCode, symKbd, symSamp, symOL, symUL, symDir, symMenu,
    symDL, symA, symAddress, symBlockquote, symPre, symCenter, symTable, symTD, symTH,
    symCaption, symForm, symTextArea, symSelect, symOption, symFont, symSub, symSup,
    symBig, symSmall, symP, symMap, symFrameset, symNoFrames, symScript, symDiv, symS,
    symStrike, symTR, symNoBr, symStyle, symSpan, symColGroup,
    // Their end symbols, in the same order.
    symHtmlEnd, symTitleEnd, symBodyEnd, symHeadEnd, symBEnd, symIEnd, symHEnd, symEmEnd,
    symStrongEnd, symUEnd, symCiteEnd, symVarEnd, symTTEnd, symCodeEnd, symKbdEnd,
    symSampEnd, symOLEnd, symULEnd, symDirEnd, symMenuEnd, symDLEnd, symAEnd,
    symAddressEnd, symBlockquoteEnd, symPreEnd, symCenterEnd, symTableEnd, symTDEnd,
    symTHEnd, symCaptionEnd, symFormEnd, symTextAreaEnd, symSelectEnd, symOptionEnd,
    symFontEnd, symSubEnd, symSupEnd, symBigEnd, symSmallEnd, symPEnd, symMapEnd,
    symFramesetEnd, symNoFramesEnd, symScriptEnd, symDivEnd, symSEnd, symStrikeEnd,
    symTREnd, symNoBrEnd, symStyleEnd, symSpanEnd, symColGroupEnd,
    // Tags with a start symbol only.
    symLI, symBR, symHR, symDD, symDT, symImg, symBase, symButton, symInput, symSelected,
    symBaseFont, symArea, symFrame, symPage, symBgSound, symWrap, symMeta, symPanel, symWbr,
    symLink, symCol,
    // Attributes with a symbol of their own.
    symHref, symName, symSrc, symAlt, symAlign, symBgColor, symBackground, symColSpan,
    symRowSpan, symBorder, symCellPadding, symCellSpacing, symVAlign, symWidth, symStart,
    symValue, symType, symCheckbox, symRadio, symMethod, symAction, symChecked, symSize,
    symMaxLength, symCols, symRows, symMultiple, symFace, symColor, symTransp, symClear,
    symIsMap, symBorderColor, symUseMap, symShape, symCoords, symNoHref, symHeight,
    symPlain, symTarget, symNoResize, symScrolling, symHSpace, symLanguage,
    symFrameBorder, symMarginWidth, symMarginHeight, symLoop, symOnClick, symNoShade,
    symHttpEq, symContent, symEncType, symVLink, symOLink, symActive, symVSpace, symClass,
    symID, symRel, symRev, symNoWrap, symBorderColorLight, symBorderColorDark, symCharset,
    symRatio, symOnFocus, symOnBlur, symOnChange, symTabIndex, symBgProperties,
    symDisabled,
    // Everything that is not a name.
    symText,        // a run of text; also the attribute TEXT
    symEof,         // end of text
    symUnknownTag,  // a tag not in the table, or the end tag of a tag without end symbol
    symUnknownAttr, // an attribute not in the table
    symLineEnd,     // a line end inside TEXTAREA or SCRIPT content
    symNoList,      // the list kind of an LI outside any list
    // Kept free so the numbering of the values above never has to move.
    symReserved1, symReserved2, symReserved3, symReserved4, symReserved5,
    symCount
};
// clang-format on

static_assert(symCount == 208, "the symbol byte holds 208 values");

inline constexpr int TagsWithEndSymbol = 52;

// Tag name (upper case, as the reader stores it) to its start symbol; symUnknownTag when
// the name is not a tag.
THtmlSymbol LookupTag(std::string_view upperName);
// Attribute name (upper case) to its symbol; symUnknownAttr when unknown.
THtmlSymbol LookupAttribute(std::string_view upperName);

// Start symbol to lower-case tag name ("" for anything else): the element name that
// style rules match.
const std::string& SymbolToTagName(THtmlSymbol symbol);
// End symbol to lower-case tag name ("" for anything else).
std::string EndSymbolToTagName(THtmlSymbol symbol);
// Start symbol to its end symbol; symUnknownTag when the tag has none.
THtmlSymbol EndSymbolOf(THtmlSymbol symbol);

bool HasEndSymbol(THtmlSymbol startSymbol);
bool IsEndSymbol(THtmlSymbol symbol);

// A readable name for dumps and messages: "B", "/B", "HREF", "Text", "Eof"...
std::string SymbolName(THtmlSymbol symbol);
