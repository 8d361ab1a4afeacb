// Paragraphs, inline elements, fonts, links, breaks, headings and the BODY tag.

#include "BuilderTestSupport.h"

using namespace buildertest;

TEST(BuilderParagraphs, ImplicitEndsAndRunsOfP) {
    Page two("<P>a<P>b");
    EXPECT_EQ(Tree(two), "block p.\n  section \"a\" 0:-\nblock p.\n  section \"b\" 0:-\n");
    Page one("<P><P> <P>\n</P><p class=last>x");
    EXPECT_EQ(Tree(one), "block p.last\n  section \"x\" 0:-\n");
    // A block element, an end tag or a rule closes the paragraph.
    Page closed("<p>a<div>b</div>c</p>d<p>e<hr>f");
    EXPECT_EQ(Tree(closed),
              "block p.\n  section \"a\" 0:-\nblock div.\n  section \"b\" 0:-\nsection \"cd\" 0:-\n"
              "block p.\n  section \"e\" 0:-\nhr hr.\n  rule\nsection \"f\" 0:-\n");
}

TEST(BuilderInline, OutOfOrderEndTagRebasesOpenElements) {
    Page page("<p>x<B>a<I>b</B>c</I>d");
    EXPECT_EQ(Tree(page), "block p.\n  section \"xabcd\" 0:- 1:b 2:bi 3:i 4:-\n");
    // End tags of elements never opened change nothing (the run they start has the
    // same font).
    Page stray("<i>a</b></u>b</i>c");
    EXPECT_EQ(Tree(stray), "section \"abc\" 0:i 1:i 2:-\n");
}

TEST(BuilderInline, PhraseElementsAndSpans) {
    Page page("<u>u</u><s>s</s><strike>k</strike><em>e</em><strong>g</strong><span>p</span>");
    EXPECT_EQ(Tree(page), "section \"uskegp\" 0:u 1:s 2:s 3:i 4:b 5:-\n");
}

TEST(BuilderInline, FontSizesFollowTheBaseFont) {
    const auto heightOf = [](const std::string& html) {
        Page page(html);
        TSection* s = FirstSection(page.Body().content);
        return s ? s->fontRuns[s->fontRuns.Count() - 1].font.height : 0;
    };
    const int size3 = heightOf("x");
    const int size4 = heightOf("<font size=4>x");
    const int size5 = heightOf("<font size=5>x");
    EXPECT_NE(size4, size5);
    EXPECT_EQ(size3, heightOf("<font size=3>x"));
    EXPECT_EQ(size5, heightOf("<font size=+2>x"));
    EXPECT_EQ(size4, heightOf("<basefont size=5><font size=-1>x"));
    EXPECT_EQ(size5, heightOf("<basefont size=5>x"));
    // Clamped to 1..7.
    EXPECT_EQ(heightOf("<font size=7>x"), heightOf("<font size=+9>x"));
    EXPECT_EQ(heightOf("<font size=1>x"), heightOf("<font size=-9>x"));
    // /FONT closes the nearest font entry, even one BASEFONT opened.
    EXPECT_EQ(size3, heightOf("<basefont size=5></font>x"));
}

TEST(BuilderInline, FontColourAndFace) {
    Page page("<font color=#ff0000>r</font>n");
    TSection* s = FirstSection(page.Body().content);
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->fontRuns.Count(), 2);
    EXPECT_EQ(s->fontRuns[0].font.Color & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(s->fontRuns[1].font.Color & 0xFFFFFF, 0u);
}

TEST(BuilderLinks, RunsAnchorsAndNesting) {
    Page page("a<a href=one.htm name=#Top>b<b>c</b></a>d<a href=x>e<a href=y>f</a>");
    EXPECT_EQ(Tree(page), "section \"abcdef\" 0:- 1:u@one.htm 2:bu@one.htm 3:- 4:u@x 5:u@y\n");
    ASSERT_NE(page.doc.anchors->Find("TOP"), nullptr);
    EXPECT_EQ(page.doc.anchors->Find("TOP"), FirstSection(page.Body().content));
    EXPECT_EQ(page.doc.linkRuns.size(), 4u);
    // Every run of one link shares its number.
    TSection* s = FirstSection(page.Body().content);
    EXPECT_EQ(s->fontRuns[1].LinkTarget().LinkId, s->fontRuns[2].LinkTarget().LinkId);
    EXPECT_NE(s->fontRuns[4].LinkTarget().LinkId, s->fontRuns[5].LinkTarget().LinkId);
}

