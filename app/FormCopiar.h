#pragma once
// The "Copiar para..." dialog: copy the page to the clipboard or export it to a file.
// Created hidden at start-up; closing it only hides it, so the choice is kept.

#include <QDialog>

#include <string>

class QButtonGroup;
class QGroupBox;
class QRadioButton;
class THTMLViewer;

namespace app {

class TFocusLabel;

class TformCopiar : public QDialog {
  public:
    // Acts on `viewer`, the main window's page.
    explicit TformCopiar(QWidget* parent = nullptr, THTMLViewer* viewer = nullptr);

    // Copies or exports as the radio group says, then closes. A failed clipboard copy
    // is not handled here: it reaches the caller (the click shows it in an error box).
    void labelOKClick();
    void labelCancelarClick();
    void labelOKMouseEnter(TFocusLabel* sender);
    void labelOKMouseLeave(TFocusLabel* sender);
    int radioCopiaIndex() const;
    // Shows the dialog modally, in the middle of the screen.
    void ShowModal();

    QGroupBox* radioCopia;
    QRadioButton* radioClipboard;
    QRadioButton* radioFile;
    TFocusLabel* labelCancelar;
    TFocusLabel* labelOK;
    THTMLViewer* viewer;

    // The save dialog's own state, kept from one use to the next: the type chosen last
    // and the extension it adds to a name typed without one.
    int saveFilterIndex = 1;
    std::u16string saveDefaultExtension = u"html";
    // Where the save dialog opens: the user's home the first time, then the folder of
    // the last export.
    std::string saveFolder;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void FormCreate();
    void CopyToClipboard();
    void ExportToFile();
    QButtonGroup* choices_;
};

}  // namespace app
