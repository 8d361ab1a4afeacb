#pragma once
// A canvas for tests: fonts with fixed "box" metrics and a text log of every drawing
// call, so layout and painting can be checked as text without a window.
//
// Box fonts: the em size is |height| (12 for height 0); every character advances
// em / 2 pixels (one more in bold), ideographs (U+2E80 and up, but below the
// surrogates) advance em; ascent is em - em / 4, descent em / 4, no leading.

#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace platform {

class RecordingCanvas : public Canvas {
public:
    explicit RecordingCanvas(DeviceCaps caps = {});

    // The drawing log, one line per call that draws (state changes are folded into
    // the lines that use them).
    const std::vector<std::string>& log() const { return log_; }
    std::string logText() const;
    void clearLog() { log_.clear(); }
    // When off, measuring and drawing still work but nothing is logged.
    void setRecording(bool on) { recording_ = on; }

    static int EmSize(const FontSpec& font);
    static int Advance(const FontSpec& font, char16_t c);

    void setFont(const FontSpec& font) override { font_ = font; }
    const FontSpec& font() const override { return font_; }
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
    Rect clipBox() const override { return clip_; }
    void save() override;
    void restore() override;

    void setMapping(const Mapping& mapping) override { mapping_ = mapping; }
    Mapping mapping() const override { return mapping_; }
    DeviceCaps deviceCaps() const override { return caps_; }

protected:
    void record(std::string line);

private:
    DeviceCaps caps_;
    FontSpec font_;
    TColor textColor_ = 0;
    TColor backgroundColor_ = 0x00FFFFFF;
    BackgroundMode backgroundMode_ = BackgroundMode::Opaque;
    TextAlign textAlign_ = TextAlign::Top;
    int justifyExtra_ = 0;
    int justifyBreaks_ = 0;
    Pen pen_;
    Brush brush_;
    Point position_;
    Rect clip_;
    Mapping mapping_;
    std::vector<Rect> clipStack_;
    std::vector<std::string> log_;
    bool recording_ = true;
};

// "#RRGGBB" of a colour (system colours resolved), for logs and dumps.
std::string ColorName(TColor color);

}  // namespace platform
