// The platform's answers about paths on Windows.
#include "paths/path_checks.h"

#include <windows.h>

#include <cwchar>

#include "paths/ansi_path_win.h"
#include "text/ansi_text_win.h"

namespace {

using ThreadErrorModeSetter = BOOL(WINAPI*)(DWORD mode, LPDWORD previousMode);

// `call()` with a drive without its medium failing the call instead of asking the user for a
// disk (the "There is no disk in the drive" box); the user's own error mode is put back
// afterwards, so the emulator started later inherits it. SetThreadErrorMode (Windows 7 on) is
// looked up at run time: before it, the mode is the process's, and the launcher has one thread.
template <typename Call> DWORD withoutDiskBox(Call call) {
    const auto setThreadErrorMode =
        reinterpret_cast<ThreadErrorModeSetter>(reinterpret_cast<void (*)()>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetThreadErrorMode")));
    DWORD userMode = 0;
    if (setThreadErrorMode != nullptr && setThreadErrorMode(SEM_FAILCRITICALERRORS, &userMode)) {
        const DWORD result = call();
        setThreadErrorMode(userMode, nullptr);
        return result;
    }
    const UINT processMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    const DWORD result = call();
    SetErrorMode(processMode);
    return result;
}

// The attributes of `path`, INVALID_FILE_ATTRIBUTES when it names nothing.
DWORD attributesWithoutDiskBox(const char* path) {
    return withoutDiskBox([path] { return GetFileAttributesA(path); });
}

// Where the short form holds a character the code page lacks as well (a volume that keeps no
// short names gives the long name back), there is no exact text of the path.
bool exactShortForm(const wchar_t* path, char* out, size_t size) {
    wchar_t shortForm[MAX_PATH];
    const DWORD length =
        withoutDiskBox([&] { return GetShortPathNameW(path, shortForm, MAX_PATH); });
    size_t written = 0;
    // A result of the buffer's size or more is the size the short form would need.
    return length > 0 && length < MAX_PATH && exactAnsiText(shortForm, -1, out, size, &written);
}

} // namespace

bool ansiLeadByte(unsigned char value) {
    return IsDBCSLeadByte(value) != FALSE;
}

bool pathExists(const char* path) {
    return attributesWithoutDiskBox(path) != INVALID_FILE_ATTRIBUTES;
}

bool folderExists(const char* path) {
    const DWORD attributes = attributesWithoutDiskBox(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool pathOnNetworkDrive(const char* path) {
    if (path[0] == '\0' || path[1] != ':') {
        return false;
    }
    const char root[] = {path[0], ':', '\\', '\0'};
    return GetDriveTypeA(root) == DRIVE_REMOTE;
}

AnsiPathForm ansiPathText(const wchar_t* path, char* out, size_t size) {
    if (size == 0) {
        return AnsiPathForm::None;
    }
    size_t written = 0;
    AnsiPathForm form = AnsiPathForm::None;
    if (path == nullptr || std::wcschr(path, L'"') != nullptr) {
        form = AnsiPathForm::None;
    } else if (exactAnsiText(path, -1, out, size, &written)) {
        form = AnsiPathForm::AsNamed;
    } else if (exactShortForm(path, out, size)) {
        form = AnsiPathForm::Short;
    }
    if (form == AnsiPathForm::None) {
        out[0] = '\0';
    }
    return form;
}
