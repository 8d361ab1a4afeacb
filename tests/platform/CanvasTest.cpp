#include <gtest/gtest.h>

#include <QImage>
#include <vector>

#include "platform/RecordingCanvas.h"
#include "platform/Screen.h"
#include "platform/qt/QtCanvas.h"

using namespace platform;

TEST(RecordingCanvas, BoxFontsHaveFixedMetrics) {
    RecordingCanvas canvas;
    canvas.setFont({"Arial", -16, 0, 1});
    const TextMetrics m = canvas.textMetrics();
    EXPECT_EQ(m.ascent, 12);
    EXPECT_EQ(m.descent, 4);
    EXPECT_EQ(m.height, 16);
    EXPECT_EQ(m.internalLeading, 0);
    EXPECT_EQ(canvas.textExtent(u"abcd").cx, 32);
    canvas.setFont({"Arial", -16, fsBold, 1});
    EXPECT_EQ(canvas.textExtent(u"abcd").cx, 36);
    EXPECT_EQ(canvas.textExtent(u"日本").cx, 32);  // ideographs are em wide
}

TEST(RecordingCanvas, FitCountsWholeCharactersOnly) {
    RecordingCanvas canvas;
    canvas.setFont({"Arial", -10, 0, 1});  // 5 px per character
    int fit = -1;
    EXPECT_EQ(canvas.textExtentFit(u"abcdef", 14, fit).cx, 10);
    EXPECT_EQ(fit, 2);
    EXPECT_EQ(canvas.textExtentFit(u"abcdef", 15, fit).cx, 15);
    EXPECT_EQ(fit, 3);
    canvas.textExtentFit(u"abc", 0, fit);
    EXPECT_EQ(fit, 0);
}

TEST(RecordingCanvas, LogsDrawingWithItsState) {
    RecordingCanvas canvas;
    canvas.setFont({"Arial", -10, fsBold | fsUnderline, 1});
    canvas.setTextColor(RGBColor(255, 0, 0));
    canvas.setBackgroundMode(BackgroundMode::Transparent);
    canvas.setTextAlign(TextAlign::Baseline);
    canvas.textOut(3, 20, u"Olá");
    canvas.fillRect({0, 0, 5, 5}, SystemColorValue(colorWindow));
    canvas.setPen({RGBColor(0, 0, 255), PenStyle::Dot, 2});
    canvas.moveTo(1, 1);
    canvas.lineTo(9, 1);
    EXPECT_EQ(canvas.logText(),
              "text 3,20 baseline font=Arial/10bu color=#FF0000 \"Olá\"\n"
              "fill 0,0,5,5 #FFFFFF\n"
              "line 1,1-9,1 pen=#0000FF/dot/2\n");
}

TEST(Colors, SystemAndFlaggedColoursResolveToRgb) {
    EXPECT_EQ(ColorToRGB(0x020000FF), 0x000000FFu);
    EXPECT_EQ(ColorToRGB(SystemColorValue(colorWindowText)), 0u);
    EXPECT_EQ(ColorToRGB(SystemColorValue(colorWindow)), 0x00FFFFFFu);
    EXPECT_EQ(ColorName(RGBColor(0x12, 0x34, 0x56)), "#123456");
    EXPECT_EQ(ColorName(clNone), "none");
}

TEST(Screen, TheStandInIsFixedAndCanBeOverridden) {
    EXPECT_EQ(Screen().info(), (ScreenInfo{1024, 768, 96, 24}));
    EXPECT_TRUE(Screen().isFontInstalled("times new roman"));
    EXPECT_FALSE(Screen().isFontInstalled("No Such Face"));
    SetScreenOverride(ScreenInfo{800, 600, 120, 8});
    EXPECT_EQ(CurrentScreen().pixelsPerInch, 120);
    EXPECT_EQ(CurrentPixelsPerInch(), 120);
    SetScreenOverride(std::nullopt);
    EXPECT_EQ(CurrentPixelsPerInch(), 96);
    EXPECT_EQ(CurrentScreen().width, 1024);
    EXPECT_EQ(ReportedCharset(1), ANSI_CHARSET);
    EXPECT_EQ(ReportedCharset(128), 128);
    EXPECT_EQ(ReportedCharset(99), ANSI_CHARSET);
}

// The real fonts: whatever the face, a run measures the same whole or in pieces, and
// the fit agrees with the extent.
TEST(QtCanvas, ExtentsAreSumsOfWholePixelAdvances) {
    QtCanvas canvas(nullptr);
    for (const char* face : {"Arial", "Times New Roman", "Courier New"}) {
        canvas.setFont({face, -15, 0, 1});
        const std::u16string text = u"Érico Veríssimo escreveu O Tempo e o Vento.";
        const int whole = canvas.textExtent(text).cx;
        int pieces = 0;
        for (std::size_t i = 0; i < text.size(); i += 5)
            pieces += canvas.textExtent(std::u16string_view(text).substr(i, 5)).cx;
        EXPECT_EQ(whole, pieces) << face;
        EXPECT_GT(whole, 150) << face;
        int fit = 0;
        const int fitted = canvas.textExtentFit(text, whole - 1, fit).cx;
        EXPECT_EQ(fit, static_cast<int>(text.size()) - 1) << face;
        EXPECT_EQ(fitted, canvas.textExtent(std::u16string_view(text).substr(0, fit)).cx) << face;
    }
    canvas.setFont({"Courier New", -20, 0, 1});
    EXPECT_EQ(canvas.textExtent(u"iiii").cx, canvas.textExtent(u"MMMM").cx);  // monospaced
}

