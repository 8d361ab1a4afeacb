#include "platform/Region.h"

#include <algorithm>
#include <cstdint>

namespace platform {

namespace {
Rect Normalized(int left, int top, int right, int bottom) {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
}
}  // namespace

Region Region::MakeRectangle(int left, int top, int right, int bottom) {
    Region r;
    r.bounds_ = Normalized(left, top, right, bottom);
    r.kind_ = r.bounds_.isEmpty() ? Kind::Empty : Kind::Rectangle;
    return r;
}

Region Region::MakeEllipse(int left, int top, int right, int bottom) {
    Region r;
    r.bounds_ = Normalized(left, top, right, bottom);
    r.kind_ = r.bounds_.isEmpty() ? Kind::Empty : Kind::Ellipse;
    return r;
}

Region Region::MakePolygon(std::vector<Point> points) {
    Region r;
    if (points.size() < 3) return r;
    int left = points[0].x, top = points[0].y, right = left, bottom = top;
    for (const Point& p : points) {
        left = std::min(left, p.x);
        top = std::min(top, p.y);
        right = std::max(right, p.x);
        bottom = std::max(bottom, p.y);
    }
    r.bounds_ = {left, top, right, bottom};
    r.points_ = std::move(points);
    r.kind_ = Kind::Polygon;
    return r;
}

bool Region::contains(int x, int y) const {
    switch (kind_) {
        case Kind::Empty:
            return false;
        case Kind::Rectangle:
            return bounds_.contains(x, y);
        case Kind::Ellipse: {
            if (!bounds_.contains(x, y)) return false;
            // Doubled coordinates keep the pixel centre and the ellipse centre whole.
            const long double w = static_cast<long double>(bounds_.right) - bounds_.left;
            const long double h = static_cast<long double>(bounds_.bottom) - bounds_.top;
            const long double dx =
                2.0L * x + 1 - (static_cast<long double>(bounds_.left) + bounds_.right);
            const long double dy =
                2.0L * y + 1 - (static_cast<long double>(bounds_.top) + bounds_.bottom);
            return (dx * dx) / (w * w) + (dy * dy) / (h * h) <= 1.0L;
        }
        case Kind::Polygon: {
            // Winding number of the pixel centre, all coordinates doubled. A centre never
            // lies on a vertex row, so horizontal edges and vertices need no special case.
            const std::int64_t px = 2 * static_cast<std::int64_t>(x) + 1;
            const std::int64_t py = 2 * static_cast<std::int64_t>(y) + 1;
            int winding = 0;
            const std::size_t n = points_.size();
            for (std::size_t i = 0; i < n; ++i) {
                const Point& a = points_[i];
                const Point& b = points_[(i + 1) % n];
                const std::int64_t ax = 2 * static_cast<std::int64_t>(a.x),
                                   ay = 2 * static_cast<std::int64_t>(a.y);
                const std::int64_t bx = 2 * static_cast<std::int64_t>(b.x),
                                   by = 2 * static_cast<std::int64_t>(b.y);
                // Positive when the centre is left of the edge a->b. A centre on the edge
                // counts as just right of it (0 is neither left nor right below).
                const std::int64_t side = (bx - ax) * (py - ay) - (px - ax) * (by - ay);
                if (ay < py && by > py && side > 0)
                    ++winding;
                else if (ay > py && by < py && side < 0)
                    --winding;
            }
            return winding != 0;
        }
    }
    return false;
}

}  // namespace platform
