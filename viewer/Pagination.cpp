#include "viewer/Pagination.h"

#include <cmath>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>

#include "layout/Document.h"
#include "viewer/MetaFilePrinter.h"
#include "viewer/Printer.h"

using platform::Rect;

namespace {

constexpr platform::TColor kWhite = 0x00FFFFFF;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {
    return -FloorDiv(-a, b);
}

// The document as it is printed: a copy with its own layout, from the top, in
// printing mode, on white.
std::unique_ptr<TSectionList> PrintCopy(const TSectionList& document) {
    auto copy = std::make_unique<TSectionList>(document, true);
    copy->SetScrollY(0);
    copy->isPrinting = true;
    // Set directly: the screen's background must not follow the paper's.
    copy->backgroundColor = kWhite;
    return copy;
}

// One page of a print or a count, drawn on `canvas`: the content, then (unless the page
// is only being passed over) the white margin bands, the header and the footer.
struct PageDrawing {
    TSectionList& copy;
    const TPageGeometry& g;
    const TPrintOptions& options;
    Rect contentClip;  // logical units
    std::optional<Rect> decorationClip;

    // Draws page `page` whose content starts at `previousBottom`; gives where the
    // next page's content starts.
    int Draw(TForwardingCanvas& canvas, int page, int previousBottom, bool passOver, bool& stop) {
        copy.SetScrollY(previousBottom - g.topL);
        canvas.setMapping(g.MappingAt({0, 0}));
        canvas.save();
        canvas.intersectClipRect(contentClip);
        const Rect area{g.leftL, g.topL, g.leftL + g.widthL, g.topL + g.heightL};
        if (passOver) {
            // Beside the paper: the page is laid out and ends where it would, but
            // nothing of it shows.
            copy.Draw(canvas, area, g.widthL, g.widthL * 3 + g.leftL, 0, 0, 0);
            canvas.restore();
        } else {
            copy.Draw(canvas, area, g.widthL, g.leftL, 0, 0, 0);
            Decorate(canvas, page, previousBottom, stop);
        }
        // A page that ends where it began would be followed by itself for ever: the
        // next one starts a whole page further down.
        if (copy.pageBottomY <= previousBottom) return previousBottom + g.heightL;
        return copy.pageBottomY;
    }

    void Decorate(TForwardingCanvas& canvas, int page, int previousBottom, bool& stop) {
        const platform::FontSpec font = canvas.font();
        const platform::Pen pen = canvas.pen();
        const platform::Brush brush = canvas.brush();
        canvas.restore();  // the content's clip goes
        canvas.setPen({kWhite, platform::PenStyle::Solid, 1});
        canvas.setBrush({kWhite, platform::BrushStyle::Solid});
        // What the content drew over the top margin, and below where this page's
        // content ends.
        canvas.rectangle({g.leftL, 0, g.leftL + g.widthL + 1, g.topL - 1});
        canvas.rectangle({g.leftL, copy.pageBottomY + g.topL - previousBottom,
                          g.leftL + g.widthL + 1, g.topL + g.heightL});
        canvas.setPen(pen);
        const platform::TextAlign align = canvas.textAlign();
        canvas.setTextAlign(platform::TextAlign::Top);
        if (decorationClip && (options.onHeader || options.onFooter)) {
            canvas.save();
            canvas.intersectClipRect(*decorationClip);
        }
        if (options.onHeader) {
            canvas.setMapping(g.MappingAt({0, 0}));
            options.onHeader(canvas, page, g.pageWidthL, g.topL, stop);
        }
        if (options.onFooter) {
            canvas.setMapping(g.MappingAt({0, -(g.topL + g.heightL)}));
            options.onFooter(canvas, page, g.pageWidthL, g.pageHeightL - g.topL - g.heightL, stop);
        }
        if (decorationClip && (options.onHeader || options.onFooter)) canvas.restore();
        canvas.setTextAlign(align);
        canvas.setFont(font);
        canvas.setPen(pen);
        canvas.setBrush(brush);
    }
};

TPageGeometry CheckedGeometry(const platform::PrinterPage& page, const TPrintOptions& options) {
    const TPageGeometry g = TPageGeometry::Of(page, options);
    if (g.widthL < 1 || g.heightL < 1)
        throw EPrinter("As margens não deixam espaço para imprimir na página.");
    return g;
}

int LayOut(TSectionList& copy, platform::Canvas& canvas, const TPageGeometry& g) {
    int scrollWidth = 0, cursor = 0;
    return copy.LayoutCell(canvas, 0, g.widthL, g.heightL, scrollWidth, cursor);
}

// Puts the printer that was current before a job back when the job is over.
class CurrentPrinterSwap {
  public:
    explicit CurrentPrinterSwap(std::unique_ptr<TvwPrinter> printer)
        : mine_(printer.get()), previous_(SetPrinter(std::move(printer))) {}
    ~CurrentPrinterSwap() { SetPrinter(std::move(previous_)); }
    CurrentPrinterSwap(const CurrentPrinterSwap&) = delete;
    CurrentPrinterSwap& operator=(const CurrentPrinterSwap&) = delete;
    TvwPrinter& printer() { return *mine_; }

