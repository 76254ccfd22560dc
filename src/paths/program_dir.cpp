// Finding the launcher's own directory from the command line, with the fallbacks that keep
// baseDir set in every case.
#include "paths/program_dir.h"

#include <cstring>

#include "paths/path_checks.h"
#include "paths/path_text.h"

bool launcherPathFromCommandLine(const char* commandLine, char* out, size_t size) {
    if (size == 0) {
        return false;
    }
    out[0] = '\0';
    if (commandLine == nullptr || commandLine[0] != '"') {
        return false;
    }
    const char* start = commandLine + 1;
    while (*start == '"') {
        ++start;
    }
    const char* end = start;
    while (*end != '\0' && *end != '"') {
        ++end;
    }
    const size_t length = static_cast<size_t>(end - start);
    if (length == 0 || length >= size) {
        return false;
    }
    std::memcpy(out, start, length);
    out[length] = '\0';
    return true;
}

OwnedText deriveBaseDir(const char* commandLine, const char* modulePath, const char* currentDir,
                        LeadByteRule isLeadByte) {
    char launcherPath[kPathBufferSize];
    char directory[kPathBufferSize];
    if (launcherPathFromCommandLine(commandLine, launcherPath, sizeof launcherPath) &&
        isFullyQualifiedPath(launcherPath) &&
        directoryOfPath(launcherPath, isLeadByte, directory, sizeof directory)) {
        return copyText(directory);
    }
    if (directoryOfPath(modulePath, isLeadByte, directory, sizeof directory)) {
        return copyText(directory);
    }
    if (currentDir != nullptr && currentDir[0] != '\0' &&
        std::strlen(currentDir) < kPathBufferSize) {
        OwnedText copy = copyText(currentDir);
        // A root directory comes as "C:\"; baseDir never ends with a backslash. A last byte
        // 0x5C may be the second half of a character ("C:\表"), which stays.
        const size_t length = std::strlen(copy.get());
        if (length > 1 && lastBackslashOf(copy.get(), isLeadByte) == copy.get() + length - 1) {
            copy[length - 1] = '\0';
        }
        return copy;
    }
    return copyText(".");
}
