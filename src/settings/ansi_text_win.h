// Text from UTF-16 into the ANSI code page, only where it comes out exact: shared by the Windows
// twins of the settings (the launcher's own path, the settings file's encodings) and by every way
// a path comes in (the open-file dialog, a drop, the command line).
#pragma once

#include <windows.h>

#include <cstddef>

// `length` UTF-16 units of `text` (-1: up to and with its terminator) in the ANSI code page,
// into `out` (`size` bytes), their byte count in `written`. False when a character has no exact
// form there (no default character "?", no best-fit look-alike, either of which would name
// another file or change the user's text) or the bytes do not fit. Under UTF-8 as the ANSI code
// page every character has its form, and the platform takes neither the flag nor the
// default-character report with it.
inline bool exactAnsiText(const wchar_t* text, int length, char* out, size_t size,
                          size_t* written) {
    if (size > 0x7FFFFFFF) {
        size = 0x7FFFFFFF;
    }
    const bool utf8 = GetACP() == CP_UTF8;
    BOOL usedDefault = FALSE;
    const int count =
        WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, text, length, out,
                            static_cast<int>(size), nullptr, utf8 ? nullptr : &usedDefault);
    if (count <= 0 || usedDefault) {
        return false;
    }
    *written = static_cast<size_t>(count);
    return true;
}

// How a path's ANSI text names its file (ansiPathText).
enum class AnsiPathForm { None, AsNamed, Short };

// The full path `path` (UTF-16, ended by its terminator) as the ANSI text the settings keep,
// into `out` (`size` bytes): as named when every character has its exact form; else its short
// (8.3) form when that one converts exactly (the file must exist for it to have one); else None
// and "", for a name the code page cannot write on a volume without short names, or a path that
// does not fit. A path holding a double quote is None as well: no file can be named so.
AnsiPathForm ansiPathText(const wchar_t* path, char* out, size_t size);
