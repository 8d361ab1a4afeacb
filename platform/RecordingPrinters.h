#pragma once
// A printer service for tests and tools: printers that exist only as names, contexts
// that draw on recording canvases (box fonts, a text log per page), and a record of
// every spooler call, so printing can be checked as text without paper.

#include <memory>
#include <string>
#include <vector>

#include "platform/Printers.h"
#include "platform/RecordingCanvas.h"

namespace platform {

// A recording canvas that also logs the mapping and clipping calls, as "mapping" and
// "clip" lines between the drawing.
class PrinterRecordingCanvas : public RecordingCanvas {
  public:
    explicit PrinterRecordingCanvas(const DeviceCaps& caps) : RecordingCanvas(caps) {}
    void setMapping(const Mapping& mapping) override;
    void intersectClipRect(const Rect& r) override;
    void restore() override;
};

class RecordingPrinters : public PrinterService {
  public:
    // One printer, "Recording printer", the default: A4 at 600 dpi with strips of 100
    // pixels it cannot reach on every side.
    RecordingPrinters();

    // A document as the spooler received it.
    struct Job {
        std::string name;
        std::string printer;                          // or the output file
        std::vector<std::vector<std::string>> pages;  // each page's drawing log
        bool ended = false;
        bool aborted = false;
    };

    std::vector<std::string> printers;
    std::string defaultPrinter;
    bool pdfWhenNoPrinter = false;  // anyPrinter() with no printer installed
    PrinterPage page;
    bool refuseDocuments = false;  // startDocument fails
    // Every call, in order: "measure <printer>", "print <printer>" (contexts made),
    // "start <name>", "new page", "end", "abort", "record page".
    std::vector<std::string> calls;
    std::vector<Job> jobs;

    std::vector<std::string> printerNames() override { return printers; }
    std::string defaultPrinterName() override { return defaultPrinter; }
    bool anyPrinter() override { return !printers.empty() || pdfWhenNoPrinter; }
    std::unique_ptr<PrinterContext> createContext(const PrinterSettings& settings,
                                                  bool forPrinting) override;
    std::unique_ptr<PageRecording> recordPage(const PrinterPage& page) override;

    // The pages started in all documents that went to the printer.
    int PagesPrinted() const;
};

}  // namespace platform
