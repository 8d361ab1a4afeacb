// Pictures the host hands over: ready bitmaps, file contents, and pictures it promises
// for later, with the images and the page background waiting for them meanwhile.

#include <gtest/gtest.h>

#include "html/Lexer.h"
#include "image/PictureLoader.h"
#include "layout/Document.h"
#include "layout/ImageObj.h"
#include "platform/Files.h"
#include "platform/RecordingCanvas.h"
#include "platform/Text.h"

namespace {

std::string Collection(const std::string& relative) {
    return std::string(VULTARIA_COLLECTION) + "/" + relative;
}
std::string Bytes(const std::string& relative) {
    return platform::ReadWholeFile(Collection(relative));
}

struct Tag {
    explicit Tag(const std::string& html) {
        reader.PrepareDocument(html);
        reader.NextChar();
        reader.NextSymbol();
    }
    THtmlReader reader;
};

class Host : public TDocumentHost {
  public:
    void RelayoutNeeded() override { ++relayouts; }
    int relayouts = 0;
};

class PictureRequestTest : public ::testing::Test {
  protected:
    PictureRequestTest() { doc.imageCache = &cache; }

    // An IMG as the builder makes it: SRC is also expanded to a file name the page
    // would use without requests.
    std::unique_ptr<TImageObj> Image(const std::string& tag,
                                     const std::string& expanded = "/pagina/x") {
        auto image = std::make_unique<TImageObj>(&doc, Tag(tag).reader.Attributes, expanded);
        image->SizeFor(canvas, 500, nullptr);
        return image;
    }
    // Answers every image request with "wait" and counts the requests by name.
    void HostWaits() {
        doc.events.onImageRequest = [this](const std::string& name, TImageStream& stream) {
            asked.push_back(name);
            stream.wait = true;
        };
    }
    int UsesOf(const std::string& key) {
        const TBitmapItem* item = cache.find(key);
        return item ? item->usageCount : -1;
    }

    Host host;
    TStringBitmapList cache;
    TSectionList doc{&host};
    platform::RecordingCanvas canvas;
    std::vector<std::string> asked;
};

}  // namespace

TEST_F(PictureRequestTest, BitmapRequestsGiveMasksForTheirColourOrTheCorner) {
    // Red (0x00BBGGRR 0x0000FF) pixels on the diagonal, white elsewhere.
    auto bitmap = std::make_shared<platform::Bitmap>(4, 4);
    bitmap->fill(0xFFFFFF);
    for (int i = 0; i < 4; ++i) bitmap->row32(i)[i] = 0xFF0000;
    std::optional<platform::TColor> colour = platform::RGBColor(255, 0, 0);
    doc.events.onBitmapRequest = [&](const std::string& name,
                                     std::shared_ptr<platform::Bitmap>& out,
                                     std::optional<platform::TColor>& transparent) {
        asked.push_back(name);
        out = bitmap;
        transparent = colour;
    };
    auto image = Image("<img src=selo.bmp>");
    ASSERT_EQ(asked, std::vector<std::string>{"selo.bmp"})
        << "the name as written, not the page's expansion";
    ASSERT_TRUE(image->IsLoaded());
    EXPECT_EQ(image->Picture(), bitmap.get());
    EXPECT_EQ(image->transparency, 2);
    ASSERT_NE(image->MaskShared(), nullptr);
    EXPECT_EQ(image->MaskShared()->pixel(2, 2), 0xFFFFFFu) << "a red pixel shows the page";
    EXPECT_EQ(image->MaskShared()->pixel(1, 2), 0u);
    EXPECT_TRUE(cache.contains("SELO.BMP"));
    canvas.clearLog();
    image->Draw(canvas, 0, 0);
    EXPECT_NE(canvas.logText().find("masked"), std::string::npos) << canvas.logText();

    // Without a colour, TRANSP takes the lower-left pixel's (white).
    colour.reset();
    auto corner = Image("<img src=outro.bmp transp>");
    ASSERT_NE(corner->MaskShared(), nullptr);
    EXPECT_EQ(corner->MaskShared()->pixel(1, 2), 0xFFFFFFu);
    EXPECT_EQ(corner->MaskShared()->pixel(2, 2), 0u);
    auto plain = Image("<img src=terceiro.bmp>");
    EXPECT_EQ(plain->MaskShared(), nullptr);
    EXPECT_EQ(plain->transparency, 0);
}

