// The settings file's encodings: which files the Windows profile functions cannot read as they
// are, and the same text in a form they do read. Byte rules only: the code page comes in from
// the platform (profile_file_win.cpp) or a test.
//
// The profile functions read ANSI (the code page's bytes) and UTF-16 LE with its mark FF FE.
// Notepad and PowerShell also save UTF-8, with the mark EF BB BF or without one, and UTF-16 BE
// (mark FE FF). Windows takes a UTF-8 mark for part of line 1, which hides "[main]" there, reads
// UTF-8 bytes as ANSI ("Café" as "CafÃ©"), and reads nothing of a big-endian file.
#pragma once

#include <cstddef>

#include "text/owned_text.h"

// The ANSI code page of the process, as the rules need it.
struct AnsiCodePage {
    // One byte per character. Under a code page of lead and trail bytes (932, 936, 949, 950) or
    // UTF-8, a file without a mark is never taken for UTF-8: its bytes are already the code page's.
    bool singleByte;
    // The code page's bytes for `length` UTF-16 units, into `out` (`size` bytes), their count in
    // `written`. False when a character has no exact form there (no best fit, no default
    // character) or the bytes do not fit. May be null: then nothing converts to ANSI.
    bool (*fromUtf16)(const char16_t* text, size_t length, char* out, size_t size, size_t* written);
};

// Bytes with their count; the text may hold NUL bytes.
struct ByteText {
    OwnedText bytes;
    size_t size = 0;
};

// The largest settings file whose encoding is looked at; a larger one is left as it is.
constexpr size_t kLargestConvertedFile = 256 * 1024;

// True, with the new bytes in `out`, when the profile functions cannot read `data` as it is and
// it holds the same text in a form they read:
//  - UTF-16 BE with its mark: UTF-16 LE with its mark (an odd byte count is left as it is);
//  - UTF-8 with its mark, and under a single-byte code page also UTF-8 without a mark when the
//    whole file is valid UTF-8 with at least one character of more than one byte: ANSI when every
//    character has its exact form in the code page, otherwise UTF-16 LE with its mark.
// False for everything else, which stays as it is: ANSI (the launcher's own file), UTF-16 LE,
// pure ASCII, text that is not valid UTF-8, a file larger than kLargestConvertedFile, and a file
// without a mark under a code page that is not single-byte.
bool iniTextInReadableEncoding(const char* data, size_t size, const AnsiCodePage& codePage,
                               ByteText& out);
