#pragma once
// The viewer's paint surface: the widget the page is drawn on. Each paint draws the
// exposed rectangle into a back buffer (at the screen's device pixel ratio, so text is
// crisp on HiDPI screens while layout stays in logical pixels) and copies it to the
// window in one step; the background is never erased first. Mouse and drag events go
// to the viewer.

#include <QWidget>

#include <memory>

#include "layout/Background.h"
#include "platform/Types.h"

class QImage;
class THTMLViewer;

namespace platform {
class Canvas;
}

class TPaintPanel : public QWidget {
  public:
    TPaintPanel(THTMLViewer* viewer, QWidget* parent);

    THTMLViewer* Viewer() const { return viewer_; }
    // The surface's own colour: what shows where the page has no background picture.
    platform::TColor Color() const { return color_; }
    void SetColor(platform::TColor color);

    // Draws the rectangle (surface coordinates) into `buffer`, which covers exactly that
    // rectangle. Throws EOutOfResources when no buffer can be had for a non-empty
    // rectangle. Does nothing while the viewer is laying out or a paint is running.
    void PaintRect(const QRect& clip, QImage* buffer);
    // The background under `clip`: the surface colour, or the page's picture tiled.
    void PaintBackground(platform::Canvas& canvas, const platform::Rect& clip);

    // Buffers larger than this many pixels are not to be had (0: no limit but the
    // system's); for trying out what a paint does without memory.
    static void SetBufferPixelLimit(qint64 pixels);

    // How many paints have drawn since the surface was made, and the last rectangle
    // drawn: what scrolling costs can be seen from outside.
    int paintCount() const { return paintCount_; }
    QRect lastPaintRect() const { return lastPaintRect_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    QPoint PagePoint(const QMouseEvent* event) const;

    THTMLViewer* viewer_;
    platform::TColor color_ = 0x00FFFFFF;
    bool painting_ = false;
    bool reportedOutOfResources_ = false;
    // The page's background picture as last handed to the painter, which keeps tiles
    // made from it.
    TBackgroundPainter background_;
    std::shared_ptr<const platform::Bitmap> backgroundPicture_;
    std::shared_ptr<const platform::Bitmap> backgroundMask_;
    int paintCount_ = 0;
    QRect lastPaintRect_;
};
