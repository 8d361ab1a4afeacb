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
