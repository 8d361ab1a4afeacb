#include "viewer/ForwardingCanvas.h"

using platform::Rect;

void TForwardingCanvas::Refresh() {
    platform::Canvas& target = Target();
    target.setFont(font_);
    target.setTextColor(textColor_);
    target.setBackgroundColor(backgroundColor_);
    target.setBackgroundMode(backgroundMode_);
    target.setTextAlign(textAlign_);
    target.setPen(pen_);
    target.setBrush(brush_);
    target.setMapping(mapping_);
}

void TForwardingCanvas::setFont(const platform::FontSpec& font) {
    font_ = font;
    Target().setFont(font);
}

platform::TextMetrics TForwardingCanvas::textMetrics() {
    return Target().textMetrics();
}

platform::Size TForwardingCanvas::textExtent(std::u16string_view text) {
    return Target().textExtent(text);
}

void TForwardingCanvas::textAdvances(std::u16string_view text, int* advances) {
    Target().textAdvances(text, advances);
}

platform::Size TForwardingCanvas::textExtentFit(std::u16string_view text, int maxWidth,
                                                int& fitCount) {
    return Target().textExtentFit(text, maxWidth, fitCount);
}

void TForwardingCanvas::setTextColor(platform::TColor color) {
    textColor_ = color;
    Target().setTextColor(color);
}

void TForwardingCanvas::setBackgroundColor(platform::TColor color) {
    backgroundColor_ = color;
    Target().setBackgroundColor(color);
}

void TForwardingCanvas::setBackgroundMode(platform::BackgroundMode mode) {
    backgroundMode_ = mode;
    Target().setBackgroundMode(mode);
}

void TForwardingCanvas::setTextAlign(platform::TextAlign align) {
    textAlign_ = align;
    Target().setTextAlign(align);
}

void TForwardingCanvas::setTextJustification(int extraPixels, int breakCount) {
    Target().setTextJustification(extraPixels, breakCount);
}

void TForwardingCanvas::textOut(int x, int y, std::u16string_view text) {
    BeforeDrawing();
    Target().textOut(x, y, text);
}

void TForwardingCanvas::setPen(const platform::Pen& pen) {
    pen_ = pen;
    Target().setPen(pen);
}

void TForwardingCanvas::setBrush(const platform::Brush& brush) {
    brush_ = brush;
    Target().setBrush(brush);
}

void TForwardingCanvas::moveTo(int x, int y) {
    Target().moveTo(x, y);
}

void TForwardingCanvas::lineTo(int x, int y) {
    BeforeDrawing();
    Target().lineTo(x, y);
}

void TForwardingCanvas::rectangle(const Rect& r) {
    BeforeDrawing();
    Target().rectangle(r);
}

void TForwardingCanvas::fillRect(const Rect& r, platform::TColor color) {
    BeforeDrawing();
    Target().fillRect(r, color);
}

void TForwardingCanvas::ellipse(const Rect& bounds) {
    BeforeDrawing();
    Target().ellipse(bounds);
}

void TForwardingCanvas::polygon(const std::vector<platform::Point>& points) {
    BeforeDrawing();
    Target().polygon(points);
}

void TForwardingCanvas::focusRect(const Rect& r) {
    BeforeDrawing();
    Target().focusRect(r);
}

void TForwardingCanvas::drawBitmap(const platform::Bitmap& bitmap, const Rect& source,
                                   const Rect& dest, const platform::Bitmap* mask) {
    BeforeDrawing();
    Target().drawBitmap(bitmap, source, dest, mask);
}

void TForwardingCanvas::intersectClipRect(const Rect& r) {
    Target().intersectClipRect(r);
}

Rect TForwardingCanvas::clipBox() const {
    return Target().clipBox();
}

void TForwardingCanvas::save() {
    Target().save();
}

void TForwardingCanvas::restore() {
    Target().restore();
}

void TForwardingCanvas::setMapping(const platform::Mapping& mapping) {
    mapping_ = mapping;
    Target().setMapping(mapping);
}

platform::DeviceCaps TForwardingCanvas::deviceCaps() const {
    return Target().deviceCaps();
}
