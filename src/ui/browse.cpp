// The open-file dialog behind the two "..." buttons.
#include <windows.h>

#include <commdlg.h>
#include <cstddef>
#include <cstring>

#include "settings/launcher_settings.h"
#include "settings/path_checks.h"
#include "settings/path_text.h"
#include "sysdll/shell_com.h"
#include "sysdll/system_dll.h"
#include "ui/browse.h"
#include "ui/launcher_window.h"

namespace {

// The size of the request's first long-lived layout, which every version of the platform
// accepts: 76 bytes in the 32-bit launcher (the 64-bit test build has wider pointers).
constexpr DWORD kOpenFileNameSize =
    offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(OPENFILENAMEA::lpTemplateName);
static_assert(sizeof(void*) != 4 || kOpenFileNameSize == 76, "the 32-bit request is 76 bytes");

// The folder `path` lies in, as the dialog takes it ("E:\" at a root), when that folder
// exists; otherwise "".
void existingFolderOf(const char* path, char* out, size_t size) {
    char directory[kPathBufferSize];
    if (!directoryOfPath(path, ansiLeadByte, directory, sizeof directory) ||
        !folderNamedBy(directory, out, size) || !folderExists(out)) {
        out[0] = '\0';
    }
}

// Shows the dialog for `request`, whose file buffer holds the initial name. The platform's
// dialog refuses an initial name that no file name may hold ("<", "|", a wildcard) and returns
// at once, so the press would do nothing: it opens once more with no name, in the folder the
// text names when there is one.
bool chooseFile(const OpenFileDialogCalls& dialog, OPENFILENAMEA& request) {
    if (dialog.show(&request)) {
        return true;
    }
    if (dialog.lastError == nullptr || dialog.lastError() != FNERR_INVALIDFILENAME) {
        return false;
    }
    char folder[kPathBufferSize];
    existingFolderOf(request.lpstrFile, folder, sizeof folder);
    request.lpstrInitialDir = folder[0] != '\0' ? folder : nullptr;
    request.lpstrFile[0] = '\0';
    return dialog.show(&request) != FALSE;
}

} // namespace

void browseForFileWith(const OpenFileDialogCalls& dialog, int editId, const char* filter) {
    // Starts at the edit's current path, without the quotes a pasted one may carry (the edit
    // keeps them); the chosen path comes back in the same buffer.
    char text[kPathBufferSize];
    GetDlgItemTextA(launcherWindow, editId, text, sizeof text);
    char fileName[kPathBufferSize];
    copyPathWithoutQuotePair(text, fileName, sizeof fileName);

    initialiseComForShell();
    OPENFILENAMEA request;
    std::memset(&request, 0, sizeof request);
    request.lStructSize = kOpenFileNameSize;
    request.hwndOwner = launcherWindow;
    request.lpstrFilter = filter;
    request.lpstrFile = fileName;
    request.nMaxFile = sizeof fileName;
    // The dialog makes the folder it was in the process's current directory (Windows' open
    // dialog even with OFN_NOCHANGEDIR), and Windows holds a current directory open: a USB stick
    // could not be removed, nor the folder renamed, until the launcher ends. It is put back,
    // chosen or cancelled; in UTF-16, which holds any folder's name.
    wchar_t currentDirectory[MAX_PATH];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, currentDirectory);
    const bool chosen = chooseFile(dialog, request);
    if (length > 0 && length < MAX_PATH) {
        SetCurrentDirectoryW(currentDirectory);
    }
    if (!chosen || fileName[0] == '\0') {
        return;
    }
    // The edit's announcement stores the path in the settings.
    SetDlgItemTextA(launcherWindow, editId, fileName);
}

void browseForFile(int editId, const char* filter) {
    // COMDLG32 is loaded at the first "..." press; when it cannot be, the press does nothing,
    // as when the dialog is cancelled.
    const OpenFileDialogCalls dialog = {
        systemProcedure<decltype(&GetOpenFileNameA)>("comdlg32.dll", "GetOpenFileNameA"),
        systemProcedure<decltype(&CommDlgExtendedError)>("comdlg32.dll", "CommDlgExtendedError"),
    };
    if (dialog.show != nullptr) {
        browseForFileWith(dialog, editId, filter);
    }
}
