#include "platform/RecordingPrinters.h"

#include <algorithm>

namespace platform {

namespace {

std::string RectText(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

std::string PointText(const Point& p) {
    return std::to_string(p.x) + "," + std::to_string(p.y);
}

class RecordingContext : public PrinterContext {
  public:
    RecordingContext(RecordingPrinters& service, std::string printer)
        : service_(service), printer_(std::move(printer)), canvas_(service.page.Caps()) {}

    PrinterPage page() const override { return service_.page; }
    Canvas& canvas() override { return canvas_; }

    bool startDocument(const std::string& name) override {
        service_.calls.push_back("start " + name);
        if (service_.refuseDocuments) {
            error = "the recording printer refuses documents";
            return false;
        }
        service_.jobs.push_back({name, printer_, {}, false, false});
        job_ = service_.jobs.size() - 1;
        canvas_.clearLog();
        return true;
    }
    bool newPage() override {
        service_.calls.push_back("new page");
        if (!GoesOn()) return false;
        finishPage();
        return true;
    }
    bool endDocument() override {
        service_.calls.push_back("end");
        if (!GoesOn()) return false;
        finishPage();
        if (job_ < service_.jobs.size()) service_.jobs[job_].ended = true;
        return true;
    }
    void abortDocument() override {
        service_.calls.push_back("abort");
        if (job_ < service_.jobs.size()) {
            service_.jobs[job_].aborted = true;
            service_.jobs[job_].pages.clear();
        }
        job_ = static_cast<std::size_t>(-1);
    }

  private:
    void finishPage() {
        if (job_ >= service_.jobs.size()) return;
        service_.jobs[job_].pages.push_back(canvas_.log());
        canvas_.clearLog();
    }

    RecordingPrinters& service_;
    std::string printer_;
    PrinterRecordingCanvas canvas_;
    std::size_t job_ = static_cast<std::size_t>(-1);
};

class RecordedPage : public PageRecording {
  public:
    explicit RecordedPage(const PrinterPage& page) : canvas_(page.Caps()) {}
    Canvas& canvas() override { return canvas_; }
    void close() override { canvas_.setRecording(false); }

  private:
    PrinterRecordingCanvas canvas_;
};

}  // namespace

void PrinterRecordingCanvas::setMapping(const Mapping& m) {
    RecordingCanvas::setMapping(m);
    record("mapping window " + std::to_string(m.windowExtent.cx) + "x" +
           std::to_string(m.windowExtent.cy) + " viewport " + std::to_string(m.viewportExtent.cx) +
           "x" + std::to_string(m.viewportExtent.cy) + " origin " + PointText(m.windowOrigin));
}

void PrinterRecordingCanvas::intersectClipRect(const Rect& r) {
    RecordingCanvas::intersectClipRect(r);
    record("clip " + RectText(r));
}

void PrinterRecordingCanvas::restore() {
    RecordingCanvas::restore();
    record("restore");
}

RecordingPrinters::RecordingPrinters()
    : printers{"Recording printer"}, defaultPrinter("Recording printer") {
    // A4 at 600 dpi.
    page.dpiX = page.dpiY = 600;
    page.physicalWidth = 4961;
    page.physicalHeight = 7016;
    page.offsetX = page.offsetY = 100;
    page.printableWidth = page.physicalWidth - 200;
    page.printableHeight = page.physicalHeight - 200;
}

std::unique_ptr<PrinterContext> RecordingPrinters::createContext(const PrinterSettings& settings,
                                                                 bool forPrinting) {
    std::string target = settings.outputFile;
    if (target.empty()) {
        target = settings.printerName.empty() ? defaultPrinter : settings.printerName;
        if (target.empty() || std::find(printers.begin(), printers.end(), target) == printers.end())
            return nullptr;
    }
    calls.push_back((forPrinting ? "print " : "measure ") + target);
    return std::make_unique<RecordingContext>(*this, target);
}

std::unique_ptr<PageRecording> RecordingPrinters::recordPage(const PrinterPage& recorded) {
    calls.push_back("record page");
    return std::make_unique<RecordedPage>(recorded);
}

int RecordingPrinters::PagesPrinted() const {
    int pages = 0;
    for (const Job& job : jobs)
        if (job.ended && !job.aborted) pages += static_cast<int>(job.pages.size());
    return pages;
}

}  // namespace platform
