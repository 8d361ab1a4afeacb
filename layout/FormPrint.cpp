// The pictures form controls leave on paper (and in headless renderings), where no
// window can show: a box with a sunken or raised frame and what the control holds.

#include <algorithm>
#include <cmath>

#include "layout/Document.h"
#include "layout/FormControls.h"

namespace {

constexpr platform::TColor kWhite = 0xFFFFFF;
constexpr platform::TColor kBlack = 0x000000;
constexpr platform::TColor kLightGrey = 0xC0C0C0;

platform::TColor ButtonFace() {
    return platform::ColorToRGB(platform::SystemColorValue(platform::colorButtonFace));
}
platform::TColor ButtonShadow() {
    return platform::ColorToRGB(platform::SystemColorValue(platform::colorButtonShadow));
}

// Device pixels for one output pixel: the box pictures are drawn at screen size.
bool OneBitDevice(platform::Canvas& canvas) {
    const platform::DeviceCaps caps = canvas.deviceCaps();
    return caps.bitsPerPixel == 1 && caps.planes == 1;
}

}  // namespace

bool TFormControlObj::Monochrome(platform::Canvas& canvas) const {
    return OneBitDevice(canvas);
}

void TFormControlObj::PaintForPrint(platform::Canvas&, int, int) {}

void TFormControlObj::PaintFrame(platform::Canvas& canvas, const platform::Rect& box, bool raised,
                                 bool greyed) {
    const bool mono = Monochrome(canvas);
    canvas.fillRect(box, greyed && !mono ? ButtonFace() : kWhite);
    if (mono && document && document->printMonoBlack) {
        canvas.setPen({kBlack, platform::PenStyle::Solid, 1});
        canvas.setBrush({kWhite, platform::BrushStyle::Clear});
        canvas.rectangle(box);
        return;
    }
    const platform::TColor topLeft = raised ? kLightGrey : ButtonShadow();
    const platform::TColor bottomRight = raised ? ButtonShadow() : kLightGrey;
    const int w = std::min(2, box.width());
    const int h = std::min(2, box.height());
    canvas.fillRect({box.left, box.bottom - h, box.right, box.bottom}, bottomRight);
    canvas.fillRect({box.right - w, box.top, box.right, box.bottom}, bottomRight);
    canvas.fillRect({box.left, box.top, box.right, box.top + h}, topLeft);
    canvas.fillRect({box.left, box.top, box.left + w, box.bottom}, topLeft);
}

void TFormControlObj::PaintText(platform::Canvas& canvas, const platform::Rect& box, int inset,
                                const std::u16string& text) {
    if (text.empty()) return;
    canvas.save();
    canvas.intersectClipRect(box);
    canvas.setFont(font);
    canvas.setTextAlign(platform::TextAlign::Top);
    canvas.setBackgroundMode(platform::BackgroundMode::Transparent);
    canvas.setTextColor(Monochrome(canvas) ? kBlack : platform::ColorToRGB(textColor));
    const int textHeight = canvas.textExtent(u"A").cy;
    canvas.textOut(box.left + inset, box.top + (box.height() - textHeight) / 2, text);
    canvas.restore();
    // The section goes on drawing its line on the baseline.
    canvas.setTextAlign(platform::TextAlign::Baseline);
}

void TEditFormControlObj::PaintForPrint(platform::Canvas& canvas, int x, int y) {
    const platform::Rect box{x, y, x + Width(), y + Height()};
    PaintFrame(canvas, box, false, disabled);
    const std::u16string text = control->text();
    PaintText(canvas, box, 4, password ? std::u16string(text.size(), u'*') : text);
}

void TButtonFormControlObj::PaintForPrint(platform::Canvas& canvas, int x, int y) {
    const platform::Rect box{x, y, x + Width(), y + Height()};
    const bool monoBlack = Monochrome(canvas) && document && document->printMonoBlack;
    if (!monoBlack) {
        // The control's own look, taken once.
        if (!printBitmap) printBitmap = control->snapshot();
        if (printBitmap && printBitmap->width() > 0 && printBitmap->height() > 0) {
            canvas.drawBitmap(*printBitmap, {0, 0, printBitmap->width(), printBitmap->height()},
                              box);
            return;
        }
        canvas.fillRect(box, ButtonFace());
        const platform::Rect inner = box;
        PaintFrame(canvas, inner, true, true);
    } else {
        PaintFrame(canvas, box, true, false);
    }
    canvas.save();
    canvas.intersectClipRect(box);
    canvas.setFont(font);
    canvas.setTextAlign(platform::TextAlign::Top);
    canvas.setBackgroundMode(platform::BackgroundMode::Transparent);
    canvas.setTextColor(kBlack);
    const platform::Size extent = canvas.textExtent(caption);
    canvas.textOut(box.left + (box.width() - extent.cx) / 2,
                   box.top + (box.height() - extent.cy) / 2, caption);
    canvas.restore();
    canvas.setTextAlign(platform::TextAlign::Baseline);
}

