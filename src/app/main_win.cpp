// The launcher's frame: load the settings and show the window, poll for messages until the
// window is closed, save the settings.
#include <windows.h>

#include <commctrl.h>

#include "app/launcher_app.h"
#include "settings/launcher_settings.h"
#include "sysdll/shell_com.h"
#include "sysdll/system_dll.h"
#include "ui/file_drop.h"
#include "ui/launcher_window.h"

namespace {

// The exit status of every normal end.
constexpr int kExitStatus = 1;
// When the window cannot be created no quit message could ever arrive: the launcher ends at
// once with this status, and without saving: the settings file keeps the user's values (the load
// may have changed its encoding, never its text).
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
        // A message seen a moment ago may be gone by now (a sent message is handled inside the
        // peek itself): only one actually taken is dispatched.
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            continue;
        }
        if (message.message == WM_QUIT) {
            return;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool settingsSaved = false;

} // namespace

void saveSettingsOnce() {
    if (!settingsSaved) {
        settingsSaved = true;
        settings.save();
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    keepDllSearchToTheSystem();
    InitCommonControls();
    settings.load();
    if (openLauncherWindow(instance, launcherDialogProc) == nullptr) {
        return kNoWindowExitStatus;
    }
    fillDialog();
    takeFilesFromOutside();
    ShowWindow(launcherWindow, showCommand);
    UpdateWindow(launcherWindow);
    runMessageLoop();
    saveSettingsOnce();
    releaseComForShell();
    return kExitStatus;
}
