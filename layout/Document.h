#pragma once
// The document: the cell of top-level items plus everything that belongs to a loaded
// page as a whole (style sheet, links, anchors, selection, background, deferred
// drawing, pagination while printing, the animation timer).

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "html/Anchors.h"
#include "html/ImageMaps.h"
#include "image/ImageCache.h"
#include "layout/BoxSpecs.h"
#include "layout/Cell.h"
#include "layout/FloatingObj.h"
#include "layout/Form.h"
#include "layout/FormControls.h"
#include "layout/FormData.h"
#include "layout/TextCollector.h"
#include "platform/Errors.h"
#include "platform/FormControlWindow.h"
#include "platform/PanelWindow.h"
#include "platform/StringList.h"
#include "platform/TabStopWindow.h"
#include "style/StyleList.h"

class TFontObj;
class TImageObj;
class TPanelObj;

// What the document asks of the viewer that shows it.
class TDocumentHost {
public:
    virtual ~TDocumentHost() = default;
    virtual void InvalidatePaintSurface() {}
    // Only this part of the paint surface needs painting again (an animated picture's
    // new frame); a host without finer updates repaints it all.
    virtual void InvalidateRect(const platform::Rect& area) { InvalidatePaintSurface(); }
    virtual void LayoutProgress(int percent) {}
    virtual void BackgroundChanged(platform::TColor color) {}
    // Starts (interval in ms) or stops (0) the animation timer; ticks come back as
    // TSectionList::AnimationTick.
    virtual void SetAnimationTimer(int intervalMs) {}
    // Pictures arrived that images were waiting for: their sizes may have changed.
    virtual void RelayoutNeeded() {}
    // A window for an embedded panel, a child of the paint surface. Without one of its
    // own, the host gives a panel that only keeps its state.
    virtual std::unique_ptr<platform::PanelWindow> CreatePanelWindow() {
        return std::make_unique<platform::DetachedPanelWindow>();
    }
    // A link's place in the Tab order. Without one of its own, the host gives a tab stop
    // that only keeps its state.
    virtual std::unique_ptr<platform::TabStopWindow> CreateTabStopWindow() {
        return std::make_unique<platform::DetachedTabStopWindow>();
    }
    // A link (at the y of its line) or a form control took the keyboard focus.
    virtual void ScrollFocusedIntoView(int y, bool formControl) {}
    // Enter was pressed on a link's tab stop: follow it once the key is handled.
    virtual void FollowLinkLater(const TUrlTarget& link) {}

    // ---- Form controls ----
    // A window for a form control, a child of the paint surface. Without one of its own,
    // the host gives a control that only keeps its state.
    virtual std::unique_ptr<platform::FormControlWindow> CreateFormControlWindow(
        platform::FormControlKind kind) {
        return std::make_unique<platform::DetachedFormControlWindow>(kind);
    }
    // Whether anyone receives submitted forms; without, a form is never gathered.
    virtual bool HandlesFormSubmit() const { return false; }
    // A form was submitted: its "name=value" pairs in document order. The host acts on it
    // after the click that caused it has been handled.
    virtual void FormSubmitted(const std::string& action, const std::string& target,
                               const std::string& encType, const std::string& method,
                               const platform::StringList& results) {}
    // A file input's "Browse..." was pressed: `fileName` comes in as the edit's text and
    // goes out as the file chosen (unchanged when none was).
    virtual void FileBrowse(TFormControlObj& control, std::string& fileName) {}
    // A control was clicked, took or lost the focus (with its ONFOCUS or ONBLUR script,
    // when it has one), or changed (with its ONCHANGE script).
    virtual void ObjectClick(TFormControlObj& control, const std::string& onClick) {}
    virtual void ObjectFocus(TFormControlObj& control, const std::string& script) {}
    virtual void ObjectBlur(TFormControlObj& control, const std::string& script) {}
    virtual void ObjectChange(TFormControlObj& control, const std::string& script) {}
};

// What the host answers to an image request: the picture's bytes, nothing (the file
// is then read as usual), or "wait" when it will supply the picture later through
// TSectionList::InsertImage.
struct TImageStream {
    std::string bytes;
    bool wait = false;
};

// The host's requests for pictures and its hooks for embedded panels. Each is optional.
struct TPictureEvents {
    // A ready bitmap for a name. `transparentColor` (0x00BBGGRR) makes that colour show
    // the page through.
    std::function<void(const std::string& name, std::shared_ptr<platform::Bitmap>& bitmap,
                       std::optional<platform::TColor>& transparentColor)>
        onBitmapRequest;
    // The picture's file contents for a name.
    std::function<void(const std::string& name, TImageStream& stream)> onImageRequest;
    // Turns a picture name into the name the requests above and the cache use.
    std::function<std::string(const std::string& name)> onExpandName;
    // A panel's window was made: (NAME, window, SRC, TYPE). The host may resize it.
    std::function<void(const std::string& name, platform::PanelWindow& panel,
                       const std::string& source, const std::string& type)>
        onPanelCreate;
    // The panel's window is about to go.
    std::function<void(const std::string& name, platform::PanelWindow& panel)> onPanelDestroy;
    // Paints a panel for the printer into a bitmap of the panel's size.
    std::function<void(const std::string& name, platform::PanelWindow& panel,
                       platform::Bitmap& bitmap)>
        onPanelPrint;
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
    // Whether painting this area of the paint surface draws the picture again (or
    // paints over where it was). A paint elsewhere leaves it drawn.
    virtual bool ShownIn(const platform::Rect& area) const { return true; }
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
    // The viewer's defaults for the next load, into the default style sheet;
    // `linkUnderline` is false when the viewer's links are not to be underlined.
    void SetDefaults(const std::string& fontName, const std::string& preFontName, double size,
                     platform::TColor color, platform::TColor linkColor,
                     platform::TColor visitedColor, platform::TColor activeColor, bool hoverLinks,
                     platform::TColor background, int charset, int marginHeight, int marginWidth,
                     bool linkUnderline = true);
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
    // The values of the page's forms, or none when it has no forms.
    std::unique_ptr<TFormData> FormData() const;
    // Puts values kept by FormData back into the controls of the same page.
    void SetFormData(const TFormData& data);
    void HideUnpaintedControls();
    // The controls placed so far leave the page: their forms and the Tab order let go
    // of them (text before BODY is dropped with its controls).
    void DropControls();
    void AnimationTick();
    // Runs the viewer's animation timer for the animated pictures (not on a copy).
    void StartAnimationTimer();

