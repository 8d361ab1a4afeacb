// The value readers on any text: colours, lengths, font sizes, and the typed
// queries that read stored strings.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "style/Colors.h"
#include "style/Lengths.h"
#include "style/Properties.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const bool flag = data[0] & 1;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    platform::TColor color;
    ParseColor(text, flag, color);
    ParseColor(text, !flag, color);
    LengthToPixels(text, flag, 300, 16, 8, -7);
    LengthToPoints(text, 12);

    TProperties props;
    for (PropIndex index : {piLineHeight, piTextIndent, piBackgroundPosition, piWidth,
                            piMarginLeft, piBorderTopWidth, piPaddingTop, piFontSize,
                            piFontFamily, piFontWeight, piBackgroundImage})
        props[index] = text;
    props[piBorderTopStyle] = "solid";
    props.GetLineHeight(15);
    bool percent = false;
    props.GetTextIndent(percent);
    TBackgroundPosition position;
    props.GetBackgroundPosition(16, 8, position);
    std::string url;
    props.GetBackgroundImage(url);
    props.GetFont();
    TVMarginArray vm;
    props.GetMarginArray(vm);
    int autoCount = 0;
    TBoxNumbers box{};
    ConvertMarginArray(vm, 600, 400, 16, 8, autoCount, box);
    ConvertPaddings(vm, 16, 8, box);
    ConvertInlineMargins(vm, 600, box, 16, 8);
    return 0;
}
