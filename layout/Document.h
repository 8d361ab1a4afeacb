#pragma once
// The document: the cell of top-level items plus everything that belongs to a loaded
// page as a whole (style sheet, links, anchors, selection, background, deferred
// drawing, pagination while printing, the animation timer).

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "html/Anchors.h"
#include "html/ImageMaps.h"
#include "image/ImageCache.h"
#include "layout/Cell.h"
#include "layout/FloatingObj.h"
#include "layout/TextCollector.h"
#include "platform/Errors.h"
#include "style/StyleList.h"

class TFontObj;

// What the document asks of the viewer that shows it.
class TDocumentHost {
public:
    virtual ~TDocumentHost() = default;
    virtual void InvalidatePaintSurface() {}
    virtual void LayoutProgress(int percent) {}
    virtual void BackgroundChanged(platform::TColor color) {}
    // Starts (interval in ms) or stops (0) the animation timer; ticks come back as
    // TSectionList::AnimationTick.
    virtual void SetAnimationTimer(int intervalMs) {}
};

// An animated picture the document advances on timer ticks.
class TAnimatedPicture {
public:
    virtual ~TAnimatedPicture() = default;
    virtual void Rewind() = 0;
    virtual void Stop() = 0;
    virtual void Start() = 0;
    // Moves on a frame if due; repaints itself where it was drawn.
    virtual void Advance() = 0;
    bool drawn = false;
};

// The screen's colour depth class and the shared 256-colour palette of 8-bit screens.
int ScreenDepth();  // 4, 8 or 24
void SetScreenDepthFromBits(int bitsPerPixel, int planes);
// The shared palette (entries 0x00BBGGRR), or none when the depth is not 8.
const std::array<platform::TColor, 256>* SharedPalette();
// The palette an 8-bit screen uses, built over the given system entries.
std::array<platform::TColor, 256> BuildSharedPalette(const std::array<platform::TColor, 256>& system);

// The error a layout raises for content it cannot lay out (a table with too many
// columns); the cell reports it and drops the item.
class EProcessError : public platform::Exception {
public:
    using Exception::Exception;
};

class TSectionList : public TCell, public TStyleListOwner {
public:
    explicit TSectionList(TDocumentHost* host = nullptr);
    // A print copy of source.
    TSectionList(const TSectionList& source, bool printCopy);
    ~TSectionList() override;

    void Clear();
    void SetDefaults(const std::string& fontName, const std::string& preFontName, double size,
                     platform::TColor color, platform::TColor linkColor, platform::TColor visitedColor,
                     platform::TColor activeColor, bool hoverLinks, platform::TColor background,
                     int charset, int marginHeight, int marginWidth);
    void SetBackgroundColor(platform::TColor color);
    void SetBackgroundImage(const std::string& name, const TBackgroundPosition& position);

    int LayoutCell(platform::Canvas& canvas, int Y, int Width, int availHeight, int& scrollWidth,
                   int& cursor) override;
    void SetScrollY(int Y);
    int Draw(platform::Canvas& canvas, const platform::Rect& clip, int paintWidth, int X, int Y,
             int refX, int refY) override;
    unsigned HitTestLink(platform::Canvas& canvas, int X, int Y, std::string& title,
                         TFormControlObj*& control, const TUrlTarget*& linkTarget) override;
    void SetPressed(bool down);
    void ClearHover();
    int CursorPosOfSource(int sourcePos, bool prev);
    int SelectionLength();
    void CopySelection(int length);
    int SelectionToBuffer(std::u16string& buffer, int bufferSize);
    TSectionBase* ItemAtY(int Y, int& itemTopY, int& index);
    void HideUnpaintedControls();
    void AnimationTick();

    // Links and tab order, from the builder.
    void AddLinkRun(TFontObj* run);
    void ForgetLinkRun(TFontObj* run);
    void AddTabEntry(int tabIndex, TFontObj* linkRun, TFormControlObj* control);
    int NextSectionOrdinal() { return ++sectionTotal; }
    // Reports a layout error through the dialog service.
    void ReportLayoutError(const std::string& message);

    void SwitchOnHoverTracking() override { hoverLinksOn = true; }

    TDocumentHost* viewer;
    bool showImages = true;
    bool isPrinting = false;
    int scrollY = 0;
    bool scrollChanged = false;
    int selStart = 0;
    int selEnd = 0;
    std::string preFontName;
    bool printBackgrounds = false;
    bool printMonoBlack = false;
    platform::TColor linkColor = 0, visitedColor = 0, activeColor = 0;
    platform::TColor backgroundColor = 0x00FFFFFF;
    std::string backgroundName;
    TBackgroundPosition backgroundPlacement;
    bool backgroundLooked = false;
    std::vector<TAnimatedPicture*> animatedImages;
    TTextCollector* textCollector = nullptr;
    int pageBottomY = 0;
    bool pageShortened = false;
    bool pageIsEmpty = true;
    std::vector<std::unique_ptr<TMapItem>> imageMaps;
    bool animationTimerRunning = false;
    int animationInterval = 0;
    std::vector<TFormControlObj*> allControls;
    std::vector<TFontObj*> linkRuns;
    TFontObj* hoverLink = nullptr;
    TFloatingObj* hoverImage = nullptr;
    bool hoverLinksOn = false;
    bool showCaret = false;
    bool leftButtonDown = false;
    std::unique_ptr<TStyleList> styleSheet;
    std::vector<TImageRec> paintOrder;
    int* firstBaselineSink = nullptr;
    std::unique_ptr<TIDNameList> anchors;
    std::vector<TSectionBase*> itemsByPosition;
    TStringBitmapList* imageCache = nullptr;
    // The host's expansion of a picture name from a style sheet or attribute into a file
    // name (relative names start at the page's folder); without one names are used as
    // they are.
    std::function<std::string(const std::string&)> expandName;
    std::string ExpandPictureName(const std::string& name) const { return expandName ? expandName(name) : name; }
    int sectionTotal = 0;
    int layoutCycleCount = 0;
    int progressBase = 0;
    bool isPrintCopy = false;
    // Key "%.5d%.3d" of tab index and arrival order, duplicates allowed.
    std::multimap<std::string, std::pair<TFontObj*, TFormControlObj*>> tabOrder;
    bool tooManyLinks = false;
    // The colour of page background behind text, for rules on white pages.
    platform::TColor WindowColor() const;

private:
    int tabArrivals_ = 0;
};
