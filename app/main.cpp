// The reader's entry: the status window while the catalogues load, then the main
// window until it is closed.

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <cstdio>
#include <memory>

#include "app/FormCopiar.h"
#include "app/FormMain.h"
#include "app/FormStatus.h"
#include "app/Look.h"
#include "app/Options.h"
#include "platform/qt/QtScreen.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const app::Options options = app::ParseOptions(arguments);
    if (options.help) {
        std::fputs(app::UsageText(), stdout);
        return 0;
    }
    if (!options.error.empty()) {
        std::fprintf(stderr, "vultaria: %s\n%s", options.error.c_str(), app::UsageText());
        return 2;
    }

    app::NameApplication();
    platform::InstallQtServices();

    auto status = std::make_unique<app::TformStatus>();
    status->lStatus->setText("Aguarde. Iniciando base de dados...");
    status->show();
    application.processEvents();

    app::TformMain formMain(options.dataFolder, std::move(status));
    app::TformCopiar formCopiar(&formMain);
    formMain.show();

    if (!options.screenshot.empty()) {
        // Once the window has been laid out and painted, keep a picture of it and quit.
        QTimer::singleShot(300, &formMain, [&] {
            const bool saved = formMain.grab().save(QString::fromStdString(options.screenshot), "PNG");
            if (!saved) std::fprintf(stderr, "vultaria: could not write %s\n", options.screenshot.c_str());
            application.exit(saved ? 0 : 1);
        });
    }
    return application.exec();
}
