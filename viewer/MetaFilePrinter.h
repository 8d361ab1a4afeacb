#pragma once
// TMetaFilePrinter: prints into page recordings instead of a printer, measuring and
// answering as the selected printer would, so the pages of a print can be counted
// (or looked at) without anything reaching paper.

#include <functional>
#include <memory>
#include <vector>

#include "platform/Printers.h"
#include "viewer/ForwardingCanvas.h"

class TMetaFilePrinter;

enum class TUnits { unInches, unCentimeters };

// Raised after each new page with the number of pages so far.
using TMetaPageEvent =
    std::function<void(TMetaFilePrinter* sender, int numPage, bool& stopPrinting)>;

class TMetaFilePrinter {
  public:
    TMetaFilePrinter();
    ~TMetaFilePrinter();
    TMetaFilePrinter(const TMetaFilePrinter&) = delete;
    TMetaFilePrinter& operator=(const TMetaFilePrinter&) = delete;

    TUnits Units = TUnits::unInches;
    // 1.0 for inches, 2.54 for centimetres.
    double UnitFactor() const { return Units == TUnits::unCentimeters ? 2.54 : 1.0; }
    TMetaPageEvent OnPageEvent;

    // Forgets earlier recordings, takes the printer's values and starts the first page.
    // Fails when the system has no printer at all.
    void BeginDoc();
    void NewPage();
    void EndDoc();
    // The current page's canvas; asking for it counts the page as used.
    TForwardingCanvas& Canvas();
    int PageCount() const { return static_cast<int>(pages_.size()); }
    const platform::PageRecording& Page(int index) const {
        return *pages_.at(static_cast<std::size_t>(index));
    }
    bool Printing() const { return printing_; }

    // The printer's values taken at BeginDoc, in device pixels.
    const platform::PrinterPage& PrinterValues() const { return printer_; }
    int PixelsPerInchX() const { return printer_.dpiX; }
    int PixelsPerInchY() const { return printer_.dpiY; }
    int PaperWidth() const { return printer_.physicalWidth; }
    int PaperHeight() const { return printer_.physicalHeight; }
    int OffsetX() const { return printer_.offsetX; }
    int OffsetY() const { return printer_.offsetY; }
    int PageWidth() const { return printer_.printableWidth; }
    int PageHeight() const { return printer_.printableHeight; }

  private:
    class PageCanvas;

    std::vector<std::unique_ptr<platform::PageRecording>> pages_;
    std::unique_ptr<PageCanvas> canvas_;
    std::unique_ptr<platform::PrinterContext> handle_;  // the printer measured against
    platform::PrinterPage printer_;
    bool printing_ = false;
    bool canvasUsed_ = false;
};
