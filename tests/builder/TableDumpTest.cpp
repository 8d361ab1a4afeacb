// Tables laid out, as layout dumps: frames and borders, spacing and padding, spans,
// widths, text and alignment, nesting and column settings, floating and
// aligned tables, and a bundled biography's list of works.

#include "TableTestSupport.h"
#include "platform/Files.h"

using namespace tabletest;
using buildertest::ExpectMatchesFile;

TEST(TableDump, BordersAndFrames) {
    // BORDER without a value is 1; BORDER=0 draws nothing; empty cells get no frame; a
    // style border replaces the table's frame and the cell's.
    Page page(
        "<table border><tr><td>a<td>b</table>"
        "<table border=0><td>c</table>"
        "<table border=3 cellspacing=0><tr><td>full<td></td><td> </td><td>&nbsp;</td></table>"
        "<table border style=\"border: 2px solid red\"><td style=\"border: 4px dotted "
        "blue\">s<td>t</table>");
    ExpectMatchesFile(page.Layout(400), "tables_borders.txt");
}

TEST(TableDump, SpacingAndPaddingClamps) {
    Page page(
        "<table cellspacing=100 cellpadding=-1 border><td>wide</table>"
        "<table cellspacing=0 cellpadding=10><td>p<td style=\"padding: 3px 5px\">q<td "
        "style=\"padding: 10%\">r</table>"
        "<table cellspacing=-7 cellpadding=500><td>x</table>");
    ExpectMatchesFile(page.Layout(600), "tables_spacing.txt");
}

TEST(TableDump, SpansAcrossColumnsAndRows) {
    Page page(
        // COLSPAN=3 in a table of two columns makes a third.
        "<table border><tr><td>a<td>b<tr><td colspan=3>three columns wide</table>"
        // ROWSPAN=5 in the last but one row spans the two rows left.
        "<table border><tr><td>1<td>2<tr><td rowspan=5>five<td>3<tr><td>4</table>"
        // A tall cell spanning rows spreads its height over them, the rest to the last.
        "<table><tr><td rowspan=2 height=101>tall<td>x<tr><td>y</table>"
        // A span of two billion rows is cut at the last row.
        "<table><tr><td rowspan=2000000000>big<td>w<tr><td>z</table>");
    ExpectMatchesFile(page.Layout(400), "tables_spans.txt");
}

TEST(TableDump, ColumnWidths) {
    Page page(
        // Percentages summing to 100 % and a column without: it keeps its minimum.
        "<table width=400 border><td width=50%>half<td width=50%>half<td>free</table>"
        "<table border><td width=50%>half<td width=50%>half<td>free</table>"
        // A cell WIDTH of 100 percent is a percentage, a width property of 100% is not.
        "<table width=300 border><td width=100%>attribute<td>other</table>"
        "<table width=300 border><td style=\"width: 100%\">property<td>other</table>"
        // Pixel widths alone, and a table width in pixels and in percent.
        "<table border><td width=120>px<td width=40>narrow</table>"
        "<table width=250 border><td>a<td>bbbbbbbbbb</table>"
        "<table width=50% border><td>a<td>b</table>"
        // Negative and absurd widths.
        "<table width=-30 border><td width=-5>n<td width=9999999999>huge</table>");
    ExpectMatchesFile(page.Layout(600), "tables_widths.txt");
}

TEST(TableDump, TextAlignmentAndCaptions) {
    Page page(
        // The implicit row, text before and after.
        "before<table border><td>a<td>b</table>after"
        // TH centred, TD left, TR ALIGN through the stack, cell ALIGN over it.
        "<table border width=300><tr><th>head<td>data<tr align=right><td>right<td "
        "align=center>mid</table>"
        // Vertical alignment in a row with a tall cell.
        "<table border><tr><td height=60>tall<td valign=top>top<td>middle<td valign=bottom>bottom"
        "<td valign=baseline>base</table>"
        // NOWRAP holds the line together unless a pixel width is given.
        "<table width=60 border><td nowrap>no wrap here<td nowrap width=30>wraps at width"
        "<td nowrap width=10%>no wrap either</table>"
        // Captions above and below, wider than the table.
        "<table border><caption>A caption wider than the table</caption><td>t</table>"
        "<table border align=center><caption align=bottom>Below</caption><td>centred</table>");
    ExpectMatchesFile(page.Layout(400), "tables_text.txt");
}

TEST(TableDump, NestingAndColumnSettings) {
    std::string html;
    for (int i = 0; i < 11; ++i) html += "<table border><tr><td>" + std::to_string(i);
    html += "<td>joins the tenth";
    for (int i = 0; i < 11; ++i) html += "</table>";
    // COL SPAN=500 stands for 100 columns; a COL after the first cell is ignored.
    html += "<table border><col span=500 width=30><td>a<td>b<col width=300><td>c</table>";
    html +=
        "<table border><colgroup width=80 align=right><col><col width=20%></colgroup>"
        "<tr><td>x<td>y</table>";
    Page page(html);
    ExpectMatchesFile(page.Layout(700), "tables_nesting.txt");
}

TEST(TableDump, FloatingAndAlignedTables) {
    Page page(
        "<table align=left border hspace=5 vspace=3><td>left</table>text beside the left table"
        "<br clear=all>"
        "<table align=right border><td>right</table>text beside the right table<br clear=all>"
        "<table align=center border><td>centre</table>"
        "<div align=right><table border><td>inherited right</table></div>"
        // A table next to a floating picture moves right of it and narrows.
        "<img src=x.gif width=100 height=80 align=left><table border width=100%><td>shifted</table>"
        "<br clear=left>"
        "<table height=80 border><td>h</table><table height=50% border><td>percent of the "
        "window</table>"
        "<table border><td><table height=50% border><td>nested percent ignored</table></table>"
        "<table align=right border><caption>cap</caption><td>floating with caption</table>"
        "<br clear=right><table height=20% border><caption>c</caption><td>a fifth of the "
        "window</table>");
    ExpectMatchesFile(page.Layout(500), "tables_floats.txt");
}

TEST(TableDump, BundledListOfWorks) {
    const std::string folder = std::string(VULTARIA_COLLECTION) + "/dados/literatura/";
    THtmlBuildEvents events;
    events.ExpandName = [&](const std::string& name) { return folder + name; };
    Page page(platform::ReadWholeFile(folder + "erico_verissimo.htm"), events);
    const std::vector<ThtmlTable*> grids = Grids(page);
    ASSERT_EQ(grids.size(), 1u);
    EXPECT_EQ(grids[0]->rows.size(), 9u);
    ExpectMatchesFile(page.Layout(600), "tables_erico_verissimo.txt");
    EXPECT_EQ(grids[0]->columnCount, 3);
}
