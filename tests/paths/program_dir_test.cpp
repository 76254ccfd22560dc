// Finding the launcher's directory from the command line and the fallbacks that keep it set.
#include <gtest/gtest.h>

#include <string>

#include "paths/program_dir.h"
#include "support/code_page_932.h"

namespace {

struct BaseDirCase {
    const char* name;
    const char* commandLine;
    const char* modulePath;
    const char* currentDir;
    const char* baseDir;
    LeadByteRule isLeadByte = noLeadBytes;
};

const std::string kLongPath = "\"C:\\" + std::string(300, 'x') + "\\launcher.exe\"";

TEST(ProgramDir, BaseDirFromTheCommandLineOrItsFallbacks) {
    const BaseDirCase cases[] = {
        {"quoted path and an argument", "\"C:\\Games\\Emu\\launcher.exe\" -x", "M:\\m\\l.exe",
         "W:\\w", "C:\\Games\\Emu"},
        {"path in the root", "\"C:\\launcher.exe\"", nullptr, nullptr, "C:"},
        {"blanks in the path", "\"C:\\Program Files\\Q F\\l.exe\"", nullptr, nullptr,
         "C:\\Program Files\\Q F"},
        {"further quotes skipped", "\"\"\"D:\\q\\l.exe\"\"", nullptr, nullptr, "D:\\q"},
        {"no closing quote", "\"E:\\q\\l.exe", nullptr, nullptr, "E:\\q"},
        {"unquoted command line", "C:\\Program Files\\Q\\l.exe arg", "C:\\Program Files\\Q\\l.exe",
         "W:\\w", "C:\\Program Files\\Q"},
        {"path without backslash", "\"launcher.exe\"", "D:\\x\\launcher.exe", "W:\\w", "D:\\x"},
        {"empty quoted path", "\"\" x", "D:\\x\\launcher.exe", nullptr, "D:\\x"},
        {"path too long for its buffer", kLongPath.c_str(), "D:\\x\\launcher.exe", nullptr,
         "D:\\x"},
        {"no module path: current directory", "launcher", nullptr, "E:\\work", "E:\\work"},
        {"module path in a root", "\"l.exe\"", "E:\\l.exe", nullptr, "E:"},
        {"current directory is a root", nullptr, "nobackslash", "C:\\", "C:"},
        {"nothing known", nullptr, nullptr, nullptr, "."},
        {"empty current directory", "", "", "", "."},
        {"server share", "\"\\\\srv\\share\\l.exe\"", "M:\\m\\l.exe", nullptr, "\\\\srv\\share"},
        // A path that is not fully qualified was resolved against the parent's directory.
        {"relative path", "\"my tools\\launcher.exe\"", "M:\\m\\l.exe", "W:\\w", "M:\\m"},
        {"drive-relative path", "\"C:tools\\l.exe\"", "M:\\m\\l.exe", "W:\\w", "M:\\m"},
        {"path from the current drive's root", "\"\\tools\\l.exe\"", "M:\\m\\l.exe", nullptr,
         "M:\\m"},
        {"relative path, no module path", "\".\\launcher.exe\" x", nullptr, "W:\\w", "W:\\w"},
        // Code page 932: "表" is 0x95 0x5C.
        {"launcher renamed 表.exe", "\"C:\\G\\\x95\x5C.exe\"", nullptr, nullptr, "C:\\G",
         codePage932LeadByte},
        {"current directory C:\\表", nullptr, nullptr, "C:\\\x95\x5C", "C:\\\x95\x5C",
         codePage932LeadByte},
    };
    for (const BaseDirCase& c : cases) {
        SCOPED_TRACE(c.name);
        const OwnedText baseDir =
            deriveBaseDir(c.commandLine, c.modulePath, c.currentDir, c.isLeadByte);
        ASSERT_NE(nullptr, baseDir);
        EXPECT_STREQ(c.baseDir, baseDir.get());
    }
}

TEST(ProgramDir, TextsThatDoNotFitAreRefusedNotCut) {
    char out[8];
    EXPECT_TRUE(launcherPathFromCommandLine("\"C:\\a.ex\"", out, sizeof out));
    EXPECT_STREQ("C:\\a.ex", out);
    EXPECT_FALSE(launcherPathFromCommandLine("\"C:\\ab.ex\"", out, sizeof out));
    EXPECT_STREQ("", out);
    EXPECT_FALSE(launcherPathFromCommandLine("\"C:\\a\"", out, 0));
}

} // namespace
