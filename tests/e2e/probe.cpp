// The end-to-end suite's eyes: prints what the launcher window shows (each control's screen
// rectangle, text, check mark and list state), which control has the keyboard focus, and the
// visible top-level windows. It only reads; every change in a test is made with real input.
//
// It stays up and answers request lines on standard input (see answer() for the requests).
// Each answer is lines of tab-separated key=value fields after a first word, ending in "end":
//   window   hwnd= rect=l,t,r,b visible= focus=<id> focusParent=<id> active=<hwnd>
//   control  id= class= rect= enabled= visible= [check= text=]
//   combo    id= sel= count= dropped= itemHeight= top= edit=l,t,r,b items=a|b|...
//   child    id= parentId= class= rect= visible= text=
//   toplevel hwnd= owner= pid= class= rect= title=
//   process  pid= parent= exe=
// A line whose window did not answer in time ends in "late=1".
// Texts are cut at kTextSize - 1 characters, and tabs or line ends in them become blanks.
// Started as "probe start APPLICATION DIRECTORY" it is the launcher's parent instead; as
// "probe hold FILE" it holds FILE open without sharing (as a backup or a virus scan may), says
// "held", and lets go at the first line or the end of its standard input.
#include <windows.h>

#include <tlhelp32.h>

#include <cstring>

#include "numtext/number_text.h"

namespace {

constexpr size_t kTextSize = 512;
constexpr size_t kLineSize = 8192;

// One output line, built with bounded appends and written whole.
struct Line {
    char text[kLineSize];
    size_t length;
};

void append(Line& line, const char* piece) {
    for (const char* c = piece; *c != '\0' && line.length + 2 < kLineSize; ++c) {
        const char shown = (*c == '\t' || *c == '\r' || *c == '\n') ? ' ' : *c;
        line.text[line.length++] = shown;
    }
    line.text[line.length] = '\0';
}

// Starts the next field: the one tab a line holds between fields.
void separate(Line& line) {
    if (line.length + 2 < kLineSize) {
        line.text[line.length++] = '\t';
        line.text[line.length] = '\0';
    }
}

void appendInt(Line& line, long long value) {
    char digits[kIntTextSize];
    // Window handles print as numbers; the values that matter here fit 32 bits.
    formatInt32(static_cast<int32_t>(value), digits, sizeof digits);
    append(line, digits);
}

void field(Line& line, const char* key, const char* value) {
    separate(line);
    append(line, key);
    append(line, "=");
    append(line, value);
}

void intField(Line& line, const char* key, long long value) {
    separate(line);
    append(line, key);
    append(line, "=");
    appendInt(line, value);
}

void rectField(Line& line, const char* key, const RECT& r) {
    separate(line);
    append(line, key);
    append(line, "=");
    appendInt(line, r.left);
    append(line, ",");
    appendInt(line, r.top);
    append(line, ",");
    appendInt(line, r.right);
    append(line, ",");
    appendInt(line, r.bottom);
}

long long handleNumber(HWND window) {
    return static_cast<long long>(reinterpret_cast<INT_PTR>(window));
}

// Set when a window did not answer in time: the line being built then ends in "late=1", and
// the suite asks again rather than take an empty text for what the window shows.
bool unanswered = false;

void emit(Line& line) {
    if (unanswered) {
        separate(line);
        append(line, "late=1");
        unanswered = false;
    }
    line.text[line.length++] = '\n';
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.text, static_cast<DWORD>(line.length), &written,
              nullptr);
    line.length = 0;
    line.text[0] = '\0';
}

void start(Line& line, const char* kind) {
    line.length = 0;
    line.text[0] = '\0';
    append(line, kind);
}

// Another process's texts are asked for in UTF-16: the ANSI forms of the list and text
// requests do not come back whole across processes under Wine. A window that does not answer
// within a second reads as empty and marks the line late.
constexpr UINT kAnswerMilliseconds = 1000;

