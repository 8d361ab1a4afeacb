#pragma once
// Printing a document page by page, and counting the pages a print would have. The
// document itself decides where each page ends while it is drawn with its printing flag
// on; this is what goes around that: a print copy of the document, the page geometry
// from the printer's values, the margins and the scale, the page loop with its page
// range, the white margin bands, and the header, footer and page events.

#include <functional>
#include <string>

#include "platform/Canvas.h"
#include "platform/Printers.h"

class TSectionList;

// Draws a page's header or footer: the canvas with its origin at the band's corner,
// the page number, the band's width and height in logical units.
using TPageDecoration =
    std::function<void(platform::Canvas& canvas, int numPage, int w, int h, bool& stopPrinting)>;
// Told before the first page (0) and after each page (its number).
using TPageProgress = std::function<void(int numPage, bool& stopPrinting)>;

struct TPrintOptions {
    // Margins in centimetres.
    double marginLeft = 2.0;
    double marginRight = 2.0;
    double marginTop = 2.0;
    double marginBottom = 2.0;
    double scale = 1.0;  // 2.0 prints everything twice as large
    int screenPixelsPerInch = 96;
    std::string title;  // the spooler's name for the job, in the system code page
    TPageDecoration onHeader;
    TPageDecoration onFooter;
    TPageProgress onPage;
};

// Windows' rounding multiply-then-divide: the nearest integer, halves away from zero;
// -1 when c is 0.
int MulDiv(int a, int b, int c);

// Where a page's content goes on the printer's page. Device pixels are counted from
// the corner of the printable part; logical units are screen pixels at scale 1.
struct TPageGeometry {
    int logicalPerInch = 96;  // L
    int dpiX = 600;
    int dpiY = 600;
    int unprintableRight = 0;
    int unprintableBottom = 0;
    int marginLeft = 0;  // the margins in device pixels
    int marginRight = 0;
    int marginTop = 0;
    int marginBottom = 0;
    int left = 0;  // the content's box in device pixels
    int top = 0;
    int width = 0;
    int height = 0;
    int leftL = 0;  // the same in logical units
    int topL = 0;
    int widthL = 0;
    int heightL = 0;
    int pageWidthL = 0;  // the printable part in logical units
    int pageHeightL = 0;

    static TPageGeometry Of(const platform::PrinterPage& page, const TPrintOptions& options);
    // Logical units onto device pixels, with the window origin at that logical point.
    platform::Mapping MappingAt(platform::Point windowOrigin) const;
    // A rectangle of device pixels in logical units, taken outwards to whole units.
    platform::Rect Logical(const platform::Rect& device) const;
};

// Prints pages fromPage to toPage (from 1; a fromPage below 1 prints from the first)
// of a print copy of the document on a printer of its own, which is the current printer
// while the job runs. `stopped` carries a stop asked for before the job. Gives the
// number of the last page reached.
int PrintDocument(const TSectionList& document, const TPrintOptions& options, int fromPage,
                  int toPage, bool stopped = false);

// The number of pages PrintDocument would print of the whole document with the printer
// settings in force, found by printing into page recordings.
int CountPrinterPages(const TSectionList& document, const TPrintOptions& options);
