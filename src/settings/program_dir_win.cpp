// The platform's answers for finding the launcher's directory on Windows.
#include "settings/program_dir.h"

#include <windows.h>

namespace {

// `wide` in the ANSI code page, true only when every character has its own there: no default
// character ("?") and no best-fit look-alike, which would name another file.
bool exactAnsiText(const wchar_t* wide, char* out, size_t size) {
    BOOL usedDefault = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, out,
                                           static_cast<int>(size), nullptr, &usedDefault);
    return length > 0 && !usedDefault;
}

} // namespace

const char* processCommandLine() {
    return GetCommandLineA();
}

ModulePathForm launcherModulePath(char* out, size_t size) {
    if (size == 0) {
        return ModulePathForm::Unknown;
    }
    wchar_t wide[kPathBufferSize];
    const DWORD wideLength = GetModuleFileNameW(nullptr, wide, kPathBufferSize);
    if (wideLength > 0 && wideLength < kPathBufferSize) {
        if (exactAnsiText(wide, out, size)) {
            return ModulePathForm::AsNamed;
        }
        // Where the volume keeps no short names, the short form is the long one, and as
        // inexact: the ANSI text below is all there is.
        wchar_t shortForm[kPathBufferSize];
        const DWORD shortLength = GetShortPathNameW(wide, shortForm, kPathBufferSize);
        if (shortLength > 0 && shortLength < kPathBufferSize &&
            exactAnsiText(shortForm, out, size)) {
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
