// Measuring a text section and breaking it into lines.

#include <algorithm>
#include <cstdlib>

#include "layout/Document.h"
#include "layout/IndentManager.h"
#include "layout/Section.h"

namespace {

bool IsObject(char16_t c) { return c == kControlChar || c == kObjectChar; }
bool IsIdeograph(char16_t c) { return c >= kIdeographStart; }

}  // namespace

// Objects and controls are kept in the order of their characters: a section may hold
// thousands of them, so they are found by halving.
TFloatingObj* TSection::ObjectAt(int offset) const {
    auto it = std::lower_bound(InlineObjects().begin(), InlineObjects().end(), offset,
                               [](const std::unique_ptr<TFloatingObj>& object, int value) {
                                   return object->textOffset < value;
                               });
    return it != InlineObjects().end() && (*it)->textOffset == offset ? it->get() : nullptr;
}

TFormControlObj* TSection::ControlAt(int offset) const {
    auto it = std::lower_bound(
        Controls().begin(), Controls().end(), offset,
        [](const TFormControlObj* control, int value) { return control->textOffset < value; });
    return it != Controls().end() && (*it)->textOffset == offset ? *it : nullptr;
}

std::vector<TFormControlObj*>::const_iterator TSection::FirstControlFrom(int offset) const {
    return std::lower_bound(
        Controls().begin(), Controls().end(), offset,
        [](const TFormControlObj* control, int value) { return control->textOffset < value; });
}

int TSection::RunEnd(int start, int limit) const {
    return RunEnd(start, limit, fontRuns.IndexAt(start));
}

int TSection::RunEnd(int start, int limit, int runIndex) const {
    int end = runIndex + 1 < fontRuns.Count() ? std::min(limit, fontRuns[runIndex + 1].textOffset)
                                              : limit;
    if (HasObjects()) {
        for (int i = start; i < end; ++i)
            if (IsObject(textBuffer[static_cast<std::size_t>(i)])) return i;
    }
    return end;
}

int TSection::TextWidth(platform::Canvas& canvas, int start, int count, bool trimTrailing) {
    if (trimTrailing)
        while (count > 0) {
            const char16_t c = textBuffer[static_cast<std::size_t>(start + count - 1)];
            if (c != u' ' && c != kBreakChar) break;
            --count;
        }
    int width = 0;
    const int end = start + count;
    std::u16string& scratch = MeasuringScratch();
    for (int i = start; i < end;) {
        const char16_t c = textBuffer[static_cast<std::size_t>(i)];
        if (c == kControlChar) {
            if (TFormControlObj* control = ControlAt(i))
                width += control->Width() + control->gapLeft + control->gapRight;
            ++i;
        } else if (c == kObjectChar && ObjectAt(i)) {
            TFloatingObj* object = ObjectAt(i);
            if (!object->Floats()) width += object->FloatWidth();
            ++i;
        } else {
            // The font run found once serves for the run's end too.
            const int index = fontRuns.IndexAt(i);
            const TFontObj& font = fontRuns[index];
            const int runEnd = std::max(i + 1, RunEnd(i, end, index));
            canvas.setFont(font.font);
            width += canvas
                         .textExtent(textBuffer.View(static_cast<std::size_t>(i),
                                                     static_cast<std::size_t>(runEnd - i), scratch))
                         .cx +
                     font.italicOverhang;
            i = runEnd;
        }
    }
    return width;
}

int TSection::GlyphWidth(platform::Canvas& canvas, int start, int count) {
    int overhang = 0;
    TFontObj* font = fontRuns.FontAt(start, overhang);
    const int width = TextWidth(canvas, start, count, false);
    // TextWidth added the overhang of each text run; a glyph cell is without it.
    return width - 2 * (font && count > 0 && !IsObject(textBuffer[static_cast<std::size_t>(start)]) ? overhang : 0);
}

int TSection::ClearSpace(IndentManager& indent, int Y) const {
    if (clearSides == 0) return 0;
    return std::max(0, indent.ClearY(clearSides, Y) - Y);
}

// What TextWidth gives for any range of the section, from one walk over its text: the
// widths of the characters before each offset, and the italic overhangs of the text
// pieces (text of one font run between objects) that start before it; a range that
// starts inside a piece adds that piece's overhang too.
struct TSection::RangeWidths {
    std::vector<int> widthBefore, overhangBefore, leadingOverhang;
    bool overhangs = false;  // some font run is italic with an overhang

