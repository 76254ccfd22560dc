// Running the real launcher.exe in a test: started from its copy in a fresh folder as the shell
// starts it, its window found, closed through the window, its exit status read.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/first_run_file.h"
#include "support/temp_dir.h"

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

inline std::string readFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::string();
    }
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        bytes.append(chunk, got);
    }
    CloseHandle(file);
    return bytes;
}

// A file beside this test program. The build folder and the test kit both hold there the
// programs the tests start: "launcher.exe", "launcher_without_dialog.exe" (the same frame
// without its template) and "stand_in_emulator.exe".
inline std::string besideThisProgram(const char* name) {
    char self[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self);
    const std::string path(self, length < sizeof self ? length : 0);
    return path.substr(0, path.find_last_of('\\') + 1) + name;
}

// One launcher process, started from its copy in a fresh folder.
class LauncherRun {
  public:
    // `exe` names a program beside the test program.
    LauncherRun(const TempDir& folder, const char* exe) : LauncherRun(folder.dir(), exe) {}
    LauncherRun(const std::string& dir, const char* exe) : exePath_(dir + "\\launcher.exe") {
        copied_ = CopyFileA(besideThisProgram(exe).c_str(), exePath_.c_str(), FALSE) != FALSE;
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
            HWND window = nullptr;
            // Other tests may have windows of the same title open: only this process's counts.
            while ((window = FindWindowExA(nullptr, window, nullptr, kWindowTitle)) != nullptr) {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == process_.dwProcessId && IsWindowVisible(window)) {
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

inline std::string settingsPath(const TempDir& folder) {
    return folder.dir() + "\\" + kSettingsName;
}
