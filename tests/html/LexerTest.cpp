#include <cctype>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/Locale.h"
#include "html/Anchors.h"
#include "html/Charsets.h"
#include "html/Entities.h"
#include "html/Lexer.h"
#include "html/Symbols.h"

namespace {

std::vector<int> CharsOf(const std::string& text) {
    THtmlReader reader;
    reader.PrepareDocument(text);
    std::vector<int> chars;
    for (reader.ReadChar(); reader.CurChar != THtmlReader::EofChar; reader.ReadChar())
        chars.push_back(reader.CurChar);
    return chars;
}

// The symbols of a page, start to end.
std::vector<THtmlSymbol> SymbolsOf(THtmlReader& reader) {
    std::vector<THtmlSymbol> symbols;
    reader.NextChar();
    do {
        reader.NextSymbol();
        symbols.push_back(reader.Sy);
    } while (reader.Sy != symEof);
    return symbols;
}

}  // namespace

TEST(Lexer, LineEndsAndTabsAreNormalised) {
    // CR, LF, CR LF and LF CR are one line end each; CR LF LF is two.
    EXPECT_EQ(CharsOf("a\rb\nc\r\nd\n\re"),
              (std::vector<int>{'a', 13, 'b', 13, 'c', 13, 'd', 13, 'e'}));
    EXPECT_EQ(CharsOf("a\r\n\nb"), (std::vector<int>{'a', 13, 13, 'b'}));
    EXPECT_EQ(CharsOf("\tx"), (std::vector<int>{' ', 'x'}));
    // A code 26 inside the text ends it.
    EXPECT_EQ(CharsOf("ab\x1A"
                      "cd"),
              (std::vector<int>{'a', 'b'}));
    // So does a NUL: the text is cut there.
    EXPECT_EQ(CharsOf(std::string("ab\0cd", 5)), (std::vector<int>{'a', 'b'}));
}

// Plain text is taken many bytes at a time: whatever ends a run or is folded into one
// blank must be found at every place of a line, with each character's source place.
TEST(Lexer, TextRunsEndAndFoldWhereverTheBreakStands) {
    struct Case {
        std::string inserted, folded;
        bool splits;  // a tag: the text reads as two symbols
    };
    const Case cases[] = {{" ", " ", false},      {"  ", " ", false},      {"\t", " ", false},
                          {" \r\n ", " ", false}, {"\xE9", "\xE9", false}, {"<b>", "", true}};
    for (const Case& c : cases) {
        for (std::size_t at = 1; at < 38; ++at) {
            const std::string before(at, 'a'), after(40 - at, 'z');
            THtmlReader reader;
            reader.PrepareDocument(before + c.inserted + after);
            reader.NextChar();
            std::u16string text;
            std::vector<std::int32_t> positions;
            for (reader.NextSymbol(); reader.Sy != symEof; reader.NextSymbol()) {
                if (reader.Sy != symText) continue;
                text += reader.Token.AsWideString();
                positions.insert(positions.end(), reader.Token.Positions().begin(),
                                 reader.Token.Positions().end());
            }
            std::u16string expected(before.begin(), before.end());
            for (char f : c.folded)
                expected += static_cast<char16_t>(static_cast<unsigned char>(f));
            expected += std::u16string(after.begin(), after.end());
            ASSERT_EQ(expected, text) << c.inserted << " at " << at;
            ASSERT_EQ(expected.size(), positions.size()) << c.inserted << " at " << at;
            for (std::size_t k = 0; k < expected.size(); ++k) {
                const std::size_t source =
                    k < at + c.folded.size() ? k : k - c.folded.size() + c.inserted.size();
                ASSERT_EQ(static_cast<std::int32_t>(source), positions[k])
                    << c.inserted << " at " << at << ", character " << k;
            }
        }
    }
}

TEST(Lexer, ReadingAgainGivesTheSameStream) {
    THtmlReader reader;
    reader.PrepareDocument("<P ID=x>one <B>two</B>");
    const auto first = SymbolsOf(reader);
    reader.ResetReadPosition();
    EXPECT_EQ(SymbolsOf(reader), first);
    EXPECT_EQ(first, (std::vector<THtmlSymbol>{symP, symText, symB, symText, symBEnd, symEof}));
}

TEST(Lexer, StyleLeavesItsClosingBracketForTheSheetParser) {
    THtmlReader reader;
    reader.PrepareDocument("<STYLE>p{}</STYLE>");
    reader.NextChar();
    reader.NextSymbol();
    EXPECT_EQ(reader.Sy, symStyle);
    EXPECT_EQ(reader.CurChar, '>');
}

