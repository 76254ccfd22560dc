// What the Windows tests ask of the system they run on: Wine or Windows, the ANSI code page,
// and processes (their visible windows, the programs they started, the DLLs they mapped).
#pragma once

#include <windows.h>

#include <tlhelp32.h>

#include <string>
#include <vector>

#include "text/ansi_text_win.h"

// Wine's ntdll exports its version; Windows' does not.
inline bool underWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// `text` in the ANSI code page as the launcher converts it, "" when a character has no exact
// form there (é on a Japanese or Cyrillic Windows): a test that needs it skips there.
inline std::string ansiText(const wchar_t* text) {
    char out[1024];
    size_t written = 0;
    return exactAnsiText(text, -1, out, sizeof out, &written) ? std::string(out) : std::string();
}

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

inline BOOL CALLBACK collectVisibleWindowOf(HWND window, LPARAM context) {
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.processId && IsWindowVisible(window)) {
        search.found.push_back(window);
    }
    return TRUE;
}

// The visible top-level windows of a process: its main window, a message box, a dialog.
inline std::vector<HWND> visibleWindowsOf(DWORD processId) {
    WindowSearch search{processId, {}};
    EnumWindows(collectVisibleWindowOf, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline std::string windowTitle(HWND window) {
    char title[256] = "";
    GetWindowTextA(window, title, static_cast<int>(sizeof title));
    return title;
}

// How many processes with the file name `exeName` ("quellix.exe") that `parent` started are
// running now.
inline size_t runningChildren(DWORD parent, const char* exeName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return 0;
    }
    size_t count = 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == parent && lstrcmpiA(entry.szExeFile, exeName) == 0) {
            ++count;
        }
    }
    CloseHandle(snapshot);
    return count;
}

// Waits until none of those processes runs. A program started before the call (the shell
// creates it before it returns) has then done all it was going to do: a record it writes
// is complete, a record it does not write will never come. False when one still runs after
// `timeoutMs`.
inline bool waitForChildrenToEnd(DWORD parent, const char* exeName, DWORD timeoutMs) {
    const DWORD begin = GetTickCount();
    while (runningChildren(parent, exeName) > 0) {
        if (GetTickCount() - begin > timeoutMs) {
            return false;
        }
        Sleep(50);
    }
    return true;
}

// Whether the process has mapped the DLL `name` ("shell32.dll").
inline bool processHasModule(DWORD processId, const char* name) {
    // The snapshot fails with ERROR_BAD_LENGTH while the process is loading or unloading a
    // module: then it is asked again.
    HANDLE snapshot = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 20 && snapshot == INVALID_HANDLE_VALUE; ++attempt) {
        snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
        if (snapshot == INVALID_HANDLE_VALUE && GetLastError() != ERROR_BAD_LENGTH) {
            return false;
        }
    }
    if (snapshot == INVALID_HANDLE_VALUE) {
        return false;
    }
    bool found = false;
    MODULEENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Module32First(snapshot, &entry); more && !found;
         more = Module32Next(snapshot, &entry)) {
        found = lstrcmpiA(entry.szModule, name) == 0;
    }
    CloseHandle(snapshot);
    return found;
}
