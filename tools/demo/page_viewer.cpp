// The demo's page viewer of tools/run.sh: Wine has no web browser, so the run prefix opens
// .html files with this program, which names the page it was asked to open in a message box,
// as the demo emulator shows its parameter text. Help then visibly does what it does on Windows:
// it hands the shell the page by its full path.
#include <windows.h>

#include <cstring>

namespace {

// Appends `length` characters of `text` to the `size`-byte buffer `out` holding `used`
// characters, as far as they fit.
void appendText(char* out, size_t size, size_t& used, const char* text, size_t length) {
    if (length > size - 1 - used) {
        length = size - 1 - used;
    }
    std::memcpy(out + used, text, length);
    used += length;
    out[used] = '\0';
}

void appendText(char* out, size_t size, size_t& used, const char* text) {
    appendText(out, size, used, text, std::strlen(text));
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandTail, int) {
    // The association hands over the page as "%1" in quotes: the page is what lies inside them.
    static char page[32768];
    size_t pageLength = 0;
    const char* start = commandTail;
    size_t length = std::strlen(commandTail);
    while (length > 0 && commandTail[length - 1] == ' ') {
        --length;
    }
    if (length >= 2 && start[0] == '"' && start[length - 1] == '"') {
        ++start;
        length -= 2;
    }
    appendText(page, sizeof page, pageLength, start, length);

    static char message[sizeof page + 512];
    size_t used = 0;
    appendText(message, sizeof message, used, "The launcher asked for this page:\r\n\r\n");
    appendText(message, sizeof message, used, page);
    appendText(message, sizeof message, used,
               GetFileAttributesA(page) == INVALID_FILE_ATTRIBUTES
                   ? "\r\n\r\nThere is no such file."
                   : "\r\n\r\nOn Windows a web browser shows it. Wine has none: this demo "
                     "viewer stands in for it.");
    MessageBoxA(nullptr, message, "Quellix demo page viewer", MB_OK | MB_ICONINFORMATION);
    return 0;
}
