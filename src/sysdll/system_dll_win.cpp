// Loading a system DLL by its full path in the system directory.
#include "sysdll/system_dll.h"

#include <cstring>

HMODULE loadSystemDll(const char* dll) {
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
