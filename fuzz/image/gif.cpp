// Any bytes as a GIF file: the decoder ends with a picture or none, never a crash, a
// hang or memory out of proportion to the input. A picture it gives is consistent
// (strip, mask and frames agree), animates through all its frames and draws.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "image/GifImage.h"
#include "platform/RecordingCanvas.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    static const std::array<platform::TColor, 256> palette = [] {
        std::array<platform::TColor, 256> p{};
        for (int i = 0; i < 256; ++i) p[i] = static_cast<platform::TColor>(i * 0x030507 & 0xFFFFFF);
        return p;
    }();
    bool notAnimated = false;
    auto gif = CreateGifFromStream(notAnimated, bytes);
    if (!gif) return 0;
    // The last byte picks the screen: true colour, 8 bits or 4 bits. Palette screens
    // are tried on small pictures only: reducing large ones is slow work, not new paths.
    const int screen = data[size - 1] % 3;
    if (screen != 0 &&
        static_cast<long long>(gif->Width) * gif->FrameCount * gif->Height <= 1 << 18) {
        const ScreenColors colors{screen == 1 ? 8 : 4, screen == 1 ? &palette : nullptr};
        gif = CreateGifFromStream(notAnimated, bytes, colors);
        if (!gif) __builtin_trap();  // the screen never decides whether a picture is read
    }
    const ThtBitmap& strip = gif->FrameStrip();
    if (gif->FrameCount < 1 || notAnimated != (gif->FrameCount == 1)) __builtin_trap();
    if (strip.width() != gif->Width * gif->FrameCount || strip.height() != gif->Height)
        __builtin_trap();
    if (static_cast<int>(gif->Frames().size()) != gif->FrameCount) __builtin_trap();
    if (strip.UsesMask != gif->IsTransparent) __builtin_trap();
    if (strip.UsesMask && (strip.MaskBitmap->width() != strip.width() ||
                           strip.MaskBitmap->height() != strip.height()))
        __builtin_trap();
    for (const TgfFrame& frame : gif->Frames())
        if (frame.delay < 30 || frame.disposal < 0 || frame.disposal > 3) __builtin_trap();

    // Run the animation on a clock of our own, through every frame of a shared copy.
    std::int64_t now = 0;
    SetAnimationClock([&] { return now; });
    auto copy = TGIFImage::CreateShared(*gif);
    platform::RecordingCanvas canvas;
    copy->SetAnimating(true);
    for (int tick = 0; tick < 2 * gif->FrameCount + 2 && tick < 64; ++tick) {
        copy->Draw(canvas, 0, 0, gif->Width, gif->Height);
        now += 100000;
        copy->AdvanceIfDue(nullptr);
        if (copy->CurrentFrame() < 1 || copy->CurrentFrame() > gif->FrameCount) __builtin_trap();
    }
    SetAnimationClock(nullptr);
    const platform::Bitmap& first = gif->FirstFrameBitmap();
    if (first.width() != gif->Width || first.height() != gif->Height) __builtin_trap();
    if (const platform::Bitmap* mask = gif->FirstFrameMask())
        if (mask->width() != first.width() || mask->height() != first.height()) __builtin_trap();
    return 0;
}
