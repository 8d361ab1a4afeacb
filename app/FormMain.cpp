#include "app/FormMain.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QVBoxLayout>

#include "app/Catalogue.h"
#include "app/ErrorBox.h"
#include "app/FindBar.h"
#include "app/FocusLabel.h"
#include "app/FormStatus.h"
#include "app/HomePage.h"
#include "app/Look.h"
#include "app/NameGrid.h"
#include "app/Pictures.h"
#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "viewer/HtmlViewer.h"

namespace app {

namespace {

QString FromAnsi(std::string_view text) {
    const std::u16string wide = platform::Ansi(text);
    return QString(reinterpret_cast<const QChar*>(wide.data()),
                   static_cast<qsizetype>(wide.size()));
}

QWidget* MakePanel(QWidget* parent, const char* name, const QColor& color) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    Paint(panel, color);
    return panel;
}

TFocusLabel* MakeCommandLabel(QWidget* parent, const char* name, const QString& caption) {
    auto* label = new TFocusLabel(caption, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(MakeFont("Times New Roman", PointsToPixels(13), true));
    SetTextColor(label, kLabelTextColor);
    Paint(label, kPanelColor);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

QLabel* MakeImage(QWidget* parent, const char* name, const QPixmap& picture) {
    auto* image = new QLabel(parent);
    image->setObjectName(name);
    image->setPixmap(picture);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    image->setScaledContents(false);
    return image;
}

}  // namespace

WindowGeometry MainWindowGeometry(const platform::ScreenInfo& screen) {
    WindowGeometry geometry;
    if (screen.height < 600 || screen.width < 800)
        geometry.maximized = true;
    else
        geometry.width = screen.width * 9 / 10;
    geometry.height = screen.height * 9 / 10;
    return geometry;
}

TformMain::TformMain(const std::string& dataFolder, std::unique_ptr<TformStatus> status,
                     CollectionWrites writes)
    : QWidget(nullptr), formStatus_(std::move(status)), dataFolder_(dataFolder), writes_(writes) {
    setObjectName("formMain");
    BuildControls();
    DoCreate();
}

TformMain::~TformMain() {
    FormDestroy();
}

void TformMain::BuildControls() {
    setMinimumSize(640, 480);
    resize(640, 480);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    setPalette(palette);
    setFont(MakeFont("MS Sans Serif", PointsToPixels(8), false));

    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    form->setSpacing(0);

    panelTop = MakePanel(this, "panelTop", kBannerColor);
    panelTop->setFixedHeight(77);
    imageLogo = MakeImage(panelTop, "imageLogo", DrawBanner());
    auto* top = new QHBoxLayout(panelTop);
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(imageLogo);
    imageLogo->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    form->addWidget(panelTop);

    panelBtn = MakePanel(this, "panelBtn", kPanelColor);
    panelBtn->setFixedHeight(26);
    auto* buttons = new QHBoxLayout(panelBtn);
    buttons->setContentsMargins(1, 1, 1, 1);
    buttons->setSpacing(0);
    labelCopiar = MakeCommandLabel(panelBtn, "labelCopiar", "Copiar");
    labelImprimir = MakeCommandLabel(panelBtn, "labelImprimir", "Imprimir");
    labelCreditos = MakeCommandLabel(panelBtn, "labelCreditos", QString::fromUtf8("Créditos"));
    labelCreditos->setHint("creditos.html");
    for (TFocusLabel* label : {labelCopiar, labelImprimir, labelCreditos}) {
        label->setFixedSize(128, 24);
        buttons->addWidget(label);
    }
    buttons->addStretch(1);
    form->addWidget(panelBtn);

    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName("Splitter1");
    Splitter1->setHandleWidth(3);
    Splitter1->setChildrenCollapsible(false);
    Paint(Splitter1, kPanelColor);
    form->addWidget(Splitter1, 1);

    panelBusca = MakePanel(Splitter1, "panelBusca", kPanelColor);
    labelBusca = new QLabel("Busca:", panelBusca);
    labelBusca->setObjectName("labelBusca");
    labelLista = new QLabel("Lista de biografias:", panelBusca);
    labelLista->setObjectName("labelLista");
    for (QLabel* label : {labelBusca, labelLista}) {
        label->setFont(MakeFont("Times New Roman", 15, true));
        SetTextColor(label, kLabelTextColor);
        label->adjustSize();
    }
    labelBusca->move(6, 13);
    labelLista->move(6, 63);
    editSearch = new QLineEdit(panelBusca);
    editSearch->setObjectName("editSearch");
    editSearch->setGeometry(6, 28, 137, 21);
    labelOK = MakeCommandLabel(panelBusca, "labelOK", "ok");
    labelOK->setFont(MakeFont("Arial", PointsToPixels(12), true));
    labelOK->setGeometry(148, 28, 19, 19);
    GridNomes = new NameGrid(panelBusca);
    GridNomes->setObjectName("GridNomes");
    GridNomes->setFont(MakeFont("Times New Roman", 11, false));
    GridNomes->setDefaultRowHeight(15);
    GridNomes->setGeometry(6, 85, 169, 100);
    GridNomes->OnDrawCell = [this](QPainter& painter, int row, const QRect& rect, bool selected) {
        GridNomesDrawCell(painter, row, rect, selected);
    };
    panelBusca->installEventFilter(this);

    panelBase = MakePanel(Splitter1, "panelBase", kPanelColor);
    auto* base = new QVBoxLayout(panelBase);
    base->setContentsMargins(0, 0, 0, 0);
    base->setSpacing(0);
    viewer = new THTMLViewer(panelBase);
    viewer->setObjectName("viewer");
    viewer->SetDefBackground(platform::RGBColor(kViewerBackground.red(), kViewerBackground.green(),
                                                kViewerBackground.blue()));
    viewer->SetBorderStyle(THTMLBorderStyle::htFocused);
    viewer->SetHistoryMaxCount(0);
    viewer->SetDefFontName("Arial");
    viewer->SetDefFontSize(9);
    viewer->SetDefPreFontName("Courier New");
    viewer->SetNoSelect(false);
    viewer->SetCharSet(platform::DEFAULT_CHARSET);
    viewer->PrintMarginLeft = viewer->PrintMarginRight = viewer->PrintMarginTop =
        viewer->PrintMarginBottom = 2.0;
    viewer->SetPrintScale(1.0);
    base->addWidget(viewer, 1);
    findBar = new FindBar(viewer, panelBase);
    base->addWidget(findBar);
    panelNavegar = MakePanel(panelBase, "panelNavegar", kPanelColor);
    panelNavegar->setFixedHeight(21);
    auto* navigation = new QHBoxLayout(panelNavegar);
    navigation->setContentsMargins(0, 0, 0, 0);
    navigation->setSpacing(0);
    imageVolta = MakeImage(panelNavegar, "imageVolta", DrawNavigationButton(true));
    imageVolta->setFixedSize(65, 21);
    imageVai = MakeImage(panelNavegar, "imageVai", DrawNavigationButton(false));
    imageVai->setFixedSize(63, 21);
    for (QLabel* image : {imageVolta, imageVai}) image->setCursor(Qt::PointingHandCursor);
    zoomLabel = new QLabel(panelNavegar);
    zoomLabel->setObjectName("zoomLabel");
    zoomLabel->setFont(MakeFont("Times New Roman", 15, true));
    SetTextColor(zoomLabel, kLabelTextColor);
    zoomLabel->hide();
    navigation->addWidget(imageVolta);
    navigation->addSpacing(8);
    navigation->addWidget(zoomLabel);
    navigation->addStretch(1);
    navigation->addWidget(imageVai);
    base->addWidget(panelNavegar);

    Splitter1->addWidget(panelBusca);
    Splitter1->addWidget(panelBase);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({181, 456});
    connect(Splitter1, &QSplitter::splitterMoved, this, [this] { Splitter1Moved(); });

    panelBottom = MakePanel(this, "panelBottom", kPanelColor);
    panelBottom->setFixedHeight(26);
    auto* bottom = new QHBoxLayout(panelBottom);
    bottom->setContentsMargins(1, 1, 1, 1);
    bottom->setSpacing(0);
    labelSair = MakeCommandLabel(panelBottom, "labelSair", "Sair");
    labelSair->setFixedSize(88, 24);
    bottom->addStretch(1);
    bottom->addWidget(labelSair);
    form->addWidget(panelBottom);

    for (TFocusLabel* label : {labelCopiar, labelImprimir, labelCreditos, labelSair, labelOK}) {
        label->OnMouseEnter = [this](TFocusLabel* sender) {
            labelImparcialidadeMouseEnter(sender);
        };
        label->OnMouseLeave = [this](TFocusLabel* sender) {
            labelImparcialidadeMouseLeave(sender);
        };
    }
    labelSair->OnClick = [this](TFocusLabel*) { labelSairClick(); };
    labelCreditos->OnClick = [this](TFocusLabel* sender) { labelClick(sender); };
    labelOK->OnClick = [this](TFocusLabel*) { labelOKClick(); };
    connect(editSearch, &QLineEdit::textChanged, this, [this] { editSearchChange(); });
    editSearch->installEventFilter(this);
    GridNomes->OnClick = [this] { GridNomesClick(); };
    imageVolta->installEventFilter(this);
    imageVai->installEventFilter(this);
    viewer->OnHotSpotClick = [this](THTMLViewer* sender, const std::string& src, bool& handled) {
        viewerHotSpotClick(sender, src, handled);
    };
    // A page's file input: "Browse..." chooses a file, as the desktop's own dialog does.
    viewer->OnFileBrowse = [](THTMLViewer*, TFormControlObj*, std::string& fileName) {
        if (auto chosen = platform::Dialogs().openFile(u"Escolher arquivo", fileName))
            fileName = *chosen;
    };
    labelCopiar->OnClick = [this](TFocusLabel*) { labelCopiarClick(); };
    labelImprimir->OnClick = [this](TFocusLabel*) { labelImprimirClick(); };
    BuildPopupMenu();

    // Finding in the page and zoom.
    const auto shortcut = [this](const QKeySequence& keys, std::function<void()> action) {
        auto* key = new QShortcut(keys, this);
        key->setContext(Qt::WindowShortcut);
        connect(key, &QShortcut::activated, this, std::move(action));
    };
    shortcut(QKeySequence::Find, [this] { findBar->Open(); });
    shortcut(QKeySequence(Qt::Key_F3), [this] { findBar->Step(false); });
    shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { findBar->Step(true); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Plus), [this] { ZoomBy(1); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { ZoomBy(1); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus), [this] { ZoomBy(-1); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_0), [this] { SetZoom(100); });
    viewer->OnMouseWheel = [this](THTMLViewer*, Qt::KeyboardModifiers keys, int delta, int, int,
                                  bool& handled) {
        if (!(keys & Qt::ControlModifier) || delta == 0) return;
        ZoomBy(delta > 0 ? 1 : -1);
        handled = true;
    };
    viewer->OnProcessing = [this](THTMLViewer*, bool busy) {
        if (!busy) findBar->PageChanged();
    };
}

void TformMain::ReportError(const std::exception& error) {
    ShowError(error);
}

void TformMain::DoCreate() {
    try {
        FormCreate();
    } catch (const std::exception& error) {
        ReportError(error);
    }
    // Whether or not the catalogues could be read, start-up is over.
    if (formStatus_) formStatus_->hide();
}

void TformMain::FormCreate() {
    setWindowTitle(kApplicationTitle);

    const platform::ScreenInfo screen = platform::CurrentScreen();
    const WindowGeometry geometry = MainWindowGeometry(screen);
    resize(geometry.maximized ? width() : geometry.width, geometry.height);
    move((screen.width - width()) / 2, (screen.height - height()) / 2);
    // Last: moving a window takes it out of the maximised state.
    if (geometry.maximized) setWindowState(windowState() | Qt::WindowMaximized);

    PastaBase = dataFolder_;
    if (PastaBase.empty() || PastaBase.back() != '/') PastaBase += '/';
    PastaDados = PastaBase + "dados/";
    GeneratedPagesFolder = PrepareGeneratedPagesFolder(PastaBase, writes_);

    // Read all three before filling anything, so a missing one leaves every list empty.
    const std::string names = platform::ReadWholeFile(PastaBase + kNamesFile);
    const std::string pages = platform::ReadWholeFile(PastaBase + kPagesFile);
    const std::string activities = platform::ReadWholeFile(PastaBase + kActivitiesFile);

    listBusca.setText(SearchKey(names));
    listNomes.setText(names);
    listArquivos.setText(pages);
    listAtuacao.setText(activities);

    GridNomes->setRowCount(static_cast<int>(listBusca.count()));

    PagPrincipal();
}

void TformMain::FormDestroy() {
    formStatus_.reset();
}

std::string TformMain::RemoveAcentos(const std::string& text) const {
    return app::RemoveAcentos(text);
}

void TformMain::FormResize() {
    GridNomes->resize(GridNomes->width(), panelBusca->height() - GridNomes->y() - 10);
}

void TformMain::Splitter1Moved() {
    GridNomes->resize(panelBusca->width() - 12, GridNomes->height());
}

bool TformMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == panelBusca && event->type() == QEvent::Resize) FormResize();
    if (watched == editSearch && event->type() == QEvent::KeyPress &&
        editSearchKeyPress(static_cast<QKeyEvent*>(event)->key()))
        return true;
    if ((watched == imageVolta || watched == imageVai) &&
        event->type() == QEvent::MouseButtonRelease) {
        auto* release = static_cast<QMouseEvent*>(event);
        auto* image = static_cast<QWidget*>(watched);
        if (release->button() == Qt::LeftButton &&
            image->rect().contains(release->position().toPoint())) {
            if (watched == imageVolta)
                imageVoltaClick();
            else
                imageVaiClick();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TformMain::GridNomesDrawCell(QPainter& painter, int row, const QRect& rect, bool selected) {
    const QPalette& palette = GridNomes->palette();
    const QColor background = palette.color(selected ? QPalette::Highlight : QPalette::Base);
    const QColor text = palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    painter.fillRect(rect, background);
    if (row < 0 || static_cast<std::size_t>(row) >= listNomes.count()) return;
    painter.setPen(text);
    painter.setFont(GridNomes->font());
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     FromAnsi(listNomes.at(static_cast<std::size_t>(row))));
}

void TformMain::ZoomBy(int direction) {
    SetZoom(THTMLViewer::ZoomStep(viewer->Zoom(), direction));
}

void TformMain::SetZoom(int percent) {
    viewer->SetZoom(percent);
    const int zoom = viewer->Zoom();
    zoomLabel->setText(QString("%1 %").arg(zoom));
    zoomLabel->setVisible(zoom != 100);
}

void TformMain::labelSairClick() {
    close();
}

void TformMain::labelImparcialidadeMouseEnter(TFocusLabel* sender) {
    SetLabelLook(sender, QColor(0, 0, 0), 15);
}

void TformMain::labelImparcialidadeMouseLeave(TFocusLabel* sender) {
    SetLabelLook(sender, kLabelTextColor, 13);
}

void TformMain::PagPrincipal() {
    platform::StringList lines;
    const std::string templatePath = PastaBase + kHomeTemplateFile;
    if (platform::FileExists(templatePath)) lines.loadFromFile(templatePath);
    const std::string text = FillHomePageMarkers(lines.text(), CurrentShortDate(), CurrentLongTime);
    platform::StringList page;
    page.setText(text);
    page.saveToFile(GeneratedPagesFolder + kHomePageFile);
    try {
        viewer->LoadFromFile(GeneratedPagesFolder + kHomePageFile);
    } catch (const std::exception&) {
        // The home page is a courtesy: the reader works without it.
    }
}

}  // namespace app
