// The open-file dialog's seam: browseForFile with the dialog's two calls handed in, so a test
// can play a dialog that refuses a name as the platform's does (browse.cpp).
#pragma once

#include <windows.h>

#include <commdlg.h>

// The dialog's two calls, which browseForFile takes from COMDLG32; a test hands its own.
struct OpenFileDialogCalls {
    BOOL(WINAPI* show)(LPOPENFILENAMEW request);
    DWORD(WINAPI* lastError)();
};
void browseForFileWith(const OpenFileDialogCalls& dialog, int editId, const wchar_t* filter);