TEST(Lexer, IdAttributesBecomeAnchorsAtTheirTag) {
    TIDNameList anchors;
    THtmlReader reader;
    reader.Anchors = &anchors;
    reader.PrepareDocument("abc<P ID=Intro>x<DIV id=\"intro\">y<SPAN ID=\"\">");
    reader.PreScan = true;
    SymbolsOf(reader);
    EXPECT_EQ(anchors.Count(), 0) << "the pre-scan registers nothing";

    reader.PreScan = false;
    reader.ResetReadPosition();
    SymbolsOf(reader);
    ASSERT_EQ(anchors.Count(), 1) << "names ignore case; an empty ID is no anchor";
    auto* anchor = dynamic_cast<TChPosObj*>(anchors.Find("INTRO"));
    ASSERT_NE(anchor, nullptr);
    EXPECT_EQ(anchor->SourcePos, 16) << "the last definition wins";
}

TEST(Lexer, ProgressEvery4096BytesUnlessPreScanning) {
    const std::string page(10000, 'x');
    std::vector<int> reports;
    THtmlReader reader;
    reader.OnProgress = [&](int value) { reports.push_back(value); };
    reader.ProgressBase = 1000;
    reader.PrepareDocument(page);
    SymbolsOf(reader);
    EXPECT_EQ(reports, (std::vector<int>{4096 * 1000 / 10000, 8192 * 1000 / 10000}));

    reports.clear();
    reader.PreScan = true;
    reader.ResetReadPosition();
    SymbolsOf(reader);
    EXPECT_TRUE(reports.empty());
}

TEST(Lexer, ErrorsCarryTheirMessages) {
    THtmlReader reader;
    reader.PrepareDocument("x<!DOCTYPE never closed");
    reader.NextChar();
    try {
        reader.NextSymbol();
        FAIL() << "no error";
    } catch (const platform::Exception& e) {
        EXPECT_NE(dynamic_cast<const EParseError*>(&e), nullptr);
        EXPECT_EQ(e.message(), "Open Comment at End of HTML File");
    }
}

TEST(Lexer, ReferencesIntoBytesOfTheCodePage) {
    THtmlReader reader;
    reader.PrepareDocument("&eacute;&#233;&#8364;&#2;&bogus x");
    reader.NextChar();
    EXPECT_EQ(reader.ReadEntityToString(1252), "\xE9\xE9\x80?&bogus");
    EXPECT_EQ(reader.CurChar, ' ');

    reader.ResetReadPosition();
    reader.NextChar();
    // In UTF-8 every one of them is a whole character, &#233; too.
    EXPECT_EQ(reader.ReadEntityToString(65001), "\xC3\xA9\xC3\xA9\xE2\x82\xAC?&bogus");
}

TEST(Lexer, DecimalNumbersRoundHalvesToEven) {
    std::int32_t v = -1;
    EXPECT_TRUE(ReadDecimalNumber("2.5", v));
    EXPECT_EQ(v, 2);
    EXPECT_TRUE(ReadDecimalNumber("3.5", v));
    EXPECT_EQ(v, 4);
    EXPECT_TRUE(ReadDecimalNumber("-2.5", v));
    EXPECT_EQ(v, -2);
    EXPECT_TRUE(ReadDecimalNumber("+.75", v));
    EXPECT_EQ(v, 1);
    EXPECT_TRUE(ReadDecimalNumber("1e2", v));
    EXPECT_EQ(v, 100);
    EXPECT_TRUE(ReadDecimalNumber("99999999999999", v));
    EXPECT_EQ(v, 2147483647) << "clamped, never undefined";
    for (const char* bad : {"", "-", ".", "1x", "1e", "1.2.3", "50%"})
        EXPECT_FALSE(ReadDecimalNumber(bad, v)) << bad;
}

TEST(Attributes, DecimalValuesReadTheSameUnderOurUsersLocale) {
    // pt_BR writes decimals with a comma; the page's "51.5" must still be 51.5.
    ScopedLocale locale("pt_BR.UTF-8");
    if (!locale.active()) GTEST_SKIP() << "pt_BR.UTF-8 is not installed";
    THtmlReader reader;
    reader.PrepareDocument("<IMG HEIGHT=\"51.5\" BORDER=\"1.5\" VSPACE=+.75 WIDTH=2.5e1>");
    reader.NextChar();
    reader.NextSymbol();
    const TAttributeList& list = reader.Attributes;
    ASSERT_NE(list.FindAttribute(symHeight), nullptr);
    EXPECT_EQ(list.FindAttribute(symHeight)->IntValue, 52);
    EXPECT_EQ(list.FindAttribute(symBorder)->IntValue, 2);
    EXPECT_EQ(list.FindAttribute(symVSpace)->IntValue, 1);
    EXPECT_EQ(list.FindAttribute(symWidth)->IntValue, 25);
}

