#pragma once
// An area of the screen: a rectangle, an ellipse given by its bounding box, or a polygon
// filled by the winding rule. A pixel belongs to the region when its centre
// (x + 0.5, y + 0.5) lies inside; a centre exactly on a slanted polygon edge belongs to
// the polygon when the polygon lies to its right, as with the left edge of a rectangle.

#include <vector>

#include "platform/Types.h"

namespace platform {

class Region {
  public:
    enum class Kind { Empty, Rectangle, Ellipse, Polygon };

    Region() = default;
    // Right and bottom are exclusive; corners given the wrong way round are swapped.
    static Region MakeRectangle(int left, int top, int right, int bottom);
    // The ellipse that fills the box; an empty box gives an empty region.
    static Region MakeEllipse(int left, int top, int right, int bottom);
    // Fewer than three points give an empty region.
    static Region MakePolygon(std::vector<Point> points);

    Kind kind() const { return kind_; }
    const Rect& bounds() const { return bounds_; }
    const std::vector<Point>& points() const { return points_; }
    bool isEmpty() const { return kind_ == Kind::Empty; }

    bool contains(int x, int y) const;

  private:
    Kind kind_ = Kind::Empty;
    Rect bounds_;
    std::vector<Point> points_;
};

}  // namespace platform
