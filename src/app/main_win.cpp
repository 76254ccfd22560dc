// The launcher's frame: load the settings and show the window, poll for messages until the
// window is closed, save the settings.
#include <windows.h>

#include <commctrl.h>

#include "settings/launcher_settings.h"
#include "ui/launcher_window.h"

namespace {

// The exit status of every normal end.
constexpr int kExitStatus = 1;
// When the window cannot be created no quit message could ever arrive: the launcher ends at
// once with this status, and without saving, so the settings file stays exactly as it was.
constexpr int kNoWindowExitStatus = 2;

// Polls instead of blocking: while idle the thread wakes every 10 milliseconds. Messages go
// straight to the window procedure, without the dialog manager's keyboard handling, so Tab,
// Enter and Esc do nothing; the window is driven with the mouse and by typing.
void runMessageLoop() {
    MSG message;
    for (;;) {
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            Sleep(10);
            continue;
        }
        PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);
        if (message.message == WM_QUIT) {
            return;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    InitCommonControls();
    settings.load();
    if (openLauncherWindow(instance) == nullptr) {
        return kNoWindowExitStatus;
    }
    fillDialog();
    ShowWindow(launcherWindow, showCommand);
    UpdateWindow(launcherWindow);
    runMessageLoop();
    settings.save();
    return kExitStatus;
}
