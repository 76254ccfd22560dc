// The launcher window's handle, process-wide: the one value that the window code (src/ui/) and
// the shell calls (src/launch/) both need, kept below both so that neither reaches into the
// other for it.
#pragma once

#include <windows.h>

// Set once by openLauncherWindow; used by everything that addresses a control, and as the
// owner of the open-file dialog and of the shell calls. Null until then.
inline HWND launcherWindow = nullptr;
