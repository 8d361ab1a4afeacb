// Any bytes as a picture: the loader types them by their first bytes and must end
// with a picture or nothing, asked with and without corner transparency.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "image/PictureLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const int transparency = size > 0 && (data[size - 1] & 1) ? LowerLeftCorner : NotTransparent;
    const auto picture = LoadPicture(bytes, transparency);
    if (picture && picture->mask) {
        // The mask always matches the picture.
        if (picture->mask->width() != picture->bitmap.width() || picture->mask->height() != picture->bitmap.height())
            __builtin_trap();
    }
    return 0;
}
