// Hostile forms: huge lists and texts, absurd sizes, thousands of radio buttons under
// one name. They must load, lay out, submit and come back from the history.

#include "FormTestSupport.h"

#include "platform/RecordingDialogs.h"

namespace formtest {
namespace {

TEST(FormBadInput, ASelectOfAHundredThousandOptions) {
    std::string html = "<FORM><SELECT NAME=s>";
    html.reserve(1'200'000);
    for (int i = 0; i < 100000; ++i)
        html += "<OPTION VALUE=" + std::to_string(i) + ">op" + std::to_string(i);
    html += "</SELECT><SELECT NAME=m MULTIPLE>";
    for (int i = 0; i < 100000; ++i) html += "<OPTION SELECTED>" + std::to_string(i);
    html += "</SELECT></FORM>";
    FormPage page(html);
    auto& combo = page.Control<TComboFormControlObj>();
    auto& list = page.Control<TListBoxFormControlObj>();
    EXPECT_EQ(combo.options.size(), 100000u);
    EXPECT_EQ(list.options.size(), 100000u);
    EXPECT_EQ(list.VisibleRows(), 8);
    EXPECT_LE(list.Width(), kMaxControlSize);
    const auto data = page.doc.FormData();
    ASSERT_EQ(data->at(0).size(), 100001u);
    FormPage again(html);
    again.Window(again.Control<TListBoxFormControlObj>()).setItemSelected(5, false);
    again.doc.SetFormData(*data);
    EXPECT_TRUE(again.Window(again.Control<TListBoxFormControlObj>()).isItemSelected(5));
}

TEST(FormBadInput, ATenMegabyteTextArea) {
    std::string content(10 * 1024 * 1024, 'x');
    for (std::size_t i = 100; i < content.size(); i += 101) content[i] = '\n';
    FormPage page("<FORM><TEXTAREA NAME=t>" + content + "</TEXTAREA>fim</FORM>");
    auto& area = page.Control<TTextAreaFormControlObj>();
    EXPECT_GT(area.initialText.size(), content.size());
    EXPECT_EQ(area.initialText.substr(0, 102), std::u16string(100, u'x') + u"\r\n");
    EXPECT_LE(area.Height(), kMaxControlSize);
    EXPECT_EQ(page.SubmitFirst().size(), 1u);
}

TEST(FormBadInput, SizesOutOfAnyRangeAreKeptWithinBounds) {
    FormPage page(
        "<FORM><INPUT NAME=a SIZE=2000000000 MAXLENGTH=2000000000><INPUT NAME=b SIZE=-5 "
        "MAXLENGTH=-3>"
        "<INPUT NAME=c SIZE=99999999999999999999><SELECT NAME=l SIZE=2000000000><OPTION>x</SELECT>"
        "<SELECT NAME=n SIZE=-7><OPTION>y</SELECT><TEXTAREA ROWS=2000000000 "
        "COLS=-2000000000></TEXTAREA>"
        "<TEXTAREA ROWS=-1 COLS=2000000000></TEXTAREA>"
        "<INPUT TYPE=submit STYLE=\"width:99999999px;height:99999999px\"></FORM>");
    for (auto& member : page.Form().members) {
        if (!member->control) continue;
        EXPECT_GE(member->Width(), 1) << member->name;
        EXPECT_LE(member->Width(), kMaxControlSize) << member->name;
        EXPECT_GE(member->Height(), 1) << member->name;
        EXPECT_LE(member->Height(), kMaxControlSize) << member->name;
    }
    EXPECT_EQ(page.Window(page.Control<TEditFormControlObj>(0)).maxLength(), 2000000000);
    EXPECT_EQ(page.Window(page.Control<TEditFormControlObj>(1)).maxLength(), 0);  // no limit
    EXPECT_EQ(page.Control<TEditFormControlObj>(1).size, 1);
    EXPECT_TRUE(dynamic_cast<TComboFormControlObj*>(&page.Control<TSelectFormControlObj>(1)));
    auto& area = page.Control<TTextAreaFormControlObj>(0);
    EXPECT_EQ(area.cols, 30);  // not positive: the usual count
}

TEST(FormBadInput, ThousandsOfRadioButtonsUnderOneName) {
    std::string html = "<FORM>";
    for (int i = 0; i < 5000; ++i)
        html +=
            "<INPUT TYPE=radio NAME=n VALUE=" + std::to_string(i) + (i == 0 ? " CHECKED>" : ">");
    html += "</FORM>";
    FormPage page(html);
    for (int i = 0; i < 5000; i += 7)
        page.Control<TRadioButtonFormControlObj>(static_cast<std::size_t>(i)).control->onClick();
    int checked = 0;
    for (auto& member : page.Form().members) checked += member->control->isChecked() ? 1 : 0;
    EXPECT_EQ(checked, 1);
    EXPECT_EQ(page.SubmitFirst(), Pairs({"n=4998"}));
    // Arrow keys walk the group one step at a time.
    auto& last = page.Control<TRadioButtonFormControlObj>(4998);
    last.control->setFocus();
    last.control->onArrowKey(1, 0);
    EXPECT_EQ(page.SubmitFirst(), Pairs({"n=4999"}));
    const auto data = page.doc.FormData();
    FormPage again(html);
    again.doc.SetFormData(*data);
    EXPECT_EQ(again.SubmitFirst(), Pairs({"n=4999"}));
}

TEST(FormBadInput, AnImageInputWhosePictureWasDroppedWithItsTable) {
    // A table too wide to lay out is dropped with everything in it, the picture of an
    // image input too; the input stays in its form and a click no longer reaches it.
    auto dialogs = std::make_unique<platform::RecordingDialogs>();
    auto previous = platform::InstallDialogs(std::move(dialogs));
    std::string html =
        "<FORM><INPUT NAME=q VALUE=a><TABLE><TR><TD><INPUT TYPE=image NAME=m WIDTH=9 HEIGHT=9>";
    for (int i = 0; i < 300; ++i) html += "<TD>x";
    html += "</TABLE></FORM>";
    FormPage page(html);
    auto& input = page.Control<TImageFormControlObj>();
    EXPECT_EQ(input.image, nullptr);
    input.ImageClick(10, 10);
    EXPECT_TRUE(page.host.submissions.empty());
    EXPECT_EQ(page.SubmitFirst(), Pairs({"q=a"}));
    platform::InstallDialogs(std::move(previous));
}

}  // namespace
}  // namespace formtest
