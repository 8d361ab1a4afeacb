// Tables drawn, paginated, hit-tested, searched and copied: frames and their colours,
// backgrounds, page breaks between rows, the cell under a point, cursor positions,
// copies for the clipboard and for printing.

#include "TableTestSupport.h"

#include "image/ImageCache.h"
#include "layout/ListItem.h"
#include "platform/RecordingDialogs.h"

using namespace tabletest;
using buildertest::ExpectMatchesFile;

namespace {

// A page laid out and drawn on one recording canvas, so that queries after the
// drawing see what was drawn.
struct Shown {
    Page page;
    platform::RecordingCanvas canvas;
    int height = 0;

    explicit Shown(const std::string& html, int width = 300) : page(html) {
        int scrollWidth = 0, cursor = 0;
        height = page.doc.LayoutCell(canvas, 0, width, 600, scrollWidth, cursor);
        Draw(width, 600);
    }
    std::string Draw(int width, int bottom, int scroll = 0) {
        canvas.clearLog();
        page.doc.SetScrollY(scroll);
        page.doc.Draw(canvas, {0, 0, width, bottom}, width, 0, 0, 0, 0);
        return canvas.logText();
    }
    ThtmlTable& Grid(std::size_t index = 0) { return *Grids(page).at(index); }
    TCellObj& Cell(std::size_t row, std::size_t slot, std::size_t grid = 0) {
        return *Grid(grid).rows.at(row)->slots.at(slot).cell;
    }
    // The middle of a cell's content, in document coordinates.
    void Middle(const TCellObj& cell, int& x, int& y, std::size_t grid = 0) {
        ThtmlTable& g = Grid(grid);
        x = g.LayoutX() + g.ColumnOffset(cell.column) + cell.spanWidth / 2;
        y = cell.content->topY + cell.contentHeight / 2;
    }
};

}  // namespace

TEST(TableDraw, FramesAndTheirColours) {
    // A white page: light grey and the button shadow; an empty cell has no frame.
    Shown white("<table border><td>a<td></td><td>b</table>");
    ExpectMatchesFile(white.Draw(300, 600), "tables_frames_white.log");
    // Any other page: the button highlight for light.
    Shown tinted("<body bgcolor=#E0E0FF><table border=2><td>a</table>");
    ExpectMatchesFile(tinted.Draw(300, 600), "tables_frames_tinted.log");
    // Colours from attributes, one of them given: the other keeps the system's.
    Shown given(
        "<table border bordercolor=red><td>a</table><table border "
        "bordercolorlight=#00FF00><td>b</table>");
    ExpectMatchesFile(given.Draw(300, 600), "tables_frames_given.log");
}

TEST(TableDraw, MonochromePrintersGetBlackFrames) {
    Page page("<table border><td>a</table>");
    page.doc.isPrinting = true;
    page.doc.printMonoBlack = true;
    platform::DeviceCaps caps;
    caps.bitsPerPixel = 1;
    caps.planes = 1;
    platform::RecordingCanvas canvas(caps);
    int scrollWidth = 0, cursor = 0;
    page.doc.LayoutCell(canvas, 0, 300, 600, scrollWidth, cursor);
    const TFrameColors colors = Grids(page).at(0)->FrameColors(canvas);
    EXPECT_EQ(colors.light, 0u);
    EXPECT_EQ(colors.dark, 0u);
    // Printing in colour: light grey whatever the page.
    platform::RecordingCanvas colour;
    const TFrameColors printed = Grids(page).at(0)->FrameColors(colour);
    EXPECT_EQ(printed.light, 0xC0C0C0u);
}

