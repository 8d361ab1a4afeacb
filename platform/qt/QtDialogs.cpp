#include "platform/qt/QtDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

namespace platform {

namespace {

QString Q(const std::u16string& text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

// "Text files|*.txt|HTML|*.htm" -> "Text files (*.txt);;HTML (*.htm)"
QString QtFilter(const std::u16string& filter) {
    const QStringList parts = Q(filter).split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries << parts[i] + " (" + QString(parts[i + 1]).replace(u';', u' ') + ")";
    return entries.join(";;");
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

std::optional<std::string> QtDialogs::saveFile(const SaveFileRequest& request) {
    QFileDialog dialog(QApplication::activeWindow(), Q(request.title),
                       QString::fromUtf8(request.initialFile.c_str()), QtFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(Q(request.defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

std::optional<PrintChoice> QtDialogs::printDialog(const PrintRequest& request) {
    QPrinter printer;
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setMinMax(request.minPage, request.maxPage);
    dialog.setFromTo(request.fromPage, request.toPage);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
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
