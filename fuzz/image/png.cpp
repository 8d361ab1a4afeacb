// Any bytes as a PNG file: the decoder ends with a picture or an exception, never a
// crash, a hang or memory out of proportion to the input. A picture it reads must
// write back and read again the same.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "image/PngImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TPNGImage image;
    try {
        image.LoadFromStream(bytes);
    } catch (const std::exception&) {
        return 0;
    }
    const DibBitmap& picture = image.Bitmap();
    if (picture.isNull()) __builtin_trap();
    if (!image.Alpha().empty() &&
        image.Alpha().size() != static_cast<std::size_t>(picture.width()) * picture.height())
        __builtin_trap();
    // Writing back is slow for large pictures; small ones are enough to check it.
    if (static_cast<std::size_t>(picture.width()) * picture.height() > 1 << 16) return 0;
    std::string saved;
    image.SaveToStream(saved);
    TPNGImage again;
    again.LoadFromStream(saved);
    const DibBitmap& reread = again.Bitmap();
    if (reread.width() != picture.width() || reread.height() != picture.height()) __builtin_trap();
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (reread.pixel(x, y) != picture.pixel(x, y)) __builtin_trap();
    return 0;
}
