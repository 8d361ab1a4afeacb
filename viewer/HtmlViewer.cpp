#include "viewer/HtmlViewer.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "html/Builder.h"
#include "html/Urls.h"
#include "layout/FontObj.h"
#include "platform/Files.h"
#include "platform/ScopedCount.h"
#include "platform/Text.h"
#include "platform/qt/QtPanelWindow.h"
#include "viewer/PaintPanel.h"
#include "viewer/ScrollBar32.h"

namespace {

std::string TrimmedCopy(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
    return std::string(s);
}

// A name as an attribute value between double quotes.
std::string QuotedAttribute(const std::string& value) {
    std::string out;
    for (char c : value) {
        if (c == '&')
            out += "&amp;";
        else if (c == '"')
            out += "&quot;";
        else
            out += c;
    }
    return out;
}

}  // namespace

THTMLViewer::THTMLViewer(QWidget* parent) : QWidget(parent) {
    resize(150, 150);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);

    auto* border = new QFrame(this);
    border->setObjectName("borderPanel");
    border->setFrameStyle(QFrame::NoFrame);
    QPalette framePalette = border->palette();
    framePalette.setColor(QPalette::WindowText, QColor(0, 0, 0));
    border->setPalette(framePalette);
    border->setGeometry(rect());
    borderPanel_ = border;

    paintPanel_ = new TPaintPanel(this, this);
    paintPanel_->setObjectName("paintPanel");
    paintPanel_->move(1, 1);

    vScrollBar_ = new T32ScrollBar(Qt::Vertical, this);
    vScrollBar_->setObjectName("vScrollBar");
    vScrollBar_->setSingleStep(16);
    vScrollBar_->hide();
    hScrollBar_ = new T32ScrollBar(Qt::Horizontal, this);
    hScrollBar_->setObjectName("hScrollBar");
    hScrollBar_->setSingleStep(15);
    hScrollBar_->hide();
    scrollBarWidth_ = vScrollBar_->sizeHint().width();
    connect(vScrollBar_, &QAbstractSlider::actionTriggered, this,
            [this](int action) { VScrollAction(action); });
    connect(hScrollBar_, &QAbstractSlider::actionTriggered, this,
            [this](int action) { HScrollAction(action); });

    leaveTimer_ = new QTimer(this);
    leaveTimer_->setInterval(200);
    connect(leaveTimer_, &QTimer::timeout, this, [this] { LeaveTimerTick(); });
    autoScrollTimer_ = new QTimer(this);
    autoScrollTimer_->setInterval(10);
    connect(autoScrollTimer_, &QTimer::timeout, this, [this] { AutoScrollStep(); });
    // Over text the viewer shows its own text cursor (see LayoutDocument).
    setCursor(Qt::IBeamCursor);
    animationTimer_ = new QTimer(this);
    connect(animationTimer_, &QTimer::timeout, this, [this] { document_->AnimationTick(); });

    document_ = std::make_unique<TSectionList>(this);
    document_->showImages = true;
    document_->preFontName = defaults_.preFontName;
    paintPanel_->SetColor(defaults_.background);
    SethtOptions(options_);
    UpdateScrollBars();
}

THTMLViewer::~THTMLViewer() {
    animationTimer_->stop();
    document_->Clear();
    imageCache_.reset();
    document_.reset();
}

// ---- Properties ----

void THTMLViewer::SetDefBackground(platform::TColor color) {
    if (busy_ || color == defaults_.background) return;
    defaults_.background = color;
    paintPanel_->SetColor(color);
}

void THTMLViewer::SetDefFontColor(platform::TColor color) {
    defaults_.fontColor = color;
}
void THTMLViewer::SetDefFontName(const std::string& name) {
    defaults_.fontName = name;
}

void THTMLViewer::SetDefPreFontName(const std::string& name) {
    if (platform::AnsiSameText(name, defaults_.preFontName)) return;
    defaults_.preFontName = name;
    document_->preFontName = name.substr(0, 32);
}

