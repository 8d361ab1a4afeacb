// A page recording keeps what is drawn where, measures with the canvas it was given,
// and answers with the printer's capabilities.

#include <gtest/gtest.h>

#include "platform/MetafileCanvas.h"
#include "platform/RecordingCanvas.h"

using platform::MetafileCanvas;

TEST(MetafileCanvas, KeepsWhatIsDrawnWhere) {
    auto measuring = std::make_unique<platform::RecordingCanvas>();
    platform::RecordingCanvas* inner = measuring.get();
    const platform::DeviceCaps caps{600, 600, 1, 1, 2, 4761, 6816};
    MetafileCanvas page(std::move(measuring), caps);
    page.setFont({"Arial", -20});
    EXPECT_EQ(page.textExtent(u"abc").cx, 30) << "measured by the canvas it was given";
    EXPECT_EQ(inner->font(), (platform::FontSpec{"Arial", -20}));
    EXPECT_EQ(page.deviceCaps().numColors, 2);
    EXPECT_EQ(page.deviceCaps().dpiX, 600);

    page.textOut(5, 6, u"words");
    page.textOut(9, 9, u"");
    page.moveTo(1, 2);
    page.lineTo(3, 4);
    page.fillRect({0, 0, 10, 10}, 0xFFFFFF);
    page.polygon({{4, 9}, {1, 2}, {8, 3}});
    platform::Bitmap picture;
    page.drawBitmap(picture, {0, 0, 1, 1}, {20, 30, 60, 90}, nullptr);
    page.save();
    page.intersectClipRect({0, 0, 50, 50});
    EXPECT_EQ(page.clipBox(), (platform::Rect{0, 0, 50, 50}));
    page.restore();
    EXPECT_NE(page.clipBox(), (platform::Rect{0, 0, 50, 50}));
    page.close();
    page.rectangle({1, 1, 2, 2});

    const auto& kept = page.operations();
    ASSERT_EQ(kept.size(), 5u) << "nothing for empty text, nothing after closing";
    EXPECT_EQ(kept[0].kind, MetafileCanvas::Operation::Text);
    EXPECT_EQ(kept[0].text, u"words");
    EXPECT_EQ(kept[0].area, (platform::Rect{5, 6, 5, 6}));
    EXPECT_EQ(kept[1].kind, MetafileCanvas::Operation::Line);
    EXPECT_EQ(kept[1].area, (platform::Rect{1, 2, 3, 4}));
    EXPECT_EQ(kept[2].kind, MetafileCanvas::Operation::Fill);
    EXPECT_EQ(kept[3].area, (platform::Rect{1, 2, 8, 9})) << "a polygon's bounds";
    EXPECT_EQ(kept[4].kind, MetafileCanvas::Operation::Picture);
    EXPECT_EQ(kept[4].area, (platform::Rect{20, 30, 60, 90}));
    EXPECT_TRUE(inner->log().empty()) << "nothing is drawn anywhere";
}