    int Width(int start, int end) const {
        if (end <= start) return 0;
        const auto a = static_cast<std::size_t>(start), b = static_cast<std::size_t>(end);
        const int width = widthBefore[b] - widthBefore[a];
        if (!overhangs) return width;
        return width + overhangBefore[b] - overhangBefore[a] + leadingOverhang[a];
    }
};

void TSection::MeasureRanges(platform::Canvas& canvas, RangeWidths& ranges) const {
    const int n = static_cast<int>(textBuffer.size());
    const auto size = static_cast<std::size_t>(n) + 1;
    std::u16string& scratch = MeasuringScratch();
    ranges.overhangs = false;
    for (int r = 0; r < fontRuns.Count(); ++r)
        if (fontRuns[r].italicOverhang != 0) ranges.overhangs = true;
    // Every character's width is written below: no need to clear what an earlier
    // section left.
    ranges.widthBefore.resize(size);
    ranges.widthBefore[0] = 0;
    if (ranges.overhangs) {
        ranges.overhangBefore.assign(size, 0);
        ranges.leadingOverhang.assign(size, 0);
    }
    int* width = ranges.widthBefore.data() + 1;  // each character's own width, summed below
    for (int i = 0, run = 0; i < n;) {
        const char16_t c = textBuffer[static_cast<std::size_t>(i)];
        if (c == kControlChar) {
            const TFormControlObj* control = ControlAt(i);
            width[i] = control ? control->Width() + control->gapLeft + control->gapRight : 0;
            ++i;
            continue;
        }
        if (c == kObjectChar && ObjectAt(i)) {
            const TFloatingObj* object = ObjectAt(i);
            width[i] = object->Floats() ? 0 : object->FloatWidth();
            ++i;
            continue;
        }
        while (run + 1 < fontRuns.Count() && fontRuns[run + 1].textOffset <= i) ++run;
        const TFontObj& font = fontRuns[run];
        // The piece ends where TextWidth's walk would end it: at the next run or object.
        const int end = std::max(i + 1, RunEnd(i, n, run));
        canvas.setFont(font.font);
        canvas.textAdvances(textBuffer.View(static_cast<std::size_t>(i),
                                            static_cast<std::size_t>(end - i), scratch),
                            width + i);
        if (ranges.overhangs) {
            ranges.overhangBefore[static_cast<std::size_t>(i) + 1] = font.italicOverhang;
            for (int k = i + 1; k < end; ++k)
                ranges.leadingOverhang[static_cast<std::size_t>(k)] = font.italicOverhang;
        }
        i = end;
    }
    for (std::size_t k = 1; k < size; ++k) ranges.widthBefore[k] += ranges.widthBefore[k - 1];
    if (ranges.overhangs)
        for (std::size_t k = 1; k < size; ++k)
            ranges.overhangBefore[k] += ranges.overhangBefore[k - 1];
}

void TSection::MeasureWidths(platform::Canvas& canvas, int& min, int& max) {
    if (cachedMinWidth >= 1 && !minWidthIsBound_ && InlineObjects().empty()) {
        min = cachedMinWidth;
        max = cachedMaxWidth;
        return;
    }
    min = max = 0;
    const int n = static_cast<int>(textBuffer.size());
    if (n == 0) return;
    int floatTotal = 0;
    for (auto& object : InlineObjects()) {
        object->SizeFor(canvas, 0, fontRuns.RunAt(object->textOffset));
        if (object->WidthIsPercent()) continue;
        if (!object->Floats()) {
            min = std::max(min, object->boxWidth);
        } else {
            floatTotal += object->FloatWidth();
            if (std::string* flags = WrittenBreakFlags())
                (*flags)[static_cast<std::size_t>(object->textOffset)] = 'y';
        }
    }
    for (auto* control : Controls())
        min = std::max(min, control->Width() + control->gapLeft + control->gapRight);
    auto withIndent = [&](int width) {
        // A percentage of the room: negative ones (hanging first lines) too.
        if (textIndentPercent != 0)
            return Saturated(static_cast<long long>(width) * 100 / (100LL - textIndentPercent));
        return Saturated(width, textIndentPx);
    };
    // Kept from section to section so its room is not asked for again each time; layout
    // runs on the one thread that owns the document.
    static RangeWidths ranges;
    MeasureRanges(canvas, ranges);
    const TSectionText& t = textBuffer;
    for (int start = 0; start < n;) {
        int end = start;
        while (end < n && t[static_cast<std::size_t>(end)] != kBreakChar) ++end;
        int width = ranges.Width(start, end);
        if (start == 0) width = withIndent(width);
        max = std::max(max, width);
        start = end + 1;
    }
    max += floatTotal;
    ForEachWord([&](int start, int end) {
        int width = ranges.Width(start, end);
        if (start == 0) width = withIndent(width);
        min = std::max(min, width);
    });
    min = std::max(min, floatTotal);
    cachedMinWidth = min;
    cachedMaxWidth = max;
    minWidthIsBound_ = false;
}