void THTMLViewer::SetDefFontSize(double size) {
    defaults_.fontSize = size;
}
void THTMLViewer::SetDefHotSpotColor(platform::TColor color) {
    defaults_.linkColor = color;
}
void THTMLViewer::SetDefVisitedLinkColor(platform::TColor color) {
    defaults_.visitedColor = color;
}
void THTMLViewer::SetDefOverLinkColor(platform::TColor color) {
    defaults_.overLinkColor = color;
}

void THTMLViewer::SetBorderStyle(THTMLBorderStyle style) {
    if (style == borderStyle_) return;
    const bool roomChanged =
        (style == THTMLBorderStyle::htNone) != (borderStyle_ == THTMLBorderStyle::htNone);
    borderStyle_ = style;
    UpdateBorder();
    // The border's pixel on each side comes or goes: the page moves and is laid out again.
    if (roomChanged && !busy_) {
        LayoutDocument();
        ScrollToY(VerticalOffset());
    }
}

void THTMLViewer::SetHistoryMaxCount(int count) {
    if (count < 0 || count == historyMaxCount_) return;
    if (count < historyMaxCount_) ClearHistory();
    historyMaxCount_ = count;
}

void THTMLViewer::SetVisitedMaxCount(int count) {
    count = std::max(0, count);
    if (count == visitedMaxCount_) return;
    visitedMaxCount_ = count;
    if (count == 0) {
        VisitedList.clear();
        for (TFontObj* run : document_->linkRuns) run->MarkVisited(false);
        InvalidatePaintSurface();
        return;
    }
    while (VisitedList.count() > static_cast<std::size_t>(count)) VisitedList.removeLast();
}

void THTMLViewer::SetImageCacheCount(int count) {
    count = std::clamp(count, 0, 20);
    if (count == imageCacheCount_) return;
    imageCacheCount_ = count;
    if (imageCache_) imageCache_->SetCacheCount(count);
}

void THTMLViewer::SetNoSelect(bool noSelect) {
    if (noSelect == noSelect_) return;
    noSelect_ = noSelect;
    if (noSelect) {
        document_->selStart = document_->selEnd = -1;
        InvalidatePaintSurface();
    }
}

void THTMLViewer::SetScrollBars(TScrollStyle style) {
    if (style == scrollBars_) return;
    scrollBars_ = style;
    if (busy_) return;
    LayoutDocument();
    ScrollToY(VerticalOffset());
}

void THTMLViewer::SetCharSet(int charset) {
    defaults_.charset = charset;
}
void THTMLViewer::SetMarginHeight(int height) {
    defaults_.marginHeight = height;
}
void THTMLViewer::SetMarginWidth(int width) {
    defaults_.marginWidth = width;
}

void THTMLViewer::SetServerRoot(const std::string& root) {
    std::string value = TrimmedCopy(root);
    while (!value.empty() && (value.back() == '/' || value.back() == '\\')) value.pop_back();
    serverRoot_ = value;
}

void THTMLViewer::SetPrintScale(double scale) {
    if (std::isnan(scale)) return;  // no scale at all: the one set stays
    printScale_ = std::clamp(scale, 0.25, 4.0);
}

void THTMLViewer::SethtOptions(ThtmlViewerOptions options) {
    const bool barChanged = (options ^ options_) & htShowVScroll;
    options_ = options;
    document_->hoverLinksOn = options & htOverLinksActive;
    document_->printBackgrounds = options & htPrintTableBackground;
    document_->printMonoBlack = options & htPrintMonochromeBlack;
    document_->showCaret = options & htShowDummyCaret;
    defaults_.linkUnderline = !(options & htNoLinkUnderline);
    defaults_.hoverLinks = options & htOverLinksActive;
    if (barChanged && !busy_) {
        LayoutDocument();
        ScrollToY(VerticalOffset());
    }
}

