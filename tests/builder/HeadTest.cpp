// Title, meta charsets, style elements, linked sheets, scripts, sounds, base and maps.

#include <cstdio>
#include <filesystem>

#include "BuilderTestSupport.h"
#include "platform/Files.h"

using namespace buildertest;

TEST(BuilderHead, TitleBaseAndMeta) {
    std::vector<std::string> metas;
    THtmlBuildEvents events;
    events.MetaHandler = [&](const std::string& h, const std::string& n, const std::string& c) {
        metas.push_back(h + "|" + n + "|" + c);
    };
    Page page("<title> Jo&atilde;o   da\nSilva </title><base href=http://x/y/ target=_top>"
              "<meta name=author content=me>x",
              events);
    EXPECT_EQ(page.result.Title, " Jo\xE3o da Silva ");
    EXPECT_EQ(page.result.BaseUrl, "http://x/y/");
    EXPECT_EQ(page.result.BaseTarget, "_top");
    EXPECT_EQ(metas, std::vector<std::string>{"|author|me"});
    EXPECT_EQ(Tree(page), "section \"x\" 0:-\n");
}

TEST(BuilderHead, MetaCharsetsChangeHowTextReads) {
    Page utf8("<meta http-equiv=Content-Type content='text/html; charset=utf-8'>Jo\xC3\xA3o");
    EXPECT_EQ(Tree(utf8), "section \"João\" 0:-\n");
    Page plainUtf8("<meta http-equiv=content-type content='utf-8'>\xC3\xA9");
    EXPECT_EQ(Tree(plainUtf8), "section \"é\" 0:-\n");
    Page latin("<meta http-equiv=content-type content='text/html; charset=windows-1252'>Jo\xE3o");
    EXPECT_EQ(Tree(latin), "section \"João\" 0:-\n");
    Page greek("<meta http-equiv=content-type content='text/html; charset=iso-8859-7'>\xE1");
    EXPECT_EQ(Tree(greek), "section \"α\" 0:-\n");
}

TEST(BuilderHead, StyleElementsApplyToWhatFollows) {
    Page page("<style>p { font-weight: bold } .x { font-style: italic }</style><p>a<p class=x>b");
    EXPECT_EQ(Tree(page), "block p.\n  section \"a\" 0:b\nblock p.x\n  section \"b\" 0:bi\n");
}

TEST(BuilderHead, LinkedSheetsFromTheStreamRequestOrTheFile) {
    std::vector<std::string> asked, links;
    THtmlBuildEvents events;
    events.OnStreamRequest = [&](const std::string& src, std::string& stream) {
        asked.push_back(src);
        if (src != "a.css") return false;
        stream = "b {\n\tfont-style: italic }";
        return true;
    };
    events.OnLink = [&](const std::string& rel, const std::string& rev, const std::string& href) {
        links.push_back(rel + "|" + rev + "|" + href);
    };
    const auto dir = std::filesystem::temp_directory_path() / "vultaria_builder_sheet";
    std::filesystem::create_directories(dir);
    platform::WriteWholeFile((dir / "u.css").string(), "i { text-decoration: underline }\r\n");
    events.ExpandName = [&](const std::string& name) { return (dir / name).string(); };
    Page page("<link rel=StyleSheet href=a.css><link rel=stylesheet href=u.css>"
              "<link rel=stylesheet href=missing.css><link rel=next href=n.htm><b>b</b><i>i</i>",
              events);
    EXPECT_EQ(Tree(page), "section \"bi\" 0:bi 1:iu\n");
    EXPECT_EQ(asked, (std::vector<std::string>{"a.css", "u.css", "missing.css"}));
    EXPECT_EQ(links.size(), 4u);
    EXPECT_EQ(links[3], "next||n.htm");
    std::filesystem::remove_all(dir);
}

TEST(BuilderHead, LinkedSheetsReadTheSameWhateverTheirLineEnds) {
    // A line break between ".a" and ".b" makes a descendant rule, never ".a.b".
    for (const char* lineEnd : {"\n", "\r", "\r\n", "\n\r"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(lineEnd)));
        THtmlBuildEvents events;
        events.OnStreamRequest = [&](const std::string&, std::string& stream) {
            stream = std::string(".a") + lineEnd + ".b {color:#ff0000}" + lineEnd;
            return true;
        };
        Page page(
            "<link rel=stylesheet href=s.css><div class=a><p class=b>red</div><p class=b>plain",
            events);
        TBlock* div = dynamic_cast<TBlock*>(page.Body().content.items[0].get());
        ASSERT_NE(div, nullptr);
        EXPECT_EQ(FirstSection(div->content)->fontRuns[0].font.Color & 0xFFFFFF, 0x0000FFu);
        auto* plain = dynamic_cast<TBlock*>(page.Body().content.items.back().get());
        ASSERT_NE(plain, nullptr);
        EXPECT_EQ(FirstSection(plain->content)->fontRuns[0].font.Color & 0xFFFFFF, 0u);
    }
}

TEST(BuilderHead, HoverRulesSwitchOnTrackingForEveryPageThatHasThem) {
    // One document reused across loads, as a viewer keeps it.
    Page page;
    for (int load = 0; load < 3; ++load) {
        SCOPED_TRACE(load);
        page.doc.Clear();
        page.doc.SetDefaults("Times New Roman", "Courier New", 12, 0, 0xFF0000, 0x800080, 0x0000FF,
                             false, 0xFFFFFF, 1, 5, 10);
        EXPECT_FALSE(page.doc.hoverLinksOn);
        const bool hover = load != 1;
        ParseHtml(std::string("<style>") + (hover ? "a:hover { color: red }" : "a { color: red }") +
                      "</style><a href=x.htm>x</a>",
                  page.doc);
        EXPECT_EQ(page.doc.hoverLinksOn, hover);
    }
}

TEST(BuilderHead, ScriptsSoundsAndMaps) {
    std::string script, sound;
    THtmlBuildEvents events;
    events.OnScript = [&](const std::string& name, const std::string& language, const std::string& text) {
        script = name + "|" + language + "|" + text;
    };
    events.OnSoundRequest = [&](const std::string& src, int loop, bool) {
        sound = src + "|" + std::to_string(loop);
    };
    Page page("a<script language=js name=s>if (a<b) {\n <!-- x --> <p\nclass=y>}\n</SCRIPT>b"
              "<bgsound src=s.wav loop=3><map name=m><area href=h coords=0,0,5,5></map>c",
              events);
    // "<b" starts a tag that runs to the next '>', taking the line end with it.
    EXPECT_EQ(script, "s|js|if (a<b) {  <!-- x --> <p class=y>}\r\n");
    EXPECT_EQ(sound, "s.wav|3");
    EXPECT_EQ(Tree(page), "section \"abc\" 0:-\n");
    ASSERT_EQ(page.doc.imageMaps.size(), 1u);
    EXPECT_EQ(page.doc.imageMaps[0]->MapId, "M");
    // Without a script event the content is read and dropped.
    Page dropped("a<script>x<y>z\n</script>b");
    EXPECT_EQ(Tree(dropped), "section \"ab\" 0:-\n");
}
