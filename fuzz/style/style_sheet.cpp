// Style sheet text, a style attribute, and the cascade over what they stored: any
// bytes must give some result without a crash, a hang or unbounded memory.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "style/PropStack.h"
#include "style/StyleList.h"
#include "style/StyleParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TStyleList styles;
    styles.BuildDefaults("Arial", "Courier New", 12, 0, 0xFF0000, 0x800080, 0x0000FF, true, 1, 10,
                         15);
    ParseStyleSheetText(styles, text, size % 2 ? "c:\\docs\\" : "proto://host/dir/");

    TProperties attribute;
    ParseStyleAttribute(text.substr(0, 4096), attribute);

    // Open a few elements against whatever the sheet stored.
    TPropStack stack;
    stack.Reset(styles);
    stack.PushProperties(styles, "div", "x", "main", nullptr, "", "");
    stack.PushProperties(styles, "a", "nav", "", &attribute, "t", "link");
    stack.PushProperties(styles, "p", "", "", nullptr, "", "");
    stack.Last().GetFont();
    stack.PopToTag("a", styles);
    TVMarginArray vm;
    stack.Last().GetMarginArray(vm);
    int autoCount = 0;
    TBoxNumbers box{};
    ConvertMarginArray(vm, 600, 400, 16, 8, autoCount, box);
    return 0;
}
