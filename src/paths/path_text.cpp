// Windows path-text rules shared by the settings, the launch and the open-file dialog.
#include "paths/path_text.h"

#include <cstring>

namespace {

bool isDriveLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char upperDriveLetter(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// "X:\..." (the form isFullyQualifiedPath accepts, other than a server's share).
bool startsWithDriveRoot(const char* path) {
    return isDriveLetter(path[0]) && path[1] == ':' && path[2] == '\\';
}

} // namespace

bool noLeadBytes(unsigned char) {
    return false;
}

const char* lastBackslashOf(const char* path, LeadByteRule isLeadByte) {
    const char* last = nullptr;
    for (const char* c = path; *c != '\0'; ++c) {
        if (isLeadByte(static_cast<unsigned char>(*c)) && c[1] != '\0') {
            ++c; // the trail byte is part of the character, whatever its value
        } else if (*c == '\\') {
            last = c;
        }
    }
    return last;
}

bool pathInBaseDir(const char* directory, const char* name, char* out, size_t size) {
    if (size == 0) {
        return false;
    }
    out[0] = '\0';
    if (directory == nullptr) {
        return false;
    }
    const size_t directoryLength = std::strlen(directory);
    const size_t nameLength = std::strlen(name);
    if (directoryLength + nameLength >= size) {
        return false;
    }
    std::memcpy(out, directory, directoryLength);
    std::memcpy(out + directoryLength, name, nameLength + 1);
    return true;
}

bool directoryOfPath(const char* path, LeadByteRule isLeadByte, char* out, size_t size) {
    if (size == 0) {
        return false;
    }
    out[0] = '\0';
    if (path == nullptr) {
        return false;
    }
    const char* lastBackslash = lastBackslashOf(path, isLeadByte);
    if (lastBackslash == nullptr) {
        return false;
    }
    const size_t length = static_cast<size_t>(lastBackslash - path);
    if (length >= size) {
        return false;
    }
    std::memcpy(out, path, length);
    out[length] = '\0';
    return true;
}

bool isFullyQualifiedPath(const char* path) {
    if (path == nullptr) {
        return false;
    }
    if (path[0] == '\\') {
        return path[1] == '\\';
    }
    return startsWithDriveRoot(path);
}

bool folderNamedBy(const char* directory, char* out, size_t size) {
    if (size == 0) {
        return false;
    }
    out[0] = '\0';
    if (directory == nullptr) {
        return false;
    }
    const size_t length = std::strlen(directory);
    const bool driveAlone = length > 0 && directory[length - 1] == ':';
    const size_t folderLength = driveAlone ? length + 1 : length;
    if (folderLength >= size) {
        return false;
    }
    std::memcpy(out, directory, length);
    out[length] = '\\';
    out[folderLength] = '\0';
    return true;
}

PathSpan pathWithoutQuotePair(const char* path) {
    if (path == nullptr) {
        return PathSpan{"", 0};
    }
    const size_t length = std::strlen(path);
    if (length >= 2 && path[0] == '"' && path[length - 1] == '"') {
        return PathSpan{path + 1, length - 2};
    }
    return PathSpan{path, length};
}

bool copyPathWithoutQuotePair(const char* path, char* out, size_t size) {
    if (size == 0) {
        return false;
    }
    const PathSpan span = pathWithoutQuotePair(path);
    if (span.length >= size) {
        out[0] = '\0';
        return false;
    }
    std::memcpy(out, span.start, span.length);
    out[span.length] = '\0';
    return true;
}

bool pathOnMovedDrive(const char* path, const char* baseDir, PathExists exists,
                      PathOnNetworkDrive onNetworkDrive, char* out, size_t size) {
    if (size == 0) {
        return false;
    }
    out[0] = '\0';
    if (path == nullptr || baseDir == nullptr || !startsWithDriveRoot(path) ||
        !isDriveLetter(baseDir[0]) || baseDir[1] != ':' ||
        upperDriveLetter(path[0]) == upperDriveLetter(baseDir[0])) {
        return false;
    }
    const size_t length = std::strlen(path);
    if (length >= size || onNetworkDrive(path) || exists(path)) {
        return false;
    }
    std::memcpy(out, path, length + 1);
    out[0] = baseDir[0];
    if (!exists(out)) {
        out[0] = '\0';
        return false;
    }
    return true;
}