TEST(TableDraw, BackgroundsFromCellRowAndTable) {
    Shown shown(
        "<table bgcolor=#0000FF cellspacing=4><tr bgcolor=#00FF00><td>row<td "
        "bgcolor=#FF0000>cell</tr>"
        "<tr><td>table<td style=\"background-color: #FFFF00; border: 2px dashed "
        "black\">style</table>");
    ExpectMatchesFile(shown.Draw(300, 600), "tables_backgrounds.log");
    // Printing without backgrounds leaves them all out.
    shown.page.doc.isPrinting = true;
    shown.page.doc.printBackgrounds = false;
    EXPECT_EQ(shown.Draw(300, 600).find("fill"), std::string::npos);
}

TEST(TableDraw, OnlyRowsThatMeetTheRectangleAreDrawn) {
    std::string html = "<table>";
    for (int i = 0; i < 50; ++i) html += "<tr><td>r" + std::to_string(i) + "</tr>";
    html += "<tr><td rowspan=2 height=200 bgcolor=#123456>span<td>s1<tr><td>s2</table>";
    Shown shown(html);
    ThtmlTable& grid = shown.Grid();
    // A window over rows 10 to 12 draws those rows' text and nothing else.
    const int top = grid.rows[10]->topY;
    const std::string log = shown.Draw(300, 3 * grid.rows[10]->rowHeight - 1, top);
    EXPECT_NE(log.find("\"r10\""), std::string::npos);
    EXPECT_NE(log.find("\"r12\""), std::string::npos);
    EXPECT_EQ(log.find("\"r9\""), std::string::npos);
    EXPECT_EQ(log.find("\"r13\""), std::string::npos);
    // A cell spanning down into the window is drawn though its row starts above it.
    const std::string lower = shown.Draw(300, 20, grid.rows[51]->topY);
    EXPECT_NE(lower.find("#123456"), std::string::npos);
    EXPECT_EQ(lower.find("\"s1\""), std::string::npos);
}

TEST(TableDraw, PageBreaksBetweenRows) {
    // Rows of 22 pixels from y 5; a page of 100 pixels.
    auto pageEnd = [](const std::string& rowStyle, int rows, int pageTop = 0) {
        std::string html = "<style>" + rowStyle + "</style><table>";
        for (int i = 0; i < rows; ++i)
            html += "<tr class=r" + std::to_string(i) + "><td style=\"height: 20px\">" +
                    std::to_string(i);
        html += "</table>";
        Page page(html);
        platform::RecordingCanvas canvas;
        int scrollWidth = 0, cursor = 0;
        page.doc.LayoutCell(canvas, 0, 300, 600, scrollWidth, cursor);
        page.doc.isPrinting = true;
        page.doc.SetScrollY(pageTop);
        page.doc.Draw(canvas, {0, 0, 300, 100}, 300, 0, 0, 0, 0);
        return std::make_pair(page.doc.pageBottomY, page.doc.pageShortened);
    };
    // Row tops: 5, 27, 49, 71, 93, ... (each cell 2 pixels below, half of that kept).
    EXPECT_EQ(pageEnd("", 3), std::make_pair(100, false));
    // A row starting in the lower third that would cross the bottom goes to the next page.
    EXPECT_EQ(pageEnd("", 6), std::make_pair(94, true));
    // Break before a row, after a row, and a row that must not be split.
    EXPECT_EQ(pageEnd("tr.r2 { page-break-before: always }", 6), std::make_pair(50, true));
    EXPECT_EQ(pageEnd("tr.r1 { page-break-after: always }", 6), std::make_pair(49, true));
    EXPECT_EQ(pageEnd("td { page-break-inside: avoid }", 6), std::make_pair(94, true));
    // Nothing breaks before the first thing on a page.
    EXPECT_EQ(pageEnd("tr.r0 { page-break-before: always }", 3), std::make_pair(100, false));
    // On the next page the rows above its top are passed by.
    EXPECT_EQ(pageEnd("", 10, 95), std::make_pair(182, true));
}

