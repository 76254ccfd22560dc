// Finding the launcher's directory from the command line and the fallbacks that keep it set.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/program_dir.h"

namespace {

struct BaseDirCase {
    const char* name;
    const char* commandLine;
    const char* modulePath;
    const char* currentDir;
    const char* baseDir;
};

const std::string kLongPath = "\"C:\\" + std::string(300, 'x') + "\\launcher.exe\"";

// A relative directory that fits 260 characters, but not once made full.
const std::string kLongRelativePath = "\"" + std::string(250, 't') + "\\launcher.exe\"";

// A full-path rule like the platform's for the forms below: a drive path stands as it is, any
// other is resolved against the current directory "W:\work"; then, as GetFullPathNameA does,
// "." and empty parts are taken out and ".." takes out the part before it (never the drive).
bool resolveInWork(const char* path, char* out, size_t size) {
    const std::string joined =
        path[0] != '\0' && path[1] == ':' ? path : "W:\\work\\" + std::string(path);
    std::vector<std::string> parts;
    for (size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
        end = joined.find('\\', start);
        const std::string part = joined.substr(start, end - start);
        if (part == ".." && parts.size() > 1) {
            parts.pop_back();
        } else if (!part.empty() && part != "." && part != "..") {
            parts.push_back(part);
        }
    }
    std::string full;
    for (const std::string& part : parts) {
        full += (full.empty() ? "" : "\\") + part;
    }
    if (joined.back() == '\\') {
        full += '\\';
    }
    if (full.size() >= size) {
        return false;
    }
    full.copy(out, full.size());
    out[full.size()] = '\0';
    return true;
}

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
        {"current directory is a root", nullptr, "nobackslash", "C:\\", "C:"},
        {"nothing known", nullptr, nullptr, nullptr, "."},
        {"empty current directory", "", "", "", "."},
        {"relative path made full", "\"my tools\\launcher.exe\"", "M:\\m\\l.exe", nullptr,
         "W:\\work\\my tools"},
        {"relative path in the current directory", "\".\\launcher.exe\" x", nullptr, nullptr,
         "W:\\work"},
        {"relative path upwards", "\"..\\up\\.\\launcher.exe\"", nullptr, nullptr, "W:\\up"},
        {"full path too long for its buffer", kLongRelativePath.c_str(), "M:\\m\\l.exe", nullptr,
         "M:\\m"},
    };
    for (const BaseDirCase& c : cases) {
        SCOPED_TRACE(c.name);
        const OwnedText baseDir =
            deriveBaseDir(c.commandLine, c.modulePath, c.currentDir, resolveInWork);
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
    EXPECT_TRUE(directoryOfPath("C:\\abcd\\x", out, sizeof out));
    EXPECT_STREQ("C:\\abcd", out);
    EXPECT_FALSE(directoryOfPath("C:\\abcde\\x", out, sizeof out));
    EXPECT_STREQ("", out);
    EXPECT_FALSE(launcherPathFromCommandLine("\"C:\\a\"", out, 0));
}

TEST(ProgramDir, LocateBaseDirAlwaysSetsIt) {
    LauncherSettings s{};
    s.locateBaseDir();
    ASSERT_NE(nullptr, s.baseDir);
    EXPECT_NE('\0', s.baseDir[0]);
}

} // namespace
