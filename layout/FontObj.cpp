#include "layout/FontObj.h"

#include <algorithm>
#include <cmath>

#include "layout/Document.h"
#include "platform/Screen.h"

const TUrlTarget TFontObj::kNoLink;
const std::shared_ptr<const TFontInfoArray> TFontObj::kNoVariants;
const std::string TFontObj::kNoText;

TFontObj::TFontObj(TSection* owner, const TMyFont& f, int offset,
                   const platform::TextMetrics* measured)
    : ownerSection(owner), textOffset(offset), font(f) {
    MeasureMetrics(measured);
}

TFontObj::TFontObj(TSection* owner, const TFontObj& source)
    : ownerSection(owner),
      topY(source.topY),
      textOffset(source.textOffset),
      font(source.font),
      maxCharWidth(source.maxCharWidth),
      metricHeight(source.metricHeight),
      lineContribution(source.lineContribution),
      descent(source.descent),
      italicOverhang(source.italicOverhang),
      scriptShift(source.scriptShift),
      isVisited(source.isVisited) {
    if (source.link_) {
        TRunLink& link = Link();
        link.target.Copy(source.link_->target);
        link.variants = source.link_->variants;
        link.hintText = source.link_->hintText;
    }
    if (source.isHovered) SelectVariant();
}

void TFontObj::SetLinkVariants(std::shared_ptr<const TFontInfoArray> variants) {
    if (!variants && !link_) return;
    Link().variants = std::move(variants);
}

void TFontObj::ClearLink() {
    if (!link_) return;
    link_->target.Clear();
    link_->variants.reset();
    if (link_->hintText.empty() && !link_->tabStop) link_.reset();
}

void TFontObj::SetHintText(const std::string& text) {
    if (text.empty() && !link_) return;
    Link().hintText = text;
}

void TFontObj::AttachTabStop(TSectionList* document) {
    hasTabStop = true;
    if (!document || !document->viewer || document->isPrintCopy || TabStop()) return;
    auto& tabStop = Link().tabStop;
    tabStop = document->viewer->CreateTabStopWindow();
    tabStop->onFocusChange = [this, document](bool focused) {
        hasFocus = focused;
        if (!document->viewer) return;
        if (focused) document->viewer->ScrollFocusedIntoView(topY, false);
        document->viewer->InvalidatePaintSurface();
    };
    tabStop->onActivate = [this, document] {
        if (document->viewer) document->viewer->FollowLinkLater(LinkTarget());
    };
}

void TFontObj::DetachTabStop() {
    hasTabStop = false;
    hasFocus = false;
    if (link_) link_->tabStop.reset();
}

void TFontObj::SelectVariant() {
    const auto& variants = LinkVariants();
    if (!variants) return;
    const int slot = isHovered ? (isVisited ? TFontInfoArray::VisitedHover : TFontInfoArray::Hover)
                               : (isVisited ? TFontInfoArray::Visited : TFontInfoArray::Link);
    ApplyVariant((*variants)[slot]);
}

void TFontObj::MarkVisited(bool value) {
    if (isVisited == value) return;
    isVisited = value;
    SelectVariant();
}

void TFontObj::SetHovered(bool value) {
    if (isHovered == value) return;
    isHovered = value;
    SelectVariant();
}

void TFontObj::SetLinkHovered(std::vector<TFontObj*>& linkList, bool value) {
    const auto here = std::find(linkList.begin(), linkList.end(), this);
    SetHovered(value);
    if (here == linkList.end()) return;
    const std::int32_t id = LinkTarget().LinkId;
    for (auto it = here + 1; it != linkList.end() && (*it)->LinkTarget().LinkId == id; ++it)
        (*it)->SetHovered(value);
    for (auto it = here; it != linkList.begin();) {
        --it;
        if ((*it)->LinkTarget().LinkId != id) break;
        (*it)->SetHovered(value);
    }
}

void TFontObj::ApplyVariant(const ThtFontInfo& info) {
    font.face = info.Name;
    font.height = -static_cast<int>(std::lround(platform::CurrentPixelsPerInch() * info.Size / 72));
    font.style = info.Style;
    font.BackgroundColor = info.BackgroundColor;
    font.Color = info.Color;
    font.charset = info.FontCharset;
    MeasureMetrics();
}

void TFontObj::MeasureMetrics(const platform::TextMetrics* measured) {
    platform::Canvas& canvas = platform::Screen().measuringCanvas();
    platform::FontSpec spec = font;
    spec.charset = platform::DEFAULT_CHARSET;
    platform::TextMetrics metrics;
    if (measured && font.charset == spec.charset) {
        metrics = *measured;
    } else {
        canvas.setFont(spec);
        metrics = canvas.textMetrics();
    }
    constexpr std::uint8_t kSymbolCharset = 2;
    if (metrics.charset != kSymbolCharset) {
        if (font.charset != spec.charset) {
            canvas.setFont(font);
            metrics = canvas.textMetrics();
        }
    } else {
        font.charset = kSymbolCharset;
    }
    auto small = [](long long pixels) {
        return static_cast<std::int16_t>(std::clamp<long long>(pixels, INT16_MIN, INT16_MAX));
    };
    metricHeight = small(metrics.height);
    maxCharWidth = metrics.maxCharWidth;
    lineContribution = small(static_cast<long long>(metrics.height) + metrics.externalLeading);
    descent = small(metrics.descent);
    italicOverhang = font.italic() ? small(metricHeight / 10) : std::int16_t{0};
}

TFontList::~TFontList() {
    for (TFontObj* run : runs_) delete run;
}

TFontObj& TFontList::Add(std::unique_ptr<TFontObj> run) {
    runs_.push_back(run.get());
    return *run.release();
}

int TFontList::IndexAt(int offset) const {
    // The last run whose start is not after the offset; most sections have one run.
    if (runs_.size() <= 1) return 0;
    auto it =
        std::upper_bound(runs_.begin(), runs_.end(), offset,
                         [](int value, const TFontObj* run) { return value < run->textOffset; });
    return it == runs_.begin() ? 0 : static_cast<int>(it - runs_.begin()) - 1;
}

TFontObj* TFontList::FontAt(int offset, int& overhang) {
    if (runs_.empty()) {
        overhang = 0;
        return nullptr;
    }
    TFontObj* run = runs_[static_cast<std::size_t>(IndexAt(offset))];
    overhang = run->italicOverhang;
    return run;
}

TFontObj* TFontList::RunAt(int offset) {
    return runs_.empty() ? nullptr : runs_[static_cast<std::size_t>(IndexAt(offset))];
}

void TFontList::ShiftAfterRemoval(int offset, TSectionList* document) {
    for (std::size_t i = 0; i < runs_.size(); ++i) {
        TFontObj& run = *runs_[i];
        if (run.textOffset <= offset) continue;
        --run.textOffset;
        if (i > 0 && runs_[i - 1]->textOffset == run.textOffset) {
            RemoveAt(static_cast<int>(i) - 1, document);
            --i;
        }
    }
}

void TFontList::RemoveAt(int index, TSectionList* document) {
    if (index < 0 || index >= Count()) return;
    TFontObj* run = runs_[static_cast<std::size_t>(index)];
    if (document) document->ForgetLinkRun(run);
    runs_.erase(runs_.begin() + index);
    delete run;
}
