#include "platform/Font.h"

namespace platform {

std::uint8_t ReportedCharset(int requested) {
    switch (requested) {
        case 2: case 77: case 128: case 129: case 130: case 134: case 136: case 161: case 162:
        case 163: case 177: case 178: case 186: case 204: case 222: case 238:
            return static_cast<std::uint8_t>(requested);
        default:
            return ANSI_CHARSET;
    }
}

}  // namespace platform
