// The path-text rules: the folder a directory names at a drive's root, and the one pair of
// quotes a pasted path may carry. (Which paths are fully qualified: program_dir_test.)
#include <gtest/gtest.h>

#include <string>

#include "settings/path_text.h"

namespace {

TEST(PathText, ADriveAloneNamesItsRoot) {
    const struct {
        const char* directory;
        const char* folder;
    } cases[] = {
        {"E:", "E:\\"},
        {"\\\\?\\E:", "\\\\?\\E:\\"},
        {"C:\\Games\\Emu", "C:\\Games\\Emu"},
        {"\\\\srv\\share", "\\\\srv\\share"},
        {".", "."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.directory);
        char out[16];
        EXPECT_TRUE(folderNamedBy(c.directory, out, sizeof out));
        EXPECT_STREQ(c.folder, out);
    }
    char small[3];
    EXPECT_FALSE(folderNamedBy("E:", small, sizeof small));
    EXPECT_STREQ("", small);
    EXPECT_FALSE(folderNamedBy(nullptr, small, sizeof small));
}

TEST(PathText, OnePairOfQuotesAroundTheWholePathIsDropped) {
    const struct {
        const char* path;
        const char* file;
    } cases[] = {
        {"\"C:\\my roms\\game.vb\"", "C:\\my roms\\game.vb"},
        {"C:\\my roms\\game.vb", "C:\\my roms\\game.vb"},
        {"\"\"C:\\a\"\"", "\"C:\\a\""},
        {"\"C:\\a", "\"C:\\a"},
        {"C:\\a\"", "C:\\a\""},
        {"\"", "\""},
        {"\"\"", ""},
        {"", ""},
        {nullptr, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path != nullptr ? c.path : "(null)");
        const PathSpan span = pathWithoutQuotePair(c.path);
        EXPECT_EQ(c.file, std::string(span.start, span.length));
        char out[32];
        EXPECT_TRUE(copyPathWithoutQuotePair(c.path, out, sizeof out));
        EXPECT_STREQ(c.file, out);
    }
    char small[5];
    EXPECT_TRUE(copyPathWithoutQuotePair("\"C:\\a\"", small, sizeof small));
    EXPECT_FALSE(copyPathWithoutQuotePair("\"C:\\ab\"", small, sizeof small));
    EXPECT_STREQ("", small);
}

} // namespace