TEST(TableQueries, TheCellUnderAPoint) {
    Shown shown(
        "<table border cellspacing=6><tr><td>one<td><a href=two.htm>two</a><tr><td colspan=2>three"
        "</table><p>after");
    int x = 0, y = 0;
    shown.Middle(shown.Cell(0, 1), x, y);
    std::string title;
    TFormControlObj* control = nullptr;
    const TUrlTarget* target = nullptr;
    EXPECT_EQ(shown.page.doc.HitTestLink(shown.canvas, x, y, title, control, target),
              unsigned{htUrl});
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->Url, "two.htm");
    // Cursor positions: the character under the point, in the spanning cell as well.
    int XR = 0, YR = 0, caret = 0;
    bool inText = false;
    shown.Middle(shown.Cell(1, 0), x, y);
    const int pos = shown.page.doc.CursorAtPoint(shown.canvas, x, y, XR, YR, caret, inText);
    EXPECT_GE(pos, shown.Cell(1, 0).content->firstCursorPos);
    EXPECT_LE(pos, shown.Cell(1, 0).content->firstCursorPos + 5);
    char16_t ch = 0;
    TSectionBase* obj = nullptr;
    ASSERT_TRUE(shown.page.doc.CharAtCursor(shown.Cell(1, 0).content->firstCursorPos + 1, ch, obj));
    EXPECT_EQ(ch, u'h');
    int px = 0, py = 0;
    ASSERT_TRUE(shown.page.doc.PointOfCursor(&shown.canvas,
                                             shown.Cell(0, 1).content->firstCursorPos, px, py));
    EXPECT_EQ(py, shown.Cell(0, 1).content->topY);
    // Outside the table nothing of it answers; the spacing left of a cell belongs to it.
    EXPECT_EQ(shown.page.doc.HitTestLink(shown.canvas, 299, y, title, control, target),
              unsigned{htNothing});
    ThtmlTable& grid = shown.Grid();
    const int spacingX = grid.LayoutX() + grid.ColumnOffset(1) + 2;
    shown.Middle(shown.Cell(0, 1), x, y);
    target = nullptr;
    const unsigned inSpacing =
        shown.page.doc.HitTestLink(shown.canvas, spacingX, y, title, control, target);
    EXPECT_EQ(inSpacing, unsigned{htNothing});  // no text there, but routed to the cell
    EXPECT_EQ(grid.CursorAtPoint(shown.canvas, spacingX, y, XR, YR, caret, inText) >= 0,
              shown.Cell(0, 1).content->CursorAtPoint(shown.canvas, spacingX, y, XR, YR, caret,
                                                      inText) >= 0);
}

TEST(TableQueries, SearchSourcePositionsAndCopies) {
    Shown shown("<p>before<table><tr><td>alpha<td>beta<tr><td>gamma<td>alpha</table>after");
    TSectionList& doc = shown.page.doc;
    const TCellObj& first = shown.Cell(0, 0);
    const TCellObj& last = shown.Cell(1, 1);
    EXPECT_EQ(doc.SearchForward(0, u"alpha", true), first.content->firstCursorPos);
    EXPECT_EQ(doc.SearchForward(first.content->firstCursorPos + 1, u"alpha", true),
              last.content->firstCursorPos);
    EXPECT_EQ(doc.SearchBackward(doc.cursorCount, u"ALPHA", false), last.content->firstCursorPos);
    EXPECT_EQ(doc.SearchForward(0, u"delta", true), -1);
    // Source positions both ways.
    const int source = doc.SourcePosOf(last.content->firstCursorPos);
    EXPECT_EQ(shown.page.doc.CursorPosOfSource(source, false), last.content->firstCursorPos);
    EXPECT_EQ(shown.page.doc.CursorPosOfSource(source, true), last.content->firstCursorPos);
    // Copying visits the cells row by row.
    doc.selStart = 0;
    doc.selEnd = doc.cursorCount;
    std::u16string text;
    doc.SelectionToBuffer(text, 1000);
    EXPECT_NE(text.find(u"alpha"), std::u16string::npos);
    const auto order = [&](std::u16string_view word) { return text.find(word); };
    EXPECT_LT(order(u"before"), order(u"alpha"));
    EXPECT_LT(order(u"alpha"), order(u"beta"));
    EXPECT_LT(order(u"beta"), order(u"gamma"));
    EXPECT_LT(order(u"gamma"), order(u"after"));
    EXPECT_EQ(doc.SelectionLength(), static_cast<int>(text.size()));
    // A selection inside the last cell copies only it.
    doc.selStart = last.content->firstCursorPos;
    doc.selEnd = last.content->firstCursorPos + 5;
    text.clear();
    doc.SelectionToBuffer(text, 1000);
    EXPECT_EQ(text.substr(0, 5), u"alpha");
    EXPECT_EQ(text.find(u"gamma"), std::u16string::npos);
}

