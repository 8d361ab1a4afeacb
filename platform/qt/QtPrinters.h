#pragma once
// The printers of the desktop: the CUPS queues Qt knows, with a PDF file standing in
// when there is none. A print is always drawn into a PDF first, laid out on the
// selected printer's paper and resolution: at its end the PDF is handed to the CUPS
// queue, or renamed over the file the user chose; a print that is aborted leaves
// nothing behind and sends nothing. Page recordings keep what was drawn where, measured
// as the printer measures.

#include "platform/Printers.h"

class QPrinter;

namespace platform {

class QtPrinters : public PrinterService {
  public:
    std::vector<std::string> printerNames() override;
    std::string defaultPrinterName() override;
    // A PDF file can always be written.
    bool anyPrinter() override { return true; }
    std::unique_ptr<PrinterContext> createContext(const PrinterSettings& settings,
                                                  bool forPrinting) override;
    std::unique_ptr<PageRecording> recordPage(const PrinterPage& page) override;
};

// Sets a printer up as the settings say (the printer, or a PDF file; paper, copies,
// sides, colour), its page reaching the edges of what the printer can print. False
// when the settings name a printer that is not installed.
bool ConfigurePrinter(QPrinter& printer, const PrinterSettings& settings);
// The settings a printer was left with (by a print dialog).
PrinterSettings SettingsOf(const QPrinter& printer);

}  // namespace platform
