#include <gtest/gtest.h>

#include <QFrame>
#include <QWidget>

#include "platform/qt/QtPanelWindow.h"

TEST(QtPanelWindow, KeepsItsStateAndSurvivesItsParent) {
    auto parent = std::make_unique<QWidget>();
    platform::QtPanelWindow panel(parent.get());
    panel.setBounds({-4000, -4000, -3970, -3980});
    panel.setColor(platform::RGBColor(0, 128, 255));
    panel.setSingleBorder(true);
    EXPECT_EQ(panel.bounds(), (platform::Rect{-4000, -4000, -3970, -3980}));
    EXPECT_EQ(panel.frame()->palette().color(QPalette::Window), QColor(0, 128, 255));
    EXPECT_TRUE(panel.hasSingleBorder());
    panel.moveTo(10, 20);
    panel.resize(50, 40);
    EXPECT_EQ(panel.frame()->geometry(), QRect(10, 20, 50, 40));
    panel.setVisible(true);
    EXPECT_TRUE(panel.isVisible()) << "shown, even while the parent is not on screen";
    panel.setVisible(false);
    EXPECT_FALSE(panel.isVisible());

    // The parent takes its children with it; the panel must not free the frame again.
    parent.reset();
    EXPECT_EQ(panel.frame(), nullptr);
    panel.setBounds({0, 0, 5, 5});
    EXPECT_TRUE(panel.bounds().isEmpty());
}
