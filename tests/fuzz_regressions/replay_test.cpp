// Every saved input of the fuzz targets through its target's property checks: the seed corpora
// (fuzz/corpus/<target>/) and the inputs of past findings (tests/fuzz_regressions/<target>/),
// so that a fixed fault stays fixed in every native test run, without a fuzzer.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_checks.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;

struct Target {
    const char* name;
    FuzzCheck check;
};

const Target kTargets[] = {
    {"ini_fuzz", checkIniText},
    {"number_fuzz", checkNumberText},
    {"args_fuzz", checkEmulatorArguments},
    {"basedir_fuzz", checkBaseDir},
    {"encoding_fuzz", checkIniEncoding},
};

// The inputs in `directory`; its dot files (.gitkeep, which keeps an empty folder in git) are
// not inputs.
std::vector<fs::path> inputsIn(const fs::path& directory) {
    std::vector<fs::path> files;
    if (fs::is_directory(directory)) {
        for (const fs::directory_entry& entry : fs::directory_iterator(directory)) {
            if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
                files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string bytesOf(const fs::path& file) {
    const std::optional<std::string> bytes = fileBytes(file.string());
    if (!bytes) {
        ADD_FAILURE() << "cannot read " << file;
    }
    return bytes.value_or(std::string());
}

void replayAll(const Target& target, const std::vector<fs::path>& files) {
    for (const fs::path& file : files) {
        const std::string input = bytesOf(file);
        EXPECT_EQ("", target.check(reinterpret_cast<const uint8_t*>(input.data()), input.size()))
            << file;
    }
}

class Replay : public testing::TestWithParam<Target> {};

TEST_P(Replay, SeedCorpus) {
    const fs::path directory = fs::path(FUZZ_SOURCE_ROOT) / "fuzz" / "corpus" / GetParam().name;
    const std::vector<fs::path> files = inputsIn(directory);
    // An empty list would pass silently: a moved corpus must fail instead.
    ASSERT_FALSE(files.empty()) << "no seed inputs in " << directory;
    replayAll(GetParam(), files);
}

// `tools/fuzz.sh --save` copies findings here. A missing folder fails (the replay would read
// nothing); an empty one is reported as skipped, never as passed.
TEST_P(Replay, SavedFindings) {
    const fs::path directory =
        fs::path(FUZZ_SOURCE_ROOT) / "tests" / "fuzz_regressions" / GetParam().name;
    ASSERT_TRUE(fs::is_directory(directory)) << "no folder of saved findings: " << directory;
    const std::vector<fs::path> files = inputsIn(directory);
    if (files.empty()) {
        GTEST_SKIP() << "no findings saved yet in " << directory;
    }
    replayAll(GetParam(), files);
}

INSTANTIATE_TEST_SUITE_P(FuzzTargets, Replay, testing::ValuesIn(kTargets),
                         [](const testing::TestParamInfo<Target>& test) {
                             return std::string(test.param.name);
                         });

} // namespace
