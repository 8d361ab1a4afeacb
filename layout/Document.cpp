#include "layout/Document.h"

#include <algorithm>
#include <cstdio>
#include <unordered_set>

#include "layout/FontObj.h"
#include "layout/PanelObj.h"
#include "layout/Section.h"
#include "platform/CodePage.h"
#include "platform/Dialogs.h"

namespace {

int screenDepth = 24;
std::unique_ptr<std::array<platform::TColor, 256>> sharedPalette;

}  // namespace

int ScreenDepth() { return screenDepth; }

std::array<platform::TColor, 256> BuildSharedPalette(const std::array<platform::TColor, 256>& system) {
    std::array<platform::TColor, 256> palette = system;
    static constexpr int kLevels[6] = {55, 115, 165, 205, 235, 255};
    int index = 10;
    for (int b = 0; b < 6; ++b)
        for (int g = 0; g < 6; ++g)
            for (int r = 0; r < 6; ++r) {
                if (r == 5 && g == 5 && b == 5) continue;  // white stays with the system
                palette[static_cast<std::size_t>(index++)] = platform::RGBColor(kLevels[r], kLevels[g], kLevels[b]);
            }
    for (int i = 1; i <= 24; ++i) {
        if (i == 7 || i == 15 || i == 21) continue;  // greys the cube already holds
        const int grey = 130 + 5 * i;
        palette[static_cast<std::size_t>(index++)] = platform::RGBColor(grey, grey, grey);
    }
    palette[245] = platform::RGBColor(255, 255, 254);
    return palette;
}

void SetScreenDepthFromBits(int bitsPerPixel, int planes) {
    const int bits = bitsPerPixel * planes;
    screenDepth = bits <= 4 ? 4 : bits <= 8 ? 8 : 24;
    if (screenDepth == 8) {
        // The system's own entries: black at the bottom, white at the top.
        std::array<platform::TColor, 256> system{};
        system[255] = 0xFFFFFF;
        sharedPalette = std::make_unique<std::array<platform::TColor, 256>>(BuildSharedPalette(system));
    } else {
        sharedPalette.reset();
    }
}

const std::array<platform::TColor, 256>* SharedPalette() { return sharedPalette.get(); }

int ClipBuffer::Finish() {
    platform::Dialogs().setClipboardText(text_);
    return static_cast<int>(text_.size());
}

TSectionList::TSectionList(TDocumentHost* host)
    : TCell(this, "default"),
      viewer(host),
      styleSheet(std::make_unique<TStyleList>(this)),
      anchors(std::make_unique<TIDNameList>(this)) {}

TSectionList::TSectionList(const TSectionList& source, bool printCopy)
    : TCell(this, "default"),
      viewer(source.viewer),
      showImages(source.showImages),
      isPrinting(source.isPrinting),
      scrollY(source.scrollY),
      selStart(source.selStart),
      selEnd(source.selEnd),
      preFontName(source.preFontName),
      printBackgrounds(source.printBackgrounds),
      printMonoBlack(source.printMonoBlack),
      linkColor(source.linkColor),
      visitedColor(source.visitedColor),
      activeColor(source.activeColor),
      backgroundColor(source.backgroundColor),
      events(source.events),
      hoverLinksOn(source.hoverLinksOn),
      showCaret(source.showCaret),
      imageCache(source.imageCache),
      expandName(source.expandName),
      sectionTotal(source.sectionTotal),
      progressBase(source.progressBase),
      isPrintCopy(printCopy),
      tooManyLinks(source.tooManyLinks) {
    indentManager.cellWidth = source.indentManager.cellWidth;
    CopyItemsFrom(source, this);
}

TSectionList::~TSectionList() {
    // Sections take their runs off these lists as they go, and named items their
    // anchors; emptied first, that is free.
    if (anchors) anchors->Clear();
    linkRuns.clear();
    tabOrder.clear();
    hoverLink = nullptr;
    // Waiting images and panels take themselves off their lists as they go.
    pendingImages.clear();
    panels.clear();
    ReleaseBackground();
    items.clear();
    allControls.clear();
    forms.clear();
}

