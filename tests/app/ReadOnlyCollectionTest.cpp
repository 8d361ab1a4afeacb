// The reader on a collection it may not or cannot write to (an installed one, a read-only
// disk): the home page and the search results go to the user's cache folder, and showing,
// searching and following links work as they do on a writable collection.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <set>

#include "app/FormMain.h"
#include "app/FormStatus.h"
#include "app/GeneratedPages.h"
#include "platform/Files.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/ReadOnlyFolder.h"
#include "tests/support/ScopedEnvironment.h"
#include "viewer/HtmlViewer.h"

namespace fs = std::filesystem;
using app::CollectionWrites;

namespace {

std::string Read(const fs::path& path) {
    return platform::ReadWholeFile(path.string());
}

void Write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// Every name under the folder, to see that nothing was added or taken away.
std::set<std::string> Listing(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        names.insert(fs::relative(entry.path(), folder).string());
    return names;
}

// What the user sees of a session: the home page, a search, a hit followed, back twice.
struct Session {
    int homeHeight = 0;
    std::size_t homePictures = 0;
    std::string results;
    int resultsHeight = 0;
    std::string hitPage;
    std::string afterBack;
    std::string afterSecondBack;
};

}  // namespace

class ReadOnlyCollectionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root = apptest::ScratchFolder("vultaria-ro");
        fs::create_directories(root);
        collection = root / "output";
        fs::copy(VULTARIA_COLLECTION, collection, fs::copy_options::recursive);
        cache = root / "cache";
        cacheHome =
            std::make_unique<testsupport::ScopedEnvironment>("XDG_CACHE_HOME", cache.c_str());
    }
    void TearDown() override {
        form.reset();
        cacheHome.reset();
        fs::remove_all(root);
    }

    app::TformMain& Start(const fs::path& folder, CollectionWrites writes) {
        form = std::make_unique<app::TformMain>(folder.string(),
                                                std::make_unique<app::TformStatus>(), writes);
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return *form;
    }
    std::string Current() { return platform::NormalizeSeparators(form->viewer->CurrentFile()); }

    Session Use(const fs::path& folder, CollectionWrites writes) {
        Session seen;
        app::TformMain& main = Start(folder, writes);
        seen.homeHeight = main.viewer->DocHeight();
        seen.homePictures = main.viewer->ImageCache() ? main.viewer->ImageCache()->count() : 0;
        main.editSearch->setFocus();
        main.editSearch->setText("carlos");
        QTest::keyClick(main.editSearch, Qt::Key_Return);
        seen.results = Read(main.GeneratedPagesFolder + "search.html");
        seen.resultsHeight = main.viewer->DocHeight();
        apptest::ClickTextInPage(*main.viewer, u"Carlos Drummond de Andrade");
        seen.hitPage = Current();
        main.imageVoltaClick();
        seen.afterBack = Current();
        main.imageVoltaClick();
        seen.afterSecondBack = Current();
        return seen;
    }

    apptest::WindowTestEnvironment environment;
    platform::RecordingDialogs* recorded = environment.recorded;
    fs::path root, collection, cache;
    std::unique_ptr<testsupport::ScopedEnvironment> cacheHome;
    std::unique_ptr<app::TformMain> form;
};

TEST_F(ReadOnlyCollectionTest, EverythingWorksAsOnAWritableCollection) {
    const fs::path writable = root / "writable";
    fs::copy(collection, writable, fs::copy_options::recursive);
    const Session besides = Use(writable, CollectionWrites::WhenPossible);
    form.reset();
    ASSERT_GT(besides.homePictures, 0u);
    ASSERT_NE(besides.results.find("Carlos Drummond de Andrade"), std::string::npos);
    EXPECT_FALSE(fs::exists(cache)) << "a writable collection leaves the cache alone";

    const std::set<std::string> before = Listing(collection);
    testsupport::ReadOnlyFolder readOnly(collection);
    ASSERT_FALSE(platform::CanCreateFilesIn(collection.string()));
    const Session cached = Use(collection, CollectionWrites::WhenPossible);
    const std::string pages = (cache / "vultaria").string() + "/";
    EXPECT_EQ(form->GeneratedPagesFolder, pages);
    EXPECT_EQ(form->PastaBase, collection.string() + "/") << "the collection stays where it is";
    EXPECT_TRUE(recorded->messages.empty());

    EXPECT_EQ(Read(cache / "vultaria" / "main.css"), Read(collection / "main.css"));
    EXPECT_TRUE(fs::exists(cache / "vultaria" / "principal.txt"));
    EXPECT_EQ(cached.homeHeight, besides.homeHeight);
    EXPECT_EQ(cached.homePictures, besides.homePictures) << "the home page's pictures are found";
    EXPECT_EQ(cached.results, besides.results) << "the same page, byte for byte";
    EXPECT_EQ(cached.resultsHeight, besides.resultsHeight) << "laid out with the same style sheet";
    EXPECT_EQ(cached.hitPage,
              collection.string() + "/dados/literatura/carlos_drummond_de_andrade.htm");
    EXPECT_EQ(cached.afterBack, pages + "search.html");
    EXPECT_EQ(cached.afterSecondBack, pages + "principal.txt");
    EXPECT_EQ(Listing(collection), before) << "nothing was written into the collection";
}

