// The settings file's one seam to the platform: read one key, write one key=value line.
// On Windows the platform's profile functions do it (profile_file_win.cpp); elsewhere our own
// INI reader/writer gives the same results (profile_file_posix.cpp).
#pragma once

#include <cstddef>

// As GetPrivateProfileStringA: the value of `key` in `section` of the file at `path`, or
// `fallback` when the file, section or key is missing; cut to `size` - 1 characters and
// terminated. Returns the length copied.
size_t profileReadString(const char* section, const char* key, const char* fallback, char* out,
                         size_t size, const char* path);

// As WritePrivateProfileStringA: sets key=value in `section`, creating the file and the section
// when needed. Returns false when the file could not be written; the launcher does not look.
// A null `section`, `key` or `value` writes nothing and returns false (no deletions here).
bool profileWriteString(const char* section, const char* key, const char* value, const char* path);
