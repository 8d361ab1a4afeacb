#include "platform/MetafileCanvas.h"

#include <algorithm>

namespace platform {

MetafileCanvas::MetafileCanvas(std::unique_ptr<Canvas> measuring, const DeviceCaps& caps)
    : measuring_(std::move(measuring)), caps_(caps) {}

void MetafileCanvas::Keep(Operation::Kind kind, const Rect& area, std::u16string_view text) {
    if (!closed_) operations_.push_back({kind, area, std::u16string(text)});
}

void MetafileCanvas::textOut(int x, int y, std::u16string_view text) {
    if (!text.empty()) Keep(Operation::Text, {x, y, x, y}, text);
}

void MetafileCanvas::lineTo(int x, int y) {
    Keep(Operation::Line, {position_.x, position_.y, x, y});
    position_ = {x, y};
}

void MetafileCanvas::polygon(const std::vector<Point>& points) {
    if (points.empty()) return;
    Rect area{points.front().x, points.front().y, points.front().x, points.front().y};
    for (const Point& p : points) {
        area.left = std::min(area.left, p.x);
        area.top = std::min(area.top, p.y);
        area.right = std::max(area.right, p.x);
        area.bottom = std::max(area.bottom, p.y);
    }
    Keep(Operation::Polygon, area);
}

void MetafileCanvas::intersectClipRect(const Rect& r) {
    clip_ = clip_.intersected(r);
}

void MetafileCanvas::restore() {
    if (clipStack_.empty()) return;
    clip_ = clipStack_.back();
    clipStack_.pop_back();
}

}  // namespace platform
