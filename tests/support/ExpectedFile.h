#pragma once
// Text outputs (layout dumps, drawing logs) checked against files kept beside the
// tests. VULTARIA_REGENERATE=1 rewrites the files instead: review the diff before
// committing it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

// Compares `actual` with tests/RELATIVE (e.g. "layout/expected/blocks.txt").
inline void ExpectMatchesTestFile(const std::string& actual, const std::string& relative) {
    const std::string path = std::string(VULTARIA_TEST_DATA) + "/" + relative;
    if (std::getenv("VULTARIA_REGENERATE")) {
        std::ofstream(path, std::ios::binary) << actual;
        return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << "missing " << path << " (run with VULTARIA_REGENERATE=1)";
    std::stringstream expected;
    expected << in.rdbuf();
    EXPECT_EQ(expected.str(), actual) << "differs from " << path;
}
