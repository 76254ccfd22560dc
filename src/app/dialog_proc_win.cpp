// The launcher window's procedure: its closing path, and every control's command handed to the
// control events. A dialog procedure returns TRUE for what it handled and never calls the
// default window procedure.
#include "ui/launcher_window.h"

INT_PTR CALLBACK launcherDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return TRUE;
    case WM_COMMAND:
        handleControlCommand(wParam, lParam);
        return FALSE;
    default:
        return FALSE;
    }
}
