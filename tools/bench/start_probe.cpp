// A console helper for tools/benchmark.sh: starts a program as the shell does and times it
// until its first window is visible, or closes the windows of a given title.
//
//   start_probe PROGRAM.exe   prints the microseconds from CreateProcess to a visible top-level
//                             window of the new process, then leaves the program running
//   start_probe --close TITLE posts WM_CLOSE to every top-level window of that title
// Exit status 0 on success, 1 when nothing was found in time, 2 for wrong arguments.
#include <windows.h>

#include <cstdint>
#include <cstring>

namespace {

// A process that has not shown a window after this long counts as failed.
constexpr ULONGLONG kWindowTimeoutMs = 30000;

void writeOut(const char* text) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(std::strlen(text)),
              &written, nullptr);
}

// The decimal digits of `value` and a line end, into `out` of `size` characters.
void formatCount(uint64_t value, char* out, size_t size) {
    char reversed[24];
    size_t length = 0;
    do {
        reversed[length++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0 && length < sizeof reversed);
    if (length + 2 > size) {
        out[0] = '\0';
        return;
    }
    for (size_t i = 0; i < length; ++i) {
        out[i] = reversed[length - 1 - i];
    }
    out[length] = '\n';
    out[length + 1] = '\0';
}

struct WindowSearch {
    DWORD processId;
    bool found;
};

BOOL CALLBACK findShownWindow(HWND window, LPARAM context) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

int timeStart(const char* program) {
    // As the shell does: the program's path in quotes.
    char commandLine[MAX_PATH + 3];
    const size_t length = std::strlen(program);
    if (length + 3 > sizeof commandLine) {
        return 2;
    }
    commandLine[0] = '"';
    std::memcpy(commandLine + 1, program, length);
    commandLine[length + 1] = '"';
    commandLine[length + 2] = '\0';

    LARGE_INTEGER frequency;
    LARGE_INTEGER started;
    LARGE_INTEGER shown;
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    QueryPerformanceCounter(&started);
    if (!CreateProcessA(program, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return 1;
    }
    WindowSearch search{process.dwProcessId, false};
    const ULONGLONG deadline = GetTickCount64() + kWindowTimeoutMs;
    while (!search.found && GetTickCount64() < deadline) {
        EnumWindows(findShownWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found) {
            Sleep(1);
        }
    }
    QueryPerformanceCounter(&shown);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!search.found) {
        return 1;
    }
    const uint64_t ticks = static_cast<uint64_t>(shown.QuadPart - started.QuadPart);
    char text[32];
    formatCount(ticks * 1000000u / static_cast<uint64_t>(frequency.QuadPart), text, sizeof text);
    writeOut(text);
    return 0;
}

int closeWindows(const char* title) {
    int closed = 0;
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, nullptr, title)) != nullptr) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        ++closed;
    }
    return closed > 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2) {
        return timeStart(argv[1]);
    }
    if (argc == 3 && std::strcmp(argv[1], "--close") == 0) {
        return closeWindows(argv[2]);
    }
    writeOut("usage: start_probe PROGRAM.exe | start_probe --close TITLE\n");
    return 2;
}
