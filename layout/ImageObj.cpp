#include "layout/ImageObj.h"

#include <algorithm>
#include <cctype>

#include "html/Attributes.h"
#include "image/GifImage.h"
#include "image/PictureLoader.h"
#include "layout/Document.h"
#include "layout/FontObj.h"
#include "layout/FormControls.h"
#include "platform/CodePage.h"
#include "platform/Text.h"
#include "style/Lengths.h"
#include "style/Properties.h"

namespace {

constexpr int kPlaceholderInset = 4;
constexpr int kAltTextIndent = 24;

std::string CacheKey(const std::string& name) {
    std::size_t begin = 0, end = name.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(name[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(name[end - 1]))) --end;
    return platform::AnsiUpperCase(name.substr(begin, end - begin));
}

// A small picture: a frame with a mark, drawn once.
platform::Bitmap DrawPlaceholder(bool error) {
    platform::Bitmap b(16, 16);
    b.fill(0xC0C0C0);
    for (int i = 0; i < 16; ++i) {
        b.row32(0)[i] = b.row32(i)[0] = 0xFFFFFF;
        b.row32(15)[i] = b.row32(i)[15] = 0x808080;
    }
    for (int i = 4; i < 12; ++i) {
        if (error) {
            b.row32(i)[i] = b.row32(i)[15 - i] = 0xFF0000;
            b.row32(i)[i + 1 > 14 ? 14 : i + 1] = 0xFF0000;
        } else {
            b.row32(4)[i] = b.row32(11)[i] = b.row32(i)[4] = b.row32(i)[11] = 0x008000;
        }
    }
    return b;
}

// Draws text in lines that fit `box`'s width, word by word from its top-left corner,
// one text height apart, clipped to the box. A word wider than the box keeps a line
// of its own.
void DrawWrappedText(platform::Canvas& canvas, const platform::Rect& box,
                     std::u16string_view text) {
    const int lineHeight = std::max(1, canvas.textMetrics().height);
    const int width = box.right - box.left;
    int y = box.top;
    while (!text.empty() && y < box.bottom) {
        while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
        if (text.empty()) break;
        int fit = 0;
        canvas.textExtentFit(text, width, fit);
        std::size_t take = static_cast<std::size_t>(std::max(fit, 0));
        if (take < text.size()) {
            // Back to the last blank that fits, else on to the end of the first word.
            const std::size_t blank = text.substr(0, take + 1).rfind(u' ');
            if (blank != std::u16string_view::npos && blank > 0)
                take = blank;
            else
                take = std::min(text.find(u' '), text.size());
        }
        std::u16string_view line = text.substr(0, take);
        while (!line.empty() && line.back() == u' ') line.remove_suffix(1);
        canvas.textOut(box.left, y, line);
        text.remove_prefix(take);
        y += lineHeight;
    }
}

}  // namespace

const platform::Bitmap& DefaultPicture() {
    static const platform::Bitmap picture = DrawPlaceholder(false);
    return picture;
}

const platform::Bitmap& ErrorPicture() {
    static const platform::Bitmap picture = DrawPlaceholder(true);
    return picture;
}

const platform::Bitmap& ErrorMask() {
    // Only the corners show through, so the sign keeps a rounded look on any page.
    static const platform::Bitmap mask = [] {
        platform::Bitmap m(16, 16, platform::Bitmap::Format::Indexed8);
        m.palette() = {0x000000, 0xFFFFFF};
        for (int y : {0, 15})
            for (int x : {0, 15}) m.row8(y)[x] = 1;
        return m;
    }();
    return mask;
}

std::string PictureKey(const std::string& name) {
    return CacheKey(name);
}

