// The settings file's one seam to the platform: read one key, write one key=value line, and,
// before the first read, the whole file's bytes and their replacement.
// On Windows the platform's profile functions do it (profile_file_win.cpp); elsewhere our own
// INI reader/writer gives the same results (profile_file_posix.cpp).
#pragma once

#include <cstddef>

#include "ini/ini_encoding.h"

// As GetPrivateProfileStringA: the value of `key` in `section` of the file at `path`, or
// `fallback` when the file, section or key is missing; cut to `size` - 1 characters and
// terminated. Returns the length copied.
size_t profileReadString(const char* section, const char* key, const char* fallback, char* out,
                         size_t size, const char* path);

// As WritePrivateProfileStringA: sets key=value in `section`, creating the file and the section
// when needed. Returns false when the file could not be written; the launcher does not look.
// A null `section`, `key` or `value` writes nothing and returns false (no deletions here).
bool profileWriteString(const char* section, const char* key, const char* value, const char* path);

enum class FileRead { Missing, Unreadable, Read };

// The file at `path` opened for reading as the profile functions open it (every other reader
// and writer allowed): Missing when neither it nor its folder exists; Unreadable when it exists
// but cannot be opened or read (another program holds it without sharing, no access, a folder of
// that name), after a few tries some tens of milliseconds apart; Read otherwise, with its first
// `size` bytes in `out` and their count in `length` (more than `size` for a larger file).
FileRead profileReadFile(const char* path, char* out, size_t size, size_t* length);

// Replaces the file at `path` with `size` bytes: written to a new file beside it first, which
// then takes its place, so a failed step leaves the old file whole under its own name. False
// when the new bytes are not in the file's place.
bool profileReplaceFile(const char* path, const char* data, size_t size);

// The code page the profile functions' ANSI texts are in.
AnsiCodePage profileCodePage();
