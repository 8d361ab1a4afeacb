#pragma once
// A readable text picture of a laid-out document: one line per item (kind, tag,
// position, size), blocks with their margin, border and padding boxes, and one line
// per line of text (offset, length, x, y, width, baseline). No pointers, so the
// same document always dumps the same.

#include <string>

#include "platform/Canvas.h"

class TSectionList;

std::string DumpLayout(TSectionList& document, platform::Canvas& canvas);
