// Embedded panels: their attributes and sizes, the host's hooks, windows placed where
// the page draws them, printing, and PANEL tags in the page.

#include <gtest/gtest.h>

#include <functional>

#include "html/Builder.h"
#include "html/Lexer.h"
#include "layout/Block.h"
#include "layout/Document.h"
#include "layout/PanelObj.h"
#include "layout/Section.h"
#include "platform/RecordingCanvas.h"

namespace {

// The host's window for a panel, telling the log when it goes.
class LoggedPanel : public platform::DetachedPanelWindow {
  public:
    explicit LoggedPanel(std::vector<std::string>& log) : log_(log) {}
    ~LoggedPanel() override { log_.push_back("freed"); }

  private:
    std::vector<std::string>& log_;
};

class Host : public TDocumentHost {
  public:
    std::unique_ptr<platform::PanelWindow> CreatePanelWindow() override {
        log.push_back("window");
        auto window = std::make_unique<LoggedPanel>(log);
        windows.push_back(window.get());
        return window;
    }
    std::vector<std::string> log;
    std::vector<platform::PanelWindow*> windows;
};

class PanelTest : public ::testing::Test {
  protected:
    PanelTest() {
        doc.SetDefaults("Times New Roman", "Courier New", 12, 0, 0xFF0000, 0x800080, 0x0000FF,
                        false, 0xFFFFFF, 1, 0, 0);
    }
    // A panel made from one tag on its own.
    std::unique_ptr<TPanelObj> Panel(const std::string& tag) {
        THtmlReader reader;
        reader.PrepareDocument(tag);
        reader.NextChar();
        reader.NextSymbol();
        return std::make_unique<TPanelObj>(&doc, reader.Attributes);
    }
    void Build(const std::string& html) { ParseHtml(html, doc); }
    int Layout(TSectionList& document, int width = 400) {
        int scrollWidth = 0, cursor = 0;
        return document.LayoutCell(canvas, 0, width, 600, scrollWidth, cursor);
    }
    std::string Draw(TSectionList& document, int scroll, int height = 200) {
        canvas.clearLog();
        document.SetScrollY(scroll);
        document.Draw(canvas, {0, 0, 400, height}, 400, 0, 0, 0, 0);
        return canvas.logText();
    }
    TPanelObj* Named(const std::string& name) {
        for (TPanelObj* panel : doc.panels)
            if (panel->name == name) return panel;
        return nullptr;
    }

    // Outlive the document: its windows and hooks report to them as it goes.
    Host host;
    std::vector<std::string> heard;
    TSectionList doc{&host};
    platform::RecordingCanvas canvas;
};

std::vector<std::string> Names(const std::vector<TPanelObj*>& panels) {
    std::vector<std::string> names;
    for (const TPanelObj* panel : panels) names.push_back(panel->name);
    return names;
}

bool Contains(const std::string& log, const std::string& piece) {
    return log.find(piece) != std::string::npos;
}

}  // namespace

TEST_F(PanelTest, AttributesAndTheNewWindow) {
    auto panel = Panel(
        "<panel name=mapa alt=\"Mapa do Brasil\" src=mapa.htm type=app/mapa align=LEFT hspace=-60 "
        "vspace=5 width=120 height=50>");
    EXPECT_EQ(panel->name, "mapa");
    EXPECT_EQ(panel->altText, "Mapa do Brasil");
    EXPECT_EQ(panel->source, "mapa.htm");
    EXPECT_EQ(panel->type, "app/mapa");
    EXPECT_EQ(panel->placement, kFloatLeft);
    EXPECT_EQ(panel->gapLeft, 40);
    EXPECT_EQ(panel->gapRight, 40);
    EXPECT_EQ(panel->gapTop, 5);
    EXPECT_EQ(panel->boxWidth, 120);
    EXPECT_EQ(panel->boxHeight, 50);
    // Parked out of sight, white, with a single border, sized from the attributes.
    const platform::PanelWindow& window = panel->Panel();
    EXPECT_EQ(window.bounds(), (platform::Rect{-4000, -4000, -3880, -3950}));
    EXPECT_EQ(window.color(), 0xFFFFFFu);
    EXPECT_TRUE(window.hasSingleBorder());
    EXPECT_EQ(Names(doc.panels), std::vector<std::string>{"mapa"});

    auto plain = Panel("<panel align=middle>");
    EXPECT_EQ(plain->boxWidth, 30);
    EXPECT_EQ(plain->boxHeight, 20);
    EXPECT_EQ(plain->placement, kAlignMiddle);
    EXPECT_EQ(plain->gapLeft, 3) << "panels keep 3 pixels beside them even inline";
    EXPECT_EQ(plain->gapRight, 3);
    EXPECT_EQ(plain->gapTop, 0);
}

