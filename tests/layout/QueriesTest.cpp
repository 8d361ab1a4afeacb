// Positions, hit tests, search and copy.

#include "LayoutTestSupport.h"

using layouttest::DocumentBuilder;

namespace {

int CursorAt(DocumentBuilder& b, int x, int y, bool* inText = nullptr) {
    int xr = 0, yr = 0, caret = 0;
    bool in = false;
    const int pos = b.doc.CursorAtPoint(b.canvas, x, y, xr, yr, caret, in);
    if (inText) *inText = in;
    return pos;
}

}  // namespace

TEST(Positions, CursorAtPointAndLineEnds) {
    DocumentBuilder b;
    b.Text(u"abcd efgh ijkl");
    b.Text(u"second");
    b.Layout(80);  // "abcd efgh " then "ijkl"
    b.Draw(80, 200);
    bool inText = false;
    EXPECT_EQ(0, CursorAt(b, 0, 5, &inText));
    EXPECT_TRUE(inText);
    EXPECT_EQ(1, CursorAt(b, 5, 5));        // past the middle of "a"
    EXPECT_EQ(0, CursorAt(b, 3, 5));
    EXPECT_EQ(10, CursorAt(b, 79, 5, &inText));  // the end of the first line
    EXPECT_FALSE(inText);
    EXPECT_EQ(10, CursorAt(b, 1, 20));      // the second line starts at "ijkl"
    EXPECT_EQ(14, CursorAt(b, 40, 20, &inText));
    EXPECT_FALSE(inText);
    EXPECT_EQ(14, CursorAt(b, 1, 33));      // the next section
    EXPECT_EQ(-1, CursorAt(b, 1, 500));
    int x = 0, y = 0;
    ASSERT_TRUE(b.doc.PointOfCursor(&b.canvas, 12, x, y));
    EXPECT_EQ(16, x);
    EXPECT_EQ(16, y);
    ASSERT_TRUE(b.doc.PointOfCursor(nullptr, 15, x, y));
    EXPECT_EQ(0, x);
    EXPECT_EQ(32, y);
    EXPECT_FALSE(b.doc.PointOfCursor(&b.canvas, 99, x, y));
    char16_t ch = 0;
    TSectionBase* obj = nullptr;
    ASSERT_TRUE(b.doc.CharAtCursor(5, ch, obj));
    EXPECT_EQ(u'e', ch);
}

TEST(Positions, JustifiedLinesCountTheirSpreadSpaces) {
    DocumentBuilder b;
    b.Push("p", "text-align: justify");
    b.Text(u"ab cd ef gh");
    b.Pop();
    b.Layout(72);  // "ab cd ef " (64 wide without the last space) + 8 spread over 2 spaces
    b.Draw(72, 100);
    int x = 0, y = 0;
    ASSERT_TRUE(b.doc.PointOfCursor(&b.canvas, 6, x, y));
    EXPECT_EQ(6 * 8 + 8, x);
    EXPECT_EQ(6, CursorAt(b, 57, 5));
}

TEST(Positions, SourcePositionsRoundTrip) {
    DocumentBuilder b;
    TSection& s = b.Text(u"abc");
    b.sourcePos = 100;
    TSection& t = b.Text(u"def");
    (void)s;
    (void)t;
    b.Layout(200);
    EXPECT_EQ(1, b.doc.SourcePosOf(1));
    EXPECT_EQ(101, b.doc.SourcePosOf(4));
    EXPECT_EQ(4, b.doc.CursorPosOfSource(101, false));
    EXPECT_EQ(3, b.doc.CursorPosOfSource(50, false));  // between: the next section's start
    EXPECT_EQ(2, b.doc.CursorPosOfSource(50, true));   // or the previous one's end
    EXPECT_EQ(b.doc.cursorCount + 1, b.doc.CursorPosOfSource(500, false));
}

