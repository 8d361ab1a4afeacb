// Tables as the builder reads them: rows and cells, text around and between them,
// alignment through the property stack, NOWRAP, captions, column settings,
// nesting, and pages cut inside a table.

#include "TableTestSupport.h"

#include "html/CellManager.h"

using namespace tabletest;

namespace {

// The section of a cell's content, when the cell holds just one.
TSection* OnlySection(const TCellObj& cell) {
    if (cell.content->items.size() != 1) return nullptr;
    return dynamic_cast<TSection*>(cell.content->items.front().get());
}

TCellObj* CellAt(ThtmlTable& grid, std::size_t row, std::size_t slot) {
    if (row >= grid.rows.size() || slot >= grid.rows[row]->slots.size()) return nullptr;
    return grid.rows[row]->slots[slot].cell.get();
}

}  // namespace

TEST(BuilderTables, RowsCellsAndTheImplicitRow) {
    Page implicit("<TABLE><TD>a<TD>b</TABLE>");
    EXPECT_EQ(
        TableTree(implicit),
        "tableblock table.\n  grid border=0 padding=1 spacing=2\n    row\n      td 1x1 valign=2\n"
        "        section \"a\" 0:-\n      td 1x1 valign=2\n        section \"b\" 0:-\n");
    // TR and /TR open and close rows; a cell end tag closes only the cell; whitespace
    // between the tags leaves nothing.
    Page rows("<table>\n<tr><td>a</td> <td>b</td></tr>\n<tr><th>c</th>\n</tr></table>");
    EXPECT_EQ(
        TableTree(rows),
        "tableblock table.\n  grid border=0 padding=1 spacing=2\n    row\n      td 1x1 valign=2\n"
        "        section \"a\" 0:-\n      td 1x1 valign=2\n        section \"b\" 0:-\n    row\n"
        "      th 1x1 valign=2\n        section \"c\" 0:b\n");
}

TEST(BuilderTables, TextBeforeAfterAndBetweenTheCells) {
    Page after("<TABLE><TR><TD>a</TABLE>x");
    EXPECT_EQ(
        TableTree(after),
        "tableblock table.\n  grid border=0 padding=1 spacing=2\n    row\n      td 1x1 valign=2\n"
        "        section \"a\" 0:-\nsection \"x\" 0:-\n");
    Page before("<TABLE>x<TR><TD>a</TABLE>");
    EXPECT_EQ(TableTree(before),
              "section \"x\" 0:-\ntableblock table.\n  grid border=0 padding=1 spacing=2\n    row\n"
              "      td 1x1 valign=2\n        section \"a\" 0:-\n");
    // A paragraph open before the table ends there; text after a row stands before too.
    Page around("<p>p<table><tr><td>a</td></tr>b<tr><td>c</table><i>d</i>");
    EXPECT_EQ(TableTree(around),
              "block p.\n  section \"p\" 0:-\nsection \"b\" 0:-\ntableblock table.\n"
              "  grid border=0 padding=1 spacing=2\n    row\n      td 1x1 valign=2\n        "
              "section \"a\" 0:-\n"
              "    row\n      td 1x1 valign=2\n        section \"c\" 0:-\nsection \"d\" 0:i\n");
}

