#pragma once
// A panel window on Qt: a plain frame, a child of the widget the page is painted on.

#include <QPointer>

#include "platform/PanelWindow.h"

class QFrame;
class QWidget;

namespace platform {

class QtPanelWindow : public PanelWindow {
  public:
    explicit QtPanelWindow(QWidget* parent);
    ~QtPanelWindow() override;

    void setBounds(const Rect& bounds) override;
    Rect bounds() const override;
    void setVisible(bool visible) override;
    bool isVisible() const override;
    void setColor(TColor color) override;
    TColor color() const override { return color_; }
    void setSingleBorder(bool single) override;
    bool hasSingleBorder() const override;

    // The frame the host fills; null once its parent has gone.
    QFrame* frame() const { return frame_; }

  private:
    // The parent deletes its children: the frame may go before this object does.
    QPointer<QFrame> frame_;
    TColor color_ = 0x00FFFFFF;
};

}  // namespace platform
