#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "html/Lexer.h"
#include "image/GifImage.h"
#include "layout/Document.h"
#include "layout/FontObj.h"
#include "layout/ImageObj.h"
#include "platform/RecordingCanvas.h"
#include "platform/Text.h"

namespace {

std::string Collection(const std::string& relative) { return std::string(VULTARIA_COLLECTION) + "/" + relative; }

// The attributes of one tag, as the reader gives them to the builder.
struct Tag {
    explicit Tag(const std::string& html) {
        reader.PrepareDocument(html);
        reader.NextChar();
        reader.NextSymbol();
    }
    const TAttributeList& attributes() const { return reader.Attributes; }
    THtmlReader reader;
};

class ImageObjTest : public ::testing::Test {
protected:
    ImageObjTest() { doc.imageCache = &cache; }

    std::unique_ptr<TImageObj> Image(const std::string& tag, const std::string& file = "dados/imagens/bola.bmp") {
        return std::make_unique<TImageObj>(&doc, Tag(tag).attributes(), file.empty() ? "" : Collection(file));
    }

    TStringBitmapList cache;
    TSectionList doc;
    platform::RecordingCanvas canvas;
};

}  // namespace

TEST_F(ImageObjTest, NaturalGivenAndProportionalSizes) {
    auto natural = Image("<img src=bola.bmp>");
    natural->SizeFor(canvas, 500, nullptr);
    ASSERT_TRUE(natural->IsLoaded());
    const int w = natural->Picture()->width(), h = natural->Picture()->height();
    EXPECT_EQ(natural->boxWidth, w);
    EXPECT_EQ(natural->boxHeight, h);

    auto both = Image("<img src=bola.bmp width=30 height=20>");
    both->SizeFor(canvas, 500, nullptr);
    EXPECT_EQ(both->boxWidth, 30);
    EXPECT_EQ(both->boxHeight, 20);

    auto widthOnly = Image("<img src=bola.bmp width=" + std::to_string(2 * w) + ">");
    widthOnly->SizeFor(canvas, 500, nullptr);
    EXPECT_EQ(widthOnly->boxHeight, 2 * h) << "the aspect is kept";

    // Half the available width, the aspect kept; recomputed at every layout.
    auto half = Image("<img src=bola.bmp width=50%>");
    half->SizeFor(canvas, 400, nullptr);
    EXPECT_EQ(half->boxWidth, 200);
    EXPECT_EQ(half->boxHeight, 200 * h / w);
    half->SizeFor(canvas, 100, nullptr);
    EXPECT_EQ(half->boxWidth, 50);
    auto halfWithHeight = Image("<img src=bola.bmp width=50% height=7>");
    halfWithHeight->SizeFor(canvas, 400, nullptr);
    EXPECT_EQ(halfWithHeight->boxHeight, 7);
}

TEST_F(ImageObjTest, SpacingIsClampedAndFloatsGetRoom) {
    auto image = Image("<img src=bola.bmp hspace=-60 vspace=12>");
    EXPECT_EQ(image->gapLeft, 40);
    EXPECT_EQ(image->gapRight, 40);
    EXPECT_EQ(image->gapTop, 12);
    auto left = Image("<img src=bola.bmp align=LEFT>");
    EXPECT_EQ(left->placement, kFloatLeft);
    EXPECT_EQ(left->gapLeft, 3);
    EXPECT_EQ(Image("<img src=bola.bmp align=absmiddle>")->placement, kAlignMiddle);
    EXPECT_EQ(Image("<img src=bola.bmp align=bogus>")->placement, kAlignBottom);
}

TEST_F(ImageObjTest, ImagesInsideLinksGetABorderUnlessBorderIsZero) {
    TMyFont linkFont;
    linkFont.face = "Arial";
    linkFont.height = -12;
    linkFont.Color = platform::RGBColor(0, 0, 255);
    TFontObj run(nullptr, linkFont, 0);
    run.linkTarget.Assign("outra.htm", "");

    auto bordered = Image("<img src=bola.bmp width=10 height=10>");
    bordered->SizeFor(canvas, 500, &run);
    EXPECT_TRUE(bordered->hasBorder);
    EXPECT_EQ(bordered->boxWidth, 12);
    EXPECT_EQ(bordered->boxHeight, 12);
    canvas.clearLog();
    bordered->Draw(canvas, 5, 5);
    EXPECT_NE(canvas.logText().find("rectangle 5,5,17,17 pen=#0000FF"), std::string::npos) << canvas.logText();

    auto plain = Image("<img src=bola.bmp width=10 height=10 border=0>");
    plain->SizeFor(canvas, 500, &run);
    EXPECT_FALSE(plain->hasBorder);
    EXPECT_EQ(plain->boxWidth, 10);
}

