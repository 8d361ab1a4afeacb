// Controls between submissions: radio groups and their arrow keys, focus and change
// events, values kept with the history, controls out of view, sizes.

#include "FormTestSupport.h"

#include "platform/CodePage.h"

namespace formtest {
namespace {

std::string Checked(FormPage& page) {
    std::string out;
    for (auto& member : page.Form().members)
        if (auto* radio = dynamic_cast<TRadioButtonFormControlObj*>(member.get()))
            out += radio->control->isChecked() ? "x" : "-";
    return out;
}

TEST(RadioGroup, AClickUnchecksTheOthersOfItsNameWhateverTheCase) {
    FormPage page(
        "<FORM><INPUT TYPE=radio NAME=Cor VALUE=a CHECKED><INPUT TYPE=radio NAME=COR VALUE=b>"
        "<INPUT TYPE=radio NAME=outro VALUE=c CHECKED><INPUT TYPE=radio NAME=cor VALUE=d></FORM>"
        "<FORM><INPUT TYPE=radio NAME=cor VALUE=e CHECKED></FORM>");
    EXPECT_EQ(Checked(page), "x-x-");
    auto& d = page.Control<TRadioButtonFormControlObj>(3);
    d.control->setChecked(true);  // the window checks itself, then reports the click
    d.control->onClick();
    EXPECT_EQ(Checked(page), "--xx");
    EXPECT_TRUE(page.Control<TRadioButtonFormControlObj>(4).control->isChecked())
        << "another form's group";
    EXPECT_EQ(page.SubmitFirst(), Pairs({"outro=c", "cor=d"}));
}

TEST(RadioGroup, ArrowKeysMoveWithinTheGroupAndStopAtItsEnds) {
    FormPage page(
        "<FORM><INPUT TYPE=radio NAME=n VALUE=1 CHECKED><INPUT TYPE=radio NAME=x VALUE=9>"
        "<INPUT TYPE=radio NAME=n VALUE=2><INPUT TYPE=radio NAME=n VALUE=3 DISABLED>"
        "<INPUT TYPE=radio NAME=n VALUE=4></FORM>");
    auto& first = page.Control<TRadioButtonFormControlObj>(0);
    ASSERT_TRUE(first.control->setFocus());
    first.control->onArrowKey(0, -1);  // up at the first: stays
    EXPECT_EQ(Checked(page), "x----");
    EXPECT_TRUE(first.control->hasFocus());
    first.control->onArrowKey(1, 0);  // right: the next of the same name
    EXPECT_EQ(Checked(page), "--x--");
    auto& second = page.Control<TRadioButtonFormControlObj>(2);
    EXPECT_TRUE(second.control->hasFocus());
    second.control->onArrowKey(0, 1);  // down: past the disabled one
    EXPECT_EQ(Checked(page), "----x");
    auto& last = page.Control<TRadioButtonFormControlObj>(4);
    last.control->onArrowKey(1, 0);  // at the end: stays
    EXPECT_EQ(Checked(page), "----x");
    last.control->onArrowKey(-1, 0);
    EXPECT_EQ(Checked(page), "--x--");
}

TEST(ControlEvents, FocusBlurAndChangeReachTheHost) {
    FormPage page("<FORM><INPUT NAME=a ONFOCUS=f() ONBLUR=b() ONCHANGE=c()><INPUT NAME=q></FORM>");
    auto& edit = page.Control<TEditFormControlObj>();
    auto& window = page.Window(edit);
    ASSERT_TRUE(window.setFocus());
    EXPECT_TRUE(edit.HasFocus());
    window.setText(u"novo");
    window.loseFocus();
    EXPECT_FALSE(edit.HasFocus());
    const std::string y = std::to_string(edit.topY);
    EXPECT_EQ(page.host.events, std::vector<std::string>({"scroll-to " + y, "focus a f()",
                                                          "change a c()", "blur a b()"}));
    // Without a change there is none to report.
    page.host.events.clear();
    window.setFocus();
    window.loseFocus();
    EXPECT_EQ(page.host.events,
              std::vector<std::string>({"scroll-to " + y, "focus a f()", "blur a b()"}));
    // A control without scripts reports only its focus to the viewer.
    page.host.events.clear();
    auto& plain = page.Window(page.Control<TEditFormControlObj>(1));
    plain.setFocus();
    plain.setText(u"x");
    plain.loseFocus();
    EXPECT_EQ(page.host.events.size(), 1u);
}

TEST(ControlEvents, ClicksOnCheckBoxesReportTheirScript) {
    FormPage page("<FORM><INPUT TYPE=checkbox NAME=c ONCLICK=toggle()></FORM>");
    page.Window(page.Control<TCheckBoxFormControlObj>()).onClick();
    EXPECT_EQ(page.host.events, std::vector<std::string>({"click c toggle()"}));
}

const char* const kHistoryPage =
    "<FORM><INPUT NAME=nome VALUE=a><INPUT NAME=nome VALUE=b><INPUT TYPE=checkbox NAME=c CHECKED>"
    "<INPUT TYPE=checkbox NAME=c VALUE=two><INPUT TYPE=radio NAME=r VALUE=1 CHECKED>"
    "<INPUT TYPE=radio NAME=r VALUE=2><INPUT TYPE=hidden NAME=h VALUE=z>"
    "<SELECT NAME=l MULTIPLE><OPTION>p<OPTION SELECTED>q<OPTION>s</SELECT>"
    "<SELECT NAME=d><OPTION>x<OPTION>y</SELECT><TEXTAREA NAME=t>um</TEXTAREA><INPUT TYPE=submit "
    "NAME=go></FORM>"
    "<FORM><INPUT NAME=outra></FORM>";

TEST(FormHistory, ValuesComeBackOnAFreshLoadOfThePage) {
    FormPage before(kHistoryPage);
    before.Window(before.Control<TEditFormControlObj>(0)).setText(u"primeiro");
    before.Window(before.Control<TEditFormControlObj>(1)).setText(u"segundo");
    before.Window(before.Control<TCheckBoxFormControlObj>(0)).setChecked(false);
    before.Window(before.Control<TCheckBoxFormControlObj>(1)).setChecked(true);
    before.Control<TRadioButtonFormControlObj>(1).control->onClick();
    auto& list = before.Window(before.Control<TListBoxFormControlObj>());
    list.setItemSelected(1, false);
    list.setItemSelected(0, true);
    list.setItemSelected(2, true);
    before.Window(before.Control<TComboFormControlObj>()).setCurrentIndex(1);
    before.Window(before.Control<TTextAreaFormControlObj>()).setText(u"linha\r\noutra");
    before.Window(before.Control<TEditFormControlObj>(2)).setText(u"\u00E9");
    const std::unique_ptr<TFormData> kept = before.doc.FormData();
    ASSERT_TRUE(kept);
    ASSERT_EQ(kept->size(), 2u);
    const Pairs sent = before.SubmitFirst();

    FormPage after(kHistoryPage);
    EXPECT_NE(after.SubmitFirst(), sent);
    after.doc.SetFormData(*kept);
    EXPECT_EQ(after.SubmitFirst(), sent);
    EXPECT_EQ(sent, Pairs({"nome=primeiro", "nome=segundo", "c=two", "r=2", "h=z", "l=p", "l=s",
                           "d=y", "t=linha\r\noutra"}));
    EXPECT_EQ(platform::Utf16ToUtf8(after.Window(after.Control<TEditFormControlObj>(2)).text()),
              "\xC3\xA9");
}

TEST(FormHistory, APageWithoutFormsKeepsNothing) {
    FormPage page("<P>texto</P>");
    EXPECT_EQ(page.doc.FormData(), nullptr);
}

TEST(ControlsOutOfView, ControlsNotDrawnSinceTheScrollAreParked) {
    std::string html = "<INPUT NAME=top>";
    for (int i = 0; i < 80; ++i) html += "<P>linha</P>";
    html += "<INPUT NAME=bottom>";
    FormPage page(html);
    auto& top = page.Control<TEditFormControlObj>(0);
    auto& bottom = page.Control<TEditFormControlObj>(1);
    ASSERT_GT(bottom.topY, 600);
    EXPECT_TRUE(top.control->isVisible());
    EXPECT_FALSE(bottom.control->isVisible());
    EXPECT_EQ(bottom.control->bounds().left, -4000);
    // Scrolled to the end: the first one goes out of sight, the last one shows where
    // its character is drawn.
    page.Draw(bottom.topY - 100, 300);
    EXPECT_FALSE(top.control->isVisible());
    EXPECT_EQ(top.control->bounds().left, -4000);
    EXPECT_TRUE(bottom.control->isVisible());
    EXPECT_GE(bottom.control->bounds().left, 0);
    EXPECT_EQ(bottom.control->bounds().top, 100);
}

TEST(ControlSizes, FitTheTextMeasuresOfTheirFont) {
    FormPage page(
        "<FORM><INPUT NAME=e SIZE=10><INPUT NAME=w SIZE=\"8,2\"><INPUT NAME=u SIZE=big>"
        "<INPUT NAME=g STYLE=\"width:200px;height:40px\"><INPUT TYPE=submit VALUE=Enviar>"
        "<SELECT NAME=l SIZE=3><OPTION>um<OPTION>longo texto</SELECT>"
        "<SELECT NAME=c><OPTION>curto<OPTION>muito mais longo</SELECT>"
        "<TEXTAREA ROWS=4 COLS=20></TEXTAREA><INPUT TYPE=checkbox><INPUT TYPE=radio></FORM>");
    auto size = [&](TFormControlObj& c) {
        return std::to_string(c.Width()) + "x" + std::to_string(c.Height());
    };
    page.canvas.setFont(page.Window(page.Control<TEditFormControlObj>()).font());
    const int digit = page.canvas.textExtent(u"0").cx;
    const int line = page.canvas.textExtent(u"A").cy;
    const int natural = page.Window(page.Control<TEditFormControlObj>()).naturalHeight();
    const std::string edit = std::to_string(natural);
    EXPECT_EQ(size(page.Control<TEditFormControlObj>(0)),
              std::to_string(digit * 10 + 5) + "x" + edit);
    EXPECT_EQ(size(page.Control<TEditFormControlObj>(1)),
              std::to_string(digit * 8 + 5) + "x" + edit);
    EXPECT_EQ(size(page.Control<TEditFormControlObj>(2)),
              std::to_string(digit * 20 + 5) + "x" + edit);
    EXPECT_EQ(size(page.Control<TEditFormControlObj>(3)),
              "200x" + std::to_string(std::max(natural, 40)));
    EXPECT_EQ(
        size(page.Control<TButtonFormControlObj>()),
        std::to_string(page.canvas.textExtent(u"Enviar").cx + 20) + "x" + std::to_string(line + 8));
    // Lists: rows of text inside the window's frame, the widest option beside the
    // scroll bar (16) and 10 pixels; the stand-in's frame adds 4 each way.
    EXPECT_EQ(size(page.Control<TListBoxFormControlObj>()),
              std::to_string(page.canvas.textExtent(u"longo texto").cx + 16 + 10 + 4) + "x" +
                  std::to_string(line * 3 + 4));
    EXPECT_EQ(
        size(page.Control<TComboFormControlObj>()),
        std::to_string(page.canvas.textExtent(u"muito mais longo").cx + 16 + 10 + 4) + "x" + edit);
    EXPECT_EQ(size(page.Control<TTextAreaFormControlObj>()),
              std::to_string(page.canvas.textExtent(u"s").cx * 20 + 5 + 4) + "x" +
                  std::to_string(line * 4 + 5 + 4));
    EXPECT_EQ(size(page.Control<TCheckBoxFormControlObj>()), "13x13");
    EXPECT_EQ(size(page.Control<TRadioButtonFormControlObj>()), "13x14");
}

TEST(ControlSizes, ListRowsDefaultToTheOptionsUpToEight) {
    FormPage page("<SELECT MULTIPLE><OPTION>a<OPTION>b</SELECT><SELECT MULTIPLE>" + [] {
        std::string options;
        for (int i = 0; i < 12; ++i) options += "<OPTION>o";
        return options;
    }() + "</SELECT><SELECT MULTIPLE></SELECT>");
    EXPECT_EQ(page.Control<TListBoxFormControlObj>(0).VisibleRows(), 2);
    EXPECT_EQ(page.Control<TListBoxFormControlObj>(1).VisibleRows(), 8);
    EXPECT_EQ(page.Control<TListBoxFormControlObj>(2).VisibleRows(), 1);
}

}  // namespace
}  // namespace formtest

