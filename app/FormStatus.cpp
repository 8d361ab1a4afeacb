#include "app/FormStatus.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "app/Look.h"

namespace app {

TformStatus::TformStatus()
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName("formStatus");
    setFixedSize(256, 50);
    Paint(this, kPanelColor);
    lStatus = new QLabel(this);
    lStatus->setObjectName("lStatus");
    lStatus->setAlignment(Qt::AlignCenter);
    lStatus->setFont(MakeFont("Times New Roman", 15, true));
    SetTextColor(lStatus, kLabelTextColor);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lStatus);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    FormCreate();
}

void TformStatus::FormCreate() {
    setWindowTitle(kApplicationTitle);
}

}  // namespace app
