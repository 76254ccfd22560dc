// Our own reader and writer of Windows-style INI text, giving the results of the Windows
// profile functions (GetPrivateProfileStringA, WritePrivateProfileStringA) for reading one key
// and writing one key=value line. Works on the file's bytes in memory; profile_file_posix.cpp adds
// the file.
#pragma once

#include <cstddef>
#include <string>

// Reads the value of `key` in the first section named `section` of the INI text `data`
// (`size` bytes; CRLF, LF and CR line ends alike). Names match without regard to case and
// without their surrounding spaces; blanks around the value are dropped and one matching pair of
// outer quotes is removed. A key present with an empty value gives the empty text; a missing
// file section or key gives `fallback` (nullptr counts as "") without its trailing spaces.
// The result is cut to `outSize` - 1 characters and terminated; returns its length.
// `outSize` 0 leaves `out` untouched and returns 0. A NUL byte in the file ends the value; a null
// `data`, `section` or `key` gives `fallback`.
size_t iniReadValue(const char* data, size_t size, const char* section, const char* key,
                    const char* fallback, char* out, size_t outSize);

// Returns the INI text `data` after setting key=value in `section`, as Windows edits a file in
// place: every other byte survives; an existing key line (the first, in the first such section)
// keeps its position and its key's spelling and ends in CRLF; a new key goes straight after the
// section's last key line; a new section goes at the end ("[section]" then the key line, a CRLF
// first when the text does not end with a line break). `value` is written as given; spaces
// around `section` and `key` are dropped. A null `section`, `key` or `value` changes nothing.
std::string iniWriteValue(const std::string& data, const char* section, const char* key,
                          const char* value);
