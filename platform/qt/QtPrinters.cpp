#include "platform/qt/QtPrinters.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <system_error>

#include "platform/MetafileCanvas.h"
#include "platform/qt/QtCanvas.h"

namespace platform {

namespace {

QString Q(const std::string& text) {
    return QString::fromUtf8(text.c_str());
}

// The queue a print with these settings goes to; empty for a PDF file.
QString QueueOf(const PrinterSettings& settings) {
    if (!settings.outputFile.empty()) return {};
    if (!settings.printerName.empty()) return Q(settings.printerName);
    return QPrinterInfo::defaultPrinterName();
}

PrinterPage PageOf(QPrinter& printer) {
    PrinterPage page;
    page.dpiX = printer.logicalDpiX();
    page.dpiY = printer.logicalDpiY();
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const QRectF printable = printer.pageRect(QPrinter::DevicePixel);
    page.physicalWidth = qRound(paper.width());
    page.physicalHeight = qRound(paper.height());
    page.printableWidth = printer.width();
    page.printableHeight = printer.height();
    page.offsetX = qRound(printable.left() - paper.left());
    page.offsetY = qRound(printable.top() - paper.top());
    if (printer.colorMode() == QPrinter::GrayScale) {
        page.bitsPerPixel = 8;
        page.numColors = 256;
    }
    return page;
}

// CUPS is reached through the library Qt's own printing loads, so building needs no
// CUPS headers. Only the two calls below are used; their interface has been stable
// for as long as the library has had its version 2 name.
struct CupsOption {
    char* name;
    char* value;
};

// Hands a PDF file to a queue; an empty string when the queue took it, else why not.
std::string SendToQueue(const QString& queue, const QString& file, const std::string& title,
                        const PrinterSettings& settings) {
    using PrintFile = int (*)(const char*, const char*, const char*, int, CupsOption*);
    using LastError = const char* (*)();
    static void* library = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!library) return "CUPS não está instalado";
    const auto printFile = reinterpret_cast<PrintFile>(dlsym(library, "cupsPrintFile"));
    const auto lastError = reinterpret_cast<LastError>(dlsym(library, "cupsLastErrorString"));
    if (!printFile) return "CUPS não está instalado";
    std::vector<std::pair<std::string, std::string>> pairs;
    if (settings.copies > 1) pairs.emplace_back("copies", std::to_string(settings.copies));
    if (settings.duplex) pairs.emplace_back("sides", "two-sided-long-edge");
    if (settings.grayscale) pairs.emplace_back("print-color-mode", "monochrome");
    std::vector<CupsOption> options;
    for (auto& [name, value] : pairs) options.push_back({name.data(), value.data()});
    const QByteArray queueName = queue.toUtf8();
    const QByteArray fileName = QFile::encodeName(file);
    if (printFile(queueName.constData(), fileName.constData(), title.c_str(),
                  static_cast<int>(options.size()), options.data()) > 0)
        return {};
    const char* reason = lastError ? lastError() : nullptr;
    return reason && *reason ? reason : "a fila recusou o documento";
}

std::string FileError(const std::string& path, const std::string& reason) {
    return "Não foi possível gravar o arquivo \"" + path + "\". " + reason;
}

// A context on a queue or a PDF file. Measuring uses the printer's own paper and
// resolution; printing draws a PDF with the same page into a temporary file, which
// only becomes the output (or goes to the queue) when the document ends.
class QtPrinterContext : public PrinterContext {
  public:
    QtPrinterContext(const PrinterSettings& settings, QString queue)
        : settings_(settings), queue_(std::move(queue)), printer_(QPrinter::HighResolution) {
        ConfigurePrinter(printer_, settings_);
        page_ = PageOf(printer_);
        layout_ = printer_.pageLayout();
        resolution_ = printer_.resolution();
        measuring_.setDeviceCaps(page_.Caps());
    }
    ~QtPrinterContext() override {
        if (painting_) abortDocument();
    }

    PrinterPage page() const override { return page_; }
    Canvas& canvas() override {
        return painting_ ? static_cast<Canvas&>(*painting_) : static_cast<Canvas&>(measuring_);
    }

    bool startDocument(const std::string& name) override {
        if (painting_) return false;
        title_ = name;
        temporary_ = TemporaryName();
        printer_.setOutputFormat(QPrinter::PdfFormat);
        printer_.setOutputFileName(temporary_);
        printer_.setResolution(resolution_);
        printer_.setPageLayout(layout_);
        printer_.setFullPage(false);
        printer_.setCopyCount(1);  // copies are the queue's business
        printer_.setDocName(Q(name));
        painting_ = std::make_unique<QtCanvas>(&printer_);
        if (!painting_->isActive()) {
            painting_.reset();
            QFile::remove(temporary_);
            error = settings_.outputFile.empty()
                        ? std::string("Não foi possível preparar a impressão.")
                        : FileError(settings_.outputFile, "A pasta não aceita o arquivo.");
            return false;
        }
        painting_->setDeviceCaps(page_.Caps());
        return true;
    }

    bool newPage() override {
        if (!painting_) return false;
        if (!GoesOn()) return false;
        return printer_.newPage();
    }

