// The shell calls behind Launch and Help.
#include <windows.h>

#include <shellapi.h>

#include <cstring>

#include "handle/launcher_window_handle.h"
#include "launch/emulator_args.h"
#include "launch/launch.h"
#include "settings/launcher_settings.h"
#include "sysdll/shell_com.h"
#include "sysdll/system_dll.h"

namespace {

// The shell's "open" on `file`, in the launcher's directory. SHELL32 is loaded at the first
// Launch or Help; when it cannot be, nothing is opened, as when the shell itself fails.
void openWithShell(const char* file, const char* parameters) {
    const auto shellExecute =
        systemProcedure<decltype(&ShellExecuteA)>("shell32.dll", "ShellExecuteA");
    if (shellExecute != nullptr) {
        initialiseComForShell();
        shellExecute(launcherWindow, "open", file, parameters, settings.baseDir.get(),
                     SW_SHOWNORMAL);
    }
}

} // namespace

bool launchEmulator() {
    // With no emulator named, the shell would "open" the working directory itself and show
    // the launcher's folder: an empty path starts nothing, like any other missing emulator.
    const char* emulator = settings.emuPath ? settings.emuPath.get() : "";
    char arguments[kArgumentsBufferSize];
    if (emulator[0] != '\0' && buildEmulatorArguments(settings, arguments, sizeof arguments)) {
        openWithShell(emulator, arguments);
    }
    return true;
}

bool openHelp() {
    // The page by its full path: a relative name is looked for in the current directory first
    // (Wine does so), which the open-file dialog moves and which may hold another help folder.
    const char kHelpPage[] = "\\help\\help.html";
    const char* baseDir = settings.baseDir ? settings.baseDir.get() : "";
    const size_t length = std::strlen(baseDir);
    char page[kPathBufferSize + sizeof kHelpPage];
    if (length + sizeof kHelpPage <= sizeof page) {
        std::memcpy(page, baseDir, length);
        std::memcpy(page + length, kHelpPage, sizeof kHelpPage);
        openWithShell(page, nullptr);
    }
    return true;
}
