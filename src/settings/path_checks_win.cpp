// The platform's answers about paths on Windows.
#include "settings/path_checks.h"

#include <windows.h>

namespace {

using ThreadErrorModeSetter = BOOL(WINAPI*)(DWORD mode, LPDWORD previousMode);

// The attributes of `path`, INVALID_FILE_ATTRIBUTES when it names nothing. A drive without its
// medium fails the call instead of asking the user for a disk; the user's own error mode is put
// back afterwards, so the emulator started later inherits it. SetThreadErrorMode (Windows 7 on)
// is looked up at run time: before it, the mode is the process's, and the launcher has one
// thread.
DWORD attributesWithoutDiskBox(const char* path) {
    const auto setThreadErrorMode =
        reinterpret_cast<ThreadErrorModeSetter>(reinterpret_cast<void (*)()>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetThreadErrorMode")));
    DWORD userMode = 0;
    if (setThreadErrorMode != nullptr && setThreadErrorMode(SEM_FAILCRITICALERRORS, &userMode)) {
        const DWORD attributes = GetFileAttributesA(path);
        setThreadErrorMode(userMode, nullptr);
        return attributes;
    }
    const UINT processMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    const DWORD attributes = GetFileAttributesA(path);
    SetErrorMode(processMode);
    return attributes;
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
