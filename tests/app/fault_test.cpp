// The launcher meeting faults as a whole process: files it cannot write or read sensibly,
// paths at the edge of its buffers, an emulator or help page that is not there. Every run must
// end normally with status 1, show no message of its own, and keep every line it does not own.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "res/resource.h"
#include "support/launcher_run.h"
#include "support/stand_in_records.h"
#include "support/watched_call.h"
#include "support/windows_platform.h"

namespace {

class LauncherFaults : public LauncherProcessTest {};

// A press is handled at once; the shell's box for what it cannot open is closed by the watcher
// within a poll, so no press waits longer than this.
constexpr DWORD kPressTimeoutMs = 5000;

// Presses a button of the launcher window as a click does, and returns once its handler has
// run: a check that follows sees all the press did. A box in the launcher's process would hold
// the handler; the watcher closes every one and records its title.
WatchedCall press(LauncherRun& run, HWND window, int id) {
    return callWatchingWindows(
        [window, id] {
            DWORD_PTR result = 0;
            return SendMessageTimeoutA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                       reinterpret_cast<LPARAM>(GetDlgItem(window, id)),
                                       SMTO_NORMAL, kPressTimeoutMs, &result) != 0;
        },
        run.processId(), window);
}

// The visible top-level windows of the launcher besides `main`: a message box would be one.
std::vector<HWND> otherVisibleWindows(DWORD processId, HWND main) {
    std::vector<HWND> found = visibleWindowsOf(processId);
    found.erase(std::remove(found.begin(), found.end(), main), found.end());
    return found;
}

// True when every line of `before` appears in `after`, in the same order.
bool keepsLinesInOrder(const std::string& before, const std::string& after) {
    size_t at = 0;
    size_t start = 0;
    while (start < before.size()) {
        size_t end = before.find("\r\n", start);
        if (end == std::string::npos) {
            end = before.size();
        }
        const std::string line = before.substr(start, end - start) + "\r\n";
        const size_t found = after.find(line, at);
        if (found == std::string::npos) {
            ADD_FAILURE() << "lost line: " << line;
            return false;
        }
        at = found + line.size();
        start = end + 2;
    }
    return true;
}

std::string valueIn(const std::string& path, const char* key) {
    char value[256];
    GetPrivateProfileStringA("main", key, "<missing>", value, sizeof value, path.c_str());
    return value;
}

// One of the launcher's own keys, which a save rewrites ("bFactor=1.500000").
const std::string kOwnedLine = "bFactor=1.5\r\n";

// A hand-edited file around the launcher's own keys: comments, other sections, unknown keys.
// No blank lines: Wine's profile functions drop them when they rewrite a file (Windows edits the
// file in place and keeps them; the INI reader/writer's own tests hold that).
std::string foreignLines(int copies) {
    std::string text = "; settings of my emulator set-up\r\n[other]\r\nscale=6\r\n";
    for (int i = 0; i < copies; ++i) {
        text += "; note " + std::to_string(i) +
                ": keep this line as it is, it is not the launcher's\r\n";
    }
    return text + "[main]\r\n; the launcher's section\r\nfavourite=my demo\r\n" + kOwnedLine +
           "[tail]\r\nx=1\r\n";
}

std::string withoutOwnedLine(std::string file) {
    return file.erase(file.find(kOwnedLine), kOwnedLine.size());
}