template <class Visit>
void TSection::ForEachWord(Visit visit) const {
    const TSectionText& t = textBuffer;
    const int n = static_cast<int>(t.size());
    auto breaksBefore = [&](int i) {
        const char16_t c = t[static_cast<std::size_t>(i)];
        return (c == u' ' || IsObject(c) || c == kBreakChar || c == u'-' || c == u'?' ||
                IsIdeograph(c)) &&
               BreakFlag(i - 1) == 'y';
    };
    int i = 0;
    while (i < n && t[static_cast<std::size_t>(i)] == u' ') ++i;
    while (i < n) {
        int end = i + 1;
        const char16_t first = t[static_cast<std::size_t>(i)];
        if (!(IsIdeograph(first) && BreakFlag(i) == 'y')) {
            while (end < n && !breaksBefore(end)) ++end;
            if (end < n && (t[static_cast<std::size_t>(end)] == u'-' || t[static_cast<std::size_t>(end)] == u'?')) ++end;
        }
        int trimmed = end;  // trailing spaces and breaks do not count
        while (trimmed > i) {
            const char16_t c = t[static_cast<std::size_t>(trimmed - 1)];
            if (c != u' ' && c != kBreakChar) break;
            --trimmed;
        }
        visit(i, trimmed);
        i = end;
        while (i < n) {
            const char16_t c = t[static_cast<std::size_t>(i)];
            if (c != u' ' && !IsObject(c) && c != kBreakChar) break;
            ++i;
        }
    }
}

bool TSection::MinWidthAtMost(platform::Canvas& canvas, int limit) {
    if (limit >= kMaxLayoutExtent) return TSectionBase::MinWidthAtMost(canvas, limit);
    // A section not finished has no bound yet. A print copy works none out: it is laid
    // out for the printer, and its runs keep the screen's metrics.
    if (cachedMinWidth < 1 && !(ownerDocument && ownerDocument->isPrintCopy)) KeepMinWidthBound();
    if (cachedMinWidth >= 1 && InlineObjects().empty() &&
        (!minWidthIsBound_ || cachedMinWidth <= limit))
        return cachedMinWidth <= limit;
    if (textBuffer.empty()) return 0 <= limit;
    return TSectionBase::MinWidthAtMost(canvas, limit);  // no bound, or one that settles nothing
}

void TSection::KeepMinWidthBound() {
    // Images and controls are sized by measuring, preformatted text measures its own way,
    // and characters beyond Latin-1 may come from another font than the run's.
    if (HasObjects() || IsPreformatted() || textBuffer.IsWide() || textBuffer.empty()) return;
    // No character is wider than its font's widest (twice that is allowed for, as a
    // synthesised bold or a stand-in font for a missing letter may draw wider than the
    // font says), and each font-run piece of a word adds at most one italic overhang:
    // a word is at most that wide.
    long long widest = 0, overhang = 0;
    for (int r = 0; r < fontRuns.Count(); ++r) {
        widest = std::max<long long>(widest, 2LL * fontRuns[r].maxCharWidth);
        overhang = std::max<long long>(overhang, fontRuns[r].italicOverhang);
    }
    const long long pieces = fontRuns.Count();
    auto bound = [&](long long chars) {
        return chars * widest + std::min(pieces, chars) * overhang;
    };
    // As MeasureWidths indents the first word (a percentage below 100 only widens it the
    // more the wider it is).
    auto indented = [&](long long width) {
        return textIndentPercent != 0 ? width * 100 / (100LL - textIndentPercent)
                                      : width + textIndentPx;
    };
    long long widestWord = 0;
    if (BreakFlags().empty()) {
        // Every character may break: no word reaches past a space or a line break, so the
        // stretches between them bound the words (the first one is also taken indented).
        std::size_t first = 0, longest = 0;
        textBuffer.RunsBetween(u' ', kBreakChar, first, longest);
        widestWord = std::max(bound(static_cast<long long>(longest)),
                              indented(bound(static_cast<long long>(first))));
    } else {
        ForEachWord([&](int start, int end) {
            const long long width = bound(end - start);
            widestWord = std::max(widestWord, start == 0 ? indented(width) : width);
        });
    }
    if (widestWord < 1 || widestWord >= kMaxLayoutExtent) return;
    cachedMinWidth = static_cast<int>(widestWord);
    minWidthIsBound_ = true;
}