TEST_F(ReadOnlyCollectionTest, TheInstalledCollectionIsNeverWrittenToEvenWhenItCouldBe) {
    const std::set<std::string> before = Listing(collection);
    app::TformMain& main = Start(collection, CollectionWrites::Never);
    EXPECT_EQ(Current(), (cache / "vultaria" / "principal.txt").string());
    main.editSearch->setFocus();
    main.editSearch->setText("jose");
    QTest::keyClick(main.editSearch, Qt::Key_Return);
    EXPECT_EQ(Current(), (cache / "vultaria" / "search.html").string());
    EXPECT_EQ(Listing(collection), before);
}

TEST_F(ReadOnlyCollectionTest, WithoutAnyCacheSettingTheHomeFolderHoldsIt) {
    testsupport::ScopedEnvironment noCache("XDG_CACHE_HOME", nullptr);
    testsupport::ScopedEnvironment home("HOME", (root / "home").c_str());
    Start(collection, CollectionWrites::Never);
    EXPECT_EQ(Current(), (root / "home" / ".cache" / "vultaria" / "principal.txt").string());
    EXPECT_TRUE(fs::exists(root / "home" / ".cache" / "vultaria" / "main.css"));
}

TEST_F(ReadOnlyCollectionTest, ACacheThatCannotBeWrittenIsReportedAtStartUp) {
    fs::create_directories(cache);
    testsupport::ReadOnlyFolder readOnlyCache(cache);
    testsupport::ReadOnlyFolder readOnlyCollection(collection);
    app::TformMain& main = Start(collection, CollectionWrites::WhenPossible);
    ASSERT_EQ(recorded->messages.size(), 1u);
    EXPECT_NE(recorded->messages.front().text.find(u"principal.txt"), std::u16string::npos);
    EXPECT_GT(main.listNomes.count(), 0u) << "the names are there all the same";
    EXPECT_FALSE(fs::exists(cache / "vultaria"));
}

// The cache is set up again on every start, for the collection of that start.
TEST_F(ReadOnlyCollectionTest, TheCacheFollowsTheCollectionOfEachStart) {
    const std::string pages =
        app::PrepareGeneratedPagesFolder(collection.string() + "/", CollectionWrites::Never);
    const fs::path folder = cache / "vultaria";
    ASSERT_EQ(pages, folder.string() + "/");
    EXPECT_TRUE(fs::is_symlink(folder / "dados"));
    EXPECT_EQ(fs::read_symlink(folder / "dados"), collection / "dados");
    EXPECT_TRUE(fs::is_symlink(folder / "creditos.html"));
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(folder / "main.css")))
        << "the style sheet is a copy";
    Write(folder / "notas.txt", "do usuário");

    // Another collection: its own style sheet (here none), its own folders.
    const fs::path other = root / "outra";
    Write(other / "lista_nome.txt", "");
    fs::create_directories(other / "imagens");
    app::PrepareGeneratedPagesFolder(other.string() + "/", CollectionWrites::Never);
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder / "dados")));
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder / "creditos.html")));
    EXPECT_FALSE(fs::exists(folder / "main.css"));
    EXPECT_EQ(fs::read_symlink(folder / "imagens"), other / "imagens");
    EXPECT_EQ(Read(folder / "notas.txt"), "do usuário") << "what the links are not stays";
}