TEST(BuilderLinks, MoreThan400LinksSetTooManyLinks) {
    std::string html;
    for (int i = 0; i < 400; ++i) html += "<a href=p" + std::to_string(i) + ".htm>x</a> ";
    Page exactly(html);
    EXPECT_FALSE(exactly.doc.tooManyLinks);
    EXPECT_FALSE(exactly.doc.tabOrder.empty());
    Page over(html + "<a href=last>y</a><a name=notalink>z</a>");
    EXPECT_TRUE(over.doc.tooManyLinks);
    EXPECT_TRUE(over.doc.tabOrder.empty());
    EXPECT_EQ(over.doc.linkRuns.size(), 401u);
}

TEST(BuilderBreaks, BreaksRulesPagesAndNoBreak) {
    Page page("a<br>b<br clear=all>c<page>d<nobr>e f<wbr>g</nobr> h");
    EXPECT_EQ(Tree(page),
              "section \"a\" 0:-\nsection \"b\" 0:-\nsection \"c\" 0:-\npage\n"
              "section \"de f g h\" 0:-\n");
    TSection* last = dynamic_cast<TSection*>(page.Body().content.items.back().get());
    ASSERT_NE(last, nullptr);
    // Inside NOBR only the WBR space may break.
    EXPECT_EQ(last->BreakFlags().substr(0, 8), "ynnnynyy");
    auto* cleared = dynamic_cast<TSection*>(page.Body().content.items[2].get());
    ASSERT_NE(cleared, nullptr);
    EXPECT_EQ(cleared->clearSides, 3);
}

TEST(BuilderHeadings, LevelsCentreAndEnds) {
    Page page("<h2 align=right>t<b>b</b></h3>x<h7>s</h7><h>n</h>");
    EXPECT_EQ(Tree(page), "block h2.\n  section \"tb\" 0:b 1:b\nsection \"xsn\" 0:-\n");
    // Blocks, lists and other headings end a heading; a paragraph and DIV do not.
    Page ended("<h1>a<p>p</p><div>d</div>b<ul><li>l</ul><h3>c<pre>q</pre>");
    EXPECT_EQ(Tree(ended),
              "block h1.\n  section \"a\" 0:b\n  block p.\n    section \"p\" 0:b\n  block div.\n"
              "    section \"d\" 0:b\n  section \"b\" 0:b\nblock ul.\n  li li. kind=2 n=1\n"
              "    section \"l\" 0:-\nblock h3.\n  section \"c\" 0:b\nblock pre.\n  pre \"q\" 0:-\n");
    Page centred("<h1><center>t</h1>");
    auto* heading = dynamic_cast<TBlock*>(centred.Body().content.items[0].get());
    ASSERT_NE(heading, nullptr);
    auto* text = dynamic_cast<TSection*>(heading->content.items[0].get());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->textAlign, 2);
}

TEST(BuilderBody, AttributesAndLateBody) {
    Page page("junk<a name=early>e</a><body text=#00ff00 bgcolor=white link=#123456 marginwidth=500 "
              "marginheight=-3 id=b>x<body text=red>y");
    EXPECT_EQ(Tree(page), "section \"xy\" 0:-\n");
    TBlock& body = page.Body();
    EXPECT_EQ(body.Box(piMarginLeft), 200);
    EXPECT_EQ(body.Box(piMarginTop), 0);
    TSection* s = FirstSection(body.content);
    EXPECT_EQ(s->fontRuns[0].font.Color & 0xFFFFFF, 0x00FF00u);
    // The anchors of the dropped text and of the first body point at the new body.
    EXPECT_EQ(page.doc.anchors->Find("EARLY"), &body);
    EXPECT_EQ(page.doc.anchors->Find("b"), &body);
    EXPECT_TRUE(page.doc.linkRuns.empty());
    EXPECT_EQ(page.doc.items.size(), 1u);
    const TProperties* link = page.doc.styleSheet->Find("::link");
    ASSERT_NE(link, nullptr);
    EXPECT_EQ((*link)[piColor].toInteger() & 0xFFFFFF, 0x563412);
}

