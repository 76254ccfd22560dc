// The profile-file seam on Windows: the system's own profile functions read and write the file.
#include "settings/profile_file.h"

#include <windows.h>

namespace {

DWORD clampToDword(size_t size) {
    const unsigned long long wide = size;
    return wide > MAXDWORD ? MAXDWORD : static_cast<DWORD>(wide);
}

} // namespace

size_t profileReadString(const char* section, const char* key, const char* fallback, char* out,
                         size_t size, const char* path) {
    return GetPrivateProfileStringA(section, key, fallback, out, clampToDword(size), path);
}

bool profileWriteString(const char* section, const char* key, const char* value, const char* path) {
    // A null value or key would delete, and a null path would reach win.ini: the portable twin
    // does neither, so neither happens here.
    if (!section || !key || !value || !path)
        return false;
    return WritePrivateProfileStringA(section, key, value, path) != FALSE;
}
