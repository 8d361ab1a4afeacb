#include "app/FindBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "app/Look.h"
#include "viewer/HtmlViewer.h"

namespace app {

FindBar::FindBar(THTMLViewer* viewer, QWidget* parent) : QWidget(parent), viewer_(viewer) {
    setObjectName("findBar");
    Paint(this, kPanelColor);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(6);
    field_ = new QLineEdit(this);
    field_->setObjectName("findField");
    field_->setPlaceholderText(QString::fromUtf8("Localizar na página"));
    field_->setFixedWidth(220);
    field_->installEventFilter(this);
    auto* previous = new QToolButton(this);
    previous->setObjectName("findPrevious");
    previous->setArrowType(Qt::UpArrow);
    previous->setToolTip(QString::fromUtf8("Ocorrência anterior (Shift+F3)"));
    auto* next = new QToolButton(this);
    next->setObjectName("findNext");
    next->setArrowType(Qt::DownArrow);
    next->setToolTip(QString::fromUtf8("Próxima ocorrência (F3)"));
    status_ = new QLabel(this);
    status_->setObjectName("findStatus");
    SetTextColor(status_, kLabelTextColor);
    auto* close = new QToolButton(this);
    close->setObjectName("findClose");
    close->setText(QString::fromUtf8("✕"));
    close->setAutoRaise(true);
    close->setToolTip(QString::fromUtf8("Fechar (Esc)"));
    layout->addWidget(field_);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(status_, 1);
    layout->addWidget(close);
    connect(field_, &QLineEdit::textChanged, this, [this] { Search(); });
    connect(previous, &QToolButton::clicked, this, [this] { Step(true); });
    connect(next, &QToolButton::clicked, this, [this] { Step(false); });
    connect(close, &QToolButton::clicked, this, [this] { Close(); });
    hide();
}

void FindBar::Open() {
    show();
    field_->setFocus(Qt::ShortcutFocusReason);
    field_->selectAll();
    if (!field_->text().isEmpty() && viewer_->FindMatchCount() == 0) Search();
}

void FindBar::Close() {
    hide();
    viewer_->FindClear();
    viewer_->setFocus(Qt::OtherFocusReason);
}

void FindBar::Search() {
    const QString text = field_->text();
    const std::u16string key(reinterpret_cast<const char16_t*>(text.utf16()),
                             static_cast<std::size_t>(text.size()));
    const bool hadMatch = viewer_->FindCurrent() >= 0;
    if (key.empty()) {
        viewer_->FindClear();
    } else if (viewer_->FindAll(key) > 0) {
        viewer_->FindGo(viewer_->FindFirstInView());
    } else if (hadMatch) {
        // The match found for the shorter text is no match any more.
        viewer_->SetSelStart(viewer_->SelStart());
    }
    ShowCount();
}

void FindBar::Step(bool backward) {
    if (field_->text().isEmpty()) return;
    if (viewer_->FindMatchCount() == 0) Search();
    viewer_->FindNext(backward);
    ShowCount();
}

void FindBar::PageChanged() {
    if (viewer_->FindMatchCount() == 0) ShowCount();
}

void FindBar::ShowCount() {
    if (field_->text().isEmpty()) {
        status_->clear();
    } else if (viewer_->FindMatchCount() == 0) {
        status_->setText(QString::fromUtf8("Nenhuma ocorrência"));
    } else {
        status_->setText(
            QString("%1 de %2").arg(viewer_->FindCurrent() + 1).arg(viewer_->FindMatchCount()));
    }
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool shift = key->modifiers() & Qt::ShiftModifier;
        switch (key->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_F3:
                Step(shift);
                return true;
            case Qt::Key_Escape:
                Close();
                return true;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace app