TEST_F(LauncherFaults, FilesTheLauncherCannotUseWellEndNormallyAndLoseNothing) {
    struct Case {
        const char* name;
        std::string file;
        // Runs while the window is open; gives back what to release before checking.
        std::function<HANDLE(const std::string& path)> whileOpen;
        bool fileKeepsItsBytes; // nothing could be written at all
    };
    const Case cases[] = {
        {"file held open without sharing while the launcher saves", foreignLines(3),
         [](const std::string& path) {
             return CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
         },
         true},
        {"a settings file of 10 MB", foreignLines(140000), nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(freshLauncher());
        writeSettings(c.file);
        const std::string path = settingsPath();
        HANDLE held = INVALID_HANDLE_VALUE;
        EXPECT_EQ(1u, run().runAndClose([&](HWND window) {
            if (c.whileOpen) {
                held = c.whileOpen(path);
                EXPECT_NE(INVALID_HANDLE_VALUE, held);
            }
            EXPECT_TRUE(otherVisibleWindows(run().processId(), window).empty());
        }));
        if (held != INVALID_HANDLE_VALUE) {
            CloseHandle(held);
        }
        const std::string after = savedSettings();
        if (c.fileKeepsItsBytes) {
            EXPECT_EQ(c.file.size(), after.size());
            EXPECT_TRUE(c.file == after);
        } else {
            EXPECT_TRUE(keepsLinesInOrder(withoutOwnedLine(c.file), after));
            EXPECT_EQ("1.500000", valueIn(path, "bFactor"));
            EXPECT_EQ("1", valueIn(path, "scale")); // [other]'s scale is not the launcher's
            EXPECT_EQ(dir() + "\\vb_demo_1.vb", valueIn(path, "romPath"));
        }
    }
}

TEST_F(LauncherFaults, BinaryGarbageForASettingsFile) {
    std::string garbage;
    uint32_t state = 12345;
    for (int i = 0; i < 65536; ++i) {
        state = state * 1103515245u + 12345u;
        const char byte = static_cast<char>(state >> 24);
        // NUL bytes and no line ends at all.
        garbage.push_back(byte == '\r' || byte == '\n' ? '\0' : byte);
    }
    writeSettings(garbage);
    EXPECT_EQ(1u, run().runAndClose([&](HWND window) {
        EXPECT_TRUE(otherVisibleWindows(run().processId(), window).empty());
    }));
    const std::string path = settingsPath();
    // Nothing in the garbage was a setting: the file now gives every key of a first run.
    EXPECT_EQ("0", valueIn(path, "dspMode"));
    EXPECT_EQ("1", valueIn(path, "scale"));
    EXPECT_EQ("1.000000", valueIn(path, "balb"));
    EXPECT_EQ(dir() + "\\quellix.exe", valueIn(path, "emuPath"));
    // Windows edits the file in place and keeps the garbage before the new section byte for
    // byte; Wine rewrites the whole file and does not, so there only the keys are checked.
    if (!underWine()) {
        EXPECT_EQ(garbage, savedSettings().substr(0, garbage.size()));
    }
}

TEST_F(LauncherFaults, ALauncherDirectoryOf240Characters) {
    if (!folder().asNamed()) {
        GTEST_SKIP() << "the temporary folder's name has no exact ANSI form, so the launcher "
                        "names every folder in it by its short form: none is 240 characters";
    }
    std::string dir = this->dir();
    while (dir.size() < 240) {
        dir += "\\" + std::string(std::min<size_t>(50, 240 - dir.size() - 1), 'd');
        ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr)) << dir;
    }
    ASSERT_EQ(240u, dir.size());
    LauncherRun run(dir, kLauncherExe);
    ASSERT_TRUE(run.copied());
    EXPECT_EQ(1u, run.runAndClose());
    // 252 and 253 characters: the paths fit their 260-character buffers whole.
    EXPECT_EQ(firstRunFile(dir), readFile(dir + "\\quellix.ini"));
}

// Both buttons reach the shell, which finds nothing to open: SHELL32, loaded at the first press
// that needs it, is there afterwards (and, under Wine, was not before), so the presses were
// handled, not lost on the way. Nothing starts, the launcher stays as it was and saves the
// settings of a first start. Windows' shell explains each failure in a box of its own, owned by
// the launcher's window, which the watcher closes; that the launcher itself shows none is
// asserted under Wine, whose shell shows none.
TEST_F(LauncherFaults, MissingEmulatorOrHelpPageChangesNothing) {
    for (const int button : {IDC_LAUNCH, IDC_HELP}) {
        SCOPED_TRACE(button == IDC_LAUNCH ? "no emulator" : "no help page");
        ASSERT_TRUE(freshLauncher());
        EXPECT_EQ(1u, run().runAndClose([&](HWND window) {
            // Windows itself may map SHELL32 into a program for its own reasons.
            if (underWine()) {
                EXPECT_FALSE(processHasModule(run().processId(), "shell32.dll"));
            }
            expectReturnWithNoBoxOfItsOwn(press(run(), window, button));
            expectReturnWithNoBoxOfItsOwn(press(run(), window, button));
            EXPECT_TRUE(processHasModule(run().processId(), "shell32.dll"))
                << "the press did not reach the shell";
            EXPECT_TRUE(otherVisibleWindows(run().processId(), window).empty());
            EXPECT_TRUE(IsWindow(window));
        }));
        EXPECT_EQ(firstRunFile(dir()), savedSettings());
    }
}

TEST_F(LauncherFaults, RomPathWithBlanksAndCharactersAbove127) {
    const std::string name = ansiText(L"Caf\u00e9 St\u00e9r\u00e9o.vb");
    if (name.empty()) {
        GTEST_SKIP() << "the ANSI code page of this Windows has no \u00e9 (code page " << GetACP()
                     << ")";
    }
    const std::string emulator = dir() + "\\quellix.exe";
    ASSERT_TRUE(placeStandIn(emulator));
    const std::string rom = dir() + "\\My Games\\" + name;
    writeSettings("[main]\r\nromPath=" + rom + "\r\n");
    EXPECT_EQ(1u, run().runAndClose(
                      [&](HWND window) { expectQuietReturn(press(run(), window, IDC_LAUNCH)); }));

    const std::vector<Start> starts = waitForStarts(dir(), 1);
    ASSERT_EQ(1u, starts.size());
    EXPECT_EQ(0u, starts[0].command.find("\"" + emulator + "\" \"" + rom + "\" -display frame "))
        << starts[0].command;
    EXPECT_NE(std::string::npos, savedSettings().find("romPath=" + rom + "\r\n"));
}

} // namespace
