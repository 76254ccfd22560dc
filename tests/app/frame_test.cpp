// The launcher as a whole process: started as the shell starts it, closed through its window,
// its exit status and the settings file it leaves behind; and what the exe carries.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/launcher_run.h"
#include "support/temp_dir.h"

namespace {

// ---- runs that end through the window ----

TEST(LauncherFrame, FirstRunWritesEveryKey) {
    TempDir folder;
    LauncherRun run(folder, kLauncherExe);
    ASSERT_TRUE(run.copied());
    EXPECT_EQ(1u, run.runAndClose());
    EXPECT_EQ(firstRunFile(folder.dir()), readFile(settingsPath(folder)));
}

// The session's end, sent as the platform sends it: a cancelled end saves nothing and the
// launcher runs on; an end saves at once, and the exit that follows (here: the window closed,
// since the test does not end the process) does not save again.
TEST(LauncherFrame, TheSessionsEndSavesOnceAndACancelledEndNothing) {
    TempDir folder;
    LauncherRun run(folder, kLauncherExe);
    ASSERT_TRUE(run.copied());
    const std::string file = settingsPath(folder);
    EXPECT_EQ(1u, run.runAndClose([&](HWND window) {
        SendMessageA(window, WM_ENDSESSION, FALSE, 0);
        EXPECT_EQ("", readFile(file)) << "a cancelled end saved";
        SendMessageA(window, WM_ENDSESSION, TRUE, 0);
        EXPECT_EQ(firstRunFile(folder.dir()), readFile(file));
        DeleteFileA(file.c_str());
    }));
    EXPECT_EQ("", readFile(file)) << "saved again at exit";
}

TEST(LauncherFrame, AnInstallersRequestToCloseSavesOnceAndCloses) {
    TempDir folder;
    LauncherRun run(folder, kLauncherExe);
    ASSERT_TRUE(run.copied());
    const std::string file = settingsPath(folder);
    EXPECT_EQ(1u, run.runAndClose([&](HWND window) {
        // The Restart Manager's request, as an installer replacing files in use sends it.
        SendMessageA(window, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
        EXPECT_EQ(firstRunFile(folder.dir()), readFile(file));
        DeleteFileA(file.c_str());
        EXPECT_TRUE(run.exited(kExitTimeoutMs)) << "still open after the request to close";
    }));
    EXPECT_EQ("", readFile(file)) << "saved again at exit";
}

TEST(LauncherFrame, SavedFileIsWhatTheWindowShowed) {
    struct Case {
        const char* name;
        std::string file;
        std::string savedLine; // must appear in the saved file
    };
    const Case cases[] = {
        // Filling shows one decimal and reads it back, so an untouched 0.87 is saved as 0.9.
        {"brightness rounded", "[main]\r\nbFactor=0.87\r\n", "bFactor=0.900000\r\n"},
        {"balance rounded", "[main]\r\nbalg=0.25\r\n", "balg=0.300000\r\n"},
        // Values the window cannot select are kept as they were.
        {"zoom past the list", "[main]\r\nscale=9\r\n", "scale=9\r\n"},
        {"ram hack value", "[main]\r\nmore_ram=5\r\n", "more_ram=5\r\n"},
        {"frame skip unsigned", "[main]\r\nfSkip=-1\r\n", "fSkip=-1\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir folder;
        LauncherRun run(folder, kLauncherExe);
        ASSERT_TRUE(run.copied());
        folder.write(kSettingsName, c.file);
        EXPECT_EQ(1u, run.runAndClose());
        const std::string saved = readFile(settingsPath(folder));
        EXPECT_NE(std::string::npos, saved.find(c.savedLine)) << saved;
        EXPECT_NE(std::string::npos, saved.find("romPath=")) << saved;
    }
}

TEST(LauncherFrame, UnwritableSettingsStillEndNormally) {
    {
        SCOPED_TRACE("read-only file");
        TempDir folder;
        LauncherRun run(folder, kLauncherExe);
        ASSERT_TRUE(run.copied());
        const std::string original = "[main]\r\ndspMode=3\r\nbFactor=0.87\r\n";
        folder.write(kSettingsName, original);
        const std::string path = settingsPath(folder);
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
        // Run as root, Wine lets a read-only file be written all the same; there the file is
        // also held open against writers (readers still share it), so the launcher meets a
        // file it cannot write either way.
        HANDLE guard = INVALID_HANDLE_VALUE;
        HANDLE probe = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (probe != INVALID_HANDLE_VALUE) {
            CloseHandle(probe);
            guard = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, guard);
        }
        EXPECT_EQ(1u, run.runAndClose());
        if (guard != INVALID_HANDLE_VALUE) {
            CloseHandle(guard);
        }
        EXPECT_EQ(original, readFile(path));
        // So the folder can be removed.
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    {
        SCOPED_TRACE("a folder in the file's place");
        TempDir folder;
        LauncherRun run(folder, kLauncherExe);
        ASSERT_TRUE(run.copied());
        const std::string path = settingsPath(folder);
        ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
        EXPECT_EQ(1u, run.runAndClose());
        const DWORD attributes = GetFileAttributesA(path.c_str());
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, attributes);
        EXPECT_NE(0u, attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
}

// The same frame linked without its resources: the window cannot be made.
TEST(LauncherFrame, NoWindowEndsAtOnceWithoutSaving) {
    TempDir folder;
    LauncherRun run(folder, "launcher_without_dialog.exe");
    ASSERT_TRUE(run.copied());
    ASSERT_TRUE(run.start());
    ASSERT_TRUE(run.exited(kNoWindowExitTimeoutMs));
    EXPECT_EQ(2u, run.exitCode());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(settingsPath(folder).c_str()));
}

// ---- what the exe carries ----

// Its load-time imports: tools/check_package.sh, against src/app/load_time_imports.txt.
TEST(LauncherExe, CarriesIconAndManifest) {
    HMODULE exe =
        LoadLibraryExA(besideThisProgram(kLauncherExe).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, exe);
    const struct {
        const char* name;
        WORD id;
        LPCSTR type;
    } resources[] = {
        {"icon group", 102, RT_GROUP_ICON},
        {"manifest", 1, RT_MANIFEST},
        {"dialog", 101, RT_DIALOG},
    };
    for (const auto& resource : resources) {
        EXPECT_NE(nullptr, FindResourceA(exe, MAKEINTRESOURCEA(resource.id), resource.type))
            << resource.name;
    }
    FreeLibrary(exe);
}

} // namespace
