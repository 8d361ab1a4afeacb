#include <gtest/gtest.h>

#include <algorithm>

#include "html/Builder.h"
#include "layout/Background.h"
#include "layout/Document.h"
#include "platform/RecordingCanvas.h"

namespace {

TBackgroundAxis Axis(int kind, int value, bool repeat) {
    TBackgroundAxis axis;
    axis.Kind = kind;
    axis.Value = value;
    axis.Repeat = repeat;
    return axis;
}

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(BackgroundTileRange, PlacesTheFirstTileByKind) {
    // extent 100, tile 20, clip [0, 100).
    EXPECT_EQ(BackgroundTileRange(Axis(0, 0, false), 0, 100, 0, 20, 100).start, 0);
    EXPECT_EQ(BackgroundTileRange(Axis(1, 0, false), 0, 100, 0, 20, 100).start, 40);
    EXPECT_EQ(BackgroundTileRange(Axis(2, 0, false), 0, 100, 0, 20, 100).start, 80);
    EXPECT_EQ(BackgroundTileRange(Axis(5, 25, false), 0, 100, 0, 20, 100).start, 20);
    EXPECT_EQ(BackgroundTileRange(Axis(6, 7, false), 0, 100, 0, 20, 100).start, 7);
    // The scroll offset moves it up.
    EXPECT_EQ(BackgroundTileRange(Axis(6, 7, false), 0, 100, 30, 20, 100).start, -23);
}

TEST(BackgroundTileRange, RepeatStartsAtTheLastTileBeforeTheClip) {
    TTileRange r = BackgroundTileRange(Axis(6, 7, true), 50, 90, 0, 20, 100);
    EXPECT_EQ(r.start, 47);
    EXPECT_EQ(r.limit, 90);
    r = BackgroundTileRange(Axis(6, 60, true), 50, 90, 0, 20, 100);
    EXPECT_EQ(r.start, 40) << "a tile after the clip's start steps back";
    // Without repeat: one tile when it meets the clip, none otherwise.
    r = BackgroundTileRange(Axis(6, 85, false), 0, 90, 0, 20, 100);
    EXPECT_EQ(r.start, 85);
    EXPECT_EQ(r.limit, 86);
    r = BackgroundTileRange(Axis(6, 95, false), 0, 50, 0, 20, 100);
    EXPECT_EQ(r.limit, r.start);
}

TEST(BackgroundPainter, SmallRepeatingPicturesAreDrawnInFewCalls) {
    auto picture = std::make_shared<platform::Bitmap>(2, 2);
    TBackgroundPainter painter;
    painter.SetPicture(picture, nullptr);
    TBackgroundPosition placement;
    placement.Horizontal = Axis(3, 0, true);
    placement.Vertical = Axis(0, 0, true);
    platform::RecordingCanvas canvas;
    painter.Paint(canvas, {0, 0, 1000, 600}, {0, 0, 1000, 600}, placement);
    const int calls = Count(canvas.logText(), "bitmap ");
    EXPECT_GT(calls, 0);
    EXPECT_LE(calls, 8 * 5) << "a 2x2 picture over 1000x600 is widened before tiling";
    canvas.clearLog();
    placement.Horizontal.Repeat = placement.Vertical.Repeat = false;
    painter.Paint(canvas, {0, 0, 1000, 600}, {0, 0, 1000, 600}, placement);
    EXPECT_EQ(Count(canvas.logText(), "bitmap "), 1);
    EXPECT_NE(canvas.logText().find("to 0,0,2,2"), std::string::npos) << canvas.logText();
}

namespace {

// A page built with the bundled pictures.
struct PicturePage {
    explicit PicturePage(const std::string& html) {
        doc.imageCache = &cache;
        doc.SetDefaults("Arial", "Courier New", 12, 0, 0xFF0000, 0x800080, 0xFF0000, false,
                        0xFFFFFF, 1, 5, 10);
        const std::string folder = std::string(VULTARIA_COLLECTION) + "/dados/imagens/";
        doc.expandName = [folder](const std::string& name) { return folder + name; };
        ParseHtml(html, doc);
    }
    TStringBitmapList cache;
    TSectionList doc;
};

// Laid out at 400 pixels and drawn whole: the drawing log.
std::string LayOutAndDraw(TSectionList& doc) {
    platform::RecordingCanvas canvas;
    int scrollWidth = 0, cursor = 0;
    const int height = doc.LayoutCell(canvas, 0, 400, 600, scrollWidth, cursor);
    canvas.clearLog();
    doc.Draw(canvas, {0, 0, 400, height}, 400, 0, 0, 0, 0);
    return canvas.logText();
}

}  // namespace

TEST(BlockBackgrounds, ABlockTilesItsPictureOverItsPaddingBox) {
    PicturePage page(
        "<div style=\"background-image: url(bola.bmp); background-repeat: no-repeat; padding: "
        "20px\">x</div>");
    const std::string log = LayOutAndDraw(page.doc);
    EXPECT_EQ(Count(log, "bitmap "), 1) << log;
    EXPECT_EQ(page.cache.count(), 1u);
}

TEST(BlockBackgrounds, PrintCopiesKeepThePictureAndDropTheColourWithoutBackgroundPrinting) {
    PicturePage page(
        "<div style=\"background: #00ff00 url(bola.bmp) no-repeat; padding: 20px\">x</div>");
    page.doc.isPrinting = true;
    page.doc.printBackgrounds = false;
    TSectionList copy(page.doc, true);
    const std::string log = LayOutAndDraw(copy);
    EXPECT_EQ(Count(log, "bitmap "), 1) << log;
    EXPECT_EQ(Count(log, "#00FF00"), 0) << log;
}