TEST(Symbols, TablesAndLookups) {
    EXPECT_EQ(LookupTag("BLOCKQUOTE"), symBlockquote);
    EXPECT_EQ(LookupTag("blockquote"), symUnknownTag) << "names arrive upper-cased";
    EXPECT_EQ(LookupTag("COL"), symCol);
    EXPECT_EQ(LookupAttribute("HTTP-EQUIV"), symHttpEq);
    EXPECT_EQ(LookupAttribute("TEXT"), symText);
    EXPECT_EQ(LookupAttribute("TITLE"), symTitle);
    EXPECT_EQ(LookupAttribute("VALUE"), symValue);
    EXPECT_EQ(LookupAttribute("BORDERCOLORLIGHT"), symBorderColorLight);
    EXPECT_EQ(LookupAttribute("NOPE"), symUnknownAttr);

    EXPECT_EQ(SymbolToTagName(symColGroup), "colgroup");
    EXPECT_EQ(SymbolToTagName(symWbr), "wbr");
    EXPECT_EQ(SymbolToTagName(symHref), "");
    EXPECT_EQ(SymbolToTagName(symTDEnd), "");
    EXPECT_EQ(EndSymbolToTagName(symTDEnd), "td");
    EXPECT_EQ(EndSymbolToTagName(symTD), "");
    EXPECT_EQ(EndSymbolOf(symSpan), symSpanEnd);
    EXPECT_EQ(EndSymbolOf(symLI), symUnknownTag);
}

// Every name of the tag and attribute tables is found as its symbol, and names that are
// only near them (a letter more, a letter less, a letter lowered) are not.
TEST(Symbols, EveryTableNameIsFoundAndNothingNearIt) {
    int tags = 0, attributes = 0;
    for (int i = 0; i < symCount; ++i) {
        const auto symbol = static_cast<THtmlSymbol>(i);
        const std::string name = SymbolName(symbol);
        const bool isTag = !SymbolToTagName(symbol).empty();
        // Every other symbol with a name of its own is an attribute's.
        const bool isAttribute =
            !isTag && !IsEndSymbol(symbol) &&
            std::string("|Text|Eof|UnknownTag|UnknownAttr|LineEnd|NoList|Reserved|")
                    .find("|" + name + "|") == std::string::npos;
        if (isTag) {
            EXPECT_EQ(LookupTag(name), symbol) << name;
            ++tags;
        }
        if (isAttribute) {
            EXPECT_EQ(LookupAttribute(name), symbol) << name;
            ++attributes;
        }
        if (!isTag && !isAttribute) continue;
        auto lookup = [&](const std::string& near) {
            return isTag ? LookupTag(near) != symUnknownTag
                         : LookupAttribute(near) != symUnknownAttr;
        };
        std::string lowered = name;
        lowered.back() =
            static_cast<char>(std::tolower(static_cast<unsigned char>(lowered.back())));
        if (lowered != name) EXPECT_FALSE(lookup(lowered)) << lowered;
        EXPECT_FALSE(lookup(name + "Q")) << name;
    }
    EXPECT_GE(tags, 60);
    EXPECT_GE(attributes, 60);
    // Names that are a tag's and an attribute's.
    for (const auto& [name, symbol] : {std::pair{"LINK", symLink},
                                       {"STYLE", symStyle},
                                       {"TITLE", symTitle},
                                       {"SPAN", symSpan},
                                       {"SELECTED", symSelected},
                                       {"WRAP", symWrap}})
        EXPECT_EQ(LookupAttribute(name), symbol) << name;
    EXPECT_EQ(LookupTag(""), symUnknownTag);
    EXPECT_EQ(LookupAttribute(""), symUnknownAttr);
    EXPECT_EQ(LookupAttribute("BORDERCOLORLIGHTX"), symUnknownAttr);
}

TEST(Entities, NamesAreCaseSensitive) {
    EXPECT_EQ(LookupEntity("nbsp"), 160);
    EXPECT_EQ(LookupEntity("Agrave"), 192);
    EXPECT_EQ(LookupEntity("agrave"), 224);
    EXPECT_EQ(LookupEntity("euro"), 8364);
    EXPECT_EQ(LookupEntity("Prime"), 8243);
    EXPECT_EQ(LookupEntity("prime"), 8242);
    EXPECT_EQ(LookupEntity("AMP"), -1);
    EXPECT_EQ(LookupEntity("apos"), -1);
}

