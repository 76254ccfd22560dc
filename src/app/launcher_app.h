// The application frame's own parts: the window procedure and the one save of the settings.
#pragma once

#include <windows.h>

// The launcher window's procedure: closing, the session's end, dropped files, and every
// control's command handed to the control events.
INT_PTR CALLBACK launcherDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Writes the settings file the first time it is called and never again: a run saves once,
// after the loop ends or when the session ends, whichever comes first.
void saveSettingsOnce();
