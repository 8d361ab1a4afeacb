#include <gtest/gtest.h>

#include "html/ImageMaps.h"
#include "html/Lexer.h"
#include "platform/Region.h"

using platform::Region;

namespace {

// A reader standing on the first tag of `page`.
struct Page {
    explicit Page(const std::string& page) {
        reader.PrepareDocument(page);
        reader.NextChar();
        reader.NextSymbol();
    }
    THtmlReader reader;
};

std::string HitAt(const TMapItem& map, int x, int y) {
    std::unique_ptr<TUrlTarget> target;
    if (!map.HitTest(x, y, target)) return "-";
    return target->Url + (target->Target.empty() ? "" : " -> " + target->Target);
}

}  // namespace

TEST(Region, RectanglesExcludeRightAndBottom) {
    const Region r = Region::MakeRectangle(10, 20, 0, 5);  // given the wrong way round
    EXPECT_TRUE(r.contains(0, 5));
    EXPECT_TRUE(r.contains(9, 19));
    EXPECT_FALSE(r.contains(10, 10));
    EXPECT_FALSE(r.contains(5, 20));
    EXPECT_TRUE(Region::MakeRectangle(3, 3, 3, 9).isEmpty());
}

TEST(Region, EllipsesByPixelCentre) {
    // The circle of radius 5 around (10, 10) as an image map gives it.
    const Region c = Region::MakeEllipse(5, 5, 16, 16);
    EXPECT_TRUE(c.contains(10, 10));
    EXPECT_TRUE(c.contains(13, 10));
    EXPECT_TRUE(c.contains(10, 13));
    EXPECT_TRUE(c.contains(5, 10));
    EXPECT_TRUE(c.contains(15, 10));
    EXPECT_FALSE(c.contains(16, 10));
    EXPECT_FALSE(c.contains(14, 14)) << "corner of the box";
    EXPECT_TRUE(c.contains(13, 13));
}

TEST(Region, PolygonsByWinding) {
    // A square as a polygon fills what the rectangle fills.
    const Region square = Region::MakePolygon({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    EXPECT_TRUE(square.contains(0, 0));
    EXPECT_TRUE(square.contains(9, 9));
    EXPECT_FALSE(square.contains(10, 5));
    EXPECT_FALSE(square.contains(5, 10));
    EXPECT_FALSE(square.contains(-1, 5));
    // A centre on a slanted edge belongs to the side right of it.
    const Region triangle = Region::MakePolygon({{0, 0}, {10, 0}, {0, 10}});
    EXPECT_TRUE(triangle.contains(4, 4));
    EXPECT_FALSE(triangle.contains(4, 5))
        << "centre (4.5, 5.5) on the hypotenuse, inside to its left";
    const Region slope = Region::MakePolygon({{0, 0}, {10, 10}, {10, 0}});
    EXPECT_TRUE(slope.contains(4, 4)) << "centre (4.5, 4.5) on the edge, inside to its right";
    // Winding, not even-odd: a star drawn through its own middle is filled there.
    const Region star = Region::MakePolygon({{0, 4}, {10, 4}, {2, 10}, {5, 0}, {8, 10}});
    EXPECT_TRUE(star.contains(5, 5));
    EXPECT_TRUE(Region::MakePolygon({{0, 0}, {1, 1}}).isEmpty());
}

TEST(ImageMaps, CoordinateLists) {
    EXPECT_EQ(ParseCoords(" 1,2 , 3  4,x,5 "), (std::vector<int>{1, 2, 3, 4, 0, 5}));
    EXPECT_EQ(ParseCoords("1,,2"), (std::vector<int>{1, 2}));
    EXPECT_EQ(ParseCoords("+7 -3 99999999999"), (std::vector<int>{7, -3, 0}));
    EXPECT_TRUE(ParseCoords("").empty());
    std::string many;
    for (int i = 0; i < 400; ++i) many += "1,";
    EXPECT_EQ(ParseCoords(many).size(), 301u);
}

TEST(ImageMaps, AreasFirstWinsAndNoHref) {
    Page page(
        "<MAP name=nav>"
        "<AREA SHAPE=circle COORDS=10,10,5 HREF=circle.htm TARGET=main>"
        "text between"
        "<AREA NOHREF COORDS=\"20,0,39,19\">"
        "<AREA COORDS=\"0,0,39,19\" HREF=rect.htm>"
        "<AREA SHAPE=POLYGON COORDS=\"0,20 10,20 0,30\" HREF=poly.htm>"
        "<AREA NOHREF HREF=again.htm SHAPE=rect COORDS=50,0,59,9>"
        "<AREA SHAPE=circ COORDS=1,2 HREF=dropped.htm>"
        "</MAP>after");
    ASSERT_EQ(page.reader.Sy, symMap);
    auto map = ParseMap(page.reader);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->MapId, "NAV");
    EXPECT_EQ(map->AreaCount(), 5) << "the circle with two numbers is left out";
    EXPECT_EQ(page.reader.Sy, symText) << "the symbol after /MAP";

    EXPECT_EQ(HitAt(*map, 13, 10), "circle.htm -> main");
    EXPECT_EQ(HitAt(*map, 10, 13), "circle.htm -> main");
    EXPECT_EQ(HitAt(*map, 16, 10), "rect.htm") << "outside the circle, inside the rectangle";
    EXPECT_EQ(HitAt(*map, 25, 5), "-") << "the NOHREF area comes first";
    EXPECT_EQ(HitAt(*map, 39, 19), "-");
    EXPECT_EQ(HitAt(*map, 2, 22), "poly.htm");
    EXPECT_EQ(HitAt(*map, 55, 5), "again.htm") << "a later HREF sets the link again";
    EXPECT_EQ(HitAt(*map, 100, 100), "-");
}

TEST(ImageMaps, MapsCutShortAreDropped) {
    Page third("<MAP NAME=a><AREA COORDS=0,0,1,1 HREF=x><P><B><I><AREA COORDS=0,0,1,1></MAP>");
    EXPECT_EQ(ParseMap(third.reader), nullptr) << "the third other tag ends the map";
    EXPECT_EQ(third.reader.Sy, symArea) << "the symbol after the third";

    Page twoOthers("<MAP NAME=a><P><B><AREA COORDS=0,0,1,1 HREF=x></MAP>");
    auto map = ParseMap(twoOthers.reader);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->AreaCount(), 1);

    Page unclosed("<MAP NAME=a><AREA COORDS=0,0,1,1 HREF=x>");
    EXPECT_EQ(ParseMap(unclosed.reader), nullptr);
    EXPECT_EQ(unclosed.reader.Sy, symEof);
}
