#pragma once
// A form control on Qt: one of QLineEdit, QPlainTextEdit, QPushButton, QCheckBox,
// QRadioButton, QListWidget or QComboBox, a child of the paint surface.
//
// The document speaks in page pixels; when the page is zoomed, `scale` tells by how much
// and the window shows itself (place, size and font) scaled, while what it reports for
// layout stays in page pixels.
//
// Only what the user does raises onClick and onChange: the set* calls stay quiet. Check
// boxes, radio buttons and buttons send the keys they have no use for on to the viewer,
// so the page still scrolls with the keyboard; the other kinds keep their keys.

#include <QPointer>

#include <functional>

#include "platform/FormControlWindow.h"
#include "platform/qt/QtWidgetHolder.h"

namespace platform {

class QtFormControlWindow : public FormControlWindow, public QtWidgetHolder {
  public:
    // `parent` holds the widget; `keyTarget` (the viewer) gets the keys a button or box
    // does not use and comes before the first control of a page in the Tab order.
    // `scale` answers the zoom (1 for none); without one the window is never scaled.
    QtFormControlWindow(FormControlKind kind, QWidget* parent, QWidget* keyTarget,
                        std::function<double()> scale = {});
    ~QtFormControlWindow() override;
    QtFormControlWindow(const QtFormControlWindow&) = delete;
    QtFormControlWindow& operator=(const QtFormControlWindow&) = delete;

    FormControlKind kind() const override { return kind_; }
    QWidget* widget() const override { return widget_; }

    bool setFocus() override;
    bool hasFocus() const override;
    void placeAfter(TabStopWindow* previous) override;

    void setBounds(const Rect& bounds) override;
    Rect bounds() const override;
    void setVisible(bool visible) override;
    bool isVisible() const override;
    void setEnabled(bool enabled) override;
    bool isEnabled() const override;
    void setFont(const FontSpec& font) override;
    void setColors(TColor text, TColor background) override;
    Size sizeForClient(const Size& client) const override;
    int scrollBarWidth() const override;
    int naturalHeight() const override;
    std::shared_ptr<Bitmap> snapshot() const override;

    void setText(const std::u16string& text) override;
    std::u16string text() const override;
    void setPassword(bool password) override;
    void setMaxLength(int length) override;
    void setWrap(MemoWrap wrap) override;
    std::vector<std::u16string> visualLines() const override;
    void moveCaretToStart() override;

    void setChecked(bool checked) override;
    bool isChecked() const override;

    void clearItems() override;
    void addItem(const std::u16string& text) override;
    int itemCount() const override;
    void setMultiSelect(bool multi) override;
    void setItemSelected(int index, bool selected) override;
    bool isItemSelected(int index) const override;
    void setCurrentIndex(int index) override;
    int currentIndex() const override;
    void setTopIndex(int index) override;
    int topIndex() const override;

  private:
    class Events;
    class Quiet;
    double Scale() const;
    // Puts the font on the widget again when the zoom changed since it last was.
    void ApplyFont() const;
    void ApplyGeometry();
    // Page pixels from screen pixels of the widget's current scale.
    int ToPage(int screen) const;
    void Changed();
    // A list box's selection is kept here and put on the widget in one go.
    bool IsSelected(int index) const;
    void SelectOnly(int index);
    void SelectionChanged();
    void FlushSelection();
    void ReadSelection();  // after the user changed it

    FormControlKind kind_;
    QPointer<QWidget> widget_;
    QPointer<QWidget> keyTarget_;
    std::function<double()> scale_;
    Events* events_ = nullptr;  // owned by the widget
    int quiet_ = 0;             // set* calls under way: what changes is not the user's doing
    Rect bounds_;               // page pixels, as last set
    QRect placed_;              // where that put the widget
    double placedScale_ = 1.0;  // at this zoom
    FontSpec font_;
    bool hasFont_ = false;
    mutable double fontScale_ = 0;
    MemoWrap wrap_ = MemoWrap::Soft;
    std::vector<bool> selected_;  // list box
    bool multi_ = false;
    int current_ = -1;
    int singleSelected_ = -1;  // the one a single-choice list has, or -1
    bool selectionPending_ = false;
};

}  // namespace platform
