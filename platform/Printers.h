#pragma once
// The system's printers as the renderer sees them: which ones there are, the printer
// settings (which one is selected, with what paper; a print dialog changes them),
// contexts on the selected printer for measuring its page and for printing a document
// page by page, and page recordings that draw like the printer but never reach paper.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace platform {

// What a printer context reports of its page, in device pixels.
struct PrinterPage {
    int dpiX = 600;
    int dpiY = 600;
    int physicalWidth = 0;  // the whole sheet
    int physicalHeight = 0;
    int printableWidth = 0;  // the part the printer can reach
    int printableHeight = 0;
    int offsetX = 0;  // the strips at the left and top it cannot reach
    int offsetY = 0;
    int bitsPerPixel = 24;
    int planes = 1;
    int numColors = -1;  // -1: more than 256

    // The capabilities a canvas on this page reports. Coordinates start at the corner
    // of the printable part.
    DeviceCaps Caps() const {
        return {dpiX, dpiY, bitsPerPixel, planes, numColors, printableWidth, printableHeight};
    }
};

// Where the next print goes, and how.
struct PrinterSettings {
    std::string printerName;  // empty: the system's default printer
    std::string outputFile;   // when set, a PDF file instead of a printer
    double paperWidthMm = 0;  // 0: the printer's own paper
    double paperHeightMm = 0;
    bool landscape = false;
    int copies = 1;
    bool duplex = false;     // both sides of the sheet, turned on the long edge
    bool grayscale = false;  // no colour even on a colour printer
};

// A context on one printer. Until a document starts it only measures; while one runs,
// its canvas draws on the current page, whose origin is the corner of the printable part.
class PrinterContext {
  public:
    virtual ~PrinterContext() = default;
    virtual PrinterPage page() const = 0;
    virtual Canvas& canvas() = 0;
    // Asked between pages and at the end of the document: false tells the spooler to
    // drop the document.
    std::function<bool()> keepGoing;
    // Why the last call that returned false failed, for the user; may be empty.
    std::string error;

    // Starts a spooler document with that name, and its first page; false when the
    // printer refused.
    virtual bool startDocument(const std::string& name) = 0;
    // Ends the current page and starts the next.
    virtual bool newPage() = 0;
    // Ends the last page and the document: it goes to the printer.
    virtual bool endDocument() = 0;
    // Drops the document: nothing of it reaches the printer.
    virtual void abortDocument() = 0;

  protected:
    // Asks keepGoing between pages: false drops the document.
    bool GoesOn() {
        if (!keepGoing || keepGoing()) return true;
        abortDocument();
        return false;
    }
};

// One page drawn into a recording. Closing completes it; the canvas goes with it.
class PageRecording {
  public:
    virtual ~PageRecording() = default;
    virtual Canvas& canvas() = 0;
    virtual void close() = 0;
};

class PrinterService {
  public:
    virtual ~PrinterService() = default;
    // The installed printers, by name, and the system's default ("" when none is).
    virtual std::vector<std::string> printerNames() = 0;
    virtual std::string defaultPrinterName() = 0;
    // Whether a print can go anywhere at all (a PDF file counts when there is no
    // printer).
    virtual bool anyPrinter() = 0;
    // A context on the printer the settings select, for printing or only for
    // measuring; null when the system cannot make one (an unknown printer, say).
    virtual std::unique_ptr<PrinterContext> createContext(const PrinterSettings& settings,
                                                          bool forPrinting) = 0;
    // A page recording that measures and reports itself as a page of this printer.
    virtual std::unique_ptr<PageRecording> recordPage(const PrinterPage& page) = 0;

    // The printer settings in force.
    PrinterSettings settings;
};

// The service in force; never null (until one is installed, a RecordingPrinters with
// one printer and nothing spooled).
PrinterService& Printers();
std::unique_ptr<PrinterService> InstallPrinters(std::unique_ptr<PrinterService> service);

}  // namespace platform
