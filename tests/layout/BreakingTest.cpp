// Text sections: finishing, line breaking, alignment, indent, line height, floats.

#include "LayoutTestSupport.h"

using layouttest::DocumentBuilder;
using layouttest::ExpectMatchesFile;

namespace {

std::u16string Finished(const std::u16string& text, const std::string& noBreak = "") {
    DocumentBuilder b;
    auto section = std::make_unique<TSection>(&b.doc, true, b.Top(), nullptr, &b.doc, nullptr);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::int32_t position = static_cast<std::int32_t>(i);
        section->AppendText(text.substr(i, 1), &position, 0, i < noBreak.size() && noBreak[i] == 'n');
    }
    section->FinishText();
    return section->textBuffer.str();
}

}  // namespace

TEST(SectionFinishing, SpacesCollapseAroundBreaksAndEnds) {
    EXPECT_EQ(u"a b", Finished(u"  a   b  "));
    EXPECT_EQ(u"a\bb", Finished(u"a \b b"));
    EXPECT_EQ(u"a", Finished(u"a\b"));
    EXPECT_EQ(u"\b", Finished(u"\b"));
    // Of two spaces where the first may not break, the first goes and the break stays.
    DocumentBuilder b;
    auto section = std::make_unique<TSection>(&b.doc, true, b.Top(), nullptr, &b.doc, nullptr);
    b.Append(*section, u"a ", true);
    b.Append(*section, u" b");
    section->FinishText();
    EXPECT_EQ(u"a b", section->textBuffer.str());
    EXPECT_EQ("nyyy", section->BreakFlags());
    ASSERT_EQ(2u, section->sourceRuns.size());
    EXPECT_EQ(2, section->sourceRuns[1].sourcePos);  // the kept space is the second
    // Where every character may break, no flags are kept, and each one reads 'y'.
    auto plain = std::make_unique<TSection>(&b.doc, true, b.Top(), nullptr, &b.doc, nullptr);
    b.Append(*plain, u"c  d");
    plain->FinishText();
    EXPECT_EQ(u"c d", plain->textBuffer.str());
    EXPECT_TRUE(plain->BreakFlags().empty());
    for (int i = 0; i <= 3; ++i) EXPECT_EQ('y', plain->BreakFlag(i)) << i;
}

// Characters from one stretch of the source share a run of source places; a jump
// anywhere in a piece starts a new run there (the runs are found four places a step).
TEST(SectionFinishing, AJumpInTheSourceAnywhereInAPieceStartsARun) {
    for (std::size_t jump = 0; jump < 12; ++jump) {
        DocumentBuilder b;
        auto section = std::make_unique<TSection>(&b.doc, true, b.Top(), nullptr, &b.doc, nullptr);
        std::vector<std::int32_t> positions(12);
        for (std::size_t k = 0; k < positions.size(); ++k)
            positions[k] = static_cast<std::int32_t>(k < jump ? 100 + k : 500 + k);
        section->AppendText(u"abcdefghijkl", positions.data(), 0, false);
        const std::int32_t more[] = {512, 513, 900};
        section->AppendText(u"mno", more, 0, false);
        std::vector<std::pair<int, int>> runs;
        for (const IndexObj& run : section->sourceRuns)
            runs.emplace_back(run.textOffset, run.sourcePos);
        std::vector<std::pair<int, int>> expected;
        if (jump > 0) expected.emplace_back(0, 100);
        expected.emplace_back(static_cast<int>(jump), 500 + static_cast<int>(jump));
        expected.emplace_back(14, 900);
        EXPECT_EQ(expected, runs) << "jump at " << jump;
    }
}

// Blanks only (as between two blocks): nothing is kept but the last font run, at 0, and
// the runs that go leave the document's list of links.
TEST(SectionFinishing, ASectionOfBlanksOnlyKeepsOnlyItsLastRun) {
    DocumentBuilder b;
    TUrlTarget link;
    link.Url = "elsewhere.htm";
    auto section = std::make_unique<TSection>(&b.doc, true, b.Top(), &link, &b.doc, nullptr);
    b.Append(*section, u" ");
    b.Push("b");
    section->StartFontRun(b.Top());
    b.Append(*section, u"  ", true);
    b.Pop();
    b.Push("i");
    section->StartFontRun(b.Top());
    b.Append(*section, u" ");
    b.Pop();
    ASSERT_EQ(3, section->fontRuns.Count());
    TFontObj* last = &section->fontRuns[2];
    ASSERT_FALSE(section->BreakFlags().empty());
    ASSERT_EQ(3u, b.doc.linkRuns.size());
    section->FinishText();
    EXPECT_TRUE(section->textBuffer.empty());
    EXPECT_TRUE(section->BreakFlags().empty());
    EXPECT_TRUE(section->sourceRuns.empty());
    ASSERT_EQ(1, section->fontRuns.Count());
    EXPECT_EQ(last, &section->fontRuns[0]);
    EXPECT_EQ(0, section->fontRuns[0].textOffset);
    EXPECT_TRUE(section->fontRuns[0].font.italic());
    EXPECT_EQ(b.doc.linkRuns, std::vector<TFontObj*>{last}) << "the runs that went are no link";
}

