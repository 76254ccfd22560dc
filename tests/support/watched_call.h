// A call that may raise a box, run under a watcher that closes every new window of a process:
// a box shown inside the call then fails the test or lets it go on, but never hangs it.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "support/windows_platform.h"

// Longer than any call of the tests takes, a cold Wine prefix included.
constexpr DWORD kWatchTimeoutMs = 15000;
constexpr DWORD kWatchPollMs = 50;

struct WatchedCall {
    bool returned;
    bool result;
    std::vector<std::string> windowTitles; // of the windows closed meanwhile
};

struct CallOnItsThread {
    std::function<bool()> call;
    bool result;
};

inline DWORD WINAPI runCallOnItsThread(LPVOID parameter) {
    CallOnItsThread* running = static_cast<CallOnItsThread*>(parameter);
    running->result = running->call();
    return 0;
}

// Runs `call` on a thread of its own and watches the visible top-level windows of the process
// `processId` (this one unless named; `keep`, its main window, aside) until the call returns. Each
// new window is recorded and asked to close, which lets a box raised inside the call return.
inline WatchedCall callWatchingWindows(const std::function<bool()>& call,
                                       DWORD processId = GetCurrentProcessId(),
                                       HWND keep = nullptr) {
    // Left allocated should the call never return, as the thread may still write to it.
    CallOnItsThread* running = new CallOnItsThread{call, false};
    WatchedCall watched{false, false, {}};
    HANDLE thread = CreateThread(nullptr, 0, runCallOnItsThread, running, 0, nullptr);
    if (thread == nullptr) {
        delete running;
        return watched;
    }
    std::vector<HWND> seen{keep};
    const DWORD begin = GetTickCount();
    for (;;) {
        const DWORD wait = WaitForSingleObject(thread, kWatchPollMs);
        for (HWND window : visibleWindowsOf(processId)) {
            if (std::find(seen.begin(), seen.end(), window) != seen.end()) {
                continue; // the main window, or asked to close already
            }
            seen.push_back(window);
            watched.windowTitles.push_back(windowTitle(window));
            PostMessageA(window, WM_CLOSE, 0, 0);
        }
        if (wait == WAIT_OBJECT_0) {
            watched.returned = true;
            watched.result = running->result;
            delete running;
            break;
        }
        if (GetTickCount() - begin > kWatchTimeoutMs) {
            break;
        }
    }
    CloseHandle(thread);
    return watched;
}

// The call returned true and no window appeared: what a start that works shows everywhere.
inline void expectQuietReturn(const WatchedCall& watched) {
    EXPECT_TRUE(watched.returned) << "the call did not return";
    EXPECT_TRUE(watched.result);
    for (const std::string& title : watched.windowTitles) {
        ADD_FAILURE() << "a window appeared: \"" << title << "\"";
    }
}

// The call returned true, and any box it raised was not the launcher's own. The launcher
// reports nothing itself but hands the shell its window, and Windows' shell explains what it
// cannot open in a box of its own ("Windows cannot find ..."): on Windows a box is the shell's,
// closed by the watcher. Wine's shell shows none, so there any box is the launcher's and fails.
inline void expectReturnWithNoBoxOfItsOwn(const WatchedCall& watched) {
    if (underWine()) {
        expectQuietReturn(watched);
        return;
    }
    EXPECT_TRUE(watched.returned) << "the call did not return";
    EXPECT_TRUE(watched.result);
    for (const std::string& title : watched.windowTitles) {
        std::cout << "closed the shell's box \"" << title << "\"\n";
    }
}
