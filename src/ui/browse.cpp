// The open-file dialog behind the two "..." buttons.
#include <windows.h>

#include <commdlg.h>
#include <cstddef>
#include <cstring>

#include "settings/launcher_settings.h"
#include "sysdll/shell_com.h"
#include "sysdll/system_dll.h"
#include "ui/launcher_window.h"

// The size of the request's first long-lived layout, which every version of the platform
// accepts: 76 bytes in the 32-bit launcher (the 64-bit test build has wider pointers).
constexpr DWORD kOpenFileNameSize =
    offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(OPENFILENAMEA::lpTemplateName);
static_assert(sizeof(void*) != 4 || kOpenFileNameSize == 76, "the 32-bit request is 76 bytes");

void browseForFile(int editId, const char* filter) {
    // COMDLG32 is loaded at the first "..." press; when it cannot be, the press does nothing,
    // as when the dialog is cancelled.
    const auto getOpenFileName =
        systemProcedure<decltype(&GetOpenFileNameA)>("comdlg32.dll", "GetOpenFileNameA");
    if (getOpenFileName == nullptr) {
        return;
    }
    // Starts at the edit's current path; the chosen one comes back in the same buffer.
    char fileName[kPathBufferSize];
    GetDlgItemTextA(launcherWindow, editId, fileName, sizeof fileName);

    initialiseComForShell();
    OPENFILENAMEA request;
    std::memset(&request, 0, sizeof request);
    request.lStructSize = kOpenFileNameSize;
    request.hwndOwner = launcherWindow;
    request.lpstrFilter = filter;
    request.lpstrFile = fileName;
    request.nMaxFile = sizeof fileName;
    if (!getOpenFileName(&request) || fileName[0] == '\0') {
        return;
    }
    // The edit's announcement stores the path in the settings.
    SetDlgItemTextA(launcherWindow, editId, fileName);
}
