#pragma once
// The main window: the banner, the command labels, the search panel with the list of
// names, the page viewer with the back and forward buttons, and the catalogues.

#include <QWidget>

#include <map>
#include <memory>
#include <string>

#include "app/GeneratedPages.h"
#include "layout/FormData.h"
#include "platform/Screen.h"
#include "platform/StringList.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QSplitter;
class QPainter;
class THTMLViewer;
struct TRightClickParameters;

namespace app {

class FindBar;
class NameGrid;
class TFocusLabel;
class TformCopiar;
class TformStatus;

// The window's size for a screen: maximised on screens smaller than 800 x 600,
// otherwise 90 % of the screen's width; 90 % of its height in both cases.
struct WindowGeometry {
    bool maximized = false;
    int width = 0;
    int height = 0;
};
WindowGeometry MainWindowGeometry(const platform::ScreenInfo& screen);

class TformMain : public QWidget {
  public:
    // `dataFolder` is the collection's folder; `status` is the start-up window, which
    // this window closes when it is ready and owns from then on; `writes` says whether
    // the generated pages may go into the collection's folder.
    TformMain(const std::string& dataFolder, std::unique_ptr<TformStatus> status,
              CollectionWrites writes = CollectionWrites::WhenPossible);
    ~TformMain() override;

    std::string RemoveAcentos(const std::string& text) const;

    // Event handlers, public so the program's own tests can drive them.
    void FormResize();
    void Splitter1Moved();
    void GridNomesDrawCell(QPainter& painter, int row, const QRect& rect, bool selected);
    void labelSairClick();
    void labelImparcialidadeMouseEnter(TFocusLabel* sender);
    void labelImparcialidadeMouseLeave(TFocusLabel* sender);
    void PagPrincipal();

    // The search box and the name list.
    void editSearchChange();
    // A key typed in the search box; true when it was used up (Enter runs the search).
    bool editSearchKeyPress(int key);
    // The search as "ok" runs it: a failure is reported. Enter runs it silently.
    void labelOKClick();
    void GridNomesClick();

    // Back, forward, links and credits.
    void imageVoltaClick();
    void imageVaiClick();
    void viewerHotSpotClick(THTMLViewer* sender, const std::string& src, bool& handled);
    void labelClick(TFocusLabel* sender);

    // Copy, export and print, and the page's context menu.
    void labelCopiarClick();
    void labelImprimirClick();
    void viewerRightClick(THTMLViewer* sender, TRightClickParameters& parameters);
    void PopupMenu1Popup();
    void Copiar1Click();
    void SelecionarTudo1Click();

    // The copy dialog, made beside this window at start-up.
    TformCopiar* formCopiar = nullptr;

    // Zoom of the page, a step up (+1) or down (-1), or to a percentage.
    void ZoomBy(int direction);
    void SetZoom(int percent);

    // The collection's folders, each with a trailing '/'.
    std::string PastaBase;
    std::string PastaDados;
    // Where the home page and the search results are written: PastaBase, or the user's
    // cache folder when the collection is read-only.
    std::string GeneratedPagesFolder;

    platform::StringList listNomes;
    platform::StringList listBusca;
    platform::StringList listArquivos;
    platform::StringList listAtuacao;
    platform::StringList listVolta;
    platform::StringList listVai;

    QWidget* panelTop;
    QLabel* imageLogo;
    QWidget* panelBtn;
    TFocusLabel* labelCopiar;
    TFocusLabel* labelImprimir;
    TFocusLabel* labelCreditos;
    QWidget* panelBottom;
    TFocusLabel* labelSair;
    QSplitter* Splitter1;
    QWidget* panelBusca;
    QLabel* labelBusca;
    QLineEdit* editSearch;
    TFocusLabel* labelOK;
    QLabel* labelLista;
    NameGrid* GridNomes;
    QWidget* panelBase;
    QWidget* panelNavegar;
    QLabel* imageVolta;
    QLabel* imageVai;
    THTMLViewer* viewer;
    QMenu* PopupMenu1;
    QAction* Copiar1;
    QAction* SelecionarTudo1;
    FindBar* findBar;
    QLabel* zoomLabel;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    void BuildPopupMenu();
    void DoCreate();
    void FormCreate();
    void FormDestroy();
    // The search box text in Windows-1252.
    std::string SearchText() const;
    void RunSearch();
    void Step(platform::StringList& from, platform::StringList& to);
    // What the forms of the page shown hold, kept under its file as the reader leaves it
    // and put back when back or forward returns there.
    void KeepFormValues();
    void RestoreFormValues();
    // An error the user must see, in a message box captioned with the program's title.
    void ReportError(const std::exception& error);

    std::unique_ptr<TformStatus> formStatus_;
    std::string dataFolder_;
    CollectionWrites writes_;
    std::map<std::string, std::unique_ptr<TFormData>> formValues_;
};

}  // namespace app
