// Tables a page should never have: very many rows or columns, spans of billions,
// absurd widths, paddings and spacings, and deep nesting. Each builds and lays out
// in bounded time and memory, without a crash, and too many columns go through the
// layout error.

#include "TableTestSupport.h"

#include "platform/RecordingDialogs.h"

using namespace tabletest;

namespace {

// Records the messages the layout shows for as long as it lives.
class MessageLog {
  public:
    MessageLog() {
        auto dialogs = std::make_unique<platform::RecordingDialogs>();
        recorded_ = dialogs.get();
        previous_ = platform::InstallDialogs(std::move(dialogs));
    }
    ~MessageLog() { platform::InstallDialogs(std::move(previous_)); }
    std::vector<std::u16string> Texts() const {
        std::vector<std::u16string> texts;
        for (const auto& m : recorded_->messages) texts.push_back(m.text);
        return texts;
    }

  private:
    platform::RecordingDialogs* recorded_ = nullptr;
    std::unique_ptr<platform::DialogService> previous_;
};

std::string Repeat(const std::string& piece, int times) {
    std::string text;
    text.reserve(piece.size() * static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

int LayOut(Page& page, int width) {
    platform::RecordingCanvas canvas;
    canvas.setRecording(false);
    int scrollWidth = 0, cursor = 0;
    const int height = page.doc.LayoutCell(canvas, 0, width, 600, scrollWidth, cursor);
    page.doc.Draw(canvas, {0, 0, width, 600}, width, 0, 0, 0, 0);
    return height;
}

}  // namespace

TEST(TableBadInput, AHundredThousandRows) {
    Page page("<table border>" + Repeat("<tr><td>x", 100000) + "</table>end");
    const int height = LayOut(page, 300);
    ThtmlTable& grid = *Grids(page).at(0);
    ASSERT_EQ(grid.rows.size(), 100000u);
    EXPECT_EQ(grid.columnCount, 1);
    // Rows stack one below the other, every one the same.
    const int rowHeight = grid.rows[1]->topY - grid.rows[0]->topY;
    EXPECT_GT(rowHeight, 0);
    EXPECT_EQ(grid.rows.back()->topY - grid.rows.front()->topY, rowHeight * 99999);
    EXPECT_GT(height, rowHeight * 100000);
}

TEST(TableBadInput, TenThousandColumnsReportTheLayoutError) {
    MessageLog log;
    Page page("a<table><tr><td><a name=inside>i</a>" + Repeat("<td>x", 9999) + "</table>b");
    LayOut(page, 400);
    EXPECT_EQ(log.Texts(), std::vector<std::u16string>{u"Table has too many Columns"});
    // The grid is gone, the text around it stays, and the anchor inside now names the
    // place the table was.
    EXPECT_TRUE(Grids(page).empty());
    TTableBlock* table = FirstTableBlock(page.Body().content);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(page.doc.anchors->Find("INSIDE"), table);
    EXPECT_EQ(table->flowHeight, 0);
    EXPECT_NE(page.Layout(400).find("\"b\""), std::string::npos);
    // Once reported, a later layout says nothing more.
    EXPECT_EQ(log.Texts().size(), 1u);
}

TEST(TableBadInput, TwoHundredColumnsAreTheLimit) {
    MessageLog log;
    Page fits("<table><tr>" + Repeat("<td>x", 200) + "</table>");
    LayOut(fits, 400);
    EXPECT_TRUE(log.Texts().empty());
    ASSERT_EQ(Grids(fits).size(), 1u);
    EXPECT_EQ(Grids(fits)[0]->columnCount, 200);
    Page over("<table><tr>" + Repeat("<td>x", 199) + "<td colspan=2>y</table>");
    LayOut(over, 400);
    EXPECT_EQ(log.Texts().size(), 1u);
    EXPECT_TRUE(Grids(over).empty());
}

TEST(TableBadInput, SpansOfTwoBillion) {
    MessageLog log;
    // Rows are cut at the last row.
    Page rows("<table><tr><td rowspan=2000000000>r<td>a<tr><td>b</table>");
    LayOut(rows, 400);
    ASSERT_EQ(Grids(rows).size(), 1u);
    EXPECT_EQ(Grids(rows)[0]->rows[0]->slots[0].cell->rowSpan, 2);
    EXPECT_TRUE(log.Texts().empty());
    // Columns past the limit are the layout error.
    Page columns(
        "<table><tr><td colspan=2000000000>c</table><table><td colspan=2147483647 "
        "rowspan=2147483647>d<tr><td>e</table>");
    LayOut(columns, 400);
    EXPECT_EQ(log.Texts().size(), 2u);
    // Each row spanning to the end pushes the next right: a staircase stopped at the
    // column limit, long before the rows run out.
    Page stairs("<table>" + Repeat("<tr><td rowspan=2000000000>s", 5000) + "</table>");
    LayOut(stairs, 400);
    EXPECT_EQ(log.Texts().size(), 3u);
}

TEST(TableBadInput, AbsurdWidthsPaddingsAndSpacings) {
    MessageLog log;
    Page page(
        "<table width=-500 cellpadding=-100 cellspacing=-100 border=-1><td width=-20>a</table>"
        "<table width=2147483647 cellpadding=2147483647 cellspacing=2147483647 border=2147483647 "
        "height=2147483647><td width=2147483647 height=2147483647>b</table>"
        "<table width=99999% height=-5%><td width=0%>c<td width=-40%>d</table>"
        "<table><td style=\"padding: 2147483647px; border: 2147483647px solid; width: "
        "2147483647px; "
        "height: 2147483647px\">e</table>"
        "<table style=\"width: -30px; height: -9px\" hspace=-99999 vspace=2147483647 align=left>"
        "<td>f</table>g");
    const int height = LayOut(page, 400);
    EXPECT_TRUE(log.Texts().empty());
    EXPECT_GT(height, 0);
    const std::vector<ThtmlTable*> grids = Grids(page);
    ASSERT_EQ(grids.size(), 5u);
    EXPECT_EQ(grids[0]->cellPadding, 1);
    EXPECT_EQ(grids[0]->cellSpacing, 2);
    EXPECT_EQ(grids[0]->borderWidth, 0);
    EXPECT_EQ(grids[1]->cellPadding, 50);
    EXPECT_EQ(grids[1]->cellSpacing, 40);
    EXPECT_EQ(grids[1]->borderWidth, 100);
    for (ThtmlTable* grid : grids) {
        EXPECT_GE(grid->totalWidth, 0);
        EXPECT_GE(grid->flowHeight, 0);
        EXPECT_LE(grid->totalWidth, kMaxTableLength);
        for (const auto& row : grid->rows) EXPECT_GE(row->rowHeight, 0);
    }
}

TEST(TableBadInput, AHundredThousandNestedTables) {
    // Ten levels deep, the rest of the TABLE tags are passed by.
    Page page(Repeat("<table><tr><td>", 10) + Repeat("<table>", 99990) + "deep" +
              Repeat("</table>", 100000) + "after");
    LayOut(page, 400);
    EXPECT_EQ(Grids(page).size(), 10u);
    // Tables between the cells nest into the cell before them: no deeper either.
    Page bare(Repeat("<table>", 100000) + "x");
    LayOut(bare, 400);
    EXPECT_LE(Grids(bare).size(), 10u);
    // Each ignored table's rows and cells join the tenth table.
    Page cells(Repeat("<table><tr><td>", 1000) + "x");
    LayOut(cells, 400);
    const std::vector<ThtmlTable*> grids = Grids(cells);
    ASSERT_EQ(grids.size(), 10u);
    EXPECT_EQ(grids.back()->rows.size(), 991u);
}
