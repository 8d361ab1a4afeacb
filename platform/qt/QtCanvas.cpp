#include "platform/qt/QtCanvas.h"

#include <QFont>
#include <QGlyphRun>
#include <QPaintDevice>
#include <QRawFont>
#include <QtMath>

#include <array>
#include <map>
#include <tuple>

namespace platform {

namespace {

QColor ToQColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

// One font at one size: the raw font used to draw it, its metrics, and the advance of
// every character met so far (pages of 256, filled on first use).
class QtFontEntry {
public:
    explicit QtFontEntry(const FontSpec& spec) {
        latin_.fill(-1);
        QFont font(QString::fromUtf8(spec.face.c_str()));
        if (spec.face.empty()) font = QFont();
        font.setBold(spec.bold());
        font.setItalic(spec.italic());
        font.setUnderline(spec.underline());
        font.setStrikeOut(spec.strikeOut());
        font.setKerning(false);
        font.setHintingPreference(QFont::PreferFullHinting);
        font.setStyleStrategy(QFont::StyleStrategy(QFont::NoSubpixelAntialias | QFont::PreferMatch));
        int pixels = spec.height < 0 ? -spec.height : spec.height;
        if (pixels == 0) pixels = 16;
        if (spec.height > 0) {
            // A cell height: find the em size whose ascent + descent make that height.
            font.setPixelSize(100);
            const QRawFont probe = QRawFont::fromFont(font);
            const double cell = probe.ascent() + probe.descent();
            if (cell > 0) pixels = std::max(1, qRound(pixels * 100.0 / cell));
        }
        font.setPixelSize(pixels);
        raw_ = QRawFont::fromFont(font);
        underline_ = spec.underline();
        strikeOut_ = spec.strikeOut();

        metrics_.ascent = qCeil(raw_.ascent());
        metrics_.descent = qCeil(raw_.descent());
        metrics_.height = metrics_.ascent + metrics_.descent;
        metrics_.internalLeading = std::max(0, metrics_.height - pixels);
        metrics_.externalLeading = std::max(0, qRound(raw_.leading()));
        metrics_.maxCharWidth = qCeil(raw_.maxCharWidth());
        metrics_.charset = ReportedCharset(spec.charset);
        metrics_.aveCharWidth = advance(u'x');
    }

    const QRawFont& raw() const { return raw_; }
    const TextMetrics& metrics() const { return metrics_; }
    bool underline() const { return underline_; }
    bool strikeOut() const { return strikeOut_; }

    // The whole-pixel advance of one UTF-16 unit (a surrogate pair counts on its
    // first half; the second half advances nothing).
    int advance(char16_t c) {
        if (c < 0x100) {  // most text: no page to look up
            std::int16_t& slot = latin_[c];
            if (slot < 0) slot = static_cast<std::int16_t>(measure(c));
            return slot;
        }
        auto& page = pages_[c >> 8];
        if (!page) {
            page = std::make_unique<std::array<std::int16_t, 256>>();
            page->fill(-1);
        }
        auto& slot = (*page)[c & 0xFF];
        if (slot < 0) slot = static_cast<std::int16_t>(measure(c));
        return slot;
    }

    // How many of the first characters of `text` fit in `room` pixels, taken four at a
    // time while all four are Latin-1 letters already measured; `width` gets their
    // advances. Advances are never negative, so four fit exactly when their sum does.
    // The caller goes on a character at a time from there.
    std::size_t fitMeasuredLatin(std::u16string_view text, int room, int& width) const {
        std::size_t i = 0;
        width = 0;
        for (; i + 4 <= text.size(); i += 4) {
            const char16_t a = text[i], b = text[i + 1], c = text[i + 2], d = text[i + 3];
            if ((a | b | c | d) >= 0x100) break;
            const int wa = latin_[a], wb = latin_[b], wc = latin_[c], wd = latin_[d];
            if ((wa | wb | wc | wd) < 0) break;  // one not measured yet
            const long long next = static_cast<long long>(width) + wa + wb + wc + wd;
            if (next > room) break;
            width = static_cast<int>(next);
        }
        return i;
    }

    quint32 glyph(char16_t c) {
        QChar ch(c);
        quint32 index = 0;
        int count = 1;
        raw_.glyphIndexesForChars(&ch, 1, &index, &count);
        return index;
    }

private:
    int measure(char16_t c) {
        if (IsLowSurrogate(c)) return 0;
        if (IsHighSurrogate(c)) return metrics_.maxCharWidth / 2;
        const quint32 index = glyph(c);
        const QList<QPointF> advances = raw_.advancesForGlyphIndexes(QList<quint32>{index});
        return advances.isEmpty() ? 0 : std::max(0, qRound(advances.front().x()));
    }

