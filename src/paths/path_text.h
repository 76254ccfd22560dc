// Rules of Windows path texts the launcher applies in more than one place: which paths name
// the same file whatever the current directory, the folder a drive alone names, the quotes a
// pasted path may carry, the backslashes of a double-byte code page, and a drive letter that
// moved. Text rules only: whether a file exists is asked of the function handed in.
#pragma once

#include <cstddef>

// Whether a byte of an ANSI text is the first of a double-byte character in the system's code
// page (IsDBCSLeadByte on Windows). The second byte of such a character may be 0x5C, the
// backslash's own (code page 932: "表" is 0x95 0x5C), so a path is walked from its start and
// never stepped back through byte by byte.
using LeadByteRule = bool (*)(unsigned char byte);
// The rule of a single-byte code page: no byte leads.
bool noLeadBytes(unsigned char byte);

// The last backslash of `path` that is a character of its own (nullptr when there is none).
const char* lastBackslashOf(const char* path, LeadByteRule isLeadByte);

// `directory` followed by `name` ("\\quellix.ini", "\\help\\help.html") in `out`. False (and "")
// when `directory` is null or the path does not fit `size` characters with its terminator.
bool pathInBaseDir(const char* directory, const char* name, char* out, size_t size);

// The characters of `path` before its last backslash. False (and "") when `path` is null, has
// no backslash, or the result would not fit `size`.
bool directoryOfPath(const char* path, LeadByteRule isLeadByte, char* out, size_t size);

// True when `path` names one file whatever the current drive and directory: a drive letter, a
// colon and a backslash ("C:\x"), or two backslashes ("\\server\share\x"). "x\y", "C:x" (the
// current directory of drive C) and "\x" (the current drive's root) are not.
bool isFullyQualifiedPath(const char* path);

// `directory` (no trailing backslash, as baseDir) in the form the platform takes as a folder: a
// directory that ends in a drive's colon ("E:", baseDir at a drive's root) would name that
// drive's current directory, so it gets its backslash ("E:\"); any other is copied as it is.
// False (and "") when `directory` is null or the result does not fit `size`.
bool folderNamedBy(const char* directory, char* out, size_t size);

// The characters of a path text that name the file: no file name can hold a double quote, so a
// text wrapped in one pair of them (as "Copy as path" gives a path) names what lies inside;
// any other text names itself, whole. A null text is "".
struct PathSpan {
    const char* start;
    size_t length;
};
PathSpan pathWithoutQuotePair(const char* path);

// The same characters copied into `out`; false (and "") when they do not fit `size`.
bool copyPathWithoutQuotePair(const char* path, char* out, size_t size);

// Whether a file or folder exists at `path`: the platform's answer, handed in.
using PathExists = bool (*)(const char* path);
// Whether the drive of `path` ("Q:\...") is a mapped network drive: the platform's answer from
// the drive's mapping alone, which never waits on the network.
using PathOnNetworkDrive = bool (*)(const char* path);

// A stored path whose drive letter has moved since it was saved (a USB stick gets whatever letter
// is free on each PC): `path` on baseDir's drive ("Q:\roms\a.vb" with baseDir "R:\emu" gives
// "R:\roms\a.vb"), when it is fully qualified on another drive letter that is no network drive,
// names nothing, and its counterpart on baseDir's drive exists. False (and "") in every other
// case, so the stored path stays as it is. A path on a network drive is never looked at: an
// offline or sleeping server would hold the start up for the network's timeout.
bool pathOnMovedDrive(const char* path, const char* baseDir, PathExists exists,
                      PathOnNetworkDrive onNetworkDrive, char* out, size_t size);
