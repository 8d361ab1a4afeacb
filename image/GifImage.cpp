#include "image/GifImage.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "image/GifDecoder.h"
#include "image/ImageErrors.h"

namespace {

std::function<std::int64_t()>& ClockOverride() {
    static std::function<std::int64_t()> clock;
    return clock;
}

constexpr std::uint8_t kOpaque = 0;
constexpr std::uint8_t kShowsPage = 1;

std::uint32_t PixelOfTableColor(platform::TColor c) {
    return static_cast<std::uint32_t>(platform::RedOf(c)) << 16 |
           static_cast<std::uint32_t>(platform::GreenOf(c)) << 8 |
           static_cast<std::uint32_t>(platform::BlueOf(c));
}

// Each frame's slot of the strip onto the screen's palette, dithered on its own so
// that parts that stay the same from frame to frame keep the same dots; one lookup
// serves them all.
ThtBitmap ReduceStrip(const platform::Bitmap& strip, int width, int frames,
                      const ScreenColors& screen) {
    ThtBitmap reduced(strip.width(), strip.height(), platform::Bitmap::Format::Indexed8);
    reduced.palette() = ScreenPalette(screen);
    TFastColorLookup lookup(reduced.palette());
    for (int i = 0; i < frames; ++i) {
        const std::size_t slot = static_cast<std::size_t>(i) * width;
        TFloydSteinbergEngine engine(width, lookup);
        DitherRows(
            engine, width, strip.height(),
            [&](int x, int y, int& r, int& g, int& b) {
                const std::uint32_t c = strip.row32(y)[slot + static_cast<std::size_t>(x)];
                r = static_cast<int>((c >> 16) & 0xFF), g = static_cast<int>((c >> 8) & 0xFF),
                b = static_cast<int>(c & 0xFF);
            },
            [&](int x, int y, int index) {
                reduced.row8(y)[slot + static_cast<std::size_t>(x)] =
                    static_cast<std::uint8_t>(index);
            });
    }
    return reduced;
}

}  // namespace

