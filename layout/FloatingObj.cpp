#include "layout/FloatingObj.h"

#include <algorithm>

#include "platform/Screen.h"
#include "platform/Text.h"
#include "style/Lengths.h"
#include "style/Properties.h"

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

void TFloatingObj::ApplyPlacement(const TProperties& props) {
    int align = 0;
    if (props.GetVerticalAlign(align)) placement = align;
    if (props.GetFloat(align) && (align == kFloatLeft || align == kFloatRight)) {
        placement = align;
        if (gapRight == 0) gapLeft = gapRight = 3;
    }
    // Margins are taken as given, negative ones too: only HSPACE and VSPACE are made
    // positive and kept within 40 pixels.
    TakeMarginLength(props, piMarginLeft, gapLeft);
    TakeMarginLength(props, piMarginRight, gapRight);
    TakeMarginLength(props, piMarginTop, gapTop);
    TakeMarginLength(props, piMarginBottom, gapBottom);
}

platform::FontSpec ObjectCaptionFont() {
    const int pixels = (8 * platform::CurrentPixelsPerInch() + 36) / 72;
    return {"Arial", -pixels, 0, platform::DEFAULT_CHARSET};
}
