// Taking the page out of the reader, in the real main window on a copy of the bundled
// collection: the copy dialog to the clipboard and to HTML or text files, printing
// with the print dialog's range, the context menu and its keys.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTest>

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/FocusLabel.h"
#include "app/FormCopiar.h"
#include "app/FormMain.h"
#include "app/FormStatus.h"
#include "app/Look.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/RecordingDialogs.h"
#include "platform/RecordingPrinters.h"
#include "platform/Screen.h"
#include "tests/app/AppTestSupport.h"
#include "viewer/HtmlViewer.h"
#include "viewer/PaintPanel.h"

namespace fs = std::filesystem;

namespace {

constexpr char16_t kCopied[] = u"Texto copiado para a \u00C1rea de Transfer\u00EAncia";
constexpr char16_t kExportFailed[] = u"Erro ao exportar arquivo";

std::string Read(const fs::path& path) {
    return platform::ReadWholeFile(path.string());
}

}  // namespace

class CopyPrintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = apptest::ScratchFolder("vultaria-copy");
        fs::create_directories(folder);
        fs::copy(VULTARIA_COLLECTION, folder / "output", fs::copy_options::recursive);
        environment = std::make_unique<apptest::WindowTestEnvironment>();
        recorded = environment->recorded;
        auto service = std::make_unique<platform::RecordingPrinters>();
        printers = service.get();
        previousPrinters = platform::InstallPrinters(std::move(service));
        main = std::make_unique<app::TformMain>((folder / "output").string(),
                                                std::make_unique<app::TformStatus>());
        copier = std::make_unique<app::TformCopiar>(main.get(), main->viewer);
        main->formCopiar = copier.get();
        main->show();
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
        viewer = main->viewer;
    }
    void TearDown() override {
        copier.reset();
        main.reset();
        platform::InstallPrinters(std::move(previousPrinters));
        environment.reset();
        fs::remove_all(folder);
    }

    std::string Page(const std::string& relative) {
        return (folder / "output" / "dados" / relative).string();
    }
    std::u16string WholeText() {
        const int start = viewer->SelStart(), length = viewer->SelLength();
        viewer->SelectAll();
        const std::u16string text = viewer->SelText();
        viewer->SetSelStart(start);
        viewer->SetSelLength(length);
        return text;
    }
    // OK in the copy dialog, with one of its two choices.
    void CopyTo(bool file) {
        (file ? copier->radioFile : copier->radioClipboard)->setChecked(true);
        copier->labelOKClick();
    }
    void SaveAs(const fs::path& path, int filterIndex) {
        recorded->saveAnswers.push_back(platform::SaveFileChoice{path.string(), filterIndex});
    }
    // The file a text export writes: the whole page in Windows-1252, lines ending CR LF.
    static std::string TextFile(const std::u16string& text) {
        platform::StringList lines;
        lines.setText(platform::FromUtf16(text, platform::CP_ACP));
        return lines.text();
    }
    QPoint WordPoint() {
        // Somewhere in the first paragraphs of the page.
        return QPoint(60, 60);
    }

    fs::path folder;
    std::unique_ptr<apptest::WindowTestEnvironment> environment;
    platform::RecordingDialogs* recorded = nullptr;
    platform::RecordingPrinters* printers = nullptr;
    std::unique_ptr<platform::PrinterService> previousPrinters;
    std::unique_ptr<app::TformMain> main;
    std::unique_ptr<app::TformCopiar> copier;
    THTMLViewer* viewer = nullptr;
};

