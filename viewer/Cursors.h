#pragma once
// The viewer's mouse cursors: the hand over links, the text cursor over text (in place
// of the I-beam), and the three cursors of the middle-button scroll mode. All but the
// hand are drawn here, so they look the same on every desktop.

#include <QCursor>

QCursor HandCursor();      // 1
QCursor TextCursor();      // 2
QCursor UpDownCursor();    // 3: scroll mode on, standing still
QCursor UpOnlyCursor();    // 4: scrolling up
QCursor DownOnlyCursor();  // 5: scrolling down
