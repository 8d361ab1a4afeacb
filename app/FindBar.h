#pragma once
// The bar under the page for finding text in it: a field, the count of matches, and the
// keys that step through them. It works on the viewer only through its public find
// operations.

#include <QWidget>

class QLabel;
class QLineEdit;
class THTMLViewer;

namespace app {

class FindBar : public QWidget {
  public:
    FindBar(THTMLViewer* viewer, QWidget* parent);

    // Shows the bar with its field focused and its text selected.
    void Open();
    // Hides the bar; the current match stays selected and the viewer takes the focus.
    void Close();
    // Steps to the next (or previous) match, round past either end.
    void Step(bool backward);
    // The page shown changed: matches of the old one are gone.
    void PageChanged();

    QLineEdit* field() const { return field_; }
    QLabel* status() const { return status_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Search();
    void ShowCount();

    THTMLViewer* viewer_;
    QLineEdit* field_;
    QLabel* status_;
};

}  // namespace app
