#pragma once
// Embedded panels (PANEL): windows in the text that a host program fills. The document
// sizes and places them like pictures; on screen the window itself is moved into
// place, on paper the host paints it or a box with its ALT text stands in for it.

#include <memory>
#include <string>

#include "layout/FloatingObj.h"
#include "platform/PanelWindow.h"

class TAttributeList;
class TSectionList;

class TPanelObj : public TFloatingObj {
  public:
    // Makes the window through the document's host, sizes it from the attributes and
    // tells the host it exists.
    TPanelObj(TSectionList* document, const TAttributeList& attributes);
    // Tells the host the window goes, unless this is a print copy.
    ~TPanelObj() override;

    std::unique_ptr<TFloatingObj> CreatePrintCopy(TSectionList* document) const override;
    void SizeFor(platform::Canvas& canvas, int availWidth, TFontObj* font) override;
    bool WidthIsPercent() const override { return widthIsPercent; }
    std::string AltText() const override { return altText; }
    // On screen: moves the window there and shows it. On paper: paints it.
    void Draw(platform::Canvas& canvas, int x, int y) override;
    void Hide();

    platform::PanelWindow& Panel() const { return *panel_; }

    std::string name;
    std::string altText;  // UTF-8
    std::string source;
    std::string type;
    int givenWidth = 0;  // a percentage of the room when widthIsPercent
    bool widthIsPercent = false;
    double ratio = 0;  // height = ratio × width when above 0
    bool shownSinceScroll = false;

  private:
    TPanelObj(TSectionList* document, const TPanelObj& source);
    void Print(platform::Canvas& canvas, int x, int y);

    TSectionList* document_;
    // Shared with print copies, which may outlive the page they were copied from.
    std::shared_ptr<platform::PanelWindow> panel_;
    bool printCopy_ = false;
    int width_ = 0;  // a print copy's own size; live panels use the window's
    int height_ = 0;
};
