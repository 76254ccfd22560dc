// The platform's answers for finding the launcher's directory on Windows.
#include "paths/program_dir.h"

#include <windows.h>

#include "paths/ansi_path_win.h"

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
        switch (ansiPathText(wide, out, size)) {
        case AnsiPathForm::AsNamed:
            return ModulePathForm::AsNamed;
        case AnsiPathForm::Short:
            return ModulePathForm::Short;
        case AnsiPathForm::None:
            break; // the ANSI text below, "?" and all, is all there is
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