namespace {

std::shared_ptr<platform::Bitmap> CornerMask(const platform::Bitmap& picture) {
    return std::make_shared<platform::Bitmap>(MakeCornerMask(picture));
}

TPictureLookup FromLoaded(std::optional<LoadedPicture> loaded) {
    TPictureLookup result;
    if (!loaded) return result;
    result.picture = std::make_shared<platform::Bitmap>(std::move(loaded->bitmap));
    if (loaded->mask) result.mask = std::make_shared<platform::Bitmap>(std::move(*loaded->mask));
    result.transparency = loaded->mask ? loaded->transparency : NotTransparent;
    result.animation = std::move(loaded->animation);
    return result;
}

// An image's GIF copy on the document's animated list: the document rewinds, stops
// and starts it at each layout and moves it on at timer ticks when it was drawn;
// each new frame repaints only the picture.
class ImageAnimation : public TAnimatedPicture {
  public:
    ImageAnimation(TGIFImage& gif, TSectionList* document) : gif_(gif), document_(document) {}
    void Rewind() override { gif_.SetCurrentFrame(1); }
    void Stop() override { gif_.SetAnimating(false); }
    void Start() override { gif_.SetAnimating(true); }
    void Advance() override {
        gif_.AdvanceIfDue([this](const platform::Rect&) {
            if (document_->viewer) document_->viewer->InvalidateRect(Area());
        });
    }
    bool ShownIn(const platform::Rect& area) const override { return Area().intersects(area); }
    // Drawn at the document's scroll position of now.
    void Drawn() {
        drawn = true;
        scrollYWhenDrawn_ = document_->scrollY;
    }

  private:
    // Where the picture stands now: where it was drawn, moved as far as the page has
    // scrolled since.
    platform::Rect Area() const {
        return gif_.LastDestination().translated(0, scrollYWhenDrawn_ - document_->scrollY);
    }

    TGIFImage& gif_;
    TSectionList* document_;
    int scrollYWhenDrawn_ = 0;
};

// What the host's requests give for a name: a bitmap, a picture's bytes, "wait", or
// nothing, and then the file is read as it would be without them.
TPictureLookup RequestPicture(TSectionList& document, const std::string& name,
                              bool cornerTransparency) {
    const TPictureEvents& events = document.events;
    if (events.onBitmapRequest) {
        std::shared_ptr<platform::Bitmap> bitmap;
        std::optional<platform::TColor> transparentColor;
        events.onBitmapRequest(name, bitmap, transparentColor);
        if (bitmap && !bitmap->isNull()) {
            TPictureLookup result;
            result.picture = std::move(bitmap);
            if (transparentColor) {
                result.mask = std::make_shared<platform::Bitmap>(
                    MakeMask(*result.picture, platform::PixelOf(*transparentColor)));
                result.transparency = MaskSupplied;
            } else if (cornerTransparency) {
                result.mask = CornerMask(*result.picture);
                result.transparency = LowerLeftCorner;
            }
            return result;
        }
    }
    if (events.onImageRequest) {
        TImageStream stream;
        events.onImageRequest(name, stream);
        if (stream.wait) {
            TPictureLookup result;
            result.waiting = true;
            return result;
        }
        if (!stream.bytes.empty()) return PictureFromBytes(stream.bytes, cornerTransparency);
    }
    return FromLoaded(LoadAnyPictureFile(document.ExpandPictureName(name),
                                         cornerTransparency ? LowerLeftCorner : NotTransparent,
                                         ScreenPictureColors()));
}

}  // namespace

ScreenColors ScreenPictureColors() {
    return {ScreenDepth(), SharedPalette()};
}

TPictureLookup PictureFromBytes(std::string_view bytes, bool cornerTransparency) {
    return FromLoaded(LoadAnyPicture(bytes, cornerTransparency ? LowerLeftCorner : NotTransparent,
                                     ScreenPictureColors()));
}

TPictureLookup TakeCachedPicture(TStringBitmapList& cache, const std::string& key,
                                 bool cornerTransparency) {
    TPictureLookup result;
    TBitmapItem* item = cache.GetImage(key);
    if (!item) return result;
    if (cornerTransparency && !item->mask && item->picture && !item->picture->isNull()) {
        item->mask = CornerMask(*item->picture);
        item->transparency = LowerLeftCorner;
    }
    result.picture = item->picture;
    result.mask = item->mask;
    result.animation = item->animation;
    result.transparency = item->transparency;
    result.fromCache = true;
    return result;
}

void StorePicture(TStringBitmapList& cache, const std::string& key, const TPictureLookup& picture) {
    TBitmapItem item;
    item.picture = picture.picture;
    item.mask = picture.mask;
    item.animation = picture.animation;
    item.transparency = picture.transparency;
    cache.AddObject(key, std::move(item));
}

