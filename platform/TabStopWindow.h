#pragma once
// A link's place in the Tab order: a tiny focusable window with nothing to show. The
// document's first run of each link has one; Tab and Shift+Tab move the keyboard focus
// through them, and Enter on one follows its link.

#include <functional>

namespace platform {

class TabStopWindow {
  public:
    virtual ~TabStopWindow() = default;

    // Takes the keyboard focus; false when the window cannot take it now.
    virtual bool setFocus() = 0;
    virtual bool hasFocus() const = 0;
    // Comes next after `previous` when the user presses Tab; the first of a page comes
    // after the viewer itself (previous null).
    virtual void placeAfter(TabStopWindow* previous) = 0;

    // Raised by the window: the focus arrived (true) or left (false); Enter was pressed.
    std::function<void(bool focused)> onFocusChange;
    std::function<void()> onActivate;
};

// A tab stop with no window behind it, for documents shown nowhere (tests, headless
// rendering): it only keeps the focus flag.
class DetachedTabStopWindow : public TabStopWindow {
  public:
    bool setFocus() override {
        if (!focused_) {
            focused_ = true;
            if (onFocusChange) onFocusChange(true);
        }
        return true;
    }
    bool hasFocus() const override { return focused_; }
    void placeAfter(TabStopWindow*) override {}

  private:
    bool focused_ = false;
};

}  // namespace platform
