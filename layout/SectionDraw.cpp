// Drawing a text section's lines, and the hit tests and position queries on them.

#include <algorithm>

#include "layout/Document.h"
#include "layout/IndentManager.h"
#include "layout/Section.h"
#include "layout/TextCase.h"
#include "platform/CodePage.h"

namespace {

bool IsObject(char16_t c) { return c == kControlChar || c == kObjectChar; }

// The pixels the canvas's justification gives the first `spaces` spaces of a line.
int JustifiedExtra(const LineRec& line, int spaces) {
    if (line.spaceCount <= 0 || spaces <= 0) return 0;
    spaces = std::min(spaces, line.spaceCount);
    return spaces * (line.extraPixels / line.spaceCount) +
           std::min(spaces, line.extraPixels % line.spaceCount);
}

int CountSpaces(std::u16string_view text) {
    return static_cast<int>(std::count(text.begin(), text.end(), u' '));
}

}  // namespace

int TSection::LineIndexOf(int offset) const {
    // The last line that starts at or before the offset and holds characters.
    auto it = std::upper_bound(lines.begin(), lines.end(), offset,
                               [](int value, const LineRec& line) { return value < line.firstChar; });
    int index = static_cast<int>(it - lines.begin()) - 1;
    while (index > 0 && lines[static_cast<std::size_t>(index)].charCount == 0) --index;
    return index;
}

int TSection::Draw(platform::Canvas& canvas, const platform::Rect& clip, IndentManager& indent,
                   int X, int refX, int refY) {
    const int below = layoutY + flowHeight;
    lastDrawX = X;
    if (cursorCount == 0 || lines.empty() || !ownerDocument) return below;
    TSectionList& doc = *ownerDocument;
    const int scroll = doc.scrollY;
    if (topY + paintHeight - scroll < clip.top || topY - scroll > clip.bottom) return below;
    canvas.setTextAlign(platform::TextAlign::Baseline);
    const int selStart = doc.selStart - firstCursorPos;
    const int selEnd = doc.selEnd - firstCursorPos;
    const int pageTop = scroll + clip.top;
    int y = topY;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        LineRec& line = lines[i];
        const int lineTop = y;
        const int lineBottom = y + line.Height();
        if (!doc.isPrinting) {
            // A line is drawn while the floats that start on it show, which may be
            // long after its text has scrolled away: drawing it puts them on the list.
            const int reach = lineTop + std::max(line.Height(), line.occupiedHeight);
            if (reach - scroll < clip.top || lineTop - scroll > clip.bottom) {
                y = lineBottom;
                continue;
            }
        } else {
            if (lineTop + line.occupiedHeight > doc.pageBottomY) {
                const bool tallerThanPage = line.occupiedHeight > clip.bottom - clip.top;
                if (!tallerThanPage && !doc.pageShortened) {
                    if (lineTop < doc.pageBottomY) {
                        doc.pageBottomY = lineTop;
                        doc.pageShortened = true;
                    }
                    break;
                }
            } else if (lineBottom <= pageTop) {
                y = lineBottom;
                continue;
            }
            doc.pageIsEmpty = false;
        }
        y += line.spaceAbove + line.textHeight;
        DrawLine(canvas, line, static_cast<int>(i), X, y, selStart, selEnd, indent, clip);
        y += line.spaceBelow;
    }
    return below;
}

