#include "app/FormCopiar.h"

#include <algorithm>
#include <filesystem>

#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QRadioButton>
#include <QResizeEvent>
#include <QScreen>
#include <QVBoxLayout>

#include "app/ErrorBox.h"
#include "app/FocusLabel.h"
#include "app/Look.h"
#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/StringList.h"
#include "viewer/HtmlViewer.h"

namespace app {

namespace {

TFocusLabel* MakeDialogLabel(QWidget* parent, const char* name, const QString& caption) {
    auto* label = new TFocusLabel(caption, parent);
    label->setObjectName(name);
    label->setFont(MakeFont("Times New Roman", 16, true));
    SetTextColor(label, kPanelColor);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

// A label keeps the width it was given, or takes what its text needs when that is more.
void FitWidth(QWidget* label, int width) {
    label->resize(std::max(width, label->sizeHint().width()), label->height());
}

void Tell(const char16_t* text, platform::MessageIcon icon) {
    platform::Dialogs().messageBox(kApplicationTitle.toStdU16String(), text, icon);
}

// Shows the viewer again however the scope is left.
class ShownAgain {
  public:
    explicit ShownAgain(THTMLViewer* viewer) : viewer_(viewer) {}
    ~ShownAgain() { viewer_->show(); }
    ShownAgain(const ShownAgain&) = delete;
    ShownAgain& operator=(const ShownAgain&) = delete;

  private:
    THTMLViewer* viewer_;
};

constexpr int kClientWidth = 227;
constexpr int kCancelWidth = 60;
constexpr int kOKWidth = 24;
constexpr int kGroupHeight = 81;

}  // namespace

TformCopiar::TformCopiar(QWidget* parent, THTMLViewer* viewer)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      viewer(viewer) {
    setObjectName("formCopiar");
    setModal(true);
    resize(kClientWidth, 106);
    setMinimumWidth(kClientWidth);
    setMaximumWidth(392);
    setFixedHeight(106);
    Paint(this, kBannerColor);

    radioCopia = new QGroupBox("Copiar ", this);
    radioCopia->setObjectName("radioCopia");
    radioCopia->setFont(MakeFont("Times New Roman", 16, true));
    Paint(radioCopia, kPanelColor);
    SetTextColor(radioCopia, kLabelTextColor);
    radioCopia->setGeometry(0, 0, kClientWidth, kGroupHeight);
    radioClipboard =
        new QRadioButton(QString::fromUtf8("Para a área de transferência"), radioCopia);
    radioFile = new QRadioButton("Para um arquivo", radioCopia);
    auto* items = new QVBoxLayout(radioCopia);
    items->setContentsMargins(6, 4, 4, 4);
    items->addWidget(radioClipboard);
    items->addWidget(radioFile);
    choices_ = new QButtonGroup(this);
    choices_->addButton(radioClipboard, 0);
    choices_->addButton(radioFile, 1);
    radioClipboard->setChecked(true);

    labelCancelar = MakeDialogLabel(this, "labelCancelar", "Cancelar");
    labelCancelar->setGeometry(104, 84, 60, 19);
    labelOK = MakeDialogLabel(this, "labelOK", "OK");
    labelOK->setGeometry(184, 84, 24, 19);
    FitWidth(labelCancelar, kCancelWidth);
    FitWidth(labelOK, kOKWidth);
    // As narrow as it is made, unless the choices' texts need more to be read whole.
    resize(std::clamp(radioCopia->sizeHint().width(), kClientWidth, maximumWidth()), height());
    for (TFocusLabel* label : {labelCancelar, labelOK}) {
        label->OnMouseEnter = [this](TFocusLabel* sender) { labelOKMouseEnter(sender); };
        label->OnMouseLeave = [this](TFocusLabel* sender) { labelOKMouseLeave(sender); };
    }
    labelCancelar->OnClick = [this](TFocusLabel*) { labelCancelarClick(); };
    labelOK->OnClick = [this](TFocusLabel*) {
        try {
            labelOKClick();
        } catch (const std::exception& error) {
            ShowError(error);
        }
    };
    FormCreate();
}

void TformCopiar::FormCreate() {
    setWindowTitle("Copiar para...");
}

int TformCopiar::radioCopiaIndex() const {
    return choices_->checkedId();
}

void TformCopiar::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    // The radio group is aligned to the top: it takes the dialog's whole width.
    radioCopia->setGeometry(0, 0, width(), kGroupHeight);
}

void TformCopiar::ShowModal() {
    // The mouse left the labels while the dialog was hidden: they open unlit.
    labelOKMouseLeave(labelCancelar);
    labelOKMouseLeave(labelOK);
    setWindowModality(Qt::ApplicationModal);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - frameGeometry().width()) / 2,
             area.y() + (area.height() - frameGeometry().height()) / 2);
    }
    show();
    raise();
    activateWindow();
}

