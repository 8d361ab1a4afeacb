// Printing through a real spooler: a private cupsd with a PDF queue as the default
// printer (tests/viewer/spooler.sh), a bundled biography printed with Print, and the
// PDF the queue writes has exactly the pages NumPrinterPages counted. Where the
// spooler cannot start here, the test says why and is skipped.

#include <gtest/gtest.h>

#include <QProcess>
#include <QThread>

#include <pwd.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "platform/Files.h"
#include "platform/Printers.h"
#include "platform/RecordingDialogs.h"
#include "platform/qt/QtPrinters.h"
#include "platform/qt/QtScreen.h"
#include "tests/viewer/PrintedPdf.h"
#include "viewer/HtmlViewer.h"

namespace fs = std::filesystem;

namespace {

const std::string kScript = std::string(VULTARIA_SOURCE) + "/tests/viewer/spooler.sh";

// Where cups-pdf writes for the user who prints: its "Out" setting with ${HOME} and
// ${USER} filled in.
fs::path QueueOutput() {
    std::string out = "/var/spool/cups-pdf/${USER}";
    std::ifstream config("/etc/cups/cups-pdf.conf");
    for (std::string line; std::getline(config, line);)
        if (line.rfind("Out ", 0) == 0) out = line.substr(4);
    const passwd* user = getpwuid(geteuid());
    auto fill = [&](const std::string& key, const std::string& value) {
        for (auto at = out.find(key); at != std::string::npos; at = out.find(key))
            out.replace(at, key.size(), value);
    };
    fill("${HOME}", user ? user->pw_dir : "");
    fill("${USER}", user ? user->pw_name : "");
    return out;
}

std::map<fs::path, fs::file_time_type> PdfsIn(const fs::path& folder) {
    std::map<fs::path, fs::file_time_type> found;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(folder, ignored))
        if (entry.path().extension() == ".pdf") found[entry.path()] = entry.last_write_time();
    return found;
}

std::string RunCommand(const QStringList& command, int& exitCode) {
    QProcess process;
    process.start(command.front(), command.mid(1));
    process.waitForFinished(60000);
    exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return (process.readAllStandardOutput() + process.readAllStandardError()).toStdString();
}

}  // namespace

TEST(Spooler, ABiographyPrintsThroughCups) {
    const fs::path spool =
        fs::temp_directory_path() / ("vultaria-spooler-" + std::to_string(::getpid()));
    // Job numbers of their own, so this run's job can be told from any other's.
    const std::string firstJob = std::to_string(100000 + ::getpid() % 800000);
    int code = 0;
    const std::string started =
        RunCommand({"/bin/bash", QString::fromStdString(kScript), "start",
                    QString::fromStdString(spool.string()), QString::fromStdString(firstJob)},
                   code);
    if (code != 0) GTEST_SKIP() << "no spooler to print through: " << started;
    struct Stop {
        fs::path spool;
        ~Stop() {
            int ignored = 0;
            RunCommand({"/bin/bash", QString::fromStdString(kScript), "stop",
                        QString::fromStdString(spool.string())},
                       ignored);
        }
    } stop{spool};
    const std::string socket = (spool / "cups.sock").string();
    setenv("CUPS_SERVER", socket.c_str(), 1);

    auto previousScreen = platform::InstallScreen(std::make_unique<platform::QtScreen>());
    auto previousDialogs = platform::InstallDialogs(std::make_unique<platform::RecordingDialogs>());
    auto previousPrinters = platform::InstallPrinters(std::make_unique<platform::QtPrinters>());
    platform::PrinterService& printers = platform::Printers();
    EXPECT_EQ(printers.printerNames(), std::vector<std::string>{"VultariaPDF"});
    EXPECT_EQ(printers.defaultPrinterName(), "VultariaPDF");

    const fs::path output = QueueOutput();
    const auto before = PdfsIn(output);
    const auto asked = fs::file_time_type::clock::now();
    {
        THTMLViewer viewer;
        viewer.resize(800, 600);
        viewer.LoadFromFile(std::string(VULTARIA_COLLECTION) +
                            "/dados/literatura/erico_verissimo.htm");
        viewer.SetPrintScale(4.0);
        const int pages = viewer.NumPrinterPages();
        ASSERT_GE(pages, 3);
        viewer.Print(0, pages);

        // The queue finishes the job (filters and the PDF backend run after the spooler
        // took it), then its file is there.
        const std::string job = "VultariaPDF-" + firstJob;
        bool done = false;
        for (int i = 0; i < 600 && !done; ++i) {
            int status = 0;
            done =
                RunCommand({"lpstat", "-W", "completed", "-o", "VultariaPDF"}, status).find(job) !=
                std::string::npos;
            if (!done) QThread::msleep(200);
        }
        ASSERT_TRUE(done) << "the queue did not finish " << job << ": "
                          << platform::ReadWholeFile((spool / "log" / "error_log").string());
        fs::path written;
        for (const auto& [path, time] : PdfsIn(output)) {
            const auto old = before.find(path);
            if ((old == before.end() || old->second != time) &&
                time >= asked - std::chrono::seconds(2))
                written = path;
        }
        ASSERT_FALSE(written.empty()) << "no new PDF in " << output;
        EXPECT_EQ(ReadPdfInfo(written.string()).pages, pages) << written;
        std::error_code ignored;
        fs::remove(written, ignored);
    }
    platform::InstallPrinters(std::move(previousPrinters));
    platform::InstallDialogs(std::move(previousDialogs));
    platform::InstallScreen(std::move(previousScreen));
    unsetenv("CUPS_SERVER");
}
