// The platform's answers for finding the launcher's directory on Windows.
#include "settings/program_dir.h"

#include <windows.h>

const char* processCommandLine() {
    return GetCommandLineA();
}

bool launcherModulePath(char* out, size_t size) {
    if (size == 0) {
        return false;
    }
    const DWORD length = GetModuleFileNameA(nullptr, out, static_cast<DWORD>(size));
    // A full buffer means the path was cut.
    return length > 0 && length < size;
}

bool currentDirectory(char* out, size_t size) {
    if (size == 0) {
        return false;
    }
    const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(size), out);
    return length > 0 && length < size;
}