TEST(SectionFinishing, EmptySectionsAreDroppedUnlessCleared) {
    DocumentBuilder b;
    b.Text(u"   ");
    b.Flush();
    EXPECT_EQ(0, b.doc.Count());
    b.Push("br", "clear: both");
    b.Text(u"");
    b.Pop();
    b.Flush();
    EXPECT_EQ(1, b.doc.Count());
}

TEST(LineBreaking, BreakOpportunities) {
    DocumentBuilder b;
    b.OpenBody();
    b.Paragraph(u"The quick brown fox jumps over the lazy dog again and again");
    b.Paragraph(u"well-known self-evident things-happen");
    b.Paragraph(u"what?yes?no?maybe?certainly?not");
    b.Paragraph(u"one\btwo \b three");
    b.Paragraph(u"\x65e5\x672c\x8a9e\x306e\x6587\x7ae0\x3092\x66f8\x304d\x307e\x3059\x3002\x65e5\x672c\x8a9e\x306e\x6587\x7ae0");
    b.Paragraph(u"Supercalifragilisticexpialidocious and more");
    {
        b.OpenBlock("p");
        TSection& s = b.Text(u"keep ");
        b.Append(s, u"these words together", true);
        b.Append(s, u" after that it breaks");
        b.Close();
    }
    b.Paragraph(u"\b");
    b.Close();
    b.Layout(120);
    ExpectMatchesFile(b.Dump(), "line_breaking.txt");
}

TEST(LineBreaking, AlignmentsAndJustification) {
    DocumentBuilder b;
    b.OpenBody();
    for (const char* align : {"left", "center", "right", "justify"})
        b.Paragraph(u"Aligned text that spans a few lines here", std::string("text-align: ") + align);
    b.Close();
    b.Layout(160);
    ExpectMatchesFile(b.Dump(), "alignment.txt");
}

TEST(LineBreaking, IndentAndLineHeight) {
    DocumentBuilder b;
    b.OpenBody();
    b.Paragraph(u"indented by twenty pixels on the first line", "text-indent: 20px");
    b.Paragraph(u"ninety-five percent is ninety", "text-indent: 95%");
    b.Paragraph(u"tall lines with room above and below", "line-height: 25px");
    b.Paragraph(u"double height lines", "line-height: 2");
    b.Close();
    b.Layout(200);
    ExpectMatchesFile(b.Dump(), "indent_line_height.txt");
}

// Fonts are held at 10000 pixels; a run of the largest keeps its metrics in full.
TEST(LineBreaking, TheLargestFontSetsItsLineInFull) {
    DocumentBuilder b;
    b.Push("p", "font-size: 20000px; font-style: italic");
    TSection& s = b.Text(u"W");
    b.Flush();
    b.Layout(400);
    const TFontObj& run = s.fontRuns[0];
    EXPECT_EQ(-10000, run.font.height);
    EXPECT_EQ(10000, run.metricHeight);
    EXPECT_EQ(10000, run.lineContribution);
    EXPECT_EQ(2500, run.descent);
    EXPECT_EQ(1000, run.italicOverhang);
    ASSERT_EQ(1u, s.lines.size());
    EXPECT_EQ(10000, s.lines[0].textHeight);
    EXPECT_EQ(2500, s.lines[0].descent);
}

TEST(LineBreaking, MinMaxWidths) {
    DocumentBuilder b;
    TSection& s = b.Text(u"a bb ccc-dddd eeeee\bffffff gg");
    int min = 0, max = 0;
    s.MeasureWidths(b.canvas, min, max);
    EXPECT_EQ(6 * 8, min);        // "ffffff"; "ccc-" and "dddd" are separate words
    EXPECT_EQ(19 * 8, max);       // "a bb ccc-dddd eeeee" before the break
    TSection& indented = b.Text(u"word");
    indented.textIndentPx = 10;
    indented.MeasureWidths(b.canvas, min, max);
    EXPECT_EQ(42, min);
    EXPECT_EQ(42, max);
}

// The widths are measured in one walk over the text; they must be what the words and
// lines measure one by one, italic overhangs counted once for each font run a word
// touches (the widest word here starts inside the italic run and ends in plain text).
TEST(LineBreaking, MinMaxWidthsAcrossFontRunsAgreeWithTheWordsMeasuredAlone) {
    DocumentBuilder b;
    TSection& s = b.Text(u"plain m");
    b.Push("span", "font-style: italic; font-size: 20px");
    s.StartFontRun(b.Top());
    b.Append(s, u"slanted and longerword");
    b.Pop();
    s.StartFontRun(b.Top());
    b.Append(s, u"tail\bnext line x");
    b.Flush();
    ASSERT_EQ(3, s.fontRuns.Count());
    ASSERT_GT(s.fontRuns[1].italicOverhang, 0);
    int min = 0, max = 0;
    s.MeasureWidths(b.canvas, min, max);
    const std::u16string t = s.textBuffer.str();
    const int breakAt = static_cast<int>(t.find(u'\b'));
    EXPECT_EQ(std::max(s.TextWidth(b.canvas, 0, breakAt, false),
                       s.TextWidth(b.canvas, breakAt + 1, static_cast<int>(t.size()) - breakAt - 1,
                                   false)),
              max);
    int widest = 0;
    for (std::size_t start = 0; start < t.size();) {
        std::size_t end = t.find_first_of(u" \b", start);
        if (end == std::u16string::npos) end = t.size();
        widest = std::max(widest, s.TextWidth(b.canvas, static_cast<int>(start),
                                              static_cast<int>(end - start), true));
        start = end + 1;
    }
    // "longerwordtail", which starts inside the italic run, with that run's overhang.
    EXPECT_EQ(widest, min);
}