void readText(HWND window, UINT message, WPARAM wParam, char* out, size_t size) {
    out[0] = '\0';
    wchar_t wide[kTextSize];
    wide[0] = L'\0';
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, reinterpret_cast<LPARAM>(wide),
                             SMTO_ABORTIFHUNG, kAnswerMilliseconds, &result)) {
        unanswered = true;
        return;
    }
    wide[kTextSize - 1] = L'\0';
    const int written =
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, out, static_cast<int>(size), nullptr, nullptr);
    if (written <= 0) {
        out[0] = '\0';
    }
}

LRESULT ask(HWND window, UINT message, WPARAM wParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, 0, SMTO_ABORTIFHUNG, kAnswerMilliseconds,
                             &result)) {
        unanswered = true;
        return -2;
    }
    return static_cast<LRESULT>(result);
}

bool hasClass(HWND window, const char* name) {
    char className[64];
    if (GetClassNameA(window, className, sizeof className) == 0) {
        return false;
    }
    return lstrcmpiA(className, name) == 0;
}

void describeCombo(HWND combo, int id) {
    Line line;
    start(line, "combo");
    intField(line, "id", id);
    intField(line, "sel", ask(combo, CB_GETCURSEL));
    const LRESULT count = ask(combo, CB_GETCOUNT);
    intField(line, "count", count);
    intField(line, "dropped", ask(combo, CB_GETDROPPEDSTATE));
    intField(line, "itemHeight", ask(combo, CB_GETITEMHEIGHT));
    intField(line, "top", ask(combo, CB_GETTOPINDEX));
    RECT editRect{0, 0, 0, 0};
    HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
    if (edit != nullptr) {
        GetWindowRect(edit, &editRect);
    }
    rectField(line, "edit", editRect);
    separate(line);
    append(line, "items=");
    for (LRESULT i = 0; i < count; ++i) {
        char item[kTextSize];
        const LRESULT length = ask(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i));
        if (length < 0 || static_cast<size_t>(length) >= kTextSize) {
            append(line, "?");
        } else {
            readText(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), item, sizeof item);
            append(line, item);
        }
        if (i + 1 < count) {
            append(line, "|");
        }
    }
    emit(line);
}

// What a request asks about the launcher's controls. Every question to another process's
// control waits for the launcher's polling loop to come round, so a request names the controls
// it needs; the layout alone asks nothing of the launcher.
struct ControlRequest {
    HWND parent;
    bool layoutOnly;
    int ids[64];
    int idCount;
};

bool isRequested(const ControlRequest& request, int id) {
    for (int i = 0; i < request.idCount; ++i) {
        if (request.ids[i] == id) {
            return true;
        }
    }
    return false;
}

BOOL CALLBACK describeChild(HWND child, LPARAM requestAddress) {
    const ControlRequest& request = *reinterpret_cast<const ControlRequest*>(requestAddress);
    // Only the window's own controls; a combo box's edit is read through the combo.
    if (GetParent(child) != request.parent) {
        return TRUE;
    }
    const int id = GetDlgCtrlID(child);
    if (!request.layoutOnly && !isRequested(request, id)) {
        return TRUE;
    }
    char className[64];
    if (GetClassNameA(child, className, sizeof className) == 0) {
        className[0] = '\0';
    }
    RECT r;
    GetWindowRect(child, &r);
    Line line;
    start(line, "control");
    intField(line, "id", id);
    field(line, "class", className);
    rectField(line, "rect", r);
    intField(line, "enabled", IsWindowEnabled(child) ? 1 : 0);
    intField(line, "visible", IsWindowVisible(child) ? 1 : 0);
    if (request.layoutOnly) {
        emit(line);
        return TRUE;
    }
    char text[kTextSize];
    readText(child, WM_GETTEXT, kTextSize, text, sizeof text);
    intField(line, "check", hasClass(child, "Button") ? ask(child, BM_GETCHECK) : -1);
    field(line, "text", text);
    emit(line);
    if (hasClass(child, "ComboBox")) {
        describeCombo(child, id);
    }
    return TRUE;
}