int TSection::CountFitting(platform::Canvas& canvas, int start, std::vector<TFloatingObj*>& floats,
                           int& floatHeight, IndentManager& indent, int Y, int max) {
    const TSectionText& t = textBuffer;
    int count = max;
    bool breakFollows = false;
    const std::size_t breakAt = t.find(kBreakChar, static_cast<std::size_t>(start));
    if (breakAt != std::u16string::npos && static_cast<int>(breakAt) < start + max) {
        if (static_cast<int>(breakAt) == start) return 1;
        count = static_cast<int>(breakAt) - start;
        breakFollows = true;
    }
    const int left = Saturated(indent.LeftEdgeAt(Y), start == 0 ? textIndentPx : 0);
    const int width = indent.RightEdgeAt(Y) - left;
    int taken;
    if (start == 0 && !HasObjects() && width >= count * fontRuns[0].maxCharWidth) {
        taken = count;
    } else {
        int used = 0;
        bool lineEmpty = true;
        int i = start;
        const int end = start + count;
        while (i < end) {
            const char16_t c = t[static_cast<std::size_t>(i)];
            if (c == kControlChar && ControlAt(i)) {
                TFormControlObj* control = ControlAt(i);
                used += control->Width() + control->gapLeft + control->gapRight;
                lineEmpty = false;
                if (used > width) break;
                ++i;
            } else if (c == kObjectChar && ObjectAt(i)) {
                TFloatingObj* object = ObjectAt(i);
                if (!object->Floats()) {
                    used += object->FloatWidth();
                    lineEmpty = false;
                    if (used > width) break;
                } else {
                    object->paintY = Y;
                    if (lineEmpty) {
                        used += object->FloatWidth();
                        if (used <= width) {
                            indent.PlaceFloat(Y, *object);
                            floatHeight = std::max(floatHeight, object->FloatHeight());
                        } else {
                            if (indent.NextFloatEndY(Y) <= Y) {
                                indent.PlaceFloat(Y, *object);
                                floatHeight = std::max(floatHeight, object->FloatHeight());
                                return 1;
                            }
                            break;
                        }
                    } else {
                        floats.push_back(object);
                    }
                }
                ++i;
            } else {
                const int runEnd = std::max(i + 1, RunEnd(i, end));
                const int length = runEnd - i;
                canvas.setFont(fontRuns.RunAt(i)->font);
                int fit = 0;
                const platform::Size extent = canvas.textExtentFit(
                    t.View(static_cast<std::size_t>(i), static_cast<std::size_t>(length),
                           MeasuringScratch()),
                    std::max(0, width - used), fit);
                if (fit < length) {
                    i += fit;
                    break;
                }
                used += extent.cx;
                lineEmpty = false;
                i = runEnd;
            }
        }
        taken = i - start;
    }
    if (breakFollows && taken == count) ++taken;
    return taken;
}

namespace {

// One line in the making: its vertical room and where it stands.
void AddEmptyLine(std::vector<LineRec>& lines, int firstChar, int height) {
    LineRec line;
    line.firstChar = firstChar;
    line.textHeight = height;
    line.occupiedHeight = height;
    lines.push_back(line);
}

}  // namespace

int TSection::Layout(platform::Canvas& canvas, int X, int Y, int refX, int refY, int availWidth,
                     int availHeight, IndentManager& indent, int& maxWidth, int& cursor) {
    return LayoutLines(canvas, X, Y, availWidth, indent, maxWidth, cursor);
}