    // The page's background picture, looked up once per page; null when there is none
    // (yet: a picture the host supplies later arrives through InsertImage).
    const platform::Bitmap* BackgroundImage();
    // The host supplies a picture it asked to wait for: every image waiting for that
    // name takes it, and the host is asked to lay the page out again.
    void InsertImage(const std::string& name, std::string_view bytes);
    // Images join the waiting list under their cache key and leave it when they go.
    void AddPendingImage(const std::string& key, TImageObj* image);
    void ForgetPendingImage(TImageObj* image);
    bool HasPictureRequests() const { return events.onBitmapRequest || events.onImageRequest; }
    // The name a picture is requested and cached under: with request events, the
    // host's expansion of `given` (or `given` itself); without, the file name the page
    // already expanded.
    std::string PictureRequestName(const std::string& given, const std::string& expanded) const;

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
    int animationInterval = 0;  // ms; 0 until the timer is first started
    std::vector<TFormControlObj*> allControls;  // owned by their forms
    std::vector<std::unique_ptr<ThtmlForm>> forms;
    // Controls draw their printed pictures on screen too (pages rendered without a
    // window to show controls in).
    bool controlsAsPictures = false;
    std::vector<TPanelObj*> panels;  // owned by their sections
    // Waiting images by the upper-cased name their picture will come under. The page's
    // background may wait too; it has no image object of its own.
    std::map<std::string, std::vector<TImageObj*>> pendingImages;
    std::shared_ptr<const platform::Bitmap> backgroundBitmap;
    std::shared_ptr<const platform::Bitmap> backgroundMask;
    TPictureEvents events;
    std::vector<TFontObj*> linkRuns;
    // The link fonts the last link run was given: the runs of one link, and most links
    // of a page, share one copy.
    std::shared_ptr<const TFontInfoArray> lastLinkFonts;
    TFontObj* hoverLink = nullptr;
    TFloatingObj* hoverImage = nullptr;
    bool hoverLinksOn = false;
    bool showCaret = false;
    bool leftButtonDown = false;
    std::unique_ptr<TStyleList> styleSheet;
    std::vector<TImageRec> paintOrder;
    int* firstBaselineSink = nullptr;
    std::unique_ptr<TIDNameList> anchors;
    // The page's items in document order (text sections, table cells' items...), listed
    // at the first call after a layout: loading a page does not walk it once more for
    // them, finding text and keeping the place across a re-layout do.
    const std::vector<TSectionBase*>& ItemsByPosition();
    // The items' RegisterPositions list themselves with this.
    void ListItem(TSectionBase* item) { itemsByPosition_.push_back(item); }
    // After an item was dropped: the items are listed again when next asked for.
    void ForgetItemPositions() {
        itemsByPosition_.clear();
        positionsPending_ = !isPrintCopy;
    }
    TStringBitmapList* imageCache = nullptr;
    // The box settings the page's blocks share.
    TBoxSpecPool boxSpecPool;
    // The names blocks were given last (their tags, and tags with classes).
    platform::RecentInterned recentBlockNames;
    // The host's expansion of a picture name from a style sheet or attribute into a file
    // name (relative names start at the page's folder); without one names are used as
    // they are.
    std::function<std::string(const std::string&)> expandName;
    std::string ExpandPictureName(const std::string& name) const { return expandName ? expandName(name) : name; }
    int sectionTotal = 0;
    int layoutCycleCount = 0;
    int progressBase = 0;
    bool isPrintCopy = false;
    // Key of tab index and arrival order, duplicates allowed.
    std::multimap<std::string, std::pair<TFontObj*, TFormControlObj*>> tabOrder;
    bool tooManyLinks = false;
    // The colour of page background behind text, for rules on white pages.
    platform::TColor WindowColor() const;

private:
    void TakeBackground(std::shared_ptr<platform::Bitmap> picture,
                        std::shared_ptr<platform::Bitmap> mask, const std::string& key);
    void ReleaseBackground();

    int tabArrivals_ = 0;
    std::vector<TSectionBase*> itemsByPosition_;
    bool positionsPending_ = false;     // laid out, items not listed yet
    std::string backgroundKey_;         // the cache use the background holds
    std::string backgroundPendingKey_;  // the name the background waits for
};