TEST_F(PanelTest, StyleSheetsPlacePanelsAsTheyPlacePictures) {
    Build(
        "<style>panel { margin: 7px 9px } .right { float: right } .mid { vertical-align: middle }"
        "</style>text <panel name=floating class=right> and <panel name=inline class=mid "
        "style='margin-left: 0'>");
    TPanelObj* floating = Named("floating");
    ASSERT_NE(floating, nullptr);
    EXPECT_EQ(floating->placement, kFloatRight);
    EXPECT_EQ(floating->gapTop, 7);
    EXPECT_EQ(floating->gapRight, 9);
    EXPECT_EQ(floating->gapLeft, 9);
    TPanelObj* middle = Named("inline");
    ASSERT_NE(middle, nullptr);
    EXPECT_EQ(middle->placement, kAlignMiddle);
    EXPECT_EQ(middle->gapLeft, 0);
    EXPECT_EQ(middle->gapRight, 9);
}

TEST_F(PanelTest, PercentWidthsFollowTheRoomAndRatiosSetTheHeight) {
    auto half = Panel("<panel width=50% ratio=0.5>");
    EXPECT_TRUE(half->WidthIsPercent());
    half->SizeFor(canvas, 400, nullptr);
    EXPECT_EQ(half->boxWidth, 200);
    EXPECT_EQ(half->boxHeight, 100);
    EXPECT_EQ(half->Panel().width(), 200) << "the window follows";
    EXPECT_EQ(half->Panel().height(), 100);
    half->SizeFor(canvas, 100, nullptr);
    EXPECT_EQ(half->boxWidth, 50);
    EXPECT_EQ(half->boxHeight, 25);

    auto wide = Panel("<panel width=250% height=40>");
    wide->SizeFor(canvas, 300, nullptr);
    EXPECT_EQ(wide->boxWidth, 300) << "at most the whole room";
    EXPECT_EQ(wide->boxHeight, 40);

    auto fixed = Panel("<panel width=80 height=40 ratio=0.25>");
    EXPECT_FALSE(fixed->WidthIsPercent());
    fixed->SizeFor(canvas, 1000, nullptr);
    EXPECT_EQ(fixed->boxWidth, 80);
    EXPECT_EQ(fixed->boxHeight, 20);

    for (const char* bad : {"abc", "0.5x", "-2", ""}) {
        auto panel = Panel(std::string("<panel width=80 height=40 ratio=\"") + bad + "\">");
        panel->SizeFor(canvas, 400, nullptr);
        EXPECT_EQ(panel->boxHeight, 40) << bad;
        EXPECT_LE(panel->ratio, 0) << bad;
    }
    auto signed_ = Panel("<panel width=20 ratio=\" +1.5 \">");
    signed_->SizeFor(canvas, 400, nullptr);
    EXPECT_EQ(signed_->boxHeight, 30);
    // No window grows past what window systems accept.
    auto tall = Panel("<panel width=100 ratio=1e300>");
    tall->SizeFor(canvas, 400, nullptr);
    EXPECT_EQ(tall->boxHeight, 32767);
}

TEST_F(PanelTest, TheHostHearsOfEachPanelWhenMadeAndBeforeItsWindowGoes) {
    doc.events.onPanelCreate = [this](const std::string& name, platform::PanelWindow& panel,
                                      const std::string& source, const std::string& type) {
        host.log.push_back("create " + name + " " + source + " " + type);
        EXPECT_EQ(&panel, host.windows.back());
        panel.resize(70, 45);  // the host decides the size
    };
    doc.events.onPanelDestroy = [this](const std::string& name, platform::PanelWindow& panel) {
        host.log.push_back("destroy " + name);
        EXPECT_EQ(&panel, host.windows.front());
    };
    Build("<p>Veja <panel name=grafico src=dados.csv type=text/csv width=10> abaixo.</p>");
    ASSERT_EQ(Names(doc.panels), std::vector<std::string>{"grafico"});
    EXPECT_EQ(doc.panels[0]->boxWidth, 70);
    EXPECT_EQ(doc.panels[0]->boxHeight, 45);
    EXPECT_EQ(host.log, (std::vector<std::string>{"window", "create grafico dados.csv text/csv"}));
    doc.Clear();
    EXPECT_TRUE(doc.panels.empty());
    EXPECT_EQ(host.log, (std::vector<std::string>{"window", "create grafico dados.csv text/csv",
                                                  "destroy grafico", "freed"}));
}