int TSection::LayoutLines(platform::Canvas& canvas, int X, int Y, int availWidth,
                          IndentManager& indent, int& maxWidth, int& cursor) {
    topY = paintTopY = layoutY = Y;
    layoutX = X;
    cellLeftX = indent.leftX;
    firstCursorPos = cursor;
    flowHeight = 0;
    lines.clear();
    if (extras_) extras_->fitCache = {};
    auto finish = [&](int drawBottom) {
        cursor = firstCursorPos + cursorCount;
        paintHeight = std::max(flowHeight, drawBottom - Y);
        flowBottomY = Y + flowHeight;
        paintBottomY = Y + paintHeight;
        return flowHeight;
    };
    if (cursorCount == 0) {
        flowHeight = ClearSpace(indent, Y);
        maxWidth = 0;
        return finish(Y);
    }
    if (textIndentPercent != 0)
        textIndentPx = Saturated(static_cast<long long>(availWidth) * textIndentPercent / 100);
    availWidth = std::min(availWidth, indent.RightEdgeAt(Y) - indent.LeftEdgeAt(Y));
    maxWidth = availWidth;
    if (lines.capacity() == 0) {
        // At a first layout, room for the lines the text will take at about half the
        // first font's widest letter a character, rather than growing a line at a time.
        const long long guess = static_cast<long long>(cursorCount) *
                                std::max(1, fontRuns[0].maxCharWidth / 2) / std::max(1, availWidth);
        lines.reserve(static_cast<std::size_t>(std::clamp(guess + 1, 1LL, 64LL)));
    }
    for (auto& object : InlineObjects()) {
        object->SizeFor(canvas, availWidth, fontRuns.RunAt(object->textOffset));
        maxWidth = std::max(maxWidth, object->boxWidth);
    }
    for (auto* control : Controls())
        if (control->IsVisible()) maxWidth = std::max(maxWidth, control->Width());

    const TSectionText& t = textBuffer;
    const int n = cursorCount;
    auto flag = [&](int i) { return BreakFlag(i); };
    auto ch = [&](int i) { return t[static_cast<std::size_t>(i)]; };
    std::vector<TFloatingObj*> floats;
    int drawBottom = Y;
    int curY = Y;
    int lineStart = 0;
    bool firstLine = true;
    while (n - lineStart > 0) {
        const int remaining = n - lineStart;
        if (firstLine) {
            firstLine = false;
            const int clear = ClearSpace(indent, curY);
            if (clear > 0) {
                AddEmptyLine(lines, lineStart, clear);
                flowHeight = Saturated(flowHeight, clear);
                curY = Saturated(curY, clear);
            }
        }
        int NN, N;
        int floatHeight = 0;  // of the floats placed at the line's top
        if (IsPreformatted()) {
            N = NN = remaining;
        } else {
            NN = CountFitting(canvas, lineStart, floats, floatHeight, indent, curY, remaining);
            N = std::max(NN, 1);
            drawBottom = std::max(drawBottom, curY + floatHeight);
        }
        if (NN == 0) {
            const int next = indent.NextFloatEndY(curY);
            if (next > curY) {
                AddEmptyLine(lines, lineStart, next - curY);
                flowHeight = Saturated(flowHeight, next, -curY);
                curY = next;
                continue;
            }
        }
        if (N < remaining) {
            int e = lineStart + N;  // the line's end, exclusive
            const char16_t c = ch(e - 1);
            const char16_t d = ch(e);
            auto addSpaces = [&] {
                while (e < n && ch(e) == u' ') ++e;
            };
            if (((c == u' ' || IsObject(c)) && flag(e - 1) != 'n') || c == kBreakChar || IsIdeograph(c)) {
                addSpaces();
            } else if (d == u' ' && flag(e - 1) != 'n') {
                addSpaces();
            } else if (IsObject(d) && flag(e - 1) != 'n') {
                // The line ends before the object.
            } else {
                int k = e - 1;
                for (; k >= lineStart; --k) {
                    const char16_t x = ch(k);
                    const bool candidate = x == u' ' || IsObject(x) || x == u'-' || x == u'?' ||
                                           IsIdeograph(x) || (k + 1 < n && IsIdeograph(ch(k + 1)));
                    if (candidate && flag(k) != 'n') break;
                }
                if (k > lineStart || (k == lineStart && IsObject(ch(k)) && flag(k) != 'n')) {
                    e = k + 1;
                    addSpaces();
                } else {
                    // The first word is longer than the line.
                    k = e - 1;
                    for (; k < n - 1; ++k) {
                        const char16_t x = ch(k);
                        const char16_t y = ch(k + 1);
                        const bool candidate = x == u'-' || x == u'?' || y == u' ' || IsObject(y) ||
                                               y == kBreakChar || IsIdeograph(y);
                        if (candidate && flag(k) != 'n') break;
                    }
                    e = k + 1;
                    addSpaces();
                    if (e < n && ch(e) == kBreakChar) ++e;
                    const int next = indent.NextFloatEndY(curY);
                    if (next > curY) {
                        // Another try where a float has ended and the line is wider.
                        AddEmptyLine(lines, lineStart, next - curY);
                        flowHeight = Saturated(flowHeight, next, -curY);
                        curY = next;
                        continue;
                    }
                    maxWidth = std::max(maxWidth, TextWidth(canvas, lineStart, e - lineStart, true));
                }
            }
            N = e - lineStart;
        }
        // Completing the line.
        LineRec line;
        line.firstChar = lineStart;
        line.charCount = N;
        bool onlyObjects = !(N == 1 && ch(lineStart) == kBreakChar);
        for (int i = lineStart; i < lineStart + N && onlyObjects; ++i)
            onlyObjects = IsObject(ch(i)) || ch(i) == kBreakChar;
        if (!onlyObjects) {
            const int firstRun = fontRuns.IndexAt(lineStart);
            const int lastRun = fontRuns.IndexAt(lineStart + N - 1);
            for (int r = firstRun; r <= lastRun; ++r) {
                line.textHeight = std::max<int>(line.textHeight, fontRuns[r].lineContribution);
                line.descent = std::max<int>(line.descent, fontRuns[r].descent);
            }
        }
        for (auto& object : InlineObjects()) {
            if (object->textOffset < lineStart || object->textOffset >= lineStart + N || object->Floats())
                continue;
            object->paintY = curY;
            const int h = object->FloatHeight();
            switch (object->placement) {
                case kAlignTop:
                    line.spaceBelow = std::max(line.spaceBelow, h - line.textHeight);
                    break;
                case kAlignMiddle: {
                    if (line.textHeight == 0) {
                        TFontObj* font = fontRuns.RunAt(lineStart);
                        line.textHeight = font->lineContribution;
                        line.descent = font->descent;
                    }
                    const int c = (h - line.textHeight) / 2;
                    line.spaceBelow = std::max(line.spaceBelow, c);
                    line.spaceAbove = std::max(line.spaceAbove, h - line.textHeight - c);
                    break;
                }
                default:  // baseline and bottom
                    line.spaceAbove = std::max(line.spaceAbove, h + line.descent - line.textHeight);
                    break;
            }
        }
        for (auto it = FirstControlFrom(lineStart);
             it != Controls().end() && (*it)->textOffset < lineStart + N; ++it) {
            TFormControlObj* control = *it;
            const int h = control->Height();
            switch (control->alignment) {
                case kAlignTop:
                    line.spaceBelow = std::max(line.spaceBelow, h - line.textHeight);
                    break;
                case kAlignMiddle: {
                    const int c = (h - line.textHeight) / 2;
                    line.spaceBelow = std::max(line.spaceBelow, c);
                    line.spaceAbove = std::max(line.spaceAbove, h - c);
                    break;
                }
                case kAlignBaseline:
                    line.spaceAbove = std::max(line.spaceAbove, h + line.descent - line.textHeight);
                    break;
                default:
                    line.spaceAbove = std::max(line.spaceAbove, h - line.textHeight);
                    break;
            }
            if (!ownerDocument || !ownerDocument->isPrintCopy) control->topY = curY;
        }
        if (line.Height() < minLineHeight) {
            const int half = (minLineHeight - line.Height()) / 2;
            line.spaceAbove += half;
            line.spaceBelow += half;
        }
        if (!ownerDocument || !ownerDocument->isPrintCopy) {
            const int firstRun = fontRuns.IndexAt(lineStart);
            const int lastRun = fontRuns.IndexAt(lineStart + N - 1);
            for (int r = firstRun; r <= lastRun; ++r) {
                if (!fontRuns[r].IsLink()) continue;
                int holder = r;
                while (holder > 0 && !fontRuns[holder].hasTabStop &&
                       fontRuns[holder - 1].LinkTarget().LinkId == fontRuns[r].LinkTarget().LinkId)
                    --holder;
                fontRuns[holder].topY = curY;
            }
        }
        const int L = Saturated(indent.LeftEdgeAt(curY), lineStart == 0 ? textIndentPx : 0);
        const int R = indent.RightEdgeAt(curY);
        // The line's own width matters only when it is not set flush left.
        const bool aligned = textAlign == 2 || textAlign == 3 || textAlign == 4;
        const int W = aligned ? TextWidth(canvas, lineStart, N, true) : 0;
        switch (textAlign) {
            case 2: line.indentX = (L + R - W) / 2 - X; break;
            case 3: line.indentX = R - X - W; break;
            case 4:
                line.indentX = L - X;
                if (lineStart + N < n) {
                    line.extraPixels = std::max(0, R - L - W);
                    for (int i = lineStart; i < lineStart + N - 1; ++i)
                        if (ch(i) == u' ') ++line.spaceCount;
                    if (line.spaceCount == 0) line.extraPixels = 0;
                }
                break;
            default: line.indentX = L - X; break;
        }
        line.availableWidth = R - L;
        const int height = line.Height();
        line.occupiedHeight = std::max(height, floatHeight);
        flowHeight = Saturated(flowHeight, height);
        curY = Saturated(curY, height);
        for (TFloatingObj* object : floats) {
            indent.PlaceFloat(curY, *object);
            line.occupiedHeight = std::max(line.occupiedHeight, height + object->FloatHeight());
            drawBottom = std::max(drawBottom, curY + object->FloatHeight());
        }
        floats.clear();
        lines.push_back(line);
        lineStart += N;
    }
    if (ownerDocument && ownerDocument->firstBaselineSink && *ownerDocument->firstBaselineSink == 0 &&
        !lines.empty())
        *ownerDocument->firstBaselineSink =
            Y + lines[0].spaceAbove + lines[0].textHeight - lines[0].descent;
    if (ownerDocument && !ownerDocument->isPrintCopy && sectionOrdinal % 50 == 0 &&
        layoutCycle != ownerDocument->layoutCycleCount && ownerDocument->sectionTotal > 0 &&
        ownerDocument->viewer)
        ownerDocument->viewer->LayoutProgress(ownerDocument->progressBase +
                                              sectionOrdinal * (100 - ownerDocument->progressBase) /
                                                  ownerDocument->sectionTotal);
    if (ownerDocument) layoutCycle = ownerDocument->layoutCycleCount;
    return finish(drawBottom);
}