namespace formtest {
namespace {

TEST(FormReset, AListWithNothingMarkedOffersItsFirstItem) {
    FormPage page(
        "<FORM><SELECT NAME=m MULTIPLE><OPTION>a<OPTION>b</SELECT>"
        "<SELECT NAME=s SIZE=3><OPTION>c<OPTION>d</SELECT>"
        "<SELECT NAME=k MULTIPLE><OPTION>e<OPTION SELECTED>f<OPTION SELECTED>g</SELECT></FORM>");
    EXPECT_EQ(page.SubmitFirst(), Pairs({"m=a", "s=c", "k=f", "k=g"}));
}

TEST(FormColours, InheritedTextColourCountsOnlyWithTheControlsOwnBackground) {
    // White text for a dark page would vanish on a control's white field.
    FormPage page(
        "<BODY BGCOLOR=black><DIV STYLE=\"color:white\"><FORM><INPUT NAME=a>"
        "<INPUT NAME=b STYLE=\"color:yellow;background-color:navy\"></FORM></DIV>");
    auto& plain = page.Window(page.Control<TEditFormControlObj>(0));
    EXPECT_EQ(plain.textColor(), platform::clNone);
    EXPECT_EQ(plain.backgroundColor(), platform::clNone);
    auto& styled = page.Window(page.Control<TEditFormControlObj>(1));
    EXPECT_EQ(styled.textColor(), platform::RGBColor(255, 255, 0));
    EXPECT_EQ(styled.backgroundColor(), platform::RGBColor(0, 0, 128));
}

TEST(FormFocus, AnImageInputWithTheFocusShowsItOnItsPicture) {
    FormPage page("<FORM><INPUT TYPE=image NAME=m WIDTH=20 HEIGHT=10></FORM>");
    auto& input = page.Control<TImageFormControlObj>();
    const auto focusDrawn = [&] {
        page.canvas.clearLog();
        page.Draw(0, 600);
        for (const std::string& call : page.canvas.log())
            if (call.rfind("focus ", 0) == 0) return true;
        return false;
    };
    EXPECT_FALSE(focusDrawn());
    page.Window(input).setFocus();
    EXPECT_TRUE(focusDrawn());
    page.Window(input).loseFocus();
    EXPECT_FALSE(focusDrawn());
}

}  // namespace
}  // namespace formtest
