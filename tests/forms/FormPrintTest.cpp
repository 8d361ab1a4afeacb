// Controls on paper: each draws a picture of itself where the section puts its
// character, framed in grey, or in black on monochrome paper when the viewer asks.

#include "FormTestSupport.h"

#include "../support/ExpectedFile.h"

namespace formtest {
namespace {

const char* const kPrintedForm =
    "<FORM><INPUT NAME=e VALUE=Maria><INPUT TYPE=password VALUE=abc><INPUT NAME=d VALUE=off "
    "DISABLED><BR>"
    "<INPUT TYPE=checkbox CHECKED><INPUT TYPE=checkbox DISABLED><INPUT TYPE=radio CHECKED><INPUT "
    "TYPE=radio><BR>"
    "<SELECT NAME=c><OPTION>um<OPTION SELECTED>dois</SELECT>"
    "<SELECT NAME=l SIZE=2><OPTION>a<OPTION>b<OPTION>c</SELECT><BR>"
    "<TEXTAREA ROWS=2 COLS=10>primeira\nsegunda\nterceira</TEXTAREA><INPUT TYPE=submit "
    "VALUE=Enviar></FORM>";

// The drawing log of the page printed on a device with these capabilities.
std::string Printed(platform::DeviceCaps caps, bool monoBlack) {
    FormPage page;
    ParseHtml(kPrintedForm, page.doc);
    platform::RecordingCanvas paper(caps);
    page.doc.isPrinting = true;
    page.doc.printMonoBlack = monoBlack;
    int scrollWidth = 0, cursor = 0;
    page.doc.LayoutCell(paper, 0, 600, 600, scrollWidth, cursor);
    paper.clearLog();
    page.doc.SetScrollY(0);
    page.doc.Draw(paper, {0, 0, 600, 800}, 600, 0, 0, 0, 0);
    // Nothing of the controls' windows shows on paper.
    for (auto& member : page.Form().members)
        EXPECT_FALSE(member->control && member->control->isVisible());
    return paper.logText();
}

TEST(PrintedForm, ControlsDrawTheirPictures) {
    ExpectMatchesTestFile(Printed({}, true), "forms/expected/printed-form.txt");
}

TEST(PrintedForm, MonochromePaperGetsBlackFrames) {
    platform::DeviceCaps mono;
    mono.bitsPerPixel = 1;
    mono.planes = 1;
    const std::string log = Printed(mono, true);
    ExpectMatchesTestFile(log, "forms/expected/printed-form-mono.txt");
    // No grey shading is left: frames are black lines, fills white.
    EXPECT_EQ(log.find("#A0A0A0"), std::string::npos);
    EXPECT_EQ(log.find("#C0C0C0"), std::string::npos);
    // Without the viewer's request the frames stay shaded, but fills are never grey.
    const std::string shaded = Printed(mono, false);
    EXPECT_NE(shaded.find("#A0A0A0"), std::string::npos);
}

TEST(PrintedForm, HeadlessPagesDrawPicturesOnScreenToo) {
    FormPage page;
    page.doc.controlsAsPictures = true;
    page.Load("<INPUT VALUE=visto>");
    EXPECT_NE(page.canvas.logText().find("visto"), std::string::npos);
    EXPECT_FALSE(page.Control<TEditFormControlObj>().control->isVisible());
}

}  // namespace
}  // namespace formtest