int TSection::FitCharacters(platform::Canvas& canvas, int start, int width, int count, int& extent) {
    FitCache& memo = Extras().fitCache;
    if (memo.start == start && memo.width == width && memo.count == count) {
        extent = memo.extent;
        return memo.fit;
    }
    const TSectionText& t = textBuffer;
    int used = 0;
    int i = start;
    const int end = start + count;
    while (i < end) {
        const char16_t c = t[static_cast<std::size_t>(i)];
        if (IsObject(c)) {
            int w = 0;
            if (c == kControlChar) {
                if (TFormControlObj* control = ControlAt(i))
                    w = control->Width() + control->gapLeft + control->gapRight;
            } else if (TFloatingObj* object = ObjectAt(i); object && !object->Floats()) {
                w = object->FloatWidth();
            }
            if (used + w > width) break;
            used += w;
            ++i;
            continue;
        }
        const int runEnd = std::max(i + 1, RunEnd(i, end));
        canvas.setFont(fontRuns.RunAt(i)->font);
        int fit = 0;
        const platform::Size size =
            canvas.textExtentFit(t.View(static_cast<std::size_t>(i),
                                        static_cast<std::size_t>(runEnd - i), MeasuringScratch()),
                                 std::max(0, width - used), fit);
        used += size.cx;
        i += fit;
        if (fit < runEnd - (i - fit)) break;
    }
    extent = used;
    memo = {start, width, count, i - start, used};
    return i - start;
}
