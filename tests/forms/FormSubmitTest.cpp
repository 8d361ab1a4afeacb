// What a form sends: the pairs of its controls, the extra pair of the button or picture
// that sent it, and where.

#include "FormTestSupport.h"

#include "platform/CodePage.h"

namespace formtest {
namespace {

TEST(FormSubmit, EnterInAnEditSendsTheFormWithoutExtraPair) {
    FormPage page(
        "<FORM ACTION=busca.html METHOD=post TARGET=_top ENCTYPE=text/plain>"
        "<INPUT NAME=q VALUE=nome><INPUT TYPE=submit NAME=go VALUE=Ir></FORM>");
    auto& edit = page.Control<TEditFormControlObj>();
    page.Window(edit).setText(u"Jo\u00E3o");
    ASSERT_TRUE(page.Window(edit).onActivate);
    page.Window(edit).onActivate();
    ASSERT_EQ(page.host.submissions.size(), 1u);
    const Submission& sent = page.host.submissions[0];
    EXPECT_EQ(sent.action, "busca.html");
    EXPECT_EQ(sent.method, "post");
    EXPECT_EQ(sent.target, "_top");
    EXPECT_EQ(sent.encType, "text/plain");
    EXPECT_EQ(sent.pairs, Pairs({"q=Jo\xC3\xA3o"}));
}

TEST(FormSubmit, EnterInATextAreaSendsNothing) {
    FormPage page("<FORM><TEXTAREA NAME=t>x</TEXTAREA></FORM>");
    EXPECT_FALSE(page.Window(page.Control<TTextAreaFormControlObj>()).onActivate);
    EXPECT_TRUE(page.host.submissions.empty());
}

TEST(FormSubmit, SubmitButtonAddsItsPairWhenNamed) {
    FormPage page(
        "<FORM><INPUT NAME=q VALUE=a><INPUT TYPE=submit NAME=go VALUE=Ir><INPUT "
        "TYPE=submit></FORM>");
    auto& named = page.Control<TButtonFormControlObj>(0);
    auto& plain = page.Control<TButtonFormControlObj>(1);
    EXPECT_EQ(platform::Utf16ToUtf8(plain.caption), "Submit");
    page.Window(named).onClick();
    page.Window(plain).onClick();
    ASSERT_EQ(page.host.submissions.size(), 2u);
    EXPECT_EQ(page.host.submissions[0].pairs, Pairs({"q=a", "go=Ir"}));
    EXPECT_EQ(page.host.submissions[1].pairs, Pairs({"q=a"}));
    EXPECT_EQ(page.host.events, std::vector<std::string>({"click go ", "click  "}));
}

TEST(FormSubmit, CheckBoxesSendTheirValueOnlyWhenChecked) {
    FormPage page(
        "<FORM><INPUT TYPE=checkbox NAME=a CHECKED><INPUT TYPE=checkbox NAME=b VALUE=sim CHECKED>"
        "<INPUT TYPE=checkbox NAME=c></FORM>");
    EXPECT_EQ(page.SubmitFirst(), Pairs({"a=on", "b=sim"}));
    page.Window(page.Control<TCheckBoxFormControlObj>(2)).setChecked(true);
    page.Window(page.Control<TCheckBoxFormControlObj>(0)).setChecked(false);
    EXPECT_EQ(page.SubmitFirst(), Pairs({"b=sim", "c=on"}));
}

TEST(FormSubmit, DisabledControlsAreNotSent) {
    FormPage page(
        "<FORM><INPUT NAME=a VALUE=1 DISABLED><INPUT TYPE=hidden NAME=h VALUE=2 DISABLED>"
        "<INPUT TYPE=checkbox NAME=c CHECKED DISABLED><SELECT NAME=s DISABLED><OPTION>x</SELECT>"
        "<TEXTAREA NAME=t DISABLED>y</TEXTAREA><INPUT NAME=b VALUE=3></FORM>");
    EXPECT_EQ(page.SubmitFirst(), Pairs({"b=3"}));
    EXPECT_FALSE(page.Window(page.Control<TEditFormControlObj>(0)).isEnabled());
    EXPECT_TRUE(page.Window(page.Control<TEditFormControlObj>(1)).isEnabled());
    // Kept with the history all the same.
    EXPECT_EQ(page.Form().FormData(), Pairs({"a=1", "h=2", "c=on", "s=x", "t=y", "b=3"}));
}

TEST(FormSubmit, ImageInputSendsWhereItWasClicked) {
    FormPage page(
        "<FORM><INPUT NAME=q VALUE=a><INPUT TYPE=image NAME=mapa WIDTH=40 HEIGHT=30 SRC=none.gif>"
        "<INPUT TYPE=image WIDTH=40 HEIGHT=30></FORM>");
    auto& named = page.Control<TImageFormControlObj>(0);
    auto& plain = page.Control<TImageFormControlObj>(1);
    ASSERT_NE(named.image, nullptr);
    const platform::Rect box = named.image->HitBox();
    // The viewer asks what is under the point before it clicks.
    std::string title;
    TFormControlObj* under = nullptr;
    const TUrlTarget* link = nullptr;
    const unsigned found =
        page.doc.HitTestLink(page.canvas, box.left + 5, box.top + 7, title, under, link);
    EXPECT_TRUE(found & htFormControl);
    EXPECT_EQ(under, &named);
    named.ImageClick(box.left + 5, box.top + 7);
    const platform::Rect other = plain.image->HitBox();
    plain.ImageClick(other.left + 1, other.top + 2);
    ASSERT_EQ(page.host.submissions.size(), 2u);
    EXPECT_EQ(page.host.submissions[0].pairs, Pairs({"q=a", "mapa.x=5", "mapa.y=7"}));
    EXPECT_EQ(page.host.submissions[1].pairs, Pairs({"q=a", "x=1", "y=2"}));
    // The click is forgotten once sent.
    EXPECT_EQ(page.SubmitFirst(), Pairs({"q=a"}));
}

TEST(FormSubmit, DisabledImageInputDoesNotSend) {
    FormPage page("<FORM><INPUT TYPE=image NAME=m DISABLED WIDTH=10 HEIGHT=10></FORM>");
    auto& input = page.Control<TImageFormControlObj>();
    const platform::Rect box = input.image->HitBox();
    input.ImageClick(box.left, box.top);
    EXPECT_TRUE(page.host.submissions.empty());
    EXPECT_TRUE(page.host.events.empty()) << "a disabled control takes no clicks";
    // Nor does it show the hand.
    std::string title;
    TFormControlObj* under = nullptr;
    const TUrlTarget* link = nullptr;
    EXPECT_FALSE(page.doc.HitTestLink(page.canvas, box.left + 1, box.top + 1, title, under, link) &
                 htFormControl);
}

TEST(FormSubmit, BrowseAsksTheHostStartingFromTheEdit) {
    FormPage page("<FORM><INPUT TYPE=file NAME=arquivo></FORM>");
    auto& edit = page.Control<TEditFormControlObj>();
    auto& browse = page.Control<TButtonFormControlObj>();
    page.Window(edit).setText(u"/tmp/antes.txt");
    page.host.browseAnswer = "/home/leitor/foto.png";
    page.Window(browse).onClick();
    EXPECT_EQ(page.host.browsedFrom, std::vector<std::string>({"/tmp/antes.txt"}));
    EXPECT_EQ(platform::Utf16ToUtf8(page.Window(edit).text()), "/home/leitor/foto.png");
    EXPECT_TRUE(page.host.submissions.empty());
    EXPECT_EQ(page.SubmitFirst(), Pairs({"arquivo=/home/leitor/foto.png"}));
}

TEST(FormSubmit, ListsSendEverySelectedOptionAndDropDownsTheCurrentOne) {
    FormPage page(
        "<FORM><SELECT NAME=l MULTIPLE><OPTION VALUE=1>um<OPTION SELECTED>dois<OPTION SELECTED "
        "VALUE=3>tr"
        "</SELECT><SELECT NAME=c><OPTION>x<OPTION VALUE=y>why</SELECT><SELECT "
        "NAME=e></SELECT></FORM>");
    EXPECT_EQ(page.SubmitFirst(), Pairs({"l=dois", "l=3", "c=x"}));
    page.Window(page.Control<TComboFormControlObj>(0)).setCurrentIndex(1);
    page.Window(page.Control<TListBoxFormControlObj>()).setItemSelected(0, true);
    EXPECT_EQ(page.SubmitFirst(), Pairs({"l=1", "l=dois", "l=3", "c=y"}));
}

TEST(FormSubmit, HardWrappedTextSendsItsLinesAndOthersTheirText) {
    FormPage page(
        "<FORM><TEXTAREA NAME=h WRAP=hard>a\nb</TEXTAREA><TEXTAREA NAME=s>c\nd</TEXTAREA>"
        "<TEXTAREA NAME=o WRAP=OFF>e</TEXTAREA></FORM>");
    EXPECT_EQ(page.SubmitFirst(), Pairs({"h=a\r\nb", "s=c\r\nd", "o=e"}));
    EXPECT_EQ(page.Window(page.Control<TTextAreaFormControlObj>(2)).wrap(),
              platform::MemoWrap::Off);
    EXPECT_EQ(page.Window(page.Control<TTextAreaFormControlObj>(0)).wrap(),
              platform::MemoWrap::Soft);
}

TEST(FormSubmit, NothingIsGatheredWithoutAReceiver) {
    FormPage page;
    page.host.takesSubmissions = false;
    page.Load("<FORM><INPUT NAME=q></FORM>");
    page.Window(page.Control<TEditFormControlObj>()).onActivate();
    EXPECT_TRUE(page.host.submissions.empty());
}

TEST(FormSubmit, ResetPutsEveryControlBack) {
    FormPage page(
        "<FORM><INPUT NAME=a VALUE=x><INPUT TYPE=checkbox NAME=c CHECKED>"
        "<SELECT NAME=s><OPTION>p<OPTION SELECTED>q</SELECT><TEXTAREA NAME=t>texto</TEXTAREA>"
        "<INPUT TYPE=reset VALUE=Limpar></FORM>");
    page.Window(page.Control<TEditFormControlObj>()).setText(u"mudou");
    page.Window(page.Control<TCheckBoxFormControlObj>()).setChecked(false);
    page.Window(page.Control<TComboFormControlObj>()).setCurrentIndex(0);
    page.Window(page.Control<TTextAreaFormControlObj>()).setText(u"outro");
    auto& reset = page.Control<TButtonFormControlObj>();
    EXPECT_EQ(platform::Utf16ToUtf8(reset.caption), "Limpar");
    page.Window(reset).onClick();
    EXPECT_TRUE(page.host.submissions.empty());
    EXPECT_EQ(page.SubmitFirst(), Pairs({"a=x", "c=on", "s=q", "t=texto"}));
}

}  // namespace
}  // namespace formtest

