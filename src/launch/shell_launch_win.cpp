// The shell calls behind Launch and Help.
#include <windows.h>

#include <shellapi.h>

#include "launch/emulator_args.h"
#include "launch/launch.h"
#include "settings/launcher_settings.h"
#include "ui/launcher_window.h"

bool launchEmulator() {
    // With no emulator named, the shell would "open" the working directory itself and show
    // the launcher's folder: an empty path starts nothing, like any other missing emulator.
    const char* emulator = settings.emuPath ? settings.emuPath.get() : "";
    char arguments[kArgumentsBufferSize];
    if (emulator[0] != '\0' && buildEmulatorArguments(settings, arguments, sizeof arguments)) {
        ShellExecuteA(launcherWindow, "open", emulator, arguments, settings.baseDir.get(),
                      SW_SHOWNORMAL);
    }
    return true;
}

bool openHelp() {
    ShellExecuteA(launcherWindow, "open", "help\\help.html", nullptr, settings.baseDir.get(),
                  SW_SHOWNORMAL);
    return true;
}
