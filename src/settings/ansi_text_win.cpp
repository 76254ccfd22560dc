// A path from UTF-16 into the ANSI text the settings keep, exact or in its short form.
#include "settings/ansi_text_win.h"

#include <cwchar>

namespace {

// Where the short form holds a character the code page lacks as well (a volume that keeps no
// short names gives the long name back), there is no exact text of the path.
bool exactShortForm(const wchar_t* path, char* out, size_t size) {
    wchar_t shortForm[MAX_PATH];
    const DWORD length = GetShortPathNameW(path, shortForm, MAX_PATH);
    size_t written = 0;
    // A result of the buffer's size or more is the size the short form would need.
    return length > 0 && length < MAX_PATH && exactAnsiText(shortForm, -1, out, size, &written);
}

} // namespace

AnsiPathForm ansiPathText(const wchar_t* path, char* out, size_t size) {
    if (size == 0) {
        return AnsiPathForm::None;
    }
    size_t written = 0;
    AnsiPathForm form = AnsiPathForm::None;
    if (path == nullptr || std::wcschr(path, L'"') != nullptr) {
        form = AnsiPathForm::None;
    } else if (exactAnsiText(path, -1, out, size, &written)) {
        form = AnsiPathForm::AsNamed;
    } else if (exactShortForm(path, out, size)) {
        form = AnsiPathForm::Short;
    }
    if (form == AnsiPathForm::None) {
        out[0] = '\0';
    }
    return form;
}