void TSection::DrawLine(platform::Canvas& canvas, const LineRec& constLine, int lineIndex, int X,
                        int bottomY, int selStart, int selEnd, IndentManager& indent,
                        const platform::Rect& clip) {
    LineRec& line = lines[static_cast<std::size_t>(lineIndex)];
    TSectionList& doc = *ownerDocument;
    const int scroll = doc.scrollY;
    const TSectionText& t = textBuffer;
    std::u16string scratch;
    int x = X + line.indentX;
    line.paintX = x;
    line.paintY = bottomY - line.textHeight;
    const int baseline = bottomY - line.descent - scroll;
    const int lineTopScreen = line.paintY - line.spaceAbove - scroll;
    const int first = line.firstChar;
    const int end = first + line.charCount;
    int drawEnd = end;
    while (drawEnd > first && (t[static_cast<std::size_t>(drawEnd - 1)] == u' ' ||
                               t[static_cast<std::size_t>(drawEnd - 1)] == kBreakChar))
        --drawEnd;
    const bool preformatted = IsPreformatted();
    if (preformatted) {
        canvas.save();
        canvas.intersectClipRect({indent.leftX, clip.top, indent.leftX + indent.paintWidth, clip.bottom});
    }
    if (line.spaceCount > 0) canvas.setTextJustification(line.extraPixels, line.spaceCount);
    const platform::DeviceCaps caps = doc.isPrinting ? canvas.deviceCaps() : platform::DeviceCaps{};
    int spacesDrawn = 0;
    int textX = 0;  // width of the text drawn so far, without justification
    const bool caret = doc.showCaret && doc.selStart == doc.selEnd && selStart >= first && selStart <= drawEnd &&
                       selStart < cursorCount;
    int caretX = -1;
    auto place = [&] { return line.paintX + textX + JustifiedExtra(line, spacesDrawn); };
    for (int i = first; i < drawEnd;) {
        if (caret && i == selStart) caretX = place();
        const char16_t c = t[static_cast<std::size_t>(i)];
        if (c == kControlChar) {
            if (TFormControlObj* control = ControlAt(i)) {
                const int h = control->Height();
                int top;
                switch (control->alignment) {
                    case kAlignTop: top = line.paintY - line.spaceAbove; break;
                    case kAlignMiddle: top = bottomY - (line.textHeight + h) / 2; break;
                    case kAlignBaseline: top = bottomY - h - line.descent; break;
                    case kAlignBottom: top = bottomY - h; break;
                    default: top = bottomY; break;
                }
                const int cx = place() + control->gapLeft;
                if (doc.isPrinting || doc.controlsAsPictures)
                    control->PaintForPrint(canvas, cx, top - scroll);
                else control->ShowAt(cx, top - scroll);
                // A print copy draws the page's own controls: what it draws says nothing
                // about what the screen shows.
                if (!doc.isPrintCopy) control->painted = true;
                textX += control->Width() + control->gapLeft + control->gapRight;
            }
            ++i;
            continue;
        }
        if (c == kObjectChar && ObjectAt(i)) {
            TFloatingObj* object = ObjectAt(i);
            if (object->Floats()) {
                // Placed from the cell's edge, drawn as far from X as it was laid out,
                // so floats move with a relatively positioned block too.
                doc.paintOrder.push_back({object, X + cellLeftX - layoutX + object->floatIndent,
                                          object->paintY + object->gapTop - scroll});
            } else {
                const int ox = place() + object->gapLeft;
                int oy;
                switch (object->placement) {
                    case kAlignTop: oy = lineTopScreen + object->gapTop; break;
                    case kAlignMiddle: {
                        // Centred on the text as the layout made room for it: of its
                        // height with the gaps, half less (h - text) div 2 above the
                        // text's middle.
                        const int h = object->FloatHeight();
                        const int textBottom = baseline + line.descent;
                        oy = textBottom - h + (h - line.textHeight) / 2 + object->gapTop;
                        break;
                    }
                    default: oy = baseline - object->boxHeight - object->gapBottom; break;
                }
                object->paintX = ox;
                object->drawY = oy + scroll;
                object->Draw(canvas, ox, oy);
                textX += object->FloatWidth();
            }
            ++i;
            continue;
        }
        // A text run: up to the next font change, object or selection boundary.
        int j = std::max(i + 1, RunEnd(i, drawEnd));
        if (i < selStart && selStart < j) j = selStart;
        if (i < selEnd && selEnd < j) j = selEnd;
        if (caret && i < selStart && selStart < j) j = selStart;
        TFontObj& run = *fontRuns.RunAt(i);
        const std::u16string_view piece =
            t.View(static_cast<std::size_t>(i), static_cast<std::size_t>(j - i), scratch);
        canvas.setFont(run.font);
        platform::TColor color = run.font.Color;
        const platform::TColor background = run.font.BackgroundColor;
        if (doc.isPrinting) {
            const platform::TColor rgb = platform::ColorToRGB(color);
            if (doc.printMonoBlack && caps.numColors >= 0 && caps.numColors < 3 && rgb != 0xFFFFFF)
                color = 0;
            else if (!doc.printBackgrounds && (rgb & 0xE0E0) == 0xE0E0)
                color = 0xA0A0A0;
        }
        if (run.hasFocus) color = 0;
        const bool selected = i >= selStart && i < selEnd;
        if (selected) {
            canvas.setBackgroundMode(platform::BackgroundMode::Opaque);
            canvas.setBackgroundColor(color);
            canvas.setTextColor(background != platform::clNone ? background
                                                               : platform::ColorToRGB(color) ^ 0xFFFFFF);
        } else {
            if (background != platform::clNone) {
                canvas.setBackgroundMode(platform::BackgroundMode::Opaque);
                canvas.setBackgroundColor(background);
            } else {
                canvas.setBackgroundMode(platform::BackgroundMode::Transparent);
            }
            canvas.setTextColor(color);
        }
        int shift = 0;
        if (run.scriptShift == kAlignSub) shift = line.descent / 2 + 1;
        else if (run.scriptShift == kAlignSuper) shift = -(run.lineContribution / 3);
        const int startX = place();
        canvas.textOut(startX, baseline + shift, piece);
        textX += canvas.textExtent(piece).cx;
        spacesDrawn += CountSpaces(piece);
        if (run.hasFocus)
            canvas.focusRect({startX, baseline - run.metricHeight + run.descent, place(),
                              baseline + run.descent});
        i = j;
    }
    if (caret && caretX < 0) caretX = place();
    if (caret) {
        TFontObj* run = fontRuns.RunAt(std::min(selStart, std::max(0, cursorCount - 1)));
        canvas.setPen({0, platform::PenStyle::Solid, 1});
        canvas.moveTo(caretX, baseline - run->metricHeight + run->descent);
        canvas.lineTo(caretX, baseline + run->descent);
    }
    if (line.spaceCount > 0) canvas.setTextJustification(0, 0);
    if (preformatted) canvas.restore();
    (void)constLine;
}