    bool endDocument() override {
        if (!painting_) return false;
        if (!GoesOn()) return false;
        const bool written = painting_->finish();
        painting_.reset();
        if (!written) {
            QFile::remove(temporary_);
            error = settings_.outputFile.empty()
                        ? std::string("Não foi possível preparar a impressão.")
                        : FileError(settings_.outputFile, "A gravação falhou.");
            return false;
        }
        if (queue_.isEmpty()) {
            std::error_code failed;
            std::filesystem::rename(QFile::encodeName(temporary_).toStdString(),
                                    settings_.outputFile, failed);
            if (!failed) return true;
            QFile::remove(temporary_);
            error = FileError(settings_.outputFile, failed.message());
            return false;
        }
        const std::string refused = SendToQueue(queue_, temporary_, title_, settings_);
        QFile::remove(temporary_);
        if (refused.empty()) return true;
        error = "Não foi possível imprimir em " + queue_.toStdString() + ": " + refused;
        return false;
    }

    void abortDocument() override {
        if (!painting_) return;
        printer_.abort();
        painting_->finish();
        painting_.reset();
        QFile::remove(temporary_);
    }

  private:
    // Beside the output file, so that becoming it is a rename within one folder; for a
    // queue, in the temporary folder.
    QString TemporaryName() const {
        static std::atomic<int> serial{0};
        const QString suffix = QString(".tmp-%1-%2").arg(::getpid()).arg(++serial);
        if (!settings_.outputFile.empty()) return Q(settings_.outputFile) + suffix;
        return QDir::temp().filePath("vultaria-print" + suffix + ".pdf");
    }

    PrinterSettings settings_;
    QString queue_;
    QPrinter printer_;
    PrinterPage page_;
    QPageLayout layout_;
    int resolution_ = 600;
    QtCanvas measuring_{nullptr};
    std::unique_ptr<QtCanvas> painting_;
    std::string title_;
    QString temporary_;
};

// A page of the printer recorded as a list of what was drawn on it, measured as the
// printer measures.
class QtRecordedPage : public PageRecording {
  public:
    explicit QtRecordedPage(const PrinterPage& page)
        : canvas_(std::make_unique<QtCanvas>(nullptr), page.Caps()) {}
    Canvas& canvas() override { return canvas_; }
    void close() override { canvas_.close(); }

  private:
    MetafileCanvas canvas_;
};

}  // namespace

bool ConfigurePrinter(QPrinter& printer, const PrinterSettings& settings) {
    const QString queue = QueueOf(settings);
    if (!queue.isEmpty()) {
        if (!QPrinterInfo::availablePrinterNames().contains(queue)) return false;
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(queue);
    } else {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(Q(settings.outputFile));
    }
    if (settings.paperWidthMm > 0 && settings.paperHeightMm > 0)
        printer.setPageSize(QPageSize(QSizeF(settings.paperWidthMm, settings.paperHeightMm),
                                      QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch));
    printer.setPageOrientation(settings.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setCopyCount(std::max(1, settings.copies));
    printer.setDuplex(settings.duplex ? QPrinter::DuplexLongSide : QPrinter::DuplexNone);
    printer.setColorMode(settings.grayscale ? QPrinter::GrayScale : QPrinter::Color);
    // The page's origin is the corner of what the printer can reach, as far out as it can.
    printer.setFullPage(false);
    const QPageLayout layout = printer.pageLayout();
    printer.setPageMargins(layout.minimumMargins(), layout.units());
    return true;
}

PrinterSettings SettingsOf(const QPrinter& printer) {
    PrinterSettings settings;
    if (printer.outputFormat() == QPrinter::PdfFormat)
        settings.outputFile = QFile::encodeName(printer.outputFileName()).toStdString();
    else
        settings.printerName = printer.printerName().toStdString();
    const QSizeF paper = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
    settings.paperWidthMm = paper.width();
    settings.paperHeightMm = paper.height();
    settings.landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    settings.copies = std::max(1, printer.copyCount());
    settings.duplex = printer.duplex() != QPrinter::DuplexNone;
    settings.grayscale = printer.colorMode() == QPrinter::GrayScale;
    return settings;
}

std::vector<std::string> QtPrinters::printerNames() {
    std::vector<std::string> names;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        names.push_back(name.toStdString());
    return names;
}

std::string QtPrinters::defaultPrinterName() {
    return QPrinterInfo::defaultPrinterName().toStdString();
}

std::unique_ptr<PrinterContext> QtPrinters::createContext(const PrinterSettings& settings,
                                                          bool forPrinting) {
    const QString queue = QueueOf(settings);
    if (!queue.isEmpty() && !QPrinterInfo::availablePrinterNames().contains(queue)) return nullptr;
    // With no printer a PDF file stands in, but only a file that was chosen can be written.
    if (queue.isEmpty() && forPrinting && settings.outputFile.empty()) return nullptr;
    return std::make_unique<QtPrinterContext>(settings, queue);
}

std::unique_ptr<PageRecording> QtPrinters::recordPage(const PrinterPage& page) {
    return std::make_unique<QtRecordedPage>(page);
}

}  // namespace platform
