// What the builder makes of INPUT, SELECT and TEXTAREA: which controls, in which form,
// with which options and text.

#include "FormTestSupport.h"

#include "layout/Section.h"
#include "platform/CodePage.h"

namespace formtest {
namespace {

std::string Utf8(const std::u16string& text) {
    return platform::Utf16ToUtf8(text);
}

// The texts of the page's sections, control characters shown as \c.
std::string SectionTexts(TCellBasic& cell) {
    std::string out;
    for (auto& item : cell.items) {
        if (auto* section = dynamic_cast<TSection*>(item.get())) {
            std::u16string text;
            for (char16_t c : section->textBuffer.str()) {
                if (c == kControlChar)
                    text += u"\\c";
                else if (c == kObjectChar)
                    text += u"\\o";
                else
                    text += c;
            }
            out += "[" + Utf8(text) + "]";
        } else if (auto* block = dynamic_cast<TBlock*>(item.get())) {
            out += SectionTexts(block->content);
        }
    }
    return out;
}

TEST(FormBuild, InputTypesMakeTheirControls) {
    FormPage page(
        "<FORM><INPUT NAME=a VALUE=x><INPUT TYPE=Password NAME=p><INPUT TYPE=bogus NAME=u>"
        "<INPUT TYPE=submit><INPUT TYPE=reset><INPUT TYPE=button><INPUT TYPE=radio NAME=r>"
        "<INPUT TYPE=checkbox NAME=c><INPUT TYPE=hidden NAME=h VALUE=1><INPUT TYPE=image NAME=i>"
        "<SELECT NAME=s><OPTION>a</SELECT><SELECT NAME=m MULTIPLE><OPTION>a</SELECT>"
        "<SELECT NAME=z SIZE=3><OPTION>a</SELECT><TEXTAREA NAME=t></TEXTAREA></FORM>");
    ASSERT_EQ(page.doc.forms.size(), 1u);
    std::string kinds;
    for (auto& member : page.Form().members) {
        if (auto* edit = dynamic_cast<TEditFormControlObj*>(member.get()))
            kinds += edit->password ? "password " : "edit ";
        else if (auto* button = dynamic_cast<TButtonFormControlObj*>(member.get()))
            kinds += "button:" + Utf8(button->caption) + " ";
        else if (dynamic_cast<TRadioButtonFormControlObj*>(member.get()))
            kinds += "radio ";
        else if (dynamic_cast<TCheckBoxFormControlObj*>(member.get()))
            kinds += "checkbox ";
        else if (dynamic_cast<THiddenFormControlObj*>(member.get()))
            kinds += "hidden ";
        else if (dynamic_cast<TImageFormControlObj*>(member.get()))
            kinds += "image ";
        else if (dynamic_cast<TListBoxFormControlObj*>(member.get()))
            kinds += "list ";
        else if (dynamic_cast<TComboFormControlObj*>(member.get()))
            kinds += "combo ";
        else if (dynamic_cast<TTextAreaFormControlObj*>(member.get()))
            kinds += "textarea ";
    }
    EXPECT_EQ(kinds,
              "edit password edit button:Submit button:Reset button:Button radio checkbox hidden "
              "image combo list "
              "list textarea ");
    // A hidden input has no window and no place in the text; an image input shows its
    // picture besides its own tiny window.
    EXPECT_EQ(page.Control<THiddenFormControlObj>().control, nullptr);
    EXPECT_EQ(page.Form().visibleCount, 13);
    EXPECT_EQ(SectionTexts(page.doc), "[\\c\\c\\c\\c\\c\\c\\c\\c\\o\\c\\c\\c\\c\\c]");
    EXPECT_EQ(Utf8(page.Window(page.Control<TEditFormControlObj>()).text()), "x");
}

TEST(FormBuild, ControlsOutsideFormsShareADefaultFormUntilAFormBegins) {
    FormPage page(
        "<INPUT NAME=a><INPUT NAME=b><FORM ACTION=go METHOD=postal><INPUT NAME=c></FORM>"
        "<INPUT NAME=d>");
    ASSERT_EQ(page.doc.forms.size(), 3u);
    EXPECT_EQ(page.Form(0).members.size(), 2u);
    EXPECT_EQ(page.Form(1).action, "go");
    EXPECT_EQ(page.Form(1).method, "post");  // at most four characters
    EXPECT_EQ(page.Form(0).method, "Get");
    EXPECT_EQ(page.Form(2).members.at(0)->name, "d");
}

TEST(FormBuild, FileInputIsAnEmptyEditAndABrowseButton) {
    FormPage page("<FORM><INPUT TYPE=file NAME=f VALUE=secret ID=pick></FORM>");
    auto& edit = page.Control<TEditFormControlObj>();
    auto& browse = page.Control<TButtonFormControlObj>();
    EXPECT_TRUE(edit.isFile);
    EXPECT_EQ(Utf8(page.Window(edit).text()), "");
    EXPECT_EQ(Utf8(browse.caption), "Browse...");
    EXPECT_EQ(browse.kind, TButtonFormControlObj::Kind::Browse);
    EXPECT_EQ(browse.name, "");
    EXPECT_EQ(browse.edit, &edit);
    EXPECT_EQ(SectionTexts(page.doc), "[\\c\\c]");
    // The ID names the edit, not the button.
    EXPECT_EQ(page.doc.anchors->Find("PICK"), &edit);
}

TEST(FormBuild, SelectOptionsAreTrimmedWithTheirValuesAndSelection) {
    FormPage page("<SELECT NAME=s><OPTION>a<OPTION SELECTED VALUE=2> b </SELECT>after");
    auto& select = page.Control<TComboFormControlObj>();
    ASSERT_EQ(select.options.size(), 2u);
    EXPECT_EQ(Utf8(select.options[0].text), "a");
    EXPECT_EQ(select.options[0].value, "a");  // the text when VALUE is absent
    EXPECT_FALSE(select.options[0].selected);
    EXPECT_EQ(Utf8(select.options[1].text), "b");
    EXPECT_EQ(select.options[1].value, "2");
    EXPECT_TRUE(select.options[1].selected);
    EXPECT_EQ(page.Window(select).currentIndex(), 1);
    EXPECT_EQ(page.Window(select).itemCount(), 2);
    EXPECT_EQ(SectionTexts(page.doc), "[\\cafter]");
}

TEST(FormBuild, OptionsEndAtACellAndTheCellTagGoesWithThem) {
    FormPage page("<TABLE><TR><TD><SELECT><OPTION>a<TD>x</TABLE>");
    auto& select = page.Control<TComboFormControlObj>();
    ASSERT_EQ(select.options.size(), 1u);
    EXPECT_EQ(Utf8(select.options[0].text), "a");
    // The TD was read with the options: "x" stays in the first cell.
    const std::string dump = DumpLayout(page.doc, page.canvas);
    std::size_t cells = 0;
    for (std::size_t at = dump.find("cell col="); at != std::string::npos;
         at = dump.find("cell col=", at + 1))
        ++cells;
    EXPECT_EQ(cells, 1u) << dump;
    EXPECT_NE(dump.find("\"\\cx\""), std::string::npos) << dump;
}

TEST(FormBuild, EmptyOptionShowsAsASpace) {
    FormPage page("<SELECT MULTIPLE><OPTION VALUE=v><OPTION></SELECT>");
    auto& list = page.Control<TListBoxFormControlObj>();
    ASSERT_EQ(list.options.size(), 2u);
    EXPECT_EQ(Utf8(list.options[0].text), " ");
    EXPECT_EQ(list.options[0].value, "v");
    EXPECT_EQ(list.options[1].value, "");
}

TEST(FormBuild, TextAreaContentIsReadAsWritten) {
    struct Case {
        const char* html;
        const char* text;
    } cases[] = {
        {"<TEXTAREA>a<b>c</TEXTAREA>", "a<b>c"},
        {"<TEXTAREA>one\ntwo\r\nthree\rfour</TEXTAREA>", "one\r\ntwo\r\nthree\r\nfour"},
        {"<TEXTAREA>&lt;&amp;&eacute;&#65;</TEXTAREA>",
         "<&\xC3\xA9"
         "A"},
        {"<TEXTAREA>x</textarea >y", "x"},
        {"<TEXTAREA>x</TEXTAREAS>y</TEXTAREA>", "x</TEXTAREAS>y"},
        {"<TEXTAREA>a<!-- kept --></TEXTAREA>", "a<!-- kept -->"},
        {"<TEXTAREA>cut short", "cut short"},
    };
    for (const Case& c : cases) {
        FormPage page(c.html);
        auto& area = page.Control<TTextAreaFormControlObj>();
        EXPECT_EQ(Utf8(area.initialText), c.text) << c.html;
        EXPECT_EQ(Utf8(page.Window(area).text()), c.text) << c.html;
    }
    // What follows the end tag is text again.
    FormPage page("<TEXTAREA>x</TEXTAREA >after");
    EXPECT_EQ(SectionTexts(page.doc), "[\\cafter]");
}

TEST(FormBuild, ButtonTagsAndStrayEndTagsLeaveTheParagraphWhole) {
    FormPage page("<P>a <BUTTON>b</BUTTON> c</SELECT> d</TEXTAREA> e</P>");
    EXPECT_EQ(SectionTexts(page.doc), "[a b c d e]");
}

TEST(FormBuild, ControlsInPreformattedText) {
    FormPage page(
        "<PRE>x <INPUT NAME=a> y\n<SELECT NAME=s><OPTION>o</SELECT> "
        "z\n<TEXTAREA>t\n</TEXTAREA>w</PRE>");
    EXPECT_EQ(page.Control<TComboFormControlObj>().options.size(), 1u);
    EXPECT_EQ(Utf8(page.Control<TTextAreaFormControlObj>().initialText), "t\r\n");
    EXPECT_EQ(SectionTexts(page.doc), "[x \\c y][\\c z][\\cw]");
}

TEST(FormBuild, TabIndexOrdersControlsBeforeTheOthers) {
    // Every control with a window gets a place: TABINDEX ones first, by their index, then
    // the rest in the page's order.
    struct TabHost : RecordingHost {
        struct Window : platform::DetachedFormControlWindow {
            Window(platform::FormControlKind kind, std::vector<std::pair<void*, void*>>& log)
                : DetachedFormControlWindow(kind), log_(log) {}
            void placeAfter(platform::TabStopWindow* previous) override {
                log_.push_back({this, previous});
            }
            std::vector<std::pair<void*, void*>>& log_;
        };
        std::unique_ptr<platform::FormControlWindow> CreateFormControlWindow(
            platform::FormControlKind kind) override {
            return std::make_unique<Window>(kind, log);
        }
        std::vector<std::pair<void*, void*>> log;
    };
    TabHost host;
    TSectionList doc(&host);
    doc.SetDefaults("Times New Roman", "Courier New", 12, 0, 0, 0, 0, false, 0xFFFFFF, 1, 5, 10);
    ParseHtml(
        "<INPUT NAME=a TABINDEX=2><INPUT NAME=b TABINDEX=1><INPUT NAME=c><INPUT TYPE=hidden "
        "NAME=h>",
        doc);
    platform::RecordingCanvas canvas;
    int scrollWidth = 0, cursor = 0;
    doc.LayoutCell(canvas, 0, 600, 600, scrollWidth, cursor);
    auto window = [&](std::size_t i) -> void* { return doc.forms[0]->members[i]->control.get(); };
    const std::vector<std::pair<void*, void*>> expected = {
        {window(1), nullptr}, {window(0), window(1)}, {window(2), window(0)}};
    EXPECT_EQ(host.log, expected);
}

}  // namespace
}  // namespace formtest

namespace formtest {
namespace {

TEST(FormBuild, ControlsInTextBeforeBodyGoWithIt) {
    FormPage page(
        "<INPUT NAME=a ID=antes><INPUT TYPE=radio NAME=r VALUE=1><INPUT TYPE=hidden NAME=h VALUE=1>"
        "<BODY><INPUT NAME=b><INPUT TYPE=radio NAME=r VALUE=2 CHECKED>");
    ASSERT_EQ(page.doc.allControls.size(), 2u);
    EXPECT_EQ(page.doc.anchors->Find("ANTES"), nullptr);
    EXPECT_EQ(page.SubmitFirst(), Pairs({"b=", "r=2"}));
    auto& radio = page.Control<TRadioButtonFormControlObj>();
    radio.control->onArrowKey(-1, 0);  // the group has no button before it any more
    EXPECT_EQ(page.SubmitFirst(), Pairs({"b=", "r=2"}));
}

}  // namespace
}  // namespace formtest
