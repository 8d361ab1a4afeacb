// Printing the page shown and counting the pages a print would have: the viewer's
// margins, scale, title and events handed to the page loop.

#include "platform/ScopedCount.h"
#include "platform/Screen.h"
#include "viewer/HtmlViewer.h"
#include "viewer/Pagination.h"

namespace {

TPrintOptions OptionsOf(THTMLViewer& viewer) {
    TPrintOptions options;
    options.marginLeft = viewer.PrintMarginLeft;
    options.marginRight = viewer.PrintMarginRight;
    options.marginTop = viewer.PrintMarginTop;
    options.marginBottom = viewer.PrintMarginBottom;
    options.scale = viewer.PrintScale();
    options.screenPixelsPerInch = platform::CurrentPixelsPerInch();
    options.title = viewer.PageTitle();
    THTMLViewer* sender = &viewer;
    if (viewer.OnPrintHeader)
        options.onHeader = [sender](platform::Canvas& canvas, int page, int w, int h, bool& stop) {
            sender->OnPrintHeader(sender, canvas, page, w, h, stop);
        };
    if (viewer.OnPrintFooter)
        options.onFooter = [sender](platform::Canvas& canvas, int page, int w, int h, bool& stop) {
            sender->OnPrintFooter(sender, canvas, page, w, h, stop);
        };
    return options;
}

// Holds the page shown while it is printed: loads asked for meanwhile (from a posted
// follow-link or form, or a page event's handler) are refused.
using PrintingScope = platform::ScopedCount;

}  // namespace

void THTMLViewer::Print(int FromPage, int ToPage) {
    bool stop = false;
    if (OnPrintPage) OnPrintPage(this, 0, stop);
    if (busy_ || document_->Count() == 0) return;
    TPrintOptions options = OptionsOf(*this);
    if (OnPrintPage)
        options.onPage = [this](int page, bool& stopPrinting) {
            OnPrintPage(this, page, stopPrinting);
        };
    const PrintingScope printing(printing_);
    PrintDocument(*document_, options, FromPage, ToPage, stop);
}

int THTMLViewer::NumPrinterPages() {
    const PrintingScope printing(printing_);
    return CountPrinterPages(*document_, OptionsOf(*this));
}
