// Drawing: selection colours, justification, scripts, the caret, and pagination.

#include "LayoutTestSupport.h"

using layouttest::DocumentBuilder;
using layouttest::ExpectMatchesFile;

TEST(Drawing, SelectionJustificationAndScripts) {
    DocumentBuilder b;
    b.OpenBody();
    b.OpenBlock("p", "text-align: justify");
    TSection& s = b.Text(u"selected words are drawn inverted here");
    b.Push("sub", "vertical-align: sub; color: #FF0000");
    s.StartFontRun(b.Top());
    b.Append(s, u" low");
    b.Pop();
    b.Push("sup", "vertical-align: super; background-color: #00FF00");
    b.Top().SetFontBackground();
    s.StartFontRun(b.Top());
    b.Append(s, u" high");
    b.Pop();
    b.Close();
    b.Close();
    b.Layout(160);
    b.doc.selStart = 9;
    b.doc.selEnd = 24;
    ExpectMatchesFile(b.Dump() + b.Draw(160, 200), "selection.log");
}

TEST(Drawing, DummyCaretAtTheSelectionStart) {
    DocumentBuilder b;
    b.Text(u"caret here");
    b.Layout(200);
    b.doc.showCaret = true;
    b.doc.selStart = b.doc.selEnd = 6;
    const std::string log = b.Draw(200, 100);
    EXPECT_NE(std::string::npos, log.find("line 48,0-48,16 pen=#000000/solid/1")) << log;
}

TEST(Drawing, OnlyVisibleLinesAreDrawn) {
    DocumentBuilder b;
    b.OpenBody();
    for (int i = 0; i < 200; ++i) b.Paragraph(u"paragraph " + std::u16string(1, u'A' + i % 26));
    b.Close();
    b.Layout(200);
    const int scroll = 150 * 30;  // each paragraph: 16 of text and 14 between
    const std::string log = b.Draw(200, 60, scroll);
    int texts = 0;
    for (std::size_t at = log.find("text "); at != std::string::npos; at = log.find("text ", at + 1)) ++texts;
    EXPECT_EQ(3, texts) << log;
    EXPECT_NE(std::string::npos, log.find("\"paragraph U\"")) << log;  // the 151st
}

namespace {

// Pages of `page` pixels as the printer draws them: each page starts where the last
// one's bottom was moved to.
std::vector<int> PageStarts(DocumentBuilder& b, int page, int total) {
    b.doc.isPrinting = true;
    std::vector<int> starts;
    int top = 0;
    while (top < total && starts.size() < 20) {
        starts.push_back(top);
        b.doc.SetScrollY(top);
        b.doc.Draw(b.canvas, {0, 0, 200, page}, 200, 0, 0, 0, 0);
        const int next = b.doc.pageBottomY;
        top = next > top ? next : top + page;
    }
    return starts;
}

}  // namespace

TEST(Printing, LinesAreNotCutAndPageBreaksMoveThePageBottom) {
    DocumentBuilder b;
    b.OpenBody();
    TSection& s = b.Text(u"one two three four five six seven eight nine ten");
    b.Close();
    b.Layout(40);  // five characters a line, 16 pixels each
    EXPECT_EQ((std::vector<int>{0, 32, 64, 96, 128}), PageStarts(b, 40, b.height));
    (void)s;
}

TEST(Printing, PageItemsAndBreakBefore) {
    DocumentBuilder b;
    b.OpenBody();
    b.OpenBlock("div", "page-break-before: always");  // first on its page: no empty page
    b.Text(u"first");
    b.Close();
    b.Text(u"second");
    b.Add(std::make_unique<TPage>(&b.doc));
    b.Text(u"third");
    b.OpenBlock("div", "page-break-before: always");
    b.Text(u"fourth");
    b.Close();
    b.Close();
    b.Layout(200);
    EXPECT_EQ((std::vector<int>{0, 32, 48}), PageStarts(b, 400, b.height));
}

TEST(Printing, ColoursOnMonochromeAndWithoutBackgrounds) {
    DocumentBuilder b;
    b.Push("p", "color: #F0F0F0");
    b.Text(u"light");
    b.Pop();
    b.Push("p", "color: #0000FF");
    b.Text(u"blue");
    b.Pop();
    b.Layout(200);
    b.doc.isPrinting = true;
    std::string log = b.Draw(200, 400);
    EXPECT_NE(std::string::npos, log.find("color=#A0A0A0 \"light\"")) << log;
    EXPECT_NE(std::string::npos, log.find("color=#0000FF \"blue\"")) << log;
    platform::DeviceCaps mono;
    mono.numColors = 2;
    b.canvas = platform::RecordingCanvas(mono);
    b.doc.printMonoBlack = true;
    log = b.Draw(200, 400);
    EXPECT_NE(std::string::npos, log.find("color=#000000 \"blue\"")) << log;
}
