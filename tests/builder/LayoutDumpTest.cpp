// Whole pages in, layout dumps out: a bundled biography and a page of every kind of box.

#include "BuilderTestSupport.h"
#include "platform/Files.h"

using namespace buildertest;

TEST(BuilderLayout, BundledBiography) {
    const std::string folder = std::string(VULTARIA_COLLECTION) + "/dados/esporte/";
    THtmlBuildEvents events;
    events.ExpandName = [&](const std::string& name) { return folder + name; };
    Page page(platform::ReadWholeFile(folder + "ayrton_senna.htm"), events);
    EXPECT_EQ(page.result.Title, "Ayrton Senna");
    ExpectMatchesFile(page.Layout(600), "ayrton_senna.txt");
}

TEST(BuilderLayout, MixedBoxes) {
    Page page(
        "<body marginwidth=8 marginheight=4><h1>Title</h1><p>First paragraph with <b>bold</b> and "
        "<a href=x.htm>a link</a>.<p align=center>Centred<br>two lines"
        "<ul><li>one<li>two<ol><li>a<li>b</ol></ul><hr width=50%><pre>pre  line\nsecond</pre>"
        "<blockquote>quoted</blockquote><div>end</div>");
    ExpectMatchesFile(page.Layout(300), "mixed.txt");
}

// Lengths near the int range: every sum saturates (the sanitizer stops at an overflow),
// and the blocks still follow one another down the page.
TEST(BuilderLayout, AbsurdLengthsStackInsteadOfOverflowing) {
    const std::string huge = "2147483647px";
    std::string html =
        "<p>before<div style='padding:" + huge + "'>padding</div><div style='height:" + huge +
        "'>height</div><div style='margin:" + huge + ";border:" + huge +
        " solid'>margins</div><p style='text-indent:" + huge + ";line-height:" + huge +
        "'>indent<img src=x.gif width=2147483647 height=2147483647><div style='float:left;width:" +
        huge + ";height:" + huge + "'>float</div>";
    for (int i = 0; i < 40; ++i)
        html += "<div style='margin-left:" + huge + ";margin-top:" + huge + "'>";
    html += "deep";
    for (int i = 0; i < 40; ++i)
        html += "<div style='position:absolute;top:" + huge + ";left:-" + huge + "'>a</div></div>";
    html += "<p>after";
    Page page(html);
    page.Layout(400);
    const auto& items = page.Body().content.items;
    ASSERT_GE(items.size(), 5u);
    int previousTop = -1;
    for (const auto& item : items) {
        EXPECT_GE(item->topY, previousTop) << item->KindName();
        previousTop = item->topY;
    }
    EXPECT_GT(page.doc.items.back()->flowHeight, 0);
    platform::RecordingCanvas canvas;
    canvas.setRecording(false);
    for (int scroll : {0, 2000000, page.doc.items.back()->flowHeight - 300}) {
        page.doc.SetScrollY(scroll);
        page.doc.Draw(canvas, {0, 0, 400, 600}, 400, 0, 0, 0, 0);
    }
}

TEST(BuilderCopy, BreaksGiveOneLineEndEachAndPicturesTheirAltText) {
    int count = 0;
    Page breaks("<p>one<br>two<br><br>three");
    EXPECT_EQ(breaks.SelectAllText(count), "one\r\ntwo\r\n\r\nthree");
    EXPECT_EQ(count, 17);
    Page pictures(
        "a <img src=x.gif alt='Bola de futebol'> b<img src=y.gif>c <img src=z.gif align=left "
        "alt=Retrato>Texto");
    const std::string text = pictures.SelectAllText(count);
    EXPECT_EQ(text, "a [Bola de futebol] b c [Retrato] Texto");
    EXPECT_EQ(count, static_cast<int>(text.size())) << "the count is the text's length";
}