void THTMLViewer::SetViewImages(bool view) {
    if (busy_ || view == document_->showImages) return;
    WhileBusy(/*waitCursor=*/true, /*reportEnding=*/false, [&] {
        const std::int64_t position = LayoutPosition();
        document_->showImages = view;
        document_->backgroundLooked = false;
        document_->BackgroundImage();
        LayoutDocument();
        SetLayoutPosition(position);
        InvalidatePaintSurface();
    });
}

void THTMLViewer::SetOnBitmapRequest(decltype(TPictureEvents::onBitmapRequest) handler) {
    document_->events.onBitmapRequest = std::move(handler);
}
void THTMLViewer::SetOnImageRequest(decltype(TPictureEvents::onImageRequest) handler) {
    document_->events.onImageRequest = std::move(handler);
}
void THTMLViewer::SetOnPanelCreate(decltype(TPictureEvents::onPanelCreate) handler) {
    document_->events.onPanelCreate = std::move(handler);
}
void THTMLViewer::SetOnPanelDestroy(decltype(TPictureEvents::onPanelDestroy) handler) {
    document_->events.onPanelDestroy = std::move(handler);
}
void THTMLViewer::SetOnPanelPrint(decltype(TPictureEvents::onPanelPrint) handler) {
    document_->events.onPanelPrint = std::move(handler);
}

// ---- Loading ----

THTMLViewer::SplitName THTMLViewer::SplitAtHash(const std::string& text) {
    SplitName split;
    const auto hash = text.find('#');
    split.name = text.substr(0, hash);
    if (hash != std::string::npos) {
        split.anchor = text.substr(hash + 1);
        split.hasAnchor = true;
    }
    return split;
}

std::string THTMLViewer::FileLoadedBy(const std::string& fileName) {
    return platform::ExpandFileName(SplitAtHash(fileName).name);
}

void THTMLViewer::SetBusy(bool busy) {
    if (busy == busy_) return;
    busy_ = busy;
    if (OnProcessing) OnProcessing(this, busy);
}

void THTMLViewer::Progress(TProgressStage stage, int percent) {
    if (OnProgress) OnProgress(this, stage, percent);
}

void THTMLViewer::WhileBusy(bool waitCursor, bool reportEnding, const std::function<void()>& work) {
    if (waitCursor) QApplication::setOverrideCursor(Qt::WaitCursor);
    // The end runs however the work ends. Busy goes false even when a handler of the end
    // throws, and after an error the end's own errors give way to the first one.
    const auto end = [&] {
        if (waitCursor) QApplication::restoreOverrideCursor();
        if (reportEnding) {
            try {
                Progress(TProgressStage::psEnding, 100);
            } catch (...) {
                SetBusy(false);
                throw;
            }
        }
        SetBusy(false);
    };
    try {
        SetBusy(true);
        work();
    } catch (...) {
        try {
            end();
        } catch (...) {
        }
        throw;
    }
    end();
}

void THTMLViewer::RaiseMetaRefresh() {
    if (metaRefreshDelay_ > 0 && OnMetaRefresh)
        OnMetaRefresh(this, metaRefreshDelay_, metaRefreshURL_);
}

void THTMLViewer::LoadFromFile(const std::string& fileName) {
    LoadKeepingHistory(fileName, 0);
}
void THTMLViewer::LoadTextFile(const std::string& fileName) {
    LoadKeepingHistory(fileName, 1);
}
void THTMLViewer::LoadImageFile(const std::string& fileName) {
    LoadKeepingHistory(fileName, 2);
}

