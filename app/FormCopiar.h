#pragma once
// The "Copiar para..." dialog: copy the page to the clipboard or export it to a file.
// Created hidden at start-up; closing it only hides it, so the choice is kept.

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QRadioButton;

namespace app {

class TFocusLabel;

class TformCopiar : public QDialog {
  public:
    explicit TformCopiar(QWidget* parent = nullptr);

    void labelCancelarClick();
    void labelOKMouseEnter(TFocusLabel* sender);
    void labelOKMouseLeave(TFocusLabel* sender);
    int radioCopiaIndex() const;

    QGroupBox* radioCopia;
    QRadioButton* radioClipboard;
    QRadioButton* radioFile;
    TFocusLabel* labelCancelar;
    TFocusLabel* labelOK;

  private:
    void FormCreate();
    QButtonGroup* choices_;
};

}  // namespace app
