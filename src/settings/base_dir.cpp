// Where the record's baseDir comes from: the program directory's rule with the platform's answers.
#include "paths/path_checks.h"
#include "paths/program_dir.h"
#include "settings/launcher_settings.h"

void LauncherSettings::locateBaseDir() {
    char modulePath[kPathBufferSize];
    char currentDir[kPathBufferSize];
    const ModulePathForm module = launcherModulePath(modulePath, sizeof modulePath);
    const bool haveCurrent = currentDirectory(currentDir, sizeof currentDir);
    // The short form stands for a name the code page cannot write, which the command line's
    // ANSI text then holds with "?" in it.
    const char* commandLine = module == ModulePathForm::Short ? nullptr : processCommandLine();
    baseDir = deriveBaseDir(commandLine, module != ModulePathForm::Unknown ? modulePath : nullptr,
                            haveCurrent ? currentDir : nullptr, ansiLeadByte);
}
