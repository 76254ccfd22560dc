// The floors the launcher is weighed against, one source built three ways:
//   bare_dialog      an empty modeless dialog with its own message loop, closed by its close box
//   template_dialog  the same showing the launcher's template 101 (with its icon and manifest),
//                    after InitCommonControls: what the launcher must do before its window
//                    shows, without its own code (LAUNCHER_TEMPLATE)
//   resource_dialog  the template dialog with SHELL32 and COMDLG32 imported at load time, as
//                    the launcher once did (also IMPORT_SHELL_DLLS)
#include <windows.h>

#ifdef LAUNCHER_TEMPLATE
#include <commctrl.h>

#include "res/resource.h"
#endif
#ifdef IMPORT_SHELL_DLLS
#include <commdlg.h>
#include <shellapi.h>
#endif

namespace {

#ifdef LAUNCHER_TEMPLATE
constexpr WORD kDialog = IDD_LAUNCHER;
#else
// The template's id in bare_dialog.rc.
constexpr WORD kDialog = 100;
#endif

#ifdef IMPORT_SHELL_DLLS
// Referenced, never called: their DLLs are mapped at every start.
void* const volatile importedAtLoad[] = {reinterpret_cast<void*>(&ShellExecuteA),
                                         reinterpret_cast<void*>(&GetOpenFileNameA)};
#endif

INT_PTR CALLBACK bareProc(HWND dialog, UINT message, WPARAM, LPARAM) {
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
#ifdef IMPORT_SHELL_DLLS
    if (importedAtLoad[0] == nullptr || importedAtLoad[1] == nullptr) {
        return 1;
    }
#endif
#ifdef LAUNCHER_TEMPLATE
    InitCommonControls();
#endif
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(kDialog), nullptr, bareProc, 0);
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
