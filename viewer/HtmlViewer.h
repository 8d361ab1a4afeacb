#pragma once
// THTMLViewer: the control that shows one HTML page (or a text file, or a picture),
// lays it out for its own width, scrolls it, paints it and keeps a history of the files
// and links seen. The page itself is a TSectionList that the builder fills; the viewer
// decides widths, scroll bars, offsets and when to draw.
//
// The viewer's code is spread by concern: HtmlViewer.cpp (construction, properties,
// loading, anchors, link paths), ViewerHistory.cpp (the history and visited links),
// ViewerLayout.cpp (layout against the window, scroll bars, scrolling, resizing, the
// border), ViewerInput.cpp (mouse, keyboard and wheel), ViewerFind.cpp (finding text),
// ViewerForms.cpp (the windows and events of the page's form controls),
// PaintPanel.cpp (painting), Printing.cpp (printing and counting printer pages).

#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "image/ImageCache.h"
#include "layout/Document.h"
#include "layout/DocumentDefaults.h"
#include "viewer/ViewerTypes.h"

class QScrollBar;
class TPaintPanel;
class T32ScrollBar;
struct THtmlBuildEvents;
struct THtmlParseResult;

class THTMLViewer : public QWidget, public TDocumentHost {
  public:
    explicit THTMLViewer(QWidget* parent = nullptr);
    ~THTMLViewer() override;