TEST(BuilderTables, HeaderCellsCentreAndRowsPassTheirAlignment) {
    Page page(
        "<table><tr><th>h<td>d</tr><tr align=right><td>r<th>hr<td align=center>c</tr>"
        "<tr><td align=middle>m<td style=\"text-align: right\">s</table>");
    ThtmlTable& grid = *Grids(page).at(0);
    EXPECT_EQ(CellTextAlign(*CellAt(grid, 0, 0)), 2);
    EXPECT_EQ(CellTextAlign(*CellAt(grid, 0, 1)), 1);
    EXPECT_EQ(CellTextAlign(*CellAt(grid, 1, 0)), 3);
    EXPECT_EQ(CellTextAlign(*CellAt(grid, 1, 1)), 3);
    EXPECT_EQ(CellTextAlign(*CellAt(grid, 1, 2)), 2);
    EXPECT_EQ(CellTextAlign(*CellAt(grid, 2, 0)), 2);
    EXPECT_EQ(CellTextAlign(*CellAt(grid, 2, 1)), 3);
    // A style sheet's text-align for TH wins over the centring.
    Page styled("<style>th { text-align: left }</style><table><th>h</table>");
    EXPECT_EQ(CellTextAlign(*CellAt(*Grids(styled).at(0), 0, 0)), 1);
    // The alignment of a row does not leak into the next one or past the table.
    Page leak("<table><tr align=right><td>a<tr><td>b</table>c");
    EXPECT_EQ(CellTextAlign(*CellAt(*Grids(leak).at(0), 1, 0)), 1);
    auto* text = dynamic_cast<TSection*>(leak.Body().content.items.back().get());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->textAlign, 1);
}

TEST(BuilderTables, VerticalAlignmentFromRowsCellsAndStyle) {
    Page page(
        "<table><tr valign=bottom><td>a<td valign=top>b<td valign=BASELINE>c<td valign=middle>d"
        "<td valign=centre>e<td style=\"vertical-align: baseline\">f<td style=\"vertical-align: "
        "top\">g"
        "</table>");
    ThtmlTable& grid = *Grids(page).at(0);
    const int expected[] = {kCellBottom, kCellTop,    kCellTop, kCellMiddle,
                            kCellBottom, kCellBottom, kCellTop};
    for (std::size_t i = 0; i < 7; ++i)
        EXPECT_EQ(CellAt(grid, 0, i)->verticalAlign, expected[i]) << i;
}

TEST(BuilderTables, NowrapHoldsUnlessAPixelWidthIsGiven) {
    // The flags of the spaces between the words: 'n' holds the line together.
    auto spaceFlag = [](const std::string& cell) {
        Page page("<table><tr>" + cell + "a b</table>");
        TSection* s = OnlySection(*CellAt(*Grids(page).at(0), 0, 0));
        return s && s->textBuffer.size() > 1 ? s->BreakFlag(1) : '?';
    };
    EXPECT_EQ(spaceFlag("<td nowrap>"), 'n');
    EXPECT_EQ(spaceFlag("<td nowrap width=\"50%\">"), 'n');
    EXPECT_EQ(spaceFlag("<td nowrap width=100>"), 'y');
    EXPECT_EQ(spaceFlag("<td>"), 'y');
    // The flag ends with its cell and with the table.
    Page page("<table><tr><td nowrap>a b<td>c d</table>e f");
    ThtmlTable& grid = *Grids(page).at(0);
    EXPECT_EQ(OnlySection(*CellAt(grid, 0, 1))->BreakFlag(1), 'y');
    auto* after = dynamic_cast<TSection*>(page.Body().content.items.back().get());
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->BreakFlag(1), 'y');
}

TEST(BuilderTables, CaptionsAboveAndBelow) {
    Page top("<table id=T><caption>Title</caption><tr><td>a</table>");
    EXPECT_EQ(
        TableTree(top),
        "captioned TableAndCaption. caption-first\n  block caption.\n    section \"Title\" 0:-\n"
        "  tableblock table. align=2\n    grid border=0 padding=1 spacing=2\n      row\n"
        "        td 1x1 valign=2\n          section \"a\" 0:-\n");
    // The table's ID names the wrapper.
    EXPECT_EQ(top.doc.anchors->Find("t"), top.Body().content.items[0].get());
    Page bottom("<TABLE><CAPTION ALIGN=Bottom>Under</CAPTION><TR><TD>a</TABLE>after");
    EXPECT_EQ(TableTree(bottom),
              "captioned TableAndCaption. caption-last\n  tableblock table. align=2\n"
              "    grid border=0 padding=1 spacing=2\n      row\n        td 1x1 valign=2\n"
              "          section \"a\" 0:-\n  block caption.\n    section \"Under\" 0:-\nsection "
              "\"after\" 0:-\n");
    // Without a caption the ID names the table block.
    Page plain("<table id=p><td>a</table>");
    EXPECT_EQ(plain.doc.anchors->Find("p"), plain.Body().content.items[0].get());
}