    QRawFont raw_;
    TextMetrics metrics_;
    bool underline_ = false;
    bool strikeOut_ = false;
    std::array<std::int16_t, 256> latin_;  // the first page, always there
    std::array<std::unique_ptr<std::array<std::int16_t, 256>>, 256> pages_;
};

namespace {

struct SpecLess {
    bool operator()(const FontSpec& a, const FontSpec& b) const {
        if (a.face != b.face) return FastLess(a.face, b.face);
        return std::tie(a.height, a.style, a.charset) < std::tie(b.height, b.style, b.charset);
    }
};

QtFontEntry& FontEntryFor(const FontSpec& spec) {
    static std::map<FontSpec, std::unique_ptr<QtFontEntry>, SpecLess> cache;
    auto& slot = cache[spec];
    if (!slot) slot = std::make_unique<QtFontEntry>(spec);
    return *slot;
}

}  // namespace

QtCanvas::QtCanvas(QPaintDevice* device) : device_(device) {
    if (device_) {
        painter_.emplace(device_);
        // A device that cannot be painted on (a printer that refused the job) leaves a
        // canvas that only measures.
        if (!painter_->isActive()) {
            painter_.reset();
            return;
        }
        painter_->setRenderHint(QPainter::Antialiasing, false);
        painter_->setRenderHint(QPainter::TextAntialiasing, true);
    }
}

QtCanvas::~QtCanvas() {
    if (painter_ && painter_->isActive()) painter_->end();
}

bool QtCanvas::finish() {
    if (!painter_) return true;
    const bool ended = painter_->isActive() && painter_->end();
    painter_.reset();
    clip_.reset();
    clipStack_.clear();
    return ended;
}

QtFontEntry& QtCanvas::entry() {
    if (!entry_) entry_ = &FontEntryFor(fontSpec_);
    return *entry_;
}

void QtCanvas::setFont(const FontSpec& font) {
    if (font == fontSpec_ && entry_) return;
    fontSpec_ = font;
    entry_ = nullptr;
}

TextMetrics QtCanvas::textMetrics() { return entry().metrics(); }

Size QtCanvas::textExtent(std::u16string_view text) {
    QtFontEntry& e = entry();
    int width = 0;
    for (char16_t c : text) width += e.advance(c);
    return {width, e.metrics().height};
}

Size QtCanvas::textExtentFit(std::u16string_view text, int maxWidth, int& fitCount) {
    QtFontEntry& e = entry();
    int width = 0;
    std::size_t i = e.fitMeasuredLatin(text, maxWidth, width);
    for (; i < text.size(); ++i) {
        const int next = width + e.advance(text[i]);
        if (next > maxWidth) break;
        width = next;
    }
    fitCount = static_cast<int>(i);
    return {width, e.metrics().height};
}

void QtCanvas::textAdvances(std::u16string_view text, int* advances) {
    QtFontEntry& e = entry();
    for (char16_t c : text) *advances++ = e.advance(c);
}

void QtCanvas::setTextJustification(int extraPixels, int breakCount) {
    justifyExtra_ = breakCount > 0 ? extraPixels : 0;
    justifyBreaks_ = breakCount > 0 ? breakCount : 0;
    justifyUsed_ = 0;
}

void QtCanvas::textOut(int x, int y, std::u16string_view text) {
    if (!painter_ || text.empty()) return;
    QtFontEntry& e = entry();
    const TextMetrics& m = e.metrics();
    const int baseline = textAlign_ == TextAlign::Baseline ? y : y + m.ascent;

    QList<quint32> glyphs;
    QList<QPointF> positions;
    glyphs.reserve(static_cast<qsizetype>(text.size()));
    positions.reserve(static_cast<qsizetype>(text.size()));
    int pen = x;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            const QChar pair[2] = {QChar(c), QChar(text[i + 1])};
            quint32 index = 0;
            int count = 1;
            e.raw().glyphIndexesForChars(pair, 2, &index, &count);
            glyphs.push_back(index);
            positions.push_back(QPointF(pen, baseline));
        } else if (!IsLowSurrogate(c)) {
            glyphs.push_back(e.glyph(c));
            positions.push_back(QPointF(pen, baseline));
        }
        pen += e.advance(c);
        if (c == u' ' && justifyUsed_ < justifyBreaks_) {
            const int share = justifyExtra_ / justifyBreaks_ +
                              (justifyUsed_ < justifyExtra_ % justifyBreaks_ ? 1 : 0);
            pen += share;
            ++justifyUsed_;
        }
    }
    if (backgroundMode_ == BackgroundMode::Opaque)
        painter_->fillRect(QRect(x, baseline - m.ascent, pen - x, m.height), ToQColor(backgroundColor_));
    QGlyphRun run;
    run.setRawFont(e.raw());
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    const QColor color = ToQColor(textColor_);
    painter_->setPen(color);
    painter_->drawGlyphRun(QPointF(0, 0), run);
    // Decorations are drawn here rather than by the glyph run, which would start them
    // at the origin instead of under the text.
    if (e.underline() || e.strikeOut()) {
        const int thickness = std::max(1, qRound(e.raw().lineThickness()));
        if (e.underline()) {
            const int y = baseline + std::max(1, qRound(e.raw().underlinePosition()));
            painter_->fillRect(QRect(x, y, pen - x, thickness), color);
        }
        if (e.strikeOut()) {
            const int y = baseline - std::max(1, m.ascent / 3);
            painter_->fillRect(QRect(x, y, pen - x, thickness), color);
        }
    }
}

