// Launch and Help: both go through the shell's "open" action, with the launcher's directory as
// the working directory (at a drive's root the root itself, "E:\", never the bare "E:", which
// names the drive's current directory); the launcher never waits for what it started and stays
// open. An unset baseDir (it is always set once the settings are loaded) opens nothing.
#pragma once

// Starts emuPath, without the one pair of quotes a pasted path may carry, with the parameter
// text of the settings as they are now. An empty emuPath, or a text that does not fit whole (it
// cannot happen with values the launcher reads), starts nothing. Always true: the shell's
// result is not examined and nothing is reported.
bool launchEmulator();

// Opens help\help.html under the launcher's directory with the program the system associates
// with it. Always true.
bool openHelp();