TEST(Floats, TextBesideFloatsAndClearing) {
    DocumentBuilder b;
    b.OpenBody();
    b.OpenBlock("div", "float: left; width: 48px; height: 40px");
    b.Close();
    b.OpenBlock("div", "float: right; width: 40px; height: 60px");
    b.Close();
    b.Paragraph(u"text flows between both floats until they end here and beyond");
    b.OpenBlock("div", "float: left; width: 100px; height: 30px");
    b.Close();
    b.Paragraph(u"Incomprehensibilities then");  // the long word moves below the float
    b.OpenBlock("div", "float: right; width: 30px; height: 30px");
    b.Close();
    b.Paragraph(u"cleared paragraph", "clear: right");
    b.Close();
    b.Layout(160);
    ExpectMatchesFile(b.Dump(), "floats.txt");
}

TEST(Preformatted, OneLinePerSectionAndSpacesKept) {
    DocumentBuilder b;
    b.OpenBody();
    b.Push("pre");
    b.Text<TPreFormated>(u"  two  spaces   stay and the line never wraps at all");
    b.Text<TPreFormated>(u"");
    b.Text<TPreFormated>(u"x");
    b.Pop();
    b.Close();
    b.Layout(100);
    ExpectMatchesFile(b.Dump(), "preformatted.txt");
    const std::string log = b.Draw(100, 200);
    EXPECT_NE(std::string::npos, log.find("\"  two  spaces   stay")) << log;
}

// A block of plain text first asks whether its content's Min fits, which a section may
// answer without measuring; the answer must be the measured one at every width. The
// widths are tried from wide to narrow on one item, so that every answer given without
// measuring is checked before the first measuring keeps the widths.
TEST(Widths, WhetherTheMinFitsIsAnsweredAsMeasuring) {
    struct Case {
        const char* name;
        const char* tag;
        const char* style;
        std::u16string text;
        bool noBreak = false;
        bool asBlock = false;  // the block asked, not its text
    };
    const Case cases[] = {
        {"words", "p", "", u"a bb ccc-dddd eeeee\bffffff gg"},
        {"px indent", "p", "text-indent: 30px", u"word and more"},
        {"90% indent", "p", "text-indent: 90%", u"word and more"},
        {"-50% indent", "p", "text-indent: -50%", u"longestword x"},
        {"bold italic", "b", "font-weight: bold; font-style: italic; font-size: 1px",
         u"tiny bold letters"},
        {"nobr", "p", "", u"never breaks here", true},
        {"beyond Latin-1", "p", "", u"\u6F22\u5B57 \u039B\u03AD\u03BE\u03B7"},
        {"padded block", "div", "padding: 0 7px; border-left: 3px solid; margin-left: 5px",
         u"inner words", false, true},
        {"sized block", "div", "width: 150px; margin-right: 4px", u"x", false, true},
    };
    auto make = [](DocumentBuilder& b, const Case& c) -> TSectionBase& {
        if (!c.asBlock) {
            b.Push(c.tag, c.style);
            return b.Text(c.text, c.noBreak);
        }
        TBlock& block = b.OpenBlock(c.tag, c.style);
        b.Text(c.text);
        b.Close();
        return block;
    };
    for (const Case& c : cases) {
        const char* name = c.name;
        DocumentBuilder measured;
        TSectionBase& reference = make(measured, c);
        measured.Flush();
        int min = 0, max = 0;
        reference.MeasureWidths(measured.canvas, min, max);
        ASSERT_GT(min, 0) << name;
        DocumentBuilder asked;
        TSectionBase& item = make(asked, c);
        asked.Flush();
        for (int limit = 3 * min + 40; limit >= 0; --limit)
            ASSERT_EQ(min <= limit, item.MinWidthAtMost(asked.canvas, limit))
                << name << " at " << limit;
    }
}

TEST(Widths, ANegativePercentIndentNarrowsTheFirstLineItNeeds) {
    // -50 % gives the first line half the room again: 64 pixels of text need 64 / 1.5.
    for (bool laidOutFirst : {false, true}) {
        DocumentBuilder b;
        b.Push("p", "text-indent: -50%");
        TSection& s = b.Text(u"abcdefgh");
        b.Flush();
        if (laidOutFirst) b.Layout(400);
        int min = 0, max = 0;
        s.MeasureWidths(b.canvas, min, max);
        EXPECT_EQ(max, 42) << laidOutFirst;
        EXPECT_EQ(min, 42) << laidOutFirst;
    }
}
