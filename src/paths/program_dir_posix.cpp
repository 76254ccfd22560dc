// The platform's answers for finding the launcher's directory where there is no Windows
// command line (the native build, which tests the portable core): the current directory.
#include "paths/program_dir.h"

#include <unistd.h>

const char* processCommandLine() {
    return nullptr;
}

ModulePathForm launcherModulePath(char* out, size_t size) {
    if (size > 0) {
        out[0] = '\0';
    }
    return ModulePathForm::Unknown;
}

bool currentDirectory(char* out, size_t size) {
    return size > 0 && getcwd(out, size) != nullptr;
}
