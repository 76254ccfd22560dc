// The platform's answers about paths where there is no Windows (the native build): no code page
// has lead bytes, and a path's '\' separators are the native '/'.
#include "paths/path_checks.h"

#include <string>
#include <sys/stat.h>

namespace {

bool statOf(const char* path, struct stat& info) {
    std::string native(path);
    for (char& c : native) {
        if (c == '\\')
            c = '/';
    }
    return stat(native.c_str(), &info) == 0;
}

} // namespace

bool ansiLeadByte(unsigned char) {
    return false;
}

bool pathExists(const char* path) {
    struct stat info {};
    return statOf(path, info);
}

bool folderExists(const char* path) {
    struct stat info {};
    return statOf(path, info) && S_ISDIR(info.st_mode);
}

bool pathOnNetworkDrive(const char*) {
    return false; // no drive letters here
}
