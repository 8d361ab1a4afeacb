#pragma once
// What the picture decoders raise on malformed or oversized input. The loaders catch
// it: a picture that cannot be read shows as a missing picture, never as a message.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Errors.h"

// A picture whose decoded size would pass this many pixels is refused before anything
// is allocated for it, whatever its header claims.
inline constexpr std::uint64_t kMaxPicturePixels = 64'000'000;
// Picture files larger than this are not read at all (an uncompressed 32-bit picture of
// the largest size accepted fits).
inline constexpr std::uint64_t kMaxPictureFileBytes = kMaxPicturePixels * 4 + (1u << 20);

class EInvalidGraphicOperation : public platform::Exception {
public:
    using platform::Exception::Exception;
};

// Throws EInvalidGraphicOperation unless width x height is a picture we accept.
void CheckPictureSize(std::int64_t width, std::int64_t height);

// A picture file's bytes; none for a file that is missing or larger than any picture
// we accept. Throws when the file cannot be read.
std::optional<std::string> ReadPictureFile(std::string_view path);