TEST_F(ImageObjTest, AMissingPictureIsAPlaceholderWithRoomForItsAltText) {
    auto missing = Image("<img src=x.gif alt=\"Retrato de Machado\">", "dados/imagens/nao_existe.bmp");
    missing->SizeFor(canvas, 500, nullptr);
    EXPECT_FALSE(missing->IsLoaded());
    EXPECT_TRUE(missing->IsPlaceholder());
    // Box fonts: 8 points at 96 dpi is 11 pixels, 5 pixels a character.
    EXPECT_EQ(missing->boxWidth, 18 * 5 + 2 + 24);
    EXPECT_EQ(missing->boxHeight, 24);
    canvas.clearLog();
    missing->Draw(canvas, 0, 0);
    EXPECT_NE(canvas.logText().find("\"Retrato de Machado\""), std::string::npos) << canvas.logText();

    // With both sizes given they are used as they are.
    auto sizedMissing = Image("<img src=x alt=abc width=60 height=50>", "dados/imagens/nao_existe.bmp");
    sizedMissing->SizeFor(canvas, 500, nullptr);
    EXPECT_EQ(sizedMissing->boxWidth, 60);
    EXPECT_EQ(sizedMissing->boxHeight, 50);
}

TEST_F(ImageObjTest, WithImagesOffTheBoxStillFitsTheAltText) {
    doc.showImages = false;
    auto image = Image("<img src=bola.bmp alt=Bola>");
    image->SizeFor(canvas, 500, nullptr);
    EXPECT_EQ(image->boxWidth, 4 * 5 + 2 + 24);
    EXPECT_EQ(image->boxHeight, 24);
    EXPECT_EQ(cache.count(), 0u) << "nothing is loaded while images are off";
}

TEST_F(ImageObjTest, TwoImagesOfOneSourceShareACacheEntryUntilBothAreGone) {
    auto first = Image("<img src=bola.bmp>");
    auto second = Image("<img src=BOLA.BMP>");
    first->SizeFor(canvas, 500, nullptr);
    second->SizeFor(canvas, 500, nullptr);
    ASSERT_EQ(cache.count(), 1u);
    const TBitmapItem* item = cache.find(platform::AnsiUpperCase(Collection("dados/imagens/bola.bmp")));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->usageCount, 2);
    EXPECT_EQ(first->Picture(), second->Picture());
    first.reset();
    EXPECT_EQ(item->usageCount, 1);
    second.reset();
    EXPECT_EQ(item->usageCount, 0);
    cache.SetCacheCount(0);
    cache.BumpAndCheck();
    EXPECT_EQ(cache.count(), 0u);
}

TEST_F(ImageObjTest, CornerTransparencyIsAskedWithTransp) {
    auto image = Image("<img src=bola.bmp transp>");
    image->SizeFor(canvas, 500, nullptr);
    canvas.clearLog();
    image->Draw(canvas, 0, 0);
    EXPECT_NE(canvas.logText().find("masked"), std::string::npos) << canvas.logText();
}

TEST_F(ImageObjTest, ClientMapsAndServerMapsGiveLinks) {
    Tag map("<map name=mapa><area shape=rect coords=0,0,10,10 href=norte.htm></map>");
    doc.imageMaps.push_back(ParseMap(map.reader));
    ASSERT_TRUE(doc.imageMaps.back());
    auto image = Image("<img src=bola.bmp usemap=\"#Mapa\">");
    image->SizeFor(canvas, 500, nullptr);
    std::string title;
    const TUrlTarget* link = nullptr;
    EXPECT_EQ(image->HitTest(5, 5, title, link) & 1, 1u);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->Url, "norte.htm");
    link = nullptr;
    EXPECT_EQ(image->HitTest(20, 20, title, link) & 1, 0u);
}