std::int64_t AnimationClock() {
    if (ClockOverride()) return ClockOverride()();
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SetAnimationClock(std::function<std::int64_t()> clock) {
    ClockOverride() = std::move(clock);
}

void ThtBitmap::Draw(platform::Canvas& canvas, const platform::Rect& dest,
                     const platform::Rect& source) const {
    const bool masked = UsesMask && MaskBitmap;
    canvas.drawBitmap(*this, source, dest, masked ? MaskBitmap.get() : nullptr);
}

// ---------------------------------------------------------------- building

std::unique_ptr<TGIFImage> BuildGifImage(std::string_view stream, const ScreenColors& screen) {
    TGif gif;
    gif.Read(stream);
    auto image = std::unique_ptr<TGIFImage>(new TGIFImage);
    const int count = gif.ImageCount();
    image->FrameCount = count;
    image->Width = gif.Screen().width;
    image->Height = gif.Screen().height;
    // A screen of no size takes the first frame's.
    if (image->Width == 0 || image->Height == 0) {
        const TGifImageRecord& first = gif.Image(0);
        image->Width = first.left + first.width;
        image->Height = first.top + first.height;
    }
    image->LoopCount = gif.LoopCount() < 1 ? 0 : gif.LoopCount();
    for (int i = 0; i < count; ++i)
        for (const TGifExtension& extension : gif.Image(i).extensions)
            if (extension.label == TGifExtension::kGraphicControl && extension.transparent)
                image->IsTransparent = true;

    const int width = image->Width, height = image->Height;
    CheckPictureSize(static_cast<std::int64_t>(width) * count, height);
    platform::Bitmap strip(width * count, height);
    std::optional<platform::Bitmap> mask;
    if (image->IsTransparent) {
        // Nothing drawn yet: the page shows through until a frame covers it.
        mask.emplace(width * count, height, platform::Bitmap::Format::Indexed8);
        mask->palette() = {0x000000, 0xFFFFFF};
        for (int y = 0; y < height; ++y)
            std::memset(mask->row8(y), kShowsPage, static_cast<std::size_t>(width) * count);
    }

    for (int i = 0; i < count; ++i) {
        const TGifImageRecord& frame = gif.Image(i);
        const std::size_t slot = static_cast<std::size_t>(i) * width;
        if (i > 0) {
            // Each frame starts from the one before, as composed.
            for (int y = 0; y < height; ++y) {
                std::uint32_t* row = strip.row32(y);
                std::memcpy(row + slot, row + slot - width, static_cast<std::size_t>(width) * 4);
                if (mask) {
                    std::uint8_t* m = mask->row8(y);
                    std::memcpy(m + slot, m + slot - width, static_cast<std::size_t>(width));
                }
            }
            const TGifImageRecord& before = gif.Image(i - 1);
            const TGifExtension* control = before.GraphicControl();
            if (mask && control && control->disposal == 2) {
                // "Restore to background": the area of the frame before shows the page.
                for (int y = before.top; y < std::min(height, before.top + before.height); ++y)
                    for (int x = before.left; x < std::min(width, before.left + before.width); ++x)
                        mask->row8(y)[slot + static_cast<std::size_t>(x)] = kShowsPage;
            }
        }
        const TGifExtension* control = frame.GraphicControl();
        const int transparentIndex =
            control && control->transparent ? control->transparentIndex : -1;
        const TGifColorTable& table = gif.ColorTable(frame.tableNumber);
        std::uint32_t colors[256];
        for (int c = 0; c < 256; ++c)
            colors[c] =
                c < table.count ? PixelOfTableColor(table.colors[static_cast<std::size_t>(c)]) : 0;
        const int right = std::min(width, frame.left + frame.width);
        const int bottom = std::min(height, frame.top + frame.height);
        for (int y = frame.top; y < bottom; ++y) {
            const std::uint8_t* indexes =
                frame.pixels.data() + static_cast<std::size_t>(y - frame.top) * frame.width;
            std::uint32_t* row = strip.row32(y) + slot;
            std::uint8_t* m = mask ? mask->row8(y) + slot : nullptr;
            for (int x = frame.left; x < right; ++x) {
                const int index = indexes[x - frame.left];
                if (index == transparentIndex) {
                    if (m && i == 0) m[x] = kShowsPage;
                    continue;
                }
                row[x] = colors[index];
                if (m) m[x] = kOpaque;
            }
        }
    }

    ThtBitmap finished =
        screen.depth <= 8 ? ReduceStrip(strip, width, count, screen) : ThtBitmap(std::move(strip));
    if (mask) {
        finished.MaskBitmap = std::make_unique<platform::Bitmap>(std::move(*mask));
        finished.UsesMask = true;
    }
    image->strip_ = std::make_shared<const ThtBitmap>(std::move(finished));

    for (int i = 0; i < count; ++i) {
        const TGifImageRecord& record = gif.Image(i);
        const TGifExtension* control = record.GraphicControl();
        TgfFrame frame;
        frame.left = record.left;
        frame.top = record.top;
        frame.width = record.width;
        frame.height = record.height;
        frame.disposal = control && control->disposal <= 3 ? control->disposal : 0;
        const int hundredths = control && control->delay >= 1 ? control->delay : 1;
        frame.delay = std::max(30, hundredths * 10);
        image->frames_.push_back(frame);
    }
    return image;
}

std::unique_ptr<TGIFImage> CreateGifFromStream(bool& NotAnimated, std::string_view stream,
                                               const ScreenColors& screen) {
    NotAnimated = true;
    try {
        std::unique_ptr<TGIFImage> image = BuildGifImage(stream, screen);
        NotAnimated = !image->Animated();
        return image;
    } catch (...) {
        return nullptr;  // a broken picture shows as a missing one
    }
}

std::unique_ptr<TGIFImage> CreateGifFromFile(const std::string& FileName, bool& NotAnimated,
                                             const ScreenColors& screen) {
    NotAnimated = true;
    try {
        const std::optional<std::string> bytes = ReadPictureFile(FileName);
        return bytes ? CreateGifFromStream(NotAnimated, *bytes, screen) : nullptr;
    } catch (...) {
        return nullptr;
    }
}

// ---------------------------------------------------------------- showing

std::unique_ptr<TGIFImage> TGIFImage::CreateShared(const TGIFImage& source) {
    auto copy = std::unique_ptr<TGIFImage>(new TGIFImage);
    copy->Width = source.Width;
    copy->Height = source.Height;
    copy->FrameCount = source.FrameCount;
    copy->LoopCount = source.LoopCount;
    copy->IsTransparent = source.IsTransparent;
    copy->Visible = source.Visible;
    copy->strip_ = source.strip_;
    copy->sharesStrip_ = true;
    copy->frames_ = source.frames_;
    for (TgfFrame& frame : copy->frames_) frame.isCopy = true;
    return copy;
}

void TGIFImage::Draw(platform::Canvas& canvas, int X, int Y, int W, int H) {
    lastDest_ = {X, Y, X + W, Y + H};
    if (!Visible || FrameCount == 0 || !strip_) return;
    const platform::Rect source{(currentFrame_ - 1) * Width, 0, currentFrame_ * Width, Height};
    strip_->Draw(canvas, lastDest_, source);
}

void TGIFImage::SetAnimating(bool on) {
    if (on == animating_) return;
    animating_ = on;
    passesDone_ = 1;
    if (on && FrameCount > 1) {
        frameInterval_ = std::max(frames_[static_cast<std::size_t>(currentFrame_ - 1)].delay, 1);
        lastAdvanceTime_ = AnimationClock();
    }
}

bool TGIFImage::AdvanceIfDue(const std::function<void(const platform::Rect&)>& invalidate) {
    // A single frame never moves on.
    if (!animating_ || FrameCount <= 1) return false;
    const std::int64_t now = AnimationClock();
    if (now - lastAdvanceTime_ < frameInterval_) return false;
    lastAdvanceTime_ = now;
    if (currentFrame_ == FrameCount) {
        if (LoopCount > 0 && passesDone_ >= LoopCount) {
            SetAnimating(false);  // the last frame stays
            return false;
        }
        ++passesDone_;
    }
    ++currentFrame_;
    if (currentFrame_ > FrameCount || currentFrame_ <= 0) currentFrame_ = 1;
    if (invalidate) invalidate(lastDest_);
    frameInterval_ = std::max(frames_[static_cast<std::size_t>(currentFrame_ - 1)].delay, 1);
    return true;
}

void TGIFImage::SetCurrentFrame(int n) {
    if (n == currentFrame_) return;
    if (n > FrameCount) n = 1;
    if (n <= 0) n = FrameCount;
    currentFrame_ = n;
}

platform::Bitmap TGIFImage::Crop(const platform::Bitmap& strip, int n) const {
    platform::Bitmap out(Width, Height, strip.format());
    out.palette() = strip.palette();
    const std::size_t from = static_cast<std::size_t>(n - 1) * Width;
    for (int y = 0; y < Height; ++y) {
        if (strip.format() == platform::Bitmap::Format::Rgb32)
            std::memcpy(out.row32(y), strip.row32(y) + from, static_cast<std::size_t>(Width) * 4);
        else
            std::memcpy(out.row8(y), strip.row8(y) + from, static_cast<std::size_t>(Width));
    }
    return out;
}

platform::Bitmap TGIFImage::FrameBitmap(int n) const {
    if (!strip_ || FrameCount == 0) return {};
    return Crop(*strip_, std::clamp(n, 1, FrameCount));
}

std::optional<platform::Bitmap> TGIFImage::FrameMask(int n) const {
    if (!strip_ || !strip_->MaskBitmap || FrameCount == 0) return std::nullopt;
    return Crop(*strip_->MaskBitmap, std::clamp(n, 1, FrameCount));
}

const platform::Bitmap& TGIFImage::FirstFrameBitmap() const {
    if (!firstFrame_) {
        firstFrame_ = std::make_unique<platform::Bitmap>(FrameBitmap(1));
        if (IsTransparent) {
            if (std::optional<platform::Bitmap> mask = FrameMask(1))
                firstMask_ = std::make_unique<platform::Bitmap>(std::move(*mask));
        }
    }
    return *firstFrame_;
}

const platform::Bitmap* TGIFImage::FirstFrameMask() const {
    if (!IsTransparent) return nullptr;
    FirstFrameBitmap();
    return firstMask_.get();
}