TPictureLookup LookupPicture(TSectionList& document, const std::string& name,
                             bool cornerTransparency) {
    const std::string key = CacheKey(name);
    if (key.empty()) return {};
    TStringBitmapList* cache = document.imageCache;
    if (cache && cache->contains(key)) return TakeCachedPicture(*cache, key, cornerTransparency);
    TPictureLookup result = document.HasPictureRequests()
                                ? RequestPicture(document, name, cornerTransparency)
                                : FromLoaded(LoadAnyPictureFile(
                                      name, cornerTransparency ? LowerLeftCorner : NotTransparent,
                                      ScreenPictureColors()));
    if (result.picture && cache) StorePicture(*cache, key, result);
    return result;
}

TImageObj::TImageObj(TSectionList* document, const TAttributeList& attributes, const std::string& expandedSource)
    : source(expandedSource), document_(document) {
    placement = kAlignBottom;
    for (int i = 0; i < attributes.Count(); ++i) {
        const TAttribute& a = attributes[i];
        switch (a.Symbol) {
            case symSrc:
                givenSource_ = a.StrValue;
                break;
            case symID:
            case symName:
                if (document_ && document_->anchors && !a.StrValue.empty())
                    document_->anchors->AddObject(platform::AnsiUpperCase(a.StrValue), this);
                break;
            case symAlt:
                altText = attributes.DisplayText(a);
                if (hintText.empty()) hintText = altText;
                break;
            case symTitle:
                hintText = attributes.DisplayText(a);
                break;
            case symAlign:
                placement = ObjectAlignment(a.StrValue, placement);
                break;
            case symBorder:
                borderOff = a.IntValue == 0;
                break;
            case symWidth:
                if (a.StrValue.find('%') != std::string::npos) {
                    widthIsPercent = true;
                    givenWidth = std::clamp(a.IntValue, 1, 100);
                } else {
                    givenWidth = BoundedLength(std::max(0, a.IntValue));
                }
                break;
            case symHeight:
                givenHeight = BoundedLength(std::max(1, a.IntValue));
                break;
            case symIsMap:
                serverMap = true;
                break;
            case symUseMap: {
                std::string name = platform::AnsiUpperCase(a.StrValue);
                const auto first = name.find_first_not_of(' ');
                name = first == std::string::npos ? "" : name.substr(first, name.find_last_not_of(' ') - first + 1);
                if (!name.empty() && name[0] == '#') name.erase(0, 1);
                hasClientMap = !name.empty();
                clientMapName = name;
                break;
            }
            case symHSpace:
                gapLeft = gapRight = ObjectSpacing(a.IntValue);
                break;
            case symVSpace:
                gapTop = gapBottom = ObjectSpacing(a.IntValue);
                break;
            case symActive:
                isActive = true;
                break;
            case symTransp:
                transparency = 1;
                break;
            default:
                break;
        }
    }
    if (Floats() && !attributes.FindAttribute(symHSpace)) gapLeft = gapRight = 3;
}

std::unique_ptr<TImageObj> TImageObj::CreateFromName(TSectionList* document,
                                                     const std::string& name) {
    const std::string expanded = document ? document->ExpandPictureName(name) : name;
    auto image = std::unique_ptr<TImageObj>(new TImageObj(document, TAttributeList(), expanded));
    image->givenSource_ = name;
    image->borderOff = true;
    return image;
}

TImageObj::TImageObj(TSectionList* document, const TImageObj& other)
    : TFloatingObj(other),
      source(other.source),
      altText(other.altText),
      hintText(other.hintText),
      givenWidth(other.givenWidth),
      widthIsPercent(other.widthIsPercent),
      givenHeight(other.givenHeight),
      borderOff(other.borderOff),
      serverMap(other.serverMap),
      transparency(other.transparency),
      hasClientMap(other.hasClientMap),
      clientMapName(other.clientMapName),
      isActive(other.isActive),
      pictureWidth(other.pictureWidth),
      pictureHeight(other.pictureHeight),
      sized(other.sized),
      hasBorder(other.hasBorder),
      waiting(other.waiting),
      document_(document),
      givenSource_(other.givenSource_),
      picture_(other.picture_),
      mask_(other.mask_),
      looked_(other.looked_),
      isPlaceholder_(other.isPlaceholder_),
      isError_(other.isError_),
      inLink_(other.inLink_),
      printCopy_(true),
      textColor_(other.textColor_) {
    // A print copy shows the frame on screen as a still picture.
    if (other.gif_) {
        picture_ =
            std::make_shared<platform::Bitmap>(other.gif_->FrameBitmap(other.gif_->CurrentFrame()));
        std::optional<platform::Bitmap> frameMask =
            other.gif_->FrameMask(other.gif_->CurrentFrame());
        mask_ = frameMask ? std::make_shared<platform::Bitmap>(std::move(*frameMask)) : nullptr;
    }
}

