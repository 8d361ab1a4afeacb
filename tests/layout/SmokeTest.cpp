// Real fonts: a laid-out paragraph rendered to a PNG has ink where its lines are.

#include <QDir>
#include <QImage>

#include "LayoutTestSupport.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtScreen.h"

using layouttest::DocumentBuilder;

TEST(RealFonts, TextLandsWhereTheLayoutPutIt) {
    // Fonts measured on the real screen, as the program does.
    auto previous = platform::InstallScreen(std::make_unique<platform::QtScreen>());
    // Fonts ask for the resolution alone; it must be the one the whole answer gives.
    EXPECT_EQ(platform::Screen().pixelsPerInch(), platform::Screen().info().pixelsPerInch);
    QImage image(300, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    DocumentBuilder b;
    b.OpenBody();
    TSection& s = b.Paragraph(u"Vultaria draws real text on real fonts, line after line, "
                              u"and the layout decides where each line goes.");
    b.Close();
    {
        platform::QtCanvas canvas(&image);
        int scrollWidth = 0, cursor = 0;
        b.doc.LayoutCell(canvas, 0, 300, 200, scrollWidth, cursor);
        b.doc.Draw(canvas, {0, 0, 300, 200}, 300, 0, 0, 0, 0);
    }
    image.save(QDir::temp().filePath("vultaria_layout_smoke.png"));
    ASSERT_GE(s.lines.size(), 2u);
    auto inkInRows = [&](int top, int bottom) {
        int dark = 0;
        for (int y = std::max(0, top); y < std::min(200, bottom); ++y)
            for (int x = 0; x < 300; ++x)
                if (qGray(image.pixel(x, y)) < 128) ++dark;
        return dark;
    };
    int y = s.topY;
    for (const LineRec& line : s.lines) {
        EXPECT_GT(inkInRows(y, y + line.Height()), 20) << "line at " << y;
        y += line.Height();
    }
    EXPECT_EQ(0, inkInRows(y + 2, 200));
    EXPECT_EQ(0, inkInRows(0, s.topY - 1));
    platform::InstallScreen(std::move(previous));
}
