#pragma once
// The window of a form control on a page: an edit, a memo, a button, a check box, a radio
// button, a list box or a drop-down list, a child of the paint surface. The document's
// control objects reach it only through this interface; the reader's is a real widget,
// and pages shown nowhere (tests, headless rendering) get the detached one below, which
// keeps the same state without a window.
//
// A control window is a tab stop as well: it takes its place in the page's Tab order, and
// onFocusChange reports focus arriving and leaving. onActivate is Enter in a single-line
// edit (the form is then submitted); other kinds never raise it.

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Font.h"
#include "platform/TabStopWindow.h"
#include "platform/Types.h"

namespace platform {

enum class FormControlKind {
    Edit,         // single line; also password and file inputs
    Memo,         // several lines (TEXTAREA)
    Button,       // push button
    CheckBox,
    RadioButton,
    ListBox,      // SELECT shown as a list
    ComboBox,     // SELECT shown as a drop-down list
};

// How a memo breaks its lines: not at all (both scroll bars), or at the window's edge.
enum class MemoWrap { Off, Soft };

class FormControlWindow : public TabStopWindow {
  public:
    ~FormControlWindow() override = default;
    virtual FormControlKind kind() const = 0;

    // ---- Every kind ----
    // Coordinates are those of the paint surface; a new window is hidden, at x = -4000.
    virtual void setBounds(const Rect& bounds) = 0;
    virtual Rect bounds() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual bool isVisible() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
    virtual void setFont(const FontSpec& font) = 0;
    // Text and background colours (0x00BBGGRR); clNone keeps the platform's own.
    virtual void setColors(TColor text, TColor background) = 0;
    // The window's outer size for a client area of this size (frames, scroll bars).
    virtual Size sizeForClient(const Size& client) const = 0;
    // The width of a vertical scroll bar, for sizing list and combo boxes.
    virtual int scrollBarWidth() const = 0;
    // The window's natural height with its font (an edit's single line, a button).
    virtual int naturalHeight() const = 0;
    // The control as it looks now, for printing; empty when the platform cannot take one.
    virtual std::shared_ptr<Bitmap> snapshot() const { return nullptr; }

    // ---- Edit, memo, button ----
    // The text of an edit or memo (line ends CR LF in a memo), a button's caption.
    virtual void setText(const std::u16string& text) = 0;
    virtual std::u16string text() const = 0;
    virtual void setPassword(bool password) = 0;  // edit: show '*' for each character
    virtual void setMaxLength(int length) = 0;    // edit; 0 = no limit
    virtual void setWrap(MemoWrap wrap) = 0;      // memo
    // The memo's text as its lines are shown, each visual line on its own.
    virtual std::vector<std::u16string> visualLines() const = 0;
    virtual void moveCaretToStart() = 0;  // edit, memo

    // ---- Check box, radio button ----
    virtual void setChecked(bool checked) = 0;
    virtual bool isChecked() const = 0;

    // ---- List box, combo box ----
    virtual void clearItems() = 0;
    virtual void addItem(const std::u16string& text) = 0;
    virtual int itemCount() const = 0;
    virtual void setMultiSelect(bool multi) = 0;  // list box: multi and extended selection
    virtual void setItemSelected(int index, bool selected) = 0;
    virtual bool isItemSelected(int index) const = 0;
    // The current item of a combo box (or -1); for a list box the one with the caret,
    // which is selected as well (in a multi-select list, besides the others).
    virtual void setCurrentIndex(int index) = 0;
    virtual int currentIndex() const = 0;
    virtual void setTopIndex(int index) = 0;  // list box: first visible row
    virtual int topIndex() const = 0;

    // ---- Raised by the window ----
    std::function<void()> onClick;   // a button pressed, a box checked or unchecked
    std::function<void()> onChange;  // the user changed the text or the selection
    // An arrow key on a check box or radio button: dx, dy of -1, 0 or 1.
    std::function<void(int dx, int dy)> onArrowKey;
};

// A control with no window: it keeps what a real one would, so documents shown nowhere
// behave the same. Text metrics come from the font's nominal size.
class DetachedFormControlWindow : public FormControlWindow {
  public:
    explicit DetachedFormControlWindow(FormControlKind kind) : kind_(kind) {}
    FormControlKind kind() const override { return kind_; }