TEST_F(PanelTest, WindowsAreShownWhereDrawnAndHiddenOnceScrolledAway) {
    std::string html =
        "<p>Topo <panel name=alto width=40 height=30> <panel name=direita align=right></p>";
    for (int i = 0; i < 60; ++i) html += "<p>Linha de texto</p>";
    html += "<p><panel name=fim></p>";
    Build(html);
    const int height = Layout(doc);
    TPanelObj* top = Named("alto");
    TPanelObj* right = Named("direita");
    TPanelObj* end = Named("fim");
    ASSERT_TRUE(top && right && end);

    Draw(doc, 0);
    EXPECT_TRUE(top->Panel().isVisible());
    EXPECT_EQ(top->Panel().bounds(),
              (platform::Rect{top->paintX, top->drawY, top->paintX + 40, top->drawY + 30}));
    EXPECT_GT(top->paintX, 40) << "after the text before it";
    // A floating panel is moved from the deferred list, at the right edge.
    EXPECT_TRUE(right->Panel().isVisible());
    EXPECT_EQ(right->Panel().bounds().right + right->gapRight, 400);
    EXPECT_FALSE(end->Panel().isVisible());
    EXPECT_EQ(end->Panel().bounds().left, -4000);

    const int scroll = height - 200;
    Draw(doc, scroll);
    EXPECT_FALSE(top->Panel().isVisible());
    EXPECT_FALSE(right->Panel().isVisible());
    EXPECT_TRUE(end->Panel().isVisible());
    EXPECT_EQ(end->Panel().bounds().top, end->drawY - scroll) << "in paint-surface coordinates";
    EXPECT_GT(end->Panel().bounds().top, 0);
}

TEST_F(PanelTest, PrintingPaintsThroughTheHostOrABoxWithTheAltText) {
    Build("<p><panel name=mapa alt=Mapa width=60 height=40></p>");
    Layout(doc);
    TPanelObj* panel = doc.panels.at(0);
    panel->Panel().setColor(platform::RGBColor(0, 128, 0));
    doc.isPrinting = true;

    // Without a print hook: a box in the panel's colour, the ALT text 15 pixels in.
    std::string log = Draw(doc, 0);
    const int x = panel->paintX, y = panel->drawY;
    auto rect = [](int l, int t, int r, int b) {
        return std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(r) + "," +
               std::to_string(b);
    };
    EXPECT_TRUE(Contains(
        log, "rectangle " + rect(x, y, x + 60, y + 40) + " pen=#000000/solid/1 brush=#008000"))
        << log;
    EXPECT_TRUE(
        Contains(log, "text " + std::to_string(x + 15) + "," + std::to_string(y + 15) + " top"))
        << log;
    EXPECT_TRUE(Contains(log, "\"Mapa\"")) << log;
    EXPECT_FALSE(panel->Panel().isVisible()) << "the window stays where it was";
    EXPECT_EQ(panel->Panel().bounds().left, -4000);

    // With one: the host paints a picture of the panel's size, drawn over its box.
    std::vector<std::string>& printed = heard;
    doc.events.onPanelPrint = [&](const std::string& name, platform::PanelWindow& window,
                                  platform::Bitmap& bitmap) {
        printed.push_back(name + " " + std::to_string(bitmap.width()) + "x" +
                          std::to_string(bitmap.height()));
        EXPECT_EQ(&window, &panel->Panel());
        EXPECT_EQ(bitmap.pixel(0, 0), 0x008000u) << "it starts in the panel's colour";
    };
    log = Draw(doc, 0);
    EXPECT_EQ(printed, std::vector<std::string>{"mapa 60x40"});
    EXPECT_TRUE(Contains(log, "bitmap 60x40 from 0,0,60,40 to " + rect(x, y, x + 60, y + 40)))
        << log;
    EXPECT_FALSE(Contains(log, "rectangle")) << log;
}