void TSectionList::Clear() {
    if (!isPrintCopy) {
        anchors->Clear();
        itemsByPosition_.clear();
        positionsPending_ = false;
    }
    backgroundName.clear();
    backgroundLooked = false;
    backgroundPendingKey_.clear();
    ReleaseBackground();
    pendingImages.clear();
    animatedImages.clear();
    animationTimerRunning = false;
    if (viewer) viewer->SetAnimationTimer(0);
    selStart = selEnd = 0;
    imageMaps.clear();
    linkRuns.clear();
    hoverLink = nullptr;
    hoverImage = nullptr;
    if (!isPrintCopy) styleSheet->Clear();
    tabOrder.clear();
    tabArrivals_ = 0;
    panels.clear();
    items.clear();
    boxSpecPool.Clear();
    allControls.clear();
    forms.clear();
    paintOrder.clear();
    sectionTotal = 0;
    tooManyLinks = false;
    drawRange_.Reset();
}

void TSectionList::SetDefaults(const std::string& fontName, const std::string& preFont, double size,
                               platform::TColor color, platform::TColor link,
                               platform::TColor visited, platform::TColor active, bool hoverLinks,
                               platform::TColor background, int charset, int marginHeight,
                               int marginWidth, bool linkUnderline) {
    styleSheet->BuildDefaults(fontName, preFont, size, color, link, visited, active, linkUnderline,
                              charset, marginWidth, marginHeight);
    preFontName = preFont.substr(0, 32);
    linkColor = link;
    visitedColor = visited;
    activeColor = active;
    hoverLinksOn = hoverLinks;
    SetBackgroundColor(background);
}

void TSectionList::SetBackgroundColor(platform::TColor color) {
    backgroundColor = color;
    if (viewer) viewer->BackgroundChanged(color);
}

void TSectionList::SetBackgroundImage(const std::string& name, const TBackgroundPosition& position) {
    backgroundName = name;
    backgroundPlacement = position;
    backgroundLooked = false;
}

platform::TColor TSectionList::WindowColor() const {
    return platform::ColorToRGB(backgroundColor);
}

int TSectionList::LayoutCell(platform::Canvas& canvas, int Y, int Width, int availHeight,
                             int& scrollWidth, int& cursor) {
    ++layoutCycleCount;
    if (viewer) viewer->SetAnimationTimer(0);
    for (auto& form : forms) form->FitAllSizes(canvas);
    canvas.setTextJustification(0, 0);
    if (!tabOrder.empty()) {
        int order = 0;
        platform::TabStopWindow* previous = nullptr;
        for (auto& [key, entry] : tabOrder) {
            if (entry.first) {
                entry.first->SetTabOrder(order++);
                if (entry.first->TabStop()) {
                    entry.first->TabStop()->placeAfter(previous);
                    previous = entry.first->TabStop();
                }
            } else if (entry.second) {
                ++order;
                entry.second->PlaceInTabOrder(previous);
            }
        }
        tabOrder.clear();
    }
    const int height = TCell::LayoutCell(canvas, Y, Width, availHeight, scrollWidth, cursor);
    for (TAnimatedPicture* picture : animatedImages) {
        picture->Rewind();
        picture->Stop();
        if (!isPrintCopy) picture->Start();
    }
    if (!animatedImages.empty()) StartAnimationTimer();
    HideUnpaintedControls();
    if (!isPrintCopy && itemsByPosition_.empty()) positionsPending_ = true;
    return height;
}

const std::vector<TSectionBase*>& TSectionList::ItemsByPosition() {
    if (positionsPending_) {
        positionsPending_ = false;
        RegisterPositions();
    }
    return itemsByPosition_;
}

