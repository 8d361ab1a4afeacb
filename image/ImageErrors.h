#pragma once
// What the picture decoders raise on malformed or oversized input. The loaders catch
// it: a picture that cannot be read shows as a missing picture, never as a message.

#include <cstdint>

#include "platform/Errors.h"

// A picture whose decoded size would pass this many pixels is refused before anything
// is allocated for it, whatever its header claims.
inline constexpr std::uint64_t kMaxPicturePixels = 64'000'000;

class EInvalidGraphicOperation : public platform::Exception {
public:
    using platform::Exception::Exception;
};

// Throws EInvalidGraphicOperation unless width x height is a picture we accept.
void CheckPictureSize(std::int64_t width, std::int64_t height);
