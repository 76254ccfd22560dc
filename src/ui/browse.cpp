// The open-file dialog behind the two "..." buttons.
#include <windows.h>

#include <commdlg.h>
#include <cstddef>
#include <cstring>

#include "paths/ansi_path_win.h"
#include "paths/path_checks.h"
#include "paths/path_text.h"
#include "sysdll/shell_com.h"
#include "sysdll/system_dll.h"
#include "text/owned_text.h"
#include "ui/browse.h"
#include "ui/launcher_window.h"

namespace {

// The size of the request's first long-lived layout, which every version of the platform
// accepts: 76 bytes in the 32-bit launcher (the 64-bit test build has wider pointers).
constexpr DWORD kOpenFileNameSize =
    offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(OPENFILENAMEW::lpTemplateName);
static_assert(sizeof(void*) != 4 || kOpenFileNameSize == 76, "the 32-bit request is 76 bytes");

// The ANSI text `text` in UTF-16 ("" when it cannot be converted or does not fit).
void wideTextOf(const char* text, wchar_t* out, int size) {
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, out, size) == 0) {
        out[0] = L'\0';
    }
}

// The folder `path` lies in, as the dialog takes it ("E:\" at a root), when that folder
// exists; otherwise "".
void existingFolderOf(const char* path, wchar_t* out, int size) {
    char directory[kPathBufferSize];
    char folder[kPathBufferSize];
    if (directoryOfPath(path, ansiLeadByte, directory, sizeof directory) &&
        folderNamedBy(directory, folder, sizeof folder) && folderExists(folder)) {
        wideTextOf(folder, out, size);
    } else {
        out[0] = L'\0';
    }
}

// Shows the dialog for `request`, whose file buffer holds `initialName` in UTF-16. The
// platform's dialog refuses an initial name that no file name may hold ("<", "|", a wildcard)
// and returns at once, so the press would do nothing: it opens once more with no name, in the
// folder the text names when there is one.
bool chooseFile(const OpenFileDialogCalls& dialog, OPENFILENAMEW& request,
                const char* initialName) {
    if (dialog.show(&request)) {
        return true;
    }
    if (dialog.lastError == nullptr || dialog.lastError() != FNERR_INVALIDFILENAME) {
        return false;
    }
    wchar_t folder[kPathBufferSize];
    existingFolderOf(initialName, folder, kPathBufferSize);
    request.lpstrInitialDir = folder[0] != L'\0' ? folder : nullptr;
    request.lpstrFile[0] = L'\0';
    return dialog.show(&request) != FALSE;
}

} // namespace

void browseForFileWith(const OpenFileDialogCalls& dialog, int editId, const wchar_t* filter) {
    // Starts at the edit's current path, without the quotes a pasted one may carry (the edit
    // keeps them); the chosen path comes back in the same buffer, in UTF-16, which holds a name
    // in any script.
    char text[kPathBufferSize];
    GetDlgItemTextA(launcherWindow, editId, text, sizeof text);
    char initialName[kPathBufferSize];
    copyPathWithoutQuotePair(text, initialName, sizeof initialName);
    wchar_t fileName[kPathBufferSize];
    wideTextOf(initialName, fileName, kPathBufferSize);

    initialiseComForShell();
    OPENFILENAMEW request;
    std::memset(&request, 0, sizeof request);
    request.lStructSize = kOpenFileNameSize;
    request.hwndOwner = launcherWindow;
    request.lpstrFilter = filter;
    request.lpstrFile = fileName;
    request.nMaxFile = kPathBufferSize;
    // The dialog makes the folder it was in the process's current directory (Windows' open
    // dialog even with OFN_NOCHANGEDIR), and Windows holds a current directory open: a USB stick
    // could not be removed, nor the folder renamed, until the launcher ends. It is put back,
    // chosen or cancelled; in UTF-16, which holds any folder's name.
    wchar_t currentDirectory[MAX_PATH];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, currentDirectory);
    const bool chosen = chooseFile(dialog, request, initialName);
    if (length > 0 && length < MAX_PATH) {
        SetCurrentDirectoryW(currentDirectory);
    }
    // A pick the code page cannot write exactly, even in its short form, leaves the edit as it
    // is: its "?" would name no file.
    char picked[kPathBufferSize];
    if (!chosen || fileName[0] == L'\0' ||
        ansiPathText(fileName, picked, sizeof picked) == AnsiPathForm::None) {
        return;
    }
    // The edit's announcement stores the path in the settings.
    SetDlgItemTextA(launcherWindow, editId, picked);
}

void browseForFile(int editId, const wchar_t* filter) {
    // COMDLG32 is loaded at the first "..." press; when it cannot be, the press does nothing,
    // as when the dialog is cancelled.
    const OpenFileDialogCalls dialog = {
        systemProcedure<decltype(&GetOpenFileNameW)>("comdlg32.dll", "GetOpenFileNameW"),
        systemProcedure<decltype(&CommDlgExtendedError)>("comdlg32.dll", "CommDlgExtendedError"),
    };
    if (dialog.show != nullptr) {
        browseForFileWith(dialog, editId, filter);
    }
}
