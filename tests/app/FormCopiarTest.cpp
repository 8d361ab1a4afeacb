// The copy dialog's caption, as the window system shows it.

#include <gtest/gtest.h>

#include <QGuiApplication>

#include "app/FormCopiar.h"
#include "app/Look.h"

TEST(CopyDialog, TheCaptionIsCopiarParaAndNothingMore) {
    app::NameApplication();
    app::TformCopiar dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Copiar para..."));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), app::kApplicationTitle);
    // No display name of its own (it follows the name): Qt then appends nothing to the
    // titles of windows, where a display name would turn this one into
    // "Copiar para... — Vultaria".
    QCoreApplication::setApplicationName(QStringLiteral("outro"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("outro"));
    app::NameApplication();
}
