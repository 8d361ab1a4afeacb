#pragma once
// A label that reports the mouse entering and leaving it, and clicks.

#include <QLabel>

#include <functional>

namespace app {

class TFocusLabel : public QLabel {
  public:
    using NotifyEvent = std::function<void(TFocusLabel* sender)>;

    explicit TFocusLabel(const QString& caption, QWidget* parent = nullptr);

    NotifyEvent OnMouseEnter;
    NotifyEvent OnMouseLeave;
    NotifyEvent OnClick;

    // The text a hint shows; for the credits label it also names the file it opens.
    QString hint() const { return toolTip(); }
    void setHint(const QString& hint) { setToolTip(hint); }

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace app