namespace formtest {

// A host whose handlers load another page, as a reader following the form might: the
// control that raised the event is then gone, and must not be touched after.
struct LeavingHost : RecordingHost {
    TSectionList* doc = nullptr;
    bool leaveOnClick = false, leaveOnBrowse = false, leaveOnChange = false;
    void Leave() { doc->Clear(); }
    void ObjectClick(TFormControlObj& control, const std::string& script) override {
        RecordingHost::ObjectClick(control, script);
        if (leaveOnClick) Leave();
    }
    void FileBrowse(TFormControlObj& control, std::string& fileName) override {
        RecordingHost::FileBrowse(control, fileName);
        if (leaveOnBrowse) Leave();
    }
    void ObjectChange(TFormControlObj& control, const std::string& script) override {
        RecordingHost::ObjectChange(control, script);
        if (leaveOnChange) Leave();
    }
};

TEST(FormSubmit, AHandlerThatLeavesThePageLeavesTheControlUntouched) {
    const std::string html =
        "<FORM><INPUT NAME=q VALUE=a ONCHANGE=mudou ONBLUR=saiu><INPUT TYPE=submit NAME=ir>"
        "<INPUT TYPE=reset><INPUT TYPE=file NAME=f><INPUT TYPE=image NAME=m WIDTH=9 HEIGHT=9>"
        "<INPUT TYPE=radio NAME=r><INPUT TYPE=radio NAME=r></FORM>";
    const auto fresh = [&](LeavingHost& host, TSectionList& doc) {
        host.doc = &doc;
        doc.SetDefaults("Times New Roman", "Courier New", 12, 0, 0, 0, 0, false, 0xFFFFFF, 1, 5,
                        10);
        ParseHtml(html, doc);
        platform::RecordingCanvas canvas;
        int scrollWidth = 0, cursor = 0;
        doc.LayoutCell(canvas, 0, 600, 600, scrollWidth, cursor);
        doc.Draw(canvas, {0, 0, 600, 600}, 600, 0, 0, 0, 0);
    };
    const auto window = [](TSectionList& doc,
                           std::size_t index) -> platform::DetachedFormControlWindow& {
        return dynamic_cast<platform::DetachedFormControlWindow&>(
            *doc.forms[0]->members[index]->control);
    };
    for (std::size_t button : {1u, 2u, 4u}) {  // submit, reset, Browse
        SCOPED_TRACE(button);
        LeavingHost host;
        host.leaveOnClick = host.leaveOnBrowse = true;
        TSectionList doc(&host);
        fresh(host, doc);
        window(doc, button).onClick();
        EXPECT_TRUE(doc.forms.empty()) << "the other page is shown";
    }
    {
        SCOPED_TRACE("image input");
        LeavingHost host;
        host.leaveOnClick = true;
        TSectionList doc(&host);
        fresh(host, doc);
        auto& input = dynamic_cast<TImageFormControlObj&>(*doc.forms[0]->members[5]);
        input.ImageClick(input.image->HitBox().left + 1, input.image->HitBox().top + 1);
        ASSERT_EQ(host.submissions.size(), 1u) << "sent before the click event";
        EXPECT_TRUE(doc.forms.empty());
    }
    {
        SCOPED_TRACE("a change seen as the focus leaves");
        LeavingHost host;
        host.leaveOnChange = true;
        TSectionList doc(&host);
        fresh(host, doc);
        auto& edit = window(doc, 0);
        edit.setFocus();
        edit.setText(u"b");
        edit.loseFocus();
        EXPECT_TRUE(doc.forms.empty());
        EXPECT_EQ(host.events.back(), "change q mudou") << "no blur from the freed edit";
    }
    {
        SCOPED_TRACE("arrow keys in a radio group");
        LeavingHost host;
        host.leaveOnClick = true;
        TSectionList doc(&host);
        fresh(host, doc);
        window(doc, 6).setFocus();
        window(doc, 6).onArrowKey(1, 0);
        EXPECT_TRUE(doc.forms.empty());
    }
}

}  // namespace formtest
