// Each page in symbols/ is read and its symbol stream compared with NAME.expected.
// VULTARIA_REGENERATE=1 writes the listings instead; review the diff before committing.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "html/SymbolDump.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

SymbolDumpOptions OptionsFor(const std::string& name) {
    SymbolDumpOptions options;
    if (name == "includes") {
        options.includes = {
            {"header", "<B>Head</B>"},
            {"nested", "[<!--#include file=\"header\"-->]"},
            {"DATE", "today"},
        };
    }
    return options;
}

}  // namespace

TEST(SymbolStream, PagesGiveTheExpectedSymbols) {
    const fs::path folder = fs::path(VULTARIA_TEST_DATA) / "html" / "symbols";
    const bool regenerate = std::getenv("VULTARIA_REGENERATE") != nullptr;
    int pages = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".html") continue;
        ++pages;
        const std::string name = entry.path().stem().string();
        SCOPED_TRACE(name);
        const std::string actual = DumpSymbols(ReadFile(entry.path()), OptionsFor(name));
        fs::path expectedPath = entry.path();
        expectedPath.replace_extension(".expected");
        if (regenerate) {
            std::ofstream(expectedPath, std::ios::binary) << actual;
            continue;
        }
        ASSERT_TRUE(fs::exists(expectedPath)) << "no " << expectedPath;
        EXPECT_EQ(ReadFile(expectedPath), actual);
    }
    EXPECT_GE(pages, 10);
}
