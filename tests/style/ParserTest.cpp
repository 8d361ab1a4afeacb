// Reading style sheets and style attributes: comments, at-rules, selector keys and
// the shorthand properties.

#include <gtest/gtest.h>

#include "StyleTestSupport.h"
#include "style/StyleParser.h"

namespace {

class SheetTest : public ::testing::Test {
protected:
    // A list without defaults, so only what the sheet stored is in it.
    void Read(const std::string& text, const std::string& basePath = "") {
        ParseStyleSheetText(styles, text, basePath);
    }
    PropValue Value(const std::string& key, PropIndex index) {
        const TProperties* entry = styles.Find(key);
        return entry ? entry->Values[index] : PropValue("<no entry " + key + ">");
    }
    std::vector<std::string> Keys() {
        std::vector<std::string> keys;
        for (const auto& entry : styles.Entries()) keys.push_back(entry.Key);
        return keys;
    }
    TStyleList styles;
};

TEST_F(SheetTest, CommentMarkersAndCommentsAreSkipped) {
    Read("<!--\n p { color: red } /* b { color: blue } */\n"
         " h1 { font-/* inside */weight: bold; color: /**/green }\n-->");
    EXPECT_EQ(Keys(), (std::vector<std::string>{"h1", "p"}));
    EXPECT_EQ(Value("p", piColor), PropValue(0x0000FF));
    EXPECT_EQ(Value("h1", piFontWeight), PropValue("bold"));
    EXPECT_EQ(Value("h1", piColor), PropValue(0x008000));
}

TEST_F(SheetTest, ReadingStopsAtTheNextTagEvenInsideAComment) {
    char ch = 'p';
    const std::string rest = " { color: red } /* open comment </style><p>text";
    std::size_t at = 0;
    ParseStyleSheet(styles, ch, [&]() -> char { return at < rest.size() ? rest[at++] : 26; }, "");
    EXPECT_EQ(ch, '<');
    EXPECT_EQ(rest.substr(at), "/style><p>text");
    EXPECT_EQ(Value("p", piColor), PropValue(0x0000FF));
    // The character handed back is upper-cased.
    const std::string second = "b{color:red}x";
    at = 0;
    ch = ' ';
    ParseStyleSheet(styles, ch, [&]() -> char { return at < second.size() ? second[at++] : 26; }, "");
    EXPECT_EQ(ch, 26);
}

TEST_F(SheetTest, AtRulesWithNestedBlocksAreSkipped) {
    Read("@import url(x.css);\n"
         "@media print { p { color: red } div { @page { margin: 0 } } }\n"
         "h2 { color: blue }\n"
         "@font-face { font-family: x }");
    EXPECT_EQ(Keys(), (std::vector<std::string>{"h2"}));
    EXPECT_EQ(Value("h2", piColor), PropValue(0xFF0000));
}

TEST_F(SheetTest, DeeplyNestedAtRuleBlocksDoNotExhaustTheStack) {
    Read("@media x " + std::string(200000, '{') + std::string(200000, '}') + " p { color: red }");
    EXPECT_EQ(Value("p", piColor), PropValue(0x0000FF));
}

TEST_F(SheetTest, SelectorKeys) {
    Read("H1, .Note, a:hover, td#X.y { text-align: center }\n"
         "div > p { margin-top: 1px }\n"
         "div p { color: red }\n"
         "ul li a { color: blue }\n"
         "* { color: green }");
    for (const char* key : {"h1", ".note", "a:hover", "td#x.y"})
        EXPECT_EQ(Value(key, piTextAlign), PropValue("center")) << key;
    EXPECT_EQ(Value("div", piMarginTop), PropValue("1px"));
    // Descendant keys: subject, ancestor count and sequence, ancestors nearest first.
    EXPECT_EQ(Value("p 110div ", piColor), PropValue(0x0000FF));
    EXPECT_EQ(Value("a 211li ul ", piColor), PropValue(0xFF0000));
    EXPECT_EQ(Value("", piColor), PropValue(0x008000));
}

TEST_F(SheetTest, DeclarationSyntax) {
    Read("p { COLOR = Red ; font-family: \"Times New Roman\" ; bogus ; margin-left: 2px !important }\n"
         "q { font-family: 'Verdana' }\n"
         "b { text-align: left; ; ; text-indent: 5% }");
    EXPECT_EQ(Value("p", piColor), PropValue(0x0000FF));
    EXPECT_EQ(Value("p", piFontFamily), PropValue("times new roman"));
    EXPECT_EQ(Value("p", piMarginLeft), PropValue("2px !important"));
    EXPECT_EQ(Value("q", piFontFamily), PropValue("verdana"));
    EXPECT_EQ(Value("b", piTextIndent), PropValue("5%"));
}

TEST_F(SheetTest, FourSideShorthands) {
    Read("a { margin: 1px 2px 3px }\n"
         "b { margin: 1px 2px }\n"
         "c { padding: 4px }\n"
         "d { border-width: 1px 2px 3px 4px 5px }\n"
         "e { border-style: solid none }\n"
         "f { border-color: red blue }\n"
         "g { margin: }");
    auto sides = [&](const char* key, PropIndex first) {
        std::vector<std::string> texts;
        for (int i = 0; i < 4; ++i) texts.push_back(Value(key, PropIndex(first + i)).toText());
        return texts;
    };
    using S = std::vector<std::string>;
    EXPECT_EQ(sides("a", piMarginTop), (S{"1px", "2px", "3px", "2px"}));
    EXPECT_EQ(sides("b", piMarginTop), (S{"1px", "2px", "1px", "2px"}));
    EXPECT_EQ(sides("c", piPaddingTop), (S{"4px", "4px", "4px", "4px"}));
    EXPECT_EQ(sides("d", piBorderTopWidth), (S{"1px", "2px", "3px", "4px"}));
    EXPECT_EQ(sides("e", piBorderTopStyle), (S{"solid", "none", "solid", "none"}));
    EXPECT_EQ(Value("e", piBorderStyle), PropValue("solid"));
    EXPECT_EQ(Value("f", piBorderTopColor), PropValue(0x0000FF));
    EXPECT_EQ(Value("f", piBorderLeftColor), PropValue(0xFF0000));
    EXPECT_EQ(styles.Find("g"), nullptr);
}

TEST_F(SheetTest, BorderShorthands) {
    Read("a { border: 1px solid #000 }\n"
         "b { border-left: thick rgb(1, 2, 3) dotted }\n"
         "c { border-top: red }");
    for (PropIndex i : {piBorderTopWidth, piBorderRightWidth, piBorderBottomWidth, piBorderLeftWidth})
        EXPECT_EQ(Value("a", i), PropValue("1px"));
    EXPECT_EQ(Value("a", piBorderStyle), PropValue("solid"));
    EXPECT_EQ(Value("a", piBorderBottomStyle), PropValue("solid"));
    EXPECT_EQ(Value("a", piBorderColor), PropValue(0x02000000));
    EXPECT_EQ(Value("a", piBorderRightColor), PropValue(0x02000000));
    EXPECT_EQ(Value("b", piBorderLeftWidth), PropValue("thick"));
    EXPECT_EQ(Value("b", piBorderLeftColor), PropValue(0x02030201));
    EXPECT_EQ(Value("b", piBorderLeftStyle), PropValue("dotted"));
    EXPECT_EQ(Value("b", piBorderStyle), PropValue("dotted"));
    EXPECT_EQ(Value("b", piBorderTopWidth), PropValue(NoValue));
    EXPECT_EQ(Value("c", piBorderTopColor), PropValue(0x0000FF));
}

TEST_F(SheetTest, FontShorthand) {
    Read("a { font: italic bold 12pt/14pt arial }\n"
         "b { font: small-caps x-large \"Times New Roman\", serif }\n"
         "c { font: 10px/1.2 georgia, sans-serif }");
    EXPECT_EQ(Value("a", piFontStyle), PropValue("italic"));
    EXPECT_EQ(Value("a", piFontWeight), PropValue("bold"));
    EXPECT_EQ(Value("a", piFontSize), PropValue("12pt"));
    EXPECT_EQ(Value("a", piLineHeight), PropValue("14pt"));
    EXPECT_EQ(Value("a", piFontFamily), PropValue("arial"));
    EXPECT_EQ(Value("b", piFontSize), PropValue("x-large"));
    EXPECT_EQ(Value("b", piFontFamily), PropValue("\"times new roman\",serif"));
    EXPECT_EQ(Value("c", piFontSize), PropValue("10px"));
    EXPECT_EQ(Value("c", piLineHeight), PropValue("1.2"));
    EXPECT_EQ(Value("c", piFontFamily), PropValue("georgia,sans-serif"));
}

TEST_F(SheetTest, BackgroundAndListStyleShorthands) {
    Read("a { background: url(img/a.gif) no-repeat left top }\n"
         "b { background: #fff none fixed 10% 20px center }\n"
         "c { background: rgb(1,2,3) }\n"
         "d { list-style: square url(dot.png) }\n"
         "e { background-image: url(\"x.gif\") }",
         "c:\\site\\");
    EXPECT_EQ(Value("a", piBackgroundImage), PropValue("url(c:\\site\\img\\a.gif)"));
    EXPECT_EQ(Value("a", piBackgroundRepeat), PropValue("no-repeat"));
    EXPECT_EQ(Value("a", piBackgroundPosition), PropValue("left top"));
    EXPECT_EQ(Value("b", piBackgroundColor), PropValue(0x02FFFFFF));
    EXPECT_EQ(Value("b", piBackgroundImage), PropValue("none"));
    EXPECT_EQ(Value("b", piBackgroundAttachment), PropValue("fixed"));
    EXPECT_EQ(Value("b", piBackgroundPosition), PropValue("20px center"));
    EXPECT_EQ(Value("c", piBackgroundColor), PropValue(0x02030201));
    EXPECT_TRUE(Value("c", piBackgroundPosition).isEmpty());
    EXPECT_EQ(Value("d", piListStyleType), PropValue("square"));
    EXPECT_EQ(Value("d", piListStyleImage), PropValue("url(c:\\site\\dot.png)"));
    EXPECT_EQ(Value("e", piBackgroundImage), PropValue("url(c:\\site\\x.gif)"));
}

TEST(MakeUrlAbsolute, LocalAndWebBases) {
    EXPECT_EQ(MakeUrlAbsolute("url(a/b.gif)", "c:\\dir\\"), "url(c:\\dir\\a\\b.gif)");
    EXPECT_EQ(MakeUrlAbsolute("url(file:///d|/x.gif)", "c:\\dir\\"), "url(d:\\x.gif)");
    EXPECT_EQ(MakeUrlAbsolute("url(\\\\server\\x.gif)", "c:\\dir\\"), "url(\\\\server\\x.gif)");
    EXPECT_EQ(MakeUrlAbsolute("url(../x.gif)", "proto://host/a/b/"), "url(proto://host/a/x.gif)");
    EXPECT_EQ(MakeUrlAbsolute("url(/x.gif)", "proto://host/a/b/"), "url(proto://host/x.gif)");
    EXPECT_EQ(MakeUrlAbsolute("url(./y.gif)", "proto://host/a/b/"), "url(proto://host/a/b/y.gif)");
    EXPECT_EQ(MakeUrlAbsolute("url(other://h/z.gif)", "proto://host/a/"), "url(other://h/z.gif)");
    // The builder can put its own URL helpers in place.
    SetStyleUrlResolver([](const std::string& base, const std::string& address) {
        return base + "|" + address;
    });
    EXPECT_EQ(MakeUrlAbsolute("url(q.gif)", "proto://h/"), "url(proto://h/|q.gif)");
    SetStyleUrlResolver(nullptr);
    EXPECT_EQ(MakeUrlAbsolute("url(q.gif)", "proto://h/"), "url(proto://h/q.gif)");
}

TEST(ParseStyleAttribute, DeclarationsOfOneElement) {
    TProperties props;
    ParseStyleAttribute("COLOR: Red; margin: 1px 2px; font-family: '{Odd}<Face>'; "
                        "background: url(a.gif) repeat-x; nonsense; width=50%", props);
    EXPECT_EQ(props[piColor], PropValue(0x0000FF));
    EXPECT_EQ(props[piMarginRight], PropValue("2px"));
    EXPECT_EQ(props[piMarginBottom], PropValue("1px"));
    // "}" and "<" are ordinary characters here; only ";" ends a value.
    EXPECT_EQ(props[piFontFamily], PropValue("{odd}<face>"));
    // References in style attributes stay as written.
    EXPECT_EQ(props[piBackgroundImage], PropValue("url(a.gif)"));
    EXPECT_EQ(props[piBackgroundRepeat], PropValue("repeat-x"));
    EXPECT_EQ(props[piWidth], PropValue("50%"));
    // Comments are a style sheet matter: in an attribute they are text.
    TProperties other;
    ParseStyleAttribute("color: /* x */ red", other);
    EXPECT_EQ(other[piColor], PropValue(0));
}

}  // namespace
