#pragma once
// A folder of the running test's own under the temporary folder, named after the
// process and the test so that runs side by side never share one.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

// "<temp>/<prefix>-<process>-<test>", not there yet.
inline std::filesystem::path ScratchFolder(const std::string& prefix) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        (prefix + "-" + std::to_string(::getpid()) + "-" + (test ? test->name() : "suite"));
    std::filesystem::remove_all(folder);
    return folder;
}
