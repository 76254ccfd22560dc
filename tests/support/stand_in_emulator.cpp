// A stand-in for the emulator: appends its whole command line and its working directory to a
// record file beside its own exe, one record per start, as two lines:
//   command=<the whole command line>
//   directory=<the working directory>
// The tests start it in the emulator's place and read "launches.txt". Built with STAND_IN_DEMO
// it is the demo emulator of tools/run.sh (quellix.exe beside the launcher): it keeps its
// records in "demo_launches.txt" and shows the parameter text in a message box as well.
#include <windows.h>

#include <cstring>
#include <cwchar>

namespace {

#ifdef STAND_IN_DEMO
const wchar_t kRecordName[] = L"demo_launches.txt";
#else
const wchar_t kRecordName[] = L"launches.txt";
#endif

// Appends `text` to the `size`-byte buffer `out` holding `length` characters, as far as fits.
void appendText(char* out, size_t size, size_t& length, const char* text) {
    size_t textLength = std::strlen(text);
    if (textLength > size - 1 - length) {
        textLength = size - 1 - length;
    }
    std::memcpy(out + length, text, textLength);
    length += textLength;
    out[length] = '\0';
}

#ifdef STAND_IN_DEMO
// The parameter text in brackets, so that its trailing blanks can be seen, and the record file.
void showParameters(const char* parameters, const char* recordPath) {
    static char message[65536 + 2 * MAX_PATH];
    size_t length = 0;
    appendText(message, sizeof message, length,
               "The launcher started the demo emulator with this parameter text:\r\n\r\n[");
    appendText(message, sizeof message, length, parameters);
    appendText(message, sizeof message, length, "]\r\n\r\nAppended to ");
    appendText(message, sizeof message, length, recordPath);
    MessageBoxA(nullptr, message, "Quellix demo emulator", MB_OK | MB_ICONINFORMATION);
}
#endif

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR parameters, int) {
    // In UTF-16, which holds any folder's name (the ANSI code page may lack some).
    wchar_t recordPath[MAX_PATH + sizeof kRecordName / sizeof(wchar_t)];
    const DWORD selfLength = GetModuleFileNameW(nullptr, recordPath, MAX_PATH);
    if (selfLength == 0 || selfLength >= MAX_PATH) {
        return 2;
    }
    wchar_t* lastBackslash = std::wcsrchr(recordPath, L'\\');
    if (lastBackslash == nullptr) {
        return 2;
    }
    std::memcpy(lastBackslash + 1, kRecordName, sizeof kRecordName);

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
    HANDLE file = CreateFileW(recordPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 3;
    }
    DWORD written = 0;
    WriteFile(file, record, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(file);
#ifdef STAND_IN_DEMO
    char shownPath[sizeof recordPath / sizeof recordPath[0]];
    WideCharToMultiByte(CP_ACP, 0, recordPath, -1, shownPath, sizeof shownPath, nullptr, nullptr);
    showParameters(parameters, shownPath);
#else
    (void)parameters;
#endif
    return 0;
}
