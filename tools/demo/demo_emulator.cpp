// The demo emulator that tools/run.sh puts beside the launcher as quellix.exe, so that Launch
// visibly does something on a machine without the real emulator: it shows the parameter text
// it was given in a message box and appends it, with the working folder, to
// "demo_launches.txt" beside itself. It is never part of the release.
#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {

// Appends `text` to the `size`-byte buffer `out` holding `length` characters, as far as fits.
void appendText(char* out, size_t size, size_t& length, const char* text) {
    const size_t room = size - 1 - length;
    const size_t textLength = std::min(std::strlen(text), room);
    std::memcpy(out + length, text, textLength);
    length += textLength;
    out[length] = '\0';
}

void appendCount(char* out, size_t size, size_t& length, size_t value) {
    char digits[24];
    size_t at = sizeof digits - 1;
    digits[at] = '\0';
    do {
        digits[--at] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0 && at > 0);
    appendText(out, size, length, digits + at);
}

// The record file beside this exe; false when the exe's path does not leave room for it.
bool recordPath(char* out, DWORD size) {
    const char name[] = "demo_launches.txt";
    const DWORD length = GetModuleFileNameA(nullptr, out, size);
    if (length == 0 || length >= size) {
        return false;
    }
    char* lastBackslash = std::strrchr(out, '\\');
    if (lastBackslash == nullptr ||
        static_cast<size_t>(lastBackslash + 1 - out) + sizeof name > size) {
        return false;
    }
    std::memcpy(lastBackslash + 1, name, sizeof name);
    return true;
}

void appendRecord(const char* path, const char* record, size_t length) {
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file, record, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(file);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR parameters, int) {
    char directory[MAX_PATH];
    const DWORD directoryLength = GetCurrentDirectoryA(sizeof directory, directory);
    if (directoryLength == 0 || directoryLength >= sizeof directory) {
        directory[0] = '\0';
    }

    // Brackets around the text, so that its trailing blanks can be seen and counted.
    static char record[4096];
    size_t length = 0;
    appendText(record, sizeof record, length, "parameters=[");
    appendText(record, sizeof record, length, parameters);
    appendText(record, sizeof record, length, "]\r\ncharacters=");
    appendCount(record, sizeof record, length, std::strlen(parameters));
    appendText(record, sizeof record, length, "\r\ndirectory=");
    appendText(record, sizeof record, length, directory);
    appendText(record, sizeof record, length, "\r\n");

    char path[MAX_PATH];
    const bool recorded = recordPath(path, sizeof path);
    if (recorded) {
        appendRecord(path, record, length);
    }

    static char message[4096 + MAX_PATH + 64];
    size_t messageLength = 0;
    appendText(message, sizeof message, messageLength,
               "The launcher started the demo emulator with this parameter text:\r\n\r\n");
    appendText(message, sizeof message, messageLength, record);
    if (recorded) {
        appendText(message, sizeof message, messageLength, "\r\nAppended to ");
        appendText(message, sizeof message, messageLength, path);
    }
    MessageBoxA(nullptr, message, "Quellix demo emulator", MB_OK | MB_ICONINFORMATION);
    return 0;
}
