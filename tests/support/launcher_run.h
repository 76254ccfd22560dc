// Running the real launcher.exe in a test: started from its copy in a fresh folder as the shell
// starts it, its window found, closed through the window, its exit status read.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "paths/ansi_path_win.h"
#include "support/files.h"
#include "support/first_run_file.h"
#include "support/temp_dir.h"
#include "support/windows_platform.h"

const char kWindowTitle[] = "Quellix Frontend";
const char kLauncherExe[] = "launcher.exe";
const char kStandInEmulator[] = "stand_in_emulator.exe";
const char kSettingsName[] = "quellix.ini";

// A cold Wine prefix can take long to start a program.
constexpr DWORD kWindowTimeoutMs = 20000;
constexpr DWORD kExitTimeoutMs = 20000;
// Without a template the launcher gives up at once.
constexpr DWORD kNoWindowExitTimeoutMs = 5000;
constexpr DWORD kPollMs = 50;

// A file beside this test program. The build folder and the test kit both hold there the
// programs the tests start: "launcher.exe", "launcher_without_dialog.exe" (the same frame
// without its template) and "stand_in_emulator.exe".
// Named as the launcher names its own folder (ansiPathText): a kit unzipped into Downloads under
// a user name the ANSI code page cannot write is reached through the short form.
inline std::string besideThisProgram(const char* name) {
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    char path[MAX_PATH];
    if (length == 0 || length >= MAX_PATH ||
        ansiPathText(self, path, sizeof path) == AnsiPathForm::None) {
        return name; // no name the ANSI functions reach: the test fails on a missing file
    }
    const std::string program(path);
    return program.substr(0, program.find_last_of('\\') + 1) + name;
}

// Places a copy of the stand-in emulator at `path`, creating its folder; false when it cannot.
inline bool placeStandIn(const std::string& path) {
    CreateDirectoryA(path.substr(0, path.find_last_of('\\')).c_str(), nullptr);
    return writeCopy(besideThisProgram(kStandInEmulator), path);
}

// One launcher process, started from its copy in a fresh folder.
class LauncherRun {
  public:
    // `exe` names a program beside the test program.
    LauncherRun(const TempDir& folder, const char* exe) : LauncherRun(folder.dir(), exe) {}
    LauncherRun(const std::string& dir, const char* exe) : exePath_(dir + "\\launcher.exe") {
        copied_ = writeCopy(besideThisProgram(exe), exePath_);
    }
    ~LauncherRun() {
        if (process_.hProcess != nullptr) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process_.hProcess, 99);
                WaitForSingleObject(process_.hProcess, kExitTimeoutMs);
            }
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
    }
    LauncherRun(const LauncherRun&) = delete;
    LauncherRun& operator=(const LauncherRun&) = delete;

    bool copied() const { return copied_; }

    // As the shell starts a program: its own path in quotes, nothing after it.
    bool start() {
        std::string commandLine = "\"" + exePath_ + "\"";
        std::vector<char> writable(commandLine.begin(), commandLine.end());
        writable.push_back('\0');
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        return CreateProcessA(exePath_.c_str(), writable.data(), nullptr, nullptr, FALSE, 0,
                              nullptr, nullptr, &startup, &process_) != FALSE;
    }

    // The launcher's window once it is shown, or null when none appears in time.
    HWND waitForWindow() {
        for (DWORD waited = 0; waited < kWindowTimeoutMs; waited += kPollMs) {
            // Other tests may have windows of the same title open: only this process's counts.
            for (HWND window : visibleWindowsOf(process_.dwProcessId)) {
                if (windowTitle(window) == kWindowTitle) {
                    return window;
                }
            }
            if (exited(0)) {
                return nullptr;
            }
            Sleep(kPollMs);
        }
        return nullptr;
    }

    bool exited(DWORD timeoutMs) {
        return WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0;
    }

    DWORD exitCode() {
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

    DWORD processId() const { return process_.dwProcessId; }

    // Starts the launcher, runs `whileOpen` on its window, closes the window as its close box
    // does, and gives the exit status (or 0xFFFFFFFF when it did not get that far).
    DWORD runAndClose(const std::function<void(HWND)>& whileOpen = nullptr) {
        if (!start()) {
            ADD_FAILURE() << "cannot start " << exePath_;
            return 0xFFFFFFFF;
        }
        HWND window = waitForWindow();
        if (window == nullptr) {
            // Status 2: the window could not be made (no display, say); else it was too slow.
            if (exited(0)) {
                ADD_FAILURE() << "no window: the launcher ended with status " << exitCode();
            } else {
                ADD_FAILURE() << "no window within " << kWindowTimeoutMs << " ms";
            }
            return 0xFFFFFFFF;
        }
        if (whileOpen) {
            whileOpen(window);
        }
        PostMessageA(window, WM_CLOSE, 0, 0);
        if (!exited(kExitTimeoutMs)) {
            ADD_FAILURE() << "still running after its window was closed";
            return 0xFFFFFFFF;
        }
        return exitCode();
    }

  private:
    std::string exePath_;
    bool copied_ = false;
    PROCESS_INFORMATION process_{};
};

// The fixture of the tests that run the launcher as a process: each test, and each case of a
// table, gets a fresh folder with its own copy of the launcher.
class LauncherProcessTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(freshLauncher()); }

    // Replaces the folder and the run with new ones holding a copy of `exe` (a program beside
    // the test program) as launcher.exe; false when it cannot be copied.
    bool freshLauncher(const char* exe = kLauncherExe) {
        run_.reset();
        folder_ = std::make_unique<TempDir>();
        run_ = std::make_unique<LauncherRun>(*folder_, exe);
        return run_->copied();
    }

    LauncherRun& run() { return *run_; }
    const TempDir& folder() const { return *folder_; }
    std::string dir() const { return folder_->dir(); }
    std::string settingsPath() const { return folder_->pathOf(kSettingsName); }
    std::string savedSettings() const { return readFile(settingsPath()); }
    void writeSettings(const std::string& text) const {
        ASSERT_TRUE(folder_->write(kSettingsName, text));
    }

  private:
    // Declared after the folder, the run ends first: its process is gone before its folder is
    // removed.
    std::unique_ptr<TempDir> folder_;
    std::unique_ptr<LauncherRun> run_;
};