// The fit takes measured Latin-1 letters four at a time: at every room it must stop where
// a letter at a time stops, over letters measured and not yet measured, beyond Latin-1,
// and with a remainder of fewer than four.
TEST(QtCanvas, TheFitStopsAtTheLastLetterThatFitsAtEveryRoom) {
    QtCanvas canvas(nullptr);
    // The advances are measured in an underlined font of the same size: the font fitted
    // has measured none of its letters when the first fit runs.
    canvas.setFont({"Times New Roman", -23, fsUnderline, 1});
    const std::u16string text = u"Wm i\u00e9 \u20ac\u0436qq zZ \u00ff.,;Wi mm\u4e2d abc";
    std::vector<int> advances(text.size());
    int total = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        advances[i] = canvas.textExtent(std::u16string_view(text).substr(i, 1)).cx;
        total += advances[i];
    }
    canvas.setFont({"Times New Roman", -23, 0, 1});
    for (int room = total + 1; room >= -1; --room) {
        for (std::size_t start : {std::size_t{0}, std::size_t{1}, std::size_t{3}}) {
            const std::u16string_view part = std::u16string_view(text).substr(start);
            int expectedCount = 0, expectedWidth = 0;
            while (expectedCount < static_cast<int>(part.size()) &&
                   expectedWidth + advances[start + expectedCount] <= room)
                expectedWidth += advances[start + expectedCount++];
            int fit = -1;
            EXPECT_EQ(canvas.textExtentFit(part, room, fit).cx, expectedWidth) << room << " " << start;
            EXPECT_EQ(fit, expectedCount) << room << " " << start;
        }
    }
}

TEST(QtCanvas, MetricsFollowTheRequestedHeight) {
    QtCanvas canvas(nullptr);
    canvas.setFont({"Arial", -20, 0, 1});
    const TextMetrics em = canvas.textMetrics();
    EXPECT_EQ(em.height - em.internalLeading, 20);
    EXPECT_EQ(em.height, em.ascent + em.descent);
    canvas.setFont({"Arial", 20, 0, 1});  // a cell height
    const TextMetrics cell = canvas.textMetrics();
    EXPECT_NEAR(cell.height, 20, 1);
    canvas.setFont({"Arial", -20, fsBold, 1});
    EXPECT_GT(canvas.textExtent(u"abcdef").cx, 0);
}

TEST(QtCanvas, TextIsDrawnWhereItWasMeasured) {
    QImage image(200, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QtCanvas canvas(&image);
        canvas.setFont({"Arial", -20, 0, 1});
        canvas.setTextColor(0);
        canvas.setBackgroundMode(BackgroundMode::Transparent);
        canvas.textOut(10, 5, u"HHHH");
        const int width = canvas.textExtent(u"HHHH").cx;
        canvas.fillRect({10 + width + 20, 0, 10 + width + 30, 40}, RGBColor(0, 0, 255));
    }
    auto darkColumns = [&](int from, int to) {
        int dark = 0;
        for (int x = from; x < to; ++x)
            for (int y = 0; y < 40; ++y)
                if (qGray(image.pixel(x, y)) < 100) {
                    ++dark;
                    break;
                }
        return dark;
    };
    QtCanvas measure(nullptr);
    measure.setFont({"Arial", -20, 0, 1});
    const int width = measure.textExtent(u"HHHH").cx;
    EXPECT_GT(darkColumns(10, 10 + width), width / 2);
    EXPECT_EQ(darkColumns(0, 9), 0);
    EXPECT_EQ(darkColumns(10 + width + 2, 10 + width + 20), 0);
    EXPECT_EQ(image.pixel(10 + width + 25, 20), qRgb(0, 0, 255));
}