unsigned TSection::HitTestLink(platform::Canvas& canvas, int X, int Y, std::string& title,
                               TFormControlObj*& control, const TUrlTarget*& linkTarget) {
    for (auto& object : InlineObjects()) {
        const platform::Rect box = object->HitBox();
        if (box.contains(X, Y)) {
            if (ownerDocument) ownerDocument->hoverImage = object.get();
            unsigned result = object->HitTest(X - box.left, Y - box.top, title, linkTarget);
            // The picture of an image input answers as the control (the hand shows over it),
            // unless the input is disabled.
            if (TFormControlObj* input = object->FormControl(); input && !input->disabled) {
                control = input;
                result |= htFormControl;
            }
            return result;
        }
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        LineRec& line = lines[i];
        if (!(line.paintY < Y && Y <= line.paintY + line.Height())) continue;
        if (X < line.paintX || line.charCount == 0) return htNothing;
        int extent = 0;
        const int n = FitCharacters(canvas, line.firstChar, X - line.paintX, line.charCount, extent);
        const int k = line.firstChar + n;
        if (k >= line.firstChar + line.charCount || textBuffer[static_cast<std::size_t>(k)] == kObjectChar)
            return htNothing;
        TFontObj* run = fontRuns.RunAt(k);
        unsigned result = htNothing;
        if (run->IsLink()) {
            linkTarget = &run->LinkTarget();
            result |= htUrl;
            if (ownerDocument) ownerDocument->hoverLink = run;
        }
        if (!run->HintText().empty()) {
            title = run->HintText();
            result |= htTitle;
        }
        return result;
    }
    return htNothing;
}