TEST(BuilderTables, AlignedAndFloatingTables) {
    Page page(
        "<table align=left><td>l</table><table align=right><td>r</table><table "
        "align=center><td>c</table>"
        "<center><table><td>i</table></center><div align=right><table align=left><td>f</table>"
        "<table><td>g</table></div>");
    EXPECT_EQ(
        TableTree(page),
        "tableblock table. float=5\n  grid border=0 padding=1 spacing=2\n    row\n      td 1x1 "
        "valign=2\n"
        "        section \"l\" 0:-\ntableblock table. float=6\n  grid border=0 padding=1 "
        "spacing=2\n"
        "    row\n      td 1x1 valign=2\n        section \"r\" 0:-\ntableblock table. align=2\n"
        "  grid border=0 padding=1 spacing=2\n    row\n      td 1x1 valign=2\n        section "
        "\"c\" 0:-\n"
        "tableblock table. align=2\n  grid border=0 padding=1 spacing=2\n    row\n      td 1x1 "
        "valign=2\n"
        "        section \"i\" 0:-\nblock div.\n  tableblock table. float=5\n"
        "    grid border=0 padding=1 spacing=2\n      row\n        td 1x1 valign=2\n"
        "          section \"f\" 0:-\n  tableblock table. align=3\n    grid border=0 padding=1 "
        "spacing=2\n"
        "      row\n        td 1x1 valign=2\n          section \"g\" 0:-\n");
    // With a caption the wrapper floats instead of the table.
    Page captioned("<table align=right><caption>c</caption><td>x</table>");
    EXPECT_EQ(TableTree(captioned),
              "captioned TableAndCaption. float=6 caption-first\n  block caption.\n    section "
              "\"c\" 0:-\n"
              "  tableblock table. align=2\n    grid border=0 padding=1 spacing=2\n      row\n"
              "        td 1x1 valign=2\n          section \"x\" 0:-\n");
}

TEST(BuilderTables, AttributesAndTheirClamps) {
    Page page(
        "<table border><td>a</table><table border=0><td>b</table><table border=500 cellspacing=100 "
        "cellpadding=-1><td>c</table><table cellpadding=80 cellspacing=-3 border=-2><td>d</table>");
    const std::vector<ThtmlTable*> grids = Grids(page);
    ASSERT_EQ(grids.size(), 4u);
    EXPECT_EQ(grids[0]->borderWidth, 1);
    EXPECT_EQ(grids[1]->borderWidth, 0);
    EXPECT_EQ(grids[2]->borderWidth, 100);
    EXPECT_EQ(grids[2]->cellSpacing, 40);
    EXPECT_EQ(grids[2]->cellPadding, 1);
    EXPECT_EQ(grids[3]->cellPadding, 50);
    EXPECT_EQ(grids[3]->cellSpacing, 2);
    EXPECT_EQ(grids[3]->borderWidth, 0);
    // Cell attributes.
    Page cells(
        "<table><td colspan=3 rowspan=2 width=40% bgcolor=#102030>a<td colspan=0 rowspan=-4 "
        "width=120 height=30>b<td width=150%>c<td style=\"width: 100%\">d<td style=\"width: 60px\" "
        "width=10%>e</table>");
    ThtmlTable& grid = *Grids(cells).at(0);
    TCellObj& a = *CellAt(grid, 0, 0);
    EXPECT_EQ(a.colSpan, 3);
    EXPECT_EQ(a.rowSpan, 2);
    EXPECT_EQ(a.specifiedWidth, 400);
    EXPECT_TRUE(a.widthIsPercent);
    EXPECT_TRUE(a.hasBackground);
    EXPECT_EQ(a.backgroundColor & 0xFFFFFF, 0x302010u);
    TCellObj& b = *CellAt(grid, 0, 1);
    EXPECT_EQ(b.colSpan, 1);
    EXPECT_EQ(b.rowSpan, 1);
    EXPECT_EQ(b.specifiedWidth, 120);
    EXPECT_FALSE(b.widthIsPercent);
    EXPECT_EQ(b.specifiedHeight, 30);
    EXPECT_EQ(CellAt(grid, 0, 2)->specifiedWidth, 0);
    // A width of 100 percent by style asks nothing; pixels by style win over the attribute.
    EXPECT_EQ(CellAt(grid, 0, 3)->specifiedWidth, 0);
    EXPECT_EQ(CellAt(grid, 0, 4)->specifiedWidth, 60);
    EXPECT_FALSE(CellAt(grid, 0, 4)->widthIsPercent);
}

