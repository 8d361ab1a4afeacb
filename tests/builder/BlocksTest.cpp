// Lists, list items, containers, preformatted and plain text, and deep nesting.

#include "BuilderTestSupport.h"
#include "layout/Preformatted.h"

using namespace buildertest;

TEST(BuilderLists, ItemsEndEachOther) {
    Page page("<UL><LI>a<LI>b</UL>c");
    EXPECT_EQ(Tree(page),
              "block ul.\n  li li. kind=2 n=1\n    section \"a\" 0:-\n  li li. kind=2 n=2\n"
              "    section \"b\" 0:-\nsection \"c\" 0:-\n");
    auto* list = dynamic_cast<TBlock*>(page.Body().content.items[0].get());
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isListContainer);
}

TEST(BuilderLists, NumberingStartValueAndNesting) {
    Page page("<ol start=5 type=a><li>a<li value=10>b<ol><li>c</ol><li>d</ol>"
              "<ol start=-2><li>e</ol><dl><dt>t<dd>d</dl>");
    EXPECT_EQ(Tree(page),
              "block ol.\n  li li. kind=1 n=5\n    section \"a\" 0:-\n  li li. kind=1 n=10\n"
              "    section \"b\" 0:-\n    block ol.\n      li li. kind=1 n=1\n        section \"c\" 0:-\n"
              "  li li. kind=1 n=11\n    section \"d\" 0:-\nblock ol.\n  li li. kind=1 n=1\n"
              "    section \"e\" 0:-\nblock dl.\n  li dt. kind=3 n=1\n    section \"t\" 0:-\n"
              "  li dd. kind=3 n=2\n    section \"d\" 0:-\n");
}

TEST(BuilderLists, ItemsOutsideListsAndParagraphsInItems) {
    Page page("<li>x<p>y<dd>z");
    EXPECT_EQ(Tree(page),
              "li li. kind=4 n=1\n  section \"x\" 0:-\nblock p.\n  section \"y\" 0:-\n"
              "li dd. kind=3 n=1\n  section \"z\" 0:-\n");
    Page inside("<ul><li>x<p>y</ul>");
    EXPECT_EQ(Tree(inside), "block ul.\n  li li. kind=2 n=1\n    section \"x\" 0:-\n    block p.\n"
                            "      section \"y\" 0:-\n");
    Page empty("<ul></ul><ol></ul>x");
    EXPECT_EQ(Tree(empty), "block ul.\nblock ol.\nsection \"x\" 0:-\n");
}

TEST(BuilderLists, TrailingParagraphSpaceMovesBelowTheList) {
    Page page("<ul><li><p>a</p></ul>b");
    auto* list = dynamic_cast<TBlock*>(page.Body().content.items[0].get());
    ASSERT_NE(list, nullptr);
    auto* item = dynamic_cast<TBlock*>(list->content.items[0].get());
    auto* paragraph = dynamic_cast<TBlock*>(item->content.items[0].get());
    ASSERT_NE(paragraph, nullptr);
    EXPECT_EQ(paragraph->Box(piMarginBottom), 0);
    EXPECT_EQ(list->Box(piMarginBottom), 14);
    EXPECT_TRUE(list->bottomMarginIsParagraph);
}

TEST(BuilderLists, ALargerBottomMarginOfTheListsOwnIsKept) {
    // The paragraph space and the block's own margin collapse into the larger one.
    Page page(
        "<ul style='margin-bottom: 30px'><li><p>a</p></ul>x"
        "<div style='margin-bottom: 5px'><p>b</p></div>y<form><p>c</p></form>z");
    const auto& items = page.Body().content.items;
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(dynamic_cast<TBlock&>(*items[0]).Box(piMarginBottom), 30);
    EXPECT_FALSE(dynamic_cast<TBlock&>(*items[0]).bottomMarginIsParagraph);
    EXPECT_EQ(dynamic_cast<TBlock&>(*items[2]).Box(piMarginBottom), 14);
    EXPECT_EQ(dynamic_cast<TBlock&>(*items[4]).Box(piMarginBottom), 14);
}

TEST(BuilderLists, ATerminatorThatEndsANestedListIsLeftToItsOwner) {
    // The quote's end tag ends the inner lists and then the quote, so "after" follows it.
    Page page("<blockquote><ul><li>a<ol><li>b</blockquote>after");
    EXPECT_EQ(Tree(page),
              "block blockquote.\n  block ul.\n    li li. kind=2 n=1\n      section \"a\" 0:-\n"
              "      block ol.\n        li li. kind=1 n=1\n          section \"b\" 0:-\n"
              "section \"after\" 0:-\n");
}

TEST(BuilderContainers, QuotesCentreDivAndForms) {
    Page page("<blockquote>q<p>r</blockquote><center>c</center><div align=right>d</div>"
              "</div></center><form>f<form>g</form>h<address>a</address>");
    EXPECT_EQ(Tree(page),
              "block blockquote.\n  section \"q\" 0:-\n  block p.\n    section \"r\" 0:-\n"
              "section \"c\" 0:-\nblock div.\n  section \"d\" 0:-\nblock form.\n  section \"f\" 0:-\n"
              "block form.\n  section \"g\" 0:-\nsection \"h\" 0:-\nblock address.\n"
              "  section \"a\" 0:i\n");
    auto* centred = dynamic_cast<TSection*>(page.Body().content.items[1].get());
    ASSERT_NE(centred, nullptr);
    EXPECT_EQ(centred->textAlign, 2);
    auto* div = dynamic_cast<TBlock*>(page.Body().content.items[2].get());
    EXPECT_EQ(dynamic_cast<TSection*>(div->content.items[0].get())->textAlign, 3);
}

