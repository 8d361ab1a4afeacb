#pragma once
// A GIF picture ready to show: every frame decoded once and composed into one wide
// strip (frame 1 at the left, each drawn over the one before) with a matching mask,
// the frames' timing, and the animation state. Showing a frame copies its part of
// the strip; animating only changes which part.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "image/ColorReduction.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Types.h"

// One frame's place and timing.
struct TgfFrame {
    int left = 0, top = 0, width = 0, height = 0;
    int delay = 30;    // milliseconds
    int disposal = 0;  // 0 to 3
    bool isCopy = false;
};
using TgfFrameList = std::vector<TgfFrame>;

// A bitmap with a mask of the same size (white where the page shows through).
class ThtBitmap : public platform::Bitmap {
  public:
    using platform::Bitmap::Bitmap;
    explicit ThtBitmap(platform::Bitmap bitmap) : platform::Bitmap(std::move(bitmap)) {}
    // The part `source` of the bitmap stretched into `dest`, through the mask when used.
    void Draw(platform::Canvas& canvas, const platform::Rect& dest,
              const platform::Rect& source) const;

    std::unique_ptr<platform::Bitmap> MaskBitmap;
    bool UsesMask = false;
};

// The millisecond clock animations run by; tests set their own (empty: the system's).
std::int64_t AnimationClock();
void SetAnimationClock(std::function<std::int64_t()> clock);

class TGIFImage {
  public:
    // A second image of the same picture: it shares the strip, with its own frame
    // records, on frame 1, not animating.
    static std::unique_ptr<TGIFImage> CreateShared(const TGIFImage& source);

    bool Animated() const { return FrameCount > 1; }
    int CurrentFrame() const { return currentFrame_; }
    bool Animating() const { return animating_; }
    bool SharesStrip() const { return sharesStrip_; }
    int PassesDone() const { return passesDone_; }
    int FrameInterval() const { return frameInterval_; }
    const ThtBitmap& FrameStrip() const { return *strip_; }
    const TgfFrameList& Frames() const { return frames_; }
    const platform::Rect& LastDestination() const { return lastDest_; }

    // The current frame stretched into the rectangle, which is remembered for repaints.
    void Draw(platform::Canvas& canvas, int X, int Y, int W, int H);
    void SetAnimating(bool on);
    // When animating and the frame's time is up, the next frame (or, after the last
    // pass, a stop on the last frame); `invalidate` is given the rectangle last drawn.
    // Whether the frame changed.
    bool AdvanceIfDue(const std::function<void(const platform::Rect&)>& invalidate);
    void SetCurrentFrame(int n);

    // Frame 1 as a plain bitmap, and its mask (none unless transparent); built once.
    const platform::Bitmap& FirstFrameBitmap() const;
    const platform::Bitmap* FirstFrameMask() const;
    // Any frame (1-based) cut from the strip, with its mask when transparent.
    platform::Bitmap FrameBitmap(int n) const;
    std::optional<platform::Bitmap> FrameMask(int n) const;

    int Width = 0;  // the logical screen
    int Height = 0;
    int FrameCount = 0;
    int LoopCount = 0;  // 0 plays forever
    bool IsTransparent = false;
    bool Visible = true;

  private:
    friend std::unique_ptr<TGIFImage> BuildGifImage(std::string_view stream,
                                                    const ScreenColors& screen);
    platform::Bitmap Crop(const platform::Bitmap& strip, int n) const;

    std::shared_ptr<const ThtBitmap> strip_;
    bool sharesStrip_ = false;
    TgfFrameList frames_;
    int currentFrame_ = 1;
    bool animating_ = false;
    int passesDone_ = 1;
    std::int64_t lastAdvanceTime_ = 0;
    int frameInterval_ = 0;
    platform::Rect lastDest_;
    mutable std::unique_ptr<platform::Bitmap> firstFrame_;
    mutable std::unique_ptr<platform::Bitmap> firstMask_;
};

// The picture in the bytes, or none for any error. NotAnimated is true unless it has
// two frames or more. On screens of 8 bits or fewer the strip is reduced to the
// screen's palette.
std::unique_ptr<TGIFImage> CreateGifFromStream(bool& NotAnimated, std::string_view stream,
                                               const ScreenColors& screen = {});
std::unique_ptr<TGIFImage> CreateGifFromFile(const std::string& FileName, bool& NotAnimated,
                                             const ScreenColors& screen = {});
