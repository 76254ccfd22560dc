// The launcher's one window: a modeless dialog made from template IDD_LAUNCHER, filled once
// from the settings record before it is first shown.
#pragma once

#include <windows.h>

// The launcher window, process-wide: set once by openLauncherWindow, used by everything that
// addresses a control, owns the open-file dialog or the shell calls. Null until then.
extern HWND launcherWindow;

// Creates the window (not yet visible) with launcherDialogProc as its procedure and stores it
// in launcherWindow. Returns null when it cannot be created.
HWND openLauncherWindow(HINSTANCE instance);

// Puts every setting into its control, in the order the user reads them. Edits announce their
// new text, which the control events read back into the settings: from then on the record
// holds what the window shows (a brightness of 0.87 becomes 0.9).
void fillDialog();

// Rebuilds the palette list: the six two-colour palettes when `twoColour`, otherwise "Normal"
// and "Red"; then selects `pallet` (a position past the end selects nothing).
void fillPaletteList(bool twoColour);

// True while fillDialog runs: list selections and check marks set by the program must not be
// taken for the user's choices (the edits' announcements still are, on purpose).
extern bool fillingDialog;

// The window procedure (src/app/): closing, and WM_COMMAND handed to handleControlCommand.
INT_PTR CALLBACK launcherDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The control events: one WM_COMMAND from a control of the launcher window (control_events.cpp).
void handleControlCommand(WPARAM wParam, LPARAM lParam);

// Runs the open-file dialog for one path edit; a chosen file becomes the edit's text, whose
// announcement stores it (browse.cpp).
void browseForFile(int editId, const char* filter);
