#include "layout/FloatingObj.h"

#include <algorithm>

#include "platform/Screen.h"
#include "platform/Text.h"

int ObjectAlignment(const std::string& value, int current) {
    const std::string word = platform::AsciiLowerCase(value);
    if (word == "top") return kAlignTop;
    if (word == "middle" || word == "absmiddle") return kAlignMiddle;
    if (word == "left") return kFloatLeft;
    if (word == "right") return kFloatRight;
    return current;
}

int ObjectSpacing(int value) {
    constexpr long long kMaxSpacing = 40;
    const long long distance = value < 0 ? -static_cast<long long>(value) : value;
    return static_cast<int>(std::min(kMaxSpacing, distance));
}

platform::FontSpec ObjectCaptionFont() {
    const int pixels = (8 * platform::CurrentScreen().pixelsPerInch + 36) / 72;
    return {"Arial", -pixels, 0, platform::DEFAULT_CHARSET};
}
