#include "layout/PanelObj.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <exception>

#include "html/Attributes.h"
#include "layout/Document.h"
#include "platform/CodePage.h"

namespace {

// A new panel's window: 30 × 20, white, single border, parked out of sight.
constexpr int kInitialWidth = 30;
constexpr int kInitialHeight = 20;
constexpr int kParked = -4000;
constexpr int kDefaultSpacing = 3;
constexpr int kAltTextInset = 15;
// Window systems refuse windows larger than this on either side.
constexpr int kMaxSide = 32767;

// RATIO: a plain decimal number, signed or not; anything else counts as none.
double ReadRatio(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return 0;
    const auto last = text.find_last_not_of(" \t\r\n");
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    if (*begin == '+') ++begin;
    double value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value)) return 0;
    return value;
}

}  // namespace

TPanelObj::TPanelObj(TSectionList* document, const TAttributeList& attributes)
    : document_(document) {
    placement = kAlignBottom;
    gapLeft = gapRight = kDefaultSpacing;
    int width = kInitialWidth, height = kInitialHeight;
    for (int i = 0; i < attributes.Count(); ++i) {
        const TAttribute& a = attributes[i];
        switch (a.Symbol) {
            case symName:
                name = a.StrValue;
                break;
            case symAlt:
                altText = attributes.DisplayText(a);
                break;
            case symSrc:
                source = a.StrValue;
                break;
            case symType:
                type = a.StrValue;
                break;
            case symAlign:
                placement = ObjectAlignment(a.StrValue, placement);
                break;
            case symWidth:
                if (a.StrValue.find('%') != std::string::npos) {
                    widthIsPercent = true;
                    givenWidth = std::clamp(a.IntValue, 1, 100);
                } else if (a.IntValue > 0) {
                    width = std::min(a.IntValue, kMaxSide);
                }
                break;
            case symHeight:
                if (a.IntValue > 0) height = std::min(a.IntValue, kMaxSide);
                break;
            case symHSpace:
                gapLeft = gapRight = ObjectSpacing(a.IntValue);
                break;
            case symVSpace:
                gapTop = gapBottom = ObjectSpacing(a.IntValue);
                break;
            case symRatio:
                ratio = ReadRatio(a.StrValue);
                break;
            default:
                break;
        }
    }
    std::unique_ptr<platform::PanelWindow> window;
    if (document_ && document_->viewer) window = document_->viewer->CreatePanelWindow();
    if (!window) window = std::make_unique<platform::DetachedPanelWindow>();
    panel_ = std::move(window);
    panel_->setBounds({kParked, kParked, kParked + kInitialWidth, kParked + kInitialHeight});
    panel_->setColor(0x00FFFFFF);
    panel_->setSingleBorder(true);
    panel_->resize(width, height);
    if (document_ && document_->events.onPanelCreate)
        document_->events.onPanelCreate(name, *panel_, source, type);
    boxWidth = panel_->width();
    boxHeight = panel_->height();
    if (document_) document_->panels.push_back(this);
}

TPanelObj::TPanelObj(TSectionList* document, const TPanelObj& other)
    : TFloatingObj(other),
      name(other.name),
      altText(other.altText),
      source(other.source),
      type(other.type),
      givenWidth(other.givenWidth),
      widthIsPercent(other.widthIsPercent),
      ratio(other.ratio),
      document_(document),
      panel_(other.panel_),
      printCopy_(true),
      width_(other.printCopy_ ? other.width_ : other.panel_->width()),
      height_(other.printCopy_ ? other.height_ : other.panel_->height()) {
    if (document_) document_->panels.push_back(this);
}

TPanelObj::~TPanelObj() {
    if (document_) std::erase(document_->panels, this);
    if (document_ && document_->hoverImage == this) document_->hoverImage = nullptr;
    if (printCopy_) return;
    if (document_ && document_->events.onPanelDestroy)
        document_->events.onPanelDestroy(name, *panel_);
    // A print copy may still hold the window; it must not linger on screen.
    panel_->setVisible(false);
}

std::unique_ptr<TFloatingObj> TPanelObj::CreatePrintCopy(TSectionList* document) const {
    return std::unique_ptr<TFloatingObj>(new TPanelObj(document, *this));
}

void TPanelObj::SizeFor(platform::Canvas& canvas, int availWidth, TFontObj* font) {
    int width = printCopy_ ? width_ : panel_->width();
    int height = printCopy_ ? height_ : panel_->height();
    if (widthIsPercent)
        width = static_cast<int>(std::clamp(static_cast<long long>(availWidth) * givenWidth / 100,
                                            1LL, static_cast<long long>(kMaxSide)));
    if (ratio > 0)
        height = static_cast<int>(std::clamp(std::round(ratio * width), 1.0, double(kMaxSide)));
    if (printCopy_) {
        width_ = width;
        height_ = height;
    } else {
        panel_->resize(width, height);
    }
    boxWidth = width;
    boxHeight = height;
}

void TPanelObj::Draw(platform::Canvas& canvas, int x, int y) {
    paintX = x;
    drawY = y + (document_ ? document_->scrollY : 0);
    if (printCopy_ || (document_ && document_->isPrinting)) {
        Print(canvas, x, y);
        return;
    }
    panel_->moveTo(x, y);
    panel_->setVisible(true);
    shownSinceScroll = true;
}

void TPanelObj::Hide() {
    // The window belongs to the page on screen; a print copy leaves it alone.
    if (!printCopy_) panel_->setVisible(false);
}

void TPanelObj::Print(platform::Canvas& canvas, int x, int y) {
    const platform::Rect box{x, y, x + boxWidth, y + boxHeight};
    if (box.isEmpty()) return;
    if (document_ && document_->events.onPanelPrint) {
        try {
            platform::Bitmap bitmap(boxWidth, boxHeight);
            bitmap.fill(platform::PixelOf(panel_->color()));
            document_->events.onPanelPrint(name, *panel_, bitmap);
            if (!bitmap.isNull())
                canvas.drawBitmap(bitmap, {0, 0, bitmap.width(), bitmap.height()}, box);
            return;
        } catch (const std::exception&) {
            // No memory for the picture: the stand-in box below is printed instead.
        }
    }
    canvas.setPen({0, platform::PenStyle::Solid, 1});
    canvas.setBrush({panel_->color(), platform::BrushStyle::Solid});
    canvas.rectangle(box);
    if (altText.empty()) return;
    const platform::FontSpec saved = canvas.font();
    canvas.setFont(ObjectCaptionFont());
    canvas.setTextColor(0);
    canvas.setBackgroundMode(platform::BackgroundMode::Transparent);
    canvas.setTextAlign(platform::TextAlign::Top);
    canvas.save();
    canvas.intersectClipRect({box.left + kAltTextInset, box.top + kAltTextInset,
                              box.right - kAltTextInset, box.bottom - kAltTextInset});
    canvas.textOut(box.left + kAltTextInset, box.top + kAltTextInset, platform::Utf8ToUtf16(altText));
    canvas.restore();
    canvas.setFont(saved);
}