TEST(BuilderNesting, HundredThousandNestedBlocksAreFlattened) {
    std::string html;
    for (int i = 0; i < 100000; ++i) html += i % 2 ? "<ul><li>" : "<div>";
    html += "deep";
    for (int i = 0; i < 100000; ++i) html += i % 2 ? "</ul>" : "</div>";
    html += "after";
    Page page(html);
    int depth = 0;
    TCellBasic* cell = &page.Body().content;
    TSection* deepest = nullptr;
    while (cell) {
        TCellBasic* next = nullptr;
        for (auto& item : cell->items) {
            if (auto* block = dynamic_cast<TBlock*>(item.get()))
                next = &block->content;
            else if (auto* s = dynamic_cast<TSection*>(item.get()); s && !s->IsEmpty()) deepest = s;
        }
        if (next) ++depth;
        if (!next) break;
        cell = next;
    }
    EXPECT_LE(depth, kMaxBlockNesting);
    EXPECT_GT(depth, 100);
    ASSERT_NE(deepest, nullptr);
    EXPECT_EQ(platform::Utf16ToUtf8(deepest->textBuffer.str()), "deep");
    page.Layout();
}

TEST(BuilderPre, LinesSpacesAndNestedTags) {
    Page page("<pre>\n  a  b &amp; c\n<b>bold</b> <i>it</i>\n\n"
              "x<br>y<p>para\n</p>z<tt>t</tt>&lt;<x> a<3</pre>after");
    EXPECT_EQ(Tree(page),
              "block pre.\n  pre \"  a  b & c\" 0:-\n  pre \"bold it\" 0:b 4:- 5:i\n  pre \"\"\n"
              "  pre \"x\" 0:-\n  pre \"y\" 0:-\n  block p.\n    pre \"para\" 0:-\n"
              "  pre \"zt< a<3\" 0:-\nsection \"after\" 0:-\n");
    // Fonts in PRE take the smaller sizes; /FONT closes only fonts opened inside.
    Page fonts("<font size=5><pre><font size=5>a</font></font>b</pre>c");
    auto* block = dynamic_cast<TBlock*>(fonts.Body().content.items[0].get());
    ASSERT_NE(block, nullptr);
    auto* line = dynamic_cast<TSection*>(block->content.items[0].get());
    ASSERT_NE(line, nullptr);
    // "a" in the PRE column's size 5 (15/12 of 12 pt), "b" back in PRE's own 10 pt.
    std::string heights;
    for (int i = 0; i < line->fontRuns.Count(); ++i)
        heights += std::to_string(line->fontRuns[i].textOffset) + ":" +
                   std::to_string(line->fontRuns[i].font.height) + " ";
    EXPECT_EQ(heights, "0:-20 1:-13 ");
}

TEST(BuilderPre, LinksAndAnchorsInside) {
    Page page("<pre>a <a href=x.htm>link</a> b</pre>");
    EXPECT_EQ(Tree(page), "block pre.\n  pre \"a link b\" 0:- 2:u@x.htm 6:-\n");
    EXPECT_EQ(page.doc.linkRuns.size(), 1u);
}

TEST(BuilderPre, MapsInsideEndWhereTheirTagsDo) {
    // The tag right after /MAP is read as markup, and the text after it as preformatted.
    Page page("<pre>one\n<map name=m><area href=x coords=0,0,1,1></map></pre>after");
    EXPECT_EQ(Tree(page), "block pre.\n  pre \"one\" 0:-\n  pre \"\"\nsection \"after\" 0:-\n");
    EXPECT_EQ(page.doc.imageMaps.size(), 1u);
    Page text("<pre>a<map name=m></map>  b\nc</pre>");
    EXPECT_EQ(Tree(text), "block pre.\n  pre \"a  b\" 0:-\n  pre \"c\" 0:-\n");
    // A map cut short by other tags leaves the last of them to the text around it.
    Page cut("<pre>a<map name=m><b><i></pre>after");
    EXPECT_EQ(Tree(cut), "block pre.\n  pre \"a\" 0:-\nsection \"after\" 0:-\n");
    EXPECT_TRUE(cut.doc.imageMaps.empty());
}

TEST(BuilderPlainText, OneLinePerLineKeptAsWritten) {
    Page page;
    ParseText("first  line\r\n\tsecond <b>not a tag</b>\n\nlast", page.doc);
    EXPECT_EQ(Tree(page), "pre \"first  line\" 0:-\npre \" second <b>not a tag</b>\" 0:-\npre \"\"\n"
                          "pre \"last\" 0:-\n");
    Page utf8;
    ParseText("\xEF\xBB\xBF" "Jo\xC3\xA3o", utf8.doc);
    EXPECT_EQ(Tree(utf8), "pre \"João\" 0:-\n");
}
