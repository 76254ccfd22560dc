// The launcher's one window: a modeless dialog made from template IDD_LAUNCHER, filled once
// from the settings record before it is first shown.
#pragma once

#include <windows.h>

#include "handle/launcher_window_handle.h"

// Creates the window (not yet visible) with `procedure` as its dialog procedure (the
// application's launcherDialogProc) and stores it in launcherWindow. Returns null when it
// cannot be created.
HWND openLauncherWindow(HINSTANCE instance, DLGPROC procedure);

// Puts every setting into its control, in the order the user reads them. Edits announce their
// new text, which the control events read back into the settings: from then on the record
// holds what the window shows (a brightness of 0.87 becomes 0.9).
void fillDialog();

// Rebuilds the palette list: the six two-colour palettes when `twoColour`, otherwise "Normal"
// and "Red"; then selects `pallet` (a position past the end selects nothing).
void fillPaletteList(bool twoColour);

// How far the window is from showing the settings. Until filling starts, its controls hold the
// template's texts and nothing the user chose: a command from them then (one raised while the
// window is being created, before its handle is even known) must not overwrite a loaded
// setting. While filling, list selections and check marks set by the program are not the
// user's choices either; the edits' announcements pass, on purpose (the one-decimal pass).
enum class DialogFill { NotFilled, Filling, Filled };
extern DialogFill dialogFill;

// The control events: one WM_COMMAND from a control of the launcher window (control_events.cpp).
// Called by the window procedure for every WM_COMMAND.
void handleControlCommand(WPARAM wParam, LPARAM lParam);

// Runs the open-file dialog for one path edit; a chosen file becomes the edit's text, whose
// announcement stores it (browse.cpp), when the code page writes its path exactly, as named or
// in its short form; otherwise the edit stays as it was. The dialog starts at the edit's path
// without the one pair of quotes a pasted path may carry; a name the dialog refuses
// (FNERR_INVALIDFILENAME) opens it once more with no name, in the folder the text names when that
// folder exists.
void browseForFile(int editId, const wchar_t* filter);