TEST(BuilderTables, ColumnSettingsAndTheCellManager) {
    Page spans(
        "<table><col span=500><col width=20><colgroup width=30% align=right><col><col span=2 "
        "align=left></colgroup><tr><td>a</td><col width=99><td>b</table>");
    ThtmlTable& grid = *Grids(spans).at(0);
    ASSERT_EQ(grid.ColumnSpecCount(), 104);
    EXPECT_EQ(grid.ColumnSpec(100).width, 20);
    EXPECT_EQ(grid.ColumnSpec(101).width, 300);
    EXPECT_TRUE(grid.ColumnSpec(101).widthIsPercent);
    EXPECT_EQ(grid.ColumnSpec(101).align, "right");
    EXPECT_EQ(grid.ColumnSpec(102).align, "left");
    EXPECT_EQ(grid.ColumnSpec(103).width, 300);
    // Column settings past what a table can have are not kept.
    std::string many = "<table>";
    for (int i = 0; i < 5; ++i) many += "<col span=100>";
    Page capped(many + "<td>x</table>");
    EXPECT_EQ(Grids(capped).at(0)->ColumnSpecCount(), kMaxColumnSpecs);

    // Cells find the settings of the column they land in, past cells that span
    // from the rows above.
    Page placed(
        "<table><col align=right><col valign=bottom><col align=center>"
        "<tr><td rowspan=2>a<td>b<td>c<tr><td>d<td>e</table>");
    ThtmlTable& g = *Grids(placed).at(0);
    EXPECT_EQ(CellTextAlign(*CellAt(g, 0, 0)), 3);
    EXPECT_EQ(CellAt(g, 0, 1)->verticalAlign, kAlignBottom);
    EXPECT_EQ(CellTextAlign(*CellAt(g, 0, 2)), 2);
    EXPECT_EQ(CellAt(g, 1, 0)->verticalAlign, kAlignBottom);
    EXPECT_EQ(CellTextAlign(*CellAt(g, 1, 1)), 2);
}

TEST(BuilderTables, CellManagerSlots) {
    TCellManager m;
    EXPECT_EQ(m.FindColNum(0, 3), 0);
    int span = 2;
    m.AddCell(0, span, 2, 3);
    EXPECT_EQ(span, 2);
    EXPECT_EQ(m.FindColNum(0, 3), 2);
    EXPECT_EQ(m.FindColNum(1, 3), 2);
    EXPECT_EQ(m.FindColNum(2, 3), 0);
    span = 1;
    m.AddCell(0, span, 1, 3);
    EXPECT_EQ(m.FindColNum(0, 3), -1);
    m.AddCell(0, span, 1, 3);  // nowhere left: nothing changes
    // A cell wider than the slots left in its row before a taken one shrinks...
    TCellManager blocked;
    span = 1;
    blocked.AddCell(0, span, 1, 3);
    int right = 1;
    blocked.AddCell(0, right, 3, 3);  // column 1 for three rows
    span = 1;
    blocked.AddCell(0, span, 1, 3);
    int wide = 3;
    blocked.AddCell(1, wide, 1, 3);
    EXPECT_EQ(wide, 1);
    // ...but not one that runs past the specified columns.
    TCellManager open;
    int past = 5;
    open.AddCell(0, past, 1, 2);
    EXPECT_EQ(past, 5);
    // A huge row span marks without running away.
    TCellManager tall;
    span = 1;
    tall.AddCell(0, span, 2000000000, 1);
    EXPECT_EQ(tall.FindColNum(1999999999, 1), -1);
    EXPECT_EQ(tall.FindColNum(2000000000, 1), 0);
}

