#include <gtest/gtest.h>

#include "html/Anchors.h"
#include "html/Urls.h"

TEST(Urls, Directory) {
    EXPECT_EQ(UrlDirectory("proto://host/dir/page.htm?x=1/2"), "proto://host/dir/");
    EXPECT_EQ(UrlDirectory("proto://host"), "proto://host/");
    EXPECT_EQ(UrlDirectory("  dados/a/page.htm "), "dados/a/");
    EXPECT_EQ(UrlDirectory("page.htm"), "page.htm/");
}

TEST(Urls, ResolveRelative) {
    EXPECT_EQ(ResolveRelativeUrl("proto://host/a/b/", "../c.htm"), "proto://host/a/c.htm");
    EXPECT_EQ(ResolveRelativeUrl("proto://host/a/b/", "/x.htm"), "proto://host/x.htm");
    EXPECT_EQ(ResolveRelativeUrl("proto://host/a/b/", "./y.htm"), "proto://host/a/b/y.htm");
    EXPECT_EQ(ResolveRelativeUrl("file:///C:/dir/", "/x.htm"), "file:///C:/x.htm");
    EXPECT_EQ(ResolveRelativeUrl("proto://host/a/b", "../../../c.htm"), "proto://host/../c.htm")
        << "nothing above the root to go back to";
    EXPECT_EQ(ResolveRelativeUrl("proto://host/a/", "//other/x"), "proto://host///other/x");
    EXPECT_EQ(ResolveRelativeUrl("dados", "x.htm"), "dados/x.htm");
    EXPECT_EQ(ResolveRelativeUrl("dados/a", "/x.htm"), "dados/x.htm");
    // A base of scheme and host alone keeps its host.
    EXPECT_EQ(ResolveRelativeUrl("proto://host", "/x.htm"), "proto://host/x.htm");
    EXPECT_EQ(ResolveRelativeUrl("proto://host", "x.htm"), "proto://host/x.htm");
}

TEST(Urls, Absolute) {
    EXPECT_TRUE(IsAbsoluteUrl("proto://a/b"));
    EXPECT_FALSE(IsAbsoluteUrl("dir/proto://x"));
    EXPECT_TRUE(IsAbsoluteUrl("MAILTO:me"));
    EXPECT_FALSE(IsAbsoluteUrl("page.htm"));
    EXPECT_FALSE(IsAbsoluteUrl("page.htm?u=proto://x"));
}

TEST(Urls, LocalPathsKeepSlashes) {
    EXPECT_EQ(UrlToLocalPath("file:///C|/My%20Dir/a.htm"), "C:/My Dir/a.htm");
    EXPECT_EQ(UrlToLocalPath("a%41.htm"), "aA.htm");
    EXPECT_EQ(UrlToLocalPath("FILE:///home/u/a.htm"), "/home/u/a.htm");
    EXPECT_EQ(UrlToLocalPath("file://server/share/a.htm"), "server/share/a.htm");
    EXPECT_EQ(UrlToLocalPath("%41b"), "%41b") << "a leading % is not decoded";
    EXPECT_EQ(UrlToLocalPath("a%4"), "a%4");
    EXPECT_EQ(UrlToLocalPath("a%zz%41"), "a%zz%41") << "decoding stops at the first bad escape";
    EXPECT_EQ(UrlToLocalPath("a|b"), "a|b") << "no '/', nothing changes";

    EXPECT_EQ(UrlToLocalPathUnderRoot("/dados/a.htm", "/srv/output"), "/srv/output/dados/a.htm");
    EXPECT_EQ(UrlToLocalPathUnderRoot("dados/a.htm", "/srv/output"), "dados/a.htm");
    EXPECT_EQ(UrlToLocalPathUnderRoot("//server/a.htm", "/srv"), "//server/a.htm");
    EXPECT_EQ(UrlToLocalPathUnderRoot("file:///C|/a.htm", "/srv"), "C:/a.htm");
    EXPECT_EQ(UrlToLocalPathUnderRoot("/a.htm", ""), "/a.htm");
}

TEST(UrlTarget, LinkNumbersAreSharedAndIncrease) {
    TUrlTarget a, b;
    a.Assign("x.htm", "_top");
    b.Assign("y.htm", "");
    EXPECT_GT(a.LinkId, 10);
    EXPECT_EQ(b.LinkId, a.LinkId + 1);
    EXPECT_EQ(TUrlTarget::LastLinkId(), b.LinkId);
    a.TabIndex = 4;
    TUrlTarget c;
    c.Copy(a);
    EXPECT_EQ(c.Url, "x.htm");
    EXPECT_EQ(c.Target, "_top");
    EXPECT_EQ(c.LinkId, a.LinkId);
    EXPECT_EQ(c.TabIndex, 4);
    c.Clear();
    EXPECT_EQ(c.Url, "");
    EXPECT_EQ(c.LinkId, 0);
    EXPECT_EQ(c.TabIndex, 0);
}

namespace {
struct Item : TIDObject {
    explicit Item(int y) : y(y) {}
    int GetTopY() override { return y; }
    int y;
};
}  // namespace

TEST(IDNameList, LastDefinitionWinsIgnoringCase) {
    TIDNameList list;
    Item block(40);
    list.AddPositionAnchor("Top", 5);
    list.AddObject("b", &block);
    list.AddObject("TOP", &block);  // replaces (and frees) the position anchor
    list.AddPositionAnchor("a", 7);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.NameAt(0), "a");
    EXPECT_EQ(list.NameAt(2), "TOP");
    EXPECT_EQ(list.Find("top"), &block);
    EXPECT_EQ(list.Find("top")->GetTopY(), 40);
    EXPECT_EQ(list.Find("missing"), nullptr);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(block.GetTopY(), 40) << "objects of the tree are not the list's";
}

TEST(IDNameList, FreedObjectsTakeTheirNamesAlong) {
    Item outliving(1);
    TIDNameList list;
    auto picture = std::make_unique<Item>(30);
    Item kept(60);
    list.AddObject("PIC", picture.get());
    list.AddObject("alias", picture.get());
    list.AddObject("KEPT", &kept);
    list.AddObject("moved", picture.get());
    list.AddObject("moved", &kept);  // renamed away: the picture keeps its other names
    picture.reset();
    EXPECT_EQ(list.Find("pic"), nullptr);
    EXPECT_EQ(list.Find("alias"), nullptr);
    EXPECT_EQ(list.Find("moved"), &kept);
    EXPECT_EQ(list.Count(), 2);
    // An object that outlives its list must not call back into it.
    list.AddObject("late", &outliving);
}