void TCheckBoxFormControlObj::PaintForPrint(platform::Canvas& canvas, int x, int y) {
    const platform::Rect box{x, y, x + Width(), y + Height()};
    PaintFrame(canvas, box, false, disabled);
    if (!control->isChecked()) return;
    const int middle = y + Height() / 2;
    canvas.setPen({kBlack, platform::PenStyle::Solid, 1});
    // The mark two pixels thick, as a checked box shows it.
    for (int d = 0; d < 2; ++d)
        canvas.polyline({{x + 3, middle + d}, {x + 5, middle + 2 + d}, {x + 9, middle - 2 + d}},
                        false);
}

void TRadioButtonFormControlObj::PaintForPrint(platform::Canvas& canvas, int x, int y) {
    const bool mono = Monochrome(canvas);
    const platform::Rect circle{x, y, x + 14, y + 14};
    canvas.setPen({kWhite, platform::PenStyle::Clear, 1});
    canvas.setBrush({disabled && !mono ? ButtonFace() : kWhite, platform::BrushStyle::Solid});
    canvas.ellipse(circle);
    // The rim: shaded on the upper left, lit on the lower right.
    const double cx = x + 6.5, cy = y + 6.5, radius = 6.5;
    auto arc = [&](double from, double to, platform::TColor color) {
        std::vector<platform::Point> points;
        for (int step = 0; step <= 12; ++step) {
            const double angle = (from + (to - from) * step / 12.0) * 3.14159265358979 / 180.0;
            points.push_back({static_cast<int>(std::lround(cx + radius * std::cos(angle))),
                              static_cast<int>(std::lround(cy - radius * std::sin(angle)))});
        }
        canvas.setPen({color, platform::PenStyle::Solid, 1});
        canvas.polyline(points, false);
    };
    arc(45, 225, mono ? kBlack : ButtonShadow());
    arc(225, 405, mono ? kBlack : kLightGrey);
    if (control->isChecked()) {
        canvas.setPen({kBlack, platform::PenStyle::Solid, 1});
        canvas.setBrush({kBlack, platform::BrushStyle::Solid});
        canvas.ellipse({x + 5, y + 5, x + 9, y + 9});
    }
}

void TListBoxFormControlObj::PaintForPrint(platform::Canvas& canvas, int x, int y) {
    const platform::Rect box{x, y, x + Width(), y + Height()};
    PaintFrame(canvas, box, false, false);
    canvas.save();
    canvas.intersectClipRect(box);
    canvas.setFont(font);
    canvas.setTextAlign(platform::TextAlign::Top);
    canvas.setBackgroundMode(platform::BackgroundMode::Transparent);
    canvas.setTextColor(Monochrome(canvas) ? kBlack : platform::ColorToRGB(textColor));
    const int textHeight = std::max(1, canvas.textExtent(u"A").cy);
    const int count = control->itemCount();
    for (int row = 0, i = control->topIndex(); row < VisibleRows() && i < count; ++row, ++i) {
        const int top = y + 2 + row * textHeight;
        if (top >= box.bottom) break;
        canvas.textOut(x + 4, top, options[static_cast<std::size_t>(i)].text);
    }
    canvas.restore();
    canvas.setTextAlign(platform::TextAlign::Baseline);
}

void TComboFormControlObj::PaintForPrint(platform::Canvas& canvas, int x, int y) {
    const platform::Rect box{x, y, x + Width(), y + Height()};
    PaintFrame(canvas, box, false, false);
    const int current = control->currentIndex();
    if (current >= 0 && current < static_cast<int>(options.size()))
        PaintText(canvas, box, 4, options[static_cast<std::size_t>(current)].text);
}

void TTextAreaFormControlObj::PaintForPrint(platform::Canvas& canvas, int x, int y) {
    const platform::Rect box{x, y, x + Width(), y + Height()};
    PaintFrame(canvas, box, false, false);
    canvas.save();
    canvas.intersectClipRect(box);
    canvas.setFont(font);
    canvas.setTextAlign(platform::TextAlign::Top);
    canvas.setBackgroundMode(platform::BackgroundMode::Transparent);
    canvas.setTextColor(Monochrome(canvas) ? kBlack : platform::ColorToRGB(textColor));
    const int textHeight = std::max(1, canvas.textExtent(u"A").cy);
    const std::vector<std::u16string> lines = control->visualLines();
    for (int row = 0; row < rows && row < static_cast<int>(lines.size()); ++row) {
        const int top = y + 2 + row * textHeight;
        if (top >= box.bottom) break;
        canvas.textOut(x + 4, top, lines[static_cast<std::size_t>(row)]);
    }
    canvas.restore();
    canvas.setTextAlign(platform::TextAlign::Baseline);
}
