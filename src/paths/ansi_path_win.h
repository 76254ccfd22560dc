// A path the platform hands over in UTF-16 (the launcher's own, the open-file dialog's, a drop's,
// the command line's) as the ANSI text the settings keep (path_checks_win.cpp).
#pragma once

#include <windows.h>

#include <cstddef>

// How a path's ANSI text names its file (ansiPathText).
enum class AnsiPathForm { None, AsNamed, Short };

// The full path `path` (UTF-16, ended by its terminator) as the ANSI text the settings keep,
// into `out` (`size` bytes): as named when every character has its exact form; else its short
// (8.3) form when that one converts exactly (the file must exist for it to have one); else None
// and "", for a name the code page cannot write on a volume without short names, or a path that
// does not fit. A path holding a double quote is None as well: no file can be named so.
AnsiPathForm ansiPathText(const wchar_t* path, char* out, size_t size);
