// An empty modeless dialog with its own message loop, closed by its close box.
#include <windows.h>

namespace {

// The template's id in bare_dialog.rc.
constexpr WORD kBareDialog = 100;

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
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(kBareDialog), nullptr, bareProc, 0);
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
