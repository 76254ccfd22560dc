// The launcher as a whole process: started as the shell starts it, closed through its window,
// its exit status and the settings file it leaves behind; and what the exe carries.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/launcher_run.h"

namespace {

class LauncherFrame : public LauncherProcessTest {};

// ---- runs that end through the window ----

TEST_F(LauncherFrame, FirstRunWritesEveryKey) {
    EXPECT_EQ(1u, run().runAndClose());
    EXPECT_EQ(firstRunFile(dir()), savedSettings());
}

// The session's end, sent as the platform sends it: a cancelled end saves nothing and the
// launcher runs on; an end saves at once, and the exit that follows (here: the window closed,
// since the test does not end the process) does not save again.
TEST_F(LauncherFrame, TheSessionsEndSavesOnceAndACancelledEndNothing) {
    EXPECT_EQ(1u, run().runAndClose([&](HWND window) {
        SendMessageA(window, WM_ENDSESSION, FALSE, 0);
        EXPECT_EQ("", savedSettings()) << "a cancelled end saved";
        SendMessageA(window, WM_ENDSESSION, TRUE, 0);
        EXPECT_EQ(firstRunFile(dir()), savedSettings());
        DeleteFileA(settingsPath().c_str());
    }));
    EXPECT_EQ("", savedSettings()) << "saved again at exit";
}

TEST_F(LauncherFrame, AnInstallersRequestToCloseSavesOnceAndCloses) {
    EXPECT_EQ(1u, run().runAndClose([&](HWND window) {
        // The Restart Manager's request, as an installer replacing files in use sends it.
        SendMessageA(window, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
        EXPECT_EQ(firstRunFile(dir()), savedSettings());
        DeleteFileA(settingsPath().c_str());
        EXPECT_TRUE(run().exited(kExitTimeoutMs)) << "still open after the request to close";
    }));
    EXPECT_EQ("", savedSettings()) << "saved again at exit";
}

TEST_F(LauncherFrame, SavedFileIsWhatTheWindowShowed) {
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
        ASSERT_TRUE(freshLauncher());
        writeSettings(c.file);
        EXPECT_EQ(1u, run().runAndClose());
        const std::string saved = savedSettings();
        EXPECT_NE(std::string::npos, saved.find(c.savedLine)) << saved;
        EXPECT_NE(std::string::npos, saved.find("romPath=")) << saved;
    }
}

TEST_F(LauncherFrame, UnwritableSettingsStillEndNormally) {
    {
        SCOPED_TRACE("read-only file");
        const std::string original = "[main]\r\ndspMode=3\r\nbFactor=0.87\r\n";
        writeSettings(original);
        const std::string path = settingsPath();
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
        EXPECT_EQ(1u, run().runAndClose());
        if (guard != INVALID_HANDLE_VALUE) {
            CloseHandle(guard);
        }
        EXPECT_EQ(original, savedSettings());
        // So the folder can be removed.
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    {
        SCOPED_TRACE("a folder in the file's place");
        ASSERT_TRUE(freshLauncher());
        const std::string path = settingsPath();
        ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
        EXPECT_EQ(1u, run().runAndClose());
        const DWORD attributes = GetFileAttributesA(path.c_str());
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, attributes);
        EXPECT_NE(0u, attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
}

// The same frame linked without its resources: the window cannot be made.
TEST_F(LauncherFrame, NoWindowEndsAtOnceWithoutSaving) {
    ASSERT_TRUE(freshLauncher("launcher_without_dialog.exe"));
    ASSERT_TRUE(run().start());
    ASSERT_TRUE(run().exited(kNoWindowExitTimeoutMs));
    EXPECT_EQ(2u, run().exitCode());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(settingsPath().c_str()));
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
