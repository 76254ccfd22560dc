// The launcher window's procedure: its closing path, the end of the user's session, files
// dropped on it, and every control's command handed to the control events. A dialog procedure
// returns TRUE for what it handled and never calls the default window procedure.
#include "app/launcher_app.h"

#include "ui/file_drop.h"
#include "ui/launcher_window.h"

INT_PTR CALLBACK launcherDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return TRUE;
    case WM_ENDSESSION:
        // At log-off, shut-down or a restart the process is ended after this message without
        // ever seeing WM_QUIT: the settings are saved now. When the end was cancelled (FALSE)
        // the launcher runs on and saves at its normal exit. WM_QUERYENDSESSION is left to the
        // default, which lets the session end: the launcher never holds up a shut-down.
        // An installer replacing files in use asks through the Restart Manager for this one
        // application to close (ENDSESSION_CLOSEAPP): after the save the window closes as
        // the close box closes it, and the run ends with its one save and status 1.
        if (wParam) {
            saveSettingsOnce();
            if ((static_cast<DWORD>(lParam) & ENDSESSION_CLOSEAPP) != 0) {
                DestroyWindow(window);
            }
        }
        return TRUE;
    case WM_DROPFILES:
        takeDroppedFiles(reinterpret_cast<HDROP>(wParam));
        return TRUE;
    case WM_COMMAND:
        handleControlCommand(wParam, lParam);
        return FALSE;
    default:
        return FALSE;
    }
}