TEST_F(PictureRequestTest, ImageRequestBytesAreTypedByContentNotByName) {
    std::map<std::string, std::string> files{{"FOTO.GIF", Bytes("dados/imagens/bola.bmp")},
                                             {"FOTO.PNG", Bytes("dados/imagens/cafe.jpg")},
                                             {"ANIMADA.BMP", "GIF89a" + std::string(40, '\0')},
                                             {"LIXO.BMP", std::string(40, 'x')}};
    doc.events.onExpandName = [](const std::string& name) { return platform::AnsiUpperCase(name); };
    doc.events.onImageRequest = [&](const std::string& name, TImageStream& stream) {
        asked.push_back(name);
        stream.bytes = files[name];
    };
    auto bmp = Image("<img src=foto.gif>");
    auto jpeg = Image("<img src=foto.png>");
    EXPECT_TRUE(bmp->IsLoaded());
    EXPECT_TRUE(jpeg->IsLoaded());
    EXPECT_EQ(bmp->pictureWidth, LoadPicture(files["FOTO.GIF"], 0)->bitmap.width());
    EXPECT_EQ(jpeg->pictureWidth, LoadPicture(files["FOTO.PNG"], 0)->bitmap.width());
    EXPECT_EQ(asked, (std::vector<std::string>{"FOTO.GIF", "FOTO.PNG"}))
        << "through the host's expansion";
    // A broken GIF and unknown bytes are no picture.
    EXPECT_FALSE(Image("<img src=animada.bmp>")->IsLoaded());
    EXPECT_FALSE(Image("<img src=lixo.bmp>")->IsLoaded());
    // A second image of a name takes the cached picture without asking again.
    asked.clear();
    auto again = Image("<img src=Foto.gif>");
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(again->Picture(), bmp->Picture());
}

TEST_F(PictureRequestTest, WithoutAnAnswerTheFileIsReadThroughThePagesExpansion) {
    doc.expandName = [](const std::string& name) { return Collection("dados/imagens/" + name); };
    doc.events.onImageRequest = [&](const std::string& name, TImageStream&) {
        asked.push_back(name);
    };
    auto image = Image("<img src=bola.bmp>", "/nao/usado.bmp");
    EXPECT_EQ(asked, std::vector<std::string>{"bola.bmp"});
    EXPECT_TRUE(image->IsLoaded());
    EXPECT_TRUE(cache.contains("BOLA.BMP")) << "cached under the requested name";
}

TEST_F(PictureRequestTest, WaitingImagesShowTheDefaultPictureAndAreAskedForOnce) {
    HostWaits();
    auto first = Image("<img src=foto.bmp alt=Foto>");
    auto second = Image("<img src=FOTO.BMP>");
    EXPECT_EQ(asked, std::vector<std::string>{"foto.bmp"}) << "the second waits without asking";
    for (TImageObj* image : {first.get(), second.get()}) {
        EXPECT_TRUE(image->waiting);
        EXPECT_TRUE(image->IsPlaceholder());
        EXPECT_TRUE(image->IsLoaded()) << "waiting is not failing";
    }
    ASSERT_EQ(doc.pendingImages.count("FOTO.BMP"), 1u);
    EXPECT_EQ(doc.pendingImages["FOTO.BMP"], (std::vector<TImageObj*>{first.get(), second.get()}));
    EXPECT_EQ(cache.count(), 0u);
    // The default picture, not the error sign (which is drawn through its mask).
    canvas.clearLog();
    first->Draw(canvas, 0, 0);
    EXPECT_NE(canvas.logText().find("bitmap 16x16"), std::string::npos) << canvas.logText();
    EXPECT_EQ(canvas.logText().find("masked"), std::string::npos) << canvas.logText();
}

