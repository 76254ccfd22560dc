// The platform's answers for finding the launcher's directory on Windows.
#include "settings/program_dir.h"

#include <windows.h>

#include "settings/ansi_text_win.h"

const char* processCommandLine() {
    return GetCommandLineA();
}

ModulePathForm launcherModulePath(char* out, size_t size) {
    if (size == 0) {
        return ModulePathForm::Unknown;
    }
    wchar_t wide[kPathBufferSize];
    size_t written = 0;
    const DWORD wideLength = GetModuleFileNameW(nullptr, wide, kPathBufferSize);
    if (wideLength > 0 && wideLength < kPathBufferSize) {
        if (exactAnsiText(wide, -1, out, size, &written)) {
            return ModulePathForm::AsNamed;
        }
        // Where the volume keeps no short names, the short form is the long one, and as
        // inexact: the ANSI text below is all there is.
        wchar_t shortForm[kPathBufferSize];
        const DWORD shortLength = GetShortPathNameW(wide, shortForm, kPathBufferSize);
        if (shortLength > 0 && shortLength < kPathBufferSize &&
            exactAnsiText(shortForm, -1, out, size, &written)) {
            return ModulePathForm::Short;
        }
    }
    const DWORD length = GetModuleFileNameA(nullptr, out, static_cast<DWORD>(size));
    // A full buffer means the path was cut.
    return length > 0 && length < size ? ModulePathForm::AsNamed : ModulePathForm::Unknown;
}

bool currentDirectory(char* out, size_t size) {
    if (size == 0) {
        return false;
    }
    const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(size), out);
    return length > 0 && length < size;
}
