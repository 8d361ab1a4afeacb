#pragma once
// Shared set-up for the style tests: a style list with the viewer's usual defaults.

#include "style/StyleList.h"

namespace styletest {

inline constexpr platform::TColor kLinkColor = 0xFF0000;     // blue
inline constexpr platform::TColor kVisitedColor = 0x800080;  // purple
inline constexpr platform::TColor kHoverColor = 0x0000FF;    // red

inline void BuildUsualDefaults(TStyleList& styles) {
    styles.BuildDefaults("Times New Roman", "Courier New", 12, 0, kLinkColor, kVisitedColor,
                         kHoverColor, true, 1, 10, 15);
}

}  // namespace styletest
