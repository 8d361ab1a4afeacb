#pragma once
// The reader's own pictures, drawn when it starts: the banner and the back and
// forward buttons.

#include <QPixmap>

namespace app {

QPixmap DrawBanner();                     // 1280 x 80
QPixmap DrawNavigationButton(bool back);  // 65 x 21

}  // namespace app
