// Files handed to the launcher from outside: dropped on its window, or named on its command
// line (Explorer's "Open with", a file dropped on the launcher's icon, a shortcut). A program
// (".exe" in any case) becomes the Emulator Path, any other file the Rom Path, as if typed
// into that edit: its announcement stores it, and it is saved at exit.
#pragma once

#include <windows.h>

#include <shellapi.h>

// Lets the launcher window take dropped files, and puts the file named first on the command
// line into its edit. Called once, after fillDialog and before the window is shown; with no
// argument the window stays as filled.
void takeFilesFromOutside();

// One drop on the window (WM_DROPFILES): the first program and the first other file among the
// dropped ones go into their edits; folders and paths over 259 characters are passed over.
// SHELL32, which reads and releases the drop, is loaded at the first drop.
void takeDroppedFiles(HDROP drop);