    // ---- Published properties ----
    platform::TColor DefBackground() const { return defaults_.background; }
    void SetDefBackground(platform::TColor color);
    platform::TColor DefFontColor() const { return defaults_.fontColor; }
    void SetDefFontColor(platform::TColor color);
    const std::string& DefFontName() const { return defaults_.fontName; }
    void SetDefFontName(const std::string& name);
    const std::string& DefPreFontName() const { return defaults_.preFontName; }
    void SetDefPreFontName(const std::string& name);
    double DefFontSize() const { return defaults_.fontSize; }
    void SetDefFontSize(double size);
    platform::TColor DefHotSpotColor() const { return defaults_.linkColor; }
    void SetDefHotSpotColor(platform::TColor color);
    platform::TColor DefVisitedLinkColor() const { return defaults_.visitedColor; }
    void SetDefVisitedLinkColor(platform::TColor color);
    platform::TColor DefOverLinkColor() const { return defaults_.overLinkColor; }
    void SetDefOverLinkColor(platform::TColor color);
    THTMLBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(THTMLBorderStyle style);
    int HistoryMaxCount() const { return historyMaxCount_; }
    void SetHistoryMaxCount(int count);
    int VisitedMaxCount() const { return visitedMaxCount_; }
    void SetVisitedMaxCount(int count);
    int ImageCacheCount() const { return imageCacheCount_; }
    void SetImageCacheCount(int count);
    bool NoSelect() const { return noSelect_; }
    void SetNoSelect(bool noSelect);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle style);
    int CharSet() const { return defaults_.charset; }
    void SetCharSet(int charset);
    int MarginHeight() const { return defaults_.marginHeight; }
    void SetMarginHeight(int height);
    int MarginWidth() const { return defaults_.marginWidth; }
    void SetMarginWidth(int width);
    const std::string& ServerRoot() const { return serverRoot_; }
    void SetServerRoot(const std::string& root);
    double PrintMarginLeft = 2.0;
    double PrintMarginRight = 2.0;
    double PrintMarginTop = 2.0;
    double PrintMarginBottom = 2.0;
    double PrintScale() const { return printScale_; }
    void SetPrintScale(double scale);
    ThtmlViewerOptions htOptions() const { return options_; }
    void SethtOptions(ThtmlViewerOptions options);
    bool ViewImages() const { return document_->showImages; }
    void SetViewImages(bool view);

    // ---- Events (all optional) ----
    THotSpotEvent OnHotSpotCovered;
    THotSpotClickEvent OnHotSpotClick;
    TRightClickEvent OnRightClick;
    TImageClickEvent OnImageClick;
    TImageOverEvent OnImageOver;
    TMouseEvent OnMouseDouble;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TMouseEvent OnMouseDown;
    TMouseWheelEvent OnMouseWheel;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TDragDropEvent OnDragDrop;
    TDragOverEvent OnDragOver;
    TProcessingEvent OnProcessing;
    ThtProgressEvent OnProgress;
    TParseEvent OnParseBegin;
    TNotifyEvent OnParseEnd;
    TNotifyEvent OnHistoryChange;
    TMetaType OnMeta;
    TMetaRefreshType OnMetaRefresh;
    TLinkType OnLink;
    TIncludeType OnInclude;
    TSoundType OnSoundRequest;
    TGetStreamEvent OnhtStreamRequest;
    TScriptEvent OnScript;
    TFormSubmitEvent OnFormSubmit;
    TFileBrowseEvent OnFileBrowse;
    TObjectClickEvent OnObjectClick;
    ThtObjectEvent OnObjectFocus;
    ThtObjectEvent OnObjectBlur;
    ThtObjectEvent OnObjectChange;
    TPagePrinted OnPrintHeader;
    TPagePrinted OnPrintFooter;
    TPageEvent OnPrintPage;
    // The picture requests and panel hooks go to the document as they are set.
    void SetOnBitmapRequest(decltype(TPictureEvents::onBitmapRequest) handler);
    void SetOnImageRequest(decltype(TPictureEvents::onImageRequest) handler);
    void SetOnPanelCreate(decltype(TPictureEvents::onPanelCreate) handler);
    void SetOnPanelDestroy(decltype(TPictureEvents::onPanelDestroy) handler);
    void SetOnPanelPrint(decltype(TPictureEvents::onPanelPrint) handler);

    // ---- Loading ----
    // An HTML file; a part after the first "#" is an anchor to scroll to. Throws
    // EInOutError when the file is not there (the page shown stays as it was).
    void LoadFromFile(const std::string& fileName);
    // A picture file, shown alone.
    void LoadImageFile(const std::string& fileName);
    // A text file, shown as preformatted lines.
    void LoadTextFile(const std::string& fileName);
    // HTML text; `reference` names the file it stands for (relative names start at its
    // folder) and may carry an anchor after "#".
    void LoadFromString(const std::string& text, const std::string& reference = "");
    virtual void Clear();

    const std::string& CurrentFile() const { return currentFile_; }
    int CurrentFileKind() const { return currentFileKind_; }
    const std::string& PageTitle() const { return pageTitle_; }
    const std::string& DocBase() const { return docBase_; }
    const std::string& DocBaseTarget() const { return docBaseTarget_; }
    const std::string& SourceText() const { return sourceText_; }
    bool Busy() const { return busy_; }

    bool ScrollToAnchor(const std::string& dest);

    // ---- Printing (on the printer the printer settings select) ----
    // Prints pages FromPage to ToPage, counted from 1; a FromPage below 1 prints from
    // the first page.
    void Print(int FromPage, int ToPage);
    // The number of pages Print would print of the whole page.
    int NumPrinterPages();
    virtual std::string ExpandLinkPath(const std::string& name) const;

    // ---- History and visited links ----
    std::vector<std::string> HistoryFiles;
    std::vector<std::unique_ptr<PositionObj>> HistoryPositions;
    std::vector<std::string> HistoryTitles;
    int HistoryCursor = 0;
    platform::StringList VisitedList;
    void SaveHistoryEntry(const std::string& oldFile, const std::string& oldTitle, int oldKind,
                          std::unique_ptr<TFormData> oldFormData, std::int64_t oldPos);
    void ClearHistory();
    // Goes to the history entry at `index` (0 the newest): the entry left keeps its place
    // and form values, the other's file is shown at its place with its values back.
    int HistoryIndex() const { return HistoryCursor; }
    void SetHistoryIndex(int index);
    void RememberVisited(const std::string& url);
    void MarkVisitedLinks();

    // ---- Layout and scrolling ----
    void LayoutDocument();
    void UpdateScrollBars();
    void ScrollToY(int y);
    int VerticalOffset() const;
    void SetVerticalOffset(int y);
    std::int64_t LayoutPosition() const;
    void SetLayoutPosition(std::int64_t position);
    void Relayout();
    // Draws the part of the page under `clip` (paint surface coordinates).
    virtual void PaintDocument(platform::Canvas& canvas, const platform::Rect& clip);
    void UpdateBorder();
    // Hides the page's controls and the border, then repaints the whole control.
    void Repaint();

    int DocWidth() const { return docWidth_; }
    int DocHeight() const { return docHeight_; }
    int ScrollBarWidth() const { return scrollBarWidth_; }
    bool NoDraw() const { return noDraw_; }
    bool BackgroundFixed() const { return backgroundFixed_; }
    void SetBackgroundFixed(bool fixed) { backgroundFixed_ = fixed; }
    int CaretIndex() const { return caretIndex_; }
    int MetaRefreshDelay() const { return metaRefreshDelay_; }
    const std::string& MetaRefreshURL() const { return metaRefreshURL_; }

    TSectionList& Document() { return *document_; }
    TPaintPanel* PaintPanel() const { return paintPanel_; }
    T32ScrollBar* VScrollBar() const { return vScrollBar_; }
    T32ScrollBar* HScrollBar() const { return hScrollBar_; }
    QWidget* BorderPanel() const { return borderPanel_; }
    QTimer* LeaveTimer() const { return leaveTimer_; }
    const QTimer* AnimationTimer() const { return animationTimer_; }
    TStringBitmapList* ImageCache() const { return imageCache_.get(); }

    // ---- What the document asks of its host ----
    void InvalidatePaintSurface() override;
    void InvalidateRect(const platform::Rect& area) override;
    void LayoutProgress(int percent) override;
    void BackgroundChanged(platform::TColor color) override;
    void SetAnimationTimer(int intervalMs) override;
    void RelayoutNeeded() override;
    std::unique_ptr<platform::PanelWindow> CreatePanelWindow() override;
    std::unique_ptr<platform::TabStopWindow> CreateTabStopWindow() override;
    void ScrollFocusedIntoView(int y, bool formControl) override;
    void FollowLinkLater(const TUrlTarget& link) override;
    std::unique_ptr<platform::FormControlWindow> CreateFormControlWindow(
        platform::FormControlKind kind) override;
    bool HandlesFormSubmit() const override { return static_cast<bool>(OnFormSubmit); }
    void FormSubmitted(const std::string& action, const std::string& target,
                       const std::string& encType, const std::string& method,
                       const platform::StringList& results) override;
    void FileBrowse(TFormControlObj& control, std::string& fileName) override;
    void ObjectClick(TFormControlObj& control, const std::string& onClick) override;
    void ObjectFocus(TFormControlObj& control, const std::string& script) override;
    void ObjectBlur(TFormControlObj& control, const std::string& script) override;
    void ObjectChange(TFormControlObj& control, const std::string& script) override;

    // ---- Mouse, keyboard, selection ----
    // The paint surface's mouse: the button, the keys and buttons held, the point in
    // surface coordinates.
    virtual void PanelMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    virtual void PanelMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x,
                                int y);
    virtual void PanelMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    virtual void PanelDoubleClick(Qt::KeyboardModifiers shift, int x, int y);
    virtual void ExtendSelectionTo(int x, int y);
    // Follows LinkUnderMouse as a click on it does.
    void FollowLink();

    int SelStart() const { return caretIndex_; }
    void SetSelStart(int start);
    int SelLength() const;
    void SetSelLength(int length);
    std::u16string SelText();
    void SelectAll();
    void CopyToClipboard();
    const std::string& LinkUnderMouse() const { return linkUnderMouse_; }
    const std::string& TargetUnderMouse() const { return targetUnderMouse_; }
    bool MiddleScrollMode() const { return middleMode_; }

    // ---- Zoom ----
    // The page is shown at this percentage (50 to 300) of its size: laid out for the
    // window's width divided by it, painted scaled. Printing is never zoomed.
    int Zoom() const { return zoom_; }
    void SetZoom(int percent);
    // The zoom one step up (+1) or down (-1) from `percent`: steps of 10 up to 150, of 25
    // beyond, from 50 to 300.
    static int ZoomStep(int percent, int direction);
    // The paint surface's size in page pixels, and conversions between screen and page
    // pixels.
    int PageWidth() const;
    int PageHeight() const;
    int ToPage(int screen) const { return zoom_ == 100 ? screen : screen * 100 / zoom_; }
    // A very high page may not fit in screen pixels: it stops at the largest int.
    int ToScreen(int page) const {
        if (zoom_ == 100) return page;
        const std::int64_t screen = (std::int64_t{page} * zoom_ + 99) / 100;
        return static_cast<int>(std::clamp<std::int64_t>(screen, INT_MIN, INT_MAX));
    }

    // ---- Finding text in the page ----
    // Marks every match of `text` (case and accents ignored); none is current yet. The
    // number of matches.
    int FindAll(const std::u16string& text);
    // The first match at or after the top of the view (the first of all when none is).
    int FindFirstInView() const;
    // Makes a match current: selected and scrolled into view.
    bool FindGo(int index);
    // The next (or previous) match, round past either end; from the view when none is current.
    bool FindNext(bool backward);
    void FindClear();
    int FindMatchCount() const { return static_cast<int>(findMatches_.size()); }
    int FindCurrent() const { return findCurrent_; }
    // Cursor positions where the matches begin, in page order.
    const std::vector<int>& FindMatches() const { return findMatches_; }
    bool AutoScrolling() const { return autoScrolling_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    friend class TPaintPanel;

    struct SplitName {
        std::string name;
        std::string anchor;  // without the "#"
        bool hasAnchor = false;
    };
    static SplitName SplitAtHash(const std::string& text);
    // The file a load of `fileName` shows (what CurrentFile() is after it).
    static std::string FileLoadedBy(const std::string& fileName);

    void SetBusy(bool busy);
    void Progress(TProgressStage stage, int percent);
    // Runs `work` with Busy set (and the wait cursor when asked). Afterwards, also after an
    // error: the cursor back, stage 2 when `reportEnding`, Busy cleared.
    void WhileBusy(bool waitCursor, bool reportEnding, const std::function<void()>& work);
    void RaiseMetaRefresh();
    // Builds the page with `build` and shows it, also what was built before an error.
    void ShowBuilt(const std::function<void(THtmlParseResult&)>& build, const SplitName& split,
                   const std::string& oldFile, bool topWhenUnnamed);
    void LoadFile(const std::string& fileName, int kind);
    void LoadKeepingHistory(const std::string& fileName, int kind);
    void PrepareLoad();
    // What the page shown holds for the viewer goes before the document is cleared.
    void LeavePage();
    void KeepFocusOutOfPage();
    void FinishLoad(const std::string& title, const std::string& base,
                    const std::string& baseTarget);
    void ShowAnchorOrTop(const SplitName& split, const std::string& oldFile, bool topWhenUnnamed);
    THtmlBuildEvents BuildEvents(bool withCallbacks);
    void HandleMeta(const std::string& httpEq, const std::string& name, const std::string& content);
    std::string ExpandedLinkTarget(const std::string& target) const;
    void LayoutAt(int width);
    bool NeedsVerticalBar(bool assumeBar) const;
    void VScrollAction(int action);
    void HScrollAction(int action);
    void ScrollSurfaceTo(int y);
    void ScrollByKey(int y, bool strip);
    void StartAutoScroll();
    void AutoScrollStep();
    void LeaveTimerTick();
    void EndMiddleMode();
    // The word under a point, as a double click takes it: [begin, end) in cursor
    // positions; false when the point is not over a word. Moves the caret there.
    bool WordAt(int x, int y, int& begin, int& end, std::u16string& word);
    void ReportError(const std::exception& error);
    void PaintFindMatches(platform::Canvas& canvas, const platform::Rect& clip);
    std::vector<QRect> MatchBoxes(int position) const;
    void InvalidateMatch(int index);

    TDocumentDefaults defaults_;
    THTMLBorderStyle borderStyle_ = THTMLBorderStyle::htFocused;
    int historyMaxCount_ = 0;
    int visitedMaxCount_ = 50;
    int imageCacheCount_ = 5;
    bool noSelect_ = false;
    TScrollStyle scrollBars_ = TScrollStyle::ssBoth;
    std::string serverRoot_;
    double printScale_ = 1.0;
    ThtmlViewerOptions options_ = htPrintTableBackground | htPrintMonochromeBlack;

    QWidget* borderPanel_ = nullptr;
    TPaintPanel* paintPanel_ = nullptr;
    T32ScrollBar* vScrollBar_ = nullptr;
    T32ScrollBar* hScrollBar_ = nullptr;
    QTimer* leaveTimer_ = nullptr;
    QTimer* animationTimer_ = nullptr;
    std::unique_ptr<TStringBitmapList> imageCache_;
    std::unique_ptr<TSectionList> document_;

    std::string currentFile_;
    int currentFileKind_ = 0;
    std::string sourceText_;
    std::string pageTitle_;
    std::string docBase_;
    std::string docBaseTarget_;
    int caretIndex_ = 0;
    int buttonDownIndex_ = -1;
    int docWidth_ = 0;
    int docHeight_ = 0;
    int scrollBarWidth_ = 16;
    bool busy_ = false;
    // Pages are being printed or counted: the print copy draws this page's controls, so
    // the page stays until it is done.
    int printing_ = 0;
    bool noDraw_ = false;
    bool backgroundFixed_ = false;
    int metaRefreshDelay_ = 0;
    std::string metaRefreshURL_;

    std::string linkUnderMouse_;
    std::string targetUnderMouse_;
    bool leftButtonDown_ = false;
    bool dragActive_ = false;
    // Counts the pages left: a handler that loaded or cleared changed it.
    std::uint64_t pageGeneration_ = 0;
    bool autoScrolling_ = false;
    bool middleMode_ = false;
    int middleStartY_ = 0;
    bool linkJustClicked_ = false;
    QPoint pointer_;  // where the mouse was last seen over the paint surface
    QTimer* autoScrollTimer_ = nullptr;
    qint64 lastAutoScrollStep_ = -1000;  // ms, kept across runs of the loop
    std::string shownTitle_;

    int zoom_ = 100;
    std::vector<int> findMatches_;
    int findCurrent_ = -1;
    int findLength_ = 0;
};