TEST_F(PanelTest, PrintCopiesPaintTheLivePanelAndLeaveItsWindowAlone) {
    std::vector<std::string>& events = heard;
    doc.events.onPanelDestroy = [&](const std::string& name, platform::PanelWindow&) {
        events.push_back("destroy " + name);
    };
    doc.events.onPanelPrint = [&](const std::string& name, platform::PanelWindow&,
                                  platform::Bitmap& bitmap) {
        events.push_back("print " + name + " " + std::to_string(bitmap.width()));
    };
    Build("<p>Texto <panel name=meio width=50%></p>");
    Layout(doc);
    Draw(doc, 0);
    platform::PanelWindow& window = doc.panels.at(0)->Panel();
    ASSERT_TRUE(window.isVisible());
    ASSERT_EQ(window.width(), 200);
    {
        TSectionList copy(doc, true);
        ASSERT_EQ(copy.panels.size(), 1u);
        EXPECT_NE(copy.panels[0], doc.panels[0]);
        Layout(copy, 800);  // a wider page: the copy follows it, the window does not
        EXPECT_EQ(copy.panels[0]->boxWidth, 400);
        Draw(copy, 0, 600);
        EXPECT_EQ(events, std::vector<std::string>{"print meio 400"});
    }
    EXPECT_EQ(events, std::vector<std::string>{"print meio 400"})
        << "a copy going destroys nothing";
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.width(), 200);
    EXPECT_EQ(host.windows.size(), 1u);
}

TEST_F(PanelTest, PanelsPrintWithPicturesOffAndAreNotPictures) {
    Build("<p><img src=missing.gif width=30 height=30><panel name=p width=40 height=20></p>");
    Layout(doc);
    Draw(doc, 0);
    const TPanelObj& panel = *doc.panels.at(0);
    // A click on the panel is not a click on a picture; one on the picture (left of
    // the panel) is.
    TFloatingObj* hit = nullptr;
    int x = 0, y = 0;
    EXPECT_FALSE(doc.HitTestImage(panel.paintX + 1, panel.drawY + 1, hit, x, y));
    bool pictureFound = false;
    for (int py = 0; py < 60 && !pictureFound; ++py)
        pictureFound = doc.HitTestImage(10, py, hit, x, y);
    EXPECT_TRUE(pictureFound && hit->IsImage());

    doc.showImages = false;
    TSectionList copy(doc, true);
    EXPECT_EQ(copy.panels.size(), 1u) << "the panel is printed without pictures";
}

TEST_F(PanelTest, PanelTagsTakeTheirPlaceInParagraphsListItemsAndPreformattedText) {
    Build(
        "<p>Um <panel name=p1> dois <b>tres <panel name=p2></b></p>"
        "<ul><li>item <panel name=li1><li><panel name=li2> fim</ul>"
        "<pre>linha <panel name=pre1> resto\nsegunda</pre>"
        "<div>solto <panel name=div1></div>");
    EXPECT_EQ(Names(doc.panels),
              (std::vector<std::string>{"p1", "p2", "li1", "li2", "pre1", "div1"}));
    // Each sits on a character 4 of its section, the text around it kept.
    int found = 0;
    std::function<void(TCellBasic&)> walk = [&](TCellBasic& cell) {
        for (auto& item : cell.items) {
            if (auto* block = dynamic_cast<TBlock*>(item.get())) walk(block->content);
            auto* section = dynamic_cast<TSection*>(item.get());
            if (!section) continue;
            for (auto& object : section->InlineObjects()) {
                auto* panel = dynamic_cast<TPanelObj*>(object.get());
                ASSERT_NE(panel, nullptr);
                EXPECT_EQ(section->textBuffer.str().at(static_cast<std::size_t>(panel->textOffset)),
                          kObjectChar);
                if (panel->name == "pre1") {
                    EXPECT_EQ(section->textBuffer.substr(0, 14), u"linha \x04 resto")
                        << "the text around it";
                }
                ++found;
            }
        }
    };
    walk(doc);
    EXPECT_EQ(found, 6);
}
