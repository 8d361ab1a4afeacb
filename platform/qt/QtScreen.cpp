#include "platform/qt/QtScreen.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>

#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtPrinters.h"

namespace platform {

namespace {

// Faces that pages ask for by their usual names and that fontconfig maps onto
// metric-compatible families installed with the program.
const char* SubstituteFor(const QString& face) {
    static const std::pair<const char*, const char*> substitutes[] = {
        {"arial", "Liberation Sans"},         {"helvetica", "Liberation Sans"},
        {"times new roman", "Liberation Serif"}, {"times", "Liberation Serif"},
        {"courier new", "Liberation Mono"},   {"courier", "Liberation Mono"},
        {"ms sans serif", "DejaVu Sans"},     {"verdana", "DejaVu Sans"},
        {"tahoma", "DejaVu Sans"},
    };
    const QString lower = face.toLower();
    for (const auto& [name, family] : substitutes)
        if (lower == QLatin1String(name)) return family;
    return nullptr;
}

}  // namespace

QtScreen::QtScreen()
    : canvas_(std::make_unique<QtCanvas>(nullptr)), watcher_(std::make_unique<QObject>()) {
    // Layout asks for the resolution at every font and box: it is read once and read
    // again only when the primary screen or its resolution changes, or a screen goes.
    // Without an application to tell of changes it is read every time.
    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QObject::connect(application, &QGuiApplication::primaryScreenChanged, watcher_.get(),
                         [this](QScreen* screen) { WatchScreen(screen); });
        QObject::connect(application, &QGuiApplication::screenRemoved, watcher_.get(),
                         [this] { pixelsPerInch_ = 0; });
        watching_ = true;
    }
    WatchScreen(QGuiApplication::primaryScreen());
}

QtScreen::~QtScreen() = default;

void QtScreen::WatchScreen(QScreen* screen) {
    QObject::disconnect(screenConnection_);
    pixelsPerInch_ = 0;
    if (screen)
        screenConnection_ = QObject::connect(screen, &QScreen::logicalDotsPerInchChanged,
                                             watcher_.get(), [this] { pixelsPerInch_ = 0; });
}

ScreenInfo QtScreen::info() const {
    ScreenInfo info;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        info.width = screen->size().width();
        info.height = screen->size().height();
        info.pixelsPerInch = qRound(screen->logicalDotsPerInch());
        info.bitsPerPixel = screen->depth() >= 24 ? 24 : screen->depth();
    }
    if (info.pixelsPerInch <= 0) info.pixelsPerInch = 96;
    return info;
}

int QtScreen::pixelsPerInch() const {
    if (pixelsPerInch_ > 0) return pixelsPerInch_;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int dpi = screen ? qRound(screen->logicalDotsPerInch()) : 0;
    if (dpi <= 0) return 96;  // no screen yet: nothing to keep
    if (watching_) pixelsPerInch_ = dpi;
    return dpi;
}

Canvas& QtScreen::measuringCanvas() { return *canvas_; }

bool QtScreen::isFontInstalled(std::string_view face) const {
    const QString name = QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size()));
    const QStringList families = QFontDatabase::families();
    auto has = [&](const QString& family) {
        return families.contains(family, Qt::CaseInsensitive);
    };
    if (has(name)) return true;
    const char* substitute = SubstituteFor(name);
    return substitute && has(QString::fromLatin1(substitute));
}

void InstallQtServices() {
    InstallScreen(std::make_unique<QtScreen>());
    InstallDialogs(std::make_unique<QtDialogs>());
    InstallPrinters(std::make_unique<QtPrinters>());
}

}  // namespace platform
