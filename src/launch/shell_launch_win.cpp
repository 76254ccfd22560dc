// The shell calls behind Launch and Help.
#include <windows.h>

#include <shellapi.h>

#include "launch/emulator_args.h"
#include "launch/launch.h"
#include "settings/launcher_settings.h"
#include "ui/launcher_window.h"

bool launchEmulator() {
    char arguments[kArgumentsBufferSize];
    if (buildEmulatorArguments(settings, arguments, sizeof arguments)) {
        ShellExecuteA(launcherWindow, "open", settings.emuPath ? settings.emuPath.get() : "",
                      arguments, settings.baseDir.get(), SW_SHOWNORMAL);
    }
    return true;
}

bool openHelp() {
    ShellExecuteA(launcherWindow, "open", "help\\help.html", nullptr, settings.baseDir.get(),
                  SW_SHOWNORMAL);
    return true;
}
