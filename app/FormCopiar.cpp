#include "app/FormCopiar.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/FocusLabel.h"
#include "app/Look.h"

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

}  // namespace

TformCopiar::TformCopiar(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName("formCopiar");
    setModal(true);
    resize(227, 106);
    setMinimumWidth(227);
    setMaximumWidth(392);
    setFixedHeight(106);
    Paint(this, kBannerColor);

    radioCopia = new QGroupBox("Copiar ", this);
    radioCopia->setObjectName("radioCopia");
    radioCopia->setFont(MakeFont("Times New Roman", 16, true));
    Paint(radioCopia, kPanelColor);
    SetTextColor(radioCopia, kLabelTextColor);
    radioCopia->setGeometry(0, 0, 227, 81);
    radioClipboard =
        new QRadioButton(QString::fromUtf8("Para a área de transferência"), radioCopia);
    radioFile = new QRadioButton("Para um arquivo", radioCopia);
    auto* items = new QVBoxLayout(radioCopia);
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
    for (TFocusLabel* label : {labelCancelar, labelOK}) {
        label->OnMouseEnter = [this](TFocusLabel* sender) { labelOKMouseEnter(sender); };
        label->OnMouseLeave = [this](TFocusLabel* sender) { labelOKMouseLeave(sender); };
    }
    labelCancelar->OnClick = [this](TFocusLabel*) { labelCancelarClick(); };
    FormCreate();
}

void TformCopiar::FormCreate() {
    setWindowTitle("Copiar para...");
}

int TformCopiar::radioCopiaIndex() const {
    return choices_->checkedId();
}

void TformCopiar::labelCancelarClick() {
    hide();
}

void TformCopiar::labelOKMouseEnter(TFocusLabel* sender) {
    SetLabelLook(sender, QColor(0xFF, 0xFF, 0xFF), 13);
}

void TformCopiar::labelOKMouseLeave(TFocusLabel* sender) {
    SetLabelLook(sender, kPanelColor, 12);
}

}  // namespace app