TEST_F(PictureRequestTest, ASuppliedPictureReplacesTheDefaultInEveryWaitingImage) {
    HostWaits();
    auto first = Image("<img src=foto.bmp>");
    auto second = Image("<img src=foto.bmp transp>");
    auto gone = Image("<img src=foto.bmp>");
    gone.reset();  // leaves the waiting list with it
    auto other = Image("<img src=outra.bmp>");

    const std::string bytes = Bytes("dados/imagens/bola.bmp");
    doc.InsertImage("Foto.bmp", bytes);
    EXPECT_EQ(host.relayouts, 1);
    EXPECT_EQ(doc.pendingImages.count("FOTO.BMP"), 0u);
    EXPECT_EQ(doc.pendingImages.count("OUTRA.BMP"), 1u) << "other names still wait";
    for (TImageObj* image : {first.get(), second.get()}) {
        EXPECT_FALSE(image->waiting);
        EXPECT_FALSE(image->IsPlaceholder());
        ASSERT_NE(image->Picture(), nullptr);
    }
    EXPECT_EQ(first->Picture(), second->Picture());
    EXPECT_NE(second->MaskShared(), nullptr) << "TRANSP still asks for the corner mask";
    EXPECT_TRUE(other->waiting);
    // Laid out again, the images take the picture's size.
    first->SizeFor(canvas, 500, nullptr);
    EXPECT_EQ(first->boxWidth, LoadPicture(bytes, 0)->bitmap.width());
    // Each image holds one use of the cached picture.
    EXPECT_EQ(UsesOf("FOTO.BMP"), 2);
    first.reset();
    second.reset();
    EXPECT_EQ(UsesOf("FOTO.BMP"), 0);
    // Later images of the name take it from the cache, without asking.
    asked.clear();
    auto later = Image("<img src=foto.bmp>");
    EXPECT_TRUE(asked.empty());
    EXPECT_FALSE(later->waiting);

    // Unreadable bytes end the wait with the error sign; unknown names change nothing.
    doc.InsertImage("nada.bmp", bytes);
    EXPECT_EQ(host.relayouts, 1);
    doc.InsertImage("outra.bmp", "nao e figura");
    EXPECT_FALSE(other->waiting);
    EXPECT_FALSE(other->IsLoaded());
    EXPECT_TRUE(doc.pendingImages.empty());
}

TEST_F(PictureRequestTest, TheBackgroundCanWaitToo) {
    HostWaits();
    doc.SetBackgroundImage("fundo.bmp", {});
    EXPECT_EQ(doc.BackgroundImage(), nullptr);
    EXPECT_EQ(doc.BackgroundImage(), nullptr);
    EXPECT_EQ(asked.size(), 1u) << "looked up once per page";
    EXPECT_EQ(doc.pendingImages.count("FUNDO.BMP"), 1u);
    // An image of the same name waits with it.
    auto image = Image("<img src=fundo.bmp>");
    EXPECT_TRUE(image->waiting);
    EXPECT_EQ(asked.size(), 1u);

    doc.InsertImage("FUNDO.BMP", Bytes("dados/imagens/bola.bmp"));
    ASSERT_NE(doc.BackgroundImage(), nullptr);
    EXPECT_EQ(doc.BackgroundImage(), image->Picture());
    EXPECT_EQ(UsesOf("FUNDO.BMP"), 2);
    doc.Clear();
    EXPECT_EQ(doc.BackgroundImage(), nullptr);
    EXPECT_EQ(UsesOf("FUNDO.BMP"), 1) << "the page's background gives its use back";
}

TEST_F(PictureRequestTest, ClearForgetsWhatWasWaiting) {
    HostWaits();
    auto image = Image("<img src=foto.bmp>");
    doc.SetBackgroundImage("fundo.bmp", {});
    doc.BackgroundImage();
    ASSERT_EQ(doc.pendingImages.size(), 2u);
    doc.Clear();
    EXPECT_TRUE(doc.pendingImages.empty());
    image.reset();  // an image of the old page going later is harmless
    doc.InsertImage("foto.bmp", Bytes("dados/imagens/bola.bmp"));
    EXPECT_EQ(host.relayouts, 0);
    // The next page asks again.
    asked.clear();
    auto next = Image("<img src=foto.bmp>");
    EXPECT_EQ(asked.size(), 1u);
}
