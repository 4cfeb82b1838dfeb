// The fuzzers' seed corpus, and every case a fuzzer once found, run through
// the fuzzers' own entry points with the ordinary tests.
#include "fuzz_targets.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

int runCorpus(const char* folder, int (*entry)(const std::uint8_t*, std::size_t))
{
    int inputs = 0;
    for (const auto& file : std::filesystem::directory_iterator(std::filesystem::path(DORVELIX_FUZZ_CORPUS) / folder)) {
        std::ifstream in(file.path(), std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        ++inputs;
    }
    return inputs;
}

}  // namespace

TEST(FuzzCorpus, BootSectorsAndMountTablesGoThroughTheirParsers)
{
    EXPECT_GE(runCorpus("boot_sector", dorvelix::fuzz::bootSector), 4);
    EXPECT_GE(runCorpus("mountinfo", dorvelix::fuzz::mountInfo), 2);
}