TEST(TableQueries, PositionsListTheGridAndBulletsWaitForTheTable) {
    Shown shown("<p>x<table><td>a<tr><td>b</table><ul><li><table><td>in a list</table></ul>");
    ThtmlTable& grid = shown.Grid();
    int itemTop = 0, index = 0;
    EXPECT_EQ(shown.page.doc.ItemAtY(grid.rows[1]->topY, itemTop, index), &grid);
    EXPECT_EQ(itemTop, grid.topY);
    // The list item's bullet stands at the bottom of the table that opens it.
    ThtmlTable& inList = shown.Grid(1);
    TBlockLI* item = nullptr;
    for (auto& block : shown.page.Body().content.items)
        if (auto* list = dynamic_cast<TBlock*>(block.get()); list && list->tagAndClass == "ul.")
            item = dynamic_cast<TBlockLI*>(list->content.items.at(0).get());
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->firstBaseline, inList.topY + inList.flowHeight);
}

TEST(TableQueries, PrintCopiesLayOutAlike) {
    Page page(
        "<table border bgcolor=#FFFF00 width=80%><caption>c</caption><tr><td rowspan=2>a<td>b"
        "<tr><td>c</table>after");
    const std::string screen = page.Layout(400);
    for (bool backgrounds : {false, true}) {
        page.doc.printBackgrounds = backgrounds;
        TSectionList copy(page.doc, true);
        platform::RecordingCanvas canvas;
        int scrollWidth = 0, cursor = 0;
        copy.LayoutCell(canvas, 0, 400, 600, scrollWidth, cursor);
        EXPECT_EQ(DumpLayout(copy, canvas), screen);
        // Printed, the backgrounds show only when asked for.
        copy.isPrinting = true;
        canvas.clearLog();
        copy.Draw(canvas, {0, 0, 400, 600}, 400, 0, 0, 0, 0);
        EXPECT_EQ(canvas.logText().find("#FFFF00") != std::string::npos, backgrounds);
    }
}

TEST(TableDraw, BackgroundPicturesOfCellsRowsAndTables) {
    TStringBitmapList cache;
    TSectionList doc;
    doc.imageCache = &cache;
    doc.SetDefaults("Times New Roman", "Courier New", 12, 0, 0xFF0000, 0x800080, 0x0000FF, false,
                    0xFFFFFF, 1, 5, 10);
    const std::string folder = std::string(VULTARIA_COLLECTION) + "/dados/imagens/";
    doc.expandName = [folder](const std::string& name) { return folder + name; };
    ParseHtml(
        "<table background=bola.bmp cellspacing=0><tr background=bola.bmp><td>a<td "
        "background=none.gif>b"
        "<tr><td style=\"background-image: url(bola.bmp); background-repeat: "
        "no-repeat\">c<td>d</table>",
        doc);
    platform::RecordingCanvas canvas;
    int scrollWidth = 0, cursor = 0;
    const int height = doc.LayoutCell(canvas, 0, 400, 600, scrollWidth, cursor);
    std::vector<ThtmlTable*> grids;
    CollectGrids(doc, grids);
    ASSERT_EQ(grids.size(), 1u);
    ThtmlTable& grid = *grids[0];
    auto cell = [&](std::size_t r, std::size_t c) -> TCellObj& {
        return *grid.rows[r]->slots[c].cell;
    };
    // The row's picture for the cell without one; a picture that cannot be read is dropped.
    ASSERT_NE(cell(0, 0).backgroundImage, nullptr);
    EXPECT_TRUE(cell(0, 0).needsTiling);
    EXPECT_EQ(cell(0, 1).backgroundImage, nullptr);
    EXPECT_NE(cell(1, 0).backgroundImage, nullptr);
    EXPECT_EQ(cell(1, 1).backgroundImage, nullptr);
    ASSERT_NE(grid.owner, nullptr);
    ASSERT_NE(grid.owner->background, nullptr);
    EXPECT_NE(grid.owner->background->image, nullptr);
    canvas.clearLog();
    doc.Draw(canvas, {0, 0, 400, height}, 400, 0, 0, 0, 0);
    EXPECT_NE(canvas.logText().find("bitmap "), std::string::npos);
}

