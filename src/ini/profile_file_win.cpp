// The profile-file seam on Windows: the system's own profile functions read and write the file.
#include "ini/profile_file.h"

#include <windows.h>

#include "ini/file_replace_win.h"
#include "text/ansi_text_win.h"

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

namespace {

// Another program may hold the file for a moment (a backup, a sync or a virus scan): so many
// tries, this far apart, before the file counts as unreadable.
constexpr int kOpenTries = 4;
constexpr DWORD kOpenRetryMilliseconds = 25;

HANDLE openForReading(const char* path, FileRead* failure) {
    for (int attempt = 1;; ++attempt) {
        const HANDLE file =
            CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            return file;
        }
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            *failure = FileRead::Missing;
            return INVALID_HANDLE_VALUE;
        }
        // A sharing violation, no access, or a folder of that name: the file is there, and
        // what it holds is unknown.
        if (attempt == kOpenTries) {
            *failure = FileRead::Unreadable;
            return INVALID_HANDLE_VALUE;
        }
        Sleep(kOpenRetryMilliseconds);
    }
}

bool readUpTo(HANDLE file, char* out, size_t size, size_t* got) {
    *got = 0;
    while (*got < size) {
        DWORD read = 0;
        if (!ReadFile(file, out + *got, clampToDword(size - *got), &read, nullptr)) {
            return false;
        }
        if (read == 0) {
            break;
        }
        *got += read;
    }
    return true;
}

// "<path>.~<process id><suffix>": a name of this process's own beside the file.
bool nameBeside(const char* path, const char* suffix, char* out, size_t size) {
    char digits[12];
    size_t count = 0;
    for (DWORD id = GetCurrentProcessId(); count == 0 || id != 0; id /= 10) {
        digits[count++] = static_cast<char>('0' + id % 10);
    }
    const size_t length = lstrlenA(path);
    const size_t suffixLength = lstrlenA(suffix);
    if (length + 2 + count + suffixLength + 1 > size) {
        return false;
    }
    CopyMemory(out, path, length);
    out[length] = '.';
    out[length + 1] = '~';
    for (size_t i = 0; i < count; ++i) {
        out[length + 2 + i] = digits[count - 1 - i];
    }
    CopyMemory(out + length + 2 + count, suffix, suffixLength + 1);
    return true;
}

bool writeWhole(HANDLE file, const char* data, size_t size) {
    for (size_t done = 0; done < size;) {
        DWORD put = 0;
        if (!WriteFile(file, data + done, clampToDword(size - done), &put, nullptr) || put == 0) {
            return false;
        }
        done += put;
    }
    return true;
}

bool ansiFromUtf16(const char16_t* text, size_t length, char* out, size_t size, size_t* written) {
    return length <= 0x7FFFFFFF && exactAnsiText(reinterpret_cast<const wchar_t*>(text),
                                                 static_cast<int>(length), out, size, written);
}

} // namespace

FileRead profileReadFile(const char* path, char* out, size_t size, size_t* length) {
    *length = 0;
    FileRead failure = FileRead::Missing;
    const HANDLE file = openForReading(path, &failure);
    if (file == INVALID_HANDLE_VALUE) {
        return failure;
    }
    LARGE_INTEGER fileSize{};
    size_t got = 0;
    const bool read = GetFileSizeEx(file, &fileSize) && readUpTo(file, out, size, &got);
    CloseHandle(file);
    if (!read) {
        return FileRead::Unreadable; // a range locked by another program
    }
    const unsigned long long whole = static_cast<unsigned long long>(fileSize.QuadPart);
    *length = whole > size ? size + 1 : got;
    return FileRead::Read;
}

bool profileReplaceFile(const char* path, const char* data, size_t size) {
    return replaceFileWith(platformFileReplaceCalls(), path, data, size);
}

FileReplaceCalls platformFileReplaceCalls() {
    return {ReplaceFileA, MoveFileExA, DeleteFileA, GetFileAttributesA};
}

namespace {

// `creation`: CREATE_ALWAYS for a name of this process's own, CREATE_NEW for the file's own name,
// which nothing may have taken meanwhile.
bool writeNewFile(const char* path, const char* data, size_t size, DWORD creation) {
    const HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool written = writeWhole(file, data, size) && FlushFileBuffers(file);
    return CloseHandle(file) && written;
}

bool fileThere(const FileReplaceCalls& calls, const char* path) {
    return calls.fileAttributes(path) != INVALID_FILE_ATTRIBUTES;
}

bool moveInto(const FileReplaceCalls& calls, const char* from, const char* to) {
    return calls.moveFileEx(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

// After a failed ReplaceFileA: the file's own name holds a whole text again, the new one where it
// can. ReplaceFileA documents two outcomes once it is given a backup name: both files keep their
// names (ERROR_UNABLE_TO_REMOVE_REPLACED, ERROR_UNABLE_TO_MOVE_REPLACEMENT, a replacement another
// program holds, any other error), or the old file is already under the backup name while the new
// one could not take its place (ERROR_UNABLE_TO_MOVE_REPLACEMENT_2). Which one happened is asked
// of the files, not of the error code, so an outcome off the documented two is met as well.
// True when the new text took the file's place, or was written there anew.
bool settleFailedReplace(const FileReplaceCalls& calls, const char* path, const char* newPath,
                         const char* oldPath, const char* data, size_t size) {
    // A plain move in the file's place: where the volume cannot keep the old file's attributes
    // and permissions, and a second try of the move ReplaceFileA could not make.
    if (moveInto(calls, newPath, path)) {
        return true;
    }
    if (!fileThere(calls, path) && !moveInto(calls, oldPath, path)) {
        // Both copies held where they are: the new text, whole in memory, written under the
        // file's own name, so the next start finds the user's settings there.
        return writeNewFile(path, data, size, CREATE_NEW);
    }
    return false;
}

} // namespace

bool replaceFileWith(const FileReplaceCalls& calls, const char* path, const char* data,
                     size_t size) {
    char newPath[MAX_PATH];
    char oldPath[MAX_PATH];
    if (!nameBeside(path, "", newPath, sizeof newPath) ||
        !nameBeside(path, ".old", oldPath, sizeof oldPath)) {
        return false;
    }
    if (!writeNewFile(newPath, data, size, CREATE_ALWAYS)) {
        calls.deleteFile(newPath); // the file itself was not touched
        return false;
    }
    // ReplaceFileA keeps the old file's attributes and permissions; with a backup name it never
    // deletes the old file, so until the end one whole text is always under a name known here.
    const bool replaced = calls.replaceFile(path, newPath, oldPath, REPLACEFILE_IGNORE_MERGE_ERRORS,
                                            nullptr, nullptr) != FALSE ||
                          settleFailedReplace(calls, path, newPath, oldPath, data, size);
    // The copies go only once the file's own name holds a whole text; where even the new one
    // could not be written there, both stay as they are.
    if (fileThere(calls, path)) {
        calls.deleteFile(newPath);
        calls.deleteFile(oldPath);
    }
    return replaced;
}

AnsiCodePage profileCodePage() {
    CPINFO info{};
    const bool singleByte = GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1;
    return {singleByte, ansiFromUtf16};
}
