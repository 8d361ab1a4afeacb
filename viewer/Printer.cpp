#include "viewer/Printer.h"

#include <QCoreApplication>

#include "platform/CodePage.h"

namespace {

std::unique_ptr<TvwPrinter>& Current() {
    static std::unique_ptr<TvwPrinter> printer;
    return printer;
}

// The first 31 characters of a title in the system code page, as UTF-8.
std::string SpoolerName(const std::string& title) {
    std::u16string wide = platform::Ansi(title);
    if (wide.size() > 31) {
        std::size_t keep = 31;
        // A character outside the basic plane is kept whole or not at all.
        if (wide[keep - 1] >= 0xD800 && wide[keep - 1] <= 0xDBFF) --keep;
        wide.resize(keep);
    }
    return platform::Utf16ToUtf8(wide);
}

}  // namespace

void ProcessPendingMessages() {
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

TvwPrinter& CurrentPrinter() {
    auto& printer = Current();
    if (!printer) printer = std::make_unique<TvwPrinter>();
    return *printer;
}

std::unique_ptr<TvwPrinter> SetPrinter(std::unique_ptr<TvwPrinter> printer) {
    auto previous = std::move(Current());
    Current() = std::move(printer);
    return previous;
}

platform::Canvas& TPrinterCanvas::Target() const {
    return printer_.Handle().canvas();
}

void TPrinterCanvas::BeforeDrawing() {
    printer_.CheckPrinting(true);
}

TvwPrinter::~TvwPrinter() {
    try {
        if (printing_) EndDoc();
    } catch (const std::exception&) {
        // A job that cannot be finished while its printer goes is lost either way.
    }
    printing_ = false;
    SetState(kNoContext);
}

TPrinterCanvas& TvwPrinter::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<TPrinterCanvas>(*this);
    return *canvas_;
}

void TvwPrinter::CheckPrinting(bool printing) const {
    if (printing_ == printing) return;
    throw EPrinter(printing ? kNotPrinting : kPrintingInProgress);
}

platform::PrinterContext& TvwPrinter::Handle() {
    if (!context_) SetState(kInformation);
    return *context_;
}

void TvwPrinter::SetState(State state) {
    if (state == kNoContext) {
        CheckPrinting(false);
        context_.reset();
        state_ = kNoContext;
        return;
    }
    if (state == kInformation && state_ == kDevice && context_) return;
    context_.reset();
    state_ = kNoContext;
    deviceMode_ = std::make_unique<platform::PrinterSettings>(platform::Printers().settings);
    context_ = platform::Printers().createContext(*deviceMode_, state == kDevice);
    if (!context_) {
        deviceMode_.reset();
        throw EPrinter(kPrinterNotValid);
    }
    state_ = state;
    if (canvas_) canvas_->Refresh();
}

void TvwPrinter::BeginDoc() {
    CheckPrinting(false);
    SetState(kDevice);
    Canvas().Refresh();
    printing_ = true;
    aborted_ = false;
    pageNumber_ = 1;
    // The spooler asks between pages whether to go on: the window keeps painting, and
    // a job whose printer was aborted is dropped.
    context_->keepGoing = [] {
        ProcessPendingMessages();
        const TvwPrinter* current = Current().get();
        return !(current && current->Aborted());
    };
    if (!context_->startDocument(SpoolerName(Title))) {
        printing_ = false;
        pageNumber_ = 0;
        const std::string reason = context_->error;
        throw EPrinter(reason.empty() ? kPrinterNotValid : reason);
    }
    Canvas().Refresh();
}

void TvwPrinter::NewPage() {
    CheckPrinting(true);
    if (!context_->newPage()) {
        const std::string reason = context_->error;
        printing_ = false;
        pageNumber_ = 0;
        throw EPrinter(reason.empty() ? kPrinterNotValid : reason);
    }
    ++pageNumber_;
    Canvas().Refresh();
}

void TvwPrinter::EndDoc() {
    CheckPrinting(true);
    const bool ended = aborted_ || context_->endDocument();
    const std::string reason = ended ? std::string() : context_->error;
    printing_ = false;
    aborted_ = false;
    pageNumber_ = 0;
    deviceMode_.reset();
    // A document the spooler did not take is not a print that succeeded.
    if (!ended) throw EPrinter(reason.empty() ? kPrinterNotValid : reason);
}

void TvwPrinter::Abort() {
    CheckPrinting(true);
    context_->abortDocument();
    aborted_ = true;
    EndDoc();
}

int TvwPrinter::PageWidth() {
    return Handle().page().printableWidth;
}

int TvwPrinter::PageHeight() {
    return Handle().page().printableHeight;
}

platform::PrinterPage TvwPrinter::PageValues() {
    return Handle().page();
}