  private:
    TvwPrinter* mine_;
    std::unique_ptr<TvwPrinter> previous_;
};

}  // namespace

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const std::uint64_t magnitude =
        product < 0 ? static_cast<std::uint64_t>(-product) : static_cast<std::uint64_t>(product);
    const std::uint64_t divisor = c < 0 ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(c))
                                        : static_cast<std::uint64_t>(c);
    const std::uint64_t quotient = (magnitude + divisor / 2) / divisor;
    if (quotient > static_cast<std::uint64_t>(INT32_MAX)) return -1;
    return negative ? -static_cast<int>(quotient) : static_cast<int>(quotient);
}

TPageGeometry TPageGeometry::Of(const platform::PrinterPage& page, const TPrintOptions& options) {
    TPageGeometry g;
    // One logical unit is a screen pixel at scale 1; a larger scale makes the units,
    // and so everything printed, larger.
    g.logicalPerInch =
        std::max(1, static_cast<int>(std::nearbyint(options.screenPixelsPerInch / options.scale)));
    g.dpiX = std::max(1, page.dpiX);
    g.dpiY = std::max(1, page.dpiY);
    const int L = g.logicalPerInch;
    const int x0 = page.offsetX, y0 = page.offsetY;
    g.unprintableRight = std::max(0, page.physicalWidth - page.printableWidth - x0);
    g.unprintableBottom = std::max(0, page.physicalHeight - page.printableHeight - y0);
    g.marginLeft = static_cast<int>(options.marginLeft / 2.54 * g.dpiX);
    g.marginRight = static_cast<int>(options.marginRight / 2.54 * g.dpiX);
    g.marginTop = static_cast<int>(options.marginTop / 2.54 * g.dpiY);
    g.marginBottom = static_cast<int>(options.marginBottom / 2.54 * g.dpiY);
    g.left = g.marginLeft - x0;
    g.top = g.marginTop - y0;
    g.width = page.printableWidth + g.unprintableRight - g.marginRight - g.left;
    g.height = page.printableHeight + y0 - g.marginTop - (g.marginBottom - g.unprintableBottom);
    g.leftL = MulDiv(g.left, L, g.dpiX);
    g.widthL = MulDiv(g.width, L, g.dpiX);
    g.topL = MulDiv(g.top, L, g.dpiY);
    g.heightL = MulDiv(g.height, L, g.dpiY);
    g.pageHeightL = MulDiv(page.printableHeight, L, g.dpiY);
    g.pageWidthL = MulDiv(page.printableWidth, L, g.dpiY);
    return g;
}