bool TSection::HitTestImage(int X, int Y, TFloatingObj*& obj, int& IX, int& IY) {
    for (auto& object : InlineObjects()) {
        const platform::Rect box = object->HitBox();
        if (object->IsImage() && box.contains(X, Y)) {
            obj = object.get();
            IX = X - box.left;
            IY = Y - box.top;
            return true;
        }
    }
    return false;
}

namespace {

// Width of the first k characters of a line as drawn, justification included.
int DrawnWidth(TSection& s, platform::Canvas& canvas, const LineRec& line, int k) {
    const int width = s.TextWidth(canvas, line.firstChar, k, false);
    if (line.spaceCount == 0) return width;
    std::u16string scratch;
    return width + JustifiedExtra(
                       line, CountSpaces(s.textBuffer.View(static_cast<std::size_t>(line.firstChar),
                                                           static_cast<std::size_t>(k), scratch)));
}

}  // namespace

int TSection::CursorAtPoint(platform::Canvas& canvas, int X, int Y, int& XR, int& YR,
                            int& caretHeight, bool& inText) {
    if (X < lastDrawX || lines.empty()) return -1;
    int y = topY;
    std::size_t index = 0;
    for (; index < lines.size(); ++index) {
        if (y + lines[index].Height() > Y) break;
        y += lines[index].Height();
    }
    if (index == lines.size()) return -1;
    const LineRec& line = lines[index];
    if (X > line.paintX + line.availableWidth) return -1;
    caretHeight = line.textHeight;
    YR = y + line.spaceAbove;
    inText = true;
    const int base = firstCursorPos + line.firstChar;
    if (X < line.paintX) {
        XR = line.paintX;
        inText = false;
        return base;
    }
    int n;
    const int target = X - line.paintX;
    if (line.spaceCount == 0) {
        int extent = 0;
        n = FitCharacters(canvas, line.firstChar, target, line.charCount, extent);
    } else {
        int low = 0, high = line.charCount;  // the largest k whose width fits
        while (low < high) {
            const int mid = (low + high + 1) / 2;
            if (DrawnWidth(*this, canvas, line, mid) <= target) low = mid;
            else high = mid - 1;
        }
        n = low;
    }
    const int width = DrawnWidth(*this, canvas, line, n);
    XR = line.paintX + width;
    if (n < line.charCount) {
        const int next = DrawnWidth(*this, canvas, line, n + 1);
        if (target > (width + next) / 2) {
            XR = line.paintX + next;
            ++n;
        }
    }
    if (n >= line.charCount) inText = false;
    return base + n;
}

bool TSection::PointOfCursor(platform::Canvas* canvas, int cursor, int& X, int& Y) {
    const int offset = cursor - firstCursorPos;
    if (offset < 0 || offset >= cursorCount || lines.empty()) return false;
    const int index = LineIndexOf(offset);
    int y = topY;
    for (int i = 0; i < index; ++i) y += lines[static_cast<std::size_t>(i)].Height();
    const LineRec& line = lines[static_cast<std::size_t>(index)];
    Y = y;
    X = canvas ? line.paintX + DrawnWidth(*this, *canvas, line, offset - line.firstChar) : line.paintX;
    return true;
}

int TSection::SearchForward(int from, std::u16string_view text, bool matchCase) {
    if (text.empty()) return -1;
    const int start = std::max(0, from - firstCursorPos);
    if (start >= cursorCount) return -1;
    const std::u16string haystack = matchCase ? textBuffer.str() : LowerCaseText(textBuffer.str());
    const std::u16string needle = matchCase ? std::u16string(text) : LowerCaseText(text);
    const std::size_t found = haystack.find(needle, static_cast<std::size_t>(start));
    return found == std::u16string::npos ? -1 : firstCursorPos + static_cast<int>(found);
}

int TSection::SearchBackward(int from, std::u16string_view text, bool matchCase) {
    if (text.empty()) return -1;
    const int limit = std::min(from - firstCursorPos, cursorCount);
    if (limit < static_cast<int>(text.size())) return -1;
    const std::u16string haystack = matchCase ? textBuffer.str() : LowerCaseText(textBuffer.str());
    const std::u16string needle = matchCase ? std::u16string(text) : LowerCaseText(text);
    const std::size_t found = haystack.rfind(needle, static_cast<std::size_t>(limit) - needle.size());
    return found == std::u16string::npos ? -1 : firstCursorPos + static_cast<int>(found);
}

