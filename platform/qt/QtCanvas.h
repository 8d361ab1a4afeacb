#pragma once
// The canvas on Qt: a QPainter on an image (the screen buffer), a printer page or
// any other paint device. Text is measured and drawn glyph by glyph with whole-pixel
// advances and no kerning or ligatures, so a run drawn in pieces lands exactly where
// the layout measured it.

#include <QImage>
#include <QPainter>

#include <memory>
#include <optional>
#include <vector>

#include "platform/Canvas.h"

class QPaintDevice;
class QRawFont;

namespace platform {

class QtFontEntry;

class QtCanvas : public Canvas {
public:
    // Paints on `device`, which must outlive the canvas; null gives a measuring-only
    // canvas that draws nothing.
    explicit QtCanvas(QPaintDevice* device);
    ~QtCanvas() override;

    QPainter* painter() { return painter_ ? &*painter_ : nullptr; }
    // Whether drawing reaches the device (a painter could be started on it).
    bool isActive() const { return painter_ && painter_->isActive(); }
    // Ends the painting (a printer's document, a recording); false when the device
    // reported a failure. The canvas only measures after that.
    bool finish();
    // What deviceCaps() reports from now on, in place of the device's own values: a
    // recording of a printer page answers as that printer.
    void setDeviceCaps(const DeviceCaps& caps) { capsOverride_ = caps; }

    void setFont(const FontSpec& font) override;
    const FontSpec& font() const override { return fontSpec_; }
    TextMetrics textMetrics() override;
    Size textExtent(std::u16string_view text) override;
    Size textExtentFit(std::u16string_view text, int maxWidth, int& fitCount) override;
    void textAdvances(std::u16string_view text, int* advances) override;

    void setTextColor(TColor color) override { textColor_ = color; }
    void setBackgroundColor(TColor color) override { backgroundColor_ = color; }
    void setBackgroundMode(BackgroundMode mode) override { backgroundMode_ = mode; }
    void setTextAlign(TextAlign align) override { textAlign_ = align; }
    void setTextJustification(int extraPixels, int breakCount) override;
    void textOut(int x, int y, std::u16string_view text) override;

    void setPen(const Pen& pen) override { pen_ = pen; }
    void setBrush(const Brush& brush) override { brush_ = brush; }
    void moveTo(int x, int y) override { position_ = {x, y}; }
    void lineTo(int x, int y) override;
    void polyline(const std::vector<Point>& points, bool closed) override;
    void rectangle(const Rect& r) override;
    void fillRect(const Rect& r, TColor color) override;
    void ellipse(const Rect& bounds) override;
    void polygon(const std::vector<Point>& points) override;
    void focusRect(const Rect& r) override;
    void drawBitmap(const Bitmap& bitmap, const Rect& source, const Rect& dest,
                    const Bitmap* mask) override;

    void intersectClipRect(const Rect& r) override;
    Rect clipBox() const override;
    void save() override;
    void restore() override;

    void setMapping(const Mapping& mapping) override;
    Mapping mapping() const override { return mapping_; }
    DeviceCaps deviceCaps() const override;

    // A QImage view of a bitmap (shares the pixels of Rgb32 bitmaps).
    static QImage ToQImage(const Bitmap& bitmap);

private:
    QtFontEntry& entry();
    void applyPen();
    void applyBrush();

    QPaintDevice* device_;
    std::optional<QPainter> painter_;
    FontSpec fontSpec_;
    QtFontEntry* entry_ = nullptr;
    TColor textColor_ = 0;
    TColor backgroundColor_ = 0x00FFFFFF;
    BackgroundMode backgroundMode_ = BackgroundMode::Opaque;
    TextAlign textAlign_ = TextAlign::Top;
    int justifyExtra_ = 0;
    int justifyBreaks_ = 0;
    int justifyUsed_ = 0;
    Pen pen_;
    Brush brush_;
    Point position_;
    std::optional<Rect> clip_;
    std::vector<std::optional<Rect>> clipStack_;
    Mapping mapping_;
    std::optional<DeviceCaps> capsOverride_;
};

}  // namespace platform
