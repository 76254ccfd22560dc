// Dropped files and the file named on the command line, into the two path edits.
#include "ui/file_drop.h"

#include <objbase.h>
#include <shlobj.h>

#include "paths/ansi_path_win.h"
#include "paths/file_argument.h"
#include "paths/path_checks.h"
#include "res/resource.h"
#include "sysdll/shell_com.h"
#include "sysdll/system_dll.h"
#include "text/owned_text.h"
#include "ui/launcher_window.h"

namespace {

// The platform's wide text is UTF-16, as the core's split takes it.
static_assert(sizeof(wchar_t) == sizeof(char16_t), "wchar_t holds UTF-16 units");
const char16_t* asUtf16(const wchar_t* text) {
    return reinterpret_cast<const char16_t*>(text);
}

// Which edits a drop has filled already: the first file of each kind wins.
struct FilledEdits {
    bool emulator = false;
    bool rom = false;
};

// The target of the shortcut `link` as it stores it, through the shell's link object: no search
// for a moved target, no window. False when the link cannot be read or points to no file
// system path (a printer, a control-panel item). OLE32 is loaded for it at the first shortcut.
bool shortcutTarget(const wchar_t* link, wchar_t* target, int size) {
    initialiseComForShell();
    const auto coCreateInstance =
        systemProcedure<decltype(&CoCreateInstance)>("ole32.dll", "CoCreateInstance");
    IShellLinkW* shellLink = nullptr;
    if (coCreateInstance == nullptr ||
        FAILED(coCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&shellLink)))) {
        return false;
    }
    bool read = false;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        read = file->Load(link, STGM_READ) == S_OK &&
               shellLink->GetPath(target, size, nullptr, 0) == S_OK && target[0] != L'\0';
        file->Release();
    }
    shellLink->Release();
    return read;
}

// The ANSI text of the file `path` (a full path in UTF-16) names, a shortcut standing for its
// target; false (the edits stay as they are) when there is no exact text of it (ansiPathText),
// it is a folder, or a shortcut's target is missing or another shortcut.
bool handedFile(const wchar_t* path, char* out, size_t size) {
    wchar_t target[MAX_PATH];
    const bool shortcut = namesShortcut(asUtf16(path));
    // A shortcut to another shortcut is followed no further: the edit would get a .lnk file.
    if (shortcut && (!shortcutTarget(path, target, MAX_PATH) || namesShortcut(asUtf16(target)))) {
        return false;
    }
    return ansiPathText(shortcut ? target : path, out, size) != AnsiPathForm::None &&
           !folderExists(out) && (!shortcut || pathExists(out));
}

// Puts the file at `path` into the edit of its kind, unless that edit was filled by this drop
// already.
void showHandedFile(const wchar_t* path, FilledEdits& filled) {
    char file[kPathBufferSize];
    if (!handedFile(path, file, sizeof file)) {
        return;
    }
    const bool program = namesProgram(file);
    bool& done = program ? filled.emulator : filled.rom;
    if (!done) {
        done = true;
        // The edit's announcement stores the path in the settings.
        SetDlgItemTextA(launcherWindow, program ? IDC_EMU_PATH : IDC_ROM_PATH, file);
    }
}

// The command line's file as a full path: a relative name means the folder the launcher was
// started from (the current directory now, at start), while the emulator starts in the
// launcher's own folder, where the same name would name another file or none.
bool fullPathOfArgument(wchar_t* path, DWORD size) {
    wchar_t argument[kPathBufferSize];
    if (!firstArgumentOfCommandLine(asUtf16(GetCommandLineW()),
                                    reinterpret_cast<char16_t*>(argument), kPathBufferSize)) {
        return false;
    }
    const DWORD length = GetFullPathNameW(argument, size, path, nullptr);
    // A result of the buffer's size or more is the size the full path would need.
    return length > 0 && length < size;
}

// Run as administrator, the window gets no drop from Explorer, which runs with less privilege,
// unless it lets the drop's messages through: WM_DROPFILES, and WM_COPYDATA and
// WM_COPYGLOBALDATA (0x0049), which carry the dropped names. Per window where Windows has it
// (7 on), else for the process (Vista); before Vista nothing filters them.
void letDropsThroughFromLessPrivilege() {
    using WindowFilter = BOOL(WINAPI*)(HWND window, UINT message, DWORD action, void* status);
    using ProcessFilter = BOOL(WINAPI*)(UINT message, DWORD flag);
    const UINT messages[] = {WM_DROPFILES, WM_COPYDATA, 0x0049};
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    const auto windowFilter = procedureOf<WindowFilter>(user32, "ChangeWindowMessageFilterEx");
    const auto processFilter = procedureOf<ProcessFilter>(user32, "ChangeWindowMessageFilter");
    for (UINT message : messages) {
        if (windowFilter != nullptr) {
            windowFilter(launcherWindow, message, MSGFLT_ALLOW, nullptr);
        } else if (processFilter != nullptr) {
            processFilter(message, MSGFLT_ADD);
        }
    }
}

} // namespace

void takeFilesFromOutside() {
    // The style DragAcceptFiles sets, without loading SHELL32 for it at start.
    const LONG_PTR exStyle = GetWindowLongPtrA(launcherWindow, GWL_EXSTYLE);
    SetWindowLongPtrA(launcherWindow, GWL_EXSTYLE, exStyle | WS_EX_ACCEPTFILES);
    letDropsThroughFromLessPrivilege();

    wchar_t path[kPathBufferSize];
    if (fullPathOfArgument(path, kPathBufferSize)) {
        FilledEdits filled;
        showHandedFile(path, filled);
    }
}

void takeDroppedFiles(HDROP drop) {
    const auto dragQueryFile =
        systemProcedure<decltype(&DragQueryFileW)>("shell32.dll", "DragQueryFileW");
    const auto dragFinish = systemProcedure<decltype(&DragFinish)>("shell32.dll", "DragFinish");
    if (dragQueryFile != nullptr) {
        const UINT count = dragQueryFile(drop, 0xFFFFFFFF, nullptr, 0);
        FilledEdits filled;
        for (UINT i = 0; i < count; ++i) {
            wchar_t path[kPathBufferSize];
            // The length asked first: a longer path would come back cut, naming another file.
            const UINT length = dragQueryFile(drop, i, nullptr, 0);
            if (length > 0 && length < kPathBufferSize &&
                dragQueryFile(drop, i, path, kPathBufferSize) == length) {
                showHandedFile(path, filled);
            }
        }
    }
    if (dragFinish != nullptr) {
        dragFinish(drop);
    }
}