TEST_F(CopyPrintTest, TheDialogAndItsLook) {
    EXPECT_EQ(copier->windowTitle(), "Copiar para...");
    EXPECT_FALSE(copier->isVisible()) << "made hidden";
    EXPECT_GE(copier->width(), 227);
    EXPECT_LE(copier->width(), 392);
    EXPECT_EQ(copier->height(), 106);
    EXPECT_EQ(copier->minimumHeight(), copier->maximumHeight());
    EXPECT_TRUE(copier->radioClipboard->isChecked());
    EXPECT_EQ(copier->radioClipboard->text(), QString::fromUtf8("Para a área de transferência"));
    EXPECT_EQ(copier->radioCopia->height(), 81);

    main->labelCopiarClick();
    EXPECT_TRUE(copier->isVisible());
    // Every text can be read whole.
    for (QWidget* shown : std::initializer_list<QWidget*>{copier->radioClipboard, copier->radioFile,
                                                          copier->labelCancelar, copier->labelOK})
        EXPECT_GE(shown->width(), shown->sizeHint().width()) << shown->objectName().toStdString();
    copier->resize(300, 106);
    EXPECT_EQ(copier->radioCopia->width(), 300) << "the radio group spans the dialog";
    copier->resize(227, 106);
    EXPECT_EQ(copier->windowModality(), Qt::ApplicationModal);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_NEAR(copier->frameGeometry().center().x(), screen.center().x(), 2);
    copier->radioFile->setChecked(true);
    copier->labelCancelarClick();
    EXPECT_FALSE(copier->isVisible());
    main->labelCopiarClick();
    EXPECT_TRUE(copier->radioFile->isChecked()) << "closing only hides: the choice stays";
    copier->labelCancelarClick();

    // Hover: white and 13 points over a label, the panel colour and 12 points off it.
    copier->labelOKMouseEnter(copier->labelOK);
    EXPECT_EQ(app::TextColor(copier->labelOK), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(copier->labelOK->font().pixelSize(), app::PointsToPixels(13));
    copier->labelOKMouseLeave(copier->labelOK);
    EXPECT_EQ(app::TextColor(copier->labelOK), QColor(0xE1, 0xCE, 0xB9));
    EXPECT_EQ(copier->labelOK->font().pixelSize(), app::PointsToPixels(12));
    EXPECT_EQ(copier->labelCancelar->font().pixelSize(), 16);
    // Lit when the dialog closed, the label opens unlit the next time.
    copier->labelOKMouseEnter(copier->labelOK);
    EXPECT_GE(copier->labelOK->width(), copier->labelOK->sizeHint().width()) << "still readable";
    copier->labelCancelarClick();
    main->labelCopiarClick();
    EXPECT_EQ(app::TextColor(copier->labelOK), QColor(0xE1, 0xCE, 0xB9));
    copier->labelCancelarClick();
}

TEST_F(CopyPrintTest, CopyingWithoutASelectionCopiesThePageAndLeavesNone) {
    viewer->LoadFromFile(Page("literatura/erico_verissimo.htm"));
    const std::u16string whole = WholeText();
    ASSERT_GT(whole.size(), 100u);
    main->labelCopiarClick();
    CopyTo(false);
    ASSERT_EQ(recorded->clipboard.size(), 1u);
    EXPECT_EQ(recorded->clipboard.back(), whole);
    EXPECT_EQ(viewer->SelLength(), 0);
    ASSERT_EQ(recorded->messages.size(), 1u);
    EXPECT_EQ(recorded->messages[0].text, kCopied);
    EXPECT_EQ(recorded->messages[0].caption, u"Vultaria");
    EXPECT_EQ(recorded->messages[0].icon, platform::MessageIcon::Information);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_FALSE(copier->isVisible()) << "the dialog closes";
}

TEST_F(CopyPrintTest, CopyingASelectionCopiesItAndKeepsIt) {
    viewer->LoadFromFile(Page("literatura/erico_verissimo.htm"));
    viewer->SetSelStart(3);
    viewer->SetSelLength(12);
    const std::u16string selected = viewer->SelText();
    ASSERT_EQ(selected.size(), 12u);
    CopyTo(false);
    EXPECT_EQ(recorded->clipboard.back(), selected);
    EXPECT_EQ(viewer->SelStart(), 3);
    EXPECT_EQ(viewer->SelLength(), 12);
}

TEST_F(CopyPrintTest, ExportingTextKeepsABackwardSelection) {
    viewer->LoadFromFile(Page("literatura/erico_verissimo.htm"));
    const std::u16string whole = WholeText();
    // Selected from right to left: the caret is at its start.
    viewer->SetSelStart(40);
    viewer->SetSelLength(-15);
    SaveAs(folder / "bio.txt", 2);
    CopyTo(true);
    EXPECT_EQ(Read(folder / "bio.txt"), TextFile(whole));
    EXPECT_NE(Read(folder / "bio.txt").find("\xC9rico"), std::string::npos) << "Windows-1252";
    EXPECT_EQ(viewer->SelStart(), 40);
    EXPECT_EQ(viewer->SelLength(), -15);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_TRUE(recorded->messages.empty());

    // The dialog was asked with the filter, HTML first; the next one proposes text.
    ASSERT_EQ(recorded->saveRequests.size(), 1u);
    EXPECT_EQ(recorded->saveRequests[0].filter, u"Arquivo HTML|*.html|Arquivo Texto|*.txt");
    EXPECT_EQ(recorded->saveRequests[0].defaultExtension, u"html");
    EXPECT_EQ(recorded->saveRequests[0].filterIndex, 1);
    EXPECT_EQ(recorded->saveRequests[0].initialFile, QDir::homePath().toStdString())
        << "not the program's folder";
    SaveAs(folder / "bio.html", 1);
    CopyTo(true);
    EXPECT_EQ(recorded->saveRequests[1].defaultExtension, u"txt");
    EXPECT_EQ(recorded->saveRequests[1].filterIndex, 2);
    EXPECT_EQ(recorded->saveRequests[1].initialFile, folder.string()) << "where the last went";
    CopyTo(true);  // cancelled
    EXPECT_EQ(recorded->saveRequests[2].defaultExtension, u"html");
    EXPECT_FALSE(copier->isVisible());
}

TEST_F(CopyPrintTest, ExportingHtmlWritesThePageSource) {
    const std::string page = Page("literatura/erico_verissimo.htm");
    viewer->LoadFromFile(page);
    SaveAs(folder / "bio.html", 1);
    CopyTo(true);
    platform::StringList source;
    source.loadFromFile(page);
    EXPECT_EQ(Read(folder / "bio.html"), source.text());

    // A generated page: the search results as the search wrote them.
    main->editSearch->setText("carlos");
    main->labelOKClick();
    ASSERT_EQ(viewer->CurrentFile(), (folder / "output" / "search.html").string());
    SaveAs(folder / "results.html", 1);
    CopyTo(true);
    EXPECT_EQ(Read(folder / "results.html"), Read(folder / "output" / "search.html"));

    // The "not found" text stands for no file: an empty export, over what was there.
    recorded->shellSucceeds = false;
    bool handled = false;
    main->viewerHotSpotClick(viewer, "http://example.invalid/", handled);
    ASSERT_EQ(viewer->CurrentFile(), "");
    SaveAs(folder / "results.html", 1);
    CopyTo(true);
    EXPECT_EQ(Read(folder / "results.html"), "");
}

TEST_F(CopyPrintTest, AFailedExportLeavesTheOldFile) {
    viewer->LoadFromFile(Page("literatura/erico_verissimo.htm"));
    // No such folder.
    SaveAs(folder / "missing" / "bio.html", 1);
    CopyTo(true);
    ASSERT_EQ(recorded->messages.size(), 1u);
    EXPECT_EQ(recorded->messages[0].text, kExportFailed);
    EXPECT_EQ(recorded->messages[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(recorded->messages[0].caption, u"Vultaria");
    EXPECT_TRUE(viewer->isVisible());

    // The disk fills up halfway through: the file that was there stays whole.
    const fs::path target = folder / "bio.txt";
    std::ofstream(target, std::ios::binary) << "the export of last week\r\n";
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    void (*previous)(int) = signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 1000;  // the page's text is longer than that
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    SaveAs(target, 2);
    CopyTo(true);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);
    ASSERT_EQ(recorded->messages.size(), 2u);
    EXPECT_EQ(recorded->messages[1].text, kExportFailed);
    EXPECT_EQ(Read(target), "the export of last week\r\n");
    for (const auto& entry : fs::directory_iterator(folder))
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos)
            << "left behind: " << entry.path();
    // And when there is room, the export replaces it.
    SaveAs(target, 2);
    CopyTo(true);
    EXPECT_EQ(Read(target), TextFile(WholeText()));
}

TEST_F(CopyPrintTest, PrintingAsksForTheRange) {
    viewer->LoadFromFile(Page("literatura/erico_verissimo.htm"));
    viewer->SetPrintScale(4.0);
    const int pages = viewer->NumPrinterPages();
    ASSERT_GE(pages, 3);
    recorded->printAnswers.push_back(platform::PrintChoice{true, 1, 1});
    main->labelImprimirClick();
    ASSERT_EQ(recorded->printRequests.size(), 1u);
    EXPECT_EQ(recorded->printRequests[0].minPage, 1);
    EXPECT_EQ(recorded->printRequests[0].maxPage, pages);
    EXPECT_EQ(recorded->printRequests[0].toPage, pages);
    EXPECT_EQ(recorded->printRequests[0].fromPage, 0) << "no range proposed";
    EXPECT_EQ(recorded->printRequests[0].documentName, u"\u00C9rico Ver\u00EDssimo");
    ASSERT_EQ(printers->jobs.size(), 1u);
    EXPECT_EQ(static_cast<int>(printers->jobs[0].pages.size()), pages);
    EXPECT_EQ(printers->jobs[0].name, "\xC3\x89rico Ver\xC3\xADssimo");

    recorded->printAnswers.push_back(platform::PrintChoice{false, 2, 3});
    main->labelImprimirClick();
    EXPECT_EQ(printers->jobs.back().pages.size(), 2u);

    main->labelImprimirClick();  // cancelled
    EXPECT_EQ(printers->jobs.size(), 2u);
    EXPECT_TRUE(recorded->messages.empty());

    // The printer's errors go to an error box; the dialog is not even shown.
    printers->printers.clear();
    printers->defaultPrinter.clear();
    main->labelImprimirClick();
    ASSERT_EQ(recorded->messages.size(), 1u);
    EXPECT_EQ(recorded->messages[0].text, u"Printer not available");
    EXPECT_EQ(recorded->messages[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(recorded->printRequests.size(), 3u);
}

TEST_F(CopyPrintTest, TheContextMenu) {
    viewer->LoadFromFile(Page("literatura/erico_verissimo.htm"));
    QTest::mouseClick(viewer->PaintPanel(), Qt::RightButton, {}, WordPoint());
    ASSERT_TRUE(main->PopupMenu1->isVisible());
    EXPECT_FALSE(main->Copiar1->isEnabled()) << "nothing selected";
    EXPECT_TRUE(main->SelecionarTudo1->isEnabled());
    EXPECT_EQ(main->Copiar1->text(), "Copiar");
    EXPECT_EQ(main->Copiar1->shortcut(), QKeySequence("Ctrl+C"));
    EXPECT_EQ(main->SelecionarTudo1->text(), "Selecionar Tudo");
    EXPECT_EQ(main->SelecionarTudo1->shortcut(), QKeySequence("Ctrl+A"));
    main->SelecionarTudo1->trigger();
    main->PopupMenu1->hide();
    const std::u16string whole = viewer->SelText();
    EXPECT_GT(whole.size(), 100u);

    QTest::mouseClick(viewer->PaintPanel(), Qt::RightButton, {}, WordPoint());
    ASSERT_TRUE(main->PopupMenu1->isVisible());
    EXPECT_TRUE(main->Copiar1->isEnabled());
    main->Copiar1->trigger();
    main->PopupMenu1->hide();
    ASSERT_EQ(recorded->clipboard.size(), 1u);
    EXPECT_EQ(recorded->clipboard.back(), whole);
    EXPECT_TRUE(recorded->messages.empty()) << "the menu copies without a word";
}

TEST_F(CopyPrintTest, CtrlCAndCtrlAInThePage) {
    viewer->LoadFromFile(Page("literatura/erico_verissimo.htm"));
    const std::u16string whole = WholeText();
    viewer->setFocus();
    ASSERT_TRUE(viewer->hasFocus());
    QTest::keyClick(viewer, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(recorded->clipboard.empty()) << "nothing selected, nothing copied";
    QTest::keyClick(viewer, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(viewer->SelText(), whole);
    QTest::keyClick(viewer, Qt::Key_C, Qt::ControlModifier);
    ASSERT_EQ(recorded->clipboard.size(), 1u);
    EXPECT_EQ(recorded->clipboard.back(), whole);

    // Elsewhere the keys are the focused control's own.
    viewer->SetSelLength(0);
    main->editSearch->setText("erico");
    main->editSearch->setFocus();
    QTest::keyClick(main->editSearch, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(viewer->SelLength(), 0);
    EXPECT_EQ(main->editSearch->selectedText(), "erico");
    QTest::keyClick(main->editSearch, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(recorded->clipboard.size(), 1u);
}

TEST_F(CopyPrintTest, BrowseInAPageAsksForAFileToOpen) {
    const fs::path page = folder / "output" / "dados" / "formulario.htm";
    std::ofstream(page, std::ios::binary) << "<form><input type=file name=foto></form>";
    viewer->LoadFromFile(page.string());
    ASSERT_EQ(viewer->Document().forms.size(), 1u);
    auto& members = viewer->Document().forms[0]->members;
    ASSERT_EQ(members.size(), 2u);  // the edit and its "Browse..." button
    platform::FormControlWindow& edit = *members[0]->control;
    platform::FormControlWindow& browse = *members[1]->control;
    edit.setText(u"/tmp/antes.png");
    recorded->openAnswers.push_back(std::string("/home/leitor/foto.png"));
    browse.onClick();
    EXPECT_EQ(recorded->openRequests, std::vector<std::string>({"/tmp/antes.png"}));
    EXPECT_EQ(edit.text(), u"/home/leitor/foto.png");
    // Cancelled: the edit keeps what it had.
    browse.onClick();
    EXPECT_EQ(recorded->openRequests.size(), 2u);
    EXPECT_EQ(edit.text(), u"/home/leitor/foto.png");
}
