// The launcher's own directory (baseDir): the root of the settings file, the default paths,
// the help page and the emulator's working directory.
//
// How it is found, in order:
//  1. The process command line, as the shell starts programs: the launcher's own path in
//     double quotes first. When that path is fully qualified (a drive and a backslash, or
//     "\\"), baseDir is the path up to its last backslash.
//  2. When the command line does not start with a quoted path, yields no path, or the path is
//     relative, has no backslash or is too long: the launcher's module path, the platform's own
//     record of where the running program lives. A relative path was resolved by the parent
//     against its own current directory, which need not be the launcher's (a script may start
//     "tools\launcher.exe" with another working directory); and an unquoted command line cannot
//     be split reliably: C:\Program Files\... would split at the blank.
//  3. When that fails too: the current directory, and failing that ".".
// So baseDir is always set once locateBaseDir has run, never longer than 259 characters, and a
// full path but for the last resort ".". At a drive's root it is "E:" (no trailing backslash,
// as everywhere): whatever hands it to the platform as a folder goes through folderNamedBy.
#pragma once

#include <cstddef>

#include "settings/launcher_settings.h"

// The launcher's path from a command line that starts with a double quote: from the second
// character, further quotes skipped, up to the next quote or the end. False when the command
// line does not start with a quote, the path is empty, or it does not fit `size`.
bool launcherPathFromCommandLine(const char* commandLine, char* out, size_t size);

// The whole rule above, with the platform's answers given: any of them may be nullptr.
OwnedText deriveBaseDir(const char* commandLine, const char* modulePath, const char* currentDir);

// The platform twins (program_dir_win.cpp, program_dir_posix.cpp).
// The process command line, or nullptr where the platform has none.
const char* processCommandLine();
// The running program's full path; false when it is unknown or does not fit `size`.
bool launcherModulePath(char* out, size_t size);
// The current directory; false when it is unknown or does not fit `size`.
bool currentDirectory(char* out, size_t size);
