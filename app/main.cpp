// The reader's entry: the status window while the catalogues load, then the main
// window until it is closed.

#include <QApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <memory>

#include "app/FirstPaintWatch.h"
#include "app/FormCopiar.h"
#include "app/FormMain.h"
#include "app/FormStatus.h"
#include "app/Look.h"
#include "app/Options.h"
#include "platform/qt/QtScreen.h"
#include "viewer/HtmlViewer.h"
#include "viewer/PaintPanel.h"

namespace {

// --help and --version are answered without a window: true when one of them was.
bool AnsweredWithoutWindow(const app::Options& options) {
    if (!options.error.empty()) return false;
    if (options.help)
        std::fputs(app::UsageText(), stdout);
    else if (options.version)
        std::fputs(app::VersionText().c_str(), stdout);
    return options.help || options.version;
}

}  // namespace

int main(int argc, char** argv) {
    // First without the windowing system, which may not be there (a terminal over ssh).
    // A command line that does not read may hold the windowing system's own options
    // (-platform ...): it is read again once the application has taken them out.
    if (AnsweredWithoutWindow(app::ParseOptions({argv + 1, argv + argc}))) return 0;

    QApplication application(argc, argv);
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const app::Options options = app::ParseOptions(arguments);
    if (AnsweredWithoutWindow(options)) return 0;
    if (!options.error.empty()) {
        std::fprintf(stderr, "vultaria: %s\n%s", options.error.c_str(), app::UsageText());
        return 2;
    }

    // The toolkit's own dialogs (save, print, message boxes) speak Portuguese too, when
    // its translations are installed.
    QTranslator toolkitTexts;
    if (toolkitTexts.load("qtbase_pt_BR", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        application.installTranslator(&toolkitTexts);

    app::NameApplication();
    QGuiApplication::setDesktopFileName(VULTARIA_APP_ID);
    platform::InstallQtServices();

    auto status = std::make_unique<app::TformStatus>();
    status->lStatus->setText("Aguarde. Iniciando base de dados...");
    status->show();
    application.processEvents();

    app::TformMain formMain(options.dataFolder, std::move(status),
                            options.installedCollection ? app::CollectionWrites::Never
                                                        : app::CollectionWrites::WhenPossible);
    app::TformCopiar formCopiar(&formMain, formMain.viewer);
    formMain.formCopiar = &formCopiar;
    formMain.show();

    std::unique_ptr<app::FirstPaintWatch> watch;
    if (!options.screenshot.empty()) {
        // Once the page has been laid out and painted, keep a picture of the window and quit.
        watch = std::make_unique<app::FirstPaintWatch>(formMain.viewer->PaintPanel(), [&] {
            const bool saved =
                formMain.grab().save(QString::fromStdString(options.screenshot), "PNG");
            if (!saved)
                std::fprintf(stderr, "vultaria: could not write %s\n", options.screenshot.c_str());
            application.exit(saved ? 0 : 1);
        });
    }
    return application.exec();
}