// The control id of the focus window and of its parent (a combo box for its edit field).
void focusFields(Line& line, HWND focus) {
    intField(line, "focus", focus != nullptr ? GetDlgCtrlID(focus) : 0);
    HWND parent = focus != nullptr ? GetParent(focus) : nullptr;
    intField(line, "focusParent", parent != nullptr ? GetDlgCtrlID(parent) : 0);
}

// Every visible top-level window: the launcher, an open list's drop-down (class ComboLBox),
// the open-file dialog.
BOOL CALLBACK describeTopLevel(HWND window, LPARAM) {
    if (!IsWindowVisible(window)) {
        return TRUE;
    }
    char className[64];
    if (GetClassNameA(window, className, sizeof className) == 0) {
        className[0] = '\0';
    }
    // A top-level window's title is kept by the system: reading it asks nothing of its owner.
    wchar_t wideTitle[kTextSize];
    char title[kTextSize];
    title[0] = '\0';
    if (GetWindowTextW(window, wideTitle, kTextSize) > 0 &&
        WideCharToMultiByte(CP_UTF8, 0, wideTitle, -1, title, sizeof title, nullptr, nullptr) <=
            0) {
        title[0] = '\0';
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    RECT r;
    GetWindowRect(window, &r);
    Line line;
    start(line, "toplevel");
    intField(line, "hwnd", handleNumber(window));
    intField(line, "owner", handleNumber(GetWindow(window, GW_OWNER)));
    intField(line, "pid", static_cast<long long>(pid));
    field(line, "class", className);
    rectField(line, "rect", r);
    field(line, "title", title);
    emit(line);
    return TRUE;
}

// The children of a top-level window other than the launcher (the open-file dialog's fields).
BOOL CALLBACK describeForeignChild(HWND child, LPARAM) {
    char className[64];
    if (GetClassNameA(child, className, sizeof className) == 0) {
        className[0] = '\0';
    }
    char text[kTextSize];
    readText(child, WM_GETTEXT, kTextSize, text, sizeof text);
    RECT r;
    GetWindowRect(child, &r);
    Line line;
    start(line, "child");
    intField(line, "id", GetDlgCtrlID(child));
    intField(line, "parentId", GetDlgCtrlID(GetParent(child)));
    field(line, "class", className);
    rectField(line, "rect", r);
    intField(line, "visible", IsWindowVisible(child) ? 1 : 0);
    field(line, "text", text);
    emit(line);
    return TRUE;
}

void describeLauncher(ControlRequest& request) {
    HWND window = FindWindowA(nullptr, "Quellix Frontend");
    if (window == nullptr) {
        return;
    }
    RECT r;
    GetWindowRect(window, &r);
    GUITHREADINFO thread;
    std::memset(&thread, 0, sizeof thread);
    thread.cbSize = sizeof thread;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread);
    Line line;
    start(line, "window");
    intField(line, "hwnd", handleNumber(window));
    rectField(line, "rect", r);
    intField(line, "visible", IsWindowVisible(window) ? 1 : 0);
    focusFields(line, thread.hwndFocus);
    intField(line, "active", handleNumber(thread.hwndActive));
    emit(line);
    request.parent = window;
    EnumChildWindows(window, describeChild, reinterpret_cast<LPARAM>(&request));
}

// Every running process, with the process that started it: the suite waits for the programs
// the launcher started to end before it counts their records.
void describeProcesses() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return;
    }
    PROCESSENTRY32 entry;
    std::memset(&entry, 0, sizeof entry);
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        Line line;
        start(line, "process");
        intField(line, "pid", static_cast<long long>(entry.th32ProcessID));
        intField(line, "parent", static_cast<long long>(entry.th32ParentProcessID));
        field(line, "exe", entry.szExeFile);
        emit(line);
    }
    CloseHandle(snapshot);
}

