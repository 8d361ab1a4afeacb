// Replays the files kept for a fuzz target (its regressions and seeds) through the
// target's entry point: each must run to the end without a crash or a sanitizer
// report.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

TEST(FuzzRegressions, EveryKeptInputRunsClean) {
    namespace fs = std::filesystem;
    int replayed = 0;
    for (const char* folder : {VULTARIA_FUZZ_REGRESSIONS, VULTARIA_FUZZ_SEEDS}) {
        if (!fs::is_directory(folder)) continue;
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (!entry.is_regular_file()) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
            SCOPED_TRACE(entry.path().string());
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            ++replayed;
        }
    }
    // Empty input too: the smallest case a parser must survive.
    LLVMFuzzerTestOneInput(nullptr, 0);
    RecordProperty("replayed", replayed);
}
