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
//     Where the ANSI code page cannot write the folder's name (a Cyrillic user name under a
//     Western code page), the command line and the module path's ANSI text hold "?" for what
//     it lacks and name no folder: the module path's short (8.3) form is taken instead, and the
//     command line is not used. A volume without short names leaves the ANSI text as it is.
//  3. When that fails too: the current directory, and failing that ".".
// So baseDir is always set once locateBaseDir has run, never longer than 259 characters, and a
// full path but for the last resort ".". At a drive's root it is "E:" (no trailing backslash,
// as everywhere): whatever hands it to the platform as a folder goes through folderNamedBy.
#pragma once

#include <cstddef>

#include "paths/path_text.h"
#include "text/owned_text.h"

// The launcher's path from a command line that starts with a double quote: from the second
// character, further quotes skipped, up to the next quote or the end. False when the command
// line does not start with a quote, the path is empty, or it does not fit `size`.
bool launcherPathFromCommandLine(const char* commandLine, char* out, size_t size);

// The whole rule above, with the platform's answers given: any of them may be nullptr.
// `isLeadByte` is the ANSI code page's rule for the backslashes in them.
OwnedText deriveBaseDir(const char* commandLine, const char* modulePath, const char* currentDir,
                        LeadByteRule isLeadByte);

// The platform twins (program_dir_win.cpp, program_dir_posix.cpp).
// The process command line, or nullptr where the platform has none.
const char* processCommandLine();
// The running program's full path in the ANSI code page: as named, or in its short (8.3) form
// when the code page cannot write its name exactly; Unknown when it is not known or does not
// fit `size`.
enum class ModulePathForm { Unknown, AsNamed, Short };
ModulePathForm launcherModulePath(char* out, size_t size);
// The current directory; false when it is unknown or does not fit `size`.
bool currentDirectory(char* out, size_t size);
