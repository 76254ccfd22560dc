// The file named on the command line: the platform's splitting rule, and which edit it fills.
#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#endif

#include "paths/file_argument.h"

namespace {

const std::string kPath259 = "C:\\" + std::string(253, 'x') + ".vb";

// An ASCII text as UTF-16, unit by unit.
std::u16string widened(const char* text) {
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

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
        const std::u16string line = widened(c[0]);
        char16_t out[260];
        EXPECT_EQ(c[1][0] != '\0', firstArgumentOfCommandLine(line.c_str(), out, 260));
        EXPECT_EQ(widened(c[1]), out);
#ifdef _WIN32
        // The platform's own split of the same line.
        int count = 0;
        LPWSTR* arguments =
            CommandLineToArgvW(reinterpret_cast<const wchar_t*>(line.c_str()), &count);
        const std::u16string second =
            count > 1 ? reinterpret_cast<const char16_t*>(arguments[1]) : u"";
        LocalFree(arguments);
        if (second.size() < 260) {
            EXPECT_EQ(second, out);
        }
#endif
    }
    EXPECT_FALSE(firstArgumentOfCommandLine(nullptr, nullptr, 0));
    // "ソ" (U+30BD; 0x83 0x5C in code page 932) is no backslash before the closing quote, nor
    // is half of a character beyond the 16-bit range ("𝄞").
    char16_t out[16];
    EXPECT_TRUE(firstArgumentOfCommandLine(u"l.exe \"C:\\\u30BD\U0001D11E\" x", out, 16));
    EXPECT_EQ(std::u16string(u"C:\\\u30BD\U0001D11E"), out);
}

TEST(FileArgument, OnlyANameEndingInExeIsAProgram) {
    for (const char* program : {"C:\\Emu\\quellix.exe", "D:\\E\\QUELLIX.EXE", "a.eXe", ".exe"}) {
        EXPECT_TRUE(namesProgram(program)) << program;
    }
    for (const char* game : {"C:\\a.vb", "C:\\a.exe.vb", "C:\\a.exe ", "C:\\exe", "a.ex", "",
                             static_cast<const char*>(nullptr)}) {
        EXPECT_FALSE(namesProgram(game)) << (game != nullptr ? game : "null");
    }
    // A shortcut stands for its target, whatever kind that is.
    EXPECT_TRUE(namesShortcut(u"C:\\\u0418\\Quellix.LNK") && namesShortcut(u".lnk"));
    EXPECT_FALSE(namesShortcut(u"C:\\a.lnk.exe") || namesShortcut(u"lnk") ||
                 namesShortcut(nullptr));
}

} // namespace