TEST(Charsets, FirstRowInTableOrderWins) {
    const auto charset = [](const char* name) { return FindCharset(name).charset; };
    EXPECT_EQ(charset("windows-1252"), ANSI_CHARSET);
    EXPECT_EQ(charset("ISO-8859-15"), ANSI_CHARSET);
    EXPECT_EQ(charset("koi8-r"), RUSSIAN_CHARSET);
    EXPECT_EQ(charset("Shift_JIS"), SHIFTJIS_CHARSET);
    EXPECT_EQ(charset("euc-kr"), HANGEUL_CHARSET);
    EXPECT_EQ(charset("BIG5"), CHINESEBIG5_CHARSET);
    EXPECT_EQ(charset("windows-874"), THAI_CHARSET);
    // Numbers come before names: "greek" loses to 1250, 1253 beats "ansi".
    EXPECT_EQ(charset("greek-1250"), EASTEUROPE_CHARSET);
    EXPECT_EQ(charset("ansi-1253"), GREEK_CHARSET);
    EXPECT_EQ(charset("default symbol"), DEFAULT_CHARSET);
    EXPECT_FALSE(FindCharset("utf-8").found);
    EXPECT_TRUE(FindCharset("EUC-JP").eucJp);
}

TEST(Charsets, EucJpConvertsTheDocumentOnceKeepingOffsets) {
    THtmlReader reader;
    reader.PrepareDocument("<P>\xA4\xB3x\xA4\xF3");
    int charset = -1;
    ASSERT_TRUE(reader.CharsetFromName("x-euc-jp", charset));
    EXPECT_EQ(charset, SHIFTJIS_CHARSET);
    EXPECT_EQ(reader.DocumentText(), "<P>\x82\xB1x\x82\xF1");
    // Once only: a second name must not convert Shift_JIS again.
    ASSERT_TRUE(reader.CharsetFromName("euc-jp", charset));
    EXPECT_EQ(reader.DocumentText(), "<P>\x82\xB1x\x82\xF1");
}

TEST(Charsets, Iso2022JpDoubleBytesBecomeShiftJis) {
    // "こ" is JIS 24 33, Shift_JIS 82 B1; "亜" (30 21) is 88 9F; the escapes go.
    EXPECT_EQ(Iso2022JpToShiftJis("a\x1B$B$3\x30\x21\x1B(Jb"),
              "a\x82\xB1\x88\x9F"
              "b");
    EXPECT_TRUE(HasIso2022JpEscape("x\x1B$@"));
    EXPECT_FALSE(HasIso2022JpEscape("x\x1B(B"));
    EXPECT_TRUE(HasIso2022JpEscape("\x1B(B and later \x1B\x1B$B"));  // not only the first
    EXPECT_FALSE(HasIso2022JpEscape("cut short \x1B$"));
    EXPECT_FALSE(HasIso2022JpEscape("\x1B"));
}

TEST(Attributes, ListOperations) {
    THtmlReader reader;
    reader.PrepareDocument("<P CLASS=Big ID=\"Top\" TITLE='Mixed Case' CLASS=second data-x=1>");
    reader.NextChar();
    reader.NextSymbol();
    const TAttributeList& list = reader.Attributes;
    EXPECT_EQ(list.ClassValue(), "big") << "the first CLASS";
    EXPECT_EQ(list.IdValue(), "top");
    EXPECT_EQ(list.TitleValue(), "Mixed Case");
    ASSERT_NE(list.FindAttribute(symUnknownAttr), nullptr);
    EXPECT_EQ(list.FindAttribute(symUnknownAttr)->AttrName, "DATA-X");
    EXPECT_EQ(list.AsNameValueList().text(),
              "CLASS=Big\r\nID=Top\r\nTITLE=Mixed Case\r\nCLASS=second\r\nDATA-X=1\r\n");
    reader.NextSymbol();
    EXPECT_EQ(reader.Sy, symEof);
    EXPECT_EQ(reader.Attributes.IdValue(), "top") << "kept until the next tag";
}

#include "style/Properties.h"

TEST(Attributes, StyleAttributeBecomesPropertiesOwnedByTheList) {
    THtmlReader reader;
    reader.PrepareDocument(
        "<P STYLE=\"text-align: center; font-weight: bold\"><P STYLE='color: red'><B>");
    reader.NextChar();
    reader.NextSymbol();
    TProperties* first = reader.Attributes.StyleProperties();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ((*first)[piTextAlign].toText(), "center");
    EXPECT_EQ((*first)[piFontWeight].toText(), "bold");

    reader.NextSymbol();
    TProperties* second = reader.Attributes.StyleProperties();
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE((*second)[piTextAlign].isEmpty()) << "a fresh set for each tag";

    reader.NextSymbol();
    EXPECT_EQ(reader.Attributes.StyleProperties(), nullptr);
}
