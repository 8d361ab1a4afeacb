#pragma once
// The window of an embedded panel: a plain child window that a host program fills
// with whatever it likes. The document only moves, sizes, shows and hides it, and
// reads its colour when it has to stand in for it on paper.

#include "platform/Types.h"

namespace platform {

class PanelWindow {
  public:
    virtual ~PanelWindow() = default;

    // Moves and resizes together; coordinates are those of the paint surface.
    virtual void setBounds(const Rect& bounds) = 0;
    virtual Rect bounds() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual bool isVisible() const = 0;
    virtual void setColor(TColor color) = 0;
    virtual TColor color() const = 0;
    virtual void setSingleBorder(bool single) = 0;
    virtual bool hasSingleBorder() const = 0;

    int width() const { return bounds().width(); }
    int height() const { return bounds().height(); }
    void moveTo(int x, int y) {
        const Rect r = bounds();
        if (r.left != x || r.top != y) setBounds({x, y, x + r.width(), y + r.height()});
    }
    void resize(int w, int h) {
        const Rect r = bounds();
        if (r.width() != w || r.height() != h) setBounds({r.left, r.top, r.left + w, r.top + h});
    }
};

// A panel with no window behind it: it only keeps its state. Documents without a
// window to live in (tests, headless rendering) get these.
class DetachedPanelWindow : public PanelWindow {
  public:
    void setBounds(const Rect& bounds) override { bounds_ = bounds; }
    Rect bounds() const override { return bounds_; }
    void setVisible(bool visible) override { visible_ = visible; }
    bool isVisible() const override { return visible_; }
    void setColor(TColor color) override { color_ = color; }
    TColor color() const override { return color_; }
    void setSingleBorder(bool single) override { singleBorder_ = single; }
    bool hasSingleBorder() const override { return singleBorder_; }

  private:
    Rect bounds_;
    bool visible_ = false;
    TColor color_ = 0x00FFFFFF;
    bool singleBorder_ = false;
};

}  // namespace platform