void TSectionList::StartAnimationTimer() {
    if (isPrintCopy || !viewer) return;
    // The timer starts at 50 ms the first time only; once it has ticked it keeps its
    // 40 ms across layouts and loads.
    if (animationInterval == 0) animationInterval = 50;
    viewer->SetAnimationTimer(animationInterval);
    animationTimerRunning = true;
}

void TSectionList::AnimationTick() {
    for (TAnimatedPicture* picture : animatedImages)
        if (picture->drawn) picture->Advance();
    if (animationInterval != 40 && viewer) {
        animationInterval = 40;
        viewer->SetAnimationTimer(animationInterval);
    }
}

void TSectionList::SetScrollY(int Y) {
    scrollY = Y;
    scrollChanged = true;
    for (TFormControlObj* control : allControls) control->painted = false;
    for (TPanelObj* panel : panels) panel->shownSinceScroll = false;
}

int TSectionList::Draw(platform::Canvas& canvas, const platform::Rect& clip, int paintWidth, int X,
                       int Y, int refX, int refY) {
    pageBottomY = scrollY + clip.bottom;
    pageShortened = false;
    pageIsEmpty = true;
    if (animationTimerRunning && viewer) viewer->SetAnimationTimer(0);
    for (TAnimatedPicture* picture : animatedImages)
        if (picture->ShownIn(clip)) picture->drawn = false;
    paintOrder.clear();
    const int below = TCell::Draw(canvas, clip, paintWidth, X, Y, refX, refY);
    for (const TImageRec& entry : paintOrder) {
        entry.object->paintX = entry.x;
        entry.object->drawY = entry.y + scrollY;
        entry.object->Draw(canvas, entry.x, entry.y);
    }
    if (scrollChanged) {
        HideUnpaintedControls();
        for (TPanelObj* panel : panels)
            if (!panel->shownSinceScroll) panel->Hide();
        scrollChanged = false;
    }
    if (animationTimerRunning && viewer) viewer->SetAnimationTimer(animationInterval);
    return below;
}

unsigned TSectionList::HitTestLink(platform::Canvas& canvas, int X, int Y, std::string& title,
                                   TFormControlObj*& control, const TUrlTarget*& linkTarget) {
    TFontObj* oldLink = hoverLink;
    TFloatingObj* oldImage = hoverImage;
    hoverLink = nullptr;
    hoverImage = nullptr;
    const unsigned result = TCellBasic::HitTestLink(canvas, X, Y, title, control, linkTarget);
    const bool sameLink =
        oldLink && hoverLink && oldLink->LinkTarget().LinkId == hoverLink->LinkTarget().LinkId;
    if (hoverLinksOn && !sameLink && oldLink != hoverLink) {
        if (oldLink) oldLink->SetLinkHovered(linkRuns, false);
        if (hoverLink) hoverLink->SetLinkHovered(linkRuns, true);
        if (viewer) viewer->InvalidatePaintSurface();
    }
    if (oldImage && oldImage != hoverImage) oldImage->SetHoverState(0);
    if (hoverImage) hoverImage->SetHoverState(leftButtonDown ? 2 : 1);
    return result;
}

void TSectionList::SetPressed(bool down) {
    leftButtonDown = down;
    if (hoverImage) {
        hoverImage->SetHoverState(down ? 2 : 1);
        if (viewer) viewer->InvalidatePaintSurface();
    }
}

void TSectionList::ClearHover() {
    if (hoverLink) {
        hoverLink->SetLinkHovered(linkRuns, false);
        hoverLink = nullptr;
    }
    if (hoverImage) hoverImage->SetHoverState(0);
    hoverImage = nullptr;
    if (viewer) viewer->InvalidatePaintSurface();
}

int TSectionList::CursorPosOfSource(int sourcePos, bool prev) {
    const int pos = TCellBasic::CursorPosOfSource(sourcePos, prev);
    return pos >= 0 ? pos : cursorCount + 1;
}

