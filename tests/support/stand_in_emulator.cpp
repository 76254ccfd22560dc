// A stand-in for the emulator in tests: appends its full command line and its working
// directory to "launches.txt" beside its own exe, so a test can read what the launcher started.
// One record per start, as two lines:
//   command=<the whole command line>
//   directory=<the working directory>
#include <windows.h>

#include <cstring>

namespace {

void appendText(char* out, size_t size, size_t& length, const char* text) {
    const size_t textLength = std::strlen(text);
    if (length + textLength < size) {
        std::memcpy(out + length, text, textLength + 1);
        length += textLength;
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char recordPath[MAX_PATH + 16];
    const DWORD selfLength = GetModuleFileNameA(nullptr, recordPath, MAX_PATH);
    if (selfLength == 0 || selfLength >= MAX_PATH) {
        return 2;
    }
    char* lastBackslash = std::strrchr(recordPath, '\\');
    if (lastBackslash == nullptr) {
        return 2;
    }
    std::strcpy(lastBackslash + 1, "launches.txt");

    char directory[MAX_PATH];
    const DWORD directoryLength = GetCurrentDirectoryA(sizeof directory, directory);
    if (directoryLength == 0 || directoryLength >= sizeof directory) {
        directory[0] = '\0';
    }

    static char record[65536];
    size_t length = 0;
    appendText(record, sizeof record, length, "command=");
    appendText(record, sizeof record, length, GetCommandLineA());
    appendText(record, sizeof record, length, "\r\ndirectory=");
    appendText(record, sizeof record, length, directory);
    appendText(record, sizeof record, length, "\r\n");

    // Appending in one write keeps the records of two emulators started at once apart.
    HANDLE file = CreateFileA(recordPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 3;
    }
    DWORD written = 0;
    WriteFile(file, record, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(file);
    return 0;
}