TFormControlObj* TImageObj::FormControl() const {
    return formControl;
}

TImageObj::~TImageObj() {
    if (formControl) formControl->image = nullptr;
    ReleaseAnimation();
    if (waiting && document_) document_->ForgetPendingImage(this);
    // The picture under the mouse must not outlive itself in the document.
    if (document_ && document_->hoverImage == this) document_->hoverImage = nullptr;
    // A live document's image gives its use of the cached picture back.
    if (!printCopy_ && !cacheKey_.empty() && document_ && document_->imageCache)
        document_->imageCache->DecUsage(cacheKey_);
}

std::unique_ptr<TFloatingObj> TImageObj::CreatePrintCopy(TSectionList* document) const {
    return std::unique_ptr<TFloatingObj>(new TImageObj(document, *this));
}

void TImageObj::ApplyProperties(const TProperties& props) {
    ApplyPlacement(props);
    if (hintText.empty()) hintText = props.ElementTitle;

    const PropValue& w = props[piWidth];
    if (w.isString()) {
        const std::string text = platform::AsciiLowerCase(w.string());
        if (text == "auto") {
            givenWidth = 0;
            widthIsPercent = false;
        } else if (text.find('%') != std::string::npos) {
            widthIsPercent = true;
            givenWidth = std::clamp(LengthToPixels(text, false, 100, props.EmPixels, props.ExPixels, 0), 1, 100);
        } else {
            const int px =
                BoundedLength(LengthToPixels(text, false, 0, props.EmPixels, props.ExPixels, 0));
            if (px > 0) {
                givenWidth = px;
                widthIsPercent = false;
            }
        }
    }
    const PropValue& h = props[piHeight];
    if (h.isString()) {
        const int px =
            BoundedLength(LengthToPixels(h.string(), false, 0, props.EmPixels, props.ExPixels, 0));
        if (px > 0) givenHeight = px;
    }
}

void TImageObj::Obtain() {
    looked_ = true;
    const std::string name =
        document_ ? document_->PictureRequestName(givenSource_, source) : std::string();
    const std::string key = CacheKey(name);
    if (key.empty()) {
        ShowError();
        return;
    }
    // Another image already waits for this name: the host was asked once.
    if (document_->pendingImages.count(key)) {
        StartWaiting(key);
        return;
    }
    const TPictureLookup found = LookupPicture(*document_, name, transparency == 1);
    if (found.waiting)
        StartWaiting(key);
    else if (found.picture)
        TakePicture(found, key);
    else
        ShowError();
}

void TImageObj::ReleaseAnimation() {
    if (animation_ && document_) std::erase(document_->animatedImages, animation_.get());
    animation_.reset();
    gif_.reset();
}

void TImageObj::StartWaiting(const std::string& key) {
    ReleaseAnimation();
    waiting = true;
    picture_.reset();
    mask_.reset();
    isPlaceholder_ = true;
    isError_ = false;
    document_->AddPendingImage(key, this);
}

void TImageObj::TakePicture(const TPictureLookup& found, const std::string& key) {
    ReleaseAnimation();
    picture_ = found.picture;
    mask_ = found.mask;
    if (found.animation && !printCopy_) {
        // Each image animates a copy of its own, sharing the frames. An ACTIVE image
        // stays still until it is hovered.
        gif_ = TGIFImage::CreateShared(*found.animation);
        if (document_ && !isActive) {
            animation_ = std::make_unique<ImageAnimation>(*gif_, document_);
            document_->animatedImages.push_back(animation_.get());
        }
    }
    if (found.transparency >= 2) transparency = found.transparency;
    cacheKey_ = document_ && document_->imageCache ? key : std::string();
    isPlaceholder_ = isError_ = false;
}

void TImageObj::ShowError() {
    ReleaseAnimation();
    picture_.reset();
    mask_.reset();
    isPlaceholder_ = isError_ = true;
    transparency = 1;
}

void TImageObj::TakeSuppliedPicture(const TPictureLookup& found, const std::string& key) {
    waiting = false;
    if (found.picture)
        TakePicture(found, key);
    else
        ShowError();
}