// The control ids listed in `text`, separated by blanks.
void readIds(const char* text, ControlRequest& request) {
    const char* c = text;
    while (*c != '\0' && request.idCount < static_cast<int>(sizeof request.ids / sizeof(int))) {
        while (*c == ' ') {
            ++c;
        }
        if (*c == '\0') {
            break;
        }
        request.ids[request.idCount++] = parseInt32(c);
        while (*c != ' ' && *c != '\0') {
            ++c;
        }
    }
}

// One request line:
//   "layout"         the launcher window and every control's rectangle, asking nothing of it
//   "ids N N ..."    the launcher window and the full state of the controls named
//   "window <title>" the children of another top-level window (the open-file dialog)
//   "processes"      every running process
//   anything else    the visible top-level windows only
// Every answer ends with the visible top-level windows and a line "end".
void answer(const char* request) {
    ControlRequest controls;
    std::memset(&controls, 0, sizeof controls);
    if (std::strcmp(request, "layout") == 0) {
        controls.layoutOnly = true;
        describeLauncher(controls);
    } else if (std::strncmp(request, "ids ", 4) == 0) {
        readIds(request + 4, controls);
        describeLauncher(controls);
    } else if (std::strncmp(request, "window ", 7) == 0) {
        // The title comes as the probe shows it, in UTF-8 ("Öffnen" under a German locale).
        wchar_t title[kTextSize];
        HWND other = MultiByteToWideChar(CP_UTF8, 0, request + 7, -1, title, kTextSize) > 0
                         ? FindWindowW(nullptr, title)
                         : nullptr;
        if (other != nullptr) {
            EnumChildWindows(other, describeForeignChild, 0);
        }
    } else if (std::strcmp(request, "processes") == 0) {
        describeProcesses();
    }
    EnumWindows(describeTopLevel, 0);
    Line line;
    start(line, "end");
    emit(line);
}

// Reads one request line from standard input; false at its end.
bool readRequest(char* out, size_t size) {
    size_t length = 0;
    for (;;) {
        char c = '\0';
        DWORD got = 0;
        if (!ReadFile(GetStdHandle(STD_INPUT_HANDLE), &c, 1, &got, nullptr) || got == 0) {
            out[length] = '\0';
            return length > 0;
        }
        if (c == '\n') {
            out[length] = '\0';
            return true;
        }
        if (c != '\r' && length + 1 < size) {
            out[length++] = c;
        }
    }
}

// A parent as scripts and front ends are: CreateProcess with `application` (a relative name
// is resolved against this process's current directory), the same name in quotes as the
// command line, and `directory` as the child's working directory. Gives the child's exit
// status once it ends, 120 when it cannot start it.
int startAndWait(const char* application, const char* directory) {
    char commandLine[kTextSize];
    const size_t length = std::strlen(application);
    if (length + 3 > sizeof commandLine) {
        return 120;
    }
    commandLine[0] = '"';
    std::memcpy(commandLine + 1, application, length);
    std::memcpy(commandLine + 1 + length, "\"", 2);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    DWORD status = 120;
    if (CreateProcessA(application, commandLine, nullptr, nullptr, FALSE, 0, nullptr, directory,
                       &startup, &child)) {
        WaitForSingleObject(child.hProcess, INFINITE);
        GetExitCodeProcess(child.hProcess, &status);
    }
    return static_cast<int>(status);
}

// Gives 0 once it has held the file and let go, 120 when it could not open it.
int holdUntilAsked(const char* path) {
    const HANDLE file =
        CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 120;
    }
    Line line;
    start(line, "held");
    emit(line);
    char request[kTextSize];
    readRequest(request, sizeof request);
    CloseHandle(file);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "start") == 0) {
        return startAndWait(argv[2], argv[3]);
    }
    if (argc == 3 && std::strcmp(argv[1], "hold") == 0) {
        return holdUntilAsked(argv[2]);
    }
    // Starting a Wine process takes seconds, so the probe stays up and answers request lines.
    char request[kTextSize];
    while (readRequest(request, sizeof request)) {
        answer(request);
    }
    return 0;
}
