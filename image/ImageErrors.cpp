#include "image/ImageErrors.h"

#include <filesystem>
#include <string>

#include "platform/Files.h"

void CheckPictureSize(std::int64_t width, std::int64_t height) {
    if (width <= 0 || height <= 0)
        throw EInvalidGraphicOperation("Picture of no size");
    if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxPicturePixels)
        throw EInvalidGraphicOperation("Picture too large: " + std::to_string(width) + " x " +
                                       std::to_string(height));
}

std::optional<std::string> ReadPictureFile(std::string_view path) {
    if (!platform::FileExists(path)) return std::nullopt;
    std::error_code error;
    const auto size = std::filesystem::file_size(platform::ResolveExistingPath(path), error);
    if (error || size > kMaxPictureFileBytes) return std::nullopt;
    return platform::ReadWholeFile(path);
}
