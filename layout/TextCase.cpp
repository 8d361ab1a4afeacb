#include "layout/TextCase.h"

#include "platform/Text.h"

std::u16string LowerCaseText(std::u16string_view text) {
    return platform::LowerCaseUtf16(text);
}

std::u16string UpperCaseText(std::u16string_view text) {
    return platform::UpperCaseUtf16(text);
}