void TformCopiar::labelCancelarClick() {
    hide();
}

void TformCopiar::labelOKMouseEnter(TFocusLabel* sender) {
    SetLabelLook(sender, QColor(0xFF, 0xFF, 0xFF), 13);
    FitWidth(sender, sender == labelOK ? kOKWidth : kCancelWidth);
}

void TformCopiar::labelOKMouseLeave(TFocusLabel* sender) {
    SetLabelLook(sender, kPanelColor, 12);
    FitWidth(sender, sender == labelOK ? kOKWidth : kCancelWidth);
}

void TformCopiar::labelOKClick() {
    if (viewer) {
        if (radioCopiaIndex() == 0)
            CopyToClipboard();
        else if (radioCopiaIndex() == 1)
            ExportToFile();
    }
    hide();
}

void TformCopiar::CopyToClipboard() {
    ShownAgain shown(viewer);
    viewer->hide();
    const int length = viewer->SelLength();
    if (length == 0) viewer->SelectAll();
    viewer->CopyToClipboard();
    // A page copied whole is left with no selection, as it was.
    if (length == 0) viewer->SetSelLength(0);
    viewer->show();
    Tell(u"Texto copiado para a \u00C1rea de Transfer\u00EAncia",
         platform::MessageIcon::Information);
}

void TformCopiar::ExportToFile() {
    platform::SaveFileRequest request;
    request.filter = u"Arquivo HTML|*.html|Arquivo Texto|*.txt";
    request.filterIndex = saveFilterIndex;
    request.defaultExtension = saveDefaultExtension;
    if (saveFolder.empty()) saveFolder = QFile::encodeName(QDir::homePath()).toStdString();
    request.initialFile = saveFolder;
    const std::optional<platform::SaveFileChoice> choice = platform::Dialogs().saveFile(request);
    if (!choice) return;
    saveFilterIndex = choice->filterIndex;
    saveFolder = std::filesystem::path(choice->path).parent_path().string();
    platform::StringList lines;
    try {
        // The extension is set once the dialog is over: it is the next dialog that adds it.
        if (choice->filterIndex == 2) {
            ShownAgain shown(viewer);
            viewer->hide();
            saveDefaultExtension = u"txt";
            const int start = viewer->SelStart();
            const int length = viewer->SelLength();
            viewer->SelectAll();
            lines.setText(platform::FromUtf16(viewer->SelText(), platform::CP_ACP));
            viewer->SetSelStart(start);
            viewer->SetSelLength(length);
        } else {
            saveDefaultExtension = u"html";
            // The page's own source, without its pictures or style sheets.
            if (platform::FileExists(viewer->CurrentFile()))
                lines.loadFromFile(viewer->CurrentFile());
        }
        // Written beside the file and renamed over it: a failed export leaves the file
        // that was there as it was.
        lines.saveToFile(choice->path);
    } catch (const std::exception&) {
        viewer->show();
        Tell(u"Erro ao exportar arquivo", platform::MessageIcon::Error);
    }
}

}  // namespace app
