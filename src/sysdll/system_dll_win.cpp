// Loading a system DLL by its full path in the system directory, once, and the search order for
// the DLLs that system code loads by name.
#include "sysdll/system_dll.h"

#include <cstring>

namespace {

// SHELL32, COMDLG32 and OLE32, each loaded once.
struct LoadedDll {
    const char* name;
    HMODULE module;
};
LoadedDll loadedDlls[4];
size_t loadedCount = 0;

HMODULE loadFromSystemDirectory(const char* dll) {
    char path[MAX_PATH];
    const UINT directoryLength = GetSystemDirectoryA(path, sizeof path);
    const size_t nameLength = std::strlen(dll);
    // A result of the buffer's size or more is the size the directory would need.
    if (directoryLength == 0 || directoryLength + 1 + nameLength >= sizeof path) {
        return nullptr;
    }
    path[directoryLength] = '\\';
    std::memcpy(path + directoryLength + 1, dll, nameLength + 1);
    // With a full path, this flag makes the DLL's own imports searched from its directory
    // instead of the launcher's.
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

template <typename Function> Function kernelProcedure(const char* procedure) {
    return procedureOf<Function>(GetModuleHandleA("kernel32.dll"), procedure);
}

} // namespace

HMODULE loadSystemDll(const char* dll) {
    for (size_t i = 0; i < loadedCount; ++i) {
        if (std::strcmp(loadedDlls[i].name, dll) == 0) {
            return loadedDlls[i].module;
        }
    }
    HMODULE module = loadFromSystemDirectory(dll);
    // A DLL that could not be loaded is tried again at the next press.
    if (module != nullptr && loadedCount < sizeof loadedDlls / sizeof loadedDlls[0]) {
        loadedDlls[loadedCount++] = LoadedDll{dll, module};
    }
    return module;
}

void keepDllSearchToTheSystem() {
    // Found at run time, so that the load-time imports stay those every Windows has:
    // SetDefaultDllDirectories from Windows 8 (and 7 with its update), SetDllDirectoryA from
    // XP SP1.
    using DefaultDirectoriesSetter = BOOL(WINAPI*)(DWORD directoryFlags);
    using DllDirectorySetter = BOOL(WINAPI*)(LPCSTR directory);
    const auto setDefaultDllDirectories =
        kernelProcedure<DefaultDirectoriesSetter>("SetDefaultDllDirectories");
    if (setDefaultDllDirectories != nullptr &&
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        return;
    }
    const auto setDllDirectory = kernelProcedure<DllDirectorySetter>("SetDllDirectoryA");
    if (setDllDirectory != nullptr) {
        setDllDirectory(""); // takes the current directory out of the search
    }
}
