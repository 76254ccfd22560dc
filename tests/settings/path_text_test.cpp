// The path-text rules: a path's directory, the folder a drive alone names, and the one pair of
// quotes a pasted path may carry. (Which paths are fully qualified: program_dir_test.)
#include <gtest/gtest.h>

#include <string>

#include "settings/path_text.h"

namespace {

TEST(PathText, ADriveAloneNamesItsRootAndOtherDirectoriesThemselves) {
    const char* const cases[][2] = {
        {"E:", "E:\\"}, {"\\\\?\\E:", "\\\\?\\E:\\"}, {"C:\\Emu", "C:\\Emu"}, {".", "."}};
    char out[8];
    for (const auto& c : cases) {
        EXPECT_TRUE(folderNamedBy(c[0], out, sizeof out));
        EXPECT_STREQ(c[1], out);
    }
    EXPECT_FALSE(folderNamedBy("E:", out, 3));
    EXPECT_FALSE(folderNamedBy(nullptr, out, sizeof out));
}

TEST(PathText, TheDirectoryOfAPathFitsWholeOrIsRefused) {
    char out[8];
    EXPECT_TRUE(directoryOfPath("C:\\abcd\\x", out, sizeof out));
    EXPECT_STREQ("C:\\abcd", out);
    EXPECT_FALSE(directoryOfPath("C:\\abcde\\x", out, sizeof out));
    EXPECT_STREQ("", out);
    EXPECT_FALSE(directoryOfPath("launcher.exe", out, sizeof out));
}

TEST(PathText, OnlyOnePairOfQuotesAroundTheWholePathIsDropped) {
    const char* const cases[][2] = {{"\"C:\\my roms\\a.vb\"", "C:\\my roms\\a.vb"},
                                    {"C:\\a b", "C:\\a b"},
                                    {"\"\"C:\\a\"\"", "\"C:\\a\""},
                                    {"\"C:\\a", "\"C:\\a"},
                                    {"\"", "\""},
                                    {"\"\"", ""},
                                    {nullptr, ""}};
    char out[32];
    for (const auto& c : cases) {
        const PathSpan span = pathWithoutQuotePair(c[0]);
        EXPECT_EQ(c[1], std::string(span.start, span.length));
        EXPECT_TRUE(copyPathWithoutQuotePair(c[0], out, sizeof out));
        EXPECT_STREQ(c[1], out);
    }
    EXPECT_TRUE(copyPathWithoutQuotePair("\"C:\\a\"", out, 5));
    EXPECT_FALSE(copyPathWithoutQuotePair("\"C:\\ab\"", out, 5));
    EXPECT_STREQ("", out);
}

} // namespace
