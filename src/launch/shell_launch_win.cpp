// The shell calls behind Launch and Help.
#include <windows.h>

#include <shellapi.h>

#include "handle/launcher_window_handle.h"
#include "launch/emulator_args.h"
#include "launch/shell_launch.h"
#include "paths/path_text.h"
#include "settings/launcher_settings.h"
#include "sysdll/shell_com.h"
#include "sysdll/system_dll.h"

namespace {

// The shell's "open" on `file`, in the launcher's directory. SHELL32 is loaded at the first
// Launch or Help; when it cannot be, nothing is opened, as when the shell itself fails.
void openWithShell(const char* file, const char* parameters) {
    const auto shellExecute =
        systemProcedure<decltype(&ShellExecuteA)>("shell32.dll", "ShellExecuteA");
    // At a drive's root baseDir is "E:", which names the drive's current directory (the
    // open-file dialog moves it into the folder of the last pick): the shell gets "E:\".
    char folder[kPathBufferSize];
    if (shellExecute != nullptr && folderNamedBy(settings.baseDir.get(), folder, sizeof folder)) {
        initialiseComForShell();
        shellExecute(launcherWindow, "open", file, parameters, folder, SW_SHOWNORMAL);
    }
}

} // namespace

bool launchEmulator() {
    // A pasted path may come in one pair of quotes: the shell gets the file inside them. With
    // no emulator named, the shell would "open" the working directory itself and show the
    // launcher's folder: an empty path starts nothing, like any other missing emulator.
    char emulator[kPathBufferSize];
    char arguments[kArgumentsBufferSize];
    if (copyPathWithoutQuotePair(settings.emuPath.get(), emulator, sizeof emulator) &&
        emulator[0] != '\0' && buildEmulatorArguments(settings, arguments, sizeof arguments)) {
        openWithShell(emulator, arguments);
    }
    return true;
}

bool openHelp() {
    // The page by its full path: a relative name is looked for in the current directory first
    // (Wine does so), which the open-file dialog moves and which may hold another help folder.
    char page[kPathBufferSize];
    if (pathInBaseDir(settings.baseDir.get(), "\\help\\help.html", page, sizeof page)) {
        openWithShell(page, nullptr);
    }
    return true;
}
