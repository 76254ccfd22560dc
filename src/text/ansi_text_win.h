// Text from UTF-16 into the ANSI code page, only where it comes out exact: shared by the settings
// file's encodings (ini/) and every path the platform hands over in UTF-16 (paths/).
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
