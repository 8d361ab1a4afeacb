#include "platform/qt/QtDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

#include "platform/Printers.h"
#include "platform/qt/QtPrinters.h"

namespace platform {

namespace {

QString Q(const std::u16string& text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

// "Text files|*.txt|HTML|*.htm" -> "Text files (*.txt)", "HTML (*.htm)"
QStringList QtFilters(const std::u16string& filter) {
    const QStringList parts = Q(filter).split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries << parts[i] + " (" + QString(parts[i + 1]).replace(u';', u' ') + ")";
    return entries;
}

}  // namespace

void QtDialogs::messageBox(const std::u16string& caption, const std::u16string& text,
                           MessageIcon icon) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(Q(caption));
    box.setText(Q(text));
    box.setWindowModality(Qt::ApplicationModal);
    switch (icon) {
        case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
        case MessageIcon::Error: box.setIcon(QMessageBox::Critical); break;
        case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    box.exec();
}

std::optional<SaveFileChoice> QtDialogs::saveFile(const SaveFileRequest& request) {
    const QStringList filters = QtFilters(request.filter);
    QFileDialog dialog(QApplication::activeWindow(), Q(request.title),
                       QString::fromUtf8(request.initialFile.c_str()));
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(Q(request.defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    SaveFileChoice choice;
    choice.path = QFile::encodeName(dialog.selectedFiles().front()).toStdString();
    choice.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (choice.filterIndex < 1) choice.filterIndex = 1;
    return choice;
}

std::optional<std::string> QtDialogs::openFile(const std::u16string& title,
                                               const std::string& initialFile) {
    const QString chosen = QFileDialog::getOpenFileName(QApplication::activeWindow(), Q(title),
                                                        QString::fromUtf8(initialFile.c_str()));
    if (chosen.isEmpty()) return std::nullopt;
    return QFile::encodeName(chosen).toStdString();
}

std::optional<PrintChoice> QtDialogs::printDialog(const PrintRequest& request) {
    // The dialog starts from the printer settings and leaves its choices in them.
    QPrinter printer(QPrinter::HighResolution);
    PrinterService& printers = Printers();
    if (!ConfigurePrinter(printer, printers.settings)) ConfigurePrinter(printer, PrinterSettings{});
    const QString name = Q(request.documentName).trimmed();
    printer.setDocName(name);
    if (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty())
        printer.setOutputFileName(
            QDir::home().filePath((name.isEmpty() ? "Vultaria" : name) + ".pdf"));
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(request.minPage, std::max(request.minPage, request.maxPage));
    if (request.fromPage >= 1 && request.fromPage <= request.toPage)
        dialog.setFromTo(request.fromPage, request.toPage);
    else if (request.toPage >= request.minPage)
        dialog.setFromTo(request.minPage, request.toPage);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    printers.settings = SettingsOf(printer);
    PrintChoice choice;
    choice.allPages = dialog.printRange() != QAbstractPrintDialog::PageRange;
    choice.fromPage = dialog.fromPage();
    choice.toPage = dialog.toPage();
    return choice;
}

bool QtDialogs::openWithShell(const std::string& target) {
    const QString text = QString::fromUtf8(target.c_str());
    const QUrl url = QUrl::fromUserInput(text);
    return url.isValid() && QDesktopServices::openUrl(url);
}

void QtDialogs::setClipboardText(const std::u16string& text) {
    QApplication::clipboard()->setText(Q(text));
}

}  // namespace platform
