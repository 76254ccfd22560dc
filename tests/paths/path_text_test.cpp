// The path-text rules: a path's directory, the folder a drive alone names, and the one pair of
// quotes a pasted path may carry. (Which paths are fully qualified: program_dir_test.)
#include <gtest/gtest.h>

#include <string>

#include "paths/path_text.h"
#include "support/code_page_932.h"

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
    EXPECT_TRUE(directoryOfPath("C:\\abcd\\x", noLeadBytes, out, sizeof out));
    EXPECT_STREQ("C:\\abcd", out);
    EXPECT_FALSE(directoryOfPath("C:\\abcde\\x", noLeadBytes, out, sizeof out));
    EXPECT_STREQ("", out);
    EXPECT_FALSE(directoryOfPath("launcher.exe", noLeadBytes, out, sizeof out));
}

TEST(PathText, TheSecondByteOfADoubleByteCharacterIsNoBackslash) {
    // Code page 932: "表" is 0x95 0x5C, "ソフ" 0x83 0x5C 0x83 0x74.
    const char* const cases[][3] = {
        // path, its directory under code page 932, under a single-byte code page
        {"C:\\Games\\\x95\x5C.exe", "C:\\Games", "C:\\Games\\\x95"},
        {"C:\\\x83\x5C\x83\x74\\l.exe", "C:\\\x83\x5C\x83\x74", "C:\\\x83\x5C\x83\x74"},
        {"C:\\a\\\x81", "C:\\a", "C:\\a"}, // a lead byte at the end stands alone
    };
    char out[32];
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        EXPECT_TRUE(directoryOfPath(c[0], codePage932LeadByte, out, sizeof out));
        EXPECT_STREQ(c[1], out);
        EXPECT_TRUE(directoryOfPath(c[0], noLeadBytes, out, sizeof out));
        EXPECT_STREQ(c[2], out);
    }
}

// The files of a machine where the stick that was Q: is now R: (Q: names nothing), and N: is a
// network drive, whose server is never asked.
bool onTheMachine(const char* path) {
    const std::string file = path;
    EXPECT_NE('N', file[0]) << "a network drive was probed";
    return file == "R:\\quellix.exe" || file == "R:\\roms\\a.vb" || file == "Q:\\here.vb";
}
bool onNetwork(const char* path) {
    return path[0] == 'N';
}

TEST(PathText, APathOnAMovedDriveLetterGoesToBaseDirsDrive) {
    const char* const cases[][3] = {
        // stored path, baseDir, the path moved (nullptr: it stays as stored)
        {"Q:\\quellix.exe", "R:", "R:\\quellix.exe"},
        {"q:\\roms\\a.vb", "R:\\emu", "R:\\roms\\a.vb"},
        {"Q:\\roms\\b.vb", "R:", nullptr},       // not on R: either
        {"Q:\\here.vb", "R:", nullptr},          // still names a file
        {"r:\\quellix.exe", "R:\\emu", nullptr}, // already on baseDir's drive
        {"Q:quellix.exe", "R:", nullptr},        // drive-relative
        {"\\\\srv\\s\\quellix.exe", "R:", nullptr},
        {"Q:\\quellix.exe", ".", nullptr},
        {"N:\\quellix.exe", "R:", nullptr}, // a network drive, offline or not
    };
    char out[32];
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c[0]) + " in " + c[1]);
        EXPECT_EQ(c[2] != nullptr,
                  pathOnMovedDrive(c[0], c[1], onTheMachine, onNetwork, out, sizeof out));
        EXPECT_STREQ(c[2] != nullptr ? c[2] : "", out);
    }
    EXPECT_FALSE(pathOnMovedDrive("Q:\\quellix.exe", "R:", onTheMachine, onNetwork, out, 14));
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
