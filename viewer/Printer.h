#pragma once
// TvwPrinter: a print job on the printer the printer settings select: the spooler
// document and its pages, with a canvas (TPrinterCanvas) that measures at any time but
// draws only while a document runs. One TvwPrinter is the program's current printer;
// a print job puts its own in its place for as long as it runs.

#include <memory>
#include <string>

#include "platform/Errors.h"
#include "platform/Printers.h"
#include "viewer/ForwardingCanvas.h"

// Printer calls made out of order, or a printer the system cannot use.
class EPrinter : public platform::Exception {
  public:
    using Exception::Exception;
};

inline constexpr const char* kPrintingInProgress = "Printing in progress";
inline constexpr const char* kNotPrinting = "Printer is not currently printing";
inline constexpr const char* kPrinterNotValid = "Printer selected is not valid";
inline constexpr const char* kPrinterNotAvailable = "Printer not available";

class TvwPrinter;

// The canvas of a TvwPrinter: it works on the printer's context (making one for
// measuring when there is none yet); drawing on it fails while no document runs.
class TPrinterCanvas : public TForwardingCanvas {
  public:
    explicit TPrinterCanvas(TvwPrinter& printer) : printer_(printer) {}

  protected:
    platform::Canvas& Target() const override;
    void BeforeDrawing() override;

  private:
    TvwPrinter& printer_;
};

class TvwPrinter {
  public:
    // No context until the first need for one.
    enum State { kNoContext = 0, kInformation = 1, kDevice = 2 };

    TvwPrinter() = default;
    // A running document is ended first.
    ~TvwPrinter();
    TvwPrinter(const TvwPrinter&) = delete;
    TvwPrinter& operator=(const TvwPrinter&) = delete;

    TPrinterCanvas& Canvas();
    // The spooler's name for the document (in the system code page); only its first 31
    // characters are used.
    std::string Title;
    bool Printing() const { return printing_; }
    bool Aborted() const { return aborted_; }
    // 1 after BeginDoc, one more with each NewPage, 0 after EndDoc.
    int PageNumber() const { return pageNumber_; }

    void BeginDoc();
    void NewPage();
    void EndDoc();
    // The document is dropped at the spooler, then ended.
    void Abort();

    // The printable part of the page in device pixels.
    int PageWidth();
    int PageHeight();
    // Everything the context tells of its page.
    platform::PrinterPage PageValues();

    State state() const { return state_; }
    void SetState(State state);
    // The context, made for measuring when there is none; never null.
    platform::PrinterContext& Handle();
    // Fails unless the printer's printing state is `printing`.
    void CheckPrinting(bool printing) const;

  private:
    std::unique_ptr<TPrinterCanvas> canvas_;
    std::unique_ptr<platform::PrinterContext> context_;
    // A private copy of the settings the context was made from.
    std::unique_ptr<platform::PrinterSettings> deviceMode_;
    State state_ = kNoContext;
    bool printing_ = false;
    bool aborted_ = false;
    int pageNumber_ = 0;
};

// The program's current printer, made when first asked for.
TvwPrinter& CurrentPrinter();
// Makes `printer` the current one (null: one is made when next asked for); gives back
// the one it replaces.
std::unique_ptr<TvwPrinter> SetPrinter(std::unique_ptr<TvwPrinter> printer);

// Pending window messages are handled, but not the user's input: between the pages
// of a print the window keeps painting while nothing can change the page being printed.
void ProcessPendingMessages();