TEST(TableQueries, PicturesInCellsAndCaptionPositions) {
    Shown shown(
        "<table><caption align=bottom>under</caption><tr><td><img src=x.gif width=40 height=30>"
        "<td>text</table>");
    const TCellObj& withImage = shown.Cell(0, 0);
    ThtmlTable& grid = shown.Grid();
    const int x = grid.LayoutX() + grid.cellSpacing + withImage.ContentInsetX() + 5;
    const int y = withImage.content->topY + 5;
    TFloatingObj* object = nullptr;
    int IX = 0, IY = 0;
    ASSERT_TRUE(shown.page.doc.HitTestImage(x, y, object, IX, IY));
    EXPECT_NE(object, nullptr);
    EXPECT_FALSE(shown.page.doc.HitTestImage(x, grid.topY + grid.flowHeight + 40, object, IX, IY));
    // Source positions: the table is asked first going forwards, the caption first
    // going backwards.
    auto* wrapper =
        dynamic_cast<TTableAndCaptionBlock*>(shown.page.Body().content.items.at(0).get());
    ASSERT_NE(wrapper, nullptr);
    const int captionPos = wrapper->captionBlock->firstCursorPos;
    const int textPos = shown.Cell(0, 1).content->firstCursorPos;
    for (int pos : {captionPos, textPos}) {
        const int source = shown.page.doc.SourcePosOf(pos);
        ASSERT_GE(source, 0);
        const int fromTable = wrapper->tableBlock->CursorPosOfSource(source, false);
        EXPECT_EQ(
            wrapper->CursorPosOfSource(source, false),
            fromTable >= 0 ? fromTable : wrapper->captionBlock->CursorPosOfSource(source, false));
        const int fromCaption = wrapper->captionBlock->CursorPosOfSource(source, true);
        EXPECT_EQ(
            wrapper->CursorPosOfSource(source, true),
            fromCaption >= 0 ? fromCaption : wrapper->tableBlock->CursorPosOfSource(source, true));
    }
    EXPECT_EQ(shown.page.doc.CursorPosOfSource(shown.page.doc.SourcePosOf(textPos), false),
              textPos);
}

TEST(TableDraw, ATableStartingLowOnAPageGoesToTheNext) {
    Page page("<div style=\"height: 75px\"></div><table><td>a<tr><td>b</table>");
    platform::RecordingCanvas canvas;
    int scrollWidth = 0, cursor = 0;
    page.doc.LayoutCell(canvas, 0, 300, 600, scrollWidth, cursor);
    page.doc.isPrinting = true;
    page.doc.SetScrollY(0);
    page.doc.Draw(canvas, {0, 0, 300, 100}, 300, 0, 0, 0, 0);
    EXPECT_TRUE(page.doc.pageShortened);
    EXPECT_EQ(page.doc.pageBottomY, FirstTableBlock(page.Body().content)->layoutY);
}