void TImageObj::SizeFor(platform::Canvas& canvas, int availWidth, TFontObj* font) {
    const bool showImages = !document_ || document_->showImages;
    if (showImages && !looked_) Obtain();
    if (font) {
        textColor_ = font->font.Color;
        inLink_ = font->IsLink();
        link_ = inLink_ ? &font->LinkTarget() : nullptr;
        linkRun_ = inLink_ ? font : nullptr;
    }
    const bool placeholder = !showImages || isPlaceholder_;
    const platform::Bitmap& shown = !showImages || waiting
                                        ? DefaultPicture()
                                        : (isError_ || !picture_ ? ErrorPicture() : *picture_);
    const int naturalWidth = std::max(1, shown.width());
    const int naturalHeight = std::max(1, shown.height());

    if (!sized) {
        if (placeholder) {
            if (givenWidth > 0 && !widthIsPercent && givenHeight > 0) {
                pictureWidth = givenWidth;
                pictureHeight = givenHeight;
                sized = true;
            } else {
                pictureWidth = naturalWidth;
                pictureHeight = naturalHeight;
            }
        } else if (widthIsPercent) {
            pictureWidth = static_cast<int>(
                std::max(1LL, static_cast<long long>(availWidth) * givenWidth / 100));
            pictureHeight = givenHeight > 0 ? givenHeight
                                            : std::max(1, static_cast<int>(static_cast<long long>(pictureWidth) *
                                                                           naturalHeight / naturalWidth));
        } else {
            if (givenWidth > 0 && givenHeight > 0) {
                pictureWidth = givenWidth;
                pictureHeight = givenHeight;
            } else if (givenHeight > 0) {
                pictureHeight = givenHeight;
                pictureWidth = std::max(1, static_cast<int>(static_cast<long long>(givenHeight) * naturalWidth /
                                                            naturalHeight));
            } else if (givenWidth > 0) {
                pictureWidth = givenWidth;
                pictureHeight = std::max(1, static_cast<int>(static_cast<long long>(givenWidth) * naturalHeight /
                                                             naturalWidth));
            } else {
                pictureWidth = naturalWidth;
                pictureHeight = naturalHeight;
            }
            sized = true;
        }
    }
    if (placeholder && !sized) {
        // Room for the ALT text beside the sign.
        const platform::FontSpec saved = canvas.font();
        canvas.setFont(ObjectCaptionFont());
        const platform::Size text = canvas.textExtent(platform::Utf8ToUtf16(altText));
        canvas.setFont(saved);
        pictureWidth = std::max(pictureWidth, text.cx + 2 + kAltTextIndent);
        pictureHeight = std::max(pictureHeight, std::max(24, text.cy));
    }
    hasBorder = inLink_ && !borderOff;
    boxWidth = pictureWidth + (hasBorder ? 2 : 0);
    boxHeight = pictureHeight + (hasBorder ? 2 : 0);
}

void TImageObj::DrawPicture(platform::Canvas& canvas, int x, int y, int w, int h) {
    const bool showImages = !document_ || document_->showImages;
    const bool placeholder = !showImages || isPlaceholder_;
    if (!placeholder && gif_) {
        gif_->Draw(canvas, x, y, w, h);
        if (animation_) static_cast<ImageAnimation&>(*animation_).Drawn();
        return;
    }
    if (!placeholder && picture_) {
        const platform::Rect source{0, 0, picture_->width(), picture_->height()};
        canvas.drawBitmap(*picture_, source, {x, y, x + w, y + h}, transparency >= 1 ? mask_.get() : nullptr);
        return;
    }
    // Placeholders keep their natural size, inset from the box's corner.
    const bool error = showImages && !waiting;
    const platform::Bitmap& sign = error ? ErrorPicture() : DefaultPicture();
    if (w < 24 || h < 24) return;
    const int sx = x + kPlaceholderInset, sy = y + kPlaceholderInset;
    canvas.drawBitmap(sign, {0, 0, sign.width(), sign.height()},
                      {sx, sy, sx + sign.width(), sy + sign.height()},
                      error ? &ErrorMask() : nullptr);
}

