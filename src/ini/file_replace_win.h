// The settings file's replace step with the platform's file calls handed in, so that a test can
// play each failure ReplaceFileA documents (profile_file_win.cpp).
#pragma once

#include <cstddef>

#include <windows.h>

// The calls the replace step makes once the new text is written beside the file; the launcher
// hands KERNEL32's own, a test its failing stand-ins.
struct FileReplaceCalls {
    BOOL(WINAPI* replaceFile)
    (LPCSTR replaced, LPCSTR replacement, LPCSTR backup, DWORD flags, LPVOID exclude,
     LPVOID reserved);
    BOOL(WINAPI* moveFileEx)(LPCSTR from, LPCSTR to, DWORD flags);
    BOOL(WINAPI* deleteFile)(LPCSTR path);
    DWORD(WINAPI* fileAttributes)(LPCSTR path);
};

// KERNEL32's ReplaceFileA, MoveFileExA, DeleteFileA and GetFileAttributesA.
FileReplaceCalls platformFileReplaceCalls();

// profileReplaceFile with `calls`: true when the file at `path` holds the `size` new bytes.
// Whatever fails, a whole copy of the user's file stays under a name of this process's own
// ("<path>.~<process id>" for the new text, "<path>.~<process id>.old" for the old one) until
// `path` holds a whole text again: the new one where it can take the file's place or be written
// there anew, else the old one.
bool replaceFileWith(const FileReplaceCalls& calls, const char* path, const char* data,
                     size_t size);
