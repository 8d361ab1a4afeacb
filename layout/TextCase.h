#pragma once
// Case mapping of UTF-16 text for text-transform and case-blind search, through the
// platform's casing for our users' locale (every script Unicode cases). The result
// keeps the text's length, so offsets into it stay valid.

#include <string>
#include <string_view>

std::u16string LowerCaseText(std::u16string_view text);
std::u16string UpperCaseText(std::u16string_view text);
