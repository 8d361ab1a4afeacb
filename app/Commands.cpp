// Taking the page out of the program: the copy dialog, printing, and the page's context
// menu with its keys.

#include <QAction>
#include <QCursor>
#include <QKeySequence>
#include <QMenu>
#include <QShortcut>

#include "app/ErrorBox.h"
#include "app/FormCopiar.h"
#include "app/FormMain.h"
#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "viewer/HtmlViewer.h"

namespace app {

void TformMain::BuildPopupMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    Copiar1 = PopupMenu1->addAction("Copiar");
    Copiar1->setObjectName("Copiar1");
    SelecionarTudo1 = PopupMenu1->addAction("Selecionar Tudo");
    SelecionarTudo1->setObjectName("SelecionarTudo1");
    // The menu shows the keys; they work within the open menu only. With the page
    // focused, the same keys reach the same commands through the shortcuts below.
    for (auto [action, keys] : {std::pair{Copiar1, QKeySequence("Ctrl+C")},
                                std::pair{SelecionarTudo1, QKeySequence("Ctrl+A")}}) {
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetShortcut);
    }
    connect(Copiar1, &QAction::triggered, this, [this] { Copiar1Click(); });
    connect(SelecionarTudo1, &QAction::triggered, this, [this] { SelecionarTudo1Click(); });
    connect(PopupMenu1, &QMenu::aboutToShow, this, [this] { PopupMenu1Popup(); });

    auto* copyKeys = new QShortcut(QKeySequence("Ctrl+C"), viewer);
    copyKeys->setObjectName("copyKeys");
    copyKeys->setContext(Qt::WidgetWithChildrenShortcut);
    connect(copyKeys, &QShortcut::activated, this, [this] { Copiar1Click(); });
    auto* selectKeys = new QShortcut(QKeySequence("Ctrl+A"), viewer);
    selectKeys->setObjectName("selectKeys");
    selectKeys->setContext(Qt::WidgetWithChildrenShortcut);
    connect(selectKeys, &QShortcut::activated, this, [this] { SelecionarTudo1Click(); });

    viewer->OnRightClick = [this](THTMLViewer* sender, TRightClickParameters& parameters) {
        viewerRightClick(sender, parameters);
    };
}

void TformMain::labelCopiarClick() {
    if (formCopiar) formCopiar->ShowModal();
}

void TformMain::labelImprimirClick() {
    try {
        platform::PrintRequest request;
        request.minPage = 1;
        request.maxPage = request.toPage = viewer->NumPrinterPages();
        // No range is proposed: the whole page prints unless the user gives one.
        request.fromPage = 0;
        request.documentName = platform::Ansi(viewer->PageTitle());
        const std::optional<platform::PrintChoice> choice =
            platform::Dialogs().printDialog(request);
        if (!choice) return;
        if (choice->allPages)
            viewer->Print(request.fromPage, request.toPage);
        else
            viewer->Print(choice->fromPage, choice->toPage);
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

void TformMain::viewerRightClick(THTMLViewer*, TRightClickParameters&) {
    PopupMenu1->popup(QCursor::pos());
}

void TformMain::PopupMenu1Popup() {
    Copiar1->setEnabled(viewer->SelLength() != 0);
}

void TformMain::Copiar1Click() {
    viewer->CopyToClipboard();
}

void TformMain::SelecionarTudo1Click() {
    viewer->SelectAll();
}

}  // namespace app