void QtCanvas::applyPen() {
    if (!painter_) return;
    if (pen_.style == PenStyle::Clear) {
        painter_->setPen(Qt::NoPen);
        return;
    }
    QPen pen(ToQColor(pen_.color));
    pen.setWidth(std::max(1, pen_.width));
    pen.setCapStyle(pen_.cap == PenCap::Round    ? Qt::RoundCap
                    : pen_.cap == PenCap::Square ? Qt::SquareCap
                                                 : Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    // Dash and gap lengths in pen widths, caps included: a square-capped dash of 2
    // shows 3 widths long with 2 between; a round dot of nearly nothing shows as a
    // disc one width across, one width from the next.
    if (pen_.style == PenStyle::Dash) {
        if (pen_.cap == PenCap::Square)
            pen.setDashPattern({2, 3});
        else
            pen.setStyle(Qt::DashLine);
    }
    if (pen_.style == PenStyle::Dot) {
        if (pen_.cap == PenCap::Round)
            pen.setDashPattern({0.01, 1.99});
        else
            pen.setStyle(Qt::DotLine);
    }
    painter_->setPen(pen);
}

void QtCanvas::applyBrush() {
    if (!painter_) return;
    if (brush_.style == BrushStyle::Clear)
        painter_->setBrush(Qt::NoBrush);
    else
        painter_->setBrush(ToQColor(brush_.color));
}

void QtCanvas::lineTo(int x, int y) {
    if (painter_ && pen_.style != PenStyle::Clear) {
        applyPen();
        // The start point is drawn and the end point is not, whichever way the line
        // runs, so the lines of a frame meet at their corners. A flat-capped line
        // covers the pixels from its lower coordinate to before its higher one, so a
        // line running left or up is moved by one pixel to start at its start.
        int x0 = position_.x, y0 = position_.y, x1 = x, y1 = y;
        if (y0 == y1 && x1 < x0)
            ++x0, ++x1;
        else if (x0 == x1 && y1 < y0)
            ++y0, ++y1;
        painter_->drawLine(x0, y0, x1, y1);
    }
    position_ = {x, y};
}

void QtCanvas::polyline(const std::vector<Point>& points, bool closed) {
    if (points.empty()) return;
    if (painter_ && pen_.style != PenStyle::Clear && points.size() > 1) {
        applyPen();
        painter_->setBrush(Qt::NoBrush);
        QPolygon polygon;
        for (const auto& p : points) polygon << QPoint(p.x, p.y);
        if (closed)
            painter_->drawPolygon(polygon);
        else
            painter_->drawPolyline(polygon);
    }
    position_ = closed ? points.front() : points.back();
}

void QtCanvas::rectangle(const Rect& r) {
    if (!painter_ || r.isEmpty()) return;
    if (brush_.style == BrushStyle::Solid) painter_->fillRect(ToQRect(r), ToQColor(brush_.color));
    if (pen_.style != PenStyle::Clear) {
        applyPen();
        painter_->setBrush(Qt::NoBrush);
        const int w = std::max(1, pen_.width);
        const int inset = w / 2;
        painter_->drawRect(QRect(r.left + inset, r.top + inset, r.width() - w, r.height() - w));
    }
}

void QtCanvas::fillRect(const Rect& r, TColor color) {
    if (painter_ && !r.isEmpty()) painter_->fillRect(ToQRect(r), ToQColor(color));
}

void QtCanvas::ellipse(const Rect& bounds) {
    if (!painter_) return;
    applyPen();
    applyBrush();
    painter_->drawEllipse(QRect(bounds.left, bounds.top, bounds.width() - 1, bounds.height() - 1));
}

void QtCanvas::polygon(const std::vector<Point>& points) {
    if (!painter_ || points.empty()) return;
    applyPen();
    applyBrush();
    QPolygon polygon;
    for (const auto& p : points) polygon << QPoint(p.x, p.y);
    painter_->drawPolygon(polygon, Qt::WindingFill);
}

void QtCanvas::focusRect(const Rect& r) {
    if (!painter_ || r.isEmpty()) return;
    painter_->save();
    painter_->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    QPen pen(Qt::white);
    pen.setStyle(Qt::DotLine);
    painter_->setPen(pen);
    painter_->setBrush(Qt::NoBrush);
    painter_->drawRect(QRect(r.left, r.top, r.width() - 1, r.height() - 1));
    painter_->restore();
}

QImage QtCanvas::ToQImage(const Bitmap& bitmap) {
    if (bitmap.isNull()) return {};
    if (bitmap.format() == Bitmap::Format::Rgb32)
        return QImage(reinterpret_cast<const uchar*>(bitmap.row32(0)), bitmap.width(),
                      bitmap.height(), bitmap.width() * 4, QImage::Format_RGB32);
    QImage image(reinterpret_cast<const uchar*>(bitmap.row8(0)), bitmap.width(), bitmap.height(),
                 bitmap.width(), QImage::Format_Indexed8);
    QList<QRgb> table;
    for (std::uint32_t entry : bitmap.palette()) table.push_back(0xFF000000u | entry);
    while (table.size() < 256) table.push_back(0xFF000000u);
    image.setColorTable(table);
    return image;
}

void QtCanvas::drawBitmap(const Bitmap& bitmap, const Rect& source, const Rect& dest,
                          const Bitmap* mask) {
    if (!painter_ || bitmap.isNull() || dest.isEmpty()) return;
    QImage image = ToQImage(bitmap);
    if (mask && mask->width() == bitmap.width() && mask->height() == bitmap.height()) {
        // Only the part drawn goes through the mask: a strip of animation frames is
        // drawn one frame at a time.
        const Rect part = source.intersected({0, 0, bitmap.width(), bitmap.height()});
        if (part.isEmpty()) return;
        image = image.copy(ToQRect(part)).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if ((mask->pixel(part.left + x, part.top + y) & 0xFFFFFF) != 0) line[x] = 0;
        }
        painter_->drawImage(ToQRect(dest), image, ToQRect(source.translated(-part.left, -part.top)));
        return;
    }
    painter_->drawImage(ToQRect(dest), image, ToQRect(source));
}