TEST(Search, ForwardsAndBackwardsWithCase) {
    DocumentBuilder b;
    b.Text(u"Alpha beta ALPHA");
    b.Text(u"gamma alpha");
    b.Layout(400);
    EXPECT_EQ(0, b.doc.SearchForward(0, u"alpha", false));
    EXPECT_EQ(11, b.doc.SearchForward(1, u"alpha", false));
    EXPECT_EQ(22, b.doc.SearchForward(1, u"alpha", true));
    EXPECT_EQ(-1, b.doc.SearchForward(23, u"alpha", true));
    EXPECT_EQ(22, b.doc.SearchBackward(100, u"ALPHA", false));
    EXPECT_EQ(11, b.doc.SearchBackward(22, u"ALPHA", false));
    EXPECT_EQ(-1, b.doc.SearchBackward(4, u"alpha", false));  // must end before From
    EXPECT_EQ(0, b.doc.SearchBackward(5, u"alpha", false));
}

TEST(Search, CaseBlindInEveryScript) {
    DocumentBuilder b;
    b.Text(u"Em ΆΘΉΝΑ e em Hà Nội, ｔｏｋｙｏ");
    b.Layout(400);
    EXPECT_EQ(3, b.doc.SearchForward(0, u"άθήνα", false));
    EXPECT_EQ(14, b.doc.SearchForward(0, u"HÀ NỘI", false));
    EXPECT_EQ(22, b.doc.SearchForward(0, u"ＴＯＫＹＯ", false));
    EXPECT_EQ(-1, b.doc.SearchForward(0, u"ＴＯＫＹＯ", true));
}

TEST(Copy, ParagraphsAreSeparatedByAnEmptyLine) {
    DocumentBuilder b;
    b.OpenBody();
    b.Paragraph(u"first paragraph");
    b.Paragraph(u"second\bline");
    b.Paragraph(u"third");
    b.Close();
    b.Layout(400);
    b.doc.selStart = 6;
    b.doc.selEnd = 30;
    std::u16string text;
    EXPECT_EQ(b.doc.SelectionLength(), b.doc.SelectionToBuffer(text, 1000));
    EXPECT_EQ(u"paragraph\r\n\r\nsecond\r\nline\r\n\r\nthir", text);
    std::u16string small;
    EXPECT_EQ(4, b.doc.SelectionToBuffer(small, 4));
    EXPECT_EQ(u"para", small);
    b.doc.selStart = b.doc.selEnd;
    EXPECT_EQ(0, b.doc.SelectionLength());
}

TEST(Links, HitTestAndHover) {
    class Host : public TDocumentHost {
    public:
        void InvalidatePaintSurface() override { ++invalidated; }
        int invalidated = 0;
    } host;
    DocumentBuilder b(&host);
    b.doc.hoverLinksOn = true;
    TSection& s = b.Text(u"go ");
    TUrlTarget target;
    target.Assign("page.html", "");
    b.Push("a", "", "");
    b.Top().ElementTitle = "a title";
    s.LinkBoundary(true, b.Top(), &target);
    b.Append(s, u"there");
    b.Pop();
    s.LinkBoundary(false, b.Top(), nullptr);
    b.Append(s, u" now");
    b.Layout(400);
    b.Draw(400, 100);
    std::string title;
    TFormControlObj* control = nullptr;
    const TUrlTarget* link = nullptr;
    EXPECT_EQ(0u, b.doc.HitTestLink(b.canvas, 4, 8, title, control, link));
    EXPECT_EQ(unsigned(htUrl | htTitle), b.doc.HitTestLink(b.canvas, 30, 8, title, control, link));
    ASSERT_NE(nullptr, link);
    EXPECT_EQ("page.html", link->Url);
    EXPECT_EQ("a title", title);
    EXPECT_EQ(1, host.invalidated);
    EXPECT_EQ(1u, b.doc.linkRuns.size());
    b.doc.ClearHover();
    EXPECT_EQ(nullptr, b.doc.hoverLink);
}

TEST(Anchors, PositionAnchorsFindTheirLine) {
    DocumentBuilder b;
    b.Text(u"first line");
    b.sourcePos = 40;
    b.Text(u"second");
    b.Layout(400);
    TChPosObj anchor(&b.doc, 42);
    EXPECT_EQ(16, anchor.AnchorY());
    TChPosObj between(&b.doc, 20);  // in markup between the two: the next text
    EXPECT_EQ(16, between.GetTopY());
    TChPosObj first(&b.doc, 3);
    EXPECT_EQ(0, first.AnchorY());
}
