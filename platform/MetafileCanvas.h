#pragma once
// A page recording: a canvas that keeps a list of what is drawn on it, where, instead
// of drawing it. Text is measured by another canvas it owns (a printer's measuring
// canvas, so widths come out as on paper), and the capabilities it reports are the
// printer's. Pictures are kept as the rectangles they cover, not as their pixels.

#include <memory>
#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace platform {

class MetafileCanvas : public Canvas {
  public:
    struct Operation {
        enum Kind { Text, Line, Rectangle, Fill, Ellipse, Polygon, Focus, Picture };
        Kind kind;
        Rect area;  // the text's origin (left, top) for text; a line's two ends
        std::u16string text;
    };

    MetafileCanvas(std::unique_ptr<Canvas> measuring, const DeviceCaps& caps);

    const std::vector<Operation>& operations() const { return operations_; }
    // Ends the recording: drawing from then on is not kept.
    void close() { closed_ = true; }

    void setFont(const FontSpec& font) override { measuring_->setFont(font); }
    const FontSpec& font() const override { return measuring_->font(); }
    TextMetrics textMetrics() override { return measuring_->textMetrics(); }
    Size textExtent(std::u16string_view text) override { return measuring_->textExtent(text); }
    Size textExtentFit(std::u16string_view text, int maxWidth, int& fitCount) override {
        return measuring_->textExtentFit(text, maxWidth, fitCount);
    }
    void textAdvances(std::u16string_view text, int* advances) override {
        measuring_->textAdvances(text, advances);
    }

    void setTextColor(TColor) override {}
    void setBackgroundColor(TColor) override {}
    void setBackgroundMode(BackgroundMode) override {}
    void setTextAlign(TextAlign) override {}
    void setTextJustification(int extraPixels, int breakCount) override {
        measuring_->setTextJustification(extraPixels, breakCount);
    }
    void textOut(int x, int y, std::u16string_view text) override;

    void setPen(const Pen&) override {}
    void setBrush(const Brush&) override {}
    void moveTo(int x, int y) override { position_ = {x, y}; }
    void lineTo(int x, int y) override;
    void rectangle(const Rect& r) override { Keep(Operation::Rectangle, r); }
    void fillRect(const Rect& r, TColor) override { Keep(Operation::Fill, r); }
    void ellipse(const Rect& bounds) override { Keep(Operation::Ellipse, bounds); }
    void polygon(const std::vector<Point>& points) override;
    void focusRect(const Rect& r) override { Keep(Operation::Focus, r); }
    void drawBitmap(const Bitmap&, const Rect&, const Rect& dest, const Bitmap*) override {
        Keep(Operation::Picture, dest);
    }

    void intersectClipRect(const Rect& r) override;
    Rect clipBox() const override { return clip_; }
    void save() override { clipStack_.push_back(clip_); }
    void restore() override;

    void setMapping(const Mapping& mapping) override { mapping_ = mapping; }
    Mapping mapping() const override { return mapping_; }
    DeviceCaps deviceCaps() const override { return caps_; }

  private:
    void Keep(Operation::Kind kind, const Rect& area, std::u16string_view text = {});

    std::unique_ptr<Canvas> measuring_;
    DeviceCaps caps_;
    std::vector<Operation> operations_;
    Point position_;
    Rect clip_{-1000000, -1000000, 1000000, 1000000};
    std::vector<Rect> clipStack_;
    Mapping mapping_;
    bool closed_ = false;
};

}  // namespace platform