void QtCanvas::intersectClipRect(const Rect& r) {
    clip_ = clip_ ? clip_->intersected(r) : r;
    if (painter_) painter_->setClipRect(ToQRect(*clip_), Qt::ReplaceClip);
}

Rect QtCanvas::clipBox() const {
    if (clip_) return *clip_;
    if (!device_) return {};
    // The whole device in logical units.
    const Mapping& m = mapping_;
    auto logicalX = [&](int x) {
        return (x - m.viewportOrigin.x) * m.windowExtent.cx / std::max(1, m.viewportExtent.cx) +
               m.windowOrigin.x;
    };
    auto logicalY = [&](int y) {
        return (y - m.viewportOrigin.y) * m.windowExtent.cy / std::max(1, m.viewportExtent.cy) +
               m.windowOrigin.y;
    };
    return {logicalX(0), logicalY(0), logicalX(device_->width()), logicalY(device_->height())};
}

void QtCanvas::save() { clipStack_.push_back(clip_); }

void QtCanvas::restore() {
    if (clipStack_.empty()) return;
    clip_ = clipStack_.back();
    clipStack_.pop_back();
    if (!painter_) return;
    if (clip_)
        painter_->setClipRect(ToQRect(*clip_), Qt::ReplaceClip);
    else
        painter_->setClipping(false);
}

void QtCanvas::setMapping(const Mapping& mapping) {
    mapping_ = mapping;
    if (!painter_) return;
    QTransform transform;
    transform.translate(mapping.viewportOrigin.x, mapping.viewportOrigin.y);
    transform.scale(static_cast<double>(mapping.viewportExtent.cx) / std::max(1, mapping.windowExtent.cx),
                    static_cast<double>(mapping.viewportExtent.cy) / std::max(1, mapping.windowExtent.cy));
    transform.translate(-mapping.windowOrigin.x, -mapping.windowOrigin.y);
    painter_->setWorldTransform(transform);
}

DeviceCaps QtCanvas::deviceCaps() const {
    if (capsOverride_) return *capsOverride_;
    DeviceCaps caps;
    if (!device_) return caps;
    caps.dpiX = device_->logicalDpiX();
    caps.dpiY = device_->logicalDpiY();
    caps.bitsPerPixel = device_->depth();
    caps.width = device_->width();
    caps.height = device_->height();
    caps.numColors = caps.bitsPerPixel <= 8 ? (1 << caps.bitsPerPixel) : -1;
    return caps;
}

}  // namespace platform
