// Any bytes as a picture: the loader types them by their first bytes and must end
// with a picture or nothing, asked with and without corner transparency, for true-colour
// and palette screens.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "image/PictureLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const int transparency = size > 0 && (data[size - 1] & 1) ? LowerLeftCorner : NotTransparent;
    static const std::array<platform::TColor, 256> palette = [] {
        std::array<platform::TColor, 256> p{};
        for (int i = 0; i < 256; ++i) p[i] = static_cast<platform::TColor>(i * 0x010203 & 0xFFFFFF);
        return p;
    }();
    const int screen = size > 0 ? (data[size - 1] >> 1) % 3 : 0;  // 24 bits, 8 bits, 4 bits
    const ScreenColors colors{screen == 0   ? 24
                              : screen == 1 ? 8
                                            : 4,
                              screen == 1 ? &palette : nullptr};
    const auto picture = LoadAnyPicture(bytes, transparency, colors);
    if (picture && picture->mask) {
        // The mask always matches the picture.
        if (picture->mask->width() != picture->bitmap.width() || picture->mask->height() != picture->bitmap.height())
            __builtin_trap();
    }
    return 0;
}
