// The system DLLs the launcher needs only for some presses (SHELL32 for Launch and Help,
// COMDLG32 for the "..." buttons): loaded on first use, so a run that presses none of them never
// maps either, and only from the system directory.
#pragma once

#include <windows.h>

// The system directory's `dll` (a name that lives as long as the process, as a literal does),
// loaded on first use and kept until the process ends (a later call gets the same module), by
// its full path: never a file of that name in the launcher's folder, the current directory or
// the PATH. Its own dependencies are looked for in the system directory first as well. Null
// when the path does not fit MAX_PATH or the DLL cannot be loaded.
HMODULE loadSystemDll(const char* dll);

// The first thing at start: the DLLs that system code loads by bare name are looked for in the
// system directory only, where Windows allows it (SetDefaultDllDirectories), else at least not
// in the current directory, which the open-file dialog moves (SetDllDirectoryA with ""). A
// launcher unzipped beside a planted DLL (in Downloads, say) never loads it.
void keepDllSearchToTheSystem();

// `procedure` of the loaded `module` as a function pointer of type Function, or null when the
// module lacks it (or is null): what a newer Windows added is looked up at run time, so the
// load-time imports stay those every Windows has.
template <typename Function> Function procedureOf(HMODULE module, const char* procedure) {
    if (module == nullptr) {
        return nullptr;
    }
    // Through the generic function pointer type, which converts to any other without a warning.
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, procedure)));
}

// `procedure` of the system's `dll` as a function pointer of type Function, or null when either
// cannot be had: the caller then behaves as if its call had failed.
template <typename Function> Function systemProcedure(const char* dll, const char* procedure) {
    return procedureOf<Function>(loadSystemDll(dll), procedure);
}
