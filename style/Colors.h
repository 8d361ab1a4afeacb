#pragma once
// Colours written in style text and HTML attributes: names, #rgb / #rrggbb, rgb(...)
// and the system colours of the desktop theme.

#include <string_view>

#include "platform/Types.h"

// Reads a colour. Colours written as digits or rgb(...) carry the palette flag, named
// ones do not, system colours carry the system flag. Without NeedHash, bare hex
// digits ("ffcc00") are accepted. The last successful text is remembered, and the
// same text again returns its colour at once.
bool ParseColor(std::string_view text, bool needHash, platform::TColor& color);

// Looks a colour name up, ignoring case.
bool ColorFromName(std::string_view name, platform::TColor& color);
int NamedColorCount();
