// The bare dialog with the launcher's resources (template 101, icon, manifest) and the common
// controls initialised: what the launcher must do before its window shows, without its own code.
// Built twice: as resource_dialog with SHELL32 and COMDLG32 imported at load time, as the
// launcher once did, and as template_dialog (WITHOUT_SHELL_DLLS) without them.
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include "res/resource.h"

namespace {

#ifndef WITHOUT_SHELL_DLLS
// Referenced, never called: their DLLs are mapped at every start.
void* const volatile importedAtLoad[] = {reinterpret_cast<void*>(&ShellExecuteA),
                                         reinterpret_cast<void*>(&GetOpenFileNameA)};
#endif

INT_PTR CALLBACK resourceDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(dialog);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
#ifndef WITHOUT_SHELL_DLLS
    if (importedAtLoad[0] == nullptr || importedAtLoad[1] == nullptr) {
        return 1;
    }
#endif
    InitCommonControls();
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_LAUNCHER), nullptr,
                                     resourceDialogProc, 0);
    if (dialog == nullptr) {
        return 1;
    }
    ShowWindow(dialog, show);
    MSG message{};
    // GetMessage returns -1 on failure; only a positive result is a message to handle.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
