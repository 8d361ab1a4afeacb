#include "viewer/MetaFilePrinter.h"

#include "platform/Screen.h"
#include "viewer/Printer.h"

// Draws on the page being recorded.
class TMetaFilePrinter::PageCanvas : public TForwardingCanvas {
  public:
    explicit PageCanvas(TMetaFilePrinter& owner) : owner_(owner) {}

  protected:
    platform::Canvas& Target() const override {
        if (owner_.pages_.empty()) throw EPrinter(kNotPrinting);
        return owner_.pages_.back()->canvas();
    }

  private:
    TMetaFilePrinter& owner_;
};

TMetaFilePrinter::TMetaFilePrinter() : canvas_(std::make_unique<PageCanvas>(*this)) {}

TMetaFilePrinter::~TMetaFilePrinter() = default;

void TMetaFilePrinter::BeginDoc() {
    platform::PrinterService& printers = platform::Printers();
    if (!printers.anyPrinter()) throw EPrinter(kPrinterNotAvailable);
    handle_ = printers.createContext(printers.settings, false);
    if (!handle_) throw EPrinter(kPrinterNotValid);
    printing_ = true;
    pages_.clear();
    printer_ = handle_->page();
    NewPage();
}

void TMetaFilePrinter::NewPage() {
    std::unique_ptr<platform::PageRecording> page = platform::Printers().recordPage(printer_);
    platform::Canvas& canvas = page->canvas();
    // The whole sheet, also the strips the printer cannot reach, starts white.
    canvas.fillRect(
        {-printer_.offsetX, -printer_.offsetY, printer_.physicalWidth - printer_.offsetX,
         printer_.physicalHeight - printer_.offsetY},
        0x00FFFFFF);
    if (!pages_.empty()) pages_.back()->close();
    pages_.push_back(std::move(page));
    canvas_->Refresh();
    if (pages_.size() == 1) {
        // Arial 10 points at the screen's resolution, drawn over what is there.
        const int pixelsPerInch = platform::CurrentPixelsPerInch();
        canvas_->setFont({"Arial", -(10 * pixelsPerInch + 36) / 72});
        canvas_->setBrush({0x00FFFFFF, platform::BrushStyle::Clear});
    }
    canvasUsed_ = false;
    bool stop = false;
    if (OnPageEvent) OnPageEvent(this, PageCount(), stop);
}

TForwardingCanvas& TMetaFilePrinter::Canvas() {
    canvasUsed_ = true;
    return *canvas_;
}

void TMetaFilePrinter::EndDoc() {
    printing_ = false;
    if (pages_.empty()) return;
    pages_.back()->close();
    if (!canvasUsed_) pages_.pop_back();
}