void THTMLViewer::LoadKeepingHistory(const std::string& fileName, int kind) {
    if (busy_ || printing_ || fileName.empty()) return;
    const std::string oldFile = currentFile_;
    const std::string oldTitle = pageTitle_;
    const int oldKind = currentFileKind_;
    // Only a load of another file makes a history entry. Without a history nothing would
    // keep the place on the page left (finding it walks the whole page) nor its forms (a
    // large form is not gathered for nothing).
    const bool entryMayCome =
        historyMaxCount_ > 0 && (kind != oldKind || FileLoadedBy(fileName) != oldFile);
    const std::int64_t oldPosition = entryMayCome ? LayoutPosition() : 0;
    std::unique_ptr<TFormData> oldForms = entryMayCome ? document_->FormData() : nullptr;
    LoadFile(fileName, kind);
    if (currentFile_ != oldFile || currentFileKind_ != oldKind)
        SaveHistoryEntry(oldFile, oldTitle, oldKind, std::move(oldForms), oldPosition);
    // Raised once the history tells of this load, so that a handler loading the next page
    // at once finds it in its place.
    RaiseMetaRefresh();
}

void THTMLViewer::PrepareLoad() {
    LeavePage();
    if (!imageCache_) {
        imageCache_ = std::make_unique<TStringBitmapList>();
        imageCache_->SetCacheCount(imageCacheCount_);
    }
    ::PrepareLoad(*document_, *imageCache_, defaults_);
    document_->expandName = [this](const std::string& name) { return ExpandLinkPath(name); };
    // Names read while the page is built start from the new page, never from the base of
    // the page before it.
    docBase_.clear();
    docBaseTarget_.clear();
}

THtmlBuildEvents THTMLViewer::BuildEvents(bool withCallbacks) {
    THtmlBuildEvents events;
    if (withCallbacks) {
        if (OnLink)
            events.OnLink = [this](const std::string& rel, const std::string& rev,
                                   const std::string& href) { OnLink(this, rel, rev, href); };
        events.MetaHandler = [this](const std::string& httpEq, const std::string& name,
                                    const std::string& content) {
            HandleMeta(httpEq, name, content);
        };
        if (OnSoundRequest)
            events.OnSoundRequest = [this](const std::string& src, int loop, bool terminate) {
                OnSoundRequest(this, src, loop, terminate);
            };
        if (OnInclude)
            events.OnInclude = [this](const std::string& command,
                                      const platform::StringList& params, std::string& text) {
                OnInclude(this, command, params, text);
            };
    }
    if (OnScript)
        events.OnScript = [this](const std::string& name, const std::string& language,
                                 const std::string& script) {
            OnScript(this, name, language, script);
        };
    if (OnhtStreamRequest)
        events.OnStreamRequest = [this](const std::string& src, std::string& stream) {
            return OnhtStreamRequest(this, src, stream);
        };
    // Names in the page expand as the document expands them when it reads them.
    events.ExpandName = document_->expandName;
    events.OnBase = [this](const std::string& base) { docBase_ = base; };
    events.OnProgress = [this](int percent) { Progress(TProgressStage::psRunning, percent); };
    return events;
}

void THTMLViewer::ShowBuilt(const std::function<void(THtmlParseResult&)>& build,
                            const SplitName& split, const std::string& oldFile,
                            bool topWhenUnnamed) {
    THtmlParseResult result;
    const auto show = [&] {
        FinishLoad(result.Title, result.BaseUrl, result.BaseTarget);
        ShowAnchorOrTop(split, oldFile, topWhenUnnamed);
        InvalidatePaintSurface();
    };
    try {
        build(result);
    } catch (...) {
        // What was built is shown before the error goes on to the caller.
        show();
        throw;
    }
    show();
}