    bool setFocus() override {
        if (!visible_ || !enabled_) return false;
        if (!focused_) {
            focused_ = true;
            if (onFocusChange) onFocusChange(true);
        }
        return true;
    }
    bool hasFocus() const override { return focused_; }
    void placeAfter(TabStopWindow*) override {}
    // Takes the focus away, as another window would (tests).
    void loseFocus() {
        if (!focused_) return;
        focused_ = false;
        if (onFocusChange) onFocusChange(false);
    }

    void setBounds(const Rect& bounds) override { bounds_ = bounds; }
    Rect bounds() const override { return bounds_; }
    void setVisible(bool visible) override { visible_ = visible; }
    bool isVisible() const override { return visible_; }
    void setEnabled(bool enabled) override { enabled_ = enabled; }
    bool isEnabled() const override { return enabled_; }
    void setFont(const FontSpec& font) override { font_ = font; }
    const FontSpec& font() const { return font_; }
    void setColors(TColor text, TColor background) override {
        textColor_ = text;
        backgroundColor_ = background;
    }
    TColor textColor() const { return textColor_; }
    TColor backgroundColor() const { return backgroundColor_; }
    Size sizeForClient(const Size& client) const override {
        // A 2-pixel frame on every side, as a sunken edit has.
        return {client.cx + 4, client.cy + 4};
    }
    int scrollBarWidth() const override { return 16; }
    int naturalHeight() const override { return std::max(20, std::abs(font_.height) + 8); }

    void setText(const std::u16string& text) override {
        text_ = maxLength_ > 0 && kind_ == FormControlKind::Edit && text.size() > std::size_t(maxLength_)
                    ? text.substr(0, std::size_t(maxLength_))
                    : text;
    }
    std::u16string text() const override { return text_; }
    void setPassword(bool password) override { password_ = password; }
    bool isPassword() const { return password_; }
    void setMaxLength(int length) override { maxLength_ = std::max(0, length); }
    int maxLength() const { return maxLength_; }
    void setWrap(MemoWrap wrap) override { wrap_ = wrap; }
    MemoWrap wrap() const { return wrap_; }
    // Without a window there is no edge to wrap at: the visual lines are the text's lines.
    std::vector<std::u16string> visualLines() const override {
        std::vector<std::u16string> lines(1);
        for (std::size_t i = 0; i < text_.size(); ++i) {
            if (text_[i] == u'\r' && i + 1 < text_.size() && text_[i + 1] == u'\n') {
                lines.emplace_back();
                ++i;
            } else {
                lines.back() += text_[i];
            }
        }
        return lines;
    }
    void moveCaretToStart() override { caret_ = 0; }

    void setChecked(bool checked) override { checked_ = checked; }
    bool isChecked() const override { return checked_; }

    void clearItems() override {
        items_.clear();
        selected_.clear();
        current_ = -1;
        top_ = 0;
    }
    void addItem(const std::u16string& text) override {
        items_.push_back(text);
        selected_.push_back(false);
    }
    int itemCount() const override { return static_cast<int>(items_.size()); }
    const std::u16string& item(int index) const { return items_[std::size_t(index)]; }
    void setMultiSelect(bool multi) override { multi_ = multi; }
    void setItemSelected(int index, bool selected) override {
        if (index < 0 || index >= itemCount()) return;
        if (selected && !multi_) std::fill(selected_.begin(), selected_.end(), false);
        selected_[std::size_t(index)] = selected;
        if (selected) current_ = index;
    }
    bool isItemSelected(int index) const override {
        return index >= 0 && index < itemCount() && selected_[std::size_t(index)];
    }
    void setCurrentIndex(int index) override {
        current_ = index >= 0 && index < itemCount() ? index : -1;
        if (kind_ == FormControlKind::ComboBox || !multi_)
            std::fill(selected_.begin(), selected_.end(), false);
        if (current_ >= 0) selected_[std::size_t(current_)] = true;
    }
    int currentIndex() const override { return current_; }
    void setTopIndex(int index) override { top_ = std::max(0, index); }
    int topIndex() const override { return top_; }

  private:
    FormControlKind kind_;
    Rect bounds_{-4000, 0, -4000, 0};
    bool visible_ = false;
    bool enabled_ = true;
    bool focused_ = false;
    FontSpec font_;
    TColor textColor_ = clNone;
    TColor backgroundColor_ = clNone;
    std::u16string text_;
    bool password_ = false;
    int maxLength_ = 0;
    MemoWrap wrap_ = MemoWrap::Soft;
    std::size_t caret_ = 0;
    bool checked_ = false;
    std::vector<std::u16string> items_;
    std::vector<bool> selected_;
    bool multi_ = false;
    int current_ = -1;
    int top_ = 0;
};

}  // namespace platform
