#pragma once
// The reader's colours and fonts, shared by its windows.

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

namespace app {

inline const QString kApplicationTitle = QStringLiteral("Vultaria");

// Names the running application with the title. Only the name: Qt appends a display
// name, once one is set, to every window title that does not end with it, and the copy
// dialog's caption must read "Copiar para..." and nothing more.
void NameApplication();

inline const QColor kPanelColor{0xE1, 0xCE, 0xB9};
inline const QColor kBannerColor{0x6F, 0x56, 0x3A};
inline const QColor kLabelTextColor{0x37, 0x31, 0x34};
inline const QColor kViewerBackground{0xF7, 0xF3, 0xEF};

// Font sizes are given in points for a 96-dpi design: pixels = points * 96 / 72,
// rounded to nearest.
int PointsToPixels(int points);
QFont MakeFont(const QString& face, int pixelHeight, bool bold);

// The hover look of the clickable labels: a text colour and a size in points.
void SetLabelLook(QWidget* label, const QColor& color, int points);

// Solid background and text colour through the palette.
void Paint(QWidget* widget, const QColor& background);
void SetTextColor(QWidget* widget, const QColor& color);
QColor TextColor(const QWidget* widget);

}  // namespace app