void THTMLViewer::LoadFile(const std::string& fileName, int kind) {
    const SplitName split = SplitAtHash(fileName);
    metaRefreshDelay_ = 0;
    WhileBusy(/*waitCursor=*/true, /*reportEnding=*/true, [&] {
        // Looked for before anything is cleared: a file that is not there leaves the page
        // shown as it was.
        if (!platform::FileExists(split.name))
            throw EInOutError("Can't locate file: " + split.name);
        document_->progressBase = 75;
        Progress(TProgressStage::psStarting, 0);
        PrepareLoad();
        caretIndex_ = 0;
        buttonDownIndex_ = -1;
        const std::string oldFile = currentFile_;
        currentFile_ = FileLoadedBy(fileName);
        currentFileKind_ = kind;
        ShowBuilt(
            [&](THtmlParseResult& result) {
                if (kind == 2) {
                    sourceText_.clear();
                    // The picture's name is its full path already: neither the server
                    // root nor % escapes apply to it, when it is built nor when it is read.
                    document_->expandName = [](const std::string& name) { return name; };
                    result = ParseHtml("<img src=\"" + QuotedAttribute(currentFile_) + "\">",
                                       *document_, BuildEvents(false));
                    return;
                }
                sourceText_ = platform::ReadWholeFile(split.name);
                if (OnParseBegin) OnParseBegin(this, sourceText_);
                if (kind == 0) {
                    if (OnSoundRequest) OnSoundRequest(this, "", 0, true);
                    result = ParseHtml(sourceText_, *document_, BuildEvents(true));
                } else {
                    ParseText(sourceText_, *document_);
                }
                if (OnParseEnd) OnParseEnd(this);
            },
            split, oldFile, false);
    });
}

void THTMLViewer::LoadFromString(const std::string& text, const std::string& reference) {
    if (busy_ || printing_) return;
    WhileBusy(/*waitCursor=*/true, /*reportEnding=*/true, [&] {
        metaRefreshDelay_ = 0;
        const SplitName split = SplitAtHash(reference);
        const std::string oldFile = currentFile_;
        currentFile_ = split.name.empty() ? std::string() : platform::ExpandFileName(split.name);
        currentFileKind_ = 0;
        document_->progressBase = 75;
        Progress(TProgressStage::psStarting, 0);
        PrepareLoad();
        caretIndex_ = 0;
        buttonDownIndex_ = -1;
        ShowBuilt(
            [&](THtmlParseResult& result) {
                if (OnSoundRequest) OnSoundRequest(this, "", 0, true);
                sourceText_ = text;
                if (OnParseBegin) OnParseBegin(this, sourceText_);
                result = ParseHtml(sourceText_, *document_, BuildEvents(true));
                if (OnParseEnd) OnParseEnd(this);
            },
            split, oldFile, true);
    });
    RaiseMetaRefresh();
}

void THTMLViewer::FinishLoad(const std::string& title, const std::string& base,
                             const std::string& baseTarget) {
    pageTitle_ = title;
    docBase_ = base;
    docBaseTarget_ = baseTarget;
    {
        const platform::ScopedFlag drawing(noDraw_, true);
        document_->BackgroundImage();
        LayoutDocument();
    }
    MarkVisitedLinks();
}

void THTMLViewer::ShowAnchorOrTop(const SplitName& split, const std::string& oldFile,
                                  bool topWhenUnnamed) {
    if (split.hasAnchor && ScrollToAnchor(split.anchor)) return;
    if (currentFile_ != oldFile || (topWhenUnnamed && currentFile_.empty())) {
        ScrollToY(0);
        hScrollBar_->SetPosition(0);
    } else {
        // The same file again: the view stays where it was, within the new height.
        ScrollToY(VerticalOffset());
    }
}

void THTMLViewer::HandleMeta(const std::string& httpEq, const std::string& name,
                             const std::string& content) {
    if (OnMeta) OnMeta(this, httpEq, name, content);
    if (!OnMetaRefresh || platform::AsciiLowerCase(httpEq) != "refresh") return;
    const auto semicolon = content.find(';');
    const std::string delayText = TrimmedCopy(content.substr(0, semicolon));
    int delay = -1;
    if (!delayText.empty()) {
        char* end = nullptr;
        const long value = std::strtol(delayText.c_str(), &end, 10);
        if (*end == '\0' && value >= 0 && value <= INT32_MAX) delay = static_cast<int>(value);
    }
    if (delay < 0) return;
    metaRefreshDelay_ = std::max(delay, 1);
    const std::string lower = platform::AsciiLowerCase(content);
    const auto url = lower.find("url=");
    metaRefreshURL_ = url == std::string::npos ? std::string() : content.substr(url + 4);
}

