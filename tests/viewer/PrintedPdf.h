#pragma once
// Reading back a printed PDF with poppler's tools: its page count and page size, and
// a page rendered to a grey picture to see where ink is.

#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <string>

struct PdfInfo {
    int pages = -1;
    QString pageSize;  // "595 x 842 pts (A4)"
};

inline QString ToolOutput(const QString& tool, const QStringList& arguments) {
    if (QStandardPaths::findExecutable(tool).isEmpty()) {
        ADD_FAILURE() << tool.toStdString()
                      << " is missing (poppler-utils): scripts/install-deps.sh installs it";
        return {};
    }
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(120000);
    EXPECT_EQ(process.exitCode(), 0)
        << tool.toStdString() << ": " << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline PdfInfo ReadPdfInfo(const std::string& path) {
    const QString out = ToolOutput("pdfinfo", {QString::fromStdString(path)});
    PdfInfo info;
    const auto pages =
        QRegularExpression(R"(^Pages:\s+(\d+)$)", QRegularExpression::MultilineOption).match(out);
    if (pages.hasMatch()) info.pages = pages.captured(1).toInt();
    const auto size =
        QRegularExpression(R"(^Page size:\s+(.*)$)", QRegularExpression::MultilineOption)
            .match(out);
    if (size.hasMatch()) info.pageSize = size.captured(1).trimmed();
    return info;
}

// Page `page` (from 1) in grey at `dpi`.
inline QImage RenderPdfPage(const std::string& path, int page, int dpi) {
    QTemporaryDir scratch;
    const QString prefix = scratch.filePath("page");
    ToolOutput("pdftoppm", {"-f", QString::number(page), "-l", QString::number(page), "-r",
                            QString::number(dpi), "-gray", "-singlefile",
                            QString::fromStdString(path), prefix});
    return QImage(prefix + ".pgm").convertToFormat(QImage::Format_Grayscale8);
}

// Pixels darker than light grey within the rectangle.
inline int InkIn(const QImage& image, const QRect& area) {
    int ink = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        const uchar* line = image.constScanLine(y);
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (line[x] < 200) ++ink;
    }
    return ink;
}
