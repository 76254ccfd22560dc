// The platform's answers for finding the launcher's directory where there is no Windows
// command line (the native build, which tests the portable core): the current directory.
#include "settings/program_dir.h"

#include <cstring>
#include <unistd.h>

const char* processCommandLine() {
    return nullptr;
}

bool launcherModulePath(char* out, size_t size) {
    if (size > 0) {
        out[0] = '\0';
    }
    return false;
}

bool currentDirectory(char* out, size_t size) {
    return size > 0 && getcwd(out, size) != nullptr;
}

bool fullPathOf(const char* path, char* out, size_t size) {
    // No command line reaches the rule here: the paths it is handed are taken as they stand.
    const size_t length = std::strlen(path);
    if (length >= size) {
        return false;
    }
    std::memcpy(out, path, length + 1);
    return true;
}