void THTMLViewer::Clear() {
    if (busy_ || printing_) return;
    leaveTimer_->stop();
    LeavePage();
    document_->Clear();
    document_->SetScrollY(0);
    if (imageCache_) imageCache_->Clear();
    SetDocumentDefaults(*document_, defaults_);
    docBase_.clear();
    docBaseTarget_.clear();
    pageTitle_.clear();
    // Nothing is shown any more: nothing to export or lay out either.
    sourceText_.clear();
    docWidth_ = docHeight_ = 0;
    vScrollBar_->SetParams(0, vScrollBar_->PageSize(), 0);
    vScrollBar_->hide();
    vScrollBar_->resize(vScrollBar_->width(), paintPanel_->height());
    hScrollBar_->hide();
    caretIndex_ = 0;
    buttonDownIndex_ = -1;
    if (OnSoundRequest) OnSoundRequest(this, "", 0, true);
    InvalidatePaintSurface();
}

void THTMLViewer::LeavePage() {
    KeepFocusOutOfPage();
    FindClear();
    // A press on the page left ends with it: its release must not click the next page.
    leftButtonDown_ = dragActive_ = false;
    ++pageGeneration_;
}

void THTMLViewer::KeepFocusOutOfPage() {
    // A link's tab stop that has the focus goes with its page: the viewer keeps the focus.
    if (paintPanel_->isAncestorOf(QApplication::focusWidget())) setFocus(Qt::OtherFocusReason);
}

// ---- Anchors and link paths ----

bool THTMLViewer::ScrollToAnchor(const std::string& dest) {
    if (dest.empty()) return false;
    const std::string name = dest[0] == '#' ? dest.substr(1) : dest;
    TIDObject* target = document_->anchors->Find(platform::AnsiUpperCase(name));
    if (!target) return false;
    ScrollToY(target->GetTopY());
    hScrollBar_->SetPosition(0);
    RememberVisited(currentFile_ + "#" + name);
    return true;
}

std::string THTMLViewer::ExpandLinkPath(const std::string& name) const {
    return ::ExpandLinkPath(name, serverRoot_, docBase_, currentFile_);
}

// ---- The document's host ----

void THTMLViewer::InvalidatePaintSurface() {
    paintPanel_->update();
}

void THTMLViewer::InvalidateRect(const platform::Rect& area) {
    // Page pixels of the view, one screen pixel wider on each side for rounding at a zoom.
    const int left = ToScreen(area.left) - 1, top = ToScreen(area.top) - 1;
    paintPanel_->update(QRect(left, top, ToScreen(area.right) + 1 - left, ToScreen(area.bottom) + 1 - top));
}

void THTMLViewer::LayoutProgress(int percent) {
    Progress(TProgressStage::psRunning, percent);
}

void THTMLViewer::BackgroundChanged(platform::TColor color) {
    paintPanel_->SetColor(color | platform::clPaletteFlag);
}

void THTMLViewer::SetAnimationTimer(int intervalMs) {
    if (intervalMs <= 0) {
        animationTimer_->stop();
        return;
    }
    if (animationTimer_->isActive() && animationTimer_->interval() == intervalMs) return;
    animationTimer_->start(intervalMs);
}

void THTMLViewer::RelayoutNeeded() {
    Relayout();
}

std::unique_ptr<platform::PanelWindow> THTMLViewer::CreatePanelWindow() {
    return std::make_unique<platform::QtPanelWindow>(paintPanel_);
}

// ---- Standard events ----

void THTMLViewer::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    UpdateBorder();
    if (OnEnter) OnEnter(this);
}

void THTMLViewer::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    UpdateBorder();
    if (OnExit) OnExit(this);
}