int TSection::SourcePosOf(int cursorPos) {
    const int offset = cursorPos - firstCursorPos;
    if (offset < 0 || offset >= cursorCount || sourceRuns.empty()) return -1;
    auto it = std::upper_bound(sourceRuns.begin(), sourceRuns.end(), offset,
                               [](int value, const IndexObj& run) { return value < run.textOffset; });
    if (it == sourceRuns.begin()) return -1;
    --it;
    return it->sourcePos + offset - it->textOffset;
}

int TSection::CursorPosOfSource(int sourcePos, bool prev) {
    for (std::size_t i = 0; i < sourceRuns.size(); ++i) {
        const IndexObj& run = sourceRuns[i];
        const int length = (i + 1 < sourceRuns.size() ? sourceRuns[i + 1].textOffset : cursorCount) - run.textOffset;
        if (sourcePos < run.sourcePos) {
            // Between runs (or before the first): the next run's start, or the
            // previous run's end.
            if (!prev) return firstCursorPos + run.textOffset;
            if (i == 0) return -1;
            return firstCursorPos + run.textOffset - 1;
        }
        if (sourcePos < run.sourcePos + length) return firstCursorPos + run.textOffset + sourcePos - run.sourcePos;
    }
    if (prev && !sourceRuns.empty()) return firstCursorPos + cursorCount - 1;
    return -1;
}

bool TSection::CharAtCursor(int pos, char16_t& ch, TSectionBase*& obj) {
    const int offset = pos - firstCursorPos;
    if (offset < 0 || offset >= cursorCount) return false;
    ch = textBuffer[static_cast<std::size_t>(offset)];
    obj = this;
    return true;
}

void TSection::CopyToClipboard() {
    if (!ownerDocument || !ownerDocument->textCollector) return;
    TTextCollector& collector = *ownerDocument->textCollector;
    const int selStart = std::max(0, ownerDocument->selStart - firstCursorPos);
    const int selEnd = std::min(cursorCount, ownerDocument->selEnd - firstCursorPos);
    const bool endsWithLine = ownerDocument->selEnd > firstCursorPos + cursorCount;
    const auto at = [this](int i) { return textBuffer[static_cast<std::size_t>(i)]; };
    for (const LineRec& line : lines) {
        const int a = std::max(selStart, line.firstChar);
        const int b = std::min(selEnd, line.firstChar + line.charCount);
        if (a >= b) continue;
        std::u16string piece;
        piece.reserve(static_cast<std::size_t>(b - a));
        for (int i = a; i < b; ++i) {
            const char16_t c = at(i);
            if (c == kBreakChar) {
                // A section that holds only a break (the second of <br><br>) ends with
                // the line end below; the break must not add a second one.
                if (i == cursorCount - 1 && endsWithLine) continue;
                collector.AddText(piece);
                collector.AddLineEnd();
                piece.clear();
            } else if (IsObject(c)) {
                // A picture reads as its ALT text in brackets, as a text browser shows
                // it; one without, or a control, as a blank between the words beside it.
                const TFloatingObj* object = c == kObjectChar ? ObjectAt(i) : nullptr;
                const std::string alt = object ? object->AltText() : std::string();
                const bool spaceBefore = !piece.empty() && piece.back() != u' ';
                const bool spaceAfter = i + 1 < b && at(i + 1) != u' ' && at(i + 1) != kBreakChar;
                if (alt.empty()) {
                    if (spaceBefore && spaceAfter) piece += u' ';
                    continue;
                }
                if (spaceBefore) piece += u' ';
                piece += u'[';
                piece += platform::Utf8ToUtf16(alt);
                piece += u']';
                if (spaceAfter) piece += u' ';
            } else {
                piece += c;
            }
        }
        collector.AddText(piece);
    }
    if (endsWithLine) collector.AddLineEnd();
}
