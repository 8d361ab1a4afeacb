#include "platform/RecordingCanvas.h"

#include <algorithm>
#include <cstdio>

#include "platform/CodePage.h"

namespace platform {

namespace {

std::string RectText(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

const char* PenStyleName(PenStyle style) {
    switch (style) {
        case PenStyle::Solid: return "solid";
        case PenStyle::Dash: return "dash";
        case PenStyle::Dot: return "dot";
        case PenStyle::Clear: return "clear";
    }
    return "?";
}

std::string PenText(const Pen& pen) {
    std::string text =
        ColorName(pen.color) + "/" + PenStyleName(pen.style) + "/" + std::to_string(pen.width);
    if (pen.cap == PenCap::Square) text += "/square";
    if (pen.cap == PenCap::Round) text += "/round";
    return text;
}

}  // namespace

std::string ColorName(TColor color) {
    if (color == clNone) return "none";
    const TColor rgb = ColorToRGB(color);
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
    return buffer;
}

RecordingCanvas::RecordingCanvas(DeviceCaps caps) : caps_(caps) {
    clip_ = {-1000000, -1000000, 1000000, 1000000};
    if (caps_.width > 0 && caps_.height > 0) clip_ = {0, 0, caps_.width, caps_.height};
}

int RecordingCanvas::EmSize(const FontSpec& font) {
    const int em = font.height < 0 ? -font.height : font.height;
    return em == 0 ? 12 : em;
}

int RecordingCanvas::Advance(const FontSpec& font, char16_t c) {
    const int em = EmSize(font);
    if (c >= 0x2E80 && c < 0xD800) return em;
    return std::max(1, em / 2) + (font.bold() ? 1 : 0);
}

TextMetrics RecordingCanvas::textMetrics() {
    const int em = EmSize(font_);
    TextMetrics m;
    m.ascent = em - em / 4;
    m.descent = em / 4;
    m.height = m.ascent + m.descent;
    m.aveCharWidth = Advance(font_, u'x');
    m.maxCharWidth = em;
    m.charset = ReportedCharset(font_.charset);
    return m;
}

Size RecordingCanvas::textExtent(std::u16string_view text) {
    int width = 0;
    for (char16_t c : text) width += Advance(font_, c);
    return {width, textMetrics().height};
}

Size RecordingCanvas::textExtentFit(std::u16string_view text, int maxWidth, int& fitCount) {
    int width = 0;
    fitCount = 0;
    for (char16_t c : text) {
        const int next = width + Advance(font_, c);
        if (next > maxWidth) break;
        width = next;
        ++fitCount;
    }
    return {width, textMetrics().height};
}

void RecordingCanvas::textAdvances(std::u16string_view text, int* advances) {
    for (char16_t c : text) *advances++ = Advance(font_, c);
}

void RecordingCanvas::setTextJustification(int extraPixels, int breakCount) {
    justifyExtra_ = breakCount > 0 ? extraPixels : 0;
    justifyBreaks_ = breakCount > 0 ? breakCount : 0;
}

void RecordingCanvas::record(std::string line) {
    if (recording_) log_.push_back(std::move(line));
}

void RecordingCanvas::textOut(int x, int y, std::u16string_view text) {
    if (!recording_) return;
    std::string line = "text " + std::to_string(x) + "," + std::to_string(y) +
                       (textAlign_ == TextAlign::Baseline ? " baseline" : " top") +
                       " font=" + (font_.face.empty() ? std::string("default") : font_.face.str()) +
                       "/" + std::to_string(EmSize(font_));
    if (font_.bold()) line += "b";
    if (font_.italic()) line += "i";
    if (font_.underline()) line += "u";
    if (font_.strikeOut()) line += "s";
    line += " color=" + ColorName(textColor_);
    if (backgroundMode_ == BackgroundMode::Opaque) line += " bg=" + ColorName(backgroundColor_);
    if (justifyBreaks_ > 0)
        line += " justify=" + std::to_string(justifyExtra_) + "/" + std::to_string(justifyBreaks_);
    line += " \"" + Utf16ToUtf8(text) + "\"";
    record(std::move(line));
}

void RecordingCanvas::lineTo(int x, int y) {
    if (pen_.style != PenStyle::Clear)
        record("line " + std::to_string(position_.x) + "," + std::to_string(position_.y) + "-" +
               std::to_string(x) + "," + std::to_string(y) + " pen=" + PenText(pen_));
    position_ = {x, y};
}

void RecordingCanvas::polyline(const std::vector<Point>& points, bool closed) {
    if (points.empty()) return;
    if (pen_.style != PenStyle::Clear) {
        std::string line = "polyline";
        for (const auto& p : points) line += " " + std::to_string(p.x) + "," + std::to_string(p.y);
        if (closed) line += " closed";
        record(line + " pen=" + PenText(pen_));
    }
    position_ = closed ? points.front() : points.back();
}

void RecordingCanvas::rectangle(const Rect& r) {
    std::string line = "rectangle " + RectText(r);
    line += pen_.style == PenStyle::Clear ? " pen=clear" : " pen=" + PenText(pen_);
    line += brush_.style == BrushStyle::Clear ? " brush=clear" : " brush=" + ColorName(brush_.color);
    record(std::move(line));
}

void RecordingCanvas::fillRect(const Rect& r, TColor color) {
    record("fill " + RectText(r) + " " + ColorName(color));
}

void RecordingCanvas::ellipse(const Rect& bounds) {
    record("ellipse " + RectText(bounds) + " pen=" + ColorName(pen_.color) + " brush=" +
           (brush_.style == BrushStyle::Clear ? std::string("clear") : ColorName(brush_.color)));
}

void RecordingCanvas::polygon(const std::vector<Point>& points) {
    std::string line = "polygon";
    for (const auto& p : points) line += " " + std::to_string(p.x) + "," + std::to_string(p.y);
    line += " brush=" + (brush_.style == BrushStyle::Clear ? std::string("clear") : ColorName(brush_.color));
    record(std::move(line));
}

void RecordingCanvas::focusRect(const Rect& r) { record("focus " + RectText(r)); }

void RecordingCanvas::drawBitmap(const Bitmap& bitmap, const Rect& source, const Rect& dest,
                                 const Bitmap* mask) {
    record("bitmap " + std::to_string(bitmap.width()) + "x" + std::to_string(bitmap.height()) +
           " from " + RectText(source) + " to " + RectText(dest) + (mask ? " masked" : ""));
}

void RecordingCanvas::intersectClipRect(const Rect& r) { clip_ = clip_.intersected(r); }

void RecordingCanvas::save() { clipStack_.push_back(clip_); }

void RecordingCanvas::restore() {
    if (clipStack_.empty()) return;
    clip_ = clipStack_.back();
    clipStack_.pop_back();
}

std::string RecordingCanvas::logText() const {
    std::string out;
    for (const auto& line : log_) {
        out += line;
        out += '\n';
    }
    return out;
}

}  // namespace platform
