#pragma once
// Small readings the table classes share: percentages in attributes, lengths and
// percentages given by style, colours given by attributes.

#include <algorithm>
#include <string>

#include "html/Attributes.h"
#include "layout/TableWidths.h"
#include "style/Colors.h"
#include "style/Lengths.h"
#include "style/Properties.h"

namespace tablesupport {

inline bool IsPercent(const TAttribute& a) {
    return a.StrValue.find('%') != std::string::npos;
}

// A pixel figure kept far from the int range.
inline int Pixels(int value) {
    return std::clamp(value, 0, kMaxTableLength);
}

// A length given by style in any unit but percent, in pixels above 0.
inline bool StylePixels(const PropValue& value, int em, int ex, int& pixels) {
    if (value.isString()) {
        if (value.string().find('%') != std::string::npos) return false;
        pixels = LengthToPixels(value.string(), false, 0, em, ex, 0);
        return pixels > 0;
    }
    if (value.isInteger() && value.integer() != NoValue && value.integer() != AutoValue) {
        pixels = value.integer();
        return pixels > 0;
    }
    return false;
}

// A percentage given by style, in tenths above 0.
inline bool StylePercent(const PropValue& value, int em, int ex, int& tenths) {
    if (!value.isString() || value.string().find('%') == std::string::npos) return false;
    tenths = LengthToPixels(value.string(), false, 1000, em, ex, 0);
    return tenths > 0;
}

// An attribute colour, when there is one that reads.
inline bool ReadColor(const TAttribute* attribute, platform::TColor& color) {
    platform::TColor value = 0;
    if (!attribute || !ParseColor(attribute->StrValue, false, value)) return false;
    color = value;
    return true;
}

}  // namespace tablesupport