namespace {

int CollectSelection(TSectionList& doc, TTextCollector& collector) {
    if (doc.selStart >= doc.selEnd) return 0;
    doc.textCollector = &collector;
    doc.CopyToClipboard();
    doc.textCollector = nullptr;
    return collector.Finish();
}

}  // namespace

int TSectionList::SelectionLength() {
    SelTextCount counter;
    return CollectSelection(*this, counter);
}

void TSectionList::CopySelection(int length) {
    ClipBuffer clip(length);
    CollectSelection(*this, clip);
}

int TSectionList::SelectionToBuffer(std::u16string& buffer, int bufferSize) {
    SelTextBuf collector(buffer, bufferSize);
    return CollectSelection(*this, collector);
}

TSectionBase* TSectionList::ItemAtY(int Y, int& itemTopY, int& index) {
    // Items are in document order, so their tops only grow: a binary search.
    const auto& items = ItemsByPosition();
    auto it = std::upper_bound(items.begin(), items.end(), Y, [](int value, TSectionBase* item) {
        return value < item->GetTopY();
    });
    if (it == items.begin()) return nullptr;
    --it;
    index = static_cast<int>(it - items.begin());
    itemTopY = (*it)->GetTopY();
    return *it;
}

void TSectionList::HideUnpaintedControls() {
    for (TFormControlObj* control : allControls)
        if (!control->painted) control->Hide();
}

std::unique_ptr<TFormData> TSectionList::FormData() const {
    if (forms.empty()) return nullptr;
    auto data = std::make_unique<TFormData>();
    data->reserve(forms.size());
    for (const auto& form : forms) data->push_back(form->FormData());
    return data;
}

void TSectionList::SetFormData(const TFormData& data) {
    for (std::size_t i = 0; i < forms.size() && i < data.size(); ++i)
        forms[i]->SetFormData(data[i]);
}

void TSectionList::DropControls() {
    if (allControls.empty()) return;
    // One pass over the Tab order and one over each form, however many controls go.
    const std::unordered_set<TFormControlObj*> dropped(allControls.begin(), allControls.end());
    std::erase_if(tabOrder,
                  [&](const auto& entry) { return dropped.count(entry.second.second) != 0; });
    for (auto& form : forms) form->RemoveControls(dropped);
    allControls.clear();
}

void TSectionList::AddLinkRun(TFontObj* run) {
    // Runs arrive in document order; a run joins again only right after itself.
    if (!linkRuns.empty() && linkRuns.back() == run) return;
    linkRuns.push_back(run);
    run->inLinkList = true;
}

void TSectionList::ForgetLinkRun(TFontObj* run) {
    // Most runs forgotten while a page is built were never links: no need to look.
    if (run->inLinkList) {
        linkRuns.erase(std::remove(linkRuns.begin(), linkRuns.end(), run), linkRuns.end());
        run->inLinkList = false;
    }
    // Only runs that were given a tab stop are in the tab order.
    if (run->hasTabStop)
        for (auto it = tabOrder.begin(); it != tabOrder.end();)
            it = it->second.first == run ? tabOrder.erase(it) : std::next(it);
    if (hoverLink == run) hoverLink = nullptr;
}

void TSectionList::AddTabEntry(int tabIndex, TFontObj* linkRun, TFormControlObj* control) {
    // Fixed-width fields keep the keys in numeric order: a page may hold thousands of
    // controls and links, and any TABINDEX. As in a web browser, what has a TABINDEX of
    // 1 or more comes first, by its index; everything else follows in the page's order.
    const int order = tabIndex >= 1 ? std::min(tabIndex, 99998) : 99999;
    char key[32];
    std::snprintf(key, sizeof key, "%.5d%.10d", order, tabArrivals_++);
    tabOrder.emplace(key, std::make_pair(linkRun, control));
}

void TSectionList::ReportLayoutError(const std::string& message) {
    platform::Dialogs().messageBox(u"Vultaria", platform::Utf8ToUtf16(message), platform::MessageIcon::Error);
}