TEST(BuilderTables, ElevenNestedTablesLastOneIgnored) {
    std::string html;
    for (int i = 0; i < 11; ++i) html += "<table><tr><td>" + std::to_string(i);
    html += "<td>inner";
    Page page(html);
    const std::vector<ThtmlTable*> grids = Grids(page);
    ASSERT_EQ(grids.size(), 10u);
    // The eleventh table's cells join the tenth: "10" and "inner" are its cells.
    ThtmlTable& tenth = *grids.back();
    ASSERT_EQ(tenth.rows.size(), 2u);
    TSection* ten = OnlySection(*CellAt(tenth, 1, 0));
    ASSERT_NE(ten, nullptr);
    EXPECT_EQ(ten->textBuffer.str(), u"10");
    EXPECT_EQ(OnlySection(*CellAt(tenth, 1, 1))->textBuffer.str(), u"inner");
    // Each of the others holds its number and the next table.
    EXPECT_EQ(CellAt(*grids[0], 0, 0)->content->items.size(), 2u);
}

TEST(BuilderTables, TablesInListItemsAndCellsResetTheListLevel) {
    Page page("<ul><li>i<table><td><ul><li>x</ul></table></ul>");
    EXPECT_EQ(TableTree(page),
              "block ul.\n  li li.\n    section \"i\" 0:-\n    tableblock table.\n"
              "      grid border=0 padding=1 spacing=2\n        row\n          td 1x1 valign=2\n"
              "            block ul.\n              li li.\n                section \"x\" 0:-\n");
    // The list inside the cell starts at the first level again: a disc.
    TTableBlock* table = FirstTableBlock(page.Body().content);
    ASSERT_NE(table, nullptr);
    auto* list = dynamic_cast<TBlock*>(CellAt(*table->grid, 0, 0)->content->items.at(0).get());
    ASSERT_NE(list, nullptr);
    auto* item = dynamic_cast<TBlockLI*>(list->content.items.at(0).get());
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->markerStyle, 3);
}

TEST(BuilderTables, ABodyTagInsideATableIsIgnored) {
    Page page("<table><td>a<body bgcolor=red>b</table>");
    EXPECT_EQ(
        TableTree(page),
        "tableblock table.\n  grid border=0 padding=1 spacing=2\n    row\n      td 1x1 valign=2\n"
        "        section \"ab\" 0:-\n");
}

TEST(BuilderTables, APageCutInsideATableKeepsWhatWasRead) {
    // The comment never ends: the reading stops there, with the cell's anchor and
    // text still in the document.
    Page page("<table><tr><td><a name=here>a</a><td>b<table><td>c<!-- never closed");
    const std::vector<ThtmlTable*> grids = Grids(page);
    ASSERT_EQ(grids.size(), 2u);
    ASSERT_EQ(grids[0]->rows.size(), 1u);
    EXPECT_EQ(grids[0]->rows[0]->slots.size(), 2u);
    TIDObject* anchor = page.doc.anchors->Find("HERE");
    ASSERT_NE(anchor, nullptr);
    EXPECT_EQ(anchor, OnlySection(*CellAt(*grids[0], 0, 0)));
    EXPECT_FALSE(page.Layout(300).empty());
}

TEST(BuilderTables, AnEmptyLinkEndedAtTheTableLeavesNoTabStop) {
    // A link without an address gets a tab stop; ended before any text, its run is
    // dropped with its section, and nothing may point at it afterwards.
    for (const char* html :
         {"<table><td><a href", "<a href=\"\"></a><p>x", "<table><td><a href=\"\"></a></table>"}) {
        Page page(html);
        EXPECT_TRUE(page.doc.tabOrder.empty()) << html;
        EXPECT_FALSE(page.Layout(200).empty());
    }
}
