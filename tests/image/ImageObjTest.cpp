#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "html/Builder.h"
#include "html/Lexer.h"
#include "image/GifImage.h"
#include "layout/Block.h"
#include "layout/Document.h"
#include "layout/FontObj.h"
#include "layout/ImageObj.h"
#include "layout/Section.h"
#include "platform/RecordingCanvas.h"
#include "platform/Text.h"
#include "style/Properties.h"
#include "style/StyleParser.h"
#include "tests/support/ScratchFolder.h"

namespace {

std::string Collection(const std::string& relative) {
    return std::string(VULTARIA_COLLECTION) + "/" + relative;
}

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

    std::unique_ptr<TImageObj> Image(const std::string& tag,
                                     const std::string& file = "dados/imagens/bola.bmp") {
        return std::make_unique<TImageObj>(&doc, Tag(tag).attributes(),
                                           file.empty() ? "" : Collection(file));
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

TEST_F(ImageObjTest, StyleMarginsAreTakenAsGiven) {
    // Only HSPACE and VSPACE are made positive and kept within 40 pixels.
    TProperties props;
    ParseStyleAttribute("margin: 60px -5px 45px 100px", props);
    auto image = Image("<img src=bola.bmp hspace=3 vspace=3>");
    image->ApplyProperties(props);
    EXPECT_EQ(image->gapTop, 60);
    EXPECT_EQ(image->gapRight, -5);
    EXPECT_EQ(image->gapBottom, 45);
    EXPECT_EQ(image->gapLeft, 100);
}

TEST_F(ImageObjTest, ImagesInsideLinksGetABorderUnlessBorderIsZero) {
    TMyFont linkFont;
    linkFont.face = "Arial";
    linkFont.height = -12;
    linkFont.Color = platform::RGBColor(0, 0, 255);
    TFontObj run(nullptr, linkFont, 0);
    TUrlTarget target;
    target.Assign("outra.htm", "");
    run.SetLinkTarget(target);

    auto bordered = Image("<img src=bola.bmp width=10 height=10>");
    bordered->SizeFor(canvas, 500, &run);
    EXPECT_TRUE(bordered->hasBorder);
    EXPECT_EQ(bordered->boxWidth, 12);
    EXPECT_EQ(bordered->boxHeight, 12);
    canvas.clearLog();
    bordered->Draw(canvas, 5, 5);
    EXPECT_NE(canvas.logText().find("rectangle 5,5,17,17 pen=#0000FF"), std::string::npos)
        << canvas.logText();

    auto plain = Image("<img src=bola.bmp width=10 height=10 border=0>");
    plain->SizeFor(canvas, 500, &run);
    EXPECT_FALSE(plain->hasBorder);
    EXPECT_EQ(plain->boxWidth, 10);
}

TEST_F(ImageObjTest, AMissingPictureIsAPlaceholderWithRoomForItsAltText) {
    auto missing =
        Image("<img src=x.gif alt=\"Retrato de Machado\">", "dados/imagens/nao_existe.bmp");
    missing->SizeFor(canvas, 500, nullptr);
    EXPECT_FALSE(missing->IsLoaded());
    EXPECT_TRUE(missing->IsPlaceholder());
    // Box fonts: 8 points at 96 dpi is 11 pixels, 5 pixels a character.
    EXPECT_EQ(missing->boxWidth, 18 * 5 + 2 + 24);
    EXPECT_EQ(missing->boxHeight, 24);
    canvas.clearLog();
    missing->Draw(canvas, 0, 0);
    EXPECT_NE(canvas.logText().find("\"Retrato de Machado\""), std::string::npos)
        << canvas.logText();

    // With both sizes given they are used as they are.
    auto sizedMissing =
        Image("<img src=x alt=abc width=60 height=50>", "dados/imagens/nao_existe.bmp");
    sizedMissing->SizeFor(canvas, 500, nullptr);
    EXPECT_EQ(sizedMissing->boxWidth, 60);
    EXPECT_EQ(sizedMissing->boxHeight, 50);
}

TEST_F(ImageObjTest, APlaceholdersAltTextWrapsInsideItsBox) {
    auto missing = Image("<img src=x alt=\"Retrato de Machado de Assis\" width=60 height=45>",
                         "dados/imagens/nao_existe.bmp");
    missing->SizeFor(canvas, 500, nullptr);
    canvas.clearLog();
    missing->Draw(canvas, 0, 0);
    // 34 pixels beside the sign hold 6 characters of 5 pixels: word by word, 11
    // pixels apart, the longer words alone; what falls below the box is not drawn.
    std::vector<std::string> texts;
    for (const std::string& entry : canvas.log())
        if (entry.rfind("text ", 0) == 0)
            texts.push_back(entry.substr(0, entry.find(' ', 5)) + entry.substr(entry.find('"')));
    EXPECT_EQ(texts, (std::vector<std::string>{"text 24,4\"Retrato\"", "text 24,15\"de\"",
                                               "text 24,26\"Machado\"", "text 24,37\"de\""}))
        << canvas.logText();
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
    const TBitmapItem* item =
        cache.find(platform::AnsiUpperCase(Collection("dados/imagens/bola.bmp")));
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

namespace {

class CountingHost : public TDocumentHost {
  public:
    void InvalidatePaintSurface() override { ++invalidated; }
    int invalidated = 0;
};

// A page laid out and drawn on a recording canvas, with the bundled pictures.
struct DrawnPage {
    explicit DrawnPage(const std::string& html) {
        doc.imageCache = &cache;
        doc.SetDefaults("Arial", "Courier New", 12, 0, 0xFF0000, 0x800080, 0xFF0000, false,
                        0xFFFFFF, 1, 0, 0);
        const std::string folder = Collection("dados/imagens/");
        doc.expandName = [folder](const std::string& name) { return folder + name; };
        ParseHtml(html, doc);
        int scrollWidth = 0, cursor = 0;
        height = doc.LayoutCell(canvas, 0, 400, 600, scrollWidth, cursor);
        Draw();
    }
    std::string Draw() {
        canvas.clearLog();
        doc.Draw(canvas, {0, 0, 400, height}, 400, 0, 0, 0, 0);
        return canvas.logText();
    }
    TImageObj* FirstImage() { return FirstImageIn(doc); }
    static TImageObj* FirstImageIn(TCellBasic& cell) {
        for (auto& item : cell.items) {
            if (auto* block = dynamic_cast<TBlock*>(item.get()))
                if (TImageObj* image = FirstImageIn(block->content)) return image;
            if (auto* section = dynamic_cast<TSection*>(item.get()))
                for (auto& object : section->InlineObjects())
                    if (auto* image = dynamic_cast<TImageObj*>(object.get())) return image;
        }
        return nullptr;
    }
    CountingHost host;
    TStringBitmapList cache;
    TSectionList doc{&host};
    platform::RecordingCanvas canvas;
    int height = 0;
};

}  // namespace

TEST(ImageHits, ThePictureAnswersAndItsBorderDoesNot) {
    // A linked picture: a 1-pixel border round 10 x 10 pixels, drawn from 0,0.
    DrawnPage page("<a href=outra.htm><img src=bola.bmp width=10 height=10></a>");
    TFloatingObj* object = nullptr;
    int ix = -1, iy = -1;
    EXPECT_FALSE(page.doc.HitTestImage(0, 5, object, ix, iy)) << "the border is not the picture";
    ASSERT_TRUE(page.doc.HitTestImage(1, 1, object, ix, iy));
    EXPECT_EQ(ix, 0);
    EXPECT_EQ(iy, 0);
    ASSERT_TRUE(page.doc.HitTestImage(10, 10, object, ix, iy));
    EXPECT_EQ(ix, 9);
    EXPECT_FALSE(page.doc.HitTestImage(11, 11, object, ix, iy));
}

TEST(ImageHits, APictureInAFocusedLinkShowsTheFocus) {
    DrawnPage page("<a href=outra.htm><img src=bola.bmp width=10 height=10></a>");
    EXPECT_EQ(page.Draw().find("focus "), std::string::npos);
    ASSERT_EQ(page.doc.linkRuns.size(), 1u);
    page.doc.linkRuns[0]->hasFocus = true;
    const std::string log = page.Draw();
    EXPECT_NE(log.find("focus 0,0,12,12"), std::string::npos) << log;
}

TEST(ImageHover, ActivePicturesShowTheirHoverAndPressedFrames) {
    // Two, three and four frames: only a picture of more than three plays under the mouse.
    const std::string gifs = std::string(VULTARIA_TEST_DATA) + "/image/pictures/gif/";
    // Two frames: a one-frame picture with its image block given twice.
    const std::filesystem::path folder = ScratchFolder("hover");
    std::filesystem::create_directories(folder);
    const std::string twoFrames = (folder / "two_frames.gif").string();
    {
        std::ifstream in(gifs + "two_colours.gif", std::ios::binary);
        const std::string one((std::istreambuf_iterator<char>(in)), {});
        const std::size_t block = 6 + 7 + 2 * 3;  // header, screen, two-colour table
        ASSERT_EQ(one[block], ',');
        ASSERT_EQ(one.back(), ';');
        const std::string image = one.substr(block, one.size() - 1 - block);
        std::ofstream(twoFrames, std::ios::binary) << one.substr(0, block) << image << image << ';';
    }
    for (const auto& [file, frames] :
         {std::pair{twoFrames, 2}, std::pair{Collection("dados/imagens/nota.gif"), 3},
          std::pair{gifs + "animation.gif", 4}}) {
        SCOPED_TRACE(file);
        DrawnPage page("<p><img src=\"" + file + "\" active>");
        TImageObj* image = page.FirstImage();
        ASSERT_NE(image, nullptr);
        ASSERT_TRUE(image->IsLoaded());
        const TGIFImage* gif = image->Animation();
        ASSERT_NE(gif, nullptr);
        ASSERT_EQ(gif->FrameCount, frames);
        EXPECT_TRUE(page.doc.animatedImages.empty()) << "an ACTIVE picture rests at first";
        std::string title;
        TFormControlObj* control = nullptr;
        const TUrlTarget* link = nullptr;
        const int before = page.host.invalidated;
        page.doc.HitTestLink(page.canvas, image->paintX + 2, image->drawY + 2, title, control,
                             link);
        EXPECT_EQ(image->hoverState, 1);
        EXPECT_EQ(gif->CurrentFrame(), frames > 3 ? 1 : 2);
        EXPECT_EQ(gif->Animating(), frames > 3) << "a longer picture plays under the mouse";
        EXPECT_EQ(page.doc.animatedImages.size(), frames > 3 ? 1u : 0u);
        page.doc.SetPressed(true);
        EXPECT_EQ(image->hoverState, 2);
        EXPECT_EQ(gif->CurrentFrame(), frames == 3 ? 3 : 2);
        EXPECT_FALSE(gif->Animating());
        page.doc.SetPressed(false);
        EXPECT_EQ(image->hoverState, 1);
        page.doc.ClearHover();
        EXPECT_EQ(image->hoverState, 0);
        EXPECT_EQ(gif->CurrentFrame(), 1);
        EXPECT_FALSE(gif->Animating());
        EXPECT_TRUE(page.doc.animatedImages.empty());
        EXPECT_GE(page.host.invalidated - before, 4) << "every change of look repaints";
    }
    std::filesystem::remove_all(folder);
    DrawnPage page(
        "<p><img src=bola.bmp width=10 height=10 active><img src=bola.bmp width=10 height=10>");
    TImageObj* image = page.FirstImage();
    ASSERT_NE(image, nullptr);
    // Moving from one picture to the other: the first returns to rest.
    std::string title;
    TFormControlObj* control = nullptr;
    const TUrlTarget* link = nullptr;
    page.doc.HitTestLink(page.canvas, image->paintX + 2, image->drawY + 2, title, control, link);
    EXPECT_EQ(image->hoverState, 1);
    page.doc.HitTestLink(page.canvas, image->paintX + 12, image->drawY + 2, title, control, link);
    EXPECT_EQ(image->hoverState, 0);
    ASSERT_NE(page.doc.hoverImage, nullptr);
    EXPECT_NE(page.doc.hoverImage, image);
}