void TImageObj::Draw(platform::Canvas& canvas, int x, int y) {
    paintX = x;
    drawY = y + (document_ ? document_->scrollY : 0);
    const bool showImages = !document_ || document_->showImages;
    const bool placeholder = !showImages || isPlaceholder_;
    canvas.setBrush({0, platform::BrushStyle::Clear});
    const int px = x + (hasBorder ? 1 : 0), py = y + (hasBorder ? 1 : 0);
    DrawPicture(canvas, px, py, pictureWidth, pictureHeight);
    const platform::Rect box{px, py, px + pictureWidth, py + pictureHeight};
    if (placeholder && !altText.empty()) {
        const platform::FontSpec saved = canvas.font();
        canvas.setFont(ObjectCaptionFont());
        canvas.setTextColor(textColor_);
        canvas.setBackgroundMode(platform::BackgroundMode::Transparent);
        canvas.setTextAlign(platform::TextAlign::Top);
        canvas.save();
        canvas.intersectClipRect(box);
        // The 2 pixels the box keeps free beside the text when it is sized for it.
        DrawWrappedText(
            canvas,
            {box.left + kAltTextIndent, box.top + kPlaceholderInset, box.right - 2, box.bottom},
            platform::Utf8ToUtf16(altText));
        canvas.restore();
        canvas.setFont(saved);
    }
    if (hasBorder) {
        canvas.setPen({textColor_, platform::PenStyle::Solid, 1});
        canvas.rectangle({x, y, x + boxWidth, y + boxHeight});
    } else if (placeholder) {
        // A one-pixel sunken frame.
        canvas.setPen({platform::SystemColorValue(platform::colorButtonShadow), platform::PenStyle::Solid, 1});
        canvas.moveTo(box.left, box.bottom - 1);
        canvas.lineTo(box.left, box.top);
        canvas.lineTo(box.right, box.top);
        canvas.setPen({platform::SystemColorValue(platform::colorButtonHighlight), platform::PenStyle::Solid, 1});
        canvas.moveTo(box.right - 1, box.top + 1);
        canvas.lineTo(box.right - 1, box.bottom - 1);
        canvas.lineTo(box.left, box.bottom - 1);
    }
    // The picture of a link or of an image input that has the keyboard focus shows it, as
    // a link's text does.
    if ((linkRun_ && linkRun_->hasFocus) || (formControl && formControl->HasFocus()))
        canvas.focusRect({x, y, x + boxWidth, y + boxHeight});
}

void TImageObj::SetHoverState(int state) {
    if (state == hoverState) return;
    hoverState = state;
    if (isActive && gif_ && document_) {
        const int frames = gif_->FrameCount;
        auto& animated = document_->animatedImages;
        const auto stopPlaying = [&] {
            gif_->SetAnimating(false);
            if (animation_) std::erase(animated, animation_.get());
        };
        if (state == 0) {
            // Back to rest: still, on its first frame.
            stopPlaying();
            gif_->SetCurrentFrame(1);
        } else if (state == 1 && frames > 3) {
            // A longer picture plays while the mouse is over it.
            if (!animation_) animation_ = std::make_unique<ImageAnimation>(*gif_, document_);
            if (std::find(animated.begin(), animated.end(), animation_.get()) == animated.end())
                animated.push_back(animation_.get());
            gif_->SetCurrentFrame(1);
            gif_->SetAnimating(true);
            document_->StartAnimationTimer();
        } else if (frames >= 2) {
            stopPlaying();
            gif_->SetCurrentFrame(state == 2 && frames == 3 ? 3 : 2);
        }
    }
    if (document_ && document_->viewer) document_->viewer->InvalidatePaintSurface();
}

unsigned TImageObj::HitTest(int X, int Y, std::string& title, const TUrlTarget*& linkTarget) {
    // X and Y count from the picture's corner, inside the border, as maps do.
    const int ix = X, iy = Y;
    if (ix < 0 || iy < 0 || ix >= pictureWidth || iy >= pictureHeight) return 0;
    unsigned result = 0;
    if (!hintText.empty()) {
        title = hintText;
        result |= 4;
    }
    if (hasClientMap && document_) {
        for (const auto& map : document_->imageMaps) {
            if (map->MapId != clientMapName) continue;
            std::unique_ptr<TUrlTarget> target;
            if (map->HitTest(ix, iy, target) && target) {
                mapTarget_.Copy(*target);
                linkTarget = &mapTarget_;
                return result | 1;
            }
            return result;
        }
    }
    if (serverMap && link_) {
        mapTarget_.Copy(*link_);
        mapTarget_.Url += "?" + std::to_string(ix) + "," + std::to_string(iy);
        linkTarget = &mapTarget_;
        return result | 1;
    }
    if (link_) {
        linkTarget = link_;
        result |= 1;
    }
    return result;
}
