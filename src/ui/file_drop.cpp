// Dropped files and the file named on the command line, into the two path edits.
#include "ui/file_drop.h"

#include "res/resource.h"
#include "settings/file_argument.h"
#include "settings/launcher_settings.h"
#include "settings/path_checks.h"
#include "settings/program_dir.h"
#include "sysdll/system_dll.h"
#include "ui/launcher_window.h"

namespace {

// Which edits a drop has filled already: the first file of each kind wins.
struct FilledEdits {
    bool emulator = false;
    bool rom = false;
};

// Puts `path` (a full path of at most 259 characters) into the edit of its kind, unless that
// edit was filled by this drop already. A folder changes nothing, nor does a path the edit
// could not hold whole.
void showHandedFile(const char* path, FilledEdits& filled) {
    if (folderExists(path)) {
        return;
    }
    const bool program = namesProgram(path);
    bool& done = program ? filled.emulator : filled.rom;
    if (!done) {
        done = true;
        // The edit's announcement stores the path in the settings.
        SetDlgItemTextA(launcherWindow, program ? IDC_EMU_PATH : IDC_ROM_PATH, path);
    }
}

// The command line's file as a full path: a relative name means the folder the launcher was
// started from (the current directory now, at start), while the emulator starts in the
// launcher's own folder, where the same name would name another file or none.
bool fullPathOfArgument(char* path, size_t size) {
    char argument[kPathBufferSize];
    if (!firstArgumentOfCommandLine(processCommandLine(), ansiLeadByte, argument,
                                    sizeof argument)) {
        return false;
    }
    const DWORD length = GetFullPathNameA(argument, static_cast<DWORD>(size), path, nullptr);
    // A result of the buffer's size or more is the size the full path would need.
    return length > 0 && length < size;
}

} // namespace

void takeFilesFromOutside() {
    // The style DragAcceptFiles sets, without loading SHELL32 for it at start.
    const LONG_PTR exStyle = GetWindowLongPtrA(launcherWindow, GWL_EXSTYLE);
    SetWindowLongPtrA(launcherWindow, GWL_EXSTYLE, exStyle | WS_EX_ACCEPTFILES);

    char path[kPathBufferSize];
    if (fullPathOfArgument(path, sizeof path)) {
        FilledEdits filled;
        showHandedFile(path, filled);
    }
}

void takeDroppedFiles(HDROP drop) {
    const auto dragQueryFile =
        systemProcedure<decltype(&DragQueryFileA)>("shell32.dll", "DragQueryFileA");
    const auto dragFinish = systemProcedure<decltype(&DragFinish)>("shell32.dll", "DragFinish");
    if (dragQueryFile != nullptr) {
        const UINT count = dragQueryFile(drop, 0xFFFFFFFF, nullptr, 0);
        FilledEdits filled;
        for (UINT i = 0; i < count; ++i) {
            char path[kPathBufferSize];
            // The length asked first: a longer path would come back cut, naming another file.
            const UINT length = dragQueryFile(drop, i, nullptr, 0);
            if (length > 0 && length < sizeof path &&
                dragQueryFile(drop, i, path, sizeof path) == length) {
                showHandedFile(path, filled);
            }
        }
    }
    if (dragFinish != nullptr) {
        dragFinish(drop);
    }
}
