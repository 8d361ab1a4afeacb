#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "html/Builder.h"
#include "html/Lexer.h"
#include "layout/Block.h"
#include "layout/Document.h"
#include "layout/FontObj.h"
#include "layout/ImageObj.h"
#include "layout/Section.h"
#include "platform/RecordingCanvas.h"
#include "platform/Text.h"
#include "style/Properties.h"
#include "style/StyleParser.h"

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
                if (TImageObj* image = FirstImageIn(*block->content)) return image;
            if (auto* section = dynamic_cast<TSection*>(item.get()))
                for (auto& object : section->inlineObjects)
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

// Frames shown and animation started, as a GIF picture would do them.
class FakeAnimation : public TAnimatedPicture {
  public:
    explicit FakeAnimation(int frames) : frames_(frames) {}
    void Rewind() override { frame = 0; }
    void Stop() override { running = false; }
    void Start() override { running = true; }
    void Advance() override {}
    int FrameCount() const override { return frames_; }
    void ShowFrame(int index) override { frame = index; }
    int frame = 0;
    bool running = false;

  private:
    int frames_;
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
    DrawnPage page(
        "<p><img src=bola.bmp width=10 height=10 active><img src=bola.bmp width=10 height=10>");
    TImageObj* image = page.FirstImage();
    ASSERT_NE(image, nullptr);
    for (int frames : {2, 3, 5}) {
        SCOPED_TRACE(frames);
        FakeAnimation animation(frames);
        image->animation = &animation;
        std::string title;
        TFormControlObj* control = nullptr;
        const TUrlTarget* link = nullptr;
        const int before = page.host.invalidated;
        page.doc.HitTestLink(page.canvas, image->paintX + 2, image->drawY + 2, title, control,
                             link);
        EXPECT_EQ(image->hoverState, 1);
        EXPECT_EQ(animation.frame, frames > 3 ? 0 : 1);
        EXPECT_EQ(animation.running, frames > 3) << "a longer picture plays under the mouse";
        page.doc.SetPressed(true);
        EXPECT_EQ(image->hoverState, 2);
        EXPECT_EQ(animation.frame, frames == 3 ? 2 : 1);
        page.doc.SetPressed(false);
        EXPECT_EQ(image->hoverState, 1);
        page.doc.ClearHover();
        EXPECT_EQ(image->hoverState, 0);
        EXPECT_EQ(animation.frame, 0);
        EXPECT_FALSE(animation.running);
        EXPECT_TRUE(std::find(page.doc.animatedImages.begin(), page.doc.animatedImages.end(),
                              &animation) == page.doc.animatedImages.end());
        EXPECT_GE(page.host.invalidated - before, 4) << "every change of look repaints";
        image->animation = nullptr;
    }
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