TEST(QtCanvas, JustificationSpreadsPixelsOverSpaces) {
    QImage image(300, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    QtCanvas canvas(&image);
    canvas.setFont({"Courier New", -16, 0, 1});
    canvas.setBackgroundMode(BackgroundMode::Transparent);
    const int advance = canvas.textExtent(u"x").cx;
    canvas.setTextJustification(7, 2);
    canvas.textOut(0, 0, u"a b c");
    canvas.setTextJustification(0, 0);
    canvas.painter()->end();
    // The last letter starts 4 advances plus all 7 extra pixels in.
    int firstDark = -1;
    for (int x = 4 * advance + 7; x < 300 && firstDark < 0; ++x)
        for (int y = 0; y < 30; ++y)
            if (qGray(image.pixel(x, y)) < 128) {
                firstDark = x;
                break;
            }
    EXPECT_GE(firstDark, 4 * advance + 7);
    EXPECT_LT(firstDark, 5 * advance + 7);
}

TEST(QtCanvas, UnderlinesRunUnderTheTextOnly) {
    QImage image(300, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    int width = 0;
    {
        QtCanvas canvas(&image);
        canvas.setFont({"Arial", -20, fsUnderline, 1});
        canvas.setTextColor(0);
        canvas.setBackgroundMode(BackgroundMode::Transparent);
        canvas.textOut(100, 5, u"xyz");
        width = canvas.textExtent(u"xyz").cx;
    }
    auto darkInColumn = [&](int x) {
        for (int y = 0; y < 40; ++y)
            if (qGray(image.pixel(x, y)) < 128) return true;
        return false;
    };
    for (int x = 0; x < 98; ++x) ASSERT_FALSE(darkInColumn(x)) << "ink left of the text at " << x;
    EXPECT_TRUE(darkInColumn(100 + width / 2));
}

namespace {

bool Dark(const QImage& image, int x, int y) {
    return qGray(image.pixel(x, y)) < 128;
}

}  // namespace

TEST(QtCanvas, FramesOfLinesHaveAllTheirCorners) {
    // A rule's sunken frame: each line leaves its end point to the next one.
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QtCanvas canvas(&image);
        canvas.setPen({0, PenStyle::Solid, 1});
        canvas.moveTo(5, 12);
        canvas.lineTo(5, 5);
        canvas.lineTo(30, 5);
        canvas.lineTo(30, 12);
        canvas.lineTo(5, 12);
    }
    for (int x = 5; x <= 30; ++x) {
        EXPECT_TRUE(Dark(image, x, 5)) << x;
        EXPECT_TRUE(Dark(image, x, 12)) << x;
    }
    for (int y = 5; y <= 12; ++y) {
        EXPECT_TRUE(Dark(image, 5, y)) << y;
        EXPECT_TRUE(Dark(image, 30, y)) << y;
    }
    EXPECT_FALSE(Dark(image, 31, 5));
    EXPECT_FALSE(Dark(image, 6, 6));
    // A line on its own stops before its end point.
    QImage single(20, 5, QImage::Format_RGB32);
    single.fill(Qt::white);
    {
        QtCanvas canvas(&single);
        canvas.moveTo(2, 2);
        canvas.lineTo(10, 2);
    }
    EXPECT_TRUE(Dark(single, 9, 2));
    EXPECT_FALSE(Dark(single, 10, 2));
}

TEST(QtCanvas, DashedStrokesJoinAtCornersAndDotsAreRound) {
    QImage image(80, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QtCanvas canvas(&image);
        // A dash 4 wide starts at the bottom left and turns the top-left corner.
        canvas.setPen({0, PenStyle::Dash, 4, PenCap::Square});
        canvas.polyline({{10, 15}, {10, 10}, {60, 10}, {60, 40}}, true);
    }
    EXPECT_TRUE(Dark(image, 8, 8)) << "the corner is mitred, not notched";
    EXPECT_TRUE(Dark(image, 9, 9));

    QImage dots(60, 30, QImage::Format_RGB32);
    dots.fill(Qt::white);
    {
        QtCanvas canvas(&dots);
        canvas.setPen({0, PenStyle::Dot, 8, PenCap::Round});
        canvas.polyline({{10, 15}, {50, 15}}, false);
    }
    // The first dot is a disc of 8 around (10, 15): its middle is dark, the corners of
    // its square are not.
    EXPECT_TRUE(Dark(dots, 10, 15));
    EXPECT_TRUE(Dark(dots, 10, 12));
    EXPECT_FALSE(Dark(dots, 6, 11));
    EXPECT_FALSE(Dark(dots, 13, 18));
    EXPECT_FALSE(Dark(dots, 19, 15)) << "a gap follows the dot";
}

TEST(QtCanvas, MaskedBitmapsDrawOnlyTheirPartThroughTheMask) {
    // A strip of two 2 x 1 frames: red, green | blue, yellow; the mask hides the first
    // pixel of each frame.
    Bitmap strip(4, 1);
    strip.row32(0)[0] = 0xFF0000, strip.row32(0)[1] = 0x00FF00;
    strip.row32(0)[2] = 0x0000FF, strip.row32(0)[3] = 0xFFFF00;
    Bitmap mask(4, 1, Bitmap::Format::Indexed8);
    mask.palette() = {0x000000, 0xFFFFFF};
    mask.row8(0)[0] = mask.row8(0)[2] = 1;
    QImage image(8, 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QtCanvas canvas(&image);
        canvas.drawBitmap(strip, {2, 0, 4, 1}, {0, 0, 4, 2}, &mask);  // frame 2, doubled
        canvas.drawBitmap(strip, {0, 0, 2, 1}, {4, 0, 6, 1}, &mask);  // frame 1
    }
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255)) << "masked: the page shows";
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(2, 0), qRgb(255, 255, 0));
    EXPECT_EQ(image.pixel(3, 1), qRgb(255, 255, 0));
    EXPECT_EQ(image.pixel(4, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(5, 0), qRgb(0, 255, 0));
}
