// The file named on the command line: the platform's splitting rule, and which edit it fills.
#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#endif

#include "settings/file_argument.h"
#include "support/code_page_932.h"

namespace {

const std::string kPath259 = "C:\\" + std::string(253, 'x') + ".vb";

TEST(FileArgument, FirstArgumentAsThePlatformSplitsIt) {
    const std::string over259 = "\"C:\\l.exe\" \"" + kPath259 + "x\"";
    const std::string fits = "\"C:\\l.exe\" " + kPath259;
    const char* const cases[][2] = {
        {"\"C:\\l.exe\" \"C:\\my roms\\a game.vb\" x", "C:\\my roms\\a game.vb"},
        {"C:\\l.exe\tC:\\roms\\a.vb", "C:\\roms\\a.vb"},
        {"\"C:\\l.exe\" \"D:\\Emu\\QUELLIX.EXE\"", "D:\\Emu\\QUELLIX.EXE"},
        {"\"C:\\l.exe\"x y", "x"},
        {"\"C:\\l.exe\" C:\\my\" \"roms\\a.vb", "C:\\my roms\\a.vb"},
        {"\"C:\\l.exe\" \"C:\\dir\\\\\" x", "C:\\dir\\"},
        {"\"C:\\l.exe\" a\\\\\\\"b", "a\\\"b"},
        {"\"C:\\l.exe\" \"a\"\"b c\"", "a\"b"},
        {fits.c_str(), kPath259.c_str()},
        {"\"C:\\l.exe\"", ""},
        {"\"C:\\l.exe\"  \t ", ""},
        {"\"C:\\l.exe\" \"\" x", ""},
        {over259.c_str(), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        char out[260];
        EXPECT_EQ(c[1][0] != '\0', firstArgumentOfCommandLine(c[0], noLeadBytes, out, sizeof out));
        EXPECT_STREQ(c[1], out);
#ifdef _WIN32
        // The platform's own split of the same line (ASCII only, so the wide text is the same).
        const std::wstring wide(c[0], c[0] + std::char_traits<char>::length(c[0]));
        int count = 0;
        LPWSTR* arguments = CommandLineToArgvW(wide.c_str(), &count);
        const std::string second =
            count > 1 ? std::string(arguments[1], arguments[1] + wcslen(arguments[1])) : "";
        LocalFree(arguments);
        if (second.size() < sizeof out) {
            EXPECT_EQ(second, out);
        }
#endif
    }
    EXPECT_FALSE(firstArgumentOfCommandLine(nullptr, noLeadBytes, nullptr, 0));
    // Code page 932: "ソ" is 0x83 0x5C, its second byte no backslash before the closing quote.
    char out[16];
    EXPECT_TRUE(firstArgumentOfCommandLine("l.exe \"C:\\\x83\x5C\" x", codePage932LeadByte, out,
                                           sizeof out));
    EXPECT_STREQ("C:\\\x83\x5C", out);
}

TEST(FileArgument, OnlyANameEndingInExeIsAProgram) {
    for (const char* program : {"C:\\Emu\\quellix.exe", "D:\\E\\QUELLIX.EXE", "a.eXe", ".exe"}) {
        EXPECT_TRUE(namesProgram(program)) << program;
    }
    for (const char* game : {"C:\\a.vb", "C:\\a.exe.vb", "C:\\a.exe ", "C:\\exe", "a.ex", "",
                             static_cast<const char*>(nullptr)}) {
        EXPECT_FALSE(namesProgram(game)) << (game != nullptr ? game : "null");
    }
}

} // namespace