platform::Mapping TPageGeometry::MappingAt(platform::Point windowOrigin) const {
    platform::Mapping mapping;
    mapping.windowExtent = {logicalPerInch, logicalPerInch};
    mapping.viewportExtent = {dpiX, dpiY};
    mapping.windowOrigin = windowOrigin;
    return mapping;
}

Rect TPageGeometry::Logical(const Rect& device) const {
    const std::int64_t L = logicalPerInch;
    return {static_cast<int>(FloorDiv(device.left * L, dpiX)),
            static_cast<int>(FloorDiv(device.top * L, dpiY)),
            static_cast<int>(CeilDiv(device.right * L, dpiX)),
            static_cast<int>(CeilDiv(device.bottom * L, dpiY))};
}

int PrintDocument(const TSectionList& document, const TPrintOptions& options, int fromPage,
                  int toPage, bool stopped) {
    std::unique_ptr<TSectionList> copy = PrintCopy(document);
    CurrentPrinterSwap job(std::make_unique<TvwPrinter>());
    TvwPrinter& printer = job.printer();
    int page = 1;
    if (!options.title.empty()) printer.Title = options.title;
    printer.BeginDoc();

    bool printedAny = false;
    std::exception_ptr failure;
    try {
        const TPageGeometry g = CheckedGeometry(printer.PageValues(), options);
        const int total = LayOut(*copy, printer.Canvas(), g);
        const Rect clip{0, g.top - 1, g.width + g.left + 2, g.top + g.height + 2};
        PageDrawing drawing{*copy, g, options, g.Logical(clip), std::nullopt};
        ProcessPendingMessages();
        if (options.onPage) options.onPage(page, stopped);
        int previousBottom = 0;
        while (toPage >= page && !stopped) {
            const bool passOver = page < fromPage;
            previousBottom =
                drawing.Draw(printer.Canvas(), page, previousBottom, passOver, stopped);
            printedAny = printedAny || !passOver;
            ProcessPendingMessages();
            if (options.onPage) options.onPage(page, stopped);
            // The document is used up when the next page would start at or below its end.
            if (total <= previousBottom) stopped = true;
            if (!stopped && fromPage <= page && page < toPage) printer.NewPage();
            ++page;
        }
    } catch (...) {
        failure = std::current_exception();
    }
    try {
        // A job that printed nothing is dropped rather than sent as a blank sheet.
        if (printer.Printing()) {
            if (printedAny)
                printer.EndDoc();
            else
                printer.Abort();
        }
    } catch (...) {
        if (!failure) failure = std::current_exception();
    }
    if (failure) std::rethrow_exception(failure);
    return page - 1;
}

int CountPrinterPages(const TSectionList& document, const TPrintOptions& options) {
    std::unique_ptr<TSectionList> copy = PrintCopy(document);
    TMetaFilePrinter recorder;
    recorder.BeginDoc();
    const TPageGeometry g = CheckedGeometry(recorder.PrinterValues(), options);
    const int pageWidth = recorder.PageWidth(), pageHeight = recorder.PageHeight();
    const int total = LayOut(*copy, recorder.Canvas(), g);
    // Clipped to the page itself: a recording has no edges of its own.
    const Rect clip{0, std::max(0, g.top - 1), std::min(pageWidth, g.left + g.width + 2),
                    std::min(pageHeight, g.top + g.height + 2)};
    PageDrawing drawing{*copy, g, options, g.Logical(clip),
                        g.Logical({0, 0, pageWidth, pageHeight})};
    ProcessPendingMessages();
    bool stopped = false;
    int previousBottom = 0;
    for (int page = 1; !stopped; ++page) {
        previousBottom = drawing.Draw(recorder.Canvas(), page, previousBottom, false, stopped);
        ProcessPendingMessages();
        if (total <= previousBottom) stopped = true;
        if (!stopped) recorder.NewPage();
    }
    recorder.EndDoc();
    return recorder.PageCount();
}