TEST(BuilderBody, PicturesDroppedBeforeTheBodyLeaveTheAnchors) {
    for (const char* named : {"NAME=pic", "ID=pic"}) {
        SCOPED_TRACE(named);
        Page page(std::string("<IMG ") + named + " SRC=x.bmp><BODY>text<IMG NAME=kept SRC=y.bmp>");
        // A lookup of the dropped picture must not reach it (the sanitizer watches).
        if (TIDObject* target = page.doc.anchors->Find("pic")) target->GetTopY();
        EXPECT_EQ(page.doc.anchors->Find("pic"), nullptr);
        EXPECT_NE(page.doc.anchors->Find("kept"), nullptr);
        page.doc.Clear();
        EXPECT_EQ(page.doc.anchors->Find("kept"), nullptr);
    }
}

TEST(BuilderRobustness, CutPagesKeepWhatWasRead) {
    // The text run the unclosed comment cuts is lost with it.
    Page comment("<p>one</p><b>two<!-- never closed");
    EXPECT_EQ(Tree(comment), "block p.\n  section \"one\" 0:-\n");
    Page control(std::string("<ul><li>kept") + '\x03' + "lost");
    EXPECT_EQ(Tree(control), "block ul.\n  li li. kind=2 n=1\n    section \"kept\" 0:-\n");
    Page empty("");
    EXPECT_EQ(Tree(empty), "");
    empty.Layout();
}

TEST(BuilderRobustness, DeepInlineNestingStaysBounded) {
    std::string html;
    for (int i = 0; i < 5000; ++i) html += "<b><span style='color:red'>";
    html += "x";
    for (int i = 0; i < 5000; ++i) html += "</b>";
    html += "<i>y</i>";
    Page page(html);
    TSection* s = FirstSection(page.Body().content);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(platform::Utf16ToUtf8(s->textBuffer.str()), "xy");
    page.Layout();
}

TEST(BuilderSourcePositions, EveryCharacterKeepsItsPlaceInThePage) {
    // Leading, doubled and trailing blanks go, a reference stands for several bytes, and
    // a tag and a comment sit between words.
    const std::string html = "<p>  Ab  c&amp;d <b>e</b>f<!-- x --> g\r\n";
    Page page(html);
    TSection* s = FirstSection(page.Body().content);
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->textBuffer.str(), u"Ab c&d ef g");
    // Where each kept character came from: letters at their own byte, the '&' at the
    // start of its reference, blanks at the first blank of their run.
    const std::vector<int> expected = {
        int(html.find('A')),   int(html.find('b')), int(html.find("  c")), int(html.find('c')),
        int(html.find('&')),   int(html.find('d')), int(html.find(" <b>")), int(html.find('e')),
        int(html.find("f<")),  int(html.find(" g")), int(html.find('g')),
    };
    ASSERT_EQ(static_cast<int>(expected.size()), s->cursorCount);
    for (int i = 0; i < s->cursorCount; ++i) EXPECT_EQ(s->SourcePosOf(i), expected[i]) << "character " << i;
}

TEST(BuilderText, TextTransformCasesEveryScript) {
    Page page(
        "<meta http-equiv=content-type content='text/html; charset=utf-8'>"
        "<p style='text-transform: uppercase'>tiếng việt, άθήνα, ｔｏｋｙｏ, straße"
        "<p style='text-transform: lowercase'>ÇÃO ΏΡΑ");
    EXPECT_EQ(Tree(page),
              "block p.\n  section \"TIẾNG VIỆT, ΆΘΉΝΑ, ＴＯＫＹＯ, STRAßE\" 0:-\n"
              "block p.\n  section \"ção ώρα\" 0:-\n");
}

TEST(BuilderBlocks, ABlockTitleIsTheHintOverItsBoxOnly) {
    Page page("<div title=\"Sobre a obra\"><p>texto</div><p>fora");
    platform::RecordingCanvas canvas;
    int scrollWidth = 0, cursor = 0;
    page.doc.LayoutCell(canvas, 0, 300, 600, scrollWidth, cursor);
    page.doc.Draw(canvas, {0, 0, 300, 600}, 300, 0, 0, 0, 0);
    auto& titled = dynamic_cast<TBlock&>(*page.Body().content.items.at(0));
    auto& plain = dynamic_cast<TBlock&>(*page.Body().content.items.at(1));
    auto hint = [&](TSectionList& doc, const TBlock& block, std::string& title) {
        TFormControlObj* control = nullptr;
        const TUrlTarget* target = nullptr;
        title.clear();
        return doc.HitTestLink(canvas, 20, block.topY + 2, title, control, target) & htTitle;
    };
    std::string title;
    EXPECT_TRUE(hint(page.doc, titled, title));
    EXPECT_EQ(title, "Sobre a obra");
    EXPECT_FALSE(hint(page.doc, plain, title));
    EXPECT_EQ(title, "");
}
