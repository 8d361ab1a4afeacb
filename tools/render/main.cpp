// vultaria-render: the renderer without a window.
//
//   vultaria-render PAGE [--width N] [--png OUT.png] [--pdf OUT.pdf] [--text] [--dump]
//                        [--symbols] [--plain]
//
// Builds PAGE (HTML; plain text with --plain), lays it out at the width (800 by
// default) as the viewer would, and writes what was asked: a PNG of the whole page,
// the page printed into a PDF as the reader prints it (A4, margins of 2 cm, scale 1,
// the same pages), the page text as a select-all copy gives it, the layout dump, or
// the symbols the reader sees in the page (on standard output).

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "html/SymbolDump.h"
#include "platform/Errors.h"
#include "platform/Files.h"
#include "platform/Printers.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtPrinters.h"
#include "platform/qt/QtScreen.h"
#include "tools/render/PageRenderer.h"
#include "viewer/Pagination.h"

namespace {

const char* kUsage =
    "Usage: vultaria-render PAGE [--width N] [--png OUT.png] [--pdf OUT.pdf] [--text] [--dump]\n"
    "                            [--symbols] [--plain]\n"
    "  --width N      layout width in pixels (default 800)\n"
    "  --png FILE     write a picture of the whole page\n"
    "  --pdf FILE     print the page into a PDF file as the reader prints it (A4)\n"
    "  --text         print the page text (as a select-all copy gives it)\n"
    "  --dump         print the layout dump\n"
    "  --symbols      print the symbols the HTML reader sees\n"
    "  --plain        read PAGE as plain text instead of HTML\n"
    "  --version      print the version\n";

int Fail(const std::string& message) {
    std::fprintf(stderr, "vultaria-render: %s\n", message.c_str());
    return 1;
}

// Prints the page as the reader's "Imprimir" prints it into a PDF file.
void PrintToPdf(PageRenderer& renderer, const std::string& file) {
    platform::InstallPrinters(std::make_unique<platform::QtPrinters>());
    platform::PrinterSettings& settings = platform::Printers().settings;
    settings = {};
    settings.outputFile = file;
    settings.paperWidthMm = 210;
    settings.paperHeightMm = 297;
    TPrintOptions options;
    options.screenPixelsPerInch = platform::CurrentPixelsPerInch();
    options.title = renderer.title();
    PrintDocument(renderer.document(), options, 0, 1 << 30);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    std::string page, png, pdf;
    int width = 800;
    bool text = false, dump = false, symbols = false, plain = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--width" && i + 1 < argc) {
            width = std::atoi(argv[++i]);
            if (width <= 0 || width > 100000) return Fail("--width must be between 1 and 100000");
        } else if (arg == "--png" && i + 1 < argc) {
            png = argv[++i];
        } else if (arg == "--pdf" && i + 1 < argc) {
            pdf = argv[++i];
        } else if (arg == "--text") {
            text = true;
        } else if (arg == "--dump") {
            dump = true;
        } else if (arg == "--symbols") {
            symbols = true;
        } else if (arg == "--plain") {
            plain = true;
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (arg == "--version") {
            std::fputs("vultaria-render " VULTARIA_VERSION "\n", stdout);
            return 0;
        } else if (!arg.empty() && arg[0] != '-' && page.empty()) {
            page = arg;
        } else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }
    const bool drawn = !png.empty() || !pdf.empty() || text || dump;
    if (page.empty() || (!drawn && !symbols)) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    if (symbols) {
        try {
            std::fputs(DumpSymbols(platform::ReadWholeFile(page)).c_str(), stdout);
        } catch (const platform::Exception& error) {
            return Fail(error.message());
        }
        if (!drawn) return 0;
    }

    platform::InstallScreen(std::make_unique<platform::QtScreen>());
    platform::QtCanvas measuring(nullptr);
    PageRenderer renderer(measuring);
    try {
        renderer.LoadFile(page, plain);
    } catch (const platform::Exception& error) {
        return Fail(error.message());
    }
    renderer.Layout(width);
    if (dump) std::fputs(renderer.Dump().c_str(), stdout);
    if (text) std::fputs(renderer.Text().c_str(), stdout);
    if (!png.empty()) {
        // One picture of the whole page: past a gigabyte of pixels there is no point
        // in asking for the memory.
        constexpr long long kMaxPictureBytes = 1LL << 30;
        if (4LL * std::max(1, width) * std::max(1, renderer.height()) > kMaxPictureBytes)
            return Fail("the page is too tall for one picture (" +
                        std::to_string(renderer.height()) + " pixels)");
        if (!renderer.Paint().save(QString::fromStdString(png), "PNG"))
            return Fail("could not write " + png);
    }
    if (!pdf.empty()) {
        try {
            PrintToPdf(renderer, pdf);
        } catch (const std::exception& error) {
            return Fail(error.what());
        }
    }
    return 0;
}
