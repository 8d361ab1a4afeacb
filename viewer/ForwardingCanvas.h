#pragma once
// A canvas that passes every call on to another one, the target, and remembers the
// state last set through it (font, colours, modes, pen, brush, mapping). Printing uses
// it for the pages of a printer or a recorder: the state can be read back to be saved
// and restored around a page's decorations, and a new page's target can be handed
// the same state at once (Refresh). Drawing calls may be checked first (BeforeDrawing).

#include "platform/Canvas.h"

class TForwardingCanvas : public platform::Canvas {
  public:
    // Hands the remembered state to the current target.
    void Refresh();

    const platform::Pen& pen() const { return pen_; }
    const platform::Brush& brush() const { return brush_; }
    platform::TextAlign textAlign() const { return textAlign_; }

    void setFont(const platform::FontSpec& font) override;
    const platform::FontSpec& font() const override { return font_; }
    platform::TextMetrics textMetrics() override;
    platform::Size textExtent(std::u16string_view text) override;
    platform::Size textExtentFit(std::u16string_view text, int maxWidth, int& fitCount) override;
    void textAdvances(std::u16string_view text, int* advances) override;

    void setTextColor(platform::TColor color) override;
    void setBackgroundColor(platform::TColor color) override;
    void setBackgroundMode(platform::BackgroundMode mode) override;
    void setTextAlign(platform::TextAlign align) override;
    void setTextJustification(int extraPixels, int breakCount) override;
    void textOut(int x, int y, std::u16string_view text) override;

    void setPen(const platform::Pen& pen) override;
    void setBrush(const platform::Brush& brush) override;
    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void rectangle(const platform::Rect& r) override;
    void fillRect(const platform::Rect& r, platform::TColor color) override;
    void ellipse(const platform::Rect& bounds) override;
    void polygon(const std::vector<platform::Point>& points) override;
    void focusRect(const platform::Rect& r) override;
    void drawBitmap(const platform::Bitmap& bitmap, const platform::Rect& source,
                    const platform::Rect& dest, const platform::Bitmap* mask) override;

    void intersectClipRect(const platform::Rect& r) override;
    platform::Rect clipBox() const override;
    void save() override;
    void restore() override;

    void setMapping(const platform::Mapping& mapping) override;
    platform::Mapping mapping() const override { return mapping_; }
    platform::DeviceCaps deviceCaps() const override;

  protected:
    virtual platform::Canvas& Target() const = 0;
    // Called before anything is drawn.
    virtual void BeforeDrawing() {}

  private:
    platform::FontSpec font_;
    platform::TColor textColor_ = 0;
    platform::TColor backgroundColor_ = 0x00FFFFFF;
    platform::BackgroundMode backgroundMode_ = platform::BackgroundMode::Opaque;
    platform::TextAlign textAlign_ = platform::TextAlign::Top;
    platform::Pen pen_;
    platform::Brush brush_;
    platform::Mapping mapping_;
};