TEST_F(ImageObjTest, AnimatedGifsAnimateTheirOwnCopiesAndRepaintOnlyThemselves) {
    struct Host : TDocumentHost {
        void InvalidateRect(const platform::Rect& area) override { repainted.push_back(area); }
        void InvalidatePaintSurface() override { ++everything; }
        std::vector<platform::Rect> repainted;
        int everything = 0;
    } host;
    doc.viewer = &host;
    std::int64_t now = 1000;
    SetAnimationClock([&] { return now; });

    auto first = Image("<img src=nota.gif>", "dados/imagens/nota.gif");
    auto second = Image("<img src=nota.gif>", "dados/imagens/nota.gif");
    auto still = Image("<img src=nota.gif active>", "dados/imagens/nota.gif");
    for (TImageObj* image : {first.get(), second.get(), still.get()})
        image->SizeFor(canvas, 500, nullptr);
    ASSERT_NE(first->Animation(), nullptr);
    ASSERT_NE(second->Animation(), nullptr);
    EXPECT_NE(first->Animation(), second->Animation()) << "each image has its own copy";
    EXPECT_EQ(&first->Animation()->FrameStrip(), &second->Animation()->FrameStrip())
        << "sharing the frames";
    EXPECT_EQ(cache.count(), 1u);
    EXPECT_EQ(doc.animatedImages.size(), 2u) << "an ACTIVE image is not animated";
    EXPECT_EQ(first->pictureWidth, first->Animation()->Width)
        << "sized by the picture, not the strip";

    // The document starts them at layout; a tick moves on only those drawn.
    for (TAnimatedPicture* picture : doc.animatedImages) {
        picture->Rewind();
        picture->Start();
    }
    canvas.clearLog();
    first->Draw(canvas, 5, 6);
    const TGIFImage& gif = *first->Animation();
    EXPECT_NE(canvas.logText().find("bitmap " + std::to_string(gif.Width * 3) + "x" +
                                    std::to_string(gif.Height) + " from 0,0," +
                                    std::to_string(gif.Width)),
              std::string::npos)
        << canvas.logText();
    now += 10000;
    doc.AnimationTick();
    EXPECT_EQ(first->Animation()->CurrentFrame(), 2);
    EXPECT_EQ(second->Animation()->CurrentFrame(), 1) << "not drawn, not moved on";
    ASSERT_EQ(host.repainted.size(), 1u);
    EXPECT_EQ(host.repainted[0],
              (platform::Rect{5, 6, 5 + first->pictureWidth, 6 + first->pictureHeight}));
    EXPECT_EQ(host.everything, 0);
    // A paint elsewhere leaves it drawn; a paint over it must draw it again.
    doc.Draw(canvas, {300, 300, 400, 400}, 500, 0, 0, 0, 0);
    now += 10000;
    doc.AnimationTick();
    EXPECT_EQ(first->Animation()->CurrentFrame(), 3);
    doc.Draw(canvas, {0, 0, 10, 10}, 500, 0, 0, 0, 0);
    now += 10000;
    doc.AnimationTick();
    EXPECT_EQ(first->Animation()->CurrentFrame(), 3) << "painted over, not drawn";
    // Scrolled since it was drawn, it repaints where it stands now.
    first->Draw(canvas, 5, 6);
    doc.scrollY += 4;
    host.repainted.clear();
    now += 10000;
    doc.AnimationTick();
    ASSERT_EQ(host.repainted.size(), 1u);
    EXPECT_EQ(host.repainted[0].top, 2);

    // A print copy shows the current frame as a still picture.
    TSectionList printDocument(doc, true);
    auto copy = first->CreatePrintCopy(&printDocument);
    auto* printed = static_cast<TImageObj*>(copy.get());
    EXPECT_EQ(printed->Animation(), nullptr);
    ASSERT_NE(printed->Picture(), nullptr);
    EXPECT_EQ(printed->Picture()->width(), gif.Width);
    const std::optional<platform::Bitmap> frameMask = gif.FrameMask(gif.CurrentFrame());
    ASSERT_TRUE(frameMask && printed->MaskShared());
    int differences = 0;
    for (int y = 0; y < gif.Height; ++y)
        for (int x = 0; x < gif.Width; ++x)
            differences += printed->MaskShared()->pixel(x, y) != frameMask->pixel(x, y);
    EXPECT_EQ(differences, 0) << "the current frame's mask";

    // Images leave the animated list as they go.
    first.reset();
    EXPECT_EQ(doc.animatedImages.size(), 1u);
    second.reset();
    EXPECT_TRUE(doc.animatedImages.empty());
    SetAnimationClock(nullptr);
    doc.viewer = nullptr;
}

TEST_F(ImageObjTest, PngAndStillGifPicturesShowAsBitmaps) {
    auto png = Image("<img src=paleta.png>", "dados/imagens/paleta.png");
    auto gif = Image("<img src=ornamento.gif>", "dados/imagens/ornamento.gif");
    png->SizeFor(canvas, 500, nullptr);
    gif->SizeFor(canvas, 500, nullptr);
    EXPECT_TRUE(png->IsLoaded());
    EXPECT_TRUE(gif->IsLoaded());
    EXPECT_EQ(gif->Animation(), nullptr);
    EXPECT_EQ(gif->transparency, 2) << "its own mask";
    canvas.clearLog();
    gif->Draw(canvas, 0, 0);
    EXPECT_NE(canvas.logText().find("masked"), std::string::npos) << canvas.logText();
    EXPECT_TRUE(doc.animatedImages.empty());
}
